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
    std::unique_ptr<TBitmap> copy, work;
    return RunGuarded(
        *this,
        [&] {
            const int width = FrameSide(FrameWidth), height = FrameSide(FrameHeight);

            // The picture is taken as a 24-bit bitmap before the frame is made, since
            // Target may be the same holder: a 24-bit picture of that holder is taken
            // over, one of another holder is read where it is, anything else is copied.
            TBitmap& sourceBitmap = Source->Picture().Bitmap();
            const int pw = sourceBitmap.Width(), ph = sourceBitmap.Height();
            TBitmap* picture = &sourceBitmap;
            if (sourceBitmap.PixelFormat() != pf24bit) {
                copy = std::make_unique<TBitmap>();
                copy->SetPixelFormat(pf24bit);
                copy->SetSize(pw, ph);
                copy->Canvas().Draw(0, 0, &sourceBitmap);
                picture = copy.get();
            } else if (Source == Target) {
                copy = std::make_unique<TBitmap>();
                copy->SetDIB(sourceBitmap.ReleaseDIB());
                picture = copy.get();
            }
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
                    ResizeBilinear(picture, Rect(0, 0, pw, ph), &frame, placed);
                } else if (Method == ResizeSmoothMethod) {
                    work->SetSize(0, 0);
                    work->SetPixelFormat(pf24bit);
                    work->SetSize(placed.Width(), placed.Height());
                    ResizeSmooth(picture, work.get());
                    frame.Canvas().Draw(placed.Left, placed.Top, work.get());
                } else {
                    frame.Canvas().StretchDraw(placed, picture);
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
