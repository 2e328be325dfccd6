#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "frames/frame_fixtures.h"
#include "job/image_to_video_class.h"
#include "platform/graphics/bitmap.h"
#include "platform/graphics/picture.h"

namespace {

const TBGR Black{0, 0, 0};
const TBGR Red{0, 0, 255}; // blue, green, red
const TBGR Blue{255, 0, 0};

constexpr int Standard = 1, Smooth = 2, Bilinear = 3;

struct TSettings {
    double Width = 640, Height = 480;
    float BorderWidth = 0, BorderHeight = 0;
    uint8_t KeepAspect = 1, FitSmaller = 1;
    int Method = Bilinear;
    TPixelFormat Format = pf24bit;
};

class GetAspectedImageTest : public testing::Test {
  protected:
    void SetUp() override {
        job.ShowErrorWindows = false;
        job.LogOpen = true;
        job.LogStream = std::tmpfile();
        ASSERT_NE(job.LogStream, nullptr);
        // Red background, so that a black picture stands out in every method.
        job.BackgroundColor[2] = 255;
    }
    void TearDown() override { std::fclose(job.LogStream); }

    std::string Log() { return ReadBack(job.LogStream); }

    // Puts Picture into the work holder and fits it in place, as the compile operations do.
    int Fit(std::unique_ptr<TBitmap> Picture, const TSettings& s) {
        work.Picture().SetGraphic(std::move(Picture));
        return job.GetAspectedImage(&work, &work, &background, s.Width, s.Height, s.BorderWidth,
                                    s.BorderHeight, s.Format, s.KeepAspect, s.FitSmaller, s.Method);
    }
    TBitmap& Frame() { return work.Picture().Bitmap(); }

    IMAGE_TO_VIDEO_CLASS job;
    TImage work;
    TImage background;
};

} // namespace

TEST_F(GetAspectedImageTest, PicturesArePlacedAsTheGeometryRulesSay) {
    struct TCase {
        const char* Name;
        int PictureWidth, PictureHeight;
        TSettings Settings;
        TRect Placed;
    };
    auto with = [](auto change) {
        TSettings s;
        change(s);
        return s;
    };
    const TCase cases[] = {
        {"320x240 defaults", 320, 240, TSettings{}, Rect(0, 0, 640, 480)},
        {"320x240 fit smaller off", 320, 240, with([](TSettings& s) { s.FitSmaller = 0; }),
         Rect(160, 120, 480, 360)},
        {"1000x500 defaults", 1000, 500, TSettings{}, Rect(0, 80, 640, 400)},
        {"1000x500 border 10%", 1000, 500,
         with([](TSettings& s) { s.BorderWidth = s.BorderHeight = 10; }),
         Rect(32, 96, 32 + 575, 96 + 287)},
        {"800x600 border 25%", 800, 600,
         with([](TSettings& s) { s.BorderWidth = s.BorderHeight = 25; }), Rect(80, 60, 560, 420)},
        {"1000x500 aspect off", 1000, 500, with([](TSettings& s) { s.KeepAspect = 0; }),
         Rect(0, 0, 640, 480)},
        {"100x50 fit smaller off", 100, 50, with([](TSettings& s) { s.FitSmaller = 0; }),
         Rect(270, 215, 370, 265)},
        {"300x100 aspect off, fit smaller off", 300, 100, with([](TSettings& s) {
             s.KeepAspect = 0;
             s.FitSmaller = 0;
         }),
         Rect(170, 190, 470, 290)},
        {"641x480 defaults", 641, 480, TSettings{}, Rect(0, 0, 640, 479)},
        {"601x400 defaults", 601, 400, TSettings{}, Rect(0, 27, 639, 27 + 425)},
        {"333x333 defaults", 333, 333, TSettings{}, Rect(80, 0, 560, 480)},
        // Only exactly 1 keeps the aspect ratio.
        {"1000x500 aspect byte 2", 1000, 500, with([](TSettings& s) { s.KeepAspect = 2; }),
         Rect(0, 0, 640, 480)},
        // A negative border is none; odd leftovers go right and down.
        {"1000x500 border -5%", 1000, 500,
         with([](TSettings& s) { s.BorderWidth = s.BorderHeight = -5; }), Rect(0, 80, 640, 400)},
        {"3x3 into 641x481 fit smaller off", 3, 3, with([](TSettings& s) {
             s.Width = 641;
             s.Height = 481;
             s.FitSmaller = 0;
         }),
         Rect(319, 239, 322, 242)},
    };
    for (int method : {Bilinear, Smooth, Standard}) {
        for (const TCase& c : cases) {
            SCOPED_TRACE(testing::Message() << c.Name << ", method " << method);
            TSettings s = c.Settings;
            s.Method = method;
            ASSERT_EQ(Fit(SolidBitmap(c.PictureWidth, c.PictureHeight, Black), s), 0) << Log();
            EXPECT_EQ(Frame().Width(), static_cast<int>(s.Width));
            EXPECT_EQ(Frame().Height(), static_cast<int>(s.Height));
            EXPECT_EQ(BoundsOf(Frame(), Black), c.Placed);
            EXPECT_EQ(PixelAt(Frame(), 0, 0) == Black, c.Placed.Left == 0 && c.Placed.Top == 0);
        }
    }
}

