#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/imaging/dib_image.h"

enum class TPNGAlpha { CompositeOnWhite, Keep };

// Decodes a PNG file held in memory: into 24-bit pixels with any transparency composited
// onto white, or into 32-bit pixels whose fourth byte is the alpha. Raises
// EInvalidGraphic for a damaged file.
TDIBImage ReadPNG(const uint8_t* Data, size_t Size, TPNGAlpha Alpha);

// True when Data starts with the PNG signature.
bool IsPNG(const uint8_t* Data, size_t Size);
