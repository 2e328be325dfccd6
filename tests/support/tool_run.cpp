#include "support/tool_run.h"

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

using Clock = std::chrono::steady_clock;

std::vector<char*> ArgumentVector(const std::string& tool,
                                  const std::vector<std::string>& arguments) {
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(tool.c_str()));
    for (const std::string& a : arguments)
        argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    return argv;
}

[[noreturn]] void StartTool(const std::string& folder, std::vector<char*>& argv) {
    if (::chdir(folder.c_str()) != 0) ::_exit(126);
    ::execv(argv[0], argv.data());
    ::_exit(127);
}

bool DrainInto(int fd, std::string& into) {
    char buffer[4096];
    const ssize_t got = ::read(fd, buffer, sizeof buffer);
    if (got > 0) into.append(buffer, static_cast<size_t>(got));
    return got > 0 || (got < 0 && errno == EINTR);
}

int WaitExit(pid_t pid, Clock::time_point deadline) {
    int status = 0;
    for (;;) {
        const pid_t done = ::waitpid(pid, &status, WNOHANG);
        if (done == pid) break;
        if (Clock::now() > deadline) {
            ::kill(pid, SIGKILL);
            ::waitpid(pid, &status, 0);
            return -1;
        }
        ::usleep(2000);
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

} // namespace

std::string ToolPath() {
    return VNTRL_BINARY;
}

ToolResult RunTool(const std::vector<std::string>& Arguments, const std::string& Folder,
                   int TimeoutSeconds, long AddressSpaceLimitBytes, long FileSizeLimitBytes) {
    const std::string tool = ToolPath();
    std::vector<char*> argv = ArgumentVector(tool, Arguments);
    int out[2], err[2];
    if (::pipe2(out, O_CLOEXEC) != 0 || ::pipe2(err, O_CLOEXEC) != 0) return {};
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::setsid();
        if (AddressSpaceLimitBytes > 0) {
            const rlimit limit{static_cast<rlim_t>(AddressSpaceLimitBytes),
                               static_cast<rlim_t>(AddressSpaceLimitBytes)};
            ::setrlimit(RLIMIT_AS, &limit);
        }
        if (FileSizeLimitBytes > 0) {
            const rlimit limit{static_cast<rlim_t>(FileSizeLimitBytes),
                               static_cast<rlim_t>(FileSizeLimitBytes)};
            ::setrlimit(RLIMIT_FSIZE, &limit);
        }
        const int null = ::open("/dev/null", O_RDONLY);
        ::dup2(null, STDIN_FILENO);
        ::dup2(out[1], STDOUT_FILENO);
        ::dup2(err[1], STDERR_FILENO);
        StartTool(Folder, argv);
    }
    ::close(out[1]);
    ::close(err[1]);
    ToolResult result;
    const auto deadline = Clock::now() + std::chrono::seconds(TimeoutSeconds);
    pollfd fds[2] = {{out[0], POLLIN, 0}, {err[0], POLLIN, 0}};
    int open = 2;
    while (open > 0 && Clock::now() < deadline) {
        if (::poll(fds, 2, 100) <= 0) continue;
        for (pollfd& p : fds) {
            if (p.fd < 0 || p.revents == 0) continue;
            if (!DrainInto(p.fd, p.fd == out[0] ? result.Out : result.Err)) {
                ::close(p.fd);
                p.fd = -1;
                --open;
            }
        }
    }
    for (pollfd& p : fds)
        if (p.fd >= 0) ::close(p.fd);
    result.ExitCode = WaitExit(pid, deadline);
    return result;
}

ToolResult RunToolOnTerminal(const std::vector<std::string>& Arguments, const std::string& Folder,
                             const std::vector<TerminalStep>& Script, int TimeoutSeconds) {
    const std::string tool = ToolPath();
    std::vector<char*> argv = ArgumentVector(tool, Arguments);
    int master = -1;
    winsize size{};
    size.ws_row = 40;
    size.ws_col = 120;
    const pid_t pid = ::forkpty(&master, nullptr, nullptr, &size);
    if (pid < 0) return {};
    if (pid == 0) StartTool(Folder, argv);
    ToolResult result;
    const auto deadline = Clock::now() + std::chrono::seconds(TimeoutSeconds);
    size_t step = 0;
    size_t searchedFrom = 0;
    for (;;) {
        if (step < Script.size()) {
            const size_t found = result.Out.find(Script[step].Expect, searchedFrom);
            if (found != std::string::npos) {
                searchedFrom = found + Script[step].Expect.size();
                if (Script[step].Before) Script[step].Before();
                const std::string& keys = Script[step].Keys;
                if (::write(master, keys.data(), keys.size()) < 0) break;
                ++step;
                continue;
            }
        }
        if (Clock::now() > deadline) break;
        pollfd p{master, POLLIN, 0};
        if (::poll(&p, 1, 100) <= 0) continue;
        if (!DrainInto(master, result.Out)) break; // the terminal closes when the tool ends
    }
    ::close(master);
    result.ExitCode = WaitExit(pid, deadline);
    return result;
}
