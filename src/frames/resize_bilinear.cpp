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
    double NearValue; // the same weights, held ready for double arithmetic
    double FarValue;
    bool DoubleExact; // both weights are multiples of 2^-45
};

// Byte values as doubles, read instead of converted in the inner loops.
struct TByteValues {
    double Value[256];
    constexpr TByteValues() : Value() {
        for (int i = 0; i < 256; ++i)
            Value[i] = i;
    }
};
constexpr TByteValues AsDouble;

// A weight of at most 1 whose lowest set bit is 2^-45 or above: any sum of two products
// of a byte with such weights needs at most 53 bits, so a double forms it exactly.
bool FitsDouble(float Weight) {
    const double scaled = std::ldexp(static_cast<double>(Weight), 45);
    return scaled == std::floor(scaled);
}

TSample SampleAt(int First, int End, int Count, float Step) {
    float position = static_cast<float>(First + Count * static_cast<long double>(Step));
    int index = static_cast<int>(position);
    const float fraction = static_cast<float>(position - index);
    // Rounding of a huge span could reach the far edge; stay inside the source.
    index = std::clamp(index, First, End - 1);
    TSample s;
    s.Index = index;
    s.Next = index + 1 < End ? index + 1 : index;
    s.Far = fraction;
    s.Near = static_cast<float>(1 - fraction);
    s.NearValue = s.Near;
    s.FarValue = s.Far;
    s.DoubleExact = FitsDouble(s.Near) && FitsDouble(s.Far);
    return s;
}

// trunc(a * Near + b * Far), the sum formed exactly as extended precision forms it.
inline int Blend(unsigned a, unsigned b, const TSample& s) {
    if (s.DoubleExact)
        return static_cast<int>(AsDouble.Value[a] * s.NearValue + AsDouble.Value[b] * s.FarValue);
    return static_cast<int>(static_cast<long double>(a) * s.Near +
                            static_cast<long double>(b) * s.Far);
}

// One source row interpolated across the target columns, three bytes a column.
void BlendRow(const uint8_t* Row, int PixelBytes, const std::vector<TSample>& Columns,
              bool AllDoubleExact, uint8_t* Out) {
    if (AllDoubleExact) {
        for (const TSample& c : Columns) {
            const uint8_t* p0 = Row + static_cast<size_t>(c.Index) * PixelBytes;
            if (c.Far == 0 && c.Near == 1) { // on a source column: its pixel as it is
                Out[0] = p0[0];
                Out[1] = p0[1];
                Out[2] = p0[2];
                Out += 3;
                continue;
            }
            const uint8_t* p1 = Row + static_cast<size_t>(c.Next) * PixelBytes;
            for (int k = 0; k < 3; ++k)
                Out[k] = static_cast<uint8_t>(static_cast<int>(AsDouble.Value[p0[k]] * c.NearValue +
                                                               AsDouble.Value[p1[k]] * c.FarValue));
            Out += 3;
        }
        return;
    }
    for (const TSample& c : Columns) {
        const uint8_t* p0 = Row + static_cast<size_t>(c.Index) * PixelBytes;
        const uint8_t* p1 = Row + static_cast<size_t>(c.Next) * PixelBytes;
        for (int k = 0; k < 3; ++k)
            Out[k] = static_cast<uint8_t>(Blend(p0[k], p1[k], c));
        Out += 3;
    }
}

// Out[c] = trunc(Upper[c] * Near + Lower[c] * Far) for weights under which double forms
// the sums exactly. A flat loop over channels, built for wider vector units too.
__attribute__((target_clones("avx2", "default"))) void
BlendRowsExactly(const uint8_t* __restrict Upper, const uint8_t* __restrict Lower, size_t Count,
                 double Near, double Far, uint8_t* __restrict Out) {
    for (size_t c = 0; c < Count; ++c)
        Out[c] = static_cast<uint8_t>(static_cast<int>(Upper[c] * Near + Lower[c] * Far));
}

// Interpolated source rows, kept while consecutive target rows use them again.
class TBlendedRows {
  public:
    TBlendedRows(const TBitmap& Source, int Bytes, const std::vector<TSample>& Columns)
        : source_(Source), bytes_(Bytes), columns_(Columns),
          allDoubleExact_(std::all_of(Columns.begin(), Columns.end(),
                                      [](const TSample& c) { return c.DoubleExact; })) {
        for (auto& slot : slots_)
            slot.Pixels.resize(Columns.size() * 3);
    }

    const uint8_t* Row(int Y) {
        for (auto& slot : slots_)
            if (slot.Y == Y) return slot.Pixels.data();
        Slot& slot = slots_[next_];
        next_ ^= 1;
        slot.Y = Y;
        BlendRow(source_.ScanLine(Y), bytes_, columns_, allDoubleExact_, slot.Pixels.data());
        return slot.Pixels.data();
    }

  private:
    struct Slot {
        int Y = -1;
        std::vector<uint8_t> Pixels;
    };
    const TBitmap& source_;
    int bytes_;
    const std::vector<TSample>& columns_;
    bool allDoubleExact_;
    Slot slots_[2];
    int next_ = 0;
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
        std::vector<TSample> columns;
        columns.reserve(static_cast<size_t>(x1 - x0));
        for (int x = x0; x < x1; ++x)
            columns.push_back(SampleAt(SourceRect.Left, SourceRect.Right, x - TargetRect.Left, xs));
        TBlendedRows blended(*Source, sourceFormat.BytesPerPixel(), columns);
        const int bytes = targetFormat.BytesPerPixel();
        for (int y = y0; y < y1; ++y) {
            const TSample row = SampleAt(SourceRect.Top, SourceRect.Bottom, y - TargetRect.Top, ys);
            const uint8_t* upper = blended.Row(row.Index);
            const uint8_t* lower = blended.Row(row.Next);
            uint8_t* out = Target->ScanLine(y) + static_cast<size_t>(x0) * bytes;
            const size_t channels = columns.size() * 3;
            if (bytes == 3 && row.Far == 0 && row.Near == 1) {
                std::memcpy(out, upper, channels);
                continue;
            }
            if (bytes == 3 && row.DoubleExact) {
                BlendRowsExactly(upper, lower, channels, row.NearValue, row.FarValue, out);
                continue;
            }
            for (size_t c = 0; c < channels; c += 3, out += bytes) {
                out[0] = static_cast<uint8_t>(Blend(upper[c], lower[c], row));
                out[1] = static_cast<uint8_t>(Blend(upper[c + 1], lower[c + 1], row));
                out[2] = static_cast<uint8_t>(Blend(upper[c + 2], lower[c + 2], row));
                if (bytes == 4) out[3] = 0;
            }
        }
    }
    targetFormat.Restore();
    sourceFormat.Restore();
    return 0;
}