TEST_F(GetAspectedImageTest, BackgroundColourIsPureRed) {
    ASSERT_EQ(Fit(SolidBitmap(10, 10, Black), TSettings{.Width = 64, .Height = 48}), 0);
    const TRect placed = BoundsOf(Frame(), Black);
    for (int y = 0; y < 48; ++y)
        for (int x = 0; x < 64; ++x) {
            const bool inside =
                x >= placed.Left && x < placed.Right && y >= placed.Top && y < placed.Bottom;
            ASSERT_EQ(PixelAt(Frame(), x, y), inside ? Black : Red) << x << "," << y;
        }
}

TEST_F(GetAspectedImageTest, BackgroundPictureFillsTheFrameUnderThePicture) {
    background.Picture().SetGraphic(SolidBitmap(7, 5, Blue));
    for (int method : {Bilinear, Smooth, Standard}) {
        SCOPED_TRACE(method);
        ASSERT_EQ(Fit(SolidBitmap(1000, 500, Black), TSettings{.Method = method}), 0) << Log();
        EXPECT_EQ(BoundsOf(Frame(), Black), Rect(0, 80, 640, 400));
        EXPECT_EQ(BoundsOf(Frame(), Red), TRect{});
        int blue = 0;
        for (int y = 0; y < 480; ++y)
            for (int x = 0; x < 640; ++x) {
                // Interpolated weights may fall short of 1 by a rounding in each of the two
                // passes, so 255 can give 253.
                const TBGR p = PixelAt(Frame(), x, y);
                blue += p[0] >= 253 && p[1] == 0 && p[2] == 0;
            }
        EXPECT_EQ(blue, 640 * 160);
    }
}

TEST_F(GetAspectedImageTest, BackgroundPictureIsStretchedByTheMethod) {
    // A two-colour background shows whether it was interpolated or repeated; the black
    // picture covers (1, 0) and row 1 shows the background alone.
    background.Picture().SetGraphic(MakeBitmap(2, 1, [](int x, int) {
        return x == 0 ? Black : TBGR{255, 255, 255};
    }));
    const std::pair<int, std::vector<int>> cases[] = {
        {Bilinear, {0, 127, 255, 255}}, {Smooth, {0, 63, 127, 191}}, {Standard, {0, 0, 255, 255}}};
    for (const auto& [method, expected] : cases) {
        SCOPED_TRACE(method);
        ASSERT_EQ(Fit(SolidBitmap(1, 1, Black),
                      TSettings{.Width = 4, .Height = 2, .FitSmaller = 0, .Method = method}),
                  0);
        std::vector<int> row;
        for (int x = 0; x < 4; ++x)
            row.push_back(PixelAt(Frame(), x, 1)[1]);
        EXPECT_EQ(row, expected);
        EXPECT_EQ(PixelAt(Frame(), 1, 0), Black);
    }
}

