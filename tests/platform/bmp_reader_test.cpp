#include <gtest/gtest.h>

#include <cstring>

#include "platform/classes/stream.h"
#include "platform/graphics/graphic_errors.h"
#include "platform/imaging/bmp_reader.h"
#include "platform/imaging/bmp_writer.h"
#include "platform/imaging/decode_limits.h"
#include "platform/picture_fixtures.h"

namespace {

std::string Suite(const char* Folder) {
    return CorpusDir() + "/bmpsuite/" + Folder;
}

TDIBImage ReadBMPFile(const std::string& Path) {
    const std::vector<uint8_t> data = ReadFileBytes(Path);
    return ReadBMP(data.data(), data.size());
}

std::string Name(const std::string& Path) {
    return Path.substr(Path.find_last_of('/') + 1);
}

// Bytes of a BMP file with a 40-byte header, built field by field.
std::vector<uint8_t> MakeBMP(int32_t Width, int32_t Height, uint16_t BitCount, uint32_t Compression,
                             const std::vector<TRGBQuad>& Colors,
                             const std::vector<uint8_t>& Pixels) {
    std::vector<uint8_t> out(54, 0);
    auto put32 = [&](size_t at, uint32_t v) {
        for (int i = 0; i < 4; ++i)
            out[at + i] = static_cast<uint8_t>(v >> (8 * i));
    };
    out[0] = 'B';
    out[1] = 'M';
    put32(10, static_cast<uint32_t>(54 + 4 * Colors.size()));
    put32(14, 40);
    put32(18, static_cast<uint32_t>(Width));
    put32(22, static_cast<uint32_t>(Height));
    out[26] = 1;
    out[28] = static_cast<uint8_t>(BitCount);
    put32(30, Compression);
    put32(46, static_cast<uint32_t>(Colors.size()));
    for (const TRGBQuad& q : Colors)
        out.insert(out.end(), {q.rgbBlue, q.rgbGreen, q.rgbRed, 0});
    out.insert(out.end(), Pixels.begin(), Pixels.end());
    put32(2, static_cast<uint32_t>(out.size()));
    return out;
}

} // namespace

TEST(BMPReader, GoodSuiteFilesMatchAnIndependentDecoder) {
    const std::vector<std::string> files = FilesIn(Suite("g"));
    if (files.empty()) GTEST_SKIP() << "bmpsuite corpus missing at " << Suite("g");
    // ImageMagick: Pillow 9.4 misreads 4-bit run-length files and refuses some bit fields.
    TReferenceDecoder& decoder = ReferenceDecoder(TReferenceDecoder::ImageMagick);
    if (!decoder.Available) GTEST_SKIP() << decoder.Why;
    const auto reference = decoder.Decode(files);
    for (const std::string& file : files) {
        SCOPED_TRACE(Name(file));
        TDIBImage image;
        ASSERT_NO_THROW(image = ReadBMPFile(file));
        const auto expected = reference.find(file);
        ASSERT_NE(expected, reference.end()) << "the reference decoder could not read it";
        const TRGBPicture ours = ToRGB(image);
        ASSERT_EQ(ours.Width, expected->second.Width);
        ASSERT_EQ(ours.Height, expected->second.Height);
        const int tolerance = 0;
        EXPECT_LE(MaxChannelDifference(ours, expected->second), tolerance);
    }
}

TEST(BMPReader, IndexedPicturesKeepTheirFormatAndColours) {
    struct TCase {
        const char* File;
        TPixelFormat Format;
        size_t Colors;
    };
    const TCase cases[] = {
        {"pal1.bmp", pf1bit, 2},     {"pal4.bmp", pf4bit, 12},     {"pal4rle.bmp", pf4bit, 12},
        {"pal8.bmp", pf8bit, 252},   {"pal8rle.bmp", pf8bit, 252}, {"pal8os2.bmp", pf8bit, 256},
        {"pal8-0.bmp", pf8bit, 256}, {"rgb16.bmp", pf15bit, 0},    {"rgb16-565.bmp", pf16bit, 0},
        {"rgb24.bmp", pf24bit, 0},   {"rgb32.bmp", pf32bit, 0},    {"rgb32bf.bmp", pf32bit, 0}};
    if (FilesIn(Suite("g")).empty()) GTEST_SKIP() << "bmpsuite corpus missing at " << Suite("g");
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.File);
        const TDIBImage image = ReadBMPFile(Suite("g") + "/" + c.File);
        EXPECT_EQ(image.PixelFormat, c.Format);
        EXPECT_EQ(image.ColorTable.size(), c.Colors);
        EXPECT_EQ(image.Width, 127);
        EXPECT_EQ(image.Height, 64);
    }
}

