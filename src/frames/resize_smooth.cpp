#include <cstdint>
#include <vector>

#include "job/image_to_video_class.h"
#include "platform/graphics/bitmap.h"

namespace {

constexpr int FractionBits = 15;
constexpr int32_t One = 1 << FractionBits;

// One source row pair weighted for a target row. The four-neighbour sum
// a w00 + b w01 + p w10 + q w11, with w00 = wy0 - w01 and w10 = wy1 - w11, is the same
// integer as (wy0 a + wy1 p) + w01 (b - a) + w11 (q - p); the first term and the two
// differences depend only on the source channel, and are worked out once per row.
__attribute__((target_clones("avx2", "default"))) void
WeighRows(const uint8_t* __restrict Row0, const uint8_t* __restrict Row1, int Channels, int32_t Wy0,
          int32_t Wy1, int32_t* __restrict Base, int32_t* __restrict UpperStep,
          int32_t* __restrict LowerStep) {
    const int inner = Channels - 3; // the last pixel has no right neighbour
    for (int i = 0; i < inner; ++i) {
        Base[i] = Wy0 * Row0[i] + Wy1 * Row1[i];
        UpperStep[i] = Row0[i + 3] - Row0[i];
        LowerStep[i] = Row1[i + 3] - Row1[i];
    }
    for (int i = inner < 0 ? 0 : inner; i < Channels; ++i) {
        Base[i] = Wy0 * Row0[i] + Wy1 * Row1[i];
        UpperStep[i] = 0;
        LowerStep[i] = 0;
    }
}

// Every target channel of a row: its source channel and its horizontal fraction.
__attribute__((target_clones("avx2", "default"))) void
BlendRow(const int32_t* __restrict Base, const int32_t* __restrict UpperStep,
         const int32_t* __restrict LowerStep, const int32_t* __restrict SourceChannel,
         const int32_t* __restrict Fraction, int Channels, int32_t Wy0, int32_t Wy1,
         uint8_t* __restrict Out) {
    for (int c = 0; c < Channels; ++c) {
        const int32_t w01 = (Fraction[c] * Wy0) >> FractionBits;
        const int32_t w11 = (Fraction[c] * Wy1) >> FractionBits;
        const int32_t s = SourceChannel[c];
        Out[c] = static_cast<uint8_t>((Base[s] + w01 * UpperStep[s] + w11 * LowerStep[s]) >>
                                      FractionBits);
    }
}

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

    const int targetChannels = dw * 3, sourceChannels = sw * 3;
    std::vector<int32_t> sourceChannel(static_cast<size_t>(targetChannels));
    std::vector<int32_t> fraction(sourceChannel.size());
    int64_t sx = 0;
    for (int x = 0; x < dw; ++x, sx += xstep) {
        const int32_t ix = static_cast<int32_t>(sx >> FractionBits);
        for (int k = 0; k < 3; ++k) {
            sourceChannel[3 * x + k] = 3 * ix + k;
            fraction[3 * x + k] = static_cast<int32_t>(sx & (One - 1));
        }
    }
    std::vector<int32_t> base(static_cast<size_t>(sourceChannels));
    std::vector<int32_t> upperStep(base.size()), lowerStep(base.size());

    int64_t sy = 0;
    for (int y = 0; y < dh; ++y, sy += ystep) {
        const int iy = static_cast<int>(sy >> FractionBits);
        const int32_t fy = static_cast<int32_t>(sy & (One - 1));
        const uint8_t* row0 = Source->ScanLine(iy);
        const uint8_t* row1 = iy < sh - 1 ? Source->ScanLine(iy + 1) : row0;
        const int32_t wy1 = fy, wy0 = One - fy;
        WeighRows(row0, row1, sourceChannels, wy0, wy1, base.data(), upperStep.data(),
                  lowerStep.data());
        BlendRow(base.data(), upperStep.data(), lowerStep.data(), sourceChannel.data(),
                 fraction.data(), targetChannels, wy0, wy1, Target->ScanLine(y));
    }
    return 0;
}
