#pragma once

#include <memory>
#include <vector>

#include "platform/graphics/graphic.h"
#include "platform/imaging/dib_image.h"

// What Handle gives: the bitmap as a device-independent bitmap. Valid until the bitmap
// changes. Bits is null for an empty bitmap.
struct TDIBSection {
    BITMAPINFOHEADER dsBmih;
    uint32_t dsBitfields[3] = {0, 0, 0};
    const TRGBQuad* ColorTable = nullptr; // dsBmih.biClrUsed entries
    const uint8_t* Bits = nullptr;        // dsBmih.biSizeImage bytes, rows bottom-up
};

// A picture held as a device-independent bitmap in 1, 4, 8, 15, 16, 24 or 32 bits per
// pixel. A new bitmap is empty, 24-bit, with a white brush.
class TBitmap : public TGraphic {
  public:
    TBitmap();
    ~TBitmap() override;
    TBitmap(const TBitmap&) = delete;
    TBitmap& operator=(const TBitmap&) = delete;

    int GetWidth() const override { return width_; }
    int GetHeight() const override { return height_; }
    // Pixels inside the new size keep their place at the top-left; new area takes the
    // canvas brush colour. A size of 0 either way leaves the bitmap empty.
    void SetWidth(int Value) override;
    void SetHeight(int Value) override;
    void SetSize(int NewWidth, int NewHeight);
    bool GetEmpty() const override { return dib_.Empty(); }

    TPixelFormat PixelFormat() const { return dib_.PixelFormat; }
    // Converts the pixels: to 8 bits by the halftone palette, to 4 bits by the 16 standard
    // colours, to 1 bit by black and white, each pixel the nearest entry. pfDevice means
    // 24 bits; pfCustom raises EInvalidGraphic.
    void SetPixelFormat(TPixelFormat Value);

    // Row Y, row 0 the top. Raises EInvalidGraphic "Scan line index out of range".
    uint8_t* ScanLine(int Y);
    const uint8_t* ScanLine(int Y) const;

    // The colour table of an indexed bitmap (up to 256 entries; empty otherwise).
    const std::vector<TRGBQuad>& ColorTable() const { return dib_.ColorTable; }
    // Replaces the colour table of an indexed bitmap; the pixel indices stay.
    void SetColorTable(const std::vector<TRGBQuad>& Table);

    TDIBSection Handle() const;
    TCanvas& Canvas();

    // Takes over decoded pixels.
    void SetDIB(TDIBImage Image);
    // Hands the pixels over and leaves the bitmap empty.
    TDIBImage ReleaseDIB();
    const TDIBImage& DIB() const { return dib_; }

    void Draw(TCanvas& Canvas, const TRect& Rect) override;
    // Reads a BMP file.
    void LoadFromStream(TStream& Stream) override;
    // Writes a BMP file in the bitmap's own pixel format.
    void SaveToStream(TStream& Stream) override;

    void Assign(const TPersistent* Source) override;

  protected:
    const char* ClassName() const override { return "TBitmap"; }

  private:
    friend class TCanvas;
    void Resize(int NewWidth, int NewHeight);

    int width_ = 0;
    int height_ = 0;
    TDIBImage dib_;
    std::unique_ptr<TCanvas> canvas_;
};

// Reads the rest of Stream into memory, refusing more than the decoding limit.
std::vector<uint8_t> ReadRemaining(TStream& Stream);