TEST(BMPReader, QuestionableFilesDecodeOrAreRefusedWithAMessage) {
    const std::vector<std::string> files = FilesIn(Suite("q"));
    if (files.empty()) GTEST_SKIP() << "bmpsuite corpus missing at " << Suite("q");
    int decoded = 0;
    for (const std::string& file : files) {
        SCOPED_TRACE(Name(file));
        try {
            const TDIBImage image = ReadBMPFile(file);
            EXPECT_FALSE(image.Empty());
            ++decoded;

        } catch (const EInvalidGraphic& e) {
            EXPECT_EQ(e.Message.rfind("Invalid BMP picture: ", 0), 0u) << e.Message;
        }
    }
    // OS/2 headers, 2-bit pictures, odd bit fields and cut runs are all readable.
    EXPECT_GE(decoded, 30);
}

TEST(BMPReader, QuestionableVariantsShowTheSamePictureAsTheGoodOnes) {
    if (FilesIn(Suite("q")).empty()) GTEST_SKIP() << "bmpsuite corpus missing at " << Suite("q");
    struct TCase {
        const char* Variant;
        const char* Good;
    };
    const TCase cases[] = {{"pal8offs.bmp", "pal8.bmp"},        {"pal8os2-hs.bmp", "pal8.bmp"},
                           {"pal8os2-sz.bmp", "pal8.bmp"},      {"pal8os2sp.bmp", "pal8.bmp"},
                           {"pal8os2v2.bmp", "pal8.bmp"},       {"pal8os2v2-16.bmp", "pal8.bmp"},
                           {"pal8os2v2-sz.bmp", "pal8.bmp"},    {"pal8os2v2-40sz.bmp", "pal8.bmp"},
                           {"pal8oversizepal.bmp", "pal8.bmp"}, {"rgb24largepal.bmp", "rgb24.bmp"},
                           {"rgb32-xbgr.bmp", "rgb24.bmp"},     {"rgb32fakealpha.bmp", "rgb24.bmp"},
                           {"rgb32h52.bmp", "rgb24.bmp"},       {"rgba16-5551.bmp", "rgb16.bmp"}};
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Variant);
        const TRGBPicture variant = ToRGB(ReadBMPFile(Suite("q") + "/" + c.Variant));
        EXPECT_EQ(MaxChannelDifference(variant, ToRGB(ReadBMPFile(Suite("g") + "/" + c.Good))), 0);
    }
}

TEST(BMPReader, BadFilesAreRefusedOrReadSafely) {
    const std::vector<std::string> files = FilesIn(Suite("b"));
    if (files.empty()) GTEST_SKIP() << "bmpsuite corpus missing at " << Suite("b");
    for (const std::string& file : files) {
        SCOPED_TRACE(Name(file));
        try {
            ReadBMPFile(file);
        } catch (const EInvalidGraphic&) {
        }
    }
}

TEST(BMPReader, RefusesADeclaredSizeBeyondTheLimitBeforeAllocating) {
    const std::vector<uint8_t> file = MakeBMP(60000, 60000, 24, BI_RGB, {}, {0, 0, 0, 0});
    try {
        ReadBMP(file.data(), file.size());
        FAIL() << "a 60000 x 60000 picture was accepted";
    } catch (const EInvalidGraphic& e) {
        EXPECT_NE(e.Message.find("too large"), std::string::npos) << e.Message;
    }
}

TEST(BMPReader, RefusesTruncatedPixelData) {
    const std::vector<uint8_t> file = MakeBMP(4, 4, 24, BI_RGB, {}, std::vector<uint8_t>(20, 0));
    EXPECT_THROW(ReadBMP(file.data(), file.size()), EInvalidGraphic);
}

