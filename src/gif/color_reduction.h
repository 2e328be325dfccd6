#pragma once

#include <memory>

#include "gif/gif_types.h"
#include "platform/graphics/bitmap.h"
#include "platform/graphics/palettes.h"

// A new 8-bit bitmap of Bitmap's size whose colour table is the palette of the reduction
// method (256 entries, those past the palette black) and whose pixels are matched to it
// by the method's lookup, walked and possibly dithered by the engine of DitherMode.
// rmNone gives a 24-bit copy instead. Bitmap itself is converted to 24 bits.
// ReductionBits (1..8, else GIFException "Invalid Bits Per Pixel value") sets the
// 2^ReductionBits colours of rmQuantize; CustomPalette is the palette of rmPalette.
// A method without usable colours (rmPalette without a palette) or a method or mode
// outside its enumeration gives an empty bitmap. An empty source raises GIFException
// "Invalid image dimensions".
std::unique_ptr<TBitmap> ReduceColors(TBitmap& Bitmap, TColorReduction ColorReduction,
                                      TDitherMode DitherMode, int ReductionBits,
                                      const TPalette* CustomPalette);
