#pragma once

#include <vector>

#include "gif/dib_access.h"
#include "platform/graphics/palettes.h"

// The fixed palettes of the colour reduction methods. Every entry carries PC_NOCOLLAPSE
// except those of the web palette.
// The screen's 256-colour halftone palette.
TPalette SystemHalftonePalette();
// Grey levels 0, 128, 192 and 255.
TPalette FourGrayPalette();
// Black and white.
TPalette BlackWhitePalette();
// 256 grey levels, entry i = (i, i, i).
TPalette GrayRampPalette();
// The 216-colour web cube: entry 36 r + 6 g + b is (51 r, 51 g, 51 b).
TPalette WebPalette();

// A palette of Colors (1..256) entries made by the colour octree, DepthLimit (1..8) levels
// deep, from every pixel of a 24-bit reader. With system colours the palette has 256
// entries: the first and last ten system colours around at most 236 octree colours.
// Entries the octree has no colour for repeat its last colour (or are black when it has
// none), so they never change which entry a colour matches.
TPalette BuildOctreePalette(TDIBReader& Reader, int Colors, int Depth, bool WithSystemColors);
// The same on Bitmap, which is converted to 24 bits.
TPalette BuildOctreePaletteForBitmap(TBitmap& Bitmap, int Colors, int Depth, bool WithSystemColors);
// One octree fed with every bitmap in order (each converted to 24 bits); an empty list
// raises GIFException "Invalid bitmap list".
TPalette CreateOptimizedPaletteFromManyBitmaps(const std::vector<TBitmap*>& Bitmaps, int Colors,
                                               int Depth, bool WithSystemColors);