TEST(BMPReader, HeaderFieldsOutOfRangeAreRefused) {
    const std::vector<TRGBQuad> two = {TRGBQuad{}, TRGBQuad{255, 255, 255, 0}};
    struct TCase {
        const char* What;
        std::vector<uint8_t> File;
    } cases[] = {
        {"zero width", MakeBMP(0, 4, 24, BI_RGB, {}, std::vector<uint8_t>(64, 0))},
        {"zero height", MakeBMP(4, 0, 24, BI_RGB, {}, std::vector<uint8_t>(64, 0))},
        {"7 bits per pixel", MakeBMP(4, 4, 7, BI_RGB, {}, std::vector<uint8_t>(64, 0))},
        {"RLE8 at 4 bits", MakeBMP(4, 4, 4, BI_RLE8, two, std::vector<uint8_t>(64, 0))},
        {"bit fields at 24 bits", MakeBMP(4, 4, 24, BI_BITFIELDS, {}, std::vector<uint8_t>(64, 0))},
        {"JPEG inside", MakeBMP(4, 4, 24, BI_JPEG, {}, std::vector<uint8_t>(64, 0))},
        {"no pixel data", MakeBMP(4, 4, 24, BI_RGB, {}, {})},
        {"not a BMP", std::vector<uint8_t>(40, 'x')},
    };
    for (const TCase& c : cases)
        EXPECT_THROW(ReadBMP(c.File.data(), c.File.size()), EInvalidGraphic) << c.What;
}

TEST(BMPReader, RunLengthEscapesMoveAndStop) {
    // 4 x 3 picture, bottom row first: a run of 3 of index 1, end of line; a delta of
    // (1, 1) to the top row's second pixel, three absolute pixels 2, 3, 1 (padded to an
    // even count of bytes), end of picture.
    const std::vector<uint8_t> runs = {3, 1, 0, 0, 0, 2, 1, 1, 0, 3, 2, 3, 1, 0, 0, 1};
    const std::vector<TRGBQuad> colors(4);
    const std::vector<uint8_t> file = MakeBMP(4, 3, 8, BI_RLE8, colors, runs);
    const TDIBImage image = ReadBMP(file.data(), file.size());
    ASSERT_EQ(image.PixelFormat, pf8bit);
    const uint8_t top[4] = {0, 2, 3, 1}, middle[4] = {0, 0, 0, 0}, bottom[4] = {1, 1, 1, 0};
    EXPECT_EQ(0, std::memcmp(image.Row(0), top, 4));
    EXPECT_EQ(0, std::memcmp(image.Row(1), middle, 4));
    EXPECT_EQ(0, std::memcmp(image.Row(2), bottom, 4));
}

TEST(BMPReader, RunsPastTheRowOrTheDataAreCut) {
    // A run of 200 into a 4-wide row, then an absolute block that claims more bytes than
    // the file holds.
    const std::vector<uint8_t> runs = {200, 7, 0, 0, 0, 50, 1, 2};
    const std::vector<uint8_t> file = MakeBMP(4, 2, 8, BI_RLE8, std::vector<TRGBQuad>(8), runs);
    const TDIBImage image = ReadBMP(file.data(), file.size());
    const uint8_t bottom[4] = {7, 7, 7, 7}, top[4] = {1, 2, 0, 0};
    EXPECT_EQ(0, std::memcmp(image.Row(1), bottom, 4));
    EXPECT_EQ(0, std::memcmp(image.Row(0), top, 4));
}

TEST(BMPWriter, WrittenFilesReadBackIdentically) {
    for (TPixelFormat format : {pf1bit, pf4bit, pf8bit, pf15bit, pf16bit, pf24bit, pf32bit}) {
        SCOPED_TRACE(static_cast<int>(format));
        TDIBImage image;
        image.Allocate(13, 5, format);
        if (IsIndexedFormat(format))
            for (int i = 0; i < (1 << BitsPerPixel(format)); ++i)
                image.ColorTable.push_back(
                    TRGBQuad{static_cast<uint8_t>(i), static_cast<uint8_t>(255 - i), 7, 0});
        for (size_t i = 0; i < image.Bits.size(); ++i)
            image.Bits[i] = static_cast<uint8_t>(i * 37);
        TMemoryStream stream;
        WriteBMP(stream, image);
        const TDIBImage back = ReadBMP(stream.Memory(), static_cast<size_t>(stream.GetSize()));
        EXPECT_EQ(back.PixelFormat, format);
        EXPECT_EQ(back.ColorTable, image.ColorTable);
        // Padding bytes at the end of a row are not picture content.
        EXPECT_EQ(0, MaxChannelDifference(ToRGB(back), ToRGB(image)));
    }
}
