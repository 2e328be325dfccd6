#pragma once

#include "platform/graphics/graphic.h"

// A Windows metafile or enhanced metafile. Playing metafiles is not built yet: loading
// raises EInvalidGraphic, and an unloaded metafile is empty.
class TMetafile : public TGraphic {
  public:
    int GetWidth() const override { return 0; }
    int GetHeight() const override { return 0; }
    void SetWidth(int) override {}
    void SetHeight(int) override {}
    bool GetEmpty() const override { return true; }

    void Draw(TCanvas&, const TRect&) override {}
    void LoadFromStream(TStream& Stream) override;
    void SaveToStream(TStream& Stream) override;

  protected:
    const char* ClassName() const override { return "TMetafile"; }
};
