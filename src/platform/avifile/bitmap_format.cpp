#include "platform/avifile/bitmap_format.h"

#include <cstdlib>

void PutLE16(std::vector<uint8_t>& out, uint16_t value) {
    out.push_back(static_cast<uint8_t>(value));
    out.push_back(static_cast<uint8_t>(value >> 8));
}

void PutLE32(std::vector<uint8_t>& out, uint32_t value) {
    PutLE16(out, static_cast<uint16_t>(value));
    PutLE16(out, static_cast<uint16_t>(value >> 16));
}

uint16_t GetLE16(const uint8_t* p) {
    return static_cast<uint16_t>(p[0] | (p[1] << 8));
}

uint32_t GetLE32(const uint8_t* p) {
    return GetLE16(p) | (static_cast<uint32_t>(GetLE16(p + 2)) << 16);
}

std::vector<uint8_t> TBitmapFormat::Serialize() const {
    std::vector<uint8_t> out;
    out.reserve(BitmapInfoHeaderSize + ColourTable.size());
    PutLE32(out, BitmapInfoHeaderSize);
    PutLE32(out, static_cast<uint32_t>(Header.biWidth));
    PutLE32(out, static_cast<uint32_t>(Header.biHeight));
    PutLE16(out, Header.biPlanes);
    PutLE16(out, Header.biBitCount);
    PutLE32(out, Header.biCompression);
    PutLE32(out, Header.biSizeImage);
    PutLE32(out, static_cast<uint32_t>(Header.biXPelsPerMeter));
    PutLE32(out, static_cast<uint32_t>(Header.biYPelsPerMeter));
    PutLE32(out, static_cast<uint32_t>(ColourTable.size() / 4));
    PutLE32(out, Header.biClrImportant);
    out.insert(out.end(), ColourTable.begin(), ColourTable.end());
    return out;
}

bool TBitmapFormat::Parse(const uint8_t* Data, uint32_t Size, TBitmapFormat& Format) {
    if (Data == nullptr || Size < BitmapInfoHeaderSize) return false;
    BITMAPINFOHEADER& h = Format.Header;
    h.biSize = GetLE32(Data);
    if (h.biSize < BitmapInfoHeaderSize || h.biSize > Size) return false;
    h.biWidth = static_cast<int32_t>(GetLE32(Data + 4));
    h.biHeight = static_cast<int32_t>(GetLE32(Data + 8));
    h.biPlanes = GetLE16(Data + 12);
    h.biBitCount = GetLE16(Data + 14);
    h.biCompression = GetLE32(Data + 16);
    h.biSizeImage = GetLE32(Data + 20);
    h.biXPelsPerMeter = static_cast<int32_t>(GetLE32(Data + 24));
    h.biYPelsPerMeter = static_cast<int32_t>(GetLE32(Data + 28));
    h.biClrUsed = GetLE32(Data + 32);
    h.biClrImportant = GetLE32(Data + 36);
    if (h.biClrUsed > 256 || Size - h.biSize < 4 * h.biClrUsed) return false;
    Format.ColourTable.assign(Data + h.biSize, Data + h.biSize + 4 * h.biClrUsed);
    return true;
}

uint32_t TBitmapFormat::RowBytes() const {
    const uint64_t bits =
        static_cast<uint64_t>(std::abs(static_cast<int64_t>(Header.biWidth))) * Header.biBitCount;
    return static_cast<uint32_t>(((bits + 31) / 32) * 4);
}
