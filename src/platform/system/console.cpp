#include "platform/system/console.h"

#include <cstdio>
#include <cstring>
#include <unistd.h>

void ConsoleWrite(const char* Text) {
    std::fwrite(Text, 1, std::strlen(Text), stdout);
}

void ConsoleWrite(const std::string& Text) {
    std::fwrite(Text.data(), 1, Text.size(), stdout);
}

void ConsoleFlush() {
    std::fflush(stdout);
}

void SetConsoleTitle(const char* Title) {
    if (!::isatty(STDOUT_FILENO)) return;
    std::printf("\033]0;%s\007", Title);
    std::fflush(stdout);
}
