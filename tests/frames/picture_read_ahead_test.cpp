#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "frames/frame_fixtures.h"
#include "frames/picture_read_ahead.h"
#include "job/image_to_video_class.h"
#include "platform/graphics/bitmap.h"
#include "platform/graphics/picture.h"
#include "platform/picture_fixtures.h"

namespace {

// A job over a list of paths whose output goes to a log we can read back; no windows.
struct TListJob {
    explicit TListJob(const std::vector<std::string>& Paths) {
        job.ShowErrorWindows = false;
        job.LogOpen = true;
        job.LogStream = std::tmpfile();
        EXPECT_TRUE(job.ImageList.Allocate(static_cast<int32_t>(Paths.size()) + 1));
        for (const std::string& path : Paths)
            std::snprintf(job.ImageList[job.ImageCount++].Path, IMAGE_LIST_CLASS::PathCapacity, "%s",
                          path.c_str());
    }
    ~TListJob() { std::fclose(job.LogStream); }
    std::string Log() { return ReadBack(job.LogStream); }

    IMAGE_TO_VIDEO_CLASS job;
};

struct TLoaded {
    int Result;
    int Width, Height;
    TPixelFormat Format;
    std::vector<uint8_t> Bits;
};

TLoaded Take(int Result, TImage& Holder) {
    TLoaded loaded{Result, 0, 0, pf24bit, {}};
    if (Result != 0) return loaded;
    const TBitmap& bitmap = Holder.Picture().Bitmap();
    loaded.Width = bitmap.Width();
    loaded.Height = bitmap.Height();
    loaded.Format = bitmap.PixelFormat();
    loaded.Bits = bitmap.DIB().Bits;
    return loaded;
}

} // namespace

// Reading ahead must not change what a load gives nor what it reports: the same results,
// the same pictures and the same log, failures included, as LoadImage one by one.
TEST(PictureReadAhead, GivesWhatLoadImageGivesPictureByPicture) {
    const std::string folder = ScratchFolder();
    const auto copy = [&](const std::string& source, const std::string& name) {
        std::filesystem::copy_file(TestDataDir() + "/" + source, folder + "/" + name);
        return folder + "/" + name;
    };
    const std::string jpeg = copy("jpeg/baseline.jpg", "a.jpg");
    const std::string bmp = copy("bmp/pal8.bmp", "b.bmp");
    const std::string png = copy("png/alpha.png", "c.png");
    const std::string broken = folder + "/broken.bmp";
    WriteFileBytes(broken, {'B', 'M', 1, 2, 3});
    const std::string missing = folder + "/missing.jpg";

    struct TCase {
        const char* Name;
        std::vector<std::string> Paths;
        std::vector<int> Order; // the indices loaded, in turn
    } cases[] = {
        {"all readable", {jpeg, bmp, png}, {0, 1, 2}},
        {"a broken picture in the middle", {jpeg, broken, png}, {0, 1, 2}},
        {"a missing picture in the middle", {bmp, missing, jpeg}, {0, 1, 2}},
        {"a broken last picture", {png, broken}, {0, 1}},
        {"loads out of turn", {jpeg, bmp, png, jpeg}, {0, 2, 1, 3, 3}},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        TListJob plain(c.Paths), ahead(c.Paths);
        TPictureReadAhead reader(ahead.job);
        for (int index : c.Order) {
            SCOPED_TRACE(index);
            TImage expectedHolder, holder;
            const TLoaded expected = Take(
                plain.job.LoadImage(&expectedHolder, plain.job.ImageList[index].Path),
                expectedHolder);
            const TLoaded got = Take(reader.Load(&holder, index), holder);
            EXPECT_EQ(got.Result, expected.Result);
            EXPECT_EQ(got.Width, expected.Width);
            EXPECT_EQ(got.Height, expected.Height);
            EXPECT_EQ(got.Format, expected.Format);
            EXPECT_TRUE(got.Bits == expected.Bits);
        }
        EXPECT_EQ(ahead.Log(), plain.Log());
    }
}

// The holder gets the picture in place of what it held, as LoadImage clears it first.
TEST(PictureReadAhead, ReplacesTheHoldersPicture) {
    const std::string folder = ScratchFolder();
    const std::string path = folder + "/a.jpg";
    std::filesystem::copy_file(TestDataDir() + "/jpeg/baseline.jpg", path);
    TListJob list({path, path});
    TPictureReadAhead reader(list.job);
    TImage holder;
    holder.Picture().Bitmap().SetSize(3, 3);
    ASSERT_EQ(reader.Load(&holder, 0), 0);
    ASSERT_EQ(reader.Load(&holder, 1), 0);
    TImage expected;
    ASSERT_EQ(list.job.LoadImage(&expected, path.c_str()), 0);
    EXPECT_EQ(holder.Picture().Width(), expected.Picture().Width());
    EXPECT_TRUE(holder.Picture().Bitmap().DIB().Bits == expected.Picture().Bitmap().DIB().Bits);
}