TEST_F(GetAspectedImageTest, ThePictureIsResampledNotJustPlaced) {
    auto picture = MakeBitmap(2, 1, [](int x, int) {
        return x == 0 ? Black : TBGR{255, 255, 255};
    });
    ASSERT_EQ(Fit(std::move(picture),
                  TSettings{.Width = 4, .Height = 2, .KeepAspect = 0, .Method = Smooth}),
              0);
    EXPECT_EQ(PixelAt(Frame(), 1, 1), (TBGR{63, 63, 63}));
    ASSERT_EQ(Fit(MakeBitmap(2, 1,
                             [](int x, int) {
                                 return x == 0 ? Black : TBGR{255, 255, 255};
                             }),
                  TSettings{.Width = 4, .Height = 2, .KeepAspect = 0, .Method = Bilinear}),
              0);
    EXPECT_EQ(PixelAt(Frame(), 1, 1), (TBGR{127, 127, 127}));
}

TEST_F(GetAspectedImageTest, FrameIsConvertedToTheOutputPixelFormat) {
    for (TPixelFormat format : {pf8bit, pf16bit, pf32bit, pf24bit}) {
        ASSERT_EQ(Fit(SolidBitmap(30, 20, Black),
                      TSettings{.Width = 33.9, .Height = 21.5, .Format = format}),
                  0);
        EXPECT_EQ(Frame().PixelFormat(), format);
        EXPECT_EQ(Frame().Width(), 33);
        EXPECT_EQ(Frame().Height(), 21);
    }
}

TEST_F(GetAspectedImageTest, NoRoomDrawsNoPictureAndDoesNotFail) {
    struct TCase {
        const char* Name;
        int PictureWidth, PictureHeight;
        TSettings Settings;
        int FrameWidth, FrameHeight;
    };
    const TCase cases[] = {
        {"100% borders", 50, 50, TSettings{.BorderWidth = 100, .BorderHeight = 100}, 640, 480},
        {"borders over 100%", 50, 50, TSettings{.BorderWidth = 150}, 640, 480},
        {"full border in width only", 50, 50, TSettings{.BorderWidth = 100, .FitSmaller = 0}, 640,
         480},
        {"zero width", 50, 50, TSettings{.Width = 0}, 0, 0},
        {"negative height", 50, 50, TSettings{.Height = -10}, 0, 0},
        {"empty picture", 0, 0, TSettings{}, 640, 480},
        {"tiny area", 50, 50, TSettings{.Width = 0.5, .Height = 0.5}, 0, 0},
    };
    for (int method : {Bilinear, Smooth, Standard}) {
        for (const TCase& c : cases) {
            SCOPED_TRACE(testing::Message() << c.Name << ", method " << method);
            TSettings s = c.Settings;
            s.Method = method;
            ASSERT_EQ(Fit(SolidBitmap(c.PictureWidth, c.PictureHeight, Black), s), 0) << Log();
            EXPECT_EQ(Frame().Width() * Frame().Height(), c.FrameWidth * c.FrameHeight);
            if (c.FrameWidth > 0) {
                EXPECT_EQ(BoundsOf(Frame(), Black), TRect{});
            }
        }
    }
    EXPECT_EQ(Log(), "");
}

TEST_F(GetAspectedImageTest, FrameTooLargeFailsWithTheOperationsText) {
    const std::string text =
        "\n\nERROR: Unable to resize image. - IMAGE_TO_VIDEO_CLASS::GetAspectedImage()\n\n";
    int failures = 0;
    for (TSettings s : {TSettings{.Width = 1e12}, TSettings{.Width = 60000, .Height = 60000},
                        TSettings{.Format = pfCustom}}) {
        EXPECT_EQ(Fit(SolidBitmap(8, 8, Black), s), 1);
        ++failures;
        const std::string log = Log();
        int found = 0;
        for (size_t at = log.find(text); at != std::string::npos; at = log.find(text, at + 1))
            ++found;
        EXPECT_EQ(found, failures) << log;
        EXPECT_EQ(log.find("ERROR: A frame"), std::string::npos)
            << "exception text is for the console only";
    }
}

TEST_F(GetAspectedImageTest, SourceAndTargetMayBeDifferentHolders) {
    TImage source, target;
    source.Picture().SetGraphic(SolidBitmap(320, 240, Black));
    ASSERT_EQ(job.GetAspectedImage(&source, &target, &background, 640, 480, 0, 0, pf24bit, 1, 0,
                                   Bilinear),
              0);
    EXPECT_EQ(BoundsOf(target.Picture().Bitmap(), Black), Rect(160, 120, 480, 360));
    EXPECT_EQ(source.Picture().Bitmap().Width(), 320);
}
