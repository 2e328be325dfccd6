#include <gtest/gtest.h>

#include "gif/gif_encoder.h"
#include "gif_test_support.h"

using namespace giftest;

namespace {

DecodedCodes DecodeFrameData(const Bytes& data) {
    const SubBlocks blocks = ReadSubBlocks(data, 1);
    EXPECT_TRUE(blocks.Terminated);
    EXPECT_EQ(blocks.End, data.size());
    return DecodeLZW(data[0], blocks.Payload);
}

} // namespace

TEST(LZWEncoder, OnePixelFrameWithTwoColours) {
    EXPECT_EQ(EncodeFrame(1, 2, Bytes{0}, 1, 1), (Bytes{0x02, 0x02, 0x44, 0x01, 0x00}));
}

TEST(LZWEncoder, MinimumCodeSizeIsNeverBelowTwo) {
    for (int bits : {0, 1, 2}) {
        const Bytes data = EncodeFrame(bits, 1, Bytes{0}, 1, 1);
        EXPECT_EQ(data[0], 2) << "bits " << bits;
    }
    EXPECT_EQ(EncodeFrame(5, 32, Bytes{0}, 1, 1)[0], 5);
}

TEST(LZWEncoder, FrameWithoutPixelsHoldsOnlyTheEndCode) {
    // End code 5 in three bits.
    EXPECT_EQ(EncodeFrame(1, 2, Bytes{}, 0, 0), (Bytes{0x02, 0x01, 0x05, 0x00}));
}

TEST(LZWEncoder, SingleColourFrameOf16By16) {
    const Bytes data = EncodeFrame(8, 256, Bytes(256, 7), 16, 16);
    EXPECT_EQ(data[0], 8);
    const SubBlocks blocks = ReadSubBlocks(data, 1);
    ASSERT_EQ(blocks.Sizes.size(), 1u);
    // 25 codes of 9 bits: clear, 7, the runs 258..278, 259, end.
    EXPECT_EQ(blocks.Sizes[0], 29);
    const DecodedCodes decoded = DecodeLZW(8, blocks.Payload);
    std::vector<int> expected{256, 7};
    for (int code = 258; code <= 278; ++code)
        expected.push_back(code);
    expected.push_back(259);
    expected.push_back(257);
    EXPECT_EQ(decoded.Codes, expected);
    for (int width : decoded.Widths)
        EXPECT_EQ(width, 9);
    EXPECT_EQ(decoded.Pixels, Bytes(256, 7));
}

TEST(LZWEncoder, LongDataIsCutIntoFullSubBlocks) {
    const Bytes pixels = Noise(64, 64, 256);
    const Bytes data = EncodeFrame(8, 256, pixels, 64, 64);
    const SubBlocks blocks = ReadSubBlocks(data, 1);
    ASSERT_GT(blocks.Sizes.size(), 2u);
    for (size_t i = 0; i + 1 < blocks.Sizes.size(); ++i)
        EXPECT_EQ(blocks.Sizes[i], 255);
    EXPECT_GE(blocks.Sizes.back(), 1);
    EXPECT_LE(blocks.Sizes.back(), 255);
    EXPECT_EQ(DecodeLZW(8, blocks.Payload).Pixels, pixels);
}

TEST(LZWEncoder, CodeWidthGrowsAfterTheWriteThatAssignsAPowerOfTwo) {
    const DecodedCodes decoded = DecodeFrameData(EncodeFrame(8, 256, Noise(60, 60, 256), 60, 60));
    // Code k (k >= 1) after the first clear is written while next code = 257 + k.
    ASSERT_GT(decoded.Codes.size(), 1800u);
    EXPECT_EQ(decoded.Widths[0], 9);
    EXPECT_EQ(decoded.Widths[255], 9); // written while next code is 512
    EXPECT_EQ(decoded.Widths[256], 10);
    EXPECT_EQ(decoded.Widths[767], 10); // next code 1024
    EXPECT_EQ(decoded.Widths[768], 11);
    EXPECT_EQ(decoded.Widths[1791], 11); // next code 2048
    EXPECT_EQ(decoded.Widths[1792], 12);
}

