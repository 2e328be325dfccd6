#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

#include "gif/color_lookup.h"
#include "reduction_test_support.h"

using reducetest::Palette;
using reducetest::RGB;

namespace {

RGB Of(const TGIFColor& c) {
    return RGB{c.Red, c.Green, c.Blue};
}

} // namespace

TEST(FastColorLookup, CellOfTakesTheTopFiveBitsBlueMajor) {
    EXPECT_EQ(TFastColorLookup::CellOf(0, 0, 0), 0);
    EXPECT_EQ(TFastColorLookup::CellOf(8, 0, 0), 1);
    EXPECT_EQ(TFastColorLookup::CellOf(0, 8, 0), 32);
    EXPECT_EQ(TFastColorLookup::CellOf(0, 0, 8), 1024);
    EXPECT_EQ(TFastColorLookup::CellOf(255, 255, 255), 32767);
}

TEST(FastColorLookup, ACellWithEntriesAnswersItsLowestEntry) {
    // 1 and 2 share a cell; 2 is nearer to (7, 7, 7) but 1 is the lower index.
    TFastColorLookup lookup(Palette({{200, 0, 0}, {0, 0, 0}, {7, 7, 7}, {0, 0, 0}}));
    EXPECT_EQ(lookup.GetColorCount(), 4);
    TGIFColor chosen;
    EXPECT_EQ(lookup.MatchColor(7, 7, 7, chosen), 1);
    EXPECT_EQ(Of(chosen), (RGB{0, 0, 0}));
    EXPECT_EQ(lookup.MatchColor(3, 0, 5, chosen), 1);
    EXPECT_EQ(lookup.MatchColor(201, 3, 1, chosen), 0);
    EXPECT_EQ(Of(chosen), (RGB{200, 0, 0}));
}

TEST(FastColorLookup, AnEmptyCellKeepsTheAnswerForItsFirstColour) {
    // Cell (1, 0, 0) holds no entry: (8, 0, 0) is nearer to 0, (15, 0, 0) nearer to 1.
    const TPalette palette = Palette({{0, 0, 0}, {20, 0, 0}});
    TGIFColor chosen;
    {
        TFastColorLookup lookup(palette);
        EXPECT_EQ(lookup.MatchColor(8, 0, 0, chosen), 0);
        EXPECT_EQ(lookup.MatchColor(15, 0, 0, chosen), 0);
        EXPECT_EQ(Of(chosen), (RGB{0, 0, 0}));
    }
    {
        TFastColorLookup lookup(palette);
        EXPECT_EQ(lookup.MatchColor(15, 0, 0, chosen), 1);
        EXPECT_EQ(lookup.MatchColor(8, 0, 0, chosen), 1);
        EXPECT_EQ(Of(chosen), (RGB{20, 0, 0}));
    }
}

TEST(FastColorLookup, TheSearchSumsAbsoluteDifferencesAndTheFirstOfEqualsWins) {
    // To (100, 100, 100): entry 0 at 60 (summed), entry 1 at 50 (squared: 1200 vs 2500,
    // so the squared distance would choose 0), entries 2 and 3 equal at 30.
    TFastColorLookup squaredDiffers(Palette({{120, 120, 120}, {150, 100, 100}}));
    TGIFColor chosen;
    EXPECT_EQ(squaredDiffers.MatchColor(100, 100, 100, chosen), 1);
    TFastColorLookup ties(Palette({{0, 0, 0}, {255, 255, 255}, {130, 100, 100}, {100, 130, 100}}));
    EXPECT_EQ(ties.MatchColor(100, 100, 100, chosen), 2);
}

TEST(FastColorLookup, ReadsAtMost256Entries) {
    TPalette palette(300, TPaletteEntry{1, 1, 1, 0});
    palette[299] = TPaletteEntry{255, 255, 255, 0};
    TFastColorLookup lookup(palette);
    EXPECT_EQ(lookup.GetColorCount(), 256);
    TGIFColor chosen;
    EXPECT_EQ(lookup.MatchColor(255, 255, 255, chosen), 0);
    EXPECT_EQ(TFastColorLookup(TPalette{}).GetColorCount(), 0);
}

// Every colour of a random picture gets the entry a plain search of its cell's first
// colour gives, or the lowest entry of its cell.
TEST(FastColorLookup, AgreesWithAPlainModelOnRandomColours) {
    TPalette palette;
    uint32_t state = 99;
    auto next = [&state] {
        state = state * 1103515245u + 12345u;
        return static_cast<uint8_t>(state >> 16);
    };
    for (int i = 0; i < 200; ++i)
        palette.push_back(TPaletteEntry{next(), next(), next(), 0});
    TFastColorLookup lookup(palette);
    std::vector<int> model(32768, -1);
    for (int i = 0; i < 200; ++i) {
        const auto& e = palette[static_cast<size_t>(i)];
        int& cell =
            model[static_cast<size_t>(TFastColorLookup::CellOf(e.peRed, e.peGreen, e.peBlue))];
        if (cell < 0) cell = i;
    }
    for (int n = 0; n < 20000; ++n) {
        const uint8_t r = next(), g = next(), b = next();
        int& cell = model[static_cast<size_t>(TFastColorLookup::CellOf(r, g, b))];
        if (cell < 0) {
            int best = 0, bestDistance = 1 << 30;
            for (int i = 0; i < 200; ++i) {
                const auto& e = palette[static_cast<size_t>(i)];
                const int d =
                    std::abs(e.peRed - r) + std::abs(e.peGreen - g) + std::abs(e.peBlue - b);
                if (d < bestDistance) {
                    best = i;
                    bestDistance = d;
                }
            }
            cell = best;
        }
        TGIFColor chosen;
        ASSERT_EQ(lookup.MatchColor(r, g, b, chosen), cell) << n;
        const auto& e = palette[static_cast<size_t>(cell)];
        ASSERT_EQ(Of(chosen), (RGB{e.peRed, e.peGreen, e.peBlue}));
    }
}

TEST(FixedColorLookups, TableOfAnswers) {
    TNetscapeColorLookup netscape;
    TGrayScaleLookup gray;
    TMonochromeLookup mono;
    EXPECT_EQ(netscape.GetColorCount(), 216);
    EXPECT_EQ(gray.GetColorCount(), 256);
    EXPECT_EQ(mono.GetColorCount(), 2);
    struct Case {
        TColorLookup* lookup;
        RGB asked;
        int index;
        RGB chosen;
    };
    const std::vector<Case> cases{
        {&netscape, {255, 128, 0}, 192, {255, 102, 0}},
        {&netscape, {0, 0, 0}, 0, {0, 0, 0}},
        {&netscape, {255, 255, 255}, 215, {255, 255, 255}},
        {&netscape, {47, 48, 74}, 0 * 36 + 1 * 6 + 1, {0, 51, 51}}, // (c + 3) div 51
        {&gray, {255, 255, 255}, 255, {255, 255, 255}},
        {&gray, {100, 50, 10}, (7700 + 7500 + 290) >> 8, {60, 60, 60}},
        {&mono, {255, 255, 255}, 1, {255, 255, 255}},
        {&mono, {127, 127, 127}, 0, {0, 0, 0}}, // 32512 is not above 32512
        {&mono, {128, 127, 127}, 1, {255, 255, 255}},
    };
    for (const Case& c : cases) {
        TGIFColor chosen;
        EXPECT_EQ(c.lookup->MatchColor(c.asked.R, c.asked.G, c.asked.B, chosen), c.index)
            << int(c.asked.R) << "," << int(c.asked.G) << "," << int(c.asked.B);
        EXPECT_EQ(Of(chosen), c.chosen);
    }
}
