#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "gif/gif_color_map.h"
#include "gif/gif_item.h"

class TGIFGraphicControlExtension;

// One frame of a document: its position and size, its optional local colour table, its
// pixels as colour indices (rows top to bottom, Width bytes each) and its extensions.
class TGIFSubImage : public TGIFItem {
  public:
    explicit TGIFSubImage(TGIFImage* GIFImage);
    // Takes the frame out of its document's frame list before it goes.
    ~TGIFSubImage() override;
    TGIFSubImage(const TGIFSubImage&) = delete;
    TGIFSubImage& operator=(const TGIFSubImage&) = delete;

    TGIFVersion GetVersion() const override;
    // Writes the extensions, then (unless the frame is empty) the image descriptor, the
    // local colour table and the image data.
    void SaveToStream(TStream& Stream) override;
    // Recomputes the packed fields of the image descriptor.
    void Prepare();
    // Writes the frame's image data: minimum code size, data sub-blocks, terminator.
    void Compress(TStream& Stream);

    void Clear();
    // 1 left, 2 top, 3 width, 4 height; anything else 0.
    uint16_t GetBounds(int Index) const;
    void SetBounds(int Index, uint16_t Value);
    void DoSetBounds(uint16_t ALeft, uint16_t ATop, uint16_t AWidth, uint16_t AHeight);
    uint16_t Left() const { return Descriptor.Left; }
    uint16_t Top() const { return Descriptor.Top; }
    uint16_t Width() const { return Descriptor.Width; }
    uint16_t Height() const { return Descriptor.Height; }

    void NewImage();
    void FreeImage();
    void NeedImage();
    bool GetEmpty() const;
    uint8_t* GetScanline(int Row);
    uint8_t GetPixel(int Column, int Row);
    TGIFColorMap* GetActiveColorMap() const;
    int GetBitsPerPixel() const { return LocalColorMap->GetBitsPerPixel(); }
    int GetColorResolution() const { return GetBitsPerPixel() - 1; }
    bool GetInterlaced() const { return (Descriptor.PackedFields & 0x40) != 0; }
    void SetInterlaced(bool Value);

    const uint8_t* Data() const { return IndexData.data(); }

    std::vector<uint8_t> IndexData;
    int IndexDataSize = 0;
    std::unique_ptr<TGIFLocalColorMap> LocalColorMap;
    TImageDescriptor Descriptor;
    std::unique_ptr<TGIFExtensionList> ExtensionList;
    bool HasTransparency = false;
    TGIFGraphicControlExtension* ControlExtension = nullptr;

  protected:
    const char* ClassName() const override { return "TGIFSubImage"; }
};