TEST(LZWEncoder, FullTableWritesTwelveBitClearAndRestartsAtNineBits) {
    const Bytes pixels = Noise(200, 200, 256, 7);
    const DecodedCodes decoded = DecodeFrameData(EncodeFrame(8, 256, pixels, 200, 200));
    EXPECT_EQ(decoded.Pixels, pixels);
    ASSERT_TRUE(decoded.SawEnd);
    // Codes 1..3837 assign 258..4094; code 3838 is written while next code is 4095 and is
    // followed by the clear code.
    ASSERT_GT(decoded.Codes.size(), 3845u);
    EXPECT_EQ(decoded.Codes[0], 256);
    for (size_t i = 1; i < 3839; ++i)
        ASSERT_NE(decoded.Codes[i], 256) << i;
    EXPECT_EQ(decoded.Codes[3839], 256);
    EXPECT_EQ(decoded.Widths[3838], 12);
    EXPECT_EQ(decoded.Widths[3839], 12);
    EXPECT_EQ(decoded.Widths[3840], 9);
    EXPECT_EQ(decoded.Widths[3841], 9);
    for (int code : decoded.Codes)
        EXPECT_LT(code, 4095);
}

TEST(LZWEncoder, InterlacedFrameOfFourRowsIsWrittenInRowOrder0213) {
    const Bytes pixels{0, 0, 1, 1, 2, 2, 3, 3};
    const DecodedCodes decoded = DecodeFrameData(EncodeFrame(2, 4, pixels, 2, 4, true));
    EXPECT_EQ(decoded.Pixels, (Bytes{0, 0, 2, 2, 1, 1, 3, 3}));
}

TEST(LZWEncoder, InterlacedWalkVisitsEveryRowOnceForEveryHeight) {
    for (int height = 1; height <= 33; ++height) {
        Bytes pixels;
        for (int row = 0; row < height; ++row)
            pixels.push_back(static_cast<uint8_t>(row));
        const DecodedCodes decoded = DecodeFrameData(EncodeFrame(6, 64, pixels, 1, height, true));
        Bytes expected;
        for (int row : InterlacedRowOrder(height))
            expected.push_back(static_cast<uint8_t>(row));
        EXPECT_EQ(decoded.Pixels, expected) << "height " << height;
    }
}

TEST(LZWEncoder, RoundTripsNoiseAndGradientsOfEveryDepth) {
    for (int bits = 1; bits <= 8; ++bits) {
        const int colors = 1 << bits;
        for (const Bytes& pixels :
             {Noise(97, 61, colors, static_cast<uint32_t>(bits)), Gradient(97, 61, colors)}) {
            const Bytes data = EncodeFrame(bits, colors, pixels, 97, 61);
            const DecodedCodes decoded = DecodeFrameData(data);
            EXPECT_TRUE(decoded.SawEnd);
            EXPECT_EQ(decoded.Pixels, pixels) << "bits " << bits;
        }
    }
}

TEST(LZWEncoder, IndexAtTheLimitIsRefusedAndTheStartedDataStays) {
    Bytes pixels(600, 1);
    pixels[500] = 2;
    TMemoryStream stream;
    TLZWEncoder encoder;
    try {
        encoder.EncodeFrame(stream, 1, 2, pixels.data(), false, 1, 600);
        FAIL() << "no error";
    } catch (const GIFException& e) {
        EXPECT_EQ(e.Message, "Color not in color table");
    }
    const Bytes data = StreamBytes(stream);
    ASSERT_GE(data.size(), 3u);
    EXPECT_EQ(data[0], 2);
    const SubBlocks blocks = ReadSubBlocks(data, 1);
    EXPECT_FALSE(blocks.Terminated);
    EXPECT_EQ(blocks.End, data.size());
    EXPECT_FALSE(blocks.Sizes.empty());
}

TEST(LZWEncoder, FirstPixelIsCheckedToo) {
    TMemoryStream stream;
    TLZWEncoder encoder;
    const uint8_t pixel = 4;
    EXPECT_THROW(encoder.EncodeFrame(stream, 2, 4, &pixel, false, 1, 1), GIFException);
}

TEST(RLEEncoder, FollowsTheCodeStreamConventions) {
    for (int bits : {1, 4, 8}) {
        const int colors = 1 << bits;
        const Bytes pixels = Noise(50, 30, colors, 3);
        TMemoryStream stream;
        TRLEEncoder encoder;
        encoder.EncodeFrame(stream, bits, colors, pixels.data(), false, 30, 50);
        const DecodedCodes decoded = DecodeFrameData(StreamBytes(stream));
        EXPECT_TRUE(decoded.SawEnd);
        EXPECT_EQ(decoded.Pixels, pixels) << "bits " << bits;
        EXPECT_EQ(decoded.Codes.front(), 1 << std::max(bits, 2));
    }
}
