#pragma once

#include "platform/classes/stream.h"
#include "platform/imaging/dib_image.h"

// Writes Image as a BMP file: file header, 40-byte info header (with the three bit masks
// for 5-6-5 pixels), the colour table of an indexed picture, then the rows bottom-up.
void WriteBMP(TStream& Stream, const TDIBImage& Image);

// The info header that describes Image; 5-6-5 pictures are marked BI_BITFIELDS.
BITMAPINFOHEADER DIBHeaderOf(const TDIBImage& Image);
