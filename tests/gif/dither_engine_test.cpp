#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "gif/dither_engine.h"
#include "reduction_test_support.h"

using reducetest::Palette;
using reducetest::RGB;
using reducetest::ScriptedLookup;

namespace {

// Drives an engine over Height rows of Width the way the colour reduction does, feeding
// each pixel the grey or red value Input(x, y); returns the columns in the order visited.
template <typename Input>
std::vector<std::pair<int, int>> Walk(TDitherEngine& engine, int width, int height, Input input) {
    std::vector<std::pair<int, int>> visited;
    TGIFColor chosen;
    for (int y = 0; y < height; ++y) {
        const int step = engine.GetStep();
        for (int x = engine.GetColumn(); x >= 0 && x < width; x += step) {
            const RGB c = input(x, y);
            engine.DitherPixel(c.R, c.G, c.B, chosen);
            visited.emplace_back(x, y);
        }
        engine.AdvanceRow();
    }
    return visited;
}

std::vector<int> RedsAsked(const ScriptedLookup& lookup) {
    std::vector<int> reds;
    for (const RGB& c : lookup.Asked)
        reds.push_back(c.R);
    return reds;
}

} // namespace

TEST(DitherEngine, WalksSerpentine) {
    ScriptedLookup lookup(std::vector<int>(100, 0));
    TDitherEngine engine(3, lookup);
    EXPECT_EQ(engine.GetStep(), 1);
    EXPECT_EQ(engine.GetColumn(), 0);
    const auto visited = Walk(engine, 3, 3, [](int, int) { return RGB{}; });
    const std::vector<std::pair<int, int>> expected{{0, 0}, {1, 0}, {2, 0}, {2, 1}, {1, 1},
                                                    {0, 1}, {0, 2}, {1, 2}, {2, 2}};
    EXPECT_EQ(visited, expected);

    TDitherEngine narrow(1, lookup);
    const std::vector<std::pair<int, int>> column{{0, 0}, {0, 1}, {0, 2}, {0, 3}};
    EXPECT_EQ(Walk(narrow, 1, 4, [](int, int) { return RGB{}; }), column);
}

TEST(DitherEngine, NearestPassesEveryPixelAsItIs) {
    ScriptedLookup lookup(std::vector<int>(6, 0));
    TDitherEngine engine(3, lookup);
    Walk(engine, 3, 2, [](int x, int y) { return RGB{uint8_t(10 * x + y), 7, 200}; });
    const std::vector<RGB> asked{{0, 7, 200},  {10, 7, 200}, {20, 7, 200},
                                 {21, 7, 200}, {11, 7, 200}, {1, 7, 200}};
    EXPECT_EQ(lookup.Asked, asked);
}

TEST(DitherEngine, CreatesTheEngineOfEachMode) {
    ScriptedLookup lookup({});
    EXPECT_EQ(typeid(*CreateDitherer(dmNearest, 4, lookup)), typeid(TDitherEngine));
    EXPECT_NE(
        dynamic_cast<TFloydSteinbergDitherer*>(CreateDitherer(dmFloydSteinberg, 4, lookup).get()),
        nullptr);
    EXPECT_NE(dynamic_cast<TStuckiDitherer*>(CreateDitherer(dmStucki, 4, lookup).get()), nullptr);
    EXPECT_NE(dynamic_cast<TSierraDitherer*>(CreateDitherer(dmSierra, 4, lookup).get()), nullptr);
    EXPECT_NE(dynamic_cast<TJaJuNiDitherer*>(CreateDitherer(dmJaJuNI, 4, lookup).get()), nullptr);
    EXPECT_NE(dynamic_cast<TSteveArcheDitherer*>(CreateDitherer(dmSteveArche, 4, lookup).get()),
              nullptr);
    EXPECT_NE(dynamic_cast<TBurkesDitherer*>(CreateDitherer(dmBurkes, 4, lookup).get()), nullptr);
    EXPECT_EQ(CreateDitherer(static_cast<TDitherMode>(42), 4, lookup), nullptr);
}

