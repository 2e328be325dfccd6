#include "support/command_output.h"

#include <cstdio>
#include <sys/wait.h>

std::string CommandOutput(const std::string& Command, int* ExitCode) {
    std::string out;
    std::FILE* pipe = ::popen(Command.c_str(), "r");
    if (pipe == nullptr) {
        if (ExitCode != nullptr) *ExitCode = -1;
        return out;
    }
    char buffer[65536];
    size_t got;
    while ((got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0)
        out.append(buffer, got);
    const int status = ::pclose(pipe);
    if (ExitCode != nullptr) *ExitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return out;
}

bool ProgramAvailable(const std::string& Name) {
    int code = -1;
    CommandOutput("command -v " + Name + " >/dev/null 2>&1", &code);
    return code == 0;
}
