#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/imaging/dib_image.h"

// Decodes the best image of an icon (or cursor) file held in memory: the largest, then
// the deepest. The result is 32-bit; its fourth byte is the opacity, taken from a 32-bit
// image's alpha or else from the image's AND mask (a set mask bit is transparent).
// Images may be device-independent bitmaps of 1 to 32 bits or PNG data.
TDIBImage ReadIcon(const uint8_t* Data, size_t Size);
