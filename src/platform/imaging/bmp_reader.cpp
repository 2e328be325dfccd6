#include "platform/imaging/bmp_reader.h"

#include <algorithm>
#include <bit>
#include <cstring>

#include "platform/classes/format.h"
#include "platform/imaging/byte_reader.h"
#include "platform/imaging/decode_limits.h"

namespace {

constexpr size_t FileHeaderSize = 14;

struct TChannelMask {
    uint32_t Mask = 0;
    int Shift = 0;
    uint32_t Max = 0;

    explicit TChannelMask(uint32_t mask = 0) : Mask(mask) {
        if (mask == 0) return;
        Shift = std::countr_zero(mask);
        Max = mask >> Shift;
    }
    uint8_t Extract(uint32_t pixel) const {
        if (Max == 0) return 0;
        const uint64_t v = (pixel & Mask) >> Shift;
        return static_cast<uint8_t>((v * 255 + Max / 2) / Max);
    }
};

// What the info header says about the pixels.
struct TDIBLayout {
    int64_t Width = 0;
    int64_t Height = 0;
    bool TopDown = false;
    int BitCount = 0;
    uint32_t Compression = BI_RGB;
    uint32_t Masks[4] = {0, 0, 0, 0};
    std::vector<TRGBQuad> Colors;
    size_t PixelOffset = 0;
    size_t PixelLimit = 0;
};

[[noreturn]] void Refuse(const char* what) {
    throw EInvalidGraphic(Format("Invalid BMP picture: %s", what));
}

// Reads the info header at Header (and the masks and colour table after it). OffBits is
// the pixel offset the file header gives, 0 when there is none.
TDIBLayout ReadLayout(const TByteReader& in, size_t Header, size_t OffBits, bool Icon) {
    TDIBLayout layout;
    const uint32_t headerSize = in.U32(Header);
    bool os2 = false;
    size_t entrySize = 4;
    uint32_t colorsUsed = 0;
    if (headerSize == 12) {
        layout.Width = in.U16(Header + 4);
        layout.Height = in.U16(Header + 6);
        layout.BitCount = in.U16(Header + 10);
        os2 = true;
        entrySize = 3;
    } else if (headerSize >= 16 && headerSize <= 4096) {
        in.Need(Header, headerSize);
        layout.Width = in.I32(Header + 4);
        layout.Height = in.I32(Header + 8);
        layout.BitCount = in.U16(Header + 14);
        if (headerSize >= 20) layout.Compression = in.U32(Header + 16);
        if (headerSize >= 36) colorsUsed = in.U32(Header + 32);
        os2 = headerSize != 40 && headerSize != 52 && headerSize != 56 && headerSize != 108 &&
              headerSize != 124;
    } else {
        Refuse("unknown header size");
    }
    if (Icon) layout.Height /= 2;
    if (layout.Height < 0) {
        layout.TopDown = true;
        layout.Height = -layout.Height;
    }
    if (layout.Width <= 0 || layout.Height <= 0) Refuse("the picture has no pixels");

    if (os2 && layout.Compression == 3) Refuse("Huffman-compressed pictures are not supported");
    if (os2 && layout.Compression == 4)
        Refuse("24-bit run-length encoded pictures are not supported");
    switch (layout.Compression) {
    case BI_RGB:
        break;
    case BI_RLE8:
        if (layout.BitCount != 8) Refuse("RLE8 compression needs 8 bits per pixel");
        break;
    case BI_RLE4:
        if (layout.BitCount != 4) Refuse("RLE4 compression needs 4 bits per pixel");
        break;
    case BI_BITFIELDS:
    case BI_ALPHABITFIELDS:
        if (layout.BitCount != 16 && layout.BitCount != 32)
            Refuse("bit fields need 16 or 32 bits per pixel");
        break;
    case BI_JPEG:
        Refuse("embedded JPEG data is not supported");
    case BI_PNG:
        Refuse("embedded PNG data is not supported");
    default:
        Refuse("unknown compression");
    }
    switch (layout.BitCount) {
    case 1:
    case 2:
    case 4:
    case 8:
    case 16:
    case 24:
    case 32:
        break;
    default:
        Refuse("unsupported bits per pixel");
    }

    size_t next = Header + headerSize;
    if (layout.Compression == BI_BITFIELDS || layout.Compression == BI_ALPHABITFIELDS) {
        const int count = layout.Compression == BI_ALPHABITFIELDS ? 4 : 3;
        if (headerSize >= 52) {
            for (int i = 0; i < 3; ++i)
                layout.Masks[i] = in.U32(Header + 40 + 4 * i);
            if (headerSize >= 56) layout.Masks[3] = in.U32(Header + 52);
        } else {
            for (int i = 0; i < count; ++i)
                layout.Masks[i] = in.U32(next + 4 * i);
            next += 4 * count;
        }
    } else if (layout.BitCount == 16) {
        layout.Masks[0] = 0x7C00;
        layout.Masks[1] = 0x03E0;
        layout.Masks[2] = 0x001F;
    } else if (layout.BitCount == 32) {
        layout.Masks[0] = 0xFF0000;
        layout.Masks[1] = 0x00FF00;
        layout.Masks[2] = 0x0000FF;
    }

    if (layout.BitCount <= 8) {
        const size_t most = size_t{1} << layout.BitCount;
        size_t count =
            (colorsUsed == 0 || headerSize == 12) ? most : std::min<size_t>(colorsUsed, most);
        size_t end = in.Size();
        if (OffBits > next) end = std::min(end, OffBits);
        count = std::min(count, next < end ? (end - next) / entrySize : 0);
        layout.Colors.resize(count);
        for (size_t i = 0; i < count; ++i) {
            const uint8_t* p = in.Need(next + i * entrySize, 3);
            layout.Colors[i] = TRGBQuad{p[0], p[1], p[2], 0};
        }
        next += count * entrySize;
    }
    layout.PixelOffset = OffBits != 0 ? OffBits : next;
    if (layout.PixelOffset >= in.Size()) Refuse("the pixel data is missing");
    layout.PixelLimit = in.Size();
    return layout;
}

TPixelFormat OutputFormat(const TDIBLayout& layout) {
    switch (layout.BitCount) {
    case 1:
        return pf1bit;
    case 2:
    case 4:
        return pf4bit;
    case 8:
        return pf8bit;
    case 16:
        if (layout.Masks[0] == 0x7C00 && layout.Masks[1] == 0x03E0 && layout.Masks[2] == 0x001F)
            return pf15bit;
        if (layout.Masks[0] == 0xF800 && layout.Masks[1] == 0x07E0 && layout.Masks[2] == 0x001F)
            return pf16bit;
        return pf24bit;
    case 24:
        return pf24bit;
    default:
        return pf32bit;
    }
}

void DecodeMaskedRow(const TDIBLayout& layout, const uint8_t* src, uint8_t* dst,
                     TPixelFormat format) {
    const TChannelMask red(layout.Masks[0]), green(layout.Masks[1]), blue(layout.Masks[2]),
        alpha(layout.Masks[3]);
    const int step = format == pf32bit ? 4 : 3;
    const bool wide = layout.BitCount == 32;
    for (int64_t x = 0; x < layout.Width; ++x, dst += step) {
        const uint32_t pixel =
            wide ? src[0] | (src[1] << 8) | (src[2] << 16) | (static_cast<uint32_t>(src[3]) << 24)
                 : static_cast<uint32_t>(src[0] | (src[1] << 8));
        src += wide ? 4 : 2;
        dst[0] = blue.Extract(pixel);
        dst[1] = green.Extract(pixel);
        dst[2] = red.Extract(pixel);
        if (step == 4) dst[3] = alpha.Extract(pixel);
    }
}

void DecodeUncompressed(const TByteReader& in, const TDIBLayout& layout, TDIBImage& image) {
    const int64_t srcRowBytes = DIBRowBytes(layout.Width, layout.BitCount);
    const uint8_t* bits =
        in.Need(layout.PixelOffset, static_cast<size_t>(srcRowBytes * layout.Height));
    const bool standard32 =
        layout.Masks[0] == 0xFF0000 && layout.Masks[1] == 0xFF00 && layout.Masks[2] == 0xFF;
    const bool direct = layout.BitCount != 2 &&
                        BitsPerPixel(image.PixelFormat) == layout.BitCount &&
                        (layout.BitCount != 32 || standard32);
    for (int64_t r = 0; r < layout.Height; ++r) {
        const uint8_t* src = bits + r * srcRowBytes;
        uint8_t* dst = image.Row(static_cast<int>(layout.TopDown ? r : layout.Height - 1 - r));
        if (direct) {
            std::memcpy(dst, src, static_cast<size_t>(srcRowBytes));
        } else if (layout.BitCount == 2) {
            for (int64_t x = 0; x < layout.Width; ++x) {
                const uint8_t index = (src[x >> 2] >> (6 - 2 * (x & 3))) & 3;
                dst[x >> 1] |= (x & 1) ? index : static_cast<uint8_t>(index << 4);
            }
        } else {
            DecodeMaskedRow(layout, src, dst, image.PixelFormat);
        }
    }
}

void DecodeRunLength(const TByteReader& in, const TDIBLayout& layout, TDIBImage& image) {
    const bool four = layout.Compression == BI_RLE4;
    const uint8_t* d = in.Data();
    const size_t end = layout.PixelLimit;
    size_t pos = layout.PixelOffset;
    int64_t x = 0, y = 0;
    auto put = [&](int64_t px, uint8_t value) {
        if (px >= layout.Width || y >= layout.Height) return;
        uint8_t* row = image.Row(static_cast<int>(layout.TopDown ? y : layout.Height - 1 - y));
        if (!four) {
            row[px] = value;
        } else if (px & 1) {
            row[px >> 1] = static_cast<uint8_t>((row[px >> 1] & 0xF0) | value);
        } else {
            row[px >> 1] = static_cast<uint8_t>((row[px >> 1] & 0x0F) | (value << 4));
        }
    };
    while (pos + 1 < end && y < layout.Height) {
        const uint8_t count = d[pos], value = d[pos + 1];
        pos += 2;
        if (count > 0) {
            for (int i = 0; i < count && x < layout.Width; ++i, ++x)
                put(x,
                    four ? static_cast<uint8_t>((i & 1) ? (value & 0x0F) : (value >> 4)) : value);
            continue;
        }
        if (value == 0) {
            x = 0;
            ++y;
        } else if (value == 1) {
            break;
        } else if (value == 2) {
            if (pos + 1 >= end) break;
            x += d[pos];
            y += d[pos + 1];
            pos += 2;
        } else {
            const size_t bytes = four ? (value + 1u) / 2 : value;
            const size_t available = std::min(bytes, end - pos);
            for (int i = 0; i < value; ++i, ++x) {
                const size_t at = four ? static_cast<size_t>(i / 2) : static_cast<size_t>(i);
                if (at >= available) break;
                const uint8_t b = d[pos + at];
                put(x, four ? static_cast<uint8_t>((i & 1) ? (b & 0x0F) : (b >> 4)) : b);
            }
            pos += (bytes + 1) & ~size_t{1};
        }
    }
}

TDIBImage Decode(const TByteReader& in, const TDIBLayout& layout) {
    TDIBImage image;
    const TPixelFormat format = OutputFormat(layout);
    CheckDecodeSize("BMP", layout.Width, layout.Height, BitsPerPixel(format));
    image.Allocate(static_cast<int>(layout.Width), static_cast<int>(layout.Height), format);
    image.ColorTable = layout.Colors;
    if (layout.Compression == BI_RLE4 || layout.Compression == BI_RLE8)
        DecodeRunLength(in, layout, image);
    else
        DecodeUncompressed(in, layout, image);
    return image;
}

} // namespace

TDIBImage ReadBMP(const uint8_t* Data, size_t Size) {
    const TByteReader in(Data, Size, "BMP");
    if (Size < FileHeaderSize + 12 || Data[0] != 'B' || Data[1] != 'M') Refuse("not a BMP file");
    const TDIBLayout layout = ReadLayout(in, FileHeaderSize, in.U32(10), false);
    return Decode(in, layout);
}

TDIBImage ReadIconDIB(const uint8_t* Data, size_t Size, size_t& MaskOffset) {
    const TByteReader in(Data, Size, "Icon");
    const TDIBLayout layout = ReadLayout(in, 0, 0, true);
    if (layout.Compression != BI_RGB) Refuse("icon images must not be compressed");
    TDIBImage image = Decode(in, layout);
    MaskOffset = layout.PixelOffset +
                 static_cast<size_t>(DIBRowBytes(layout.Width, layout.BitCount) * layout.Height);
    return image;
}
