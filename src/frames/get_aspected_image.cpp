#include <memory>

#include "frames/frame_geometry.h"
#include "job/exception_boundary.h"
#include "job/image_to_video_class.h"
#include "platform/graphics/bitmap.h"
#include "platform/graphics/canvas.h"
#include "platform/graphics/picture.h"

namespace {

constexpr int ResizeSmoothMethod = 2;
constexpr int ResizeBilinearMethod = 3;

} // namespace

int IMAGE_TO_VIDEO_CLASS::GetAspectedImage(TImage* Source, TImage* Target, TImage* Background,
                                           double FrameWidth, double FrameHeight, float BorderWidth,
                                           float BorderHeight, TPixelFormat Format,
                                           uint8_t KeepAspect, uint8_t FitSmaller, int Method) {
    std::unique_ptr<TBitmap> picture, work;
    return RunGuarded(
        *this,
        [&] {
            const int width = FrameSide(FrameWidth), height = FrameSide(FrameHeight);

            // The picture is copied first: Target may be the same holder.
            TBitmap& sourceBitmap = Source->Picture().Bitmap();
            const int pw = sourceBitmap.Width(), ph = sourceBitmap.Height();
            picture = std::make_unique<TBitmap>();
            picture->SetPixelFormat(pf24bit);
            picture->SetSize(pw, ph);
            picture->Canvas().Draw(0, 0, &sourceBitmap);
            work = std::make_unique<TBitmap>();

            const TRect placed = PlacePicture(pw, ph, FrameWidth, FrameHeight, BorderWidth,
                                              BorderHeight, KeepAspect == 1, FitSmaller != 0);

            TBitmap& frame = Target->Picture().Bitmap();
            frame.SetWidth(0);
            frame.SetHeight(0);
            frame.SetPixelFormat(pf24bit);
            frame.Canvas().Brush.Color =
                RGBColor(BackgroundColor[2], BackgroundColor[1], BackgroundColor[0]);
            frame.SetWidth(width);
            frame.SetHeight(height);

            TPicture& backdrop = Background->Picture();
            if (backdrop.Width() > 0 && backdrop.Height() > 0 && !frame.Empty()) {
                work->SetPixelFormat(pf24bit);
                work->SetSize(backdrop.Width(), backdrop.Height());
                work->Canvas().Draw(0, 0, backdrop.Graphic());
                if (Method == ResizeBilinearMethod)
                    ResizeBilinear(work.get(), Rect(0, 0, work->Width(), work->Height()), &frame,
                                   Rect(0, 0, width, height));
                else if (Method == ResizeSmoothMethod)
                    ResizeSmooth(work.get(), &frame);
                else
                    frame.Canvas().StretchDraw(Rect(0, 0, width, height), work.get());
            }

            if (placed.Width() > 0 && placed.Height() > 0 && !frame.Empty()) {
                if (Method == ResizeBilinearMethod) {
                    ResizeBilinear(picture.get(), Rect(0, 0, pw, ph), &frame, placed);
                } else if (Method == ResizeSmoothMethod) {
                    work->SetSize(0, 0);
                    work->SetPixelFormat(pf24bit);
                    work->SetSize(placed.Width(), placed.Height());
                    ResizeSmooth(picture.get(), work.get());
                    frame.Canvas().Draw(placed.Left, placed.Top, work.get());
                } else {
                    frame.Canvas().StretchDraw(placed, picture.get());
                }
            }

            frame.SetPixelFormat(Format);
            return 0;
        },
        [&] {
            const char* text =
                "\n\nERROR: Unable to resize image. - IMAGE_TO_VIDEO_CLASS::GetAspectedImage()\n\n";
            ShowErrorWindow(text);
            WriteOutput(text);
            return 1;
        });
}
