#include <gtest/gtest.h>

#include <vector>

#include "gif/octree_quantizer.h"
#include "gif/reduction_palettes.h"
#include "reduction_test_support.h"

using reducetest::Bitmap24;
using reducetest::RGB;

namespace {

RGB Of(const TPaletteEntry& e) {
    return RGB{e.peRed, e.peGreen, e.peBlue};
}

// The palette of 256 colours the real road builds for a picture of one row.
TPalette OctreePaletteOfRow(const std::vector<RGB>& colors) {
    auto bitmap = Bitmap24(static_cast<int>(colors.size()), 1, colors);
    TDIBReader reader(*bitmap, pf24bit);
    return BuildOctreePalette(reader, 256, 8, false);
}

std::vector<RGB> Reds(int first, int last) {
    std::vector<RGB> colors;
    for (int r = first; r <= last; ++r)
        colors.push_back(RGB{static_cast<uint8_t>(r), 0, 0});
    return colors;
}

} // namespace

TEST(OctreeQuantizer, ChildIndexTakesOneBitOfEachComponent) {
    EXPECT_EQ(TColorQuantizer::ChildIndex(0x80, 0x00, 0x00, 0), 4);
    EXPECT_EQ(TColorQuantizer::ChildIndex(0x00, 0x80, 0x00, 0), 2);
    EXPECT_EQ(TColorQuantizer::ChildIndex(0x00, 0x00, 0x80, 0), 1);
    EXPECT_EQ(TColorQuantizer::ChildIndex(0x01, 0x01, 0x01, 7), 7);
    EXPECT_EQ(TColorQuantizer::ChildIndex(0xFE, 0xFE, 0xFE, 7), 0);
}

TEST(OctreeQuantizer, FewColoursComeOutExactlyInTreeOrder) {
    // Fed in this order; the tree orders them by interleaved bits, red before green
    // before blue at each level, from the top bit down.
    const std::vector<RGB> fed{{1, 0, 0}, {0, 0, 1}, {255, 0, 0},  {0, 255, 0}, {0, 0, 255},
                               {0, 1, 0}, {0, 0, 0}, {10, 20, 30}, {1, 0, 0}};
    const TPalette palette = OctreePaletteOfRow(fed);
    ASSERT_EQ(palette.size(), 256u);
    const std::vector<RGB> expected{{0, 0, 0},    {0, 0, 1},   {0, 1, 0},   {1, 0, 0},
                                    {10, 20, 30}, {0, 0, 255}, {0, 255, 0}, {255, 0, 0}};
    for (size_t i = 0; i < expected.size(); ++i)
        EXPECT_EQ(Of(palette[i]), expected[i]) << i;
    // The entries the tree has no colour for repeat its last colour.
    for (size_t i = expected.size(); i < palette.size(); ++i)
        EXPECT_EQ(Of(palette[i]), expected.back()) << i;
    for (const TPaletteEntry& e : palette)
        EXPECT_EQ(e.peFlags, 0);
}

TEST(OctreeQuantizer, OneColourIsTheFirstEntry) {
    const TPalette palette = OctreePaletteOfRow(std::vector<RGB>(5, RGB{12, 200, 99}));
    EXPECT_EQ(Of(palette[0]), (RGB{12, 200, 99}));
}

TEST(OctreeQuantizer, ExactlyTheLimitIsNeverFolded) {
    TColorQuantizer quantizer(256, 8);
    std::vector<uint8_t> row;
    for (int r = 0; r < 256; ++r)
        row.insert(row.end(), {0, 0, static_cast<uint8_t>(r)});
    quantizer.FeedRow(row.data(), 256);
    EXPECT_EQ(quantizer.GetLeafTotal(), 256);
    TRGBQuad colors[256];
    ASSERT_EQ(quantizer.WriteLeafColors(colors, 256), 256);
    for (int r = 0; r < 256; ++r)
        EXPECT_EQ(colors[r].rgbRed, r);
}

