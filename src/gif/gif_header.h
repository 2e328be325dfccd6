#pragma once

#include <memory>

#include "gif/gif_color_map.h"
#include "gif/gif_item.h"

// The signature, logical screen descriptor and global colour table of a document.
class TGIFHeader : public TGIFItem {
  public:
    explicit TGIFHeader(TGIFImage* GIFImage);

    void Assign(const TPersistent* Source) override;
    TGIFVersion GetVersion() const override;
    // Writes "GIF", the document's version, the logical screen descriptor and the global
    // colour table; raises "Unsupported GIF version" for a document without frames.
    void SaveToStream(TStream& Stream) override;
    // Recomputes the packed fields of the logical screen descriptor.
    void Prepare();

    void Clear();
    int GetBitsPerPixel() const { return GlobalColorMap->GetBitsPerPixel(); }
    int GetColorResolution() const { return GetBitsPerPixel() - 1; }
    void SetBackgroundColorIndex(int Index);
    void SetBackgroundColor(TColor Color);
    TColor GetBackgroundColor();

    TLogicalScreenDescriptor ScreenDescriptor;
    std::unique_ptr<TGIFGlobalColorMap> GlobalColorMap;

  protected:
    const char* ClassName() const override { return "TGIFHeader"; }
};

// The trailer byte that ends a GIF file.
class TGIFTrailer : public TGIFItem {
  public:
    using TGIFItem::TGIFItem;

    void SaveToStream(TStream& Stream) override;

  protected:
    const char* ClassName() const override { return "TGIFTrailer"; }
};
