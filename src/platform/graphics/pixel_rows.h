#pragma once

#include <cstdint>

#include "platform/graphics/palettes.h"

// Writes columns From..To-1 of Row in Format from Source, which holds one blue, green,
// red, fourth-byte pixel per column starting at column From. Indexed formats take the
// nearest entry through Matcher (unused otherwise); 32-bit rows take the fourth byte.
void WriteRowBGRA(TPixelFormat Format, const uint8_t* Source, int From, int To,
                  TColorMatcher* Matcher, uint8_t* Row);
