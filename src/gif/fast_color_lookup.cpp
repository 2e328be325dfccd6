#include <algorithm>
#include <cstdlib>

#include "gif/color_lookup.h"

TFastColorLookup::TFastColorLookup(const TPalette& Palette) {
    ColorCount = static_cast<int>(std::min<size_t>(Palette.size(), Entries.size()));
    std::copy_n(Palette.begin(), ColorCount, Entries.begin());
    CellIndex.fill(-1);
    for (int i = 0; i < ColorCount; ++i) {
        const TPaletteEntry& entry = Entries[i];
        int16_t& cell = CellIndex[CellOf(entry.peRed, entry.peGreen, entry.peBlue)];
        if (cell < 0) cell = static_cast<int16_t>(i);
    }
}

int TFastColorLookup::MatchColor(uint8_t Red, uint8_t Green, uint8_t Blue, TGIFColor& Chosen) {
    const int index = MatchIndex(Red, Green, Blue);
    const TPaletteEntry& entry = Entries[static_cast<size_t>(index)];
    Chosen = TGIFColor{entry.peRed, entry.peGreen, entry.peBlue};
    return index;
}

int TFastColorLookup::NearestEntry(uint8_t Red, uint8_t Green, uint8_t Blue) const {
    int best = 0;
    int bestDistance = 3 * 256;
    for (int i = 0; i < ColorCount; ++i) {
        const TPaletteEntry& entry = Entries[i];
        const int distance = std::abs(entry.peRed - Red) + std::abs(entry.peGreen - Green) +
                             std::abs(entry.peBlue - Blue);
        if (distance < bestDistance) {
            best = i;
            bestDistance = distance;
        }
    }
    return best;
}
