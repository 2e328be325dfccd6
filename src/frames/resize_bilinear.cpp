#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <vector>

#include "frames/true_color_scope.h"
#include "job/image_to_video_class.h"
#include "platform/graphics/bitmap.h"

namespace {

// Where a target column or row samples the source: the source index, its neighbour (the
// index itself at the source's far edge) and the two stored weights.
struct TSample {
    int Index;
    int Next;
    float Near;
    float Far;
};

TSample SampleAt(int First, int End, int Count, float Step) {
    float position = static_cast<float>(First + Count * static_cast<long double>(Step));
    int index = static_cast<int>(position);
    const float fraction = static_cast<float>(position - index);
    // Rounding of a huge span could reach the far edge; stay inside the source.
    index = std::clamp(index, First, End - 1);
    return {index, index + 1 < End ? index + 1 : index, static_cast<float>(1 - fraction), fraction};
}

// The sum trunc(a * Near + b * Far) of two bytes, formed in extended precision, is in most
// cases one that narrower arithmetic forms exactly, and then the same:
//  - when Far is a multiple of 2^-23, so is 1 - Far, which a float holds: Near is exactly
//    1 - Far and the sum is a + trunc((b - a) * Far), an integer product and shift;
//  - when both weights are multiples of 2^-45 the sum has at most 53 bits, which a double
//    holds exactly.
constexpr int FixedShift = 23;

// Far in units of 2^-23, or -1 when it is no multiple of 2^-23.
int32_t FixedFar(const TSample& S) {
    const double far = std::ldexp(static_cast<double>(S.Far), FixedShift);
    return far == std::floor(far) ? static_cast<int32_t>(far) : -1;
}

bool FitsDouble(float Weight) {
    const double scaled = std::ldexp(static_cast<double>(Weight), 45);
    return scaled == std::floor(scaled);
}

// trunc(a * Near + b * Far) as extended precision forms it.
inline int BlendExactly(unsigned a, unsigned b, const TSample& s) {
    if (FitsDouble(s.Near) && FitsDouble(s.Far))
        return static_cast<int>(static_cast<double>(a) * s.Near + static_cast<double>(b) * s.Far);
    return static_cast<int>(static_cast<long double>(a) * s.Near +
                            static_cast<long double>(b) * s.Far);
}

// Out[c] = A[c] + trunc((B[c] - A[c]) * Far[c] / 2^23): the fixed-point form, a weight per
// channel.
__attribute__((target_clones("arch=x86-64-v4", "avx2", "default"))) void
BlendColumnsFixed(const uint8_t* __restrict A, const uint8_t* __restrict B,
                  const int32_t* __restrict Far, size_t Count, uint8_t* __restrict Out) {
    for (size_t c = 0; c < Count; ++c)
        Out[c] = static_cast<uint8_t>(A[c] + (((B[c] - A[c]) * Far[c]) >> FixedShift));
}

// The same with one weight for all channels.
__attribute__((target_clones("arch=x86-64-v4", "avx2", "default"))) void
BlendRowsFixed(const uint8_t* __restrict A, const uint8_t* __restrict B, int32_t Far, size_t Count,
               uint8_t* __restrict Out) {
    for (size_t c = 0; c < Count; ++c)
        Out[c] = static_cast<uint8_t>(A[c] + (((B[c] - A[c]) * Far) >> FixedShift));
}

// Out[c] = trunc(A[c] * Near + B[c] * Far) for weights under which double forms the sums
// exactly.
__attribute__((target_clones("arch=x86-64-v4", "avx2", "default"))) void
BlendRowsDouble(const uint8_t* __restrict A, const uint8_t* __restrict B, size_t Count, double Near,
                double Far, uint8_t* __restrict Out) {
    for (size_t c = 0; c < Count; ++c)
        Out[c] = static_cast<uint8_t>(static_cast<int>(A[c] * Near + B[c] * Far));
}

// Any row weights, as extended precision forms the sums.
void BlendRows(const uint8_t* Upper, const uint8_t* Lower, size_t Count, const TSample& Row,
               uint8_t* Out) {
    const int32_t fixedFar = FixedFar(Row);
    if (Row.Far == 0)
        std::memcpy(Out, Upper, Count);
    else if (fixedFar >= 0)
        BlendRowsFixed(Upper, Lower, fixedFar, Count, Out);
    else if (FitsDouble(Row.Near) && FitsDouble(Row.Far))
        BlendRowsDouble(Upper, Lower, Count, Row.Near, Row.Far, Out);
    else
        for (size_t c = 0; c < Count; ++c)
            Out[c] = static_cast<uint8_t>(BlendExactly(Upper[c], Lower[c], Row));
}

// How the target columns sample a source row of PixelBytes bytes a pixel.
struct TColumnPlan {
    int PixelBytes;
    std::vector<int32_t> NearOffset, NextOffset; // of the two neighbours in a row, per column
    std::vector<int32_t> FixedFar;               // one per channel; 0 for the columns in Inexact
    std::vector<int> Inexact;                    // columns whose weights lack the fixed-point form
    std::vector<TSample> Samples;                // every column's sample
    bool OnColumns;      // every column falls on a source column: no blending
    int WordColumns;     // the first columns, whose two neighbours are read as one 8-byte word
    int NearWordColumns; // the first columns, whose near neighbour is read as a 4-byte word
};

TColumnPlan PlanColumns(const TRect& SourceRect, int RowBytes, int PixelBytes, int First, int End,
                        int TargetLeft, float Step) {
    TColumnPlan plan;
    plan.PixelBytes = PixelBytes;
    plan.OnColumns = true;
    plan.WordColumns = plan.NearWordColumns = 0;
    for (int x = First; x < End; ++x) {
        const int column = x - First;
        const TSample s = SampleAt(SourceRect.Left, SourceRect.Right, x - TargetLeft, Step);
        const int32_t nearOffset = s.Index * PixelBytes, nextOffset = s.Next * PixelBytes;
        plan.Samples.push_back(s);
        plan.NearOffset.push_back(nearOffset);
        plan.NextOffset.push_back(nextOffset);
        int32_t fixedFar = FixedFar(s);
        if (fixedFar < 0) {
            plan.Inexact.push_back(column);
            fixedFar = 0;
        }
        for (int k = 0; k < 3; ++k)
            plan.FixedFar.push_back(fixedFar);
        if (s.Far != 0) plan.OnColumns = false;
        // Offsets only grow from column to column, so these hold for a first run of them.
        if (nextOffset == nearOffset + PixelBytes && nearOffset + 8 <= RowBytes &&
            plan.WordColumns == column)
            plan.WordColumns = column + 1;
        if (nearOffset + 4 <= RowBytes && plan.NearWordColumns == column)
            plan.NearWordColumns = column + 1;
    }
    return plan;
}

// The near neighbour of every column, three bytes a column. Words move four bytes whose
// last one the next column overwrites (Out has a byte to spare for the last).
void GatherNear(const uint8_t* Row, const TColumnPlan& Plan, uint8_t* Out) {
    const int count = static_cast<int>(Plan.NearOffset.size());
    const int words = Plan.NearWordColumns; // held apart: the byte stores may alias Plan
    const int32_t* nearOffset = Plan.NearOffset.data();
    int x = 0;
#pragma GCC unroll 8
    for (; x < words; ++x)
        std::memcpy(Out + 3 * x, Row + nearOffset[x], 4);
    for (; x < count; ++x)
        for (int k = 0; k < 3; ++k)
            Out[3 * x + k] = Row[nearOffset[x] + k];
}

// Both neighbours of every column, each three bytes a column, in the same way.
void GatherPairs(const uint8_t* Row, const TColumnPlan& Plan, uint8_t* Near, uint8_t* Next) {
    const int count = static_cast<int>(Plan.NearOffset.size());
    const int words = Plan.WordColumns; // held apart: the byte stores may alias Plan
    const int nextShift = 8 * Plan.PixelBytes;
    const int32_t* nearOffset = Plan.NearOffset.data();
    const int32_t* nextOffset = Plan.NextOffset.data();
    int x = 0;
#pragma GCC unroll 8
    for (; x < words; ++x) {
        uint64_t word;
        std::memcpy(&word, Row + nearOffset[x], 8);
        const uint32_t near = static_cast<uint32_t>(word);
        const uint32_t next = static_cast<uint32_t>(word >> nextShift);
        std::memcpy(Near + 3 * x, &near, 4);
        std::memcpy(Next + 3 * x, &next, 4);
    }
    for (; x < count; ++x)
        for (int k = 0; k < 3; ++k) {
            Near[3 * x + k] = Row[nearOffset[x] + k];
            Next[3 * x + k] = Row[nextOffset[x] + k];
        }
}

// Source rows interpolated across the target columns, kept while consecutive target rows
// use them again.
class TBlendedRows {
  public:
    TBlendedRows(const TBitmap& Source, const TColumnPlan& Plan)
        : source_(Source), plan_(Plan), channels_(Plan.NearOffset.size() * 3), near_(channels_ + 1),
          next_(channels_ + 1) {
        for (auto& slot : slots_)
            slot.Pixels.resize(channels_ + 1);
    }

