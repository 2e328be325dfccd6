#pragma once

#include <string>

// printf-style formatting into a string of any length.
std::string Format(const char* format, ...) __attribute__((format(printf, 1, 2)));
