#pragma once

#include <string>

// Writes all of Text to the terminal behind Fd (as far as the terminal takes it).
void WriteToTerminal(int Fd, const std::string& Text);
