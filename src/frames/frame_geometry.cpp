#include "frames/frame_geometry.h"

#include <cmath>

#include "platform/classes/format.h"
#include "platform/graphics/graphic_errors.h"

namespace {

// The side left inside a border of Percent on both edges together; a border of zero or
// less is none. Formed in extended precision, kept as a double.
double AvailableSide(double Side, float Percent) {
    if (Percent > 0) return static_cast<double>(Side - Side * (0.01L * Percent));
    return Side;
}

// Truncates a picture side that lies within the frame.
int Truncated(long double Value) {
    if (!(Value > 0)) return 0;
    return Value < 2147483647.0L ? static_cast<int>(Value) : 2147483647;
}

} // namespace

int FrameSide(double Side) {
    if (std::isnan(Side) || Side >= 2147483648.0)
        throw EInvalidGraphic(Format("A frame side of %.0f pixels is too large", Side));
    return Side > 0 ? static_cast<int>(Side) : 0;
}

TRect PlacePicture(int PictureWidth, int PictureHeight, double FrameWidth, double FrameHeight,
                   float BorderWidth, float BorderHeight, bool KeepAspect, bool FitSmaller) {
    const int pw = PictureWidth, ph = PictureHeight;
    double availW = AvailableSide(FrameWidth, BorderWidth);
    double availH = AvailableSide(FrameHeight, BorderHeight);
    if (!FitSmaller) {
        if (pw < availW) availW = pw;
        if (ph < availH) availH = ph;
    }
    // Full borders, an empty frame or an empty picture leave nothing to place (and the
    // ratios below would divide by zero).
    if (pw <= 0 || ph <= 0 || !(availW > 0) || !(availH > 0)) return TRect{};

    int d = Truncated(availW), e = Truncated(availH);
    if (KeepAspect) {
        const double rx = static_cast<long double>(pw) / availW;
        const double ry = static_cast<long double>(ph) / availH;
        if (pw > availW || ph > availH || FitSmaller) {
            if (rx > ry) {
                d = Truncated(pw / static_cast<long double>(rx));
                e = Truncated(ph / static_cast<long double>(rx));
            } else if (ry > rx) {
                d = Truncated(pw / static_cast<long double>(ry));
                e = Truncated(ph / static_cast<long double>(ry));
            }
        }
    }
    if (d <= 0 || e <= 0) return TRect{};
    const int left = static_cast<int>((static_cast<long double>(FrameWidth) - d) * 0.5L);
    const int top = static_cast<int>((static_cast<long double>(FrameHeight) - e) * 0.5L);
    return Rect(left, top, left + d, top + e);
}
