#pragma once

#include <string>

// Runs a shell command and returns what it wrote to standard output; ExitCode receives
// its exit status (-1 when it did not run).
std::string CommandOutput(const std::string& Command, int* ExitCode = nullptr);
// Whether a program of this name is on the search path.
bool ProgramAvailable(const std::string& Name);
