#include "gif/gif_extensions.h"

#include <algorithm>
#include <cstring>

#include "gif/gif_bytes.h"
#include "gif/gif_image.h"
#include "gif/gif_sub_image.h"

TGIFExtension::TGIFExtension(TGIFSubImage* ASubImage)
    : TGIFItem(ASubImage != nullptr ? ASubImage->OwnerImage : nullptr), OwnerFrame(ASubImage) {}

TGIFExtension::~TGIFExtension() {
    if (OwnerFrame != nullptr) OwnerFrame->ExtensionList->Remove(this);
}

void TGIFExtension::SaveToStream(TStream& Stream) {
    const uint8_t introducer[2] = {0x21, GetExtensionType()};
    Stream.WriteBuffer(introducer, sizeof(introducer));
}

TGIFGraphicControlExtension::TGIFGraphicControlExtension(TGIFSubImage* ASubImage)
    : TGIFExtension(ASubImage) {
    if (OwnerFrame != nullptr && OwnerFrame->ControlExtension == nullptr)
        OwnerFrame->ControlExtension = this;
}

TGIFGraphicControlExtension::~TGIFGraphicControlExtension() {
    if (OwnerFrame == nullptr) return;
    if (GetTransparent()) OwnerFrame->HasTransparency = false;
    if (OwnerFrame->ControlExtension == this) OwnerFrame->ControlExtension = nullptr;
}

void TGIFGraphicControlExtension::SaveToStream(TStream& Stream) {
    TGIFExtension::SaveToStream(Stream);
    uint8_t record[6];
    uint8_t* out = PutByte(record, ControlRecord.BlockSize);
    out = PutByte(out, ControlRecord.PackedFields);
    out = PutWord(out, ControlRecord.DelayTime);
    out = PutByte(out, ControlRecord.TransparentColorIndex);
    PutByte(out, ControlRecord.Terminator);
    Stream.WriteBuffer(record, sizeof(record));
}

void TGIFGraphicControlExtension::SetTransparent(bool Value) {
    if (OwnerFrame != nullptr) OwnerFrame->HasTransparency = Value;
    if (Value)
        ControlRecord.PackedFields |= 0x01;
    else
        ControlRecord.PackedFields &= static_cast<uint8_t>(~0x01);
}

void TGIFGraphicControlExtension::SetTransparentColorIndex(int Index) {
    const int count = OwnerFrame != nullptr ? OwnerFrame->GetActiveColorMap()->GetCount() : 0;
    if ((Index < 0 || Index >= count) && count > 0) {
        Warning(gsWarning, "Invalid color index");
        Index = 0;
    }
    ControlRecord.TransparentColorIndex = static_cast<uint8_t>(Index);
}

TColor TGIFGraphicControlExtension::GetTransparentColor() const {
    return OwnerFrame->GetActiveColorMap()->GetColor(ControlRecord.TransparentColorIndex);
}

void TGIFGraphicControlExtension::SetTransparentColor(TColor Color) {
    ControlRecord.TransparentColorIndex =
        static_cast<uint8_t>(OwnerFrame->GetActiveColorMap()->AddUnique(Color));
}

void TGIFGraphicControlExtension::SetUserInput(bool Value) {
    if (Value)
        ControlRecord.PackedFields |= 0x02;
    else
        ControlRecord.PackedFields &= static_cast<uint8_t>(~0x02);
}

void TGIFGraphicControlExtension::SetDisposal(TDisposalMethod Value) {
    ControlRecord.PackedFields =
        static_cast<uint8_t>((ControlRecord.PackedFields & 0xE3) | ((Value * 4) & 0x1C));
}

void WriteTextSubBlocks(TStream& Stream, const std::vector<std::string>& Lines) {
    for (const std::string& line : Lines) {
        for (size_t at = 0; at < line.size(); at += 255) {
            const size_t piece = std::min<size_t>(255, line.size() - at);
            const uint8_t size = static_cast<uint8_t>(piece);
            Stream.WriteBuffer(&size, 1);
            Stream.WriteBuffer(line.data() + at, static_cast<int64_t>(piece));
        }
    }
    const uint8_t terminator = 0;
    Stream.WriteBuffer(&terminator, 1);
}

void TGIFTextExtension::SaveToStream(TStream& Stream) {
    TGIFExtension::SaveToStream(Stream);
    uint8_t record[13];
    uint8_t* out = PutByte(record, PlainTextExtension.BlockSize);
    out = PutWord(out, PlainTextExtension.Left);
    out = PutWord(out, PlainTextExtension.Top);
    out = PutWord(out, PlainTextExtension.Width);
    out = PutWord(out, PlainTextExtension.Height);
    out = PutByte(out, PlainTextExtension.CellWidth);
    out = PutByte(out, PlainTextExtension.CellHeight);
    out = PutByte(out, PlainTextExtension.TextFGColorIndex);
    PutByte(out, PlainTextExtension.TextBGColorIndex);
    Stream.WriteBuffer(record, sizeof(record));
    WriteTextSubBlocks(Stream, Text);
}

void TGIFCommentExtension::SaveToStream(TStream& Stream) {
    TGIFExtension::SaveToStream(Stream);
    WriteTextSubBlocks(Stream, Text);
}

void TGIFApplicationExtension::SaveToStream(TStream& Stream) {
    TGIFExtension::SaveToStream(Stream);
    uint8_t block[12] = {11};
    std::memcpy(block + 1, AppIdent.Identifier, 8);
    std::memcpy(block + 9, AppIdent.Authentication, 3);
    Stream.WriteBuffer(block, sizeof(block));
    SaveData(Stream);
}

std::string TGIFApplicationExtension::GetIdentifier() const {
    return std::string(AppIdent.Identifier, 8);
}

void TGIFApplicationExtension::SetIdentifier(const std::string& Value) {
    std::memset(AppIdent.Identifier, 0, 8);
    std::memcpy(AppIdent.Identifier, Value.data(), std::min<size_t>(8, Value.size()));
}

std::string TGIFApplicationExtension::GetAuthentication() const {
    return std::string(AppIdent.Authentication, 3);
}

void TGIFApplicationExtension::SetAuthentication(const std::string& Value) {
    std::memset(AppIdent.Authentication, 0, 3);
    std::memcpy(AppIdent.Authentication, Value.data(), std::min<size_t>(3, Value.size()));
}

void TGIFUnknownAppExtension::SaveData(TStream& Stream) {
    for (const auto& block : Blocks) {
        // The size byte always tells how many bytes follow, whatever Size says.
        const size_t size = std::min<size_t>(255, block->Data.size());
        const uint8_t sizeByte = static_cast<uint8_t>(size);
        if (size == 0) continue;
        Stream.WriteBuffer(&sizeByte, 1);
        Stream.WriteBuffer(block->Data.data(), static_cast<int64_t>(size));
    }
    const uint8_t terminator = 0;
    Stream.WriteBuffer(&terminator, 1);
}

TGIFAppExtNSLoop::TGIFAppExtNSLoop(TGIFSubImage* ASubImage) : TGIFApplicationExtension(ASubImage) {
    SetIdentifier("NETSCAPE");
    SetAuthentication("2.0");
}

void TGIFAppExtNSLoop::SaveData(TStream& Stream) {
    uint8_t data[11];
    uint8_t* out = PutByte(data, 3);
    out = PutByte(out, 1);
    out = PutWord(out, LoopCount);
    if (BufferingSize != 0) {
        out = PutByte(out, 5);
        out = PutByte(out, 2);
        out = PutLong(out, BufferingSize);
    }
    out = PutByte(out, 0);
    Stream.WriteBuffer(data, out - data);
}
