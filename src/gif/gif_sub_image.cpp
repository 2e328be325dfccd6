#include "gif/gif_sub_image.h"

#include "gif/gif_bytes.h"
#include "gif/gif_encoder.h"
#include "gif/gif_extensions.h"
#include "gif/gif_header.h"
#include "gif/gif_image.h"

TGIFSubImage::TGIFSubImage(TGIFImage* GIFImage)
    : TGIFItem(GIFImage), LocalColorMap(std::make_unique<TGIFLocalColorMap>(this)),
      ExtensionList(std::make_unique<TGIFExtensionList>(GIFImage)) {}

TGIFSubImage::~TGIFSubImage() {
    if (OwnerImage != nullptr) OwnerImage->Frames->Remove(this);
    // The extensions still find their frame while they go.
    ExtensionList->Clear();
}

TGIFVersion TGIFSubImage::GetVersion() const {
    return LocalColorMap->SortedByUsage || ExtensionList->GetCount() > 0 ? gv89a : gv87a;
}

void TGIFSubImage::Clear() {
    ExtensionList->Clear();
    LocalColorMap->Clear();
    FreeImage();
    SetBounds(4, 0);
    SetBounds(3, 0);
    HasTransparency = false;
    ControlExtension = nullptr;
}

uint16_t TGIFSubImage::GetBounds(int Index) const {
    switch (Index) {
    case 1:
        return Descriptor.Left;
    case 2:
        return Descriptor.Top;
    case 3:
        return Descriptor.Width;
    case 4:
        return Descriptor.Height;
    default:
        return 0;
    }
}

void TGIFSubImage::SetBounds(int Index, uint16_t Value) {
    uint16_t left = Descriptor.Left, top = Descriptor.Top;
    uint16_t width = Descriptor.Width, height = Descriptor.Height;
    switch (Index) {
    case 1:
        left = Value;
        break;
    case 2:
        top = Value;
        break;
    case 3:
        width = Value;
        break;
    case 4:
        height = Value;
        break;
    default:
        return;
    }
    DoSetBounds(left, top, width, height);
}

void TGIFSubImage::DoSetBounds(uint16_t ALeft, uint16_t ATop, uint16_t AWidth, uint16_t AHeight) {
    const bool resized = AWidth != Descriptor.Width || AHeight != Descriptor.Height;
    Descriptor.Left = ALeft;
    Descriptor.Top = ATop;
    Descriptor.Width = AWidth;
    Descriptor.Height = AHeight;
    if (resized) NewImage();

    if (OwnerImage == nullptr) return;
    TLogicalScreenDescriptor& screen = OwnerImage->Header->ScreenDescriptor;
    bool warned = false;
    const int right = ALeft + AWidth;
    if (screen.ScreenWidth < right) {
        if (screen.ScreenWidth > 0) {
            Warning(gsWarning, "Image width too small for contained frames");
            warned = true;
        }
        screen.ScreenWidth = static_cast<uint16_t>(right);
    }
    const int bottom = ATop + AHeight;
    if (screen.ScreenHeight < bottom) {
        if (screen.ScreenHeight > 0) {
            Warning(gsWarning, "Image height too small for contained frames");
            warned = true;
        }
        screen.ScreenHeight = static_cast<uint16_t>(bottom);
    }
    if (warned) Warning(gsWarning, "Image exceeds Logical Screen size");
}

void TGIFSubImage::NewImage() {
    FreeImage();
    IndexDataSize = Descriptor.Width * Descriptor.Height;
    if (IndexDataSize > 0) IndexData.assign(static_cast<size_t>(IndexDataSize), 0);
}

void TGIFSubImage::FreeImage() {
    IndexData.clear();
    IndexData.shrink_to_fit();
    IndexDataSize = 0;
}

void TGIFSubImage::NeedImage() {
    if (IndexData.empty()) NewImage();
    if (IndexDataSize == 0) throw GIFException("Image is empty");
}

bool TGIFSubImage::GetEmpty() const {
    return IndexData.empty() || IndexDataSize == 0 || Descriptor.Width == 0 ||
           Descriptor.Height == 0;
}

uint8_t* TGIFSubImage::GetScanline(int Row) {
    if (Row < 0 || Row >= Descriptor.Height) throw GIFException("Invalid pixel coordinates");
    NeedImage();
    return IndexData.data() + static_cast<size_t>(Row) * Descriptor.Width;
}

uint8_t TGIFSubImage::GetPixel(int Column, int Row) {
    if (Column < 0 || Column >= Descriptor.Width) throw GIFException("Invalid pixel coordinates");
    return GetScanline(Row)[Column];
}

TGIFColorMap* TGIFSubImage::GetActiveColorMap() const {
    if (LocalColorMap->GetCount() > 0) return LocalColorMap.get();
    if (OwnerImage != nullptr && OwnerImage->Header->GlobalColorMap->GetCount() > 0)
        return OwnerImage->Header->GlobalColorMap.get();
    return LocalColorMap.get();
}

void TGIFSubImage::SetInterlaced(bool Value) {
    if (Value)
        Descriptor.PackedFields |= 0x40;
    else
        Descriptor.PackedFields &= static_cast<uint8_t>(~0x40);
}

void TGIFSubImage::Prepare() {
    if (LocalColorMap->GetCount() > 0) {
        uint8_t packed = 0x80;
        if (LocalColorMap->SortedByUsage) packed |= 0x20;
        packed |= static_cast<uint8_t>((LocalColorMap->GetBitsPerPixel() - 1) & 7);
        Descriptor.PackedFields = packed;
    } else {
        Descriptor.PackedFields &= 0x58;
    }
}

void TGIFSubImage::SaveToStream(TStream& Stream) {
    ExtensionList->SaveToStream(Stream);
    if (GetEmpty()) return;

    Prepare();
    uint8_t descriptor[10];
    uint8_t* out = PutByte(descriptor, Descriptor.Separator);
    out = PutWord(out, Descriptor.Left);
    out = PutWord(out, Descriptor.Top);
    out = PutWord(out, Descriptor.Width);
    out = PutWord(out, Descriptor.Height);
    PutByte(out, Descriptor.PackedFields);
    Stream.WriteBuffer(descriptor, sizeof(descriptor));

    if (LocalColorMap->GetCount() > 0) LocalColorMap->SaveToStream(Stream);
    Compress(Stream);
}

void TGIFSubImage::Compress(TStream& Stream) {
    int bits;
    int indexLimit;
    if (LocalColorMap->GetCount() > 0) {
        bits = LocalColorMap->GetBitsPerPixel();
        indexLimit = LocalColorMap->GetCount();
    } else {
        bits = OwnerImage != nullptr ? OwnerImage->GetBitsPerPixel() : 8;
        indexLimit = 1 << bits;
    }
    std::unique_ptr<TGIFEncoder> encoder;
    if (OwnerImage != nullptr && OwnerImage->Compression == gcRLE)
        encoder = std::make_unique<TRLEEncoder>();
    else
        encoder = std::make_unique<TLZWEncoder>();
    if (OwnerImage != nullptr) {
        TGIFImage* image = OwnerImage;
        encoder->WarningHook = [image](TPersistent* Sender, TGIFSeverity Severity,
                                       const std::string& Message) {
            image->Warning(Sender, Severity, Message);
        };
    }
    encoder->EncodeFrame(Stream, bits, indexLimit, IndexData.empty() ? nullptr : IndexData.data(),
                         GetInterlaced(), Descriptor.Height, Descriptor.Width);
}