// Grey 100 everywhere against black and white, worked by hand: each value is
// 100 + (cell + carried + 8) / 16 with the cells and terms of the pixels before.
TEST(FloydSteinberg, SpreadsTheErrorOfAGreyPictureOntoBlackAndWhite) {
    TFastColorLookup blackWhite(Palette({{0, 0, 0}, {255, 255, 255}}));
    struct Recording : TColorLookup {
        TColorLookup& inner;
        std::vector<int> asked;
        explicit Recording(TColorLookup& l) : inner(l) { ColorCount = 2; }
        int MatchColor(uint8_t r, uint8_t g, uint8_t b, TGIFColor& chosen) override {
            EXPECT_TRUE(r == g && g == b);
            asked.push_back(r);
            return inner.MatchColor(r, g, b, chosen);
        }
    } lookup(blackWhite);
    TFloydSteinbergDitherer engine(3, lookup);
    std::vector<int> indices;
    TGIFColor chosen;
    for (int y = 0; y < 3; ++y) {
        for (int x = engine.GetColumn(); x >= 0 && x < 3; x += engine.GetStep())
            indices.push_back(engine.DitherPixel(100, 100, 100, chosen));
        engine.AdvanceRow();
    }
    // Row 1 runs right to left: its values are those of columns 2, 1, 0.
    EXPECT_EQ(lookup.asked, (std::vector<int>{100, 144, 52, 100, 153, 38, 119, 158, 40}));
    EXPECT_EQ(indices, (std::vector<int>{0, 1, 0, 0, 1, 0, 0, 1, 0}));
}

// Red 100 everywhere with chosen reds from a script; green and blue are always matched
// exactly, so they never carry an error.
TEST(FloydSteinberg, PipelineAndCellsWorkedByHand) {
    ScriptedLookup lookup({0, 144, 0, /**/ 0, 0, 0, /**/ 0, 0, 0});
    TFloydSteinbergDitherer engine(3, lookup);
    Walk(engine, 3, 3, [](int, int) { return RGB{100, 30, 220}; });
    // The middle pixel of row 0 matches exactly: its cell and the below terms stay, so
    // the third pixel writes below-behind of the first. The last value of row 2 is
    // pushed past 255 and clamped.
    EXPECT_EQ(RedsAsked(lookup), (std::vector<int>{100, 144, 100, 100, 181, 229, 119, 235, 255}));
    for (const RGB& c : lookup.Asked)
        EXPECT_EQ((std::pair<int, int>{c.G, c.B}), (std::pair<int, int>{30, 220}));
}

TEST(FloydSteinberg, NegativeErrorsTruncateTowardZeroAndClampAtZero) {
    ScriptedLookup lookup({255, 255, 255});
    TFloydSteinbergDitherer engine(3, lookup);
    const uint8_t reds[] = {10, 200, 50};
    Walk(engine, 3, 1, [&](int x, int) { return RGB{reds[x], 0, 0}; });
    // 200 + (-1715 + 8) / 16 = 200 - 106; 50 + (-1127 + 8) / 16 = -19, clamped.
    EXPECT_EQ(RedsAsked(lookup), (std::vector<int>{10, 94, 0}));
}

TEST(FloydSteinberg, AnExactMatchLeavesTheCellForLaterRows) {
    // One column: row 0 leaves 3 e in cell 0, which row 2 reads. When row 2 matches
    // exactly the cell stays, and row 4 reads it again.
    for (bool exact : {true, false}) {
        std::vector<int> script{0, 100, 119, 100, 0};
        if (!exact) script[2] = 0;
        ScriptedLookup lookup(script);
        TFloydSteinbergDitherer engine(1, lookup);
        Walk(engine, 1, 5, [](int, int) { return RGB{100, 0, 0}; });
        const int last = exact ? 119 : 100 + (3 * 119 + 8) / 16;
        EXPECT_EQ(RedsAsked(lookup), (std::vector<int>{100, 100, 119, 100, last})) << exact;
    }
}

