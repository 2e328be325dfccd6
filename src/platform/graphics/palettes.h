#pragma once

#include <cstdint>
#include <vector>

#include "platform/imaging/dib_image.h"

// The colour tables our bitmaps use when they change to an indexed format.
// 256-colour halftone palette: entries 0-215 are the colour cube with levels 0, 51, 102,
// 153, 204 and 255 (entry 36 r + 6 g + b), entries 216-255 forty greys between the cube's
// own grey levels.
const std::vector<TRGBQuad>& HalftonePalette();
// The 16 standard colours: black, maroon, green, olive, navy, purple, teal, silver, grey,
// red, lime, yellow, blue, fuchsia, aqua, white.
const std::vector<TRGBQuad>& StandardColorPalette();
// Black and white.
const std::vector<TRGBQuad>& BlackWhiteColorTable();
// One entry of a logical palette.
struct TPaletteEntry {
    uint8_t peRed = 0;
    uint8_t peGreen = 0;
    uint8_t peBlue = 0;
    uint8_t peFlags = 0;

    friend bool operator==(const TPaletteEntry&, const TPaletteEntry&) = default;
};
// The flag of a palette entry that keeps it from being merged with an equal system colour.
constexpr uint8_t PC_NOCOLLAPSE = 4;
// A logical palette, what a palette handle stands for; empty stands for no palette.
using TPalette = std::vector<TPaletteEntry>;
// The system's default palette: the 20 static colours, ten dark ones first, ten light ones
// last.
const TPalette& SystemDefaultPalette();

// The table a bitmap gets when it changes to Format: one of the three above, or none.
std::vector<TRGBQuad> DefaultColorTable(TPixelFormat Format);

// Finds the entry of a colour table nearest to a colour (squared distance over red,
// green and blue; the lowest index wins a tie).
class TColorMatcher {
  public:
    explicit TColorMatcher(const std::vector<TRGBQuad>& Table);
    uint8_t Match(uint8_t Red, uint8_t Green, uint8_t Blue);

  private:
    uint8_t Search(uint8_t Red, uint8_t Green, uint8_t Blue) const;

    std::vector<TRGBQuad> table_;
    bool halftone_ = false;
    // Recent answers of the search, direct-mapped by colour.
    std::vector<uint32_t> cacheKeys_;
    std::vector<uint8_t> cacheIndices_;
};
