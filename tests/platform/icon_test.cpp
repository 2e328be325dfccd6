#include <gtest/gtest.h>

#include "platform/graphics/bitmap.h"
#include "platform/graphics/canvas.h"
#include "platform/graphics/graphic_errors.h"
#include "platform/graphics/icon.h"
#include "platform/imaging/icon_reader.h"
#include "platform/picture_fixtures.h"

namespace {

TDIBImage ReadIconFile(const std::string& Path) {
    const std::vector<uint8_t> data = ReadFileBytes(Path);
    return ReadIcon(data.data(), data.size());
}

uint8_t Alpha(const TDIBImage& Image, int X, int Y) {
    return Image.Row(Y)[4 * X + 3];
}

} // namespace

// depths.ico holds an 8x8 1-bit, a 16x16 4-bit, a 16x16 8-bit and a 12x12 24-bit image,
// each with a mask that hides the two left columns and the two bottom rows; the 8-bit
// image has a grey ramp whose level is x + (15 - y).
TEST(IconReader, PicksTheLargestThenDeepestImageAndAppliesItsMask) {
    const TDIBImage image = ReadIconFile(TestDataDir() + "/icon/depths.ico");
    ASSERT_EQ(image.Width, 16);
    ASSERT_EQ(image.Height, 16);
    ASSERT_EQ(image.PixelFormat, pf32bit);
    EXPECT_EQ(image.Row(0)[4 * 5], 20); // grey level of the 8-bit image, not of the 4-bit one
    EXPECT_EQ(Alpha(image, 5, 0), 255);
    EXPECT_EQ(Alpha(image, 1, 5), 0);
    EXPECT_EQ(Alpha(image, 5, 15), 0);
    EXPECT_EQ(Alpha(image, 15, 13), 255);
}

TEST(IconReader, ThirtyTwoBitAndPNGImagesUseTheirAlpha) {
    // Both files: a 32 x 32 icon of an opaque blue disc on a transparent ground.
    for (const char* file : {"two_sizes_bmp.ico", "png_entry.ico"}) {
        SCOPED_TRACE(file);
        const TDIBImage image = ReadIconFile(TestDataDir() + "/icon/" + file);
        ASSERT_EQ(image.Width, 32);
        ASSERT_EQ(image.Height, 32);
        EXPECT_EQ(Alpha(image, 0, 0), 0);
        EXPECT_EQ(Alpha(image, 16, 16), 255);
        EXPECT_EQ(image.Row(16)[4 * 16], 255); // blue
        EXPECT_EQ(image.Row(16)[4 * 16 + 2], 0);
    }
}

TEST(IconReader, RealIconFileDecodes) {
    const std::string file = CorpusDir() + "/ico/Icon (1).ico";
    if (ReadFileBytes(file).empty()) GTEST_SKIP() << "icon corpus missing at " << file;
    const TDIBImage image = ReadIconFile(file);
    EXPECT_GT(image.Width, 0);
    EXPECT_GT(image.Height, 0);
}

TEST(IconReader, DamagedDirectoriesAreRefused) {
    std::vector<uint8_t> good = ReadFileBytes(TestDataDir() + "/icon/depths.ico");
    std::vector<uint8_t> shortDirectory(good.begin(), good.begin() + 30);
    std::vector<uint8_t> offsetsPastEnd = good;
    for (int entry = 0; entry < 4; ++entry)
        offsetsPastEnd[6 + 16 * entry + 15] = 0x7F;
    std::vector<uint8_t> wrongType = good;
    wrongType[2] = 3;
    for (const auto& data :
         {shortDirectory, offsetsPastEnd, wrongType, std::vector<uint8_t>{0, 0, 1, 0}})
        EXPECT_THROW(ReadIcon(data.data(), data.size()), EInvalidGraphic);
}

TEST(Icon, TransparentPartsStayWhiteWhenDrawnOnWhite) {
    TIcon icon;
    icon.LoadFromFile(TestDataDir() + "/icon/two_sizes_bmp.ico");
    TBitmap bitmap;
    bitmap.SetPixelFormat(pf8bit);
    bitmap.SetSize(icon.Width(), icon.Height());
    bitmap.Canvas().Draw(0, 0, &icon);
    const std::vector<TRGBQuad>& table = bitmap.ColorTable();
    const TRGBQuad corner = table[bitmap.ScanLine(0)[0]];
    const TRGBQuad centre = table[bitmap.ScanLine(16)[16]];
    EXPECT_EQ(corner, (TRGBQuad{255, 255, 255, 0}));
    EXPECT_EQ(centre, (TRGBQuad{255, 0, 0, 0})); // blue, green, red
}
