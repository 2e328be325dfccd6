#pragma once

#include <functional>
#include <string>
#include <vector>

// Runs the built vntrl the way a script does: in Folder, in a session of its own with no
// controlling terminal (so message windows go to standard error and answer at once),
// standard input closed. Kills it after TimeoutSeconds. Limits of its address space and of
// the size of the files it writes apply when above 0.
struct ToolResult {
    int ExitCode = -1; // as the shell sees it (0..255); -1 when it did not exit by itself
    std::string Out;
    std::string Err;
};

ToolResult RunTool(const std::vector<std::string>& Arguments, const std::string& Folder,
                   int TimeoutSeconds = 60, long AddressSpaceLimitBytes = 0,
                   long FileSizeLimitBytes = 0);

// Runs vntrl on a new pseudo-terminal as its controlling terminal. Script lists what to
// type: each step waits until the screen output so far contains Expect, then types Keys.
struct TerminalStep {
    std::string Expect;
    std::string Keys;
    std::function<void()> Before = nullptr;  // runs when Expect has appeared, before the keys are typed
};
ToolResult RunToolOnTerminal(const std::vector<std::string>& Arguments, const std::string& Folder,
                             const std::vector<TerminalStep>& Script, int TimeoutSeconds = 30);

// The path of the built binary.
std::string ToolPath();
