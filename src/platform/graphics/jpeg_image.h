#pragma once

#include <vector>

#include "platform/graphics/bitmap.h"

// A JPEG picture, decoded at full size into a 24-bit bitmap. Saving writes the file's
// bytes as they were loaded.
class TJPEGImage : public TGraphic {
  public:
    int GetWidth() const override { return bitmap_.Width(); }
    int GetHeight() const override { return bitmap_.Height(); }
    // A JPEG's size is the size of its picture.
    void SetWidth(int) override {}
    void SetHeight(int) override {}
    bool GetEmpty() const override { return bitmap_.Empty(); }

    void Draw(TCanvas& Canvas, const TRect& Rect) override { bitmap_.Draw(Canvas, Rect); }
    void LoadFromStream(TStream& Stream) override;
    void SaveToStream(TStream& Stream) override;

    const TBitmap& Bitmap() const { return bitmap_; }
    // Hands the decoded 24-bit pixels over; the picture is empty afterwards.
    TDIBImage ReleasePixels() { return bitmap_.ReleaseDIB(); }

  protected:
    const char* ClassName() const override { return "TJPEGImage"; }

  private:
    TBitmap bitmap_;
    std::vector<uint8_t> data_;
};