TEST(KernelDitherers, FirstErrorsWorkedByHand) {
    // Red 100 everywhere; the first pixel chooses 0, every later one matches exactly.
    // Width 3: the first row shows the row-0 weights; width 1 the weights straight below.
    struct Case {
        TDitherMode mode;
        std::vector<int> firstRow;  // width 3, one row
        std::vector<int> belowRows; // width 1, four rows
    };
    const Case cases[] = {
        {dmStucki,
         {100, 100 + (800 + 21) / 42, 100 + (400 + 21) / 42},
         {100, 100 + (800 + 21) / 42, 100 + (400 + 21) / 42, 100}},
        {dmSierra,
         {100, 100 + (500 + 16) / 32, 100 + (300 + 16) / 32},
         {100, 100 + (500 + 16) / 32, 100 + (300 + 16) / 32, 100}},
        {dmJaJuNI,
         {100, 100 + (700 + 24) / 48, 100 + (500 + 24) / 48},
         {100, 100 + (700 + 24) / 48, 100 + (500 + 24) / 48, 100}},
        {dmSteveArche,
         {100, 100, 100 + (3200 + 100) / 200},
         {100, 100, 100 + (2600 + 100) / 200, 100}},
        {dmBurkes,
         {100, 100 + (800 + 16) / 32, 100 + (400 + 16) / 32},
         {100, 100 + (800 + 16) / 32, 100, 100}},
    };
    for (const Case& c : cases) {
        for (int width : {3, 1}) {
            const int rows = width == 3 ? 1 : 4;
            std::vector<int> script(static_cast<size_t>(width * rows), -1);
            script[0] = 0;
            struct Exact : ScriptedLookup {
                using ScriptedLookup::ScriptedLookup;
                int MatchColor(uint8_t r, uint8_t g, uint8_t b, TGIFColor& chosen) override {
                    const int n = ScriptedLookup::MatchColor(r, g, b, chosen);
                    if (n > 0) chosen.Red = r;
                    return n;
                }
            } lookup(script);
            auto engine = CreateDitherer(c.mode, width, lookup);
            Walk(*engine, width, rows, [](int, int) { return RGB{100, 0, 0}; });
            EXPECT_EQ(RedsAsked(lookup), width == 3 ? c.firstRow : c.belowRows)
                << c.mode << " " << width;
        }
    }
}

TEST(KernelDitherers, RightToLeftRowsMirrorTheKernel) {
    // Burkes, width 2: row 0 spreads 100 from column 0; row 1 runs from column 1, whose
    // error goes on to column 0 (to its left, mirrored).
    ScriptedLookup lookup({0, 125, 0, 153});
    TBurkesDitherer engine(2, lookup);
    Walk(engine, 2, 2, [](int, int) { return RGB{100, 0, 0}; });
    // 100 + (400 + 16) / 32 = 113; then 100 + (800 + 8 * 113 + 16) / 32 = 153.
    EXPECT_EQ(RedsAsked(lookup), (std::vector<int>{100, 125, 113, 153}));
}

TEST(KernelDitherers, ValuesAreClamped) {
    ScriptedLookup lookup({255, 255, 0, 0});
    TStuckiDitherer engine(4, lookup);
    const uint8_t reds[] = {0, 5, 250, 250};
    Walk(engine, 4, 1, [&](int x, int) { return RGB{reds[x], 0, 0}; });
    // 5 + (8 * -255 + 21) / 42 = -43; 250 + (4 * -255 + 8 * -255 + 21) / 42 = 178;
    // 250 + (4 * -255 + 8 * 178 + 21) / 42 = 260.
    EXPECT_EQ(RedsAsked(lookup), (std::vector<int>{0, 0, 178, 255}));
}
