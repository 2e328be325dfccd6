#include <cstdint>
#include <vector>

#include "job/image_to_video_class.h"
#include "platform/graphics/bitmap.h"

namespace {

constexpr int FractionBits = 15;
constexpr int32_t One = 1 << FractionBits;

// A target column's source byte offsets and its horizontal 15-bit fraction.
struct TColumn {
    int32_t Offset;
    int32_t NextOffset;
    int32_t Fraction;
};

} // namespace

int IMAGE_TO_VIDEO_CLASS::ResizeSmooth(TBitmap* Source, TBitmap* Target) {
    if (Source->PixelFormat() != pf24bit || Target->PixelFormat() != pf24bit)
        throw EInvalidGraphic("Smooth resampling needs 24-bit bitmaps");
    const int sw = Source->Width(), sh = Source->Height();
    const int dw = Target->Width(), dh = Target->Height();
    if (sw <= 0 || sh <= 0 || dw <= 0 || dh <= 0) return 0;
    TBitmap copy;
    if (Source == Target) {
        copy.Assign(Source);
        Source = &copy;
    }

    // Positions are kept in 64 bits so that sources wider or higher than 65536 pixels do
    // not overflow; below that they are the same as in 32 bits.
    const int64_t xstep = (static_cast<int64_t>(sw - 1) * One) / dw;
    const int64_t ystep = (static_cast<int64_t>(sh - 1) * One) / dh;

    std::vector<TColumn> columns(static_cast<size_t>(dw));
    int64_t sx = 0;
    for (TColumn& c : columns) {
        const int32_t ix = static_cast<int32_t>(sx >> FractionBits);
        c.Fraction = static_cast<int32_t>(sx & (One - 1));
        c.Offset = ix * 3;
        // A source one pixel wide has no right neighbour; its weight is 0 then.
        c.NextOffset = (ix + 1 < sw ? ix + 1 : ix) * 3;
        sx += xstep;
    }

    int64_t sy = 0;
    for (int y = 0; y < dh; ++y, sy += ystep) {
        const int iy = static_cast<int>(sy >> FractionBits);
        const int32_t fy = static_cast<int32_t>(sy & (One - 1));
        const uint8_t* row0 = Source->ScanLine(iy);
        const uint8_t* row1 = iy < sh - 1 ? Source->ScanLine(iy + 1) : row0;
        const int32_t wy1 = fy, wy0 = One - fy;
        uint8_t* out = Target->ScanLine(y);
        for (const TColumn& c : columns) {
            const int32_t w01 = (c.Fraction * wy0) >> FractionBits;
            const int32_t w00 = wy0 - w01;
            const int32_t w11 = (c.Fraction * wy1) >> FractionBits;
            const int32_t w10 = wy1 - w11;
            const uint8_t* a = row0 + c.Offset;
            const uint8_t* b = row0 + c.NextOffset;
            const uint8_t* p = row1 + c.Offset;
            const uint8_t* q = row1 + c.NextOffset;
            for (int k = 0; k < 3; ++k)
                out[k] = static_cast<uint8_t>((a[k] * w00 + b[k] * w01 + p[k] * w10 + q[k] * w11) >>
                                              FractionBits);
            out += 3;
        }
    }
    return 0;
}
