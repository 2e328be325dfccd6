#include "platform/graphics/palettes.h"

#include <array>
#include <cstdlib>

namespace {

constexpr int CubeLevels = 6;
constexpr int CubeStep = 51;
constexpr int GreysPerGap = 8;

TRGBQuad Quad(int red, int green, int blue) {
    return TRGBQuad{static_cast<uint8_t>(blue), static_cast<uint8_t>(green),
                    static_cast<uint8_t>(red), 0};
}

std::vector<TRGBQuad> MakeHalftone() {
    std::vector<TRGBQuad> table;
    for (int r = 0; r < CubeLevels; ++r)
        for (int g = 0; g < CubeLevels; ++g)
            for (int b = 0; b < CubeLevels; ++b)
                table.push_back(Quad(r * CubeStep, g * CubeStep, b * CubeStep));
    for (int gap = 0; gap < CubeLevels - 1; ++gap)
        for (int j = 1; j <= GreysPerGap; ++j) {
            const int level = gap * CubeStep + (CubeStep * j + 4) / 9;
            table.push_back(Quad(level, level, level));
        }
    return table;
}

// The halftone search in constant time: the nearest cube entry is the nearest level in
// each channel; the nearest grey is the one nearest to the mean of the three channels.
struct THalftoneIndex {
    std::array<uint8_t, 256> NearestLevel{};
    std::array<uint8_t, 766> NearestGrey{}; // by red + green + blue

    THalftoneIndex() {
        for (int v = 0; v < 256; ++v)
            NearestLevel[v] = static_cast<uint8_t>((v + CubeStep / 2) / CubeStep);
        const std::vector<TRGBQuad>& table = HalftonePalette();
        for (int sum = 0; sum < 766; ++sum) {
            int best = -1, bestDistance = 0;
            for (int i = 0; i < static_cast<int>(table.size()); ++i) {
                const TRGBQuad& q = table[i];
                if (q.rgbRed != q.rgbGreen || q.rgbGreen != q.rgbBlue) continue;
                const int distance = std::abs(3 * q.rgbRed - sum);
                if (best < 0 || distance < bestDistance) {
                    best = i;
                    bestDistance = distance;
                }
            }
            NearestGrey[sum] = static_cast<uint8_t>(best);
        }
    }
};

int Distance(const TRGBQuad& q, int red, int green, int blue) {
    const int dr = q.rgbRed - red, dg = q.rgbGreen - green, db = q.rgbBlue - blue;
    return dr * dr + dg * dg + db * db;
}

constexpr size_t CacheSize = 4096;

} // namespace

const std::vector<TRGBQuad>& HalftonePalette() {
    static const std::vector<TRGBQuad> table = MakeHalftone();
    return table;
}

const std::vector<TRGBQuad>& StandardColorPalette() {
    static const std::vector<TRGBQuad> table = {
        Quad(0, 0, 0),       Quad(128, 0, 0),   Quad(0, 128, 0),   Quad(128, 128, 0),
        Quad(0, 0, 128),     Quad(128, 0, 128), Quad(0, 128, 128), Quad(192, 192, 192),
        Quad(128, 128, 128), Quad(255, 0, 0),   Quad(0, 255, 0),   Quad(255, 255, 0),
        Quad(0, 0, 255),     Quad(255, 0, 255), Quad(0, 255, 255), Quad(255, 255, 255)};
    return table;
}

const std::vector<TRGBQuad>& BlackWhiteColorTable() {
    static const std::vector<TRGBQuad> table = {Quad(0, 0, 0), Quad(255, 255, 255)};
    return table;
}

const TPalette& SystemDefaultPalette() {
    static const TPalette palette = {
        {0, 0, 0, 0},       {128, 0, 0, 0},     {0, 128, 0, 0},     {128, 128, 0, 0},
        {0, 0, 128, 0},     {128, 0, 128, 0},   {0, 128, 128, 0},   {192, 192, 192, 0},
        {192, 220, 192, 0}, {166, 202, 240, 0}, {255, 251, 240, 0}, {160, 160, 164, 0},
        {128, 128, 128, 0}, {255, 0, 0, 0},     {0, 255, 0, 0},     {255, 255, 0, 0},
        {0, 0, 255, 0},     {255, 0, 255, 0},   {0, 255, 255, 0},   {255, 255, 255, 0}};
    return palette;
}

std::vector<TRGBQuad> DefaultColorTable(TPixelFormat Format) {
    switch (Format) {
    case pf1bit:
        return BlackWhiteColorTable();
    case pf4bit:
        return StandardColorPalette();
    case pf8bit:
        return HalftonePalette();
    default:
        return {};
    }
}

TColorMatcher::TColorMatcher(const std::vector<TRGBQuad>& Table)
    : table_(Table), halftone_(Table == HalftonePalette()) {
    if (table_.empty()) table_.push_back(TRGBQuad{});
    if (!halftone_) {
        cacheKeys_.assign(CacheSize, 0);
        cacheIndices_.assign(CacheSize, 0);
    }
}

uint8_t TColorMatcher::Match(uint8_t Red, uint8_t Green, uint8_t Blue) {
    if (halftone_) {
        static const THalftoneIndex index;
        const int cube =
            index.NearestLevel[Red] * 36 + index.NearestLevel[Green] * 6 + index.NearestLevel[Blue];
        const int grey = index.NearestGrey[Red + Green + Blue];
        const std::vector<TRGBQuad>& table = HalftonePalette();
        return static_cast<uint8_t>(Distance(table[grey], Red, Green, Blue) <
                                            Distance(table[cube], Red, Green, Blue)
                                        ? grey
                                        : cube);
    }
    const uint32_t key = (static_cast<uint32_t>(Red) << 16 | Green << 8 | Blue) + 1;
    const size_t slot = ((key * 2654435761u) >> 20) & (CacheSize - 1);
    if (cacheKeys_[slot] != key) {
        cacheKeys_[slot] = key;
        cacheIndices_[slot] = Search(Red, Green, Blue);
    }
    return cacheIndices_[slot];
}

uint8_t TColorMatcher::Search(uint8_t Red, uint8_t Green, uint8_t Blue) const {
    int best = 0, bestDistance = Distance(table_[0], Red, Green, Blue);
    const int count = static_cast<int>(std::min<size_t>(table_.size(), 256));
    for (int i = 1; i < count && bestDistance > 0; ++i) {
        const int distance = Distance(table_[i], Red, Green, Blue);
        if (distance < bestDistance) {
            best = i;
            bestDistance = distance;
        }
    }
    return static_cast<uint8_t>(best);
}
