#include <algorithm>
#include <array>

#include "gif/gif_types.h"
#include "gif/octree_quantizer.h"
#include "gif/reduction_palettes.h"

namespace {

constexpr int StaticColorsEachEnd = 10;
constexpr int OctreeColorsWithSystemColors = 236;

// The palette of the octree's leaves, framed by the system colours when asked.
TPalette PaletteOf(const TColorQuantizer& quantizer, int colors, bool withSystemColors) {
    std::array<TRGBQuad, 256> leaves{};
    const int leafCount = quantizer.WriteLeafColors(leaves.data(), static_cast<int>(leaves.size()));
    const TRGBQuad filler = leafCount > 0 ? leaves[static_cast<size_t>(leafCount - 1)] : TRGBQuad{};
    for (int i = leafCount; i < static_cast<int>(leaves.size()); ++i)
        leaves[static_cast<size_t>(i)] = filler;

    TPalette palette;
    int first = 0;
    if (withSystemColors) {
        const TPalette& system = SystemDefaultPalette();
        palette.assign(256, TPaletteEntry{});
        std::copy_n(system.begin(), StaticColorsEachEnd, palette.begin());
        std::copy_n(system.end() - StaticColorsEachEnd, StaticColorsEachEnd,
                    palette.end() - StaticColorsEachEnd);
        first = StaticColorsEachEnd;
    } else {
        palette.assign(static_cast<size_t>(colors), TPaletteEntry{});
    }
    for (int i = 0; i < colors; ++i) {
        const TRGBQuad& leaf = leaves[static_cast<size_t>(i)];
        palette[static_cast<size_t>(first + i)] =
            TPaletteEntry{leaf.rgbRed, leaf.rgbGreen, leaf.rgbBlue, 0};
    }
    // With fewer than 236 octree colours asked for, the gap before the last system colours
    // repeats the octree's last colour as well.
    for (int i = first + colors; withSystemColors && i < 256 - StaticColorsEachEnd; ++i)
        palette[static_cast<size_t>(i)] =
            TPaletteEntry{filler.rgbRed, filler.rgbGreen, filler.rgbBlue, 0};
    return palette;
}

int OctreeColors(int colors, bool withSystemColors) {
    colors = std::clamp(colors, 1, 256);
    return withSystemColors ? std::min(colors, OctreeColorsWithSystemColors) : colors;
}

} // namespace

TPalette BuildOctreePalette(TDIBReader& Reader, int Colors, int Depth, bool WithSystemColors) {
    const int colors = OctreeColors(Colors, WithSystemColors);
    TColorQuantizer quantizer(colors, Depth);
    quantizer.FeedImage(Reader);
    return PaletteOf(quantizer, colors, WithSystemColors);
}

TPalette BuildOctreePaletteForBitmap(TBitmap& Bitmap, int Colors, int Depth,
                                     bool WithSystemColors) {
    TDIBReader reader(Bitmap, pf24bit);
    return BuildOctreePalette(reader, Colors, Depth, WithSystemColors);
}

TPalette CreateOptimizedPaletteFromManyBitmaps(const std::vector<TBitmap*>& Bitmaps, int Colors,
                                               int Depth, bool WithSystemColors) {
    if (Bitmaps.empty()) throw GIFException("Invalid bitmap list");
    const int colors = OctreeColors(Colors, WithSystemColors);
    TColorQuantizer quantizer(colors, Depth);
    for (TBitmap* bitmap : Bitmaps) {
        if (bitmap == nullptr) throw GIFException("Invalid bitmap list");
        TDIBReader reader(*bitmap, pf24bit);
        quantizer.FeedImage(reader);
    }
    return PaletteOf(quantizer, colors, WithSystemColors);
}
