#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>

#include "frames/frame_fixtures.h"
#include "job/image_to_video_class.h"
#include "platform/graphics/bitmap.h"
#include "platform/graphics/jpeg_image.h"
#include "platform/graphics/picture.h"
#include "platform/picture_fixtures.h"

namespace {

// A job whose output goes to a log file we can read back; no windows.
class LoadImageTest : public testing::Test {
  protected:
    void SetUp() override {
        job.ShowErrorWindows = false;
        job.LogOpen = true;
        job.LogStream = std::tmpfile();
        ASSERT_NE(job.LogStream, nullptr);
        folder = ScratchFolder();
    }
    void TearDown() override { std::fclose(job.LogStream); }

    std::string Log() { return ReadBack(job.LogStream); }
    std::string Place(const std::string& Source, const std::string& Name) {
        const std::string path = folder + "/" + Name;
        std::filesystem::create_directories(std::filesystem::path(path).parent_path());
        std::filesystem::copy_file(TestDataDir() + "/" + Source, path);
        return path;
    }
    std::string PlaceBytes(const std::string& Name, const std::string& Bytes) {
        const std::string path = folder + "/" + Name;
        WriteFileBytes(path, std::vector<uint8_t>(Bytes.begin(), Bytes.end()));
        return path;
    }
    static std::string Lower(std::string text) {
        for (char& c : text)
            if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        return text;
    }
    std::string LoadFailure(const std::string& Path) {
        return "\nERROR: Unable to load image file \"" + Lower(Path) +
               "\". - IMAGE_TO_VIDEO_CLASS::LoadImage()\n\n";
    }

    IMAGE_TO_VIDEO_CLASS job;
    TImage holder;
    std::string folder;
};

} // namespace

TEST_F(LoadImageTest, EachKindBecomesABitmapOfItsOwnSize) {
    struct TCase {
        const char* Source;
        const char* Name;
        TPixelFormat Format;
        int Width, Height;
    };
    const TCase cases[] = {
        {"jpeg/baseline.jpg", "a.jpg", pf24bit, 37, 23},
        {"jpeg/progressive.jpg", "a.JPG", pf24bit, 37, 23},
        {"jpeg/baseline.jpg", "jpeg named.bmp", pf24bit, 37, 23}, // its JFIF mark decides
        {"bmp/pal8.bmp", "bitmap named.gif", pf8bit, 13, 5},      // "BM" decides, pixels as stored
        {"bmp/mono.bmp", "mono.bmp", pf1bit, 13, 5},
        {"jpeg/exif_only.jpg", "exif.jpeg", pf24bit, 37, 23}, // no JFIF mark: the extension
        {"icon/depths.ico", "Icon.ICO", pf8bit, 16, 16},
        {"png/alpha.png", "a.png", pf24bit, 9, 7}, // through the generic loader
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        ASSERT_EQ(job.LoadImage(&holder, Place(c.Source, c.Name).c_str()), 0) << Log();
        TBitmap& bitmap = holder.Picture().Bitmap();
        EXPECT_EQ(bitmap.PixelFormat(), c.Format);
        EXPECT_EQ(bitmap.Width(), c.Width);
        EXPECT_EQ(bitmap.Height(), c.Height);
    }
    EXPECT_EQ(Log(), "");
}

TEST_F(LoadImageTest, AnIconsTransparentPartsAreWhite) {
    ASSERT_EQ(job.LoadImage(&holder, Place("icon/depths.ico", "a.ico").c_str()), 0);
    TBitmap& bitmap = holder.Picture().Bitmap();
    const TRGBQuad white{255, 255, 255, 0};
    EXPECT_EQ(bitmap.ColorTable()[bitmap.ScanLine(15)[0]], white); // masked corner
    EXPECT_NE(bitmap.ColorTable()[bitmap.ScanLine(0)[10]], white);
}

TEST_F(LoadImageTest, AMissingFileOrAFolderGivesTwoWithThePathAsPassed) {
    const std::string missing = folder + "/Not There.JPG";
    std::filesystem::create_directories(folder + "/Pictures.D");
    for (const std::string& path : {missing, folder + "/Pictures.D"}) {
        SCOPED_TRACE(path);
        EXPECT_EQ(job.LoadImage(&holder, path.c_str()), 2);
        EXPECT_EQ(holder.Picture().Graphic(), nullptr);
    }
    EXPECT_EQ(Log(), "\nERROR: Unable to load image file \"" + missing +
                         "\". The file path does not exist, or file size is zero. - "
                         "IMAGE_TO_VIDEO_CLASS::LoadImage()\n\n"
                         "\nERROR: Unable to load image file \"" +
                         folder +
                         "/Pictures.D\". The file path does not exist, or file size is zero. - "
                         "IMAGE_TO_VIDEO_CLASS::LoadImage()\n\n");
}

TEST_F(LoadImageTest, FailuresGiveOneWithTheLowerCasedPath) {
    struct TCase {
        const char* What;
        std::string Path;
    };
    const TCase cases[] = {
        {"an Exif JPEG named .dat", Place("jpeg/exif_only.jpg", "Photo.DAT")},
        {"a file of 5 bytes starting with BM", PlaceBytes("Short.dat", "BMxyz")},
        {"a dot in a folder name only", Place("jpeg/exif_only.jpg", "My.Pics/photo")},
        {"a damaged JPEG",
         PlaceBytes("Bad.JPG", std::string("\xFF\xD8\xFF\xE0\x00\x10JFIF\x00garbage", 18))},
        {"a metafile", PlaceBytes("a.wmf", std::string("\xD7\xCD\xC6\x9A\x00\x00 rest", 11))},
        {"an empty file", PlaceBytes("Empty.jpg", "")},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.What);
        const size_t before = Log().size();
        EXPECT_EQ(job.LoadImage(&holder, c.Path.c_str()), 1);
        EXPECT_EQ(Log().substr(before), LoadFailure(c.Path));
    }
}

TEST_F(LoadImageTest, GIFPicturesAreRefusedUntilTheirKindIsRegistered) {
    if (TPicture::CreateGraphicFor(".gif") != nullptr) GTEST_SKIP() << "a GIF kind is registered";
    const std::string path = PlaceBytes("a.gif", "GIF89a\x01\x00\x01\x00");
    EXPECT_EQ(job.LoadImage(&holder, path.c_str()), 1);
    EXPECT_EQ(Log(), LoadFailure(path));
}

TEST_F(LoadImageTest, TheHolderIsClearedFirst) {
    ASSERT_EQ(job.LoadImage(&holder, Place("jpeg/baseline.jpg", "a.jpg").c_str()), 0);
    EXPECT_EQ(job.LoadImage(&holder, (folder + "/missing.jpg").c_str()), 2);
    EXPECT_EQ(holder.Picture().Graphic(), nullptr);
}

TEST_F(LoadImageTest, AJPEGKeepsEveryDecodedPixel) {
    const std::string path = Place("jpeg/baseline.jpg", "a.jpg");
    TJPEGImage jpeg;
    jpeg.LoadFromFile(path);
    ASSERT_EQ(job.LoadImage(&holder, path.c_str()), 0);
    EXPECT_EQ(holder.Picture().Bitmap().DIB().Bits, jpeg.Bitmap().DIB().Bits);
}