    // Rows are asked for in rising order, so the slot of the lower row is the one to reuse,
    // unless it holds Keep, still needed for the target row at hand.
    const uint8_t* Row(int Y, const uint8_t* Keep = nullptr) {
        for (auto& slot : slots_)
            if (slot.Y == Y) return slot.Pixels.data();
        Slot* slot = slots_[0].Y <= slots_[1].Y ? &slots_[0] : &slots_[1];
        if (slot->Pixels.data() == Keep) slot = slot == &slots_[0] ? &slots_[1] : &slots_[0];
        slot->Y = Y;
        Blend(source_.ScanLine(Y), slot->Pixels.data());
        return slot->Pixels.data();
    }

  private:
    void Blend(const uint8_t* Row, uint8_t* Out) {
        if (plan_.OnColumns) {
            GatherNear(Row, plan_, Out);
            return;
        }
        GatherPairs(Row, plan_, near_.data(), next_.data());
        BlendColumnsFixed(near_.data(), next_.data(), plan_.FixedFar.data(), channels_, Out);
        for (int x : plan_.Inexact)
            for (int k = 0; k < 3; ++k) {
                const size_t c = 3 * static_cast<size_t>(x) + k;
                Out[c] = static_cast<uint8_t>(BlendExactly(near_[c], next_[c], plan_.Samples[x]));
            }
    }

