#include <cstdint>
#include <cstring>
#include <vector>

#include "job/image_to_video_class.h"
#include "platform/graphics/bitmap.h"

namespace {

constexpr int FractionBits = 15;
constexpr int32_t One = 1 << FractionBits;

// Where the target columns sample the source: the byte offset of each column's left
// neighbour and, per target channel, the horizontal fraction.
struct TColumns {
    std::vector<int32_t> Offset;   // one per target column
    std::vector<int32_t> Fraction; // one per target channel
    bool HasRightNeighbour;        // false for a source one pixel wide
    int WordColumns;               // the first columns, whose neighbours are read as one word
};

// The two source pixels of every target column, taken from one source row: Left holds
// the left neighbours, Right the right ones, three bytes a column one after the other.
struct TPairRow {
    int Y = -1;
    std::vector<uint8_t> Left, Right;
};

// Copies the left and right neighbour of every target column out of Row. The first
// Columns.WordColumns columns read both neighbours as one 8-byte word and store each as a
// 4-byte word whose last byte the next column overwrites (Left and Right have a byte to
// spare for the last); the other columns, near the end of the row, go byte by byte so that
// nothing is read past it.
void GatherPairs(const uint8_t* Row, const TColumns& Columns, TPairRow& Pairs) {
    const int count = static_cast<int>(Columns.Offset.size());
    const int32_t* offset = Columns.Offset.data();
    uint8_t* left = Pairs.Left.data();
    uint8_t* right = Pairs.Right.data();
    const int rightStep = Columns.HasRightNeighbour ? 3 : 0;
    const int wordColumns = Columns.WordColumns; // held apart: the byte stores may alias Columns
    int x = 0;
#pragma GCC unroll 8
    for (; x < wordColumns; ++x) {
        uint64_t w;
        std::memcpy(&w, Row + offset[x], 8);
        const uint32_t l = static_cast<uint32_t>(w), r = static_cast<uint32_t>(w >> 24);
        std::memcpy(left + 3 * x, &l, 4);
        std::memcpy(right + 3 * x, &r, 4);
    }
    for (; x < count; ++x)
        for (int k = 0; k < 3; ++k) {
            left[3 * x + k] = Row[offset[x] + k];
            right[3 * x + k] = Row[offset[x] + rightStep + k];
        }
}

// Every target channel of a row from the neighbour pairs of its upper and lower source
// rows, the four-neighbour sum of 15-bit weights.
__attribute__((target_clones("arch=x86-64-v4", "avx2", "default"))) void
BlendRow(const uint8_t* __restrict Left0, const uint8_t* __restrict Right0,
         const uint8_t* __restrict Left1, const uint8_t* __restrict Right1,
         const int32_t* __restrict Fraction, int Channels, int32_t Wy0, int32_t Wy1,
         uint8_t* __restrict Out) {
    for (int c = 0; c < Channels; ++c) {
        const int32_t w01 = (Fraction[c] * Wy0) >> FractionBits;
        const int32_t w11 = (Fraction[c] * Wy1) >> FractionBits;
        const int32_t w00 = Wy0 - w01, w10 = Wy1 - w11;
        Out[c] = static_cast<uint8_t>(
            (Left0[c] * w00 + Right0[c] * w01 + Left1[c] * w10 + Right1[c] * w11) >> FractionBits);
    }
}

// The same for a row whose lower source row has weight 0.
__attribute__((target_clones("arch=x86-64-v4", "avx2", "default"))) void
BlendUpperRow(const uint8_t* __restrict Left0, const uint8_t* __restrict Right0,
              const int32_t* __restrict Fraction, int Channels, uint8_t* __restrict Out) {
    for (int c = 0; c < Channels; ++c) {
        const int32_t w01 = Fraction[c]; // (fx * 32768) >> 15
        Out[c] = static_cast<uint8_t>((Left0[c] * (One - w01) + Right0[c] * w01) >> FractionBits);
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

    const int channels = dw * 3;
    TColumns columns;
    columns.Offset.resize(static_cast<size_t>(dw));
    columns.Fraction.resize(static_cast<size_t>(channels));
    columns.HasRightNeighbour = sw > 1;
    columns.WordColumns = 0;
    const int64_t rowBytes = int64_t{sw} * 3;
    int64_t sx = 0;
    for (int x = 0; x < dw; ++x, sx += xstep) {
        const int64_t ix = sx >> FractionBits;
        columns.Offset[x] = static_cast<int32_t>(3 * ix);
        for (int k = 0; k < 3; ++k)
            columns.Fraction[3 * x + k] = static_cast<int32_t>(sx & (One - 1));
        if (3 * ix + 8 <= rowBytes) columns.WordColumns = x + 1;
    }

    // Source rows are taken apart once and kept while the next target rows still use them.
    TPairRow slots[2];
    for (TPairRow& slot : slots) {
        slot.Left.resize(static_cast<size_t>(channels) + 1);
        slot.Right.resize(static_cast<size_t>(channels) + 1);
    }
    // Rows are asked for in rising order, so the slot of the lower row is the one to reuse,
    // unless that row is Keep, still needed for the target row at hand.
    auto pairsOf = [&](int Y, const TPairRow* Keep) -> const TPairRow& {
        for (const TPairRow& slot : slots)
            if (slot.Y == Y) return slot;
        TPairRow* slot = slots[0].Y <= slots[1].Y ? &slots[0] : &slots[1];
        if (slot == Keep) slot = slot == &slots[0] ? &slots[1] : &slots[0];
        slot->Y = Y;
        GatherPairs(Source->ScanLine(Y), columns, *slot);
        return *slot;
    };

    int64_t sy = 0;
    for (int y = 0; y < dh; ++y, sy += ystep) {
        const int iy = static_cast<int>(sy >> FractionBits);
        const int32_t fy = static_cast<int32_t>(sy & (One - 1));
        uint8_t* out = Target->ScanLine(y);
        const TPairRow& upper = pairsOf(iy, nullptr);
        if (fy == 0) {
            BlendUpperRow(upper.Left.data(), upper.Right.data(), columns.Fraction.data(), channels,
                          out);
            continue;
        }
        const TPairRow& lower = pairsOf(iy + 1, &upper); // fy > 0 only where row iy + 1 exists
        BlendRow(upper.Left.data(), upper.Right.data(), lower.Left.data(), lower.Right.data(),
                 columns.Fraction.data(), channels, One - fy, fy, out);
    }
    return 0;
}
