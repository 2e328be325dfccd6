#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/imaging/dib_image.h"

// Decodes a JPEG file held in memory at full size into 24-bit pixels: baseline and
// progressive, greyscale, YCbCr, RGB, CMYK and YCCK (Adobe's inverted CMYK included).
// Raises EInvalidGraphic for a corrupt or truncated file, never ends the process.
TDIBImage ReadJPEG(const uint8_t* Data, size_t Size);
