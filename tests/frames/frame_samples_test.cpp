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
