#pragma once

#include "platform/graphics/bitmap.h"

// Keeps a bitmap in a format whose pixels are blue, green, red bytes (24 or 32 bits) while
// a resampler works on its rows. A bitmap in another format is switched to 32 bits and
// back to its own format by Restore, or by the destructor on a way out by exception.
class TTrueColorScope {
  public:
    explicit TTrueColorScope(TBitmap& Bitmap);
    ~TTrueColorScope();
    TTrueColorScope(const TTrueColorScope&) = delete;
    TTrueColorScope& operator=(const TTrueColorScope&) = delete;

    int BytesPerPixel() const { return bitmap_.PixelFormat() == pf24bit ? 3 : 4; }
    void Restore();

  private:
    TBitmap& bitmap_;
    TPixelFormat original_;
    bool switched_;
};