// 256 reds, then one colour more: the most recently made level-7 node (254 and 255) folds.
TEST(OctreeQuantizer, The257thColourFoldsTheNewestDeepestNode) {
    std::vector<RGB> fed = Reds(0, 255);
    fed.push_back(RGB{0, 0, 1}); // joins the node of (0, 0, 0) and (1, 0, 0)
    const TPalette palette = OctreePaletteOfRow(fed);
    ASSERT_EQ(palette.size(), 256u);
    EXPECT_EQ(Of(palette[0]), (RGB{0, 0, 0}));
    EXPECT_EQ(Of(palette[1]), (RGB{0, 0, 1}));
    for (int r = 1; r <= 253; ++r)
        EXPECT_EQ(Of(palette[r + 1]), (RGB{uint8_t(r), 0, 0})) << r;
    EXPECT_EQ(Of(palette[255]), (RGB{254, 0, 0})); // (254 + 255) div 2
}

TEST(OctreeQuantizer, AFoldDropsTheLeafCountByItsChildrenLessOne) {
    // The last level-7 node gets three leaves: 254, 255 and (254, 0, 1).
    std::vector<RGB> fed = Reds(0, 255);
    fed.back() = RGB{254, 0, 1};
    fed.insert(fed.end() - 1, RGB{255, 0, 0});
    ASSERT_EQ(fed.size(), 257u);
    auto bitmap = Bitmap24(257, 1, fed);
    TDIBReader reader(*bitmap, pf24bit);
    TColorQuantizer quantizer(256, 8);
    quantizer.FeedImage(reader);
    EXPECT_EQ(quantizer.GetLeafTotal(), 255);
    TRGBQuad colors[256];
    ASSERT_EQ(quantizer.WriteLeafColors(colors, 256), 255);
    for (int r = 0; r <= 253; ++r)
        EXPECT_EQ(colors[r].rgbRed, r);
    // (254 + 255 + 254) div 3, (0 + 0 + 1) div 3.
    EXPECT_EQ(colors[254].rgbRed, 254);
    EXPECT_EQ(colors[254].rgbBlue, 0);

    // The palette still has 256 entries; the last repeats the last leaf.
    TDIBReader again(*bitmap, pf24bit);
    const TPalette palette = BuildOctreePalette(again, 256, 8, false);
    ASSERT_EQ(palette.size(), 256u);
    EXPECT_EQ(Of(palette[255]), (RGB{254, 0, 0}));
}

TEST(OctreeQuantizer, FoldingGoesOnUntilTheLimitHolds) {
    // (0, 2, 0) makes a level-7 node of its own, newest of all; folding it gains nothing,
    // so the node of 254 and 255 folds next.
    std::vector<RGB> fed = Reds(0, 255);
    fed.push_back(RGB{0, 2, 0});
    const TPalette palette = OctreePaletteOfRow(fed);
    EXPECT_EQ(Of(palette[0]), (RGB{0, 0, 0}));
    EXPECT_EQ(Of(palette[1]), (RGB{1, 0, 0}));
    EXPECT_EQ(Of(palette[2]), (RGB{0, 2, 0}));
    for (int r = 2; r <= 253; ++r)
        EXPECT_EQ(Of(palette[r + 1]), (RGB{uint8_t(r), 0, 0})) << r;
    EXPECT_EQ(Of(palette[255]), (RGB{254, 0, 0}));
}

TEST(OctreeQuantizer, ALeafIsTheTruncatedMeanOfItsPixels) {
    // Limit 2: the third colour forces folds up to the root, which ends as the only leaf;
    // later pixels are added to it.
    TColorQuantizer quantizer(2, 8);
    const std::vector<uint8_t> first{0, 0, 0, /**/ 128, 0, 0, /**/ 0, 128, 0};
    quantizer.FeedRow(first.data(), 3);
    EXPECT_EQ(quantizer.GetLeafTotal(), 1);
    TRGBQuad colors[256];
    ASSERT_EQ(quantizer.WriteLeafColors(colors, 256), 1);
    EXPECT_EQ(colors[0], (TRGBQuad{42, 42, 0, 0})); // 128 div 3
    const std::vector<uint8_t> more{255, 255, 255};
    quantizer.FeedRow(more.data(), 1);
    ASSERT_EQ(quantizer.WriteLeafColors(colors, 256), 1);
    EXPECT_EQ(colors[0], (TRGBQuad{95, 95, 63, 0})); // 383 div 4, 255 div 4

    // One pixel of (0, 0, 0) and one of (0, 0, 1) folded together give (0, 0, 0).
    TColorQuantizer pair(1, 8);
    const std::vector<uint8_t> two{0, 0, 0, /**/ 1, 0, 0};
    pair.FeedRow(two.data(), 2);
    ASSERT_EQ(pair.WriteLeafColors(colors, 256), 1);
    EXPECT_EQ(colors[0], (TRGBQuad{0, 0, 0, 0}));
}

