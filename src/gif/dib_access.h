#pragma once

#include <cstdint>
#include <vector>

#include "platform/graphics/bitmap.h"
#include "platform/graphics/palettes.h"

// Row access to a bitmap in one pixel format.
class TDIB {
  public:
    TDIB(TBitmap& Bitmap, TPixelFormat PixelFormat) : Bitmap(Bitmap), PixelFormat(PixelFormat) {}
    virtual ~TDIB() = default;
    TDIB(const TDIB&) = delete;
    TDIB& operator=(const TDIB&) = delete;

    TPixelFormat GetPixelFormat() const { return PixelFormat; }

  protected:
    TBitmap& Bitmap;
    TPixelFormat PixelFormat;
};

// Reads a bitmap's rows in the given format; the bitmap is converted to that format when
// the reader is made.
class TDIBReader : public TDIB {
  public:
    TDIBReader(TBitmap& Bitmap, TPixelFormat PixelFormat);

    int GetWidth() const { return Bitmap.GetWidth(); }
    int GetHeight() const { return Bitmap.GetHeight(); }
    // Row Y, row 0 the top.
    const uint8_t* RowAt(int Y) const { return Bitmap.ScanLine(Y); }
};

// Builds an 8-bit (with the colours of a palette) or 24-bit device-independent bitmap row
// by row and hands it to the target bitmap when released.
class TDIBWriter : public TDIB {
  public:
    // Raises GIFException for a format other than 8 or 24 bits or a zero size. A negative
    // Height stores the rows top-down.
    TDIBWriter(TBitmap& Target, TPixelFormat PixelFormat, int Width, int Height,
               const TPalette& Palette);
    // Commits the pixels to the target bitmap when any were made.
    ~TDIBWriter() override;

    // Row Y, row 0 the top; the pixel memory is made on the first call.
    uint8_t* RowAt(int Y);
    // Loads the built pixels into the target; the writer holds none afterwards.
    void CommitToBitmap();

    int GetWidth() const { return Width; }
    int GetHeight() const { return Height; }
    int64_t GetRowBytes() const { return RowBytes; }

  private:
    void EnsureBits();

    int Width;
    int Height;
    TPalette Palette;
    std::vector<TRGBQuad> ColorTable;
    int64_t RowBytes;
    std::vector<uint8_t> Bits;
    bool HasBits = false;
};
