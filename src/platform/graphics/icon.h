#pragma once

#include <vector>

#include "platform/graphics/bitmap.h"

// An icon: the largest, then deepest, image of an icon file, drawn through its mask (or
// its alpha) so that transparent parts leave the canvas as it was. Saving writes the
// file's bytes as they were loaded.
class TIcon : public TGraphic {
  public:
    int GetWidth() const override { return image_.Width(); }
    int GetHeight() const override { return image_.Height(); }
    // An icon's size is the size of its chosen image.
    void SetWidth(int) override {}
    void SetHeight(int) override {}
    bool GetEmpty() const override { return image_.Empty(); }

    void Draw(TCanvas& Canvas, const TRect& Rect) override;
    void LoadFromStream(TStream& Stream) override;
    void SaveToStream(TStream& Stream) override;

  protected:
    const char* ClassName() const override { return "TIcon"; }

  private:
    TBitmap image_; // 32-bit, the fourth byte the opacity
    std::vector<uint8_t> data_;
};
