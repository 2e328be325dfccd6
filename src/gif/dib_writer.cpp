#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <new>

#include "gif/dib_access.h"
#include "gif/gif_types.h"

TDIBWriter::TDIBWriter(TBitmap& Target, TPixelFormat PixelFormat, int Width, int Height,
                       const TPalette& Palette)
    : TDIB(Target, PixelFormat), Width(Width), Height(Height), RowBytes(0) {
    if (PixelFormat != pf8bit && PixelFormat != pf24bit)
        throw GIFException("Unsupported PixelFormat");
    if (Width == 0 || Height == 0) throw GIFException("Invalid image dimensions");
    // A negative width has no meaning for a bitmap; it is refused like a zero one.
    if (Width < 0) throw GIFException("Invalid image dimensions");
    if (PixelFormat == pf8bit) this->Palette = Palette;
    RowBytes = DIBRowBytes(Width, BitsPerPixel(PixelFormat));
}

TDIBWriter::~TDIBWriter() {
    try {
        CommitToBitmap();
    } catch (...) {
        // A failure to hand the pixels over cannot be reported from here; the target
        // keeps what it had.
    }
}

void TDIBWriter::EnsureBits() {
    if (HasBits) return;
    // An 8-bit colour table always has 256 entries, those past the palette black.
    ColorTable.clear();
    if (PixelFormat == pf8bit) {
        const size_t count = std::min<size_t>(Palette.size(), 256);
        ColorTable.assign(256, TRGBQuad{});
        for (size_t i = 0; i < count; ++i)
            ColorTable[i] = TRGBQuad{Palette[i].peBlue, Palette[i].peGreen, Palette[i].peRed, 0};
    }
    const int64_t rows = std::abs(static_cast<int64_t>(Height));
    if (rows > INT64_MAX / RowBytes) throw EOutOfMemory("Failed to allocate memory for GIF DIB");
    try {
        Bits.assign(static_cast<size_t>(RowBytes * rows), 0);
    } catch (const std::bad_alloc&) {
        throw EOutOfMemory("Failed to allocate memory for GIF DIB");
    } catch (const std::length_error&) {
        throw EOutOfMemory("Failed to allocate memory for GIF DIB");
    }
    HasBits = true;
}

uint8_t* TDIBWriter::RowAt(int Y) {
    EnsureBits();
    if (!HasBits) throw GIFException("Image has no DIB");
    const int rows = Height > 0 ? Height : -Height;
    if (Y < 0 || Y >= rows) throw EInvalidGraphic("Scan line index out of range");
    const int64_t stored = Height > 0 ? rows - 1 - Y : Y;
    return Bits.data() + stored * RowBytes;
}

void TDIBWriter::CommitToBitmap() {
    if (!HasBits) return;
    // The bitmap keeps its rows bottom-up, as our positive-height memory already is.
    TDIBImage image;
    image.Width = Width;
    image.Height = Height > 0 ? Height : -Height;
    image.PixelFormat = PixelFormat;
    image.ColorTable = std::move(ColorTable);
    if (Height > 0) {
        image.Bits = std::move(Bits);
    } else {
        image.Bits.resize(Bits.size());
        for (int y = 0; y < image.Height; ++y)
            std::memcpy(image.Row(y), Bits.data() + y * RowBytes, static_cast<size_t>(RowBytes));
    }
    Bits = std::vector<uint8_t>();
    ColorTable = std::vector<TRGBQuad>();
    HasBits = false;
    Bitmap.SetDIB(std::move(image));
}
