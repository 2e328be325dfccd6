#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/imaging/dib_image.h"

// Decodes a BMP file held in memory. Pictures of 1, 4 and 8 bits keep their format and
// colour table (2-bit ones become 4-bit with the same colours); 5-5-5 and 5-6-5 pictures
// stay 15- and 16-bit, other 16-bit bit fields become 24-bit; 24-bit stays; 32-bit
// pictures become the standard 32-bit layout. Run-length encoded pictures are expanded;
// pixels a run skips keep colour index 0. Raises EInvalidGraphic for anything else.
TDIBImage ReadBMP(const uint8_t* Data, size_t Size);

// The image of an icon entry: a device-independent bitmap starting with its info header,
// whose height counts the picture and the mask below it. MaskOffset receives the offset
// of the 1-bit mask rows after the picture's own pixels.
TDIBImage ReadIconDIB(const uint8_t* Data, size_t Size, size_t& MaskOffset);
