#include "platform/imaging/icon_reader.h"

#include <algorithm>
#include <cstdint>

#include "platform/imaging/bmp_reader.h"
#include "platform/imaging/byte_reader.h"
#include "platform/imaging/png_reader.h"

namespace {

constexpr size_t DirectorySize = 6;
constexpr size_t EntrySize = 16;

struct TIconEntry {
    size_t Offset = 0;
    size_t Size = 0;
    int64_t Width = 0;
    int64_t Height = 0;
    int BitCount = 0;
    bool PNG = false;
};

uint32_t BigEndian32(const uint8_t* p) {
    return (static_cast<uint32_t>(p[0]) << 24) | (p[1] << 16) | (p[2] << 8) | p[3];
}

// Reads the size and depth from the image data itself; the directory's own figures are
// often wrong. False when the data is not a picture we can read.
bool Probe(const TByteReader& in, TIconEntry& entry) {
    const uint8_t* data = in.Data() + entry.Offset;
    if (IsPNG(data, entry.Size)) {
        if (entry.Size < 24) return false;
        entry.PNG = true;
        entry.Width = BigEndian32(data + 16);
        entry.Height = BigEndian32(data + 20);
        entry.BitCount = 32;
    } else {
        const TByteReader dib(data, entry.Size, "Icon");
        if (!dib.Has(0, 16) || dib.U32(0) < 40) return false;
        entry.Width = dib.I32(4);
        entry.Height = dib.I32(8) / 2;
        entry.BitCount = dib.U16(14);
    }
    return entry.Width > 0 && entry.Height > 0 && entry.Width <= INT32_MAX &&
           entry.Height <= INT32_MAX;
}

bool Better(const TIconEntry& a, const TIconEntry& b) {
    const int64_t areaA = a.Width * a.Height, areaB = b.Width * b.Height;
    return areaA != areaB ? areaA > areaB : a.BitCount > b.BitCount;
}

TDIBImage DecodeBitmapEntry(const uint8_t* data, size_t size) {
    size_t maskOffset = 0;
    const TDIBImage picture = ReadIconDIB(data, size, maskOffset);
    TDIBImage image;
    image.Allocate(picture.Width, picture.Height, pf32bit);
    const std::vector<TRGBQuad> table = PaddedColorTable(picture.ColorTable);
    bool hasAlpha = false;
    for (int y = 0; y < picture.Height; ++y) {
        uint8_t* row = image.Row(y);
        ReadRowBGRA(picture.PixelFormat, picture.Row(y), picture.Width, table.data(), row);
        if (picture.PixelFormat == pf32bit)
            for (int x = 0; x < picture.Width && !hasAlpha; ++x)
                hasAlpha = row[4 * x + 3] != 0;
    }
    if (hasAlpha) return image;

    const int64_t maskRowBytes = DIBRowBytes(picture.Width, 1);
    const bool maskPresent =
        maskOffset <= size &&
        static_cast<uint64_t>(maskRowBytes * picture.Height) <= size - maskOffset;
    for (int y = 0; y < picture.Height; ++y) {
        uint8_t* row = image.Row(y);
        const uint8_t* mask =
            maskPresent ? data + maskOffset + (picture.Height - 1 - y) * maskRowBytes : nullptr;
        for (int x = 0; x < picture.Width; ++x) {
            const bool transparent = mask != nullptr && ((mask[x >> 3] >> (7 - (x & 7))) & 1);
            row[4 * x + 3] = transparent ? 0 : 255;
        }
    }
    return image;
}

} // namespace

TDIBImage ReadIcon(const uint8_t* Data, size_t Size) {
    const TByteReader in(Data, Size, "Icon");
    const uint16_t type = in.U16(2);
    const uint16_t count = in.U16(4);
    if (in.U16(0) != 0 || (type != 1 && type != 2) || count == 0)
        throw EInvalidGraphic("Invalid icon picture: not an icon file");
    in.Need(DirectorySize, EntrySize * count);

    TIconEntry best;
    bool found = false;
    for (size_t i = 0; i < count; ++i) {
        const size_t at = DirectorySize + EntrySize * i;
        TIconEntry entry;
        entry.Offset = in.U32(at + 12);
        if (entry.Offset >= Size) continue;
        entry.Size = std::min<size_t>(in.U32(at + 8), Size - entry.Offset);
        if (!Probe(in, entry)) continue;
        if (!found || Better(entry, best)) best = entry;
        found = true;
    }
    if (!found) throw EInvalidGraphic("Invalid icon picture: it holds no readable image");
    const uint8_t* data = Data + best.Offset;
    return best.PNG ? ReadPNG(data, best.Size, TPNGAlpha::Keep)
                    : DecodeBitmapEntry(data, best.Size);
}
