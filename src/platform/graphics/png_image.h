#pragma once

#include "platform/graphics/bitmap.h"

// A PNG picture read into a 24-bit bitmap, any transparency composited onto white. It is
// a bitmap, so a picture holding one yields it as its Bitmap. Saving writes a BMP file.
class TPNGImage : public TBitmap {
  public:
    void LoadFromStream(TStream& Stream) override;

  protected:
    const char* ClassName() const override { return "TPNGImage"; }
};