// 258 x 65536 white pixels in one leaf: 255 times that count no longer fits 32 bits.
TEST(OctreeQuantizer, SumsOfHugeLeavesDoNotOverflow) {
    TColorQuantizer quantizer(256, 8);
    const std::vector<uint8_t> row(3 * 65536, 255);
    for (int y = 0; y < 258; ++y)
        quantizer.FeedRow(row.data(), 65536);
    TRGBQuad colors[256];
    ASSERT_EQ(quantizer.WriteLeafColors(colors, 256), 1);
    EXPECT_EQ(colors[0], (TRGBQuad{255, 255, 255, 0}));
}

TEST(OctreeQuantizer, ShallowTreesMergeColoursThatShareTheirTopBits) {
    TColorQuantizer quantizer(256, 2); // leaves at level 2: the top two bits
    const std::vector<uint8_t> row{0, 0, 0, /**/ 0, 0, 63, /**/ 0, 0, 64};
    quantizer.FeedRow(row.data(), 3);
    TRGBQuad colors[256];
    ASSERT_EQ(quantizer.WriteLeafColors(colors, 256), 2);
    EXPECT_EQ(colors[0].rgbRed, 31); // 63 div 2
    EXPECT_EQ(colors[1].rgbRed, 64);
}

TEST(OctreeQuantizer, ColourCountAndDepthOutsideTheirRangesAreKeptInside) {
    TColorQuantizer none(0, 8);
    EXPECT_EQ(none.GetColorLimit(), 1);
    TColorQuantizer many(1000, 20);
    EXPECT_EQ(many.GetColorLimit(), 256);
    EXPECT_EQ(many.GetDepthLimit(), 8);
    const std::vector<uint8_t> row{1, 2, 3, 4, 5, 6};
    none.FeedRow(row.data(), 2);
    EXPECT_EQ(none.GetLeafTotal(), 1);

    auto bitmap = Bitmap24(2, 1, {{1, 2, 3}, {4, 5, 6}});
    TDIBReader reader(*bitmap, pf24bit);
    EXPECT_EQ(BuildOctreePalette(reader, 0, 8, false).size(), 1u);
    EXPECT_EQ(BuildOctreePalette(reader, 4096, 8, false).size(), 256u);
}

TEST(OctreeQuantizer, SystemColoursFrameTheOctreeColours) {
    auto bitmap = Bitmap24(2, 1, {{1, 2, 3}, {200, 100, 50}});
    const TPalette palette = BuildOctreePaletteForBitmap(*bitmap, 256, 8, true);
    ASSERT_EQ(palette.size(), 256u);
    const TPalette& system = SystemDefaultPalette();
    for (int i = 0; i < 10; ++i) {
        EXPECT_EQ(palette[i], system[i]) << i;
        EXPECT_EQ(palette[246 + i], system[10 + i]) << i;
    }
    EXPECT_EQ(Of(palette[10]), (RGB{1, 2, 3}));
    EXPECT_EQ(Of(palette[11]), (RGB{200, 100, 50}));
    EXPECT_EQ(Of(palette[245]), (RGB{200, 100, 50}));
}

TEST(OctreeQuantizer, ManyBitmapsFeedOneTree) {
    auto a = Bitmap24(1, 1, {{9, 9, 9}});
    auto b = Bitmap24(2, 1, {{0, 0, 0}, {9, 9, 9}});
    const TPalette palette = CreateOptimizedPaletteFromManyBitmaps({a.get(), b.get()}, 4, 8, false);
    ASSERT_EQ(palette.size(), 4u);
    EXPECT_EQ(Of(palette[0]), (RGB{0, 0, 0}));
    EXPECT_EQ(Of(palette[1]), (RGB{9, 9, 9}));
    try {
        CreateOptimizedPaletteFromManyBitmaps({}, 256, 8, false);
        FAIL() << "no error";
    } catch (const GIFException& e) {
        EXPECT_EQ(e.Message, "Invalid bitmap list");
    }
    EXPECT_THROW(CreateOptimizedPaletteFromManyBitmaps({nullptr}, 256, 8, false), GIFException);
}
