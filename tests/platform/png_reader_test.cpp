#include <gtest/gtest.h>

#include "platform/graphics/graphic_errors.h"
#include "platform/imaging/png_reader.h"
#include "platform/picture_fixtures.h"

namespace {

TDIBImage ReadPNGFile(const std::string& Path, TPNGAlpha Alpha) {
    const std::vector<uint8_t> data = ReadFileBytes(Path);
    return ReadPNG(data.data(), data.size(), Alpha);
}

} // namespace

TEST(PNGReader, TransparencyIsCompositedOntoWhite) {
    // alpha.png: red-brown (200, 40, 10) with opacity rising from 0 at the left to 255 at
    // the right.
    const TDIBImage image =
        ReadPNGFile(TestDataDir() + "/png/alpha.png", TPNGAlpha::CompositeOnWhite);
    ASSERT_EQ(image.PixelFormat, pf24bit);
    const uint8_t* top = image.Row(0);
    EXPECT_EQ(top[0], 255);
    EXPECT_EQ(top[1], 255);
    EXPECT_EQ(top[2], 255);
    const uint8_t* right = top + 3 * (image.Width - 1);
    EXPECT_EQ(right[0], 10);
    EXPECT_EQ(right[1], 40);
    EXPECT_EQ(right[2], 200);
}

TEST(PNGReader, KeepingAlphaPutsItInTheFourthByte) {
    const TDIBImage image = ReadPNGFile(TestDataDir() + "/png/alpha.png", TPNGAlpha::Keep);
    ASSERT_EQ(image.PixelFormat, pf32bit);
    EXPECT_EQ(image.Row(3)[3], 0);
    EXPECT_EQ(image.Row(3)[4 * (image.Width - 1) + 3], 255);
    EXPECT_EQ(image.Row(3)[4 * (image.Width - 1) + 2], 200);
}

TEST(PNGReader, KindsMatchAnIndependentDecoder) {
    if (!ReferenceDecoder().Available) GTEST_SKIP() << ReferenceDecoder().Why;
    // Pillow turns 16-bit grey into 8 bits by clipping, so grey16.png is checked below.
    std::vector<std::string> files = {TestDataDir() + "/png/alpha.png",
                                      TestDataDir() + "/png/palette.png"};
    for (const std::string& frame : FilesIn(CorpusDir() + "/gif/gif-test-suite/frames")) {
        files.push_back(frame);
        if (files.size() > 12) break;
    }
    const auto reference = ReferenceDecoder().Decode(files, true);
    for (const std::string& file : files) {
        SCOPED_TRACE(file);
        const TRGBPicture ours = ToRGB(ReadPNGFile(file, TPNGAlpha::CompositeOnWhite));
        const auto expected = reference.find(file);
        ASSERT_NE(expected, reference.end());
        ASSERT_EQ(ours.Width, expected->second.Width);
        ASSERT_EQ(ours.Height, expected->second.Height);
        // Partial opacity may round one step apart.
        EXPECT_LE(MaxChannelDifference(ours, expected->second), 1);
    }
}

TEST(PNGReader, DamagedFilesAreRefused) {
    const std::vector<uint8_t> good = ReadFileBytes(TestDataDir() + "/png/palette.png");
    std::vector<uint8_t> cut(good.begin(), good.begin() + static_cast<long>(good.size() / 2));
    std::vector<uint8_t> crc = good;
    crc[30] ^= 0xFF; // inside the header chunk
    // Found by fuzzing: a file whose data breaks off while its rows wait in a work buffer
    // for compositing (that buffer once leaked).
    const std::vector<uint8_t> interlaced =
        ReadFileBytes(TestDataDir() + "/png/damaged_interlaced.png");
    ASSERT_FALSE(interlaced.empty());
    for (const auto& data :
         {cut, crc, std::vector<uint8_t>(good.begin(), good.begin() + 8), interlaced})
        EXPECT_THROW(ReadPNG(data.data(), data.size(), TPNGAlpha::CompositeOnWhite),
                     EInvalidGraphic);
}

TEST(PNGReader, SixteenBitSamplesAreScaledToEightBits) {
    // grey16.png: every sample 1000 of 65535.
    const TDIBImage image =
        ReadPNGFile(TestDataDir() + "/png/grey16.png", TPNGAlpha::CompositeOnWhite);
    EXPECT_EQ(image.Row(0)[0], 4);
    EXPECT_EQ(image.Row(3)[3 * 4 + 2], 4);
}