    struct Slot {
        int Y = -1;
        std::vector<uint8_t> Pixels;
    };
    const TBitmap& source_;
    const TColumnPlan& plan_;
    size_t channels_;
    std::vector<uint8_t> near_, next_;
    Slot slots_[2];
};

} // namespace

int IMAGE_TO_VIDEO_CLASS::ResizeBilinear(TBitmap* Source, const TRect& SourceRect, TBitmap* Target,
                                         const TRect& TargetRect) {
    const int sw = SourceRect.Width(), sh = SourceRect.Height();
    const int dw = TargetRect.Width(), dh = TargetRect.Height();
    if (sw <= 0 || sh <= 0 || dw <= 0 || dh <= 0 || Source->Empty() || Target->Empty()) return 0;
    if (SourceRect.Left < 0 || SourceRect.Top < 0 || SourceRect.Right > Source->Width() ||
        SourceRect.Bottom > Source->Height())
        throw EInvalidGraphic("Source rectangle lies outside the bitmap");

    // Reading and writing one bitmap at once would read pixels already written.
    TBitmap copy;
    if (Source == Target) {
        copy.Assign(Source);
        Source = &copy;
    }
    TTrueColorScope sourceFormat(*Source);
    TTrueColorScope targetFormat(*Target);

    const float xs = dw == sw ? 1.0f : static_cast<float>(static_cast<long double>(sw) / dw);
    const float ys = dh == sh ? 1.0f : static_cast<float>(static_cast<long double>(sh) / dh);

    // Only the part of the target rectangle that lies on the target bitmap is written;
    // sample positions still count from the rectangle's own corner.
    const int x0 = std::max(TargetRect.Left, 0), x1 = std::min(TargetRect.Right, Target->Width());
    const int y0 = std::max(TargetRect.Top, 0), y1 = std::min(TargetRect.Bottom, Target->Height());
    if (x0 < x1 && y0 < y1) {
        const int sourceBytes = sourceFormat.BytesPerPixel();
        const TColumnPlan plan = PlanColumns(SourceRect, Source->Width() * sourceBytes, sourceBytes,
                                             x0, x1, TargetRect.Left, xs);
        TBlendedRows blended(*Source, plan);
        const int bytes = targetFormat.BytesPerPixel();
        const size_t channels = plan.NearOffset.size() * 3;
        std::vector<uint8_t> spread(bytes == 3 ? 0 : channels); // rows of a 32-bit target
        for (int y = y0; y < y1; ++y) {
            const TSample row = SampleAt(SourceRect.Top, SourceRect.Bottom, y - TargetRect.Top, ys);
            const uint8_t* upper = blended.Row(row.Index);
            // A lower row of weight 0 adds nothing and is not worked out.
            const uint8_t* lower = row.Far == 0 ? upper : blended.Row(row.Next, upper);
            uint8_t* out = Target->ScanLine(y) + static_cast<size_t>(x0) * bytes;
            if (bytes == 3) {
                BlendRows(upper, lower, channels, row, out);
                continue;
            }
            BlendRows(upper, lower, channels, row, spread.data());
            for (size_t c = 0; c < channels; c += 3, out += 4) {
                out[0] = spread[c];
                out[1] = spread[c + 1];
                out[2] = spread[c + 2];
                out[3] = 0;
            }
        }
    }
    targetFormat.Restore();
    sourceFormat.Restore();
    return 0;
}
