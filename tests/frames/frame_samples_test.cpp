// The whole way from a sample picture file to an output frame: LoadImage, then
// GetAspectedImage, compared with frames worked out independently from the loaded pixels.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "frames/frame_fixtures.h"
#include "frames/frame_geometry.h"
#include "job/image_to_video_class.h"
#include "platform/graphics/bitmap.h"
#include "platform/graphics/canvas.h"
#include "platform/graphics/picture.h"

namespace {

constexpr int Standard = 1, Smooth = 2, Bilinear = 3;
const TBGR Green{0, 255, 0};

// The smooth resampling in its plain form, pixel by pixel.
void ReferenceSmooth(const TBitmap& Source, TBitmap& Target) {
    const int sw = Source.Width(), sh = Source.Height(), dw = Target.Width(), dh = Target.Height();
    const int xstep = ((sw - 1) * 32768) / dw, ystep = ((sh - 1) * 32768) / dh;
    for (int y = 0; y < dh; ++y) {
        const int sy = y * ystep, iy = sy >> 15, fy = sy & 32767;
        const int iy1 = iy < sh - 1 ? iy + 1 : iy;
        for (int x = 0; x < dw; ++x) {
            const int sx = x * xstep, ix = sx >> 15, fx = sx & 32767;
            const int ix1 = ix < sw - 1 ? ix + 1 : ix;
            const int w01 = (fx * (32768 - fy)) >> 15, w00 = 32768 - fy - w01;
            const int w11 = (fx * fy) >> 15, w10 = fy - w11;
            uint8_t* out = Target.ScanLine(y) + 3 * x;
            for (int c = 0; c < 3; ++c)
                out[c] = static_cast<uint8_t>(
                    (PixelAt(Source, ix, iy)[c] * w00 + PixelAt(Source, ix1, iy)[c] * w01 +
                     PixelAt(Source, ix, iy1)[c] * w10 + PixelAt(Source, ix1, iy1)[c] * w11) >>
                    15);
        }
    }
}

class FrameSamplesTest : public testing::TestWithParam<const char*> {
  protected:
    void SetUp() override {
        job.ShowErrorWindows = false;
        job.BackgroundColor[1] = 255; // green
        path = std::string(VNTRL_EXAMPLES_DIR) + "/" + GetParam();
        if (!std::filesystem::exists(path))
            GTEST_SKIP() << "sample picture " << path << " is missing";
    }

    IMAGE_TO_VIDEO_CLASS job;
    std::string path;
};

} // namespace

TEST_P(FrameSamplesTest, FramesMatchTheirIndependentWorking) {
    struct TCase {
        int Method;
        double Width, Height;
        float Border;
    };
    const TCase cases[] = {{Bilinear, 300, 200, 10},
                           {Smooth, 300, 200, 10},
                           {Bilinear, 100, 90, 0},
                           {Smooth, 97, 61, 0},
                           {Standard, 640, 480, 5}};
    for (const TCase& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << "method " << c.Method << ", " << c.Width << "x" << c.Height);
        TImage work;
        ASSERT_EQ(job.LoadImage(&work, path.c_str()), 0);
        TBitmap loaded;
        loaded.Assign(&work.Picture().Bitmap());
        loaded.SetPixelFormat(pf24bit);

        TImage empty;
        ASSERT_EQ(job.GetAspectedImage(&work, &work, &empty, c.Width, c.Height, c.Border, c.Border,
                                       pf24bit, 1, 1, c.Method),
                  0);
        const TBitmap& frame = work.Picture().Bitmap();

        const TRect placed = PlacePicture(loaded.Width(), loaded.Height(), c.Width, c.Height,
                                          c.Border, c.Border, true, true);
        ASSERT_GT(placed.Width(), 0);
        auto expected = SolidBitmap(static_cast<int>(c.Width), static_cast<int>(c.Height), Green);
        if (c.Method == Bilinear) {
            ReferenceBilinear(loaded, Rect(0, 0, loaded.Width(), loaded.Height()), *expected,
                              placed);
        } else if (c.Method == Smooth) {
            TBitmap fitted;
            fitted.SetSize(placed.Width(), placed.Height());
            ReferenceSmooth(loaded, fitted);
            for (int y = 0; y < fitted.Height(); ++y)
                for (int x = 0; x < fitted.Width(); ++x) {
                    const TBGR p = PixelAt(fitted, x, y);
                    std::copy(p.begin(), p.end(),
                              expected->ScanLine(placed.Top + y) + 3 * (placed.Left + x));
                }
        } else {
            expected->Canvas().StretchDraw(placed, &loaded);
        }
        ASSERT_EQ(frame.Width(), expected->Width());
        ASSERT_EQ(frame.Height(), expected->Height());
        int differing = 0;
        for (int y = 0; y < frame.Height(); ++y)
            for (int x = 0; x < frame.Width(); ++x)
                differing += PixelAt(frame, x, y) != PixelAt(*expected, x, y);
        EXPECT_EQ(differing, 0);
    }
}

INSTANTIATE_TEST_SUITE_P(Examples, FrameSamplesTest,
                         testing::Values("scene1.jpg", "scene2.bmp", "scene5.jpg"),
                         [](const testing::TestParamInfo<const char*>& info) {
                             std::string name = info.param;
                             for (char& ch : name)
                                 if (ch == '.') ch = '_';
                             return name;
                         });
