#include "gif/gif_header.h"

#include "gif/gif_bytes.h"
#include "gif/gif_image.h"

TGIFHeader::TGIFHeader(TGIFImage* GIFImage)
    : TGIFItem(GIFImage), GlobalColorMap(std::make_unique<TGIFGlobalColorMap>(this)) {
    Clear();
}

void TGIFHeader::Assign(const TPersistent* Source) {
    if (const auto* other = dynamic_cast<const TGIFHeader*>(Source)) {
        ScreenDescriptor = other->ScreenDescriptor;
        GlobalColorMap->Assign(other->GlobalColorMap.get());
        return;
    }
    TGIFItem::Assign(Source);
}

TGIFVersion TGIFHeader::GetVersion() const {
    return GlobalColorMap->SortedByUsage || ScreenDescriptor.AspectRatio != 0 ? gv89a : gv87a;
}

void TGIFHeader::Clear() {
    GlobalColorMap->Clear();
    ScreenDescriptor = TLogicalScreenDescriptor{};
}

void TGIFHeader::Prepare() {
    const bool hasTable = GlobalColorMap->GetCount() > 0;
    uint8_t packed = 0;
    if (hasTable) packed |= 0x80;
    if (hasTable && GlobalColorMap->SortedByUsage) packed |= 0x08;
    packed |= static_cast<uint8_t>((OwnerImage->GetColorResolution() & 7) << 4);
    const int bits = hasTable ? GlobalColorMap->GetBitsPerPixel() : OwnerImage->GetBitsPerPixel();
    packed |= static_cast<uint8_t>((bits - 1) & 7);
    ScreenDescriptor.PackedFields = packed;
}

void TGIFHeader::SaveToStream(TStream& Stream) {
    const TGIFVersion version = OwnerImage->GetVersion();
    if (version != gv87a && version != gv89a) throw GIFException("Unsupported GIF version");

    uint8_t signature[6] = {'G', 'I', 'F'};
    const TGIFVersionRec& text = GIFVersions[version == gv87a ? 0 : 1];
    signature[3] = static_cast<uint8_t>(text[0]);
    signature[4] = static_cast<uint8_t>(text[1]);
    signature[5] = static_cast<uint8_t>(text[2]);
    Stream.WriteBuffer(signature, sizeof(signature));

    Prepare();
    uint8_t descriptor[7];
    uint8_t* out = PutWord(descriptor, ScreenDescriptor.ScreenWidth);
    out = PutWord(out, ScreenDescriptor.ScreenHeight);
    out = PutByte(out, ScreenDescriptor.PackedFields);
    out = PutByte(out, ScreenDescriptor.BackgroundColorIndex);
    PutByte(out, ScreenDescriptor.AspectRatio);
    Stream.WriteBuffer(descriptor, sizeof(descriptor));

    if (ScreenDescriptor.PackedFields & 0x80) GlobalColorMap->SaveToStream(Stream);
}

void TGIFHeader::SetBackgroundColorIndex(int Index) {
    if ((Index < 0 || Index >= GlobalColorMap->GetCount()) && GlobalColorMap->GetCount() > 0) {
        Warning(gsWarning, "Invalid color index");
        Index = 0;
    }
    ScreenDescriptor.BackgroundColorIndex = static_cast<uint8_t>(Index);
}

void TGIFHeader::SetBackgroundColor(TColor Color) {
    SetBackgroundColorIndex(GlobalColorMap->AddUnique(Color));
}

TColor TGIFHeader::GetBackgroundColor() {
    return GlobalColorMap->GetColor(ScreenDescriptor.BackgroundColorIndex);
}

void TGIFTrailer::SaveToStream(TStream& Stream) {
    const uint8_t trailer = 0x3B;
    Stream.WriteBuffer(&trailer, 1);
}
