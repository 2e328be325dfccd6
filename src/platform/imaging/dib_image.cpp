#include "platform/imaging/dib_image.h"

#include <algorithm>
#include <cstring>

#include "platform/graphics/graphic_errors.h"
#include "platform/imaging/decode_limits.h"

int BitsPerPixel(TPixelFormat Format) {
    switch (Format) {
    case pf1bit:
        return 1;
    case pf4bit:
        return 4;
    case pf8bit:
        return 8;
    case pf15bit:
    case pf16bit:
        return 16;
    case pf24bit:
        return 24;
    case pf32bit:
        return 32;
    default:
        return 0;
    }
}

bool IsIndexedFormat(TPixelFormat Format) {
    return Format == pf1bit || Format == pf4bit || Format == pf8bit;
}

void TDIBImage::Allocate(int NewWidth, int NewHeight, TPixelFormat Format) {
    const int bits = BitsPerPixel(Format);
    if (bits == 0) throw EInvalidGraphic("Invalid pixel format");
    CheckDecodeSize("The", NewWidth, NewHeight, bits);
    Width = NewWidth;
    Height = NewHeight;
    PixelFormat = Format;
    Bits.assign(static_cast<size_t>(RowBytes() * Height), 0);
}

std::vector<TRGBQuad> PaddedColorTable(const std::vector<TRGBQuad>& Table) {
    std::vector<TRGBQuad> padded(256);
    std::copy_n(Table.begin(), std::min<size_t>(Table.size(), 256), padded.begin());
    return padded;
}

namespace {

inline uint8_t Expand5(unsigned v) {
    return static_cast<uint8_t>((v << 3) | (v >> 2));
}
inline uint8_t Expand6(unsigned v) {
    return static_cast<uint8_t>((v << 2) | (v >> 4));
}

inline void PutQuad(uint8_t* out, const TRGBQuad& q) {
    out[0] = q.rgbBlue;
    out[1] = q.rgbGreen;
    out[2] = q.rgbRed;
    out[3] = 0;
}

} // namespace

void ReadRowBGRA(TPixelFormat Format, const uint8_t* Row, int Count, const TRGBQuad* Table,
                 uint8_t* Out) {
    switch (Format) {
    case pf1bit:
        for (int x = 0; x < Count; ++x, Out += 4)
            PutQuad(Out, Table[(Row[x >> 3] >> (7 - (x & 7))) & 1]);
        break;
    case pf4bit:
        for (int x = 0; x < Count; ++x, Out += 4)
            PutQuad(Out, Table[(x & 1) ? (Row[x >> 1] & 0x0F) : (Row[x >> 1] >> 4)]);
        break;
    case pf8bit:
        for (int x = 0; x < Count; ++x, Out += 4)
            PutQuad(Out, Table[Row[x]]);
        break;
    case pf15bit:
        for (int x = 0; x < Count; ++x, Row += 2, Out += 4) {
            const unsigned v = Row[0] | (Row[1] << 8);
            Out[0] = Expand5(v & 31);
            Out[1] = Expand5((v >> 5) & 31);
            Out[2] = Expand5((v >> 10) & 31);
            Out[3] = 0;
        }
        break;
    case pf16bit:
        for (int x = 0; x < Count; ++x, Row += 2, Out += 4) {
            const unsigned v = Row[0] | (Row[1] << 8);
            Out[0] = Expand5(v & 31);
            Out[1] = Expand6((v >> 5) & 63);
            Out[2] = Expand5((v >> 11) & 31);
            Out[3] = 0;
        }
        break;
    case pf24bit:
        for (int x = 0; x < Count; ++x, Row += 3, Out += 4) {
            Out[0] = Row[0];
            Out[1] = Row[1];
            Out[2] = Row[2];
            Out[3] = 0;
        }
        break;
    case pf32bit:
        std::memcpy(Out, Row, static_cast<size_t>(Count) * 4);
        break;
    default:
        throw EInvalidGraphic("Invalid pixel format");
    }
}
