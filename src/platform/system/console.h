#pragma once

#include <string>

// Writes 8-bit text to standard output as it stands: no line break is added and nothing
// is flushed until the stream's own buffering does it (or ConsoleFlush).
void ConsoleWrite(const char* Text);
void ConsoleWrite(const std::string& Text);
void ConsoleFlush();

// Sets the terminal window's title; does nothing when standard output is no terminal.
void SetConsoleTitle(const char* Title);
