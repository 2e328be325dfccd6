#pragma once

#include <cstdint>

// Reads a decimal integer the way option values are read: leading white space, an
// optional sign, digits up to the first other character. Text without leading digits
// reads as 0; values beyond the 32-bit range stop at its ends.
int32_t ReadInteger(const char* Text);

// Reads a decimal real number: leading white space, an optional sign, digits with an
// optional fraction and exponent. Text that is no number reads as 0.
double ReadReal(const char* Text);
