#pragma once

#include <cstdint>
#include <vector>

#include "platform/graphics/graphics_types.h"

// One colour-table entry as a device-independent bitmap stores it.
struct TRGBQuad {
    uint8_t rgbBlue = 0;
    uint8_t rgbGreen = 0;
    uint8_t rgbRed = 0;
    uint8_t rgbReserved = 0;

    friend bool operator==(const TRGBQuad&, const TRGBQuad&) = default;
};

constexpr uint32_t BI_RGB = 0;
constexpr uint32_t BI_RLE8 = 1;
constexpr uint32_t BI_RLE4 = 2;
constexpr uint32_t BI_BITFIELDS = 3;
constexpr uint32_t BI_JPEG = 4;
constexpr uint32_t BI_PNG = 5;
constexpr uint32_t BI_ALPHABITFIELDS = 6;

// The 40-byte header of a device-independent bitmap.
struct BITMAPINFOHEADER {
    uint32_t biSize = 40;
    int32_t biWidth = 0;
    int32_t biHeight = 0;
    uint16_t biPlanes = 1;
    uint16_t biBitCount = 0;
    uint32_t biCompression = BI_RGB;
    uint32_t biSizeImage = 0;
    int32_t biXPelsPerMeter = 0;
    int32_t biYPelsPerMeter = 0;
    uint32_t biClrUsed = 0;
    uint32_t biClrImportant = 0;
};

// Bits a pixel occupies in memory; 15-bit pixels take 16. 0 for pfDevice and pfCustom.
int BitsPerPixel(TPixelFormat Format);
// True for the formats whose pixels are colour-table indices.
bool IsIndexedFormat(TPixelFormat Format);
// Bytes of one row of Width pixels, padded to a multiple of 4.
constexpr int64_t DIBRowBytes(int64_t Width, int BitsPerPixel) {
    return ((Width * BitsPerPixel + 31) & ~int64_t{31}) / 8;
}

// Pixels in device-independent layout: rows bottom-up, each padded to 4 bytes; 24-bit
// pixels blue, green, red; 32-bit pixels blue, green, red and a fourth byte; 16-bit 5-6-5
// and 15-bit 5-5-5 pixels little-endian. Indexed formats carry up to 256 colours.
struct TDIBImage {
    int Width = 0;
    int Height = 0;
    TPixelFormat PixelFormat = pf24bit;
    std::vector<TRGBQuad> ColorTable;
    std::vector<uint8_t> Bits;

    bool Empty() const { return Width <= 0 || Height <= 0; }
    int64_t RowBytes() const { return DIBRowBytes(Width, BitsPerPixel(PixelFormat)); }
    // Row Y counted from the top.
    uint8_t* Row(int Y) { return Bits.data() + (Height - 1 - Y) * RowBytes(); }
    const uint8_t* Row(int Y) const { return Bits.data() + (Height - 1 - Y) * RowBytes(); }

    // Sizes the pixel memory for Width x Height in Format, all bytes zero, after checking
    // the size against the decoding limit.
    void Allocate(int NewWidth, int NewHeight, TPixelFormat Format);
};

// Reads Count pixels of a row in Format into Out as blue, green, red and a fourth byte
// (the stored fourth byte at 32 bits, 0 otherwise). Table holds 256 entries for indexed
// formats (entries past a bitmap's own colours are black) and is unused otherwise.
void ReadRowBGRA(TPixelFormat Format, const uint8_t* Row, int Count, const TRGBQuad* Table,
                 uint8_t* Out);
// The colour table padded with black to 256 entries, for ReadRowBGRA.
std::vector<TRGBQuad> PaddedColorTable(const std::vector<TRGBQuad>& Table);
