#pragma once

#include "platform/graphics/graphic.h"

class TBitmap;

class TBrush {
  public:
    TColor Color = clWhite;
};

// Drawing onto a bitmap. Everything is clipped to the bitmap.
class TCanvas {
  public:
    explicit TCanvas(TBitmap& Target) : target_(Target) {}
    TCanvas(const TCanvas&) = delete;
    TCanvas& operator=(const TCanvas&) = delete;

    // Colour of FillRect and of new area when the bitmap grows.
    TBrush Brush;

    // The graphic at its own size with its top-left at (X, Y).
    void Draw(int X, int Y, TGraphic* Graphic);
    // The graphic scaled to fill Rect, nearest pixel, no blending.
    void StretchDraw(const TRect& Rect, TGraphic* Graphic);
    // Src of Source's bitmap into Dest of this one, scaled like StretchDraw.
    void CopyRect(const TRect& Dest, TCanvas& Source, const TRect& Src);
    void FillRect(const TRect& Rect);

    enum class TBlend { Copy, Alpha };
    // The primitive behind the operations above. Target pixel (x, y) of Dest takes the
    // source pixel whose centre is nearest to the mapped centre of the target pixel:
    // column Src.Left + (2 i + 1) sw / (2 dw), integer division, for the i-th column of
    // Dest (rows alike). Equal sizes copy 1:1; enlarging repeats pixels, shrinking drops
    // them. With Alpha the source's fourth byte is its opacity over the present pixels.
    void StretchPixels(const TRect& Dest, const TBitmap& Source, const TRect& Src, TBlend Blend);

    TBitmap& Bitmap() const { return target_; }

  private:
    TBitmap& target_;
};
