#include <gtest/gtest.h>

#include "platform/graphics/graphic_errors.h"
#include "platform/imaging/jpeg_reader.h"
#include "platform/picture_fixtures.h"

namespace {

TDIBImage ReadJPEGFile(const std::string& Path) {
    const std::vector<uint8_t> data = ReadFileBytes(Path);
    return ReadJPEG(data.data(), data.size());
}

std::string Name(const std::string& Path) {
    return Path.substr(Path.find_last_of('/') + 1);
}

// Compares our decoding of each file with Pillow's: same size, and at most Share of the
// channel values further apart than Tolerance (libjpeg builds differ in upsampling and
// colour conversion details).
void ExpectCloseToReference(const std::vector<std::string>& Files, int Tolerance, double Share) {
    const auto reference = ReferenceDecoder().Decode(Files);
    for (const std::string& file : Files) {
        SCOPED_TRACE(Name(file));
        TDIBImage image;
        ASSERT_NO_THROW(image = ReadJPEGFile(file));
        EXPECT_EQ(image.PixelFormat, pf24bit);
        const auto expected = reference.find(file);
        ASSERT_NE(expected, reference.end()) << "the reference decoder could not read it";
        const TRGBPicture ours = ToRGB(image);
        ASSERT_EQ(ours.Width, expected->second.Width);
        ASSERT_EQ(ours.Height, expected->second.Height);
        const double beyond =
            static_cast<double>(ChannelsBeyond(ours, expected->second, Tolerance));
        EXPECT_LE(beyond / static_cast<double>(ours.RGB.size()), Share);
    }
}

} // namespace

TEST(JPEGReader, OwnKindsDecodeLikeAnIndependentDecoder) {
    if (!ReferenceDecoder().Available) GTEST_SKIP() << ReferenceDecoder().Why;
    const std::string data = TestDataDir() + "/jpeg/";
    // Baseline, progressive, greyscale, Adobe CMYK, and an Exif file without JFIF mark.
    ExpectCloseToReference({data + "baseline.jpg", data + "progressive.jpg", data + "grey.jpg",
                            data + "cmyk.jpg", data + "exif_only.jpg"},
                           2, 0.0);
}

TEST(JPEGReader, CameraFilesDecodeCloseToAnIndependentDecoder) {
    const std::vector<std::string> files = FilesIn(CorpusDir() + "/jpeg/cameras");
    if (files.empty())
        GTEST_SKIP() << "camera JPEG corpus missing at " << CorpusDir() << "/jpeg/cameras";
    if (!ReferenceDecoder().Available) GTEST_SKIP() << ReferenceDecoder().Why;
    ExpectCloseToReference(files, 2, 0.001);
}

TEST(JPEGReader, MalformedSuiteFilesDecodeOrAreRefused) {
    const std::vector<std::string> files = FilesIn(CorpusDir() + "/jpeg/imagetestsuite");
    if (files.empty()) GTEST_SKIP() << "JPEG imagetestsuite corpus missing";
    for (const std::string& file : files) {
        SCOPED_TRACE(Name(file));
        try {
            const TDIBImage image = ReadJPEGFile(file);
            EXPECT_FALSE(image.Empty());
        } catch (const EInvalidGraphic& e) {
            const bool clear = e.Message.rfind("Invalid JPEG picture: ", 0) == 0 ||
                               e.Message.find("is too large to load") != std::string::npos;
            EXPECT_TRUE(clear) << e.Message;
        }
    }
}

TEST(JPEGReader, DamagedFilesRaiseInsteadOfEndingTheProcess) {
    const std::vector<uint8_t> good = ReadFileBytes(TestDataDir() + "/jpeg/baseline.jpg");
    ASSERT_GT(good.size(), 400u);
    struct TCase {
        const char* What;
        std::vector<uint8_t> Data;
    };
    std::vector<uint8_t> truncated(good.begin(), good.begin() + static_cast<long>(good.size() / 2));
    std::vector<uint8_t> headerOnly(good.begin(), good.begin() + 20);
    std::vector<uint8_t> badLength = good;
    badLength[4] = badLength[5] = 0xFF; // the first segment claims to run past the end
    const TCase cases[] = {{"cut in half", truncated},
                           {"header only", headerOnly},
                           {"segment past the end", badLength},
                           {"not a JPEG", std::vector<uint8_t>(100, 0x42)},
                           {"empty", {}}};
    for (const TCase& c : cases) {
        try {
            ReadJPEG(c.Data.data(), c.Data.size());
            ADD_FAILURE() << c.What << " was accepted";
        } catch (const EInvalidGraphic& e) {
            EXPECT_EQ(e.Message.rfind("Invalid JPEG picture: ", 0), 0u)
                << c.What << ": " << e.Message;
        }
    }
}
