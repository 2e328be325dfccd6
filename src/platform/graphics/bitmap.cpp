#include "platform/graphics/bitmap.h"

#include <algorithm>
#include <cstring>

#include "platform/graphics/canvas.h"
#include "platform/graphics/palettes.h"
#include "platform/graphics/pixel_rows.h"
#include "platform/imaging/bmp_reader.h"
#include "platform/imaging/bmp_writer.h"
#include "platform/imaging/decode_limits.h"

namespace {

// Copies the first Count pixels of a row of BitCount bits per pixel.
void CopyPixelSpan(const uint8_t* source, uint8_t* target, int64_t count, int bitCount) {
    const int64_t bits = count * bitCount;
    std::memcpy(target, source, static_cast<size_t>(bits / 8));
    if (const int rest = static_cast<int>(bits % 8)) {
        const uint8_t mask = static_cast<uint8_t>(0xFF << (8 - rest));
        target[bits / 8] =
            static_cast<uint8_t>((source[bits / 8] & mask) | (target[bits / 8] & ~mask));
    }
}

} // namespace

TBitmap::TBitmap() : canvas_(std::make_unique<TCanvas>(*this)) {}

TBitmap::~TBitmap() = default;

void TBitmap::SetWidth(int Value) {
    Resize(Value, height_);
}

void TBitmap::SetHeight(int Value) {
    Resize(width_, Value);
}

void TBitmap::SetSize(int NewWidth, int NewHeight) {
    Resize(NewWidth, NewHeight);
}

void TBitmap::Resize(int NewWidth, int NewHeight) {
    NewWidth = std::max(NewWidth, 0);
    NewHeight = std::max(NewHeight, 0);
    if (NewWidth == width_ && NewHeight == height_) return;
    TDIBImage next;
    next.PixelFormat = dib_.PixelFormat;
    if (NewWidth > 0 && NewHeight > 0) {
        next.Allocate(NewWidth, NewHeight, dib_.PixelFormat);
        next.ColorTable = dib_.ColorTable;
        const TColor brush = canvas_->Brush.Color;
        std::vector<uint8_t> fill(static_cast<size_t>(NewWidth) * 4);
        for (size_t i = 0; i < fill.size(); i += 4) {
            fill[i] = GetBValue(brush);
            fill[i + 1] = GetGValue(brush);
            fill[i + 2] = GetRValue(brush);
        }
        TColorMatcher matcher(next.ColorTable);
        std::vector<uint8_t> blank(static_cast<size_t>(next.RowBytes()), 0);
        WriteRowBGRA(next.PixelFormat, fill.data(), 0, NewWidth, &matcher, blank.data());
        const int keepWidth = std::min(NewWidth, dib_.Width);
        const int keepHeight = std::min(NewHeight, dib_.Height);
        for (int y = 0; y < NewHeight; ++y) {
            uint8_t* row = next.Row(y);
            std::memcpy(row, blank.data(), blank.size());
            if (y < keepHeight)
                CopyPixelSpan(dib_.Row(y), row, keepWidth, BitsPerPixel(dib_.PixelFormat));
        }
    } else {
        next.ColorTable = dib_.ColorTable;
    }
    width_ = NewWidth;
    height_ = NewHeight;
    dib_ = std::move(next);
    Changed();
}

void TBitmap::SetPixelFormat(TPixelFormat Value) {
    if (Value == pfDevice) Value = pf24bit;
    if (BitsPerPixel(Value) == 0) throw EInvalidGraphic("Invalid pixel format");
    if (Value == dib_.PixelFormat) return;
    TDIBImage next;
    next.PixelFormat = Value;
    if (!dib_.Empty()) {
        next.Allocate(dib_.Width, dib_.Height, Value);
        next.ColorTable = DefaultColorTable(Value);
        const std::vector<TRGBQuad> table = PaddedColorTable(dib_.ColorTable);
        TColorMatcher matcher(next.ColorTable);
        std::vector<uint8_t> row(static_cast<size_t>(dib_.Width) * 4);
        for (int y = 0; y < dib_.Height; ++y) {
            ReadRowBGRA(dib_.PixelFormat, dib_.Row(y), dib_.Width, table.data(), row.data());
            WriteRowBGRA(Value, row.data(), 0, dib_.Width, &matcher, next.Row(y));
        }
    } else {
        next.ColorTable = DefaultColorTable(Value);
    }
    dib_ = std::move(next);
    Changed();
}

uint8_t* TBitmap::ScanLine(int Y) {
    return const_cast<uint8_t*>(static_cast<const TBitmap*>(this)->ScanLine(Y));
}

const uint8_t* TBitmap::ScanLine(int Y) const {
    if (Y < 0 || Y >= dib_.Height) throw EInvalidGraphic("Scan line index out of range");
    return dib_.Row(Y);
}

void TBitmap::SetColorTable(const std::vector<TRGBQuad>& Table) {
    if (!IsIndexedFormat(dib_.PixelFormat))
        throw EInvalidGraphic("Only indexed bitmaps have a colour table");
    if (Table.size() > (size_t{1} << BitsPerPixel(dib_.PixelFormat)))
        throw EInvalidGraphic("Too many colours for the bitmap's pixel format");
    dib_.ColorTable = Table;
    Changed();
}

TDIBSection TBitmap::Handle() const {
    TDIBSection section;
    section.dsBmih = DIBHeaderOf(dib_);
    if (dib_.PixelFormat == pf16bit) {
        section.dsBitfields[0] = 0xF800;
        section.dsBitfields[1] = 0x07E0;
        section.dsBitfields[2] = 0x001F;
    }
    if (section.dsBmih.biClrUsed != 0) section.ColorTable = dib_.ColorTable.data();
    if (!dib_.Empty()) section.Bits = dib_.Bits.data();
    return section;
}

TCanvas& TBitmap::Canvas() {
    return *canvas_;
}

void TBitmap::SetDIB(TDIBImage Image) {
    if (Image.Empty()) {
        Image.Width = Image.Height = 0;
        Image.Bits.clear();
    }
    width_ = Image.Width;
    height_ = Image.Height;
    dib_ = std::move(Image);
    Changed();
}

TDIBImage TBitmap::ReleaseDIB() {
    TDIBImage image = std::move(dib_);
    dib_ = TDIBImage{};
    dib_.PixelFormat = image.PixelFormat;
    width_ = height_ = 0;
    Changed();
    return image;
}

void TBitmap::Draw(TCanvas& Canvas, const TRect& Rect) {
    Canvas.StretchPixels(Rect, *this, ::Rect(0, 0, width_, height_), TCanvas::TBlend::Copy);
}

void TBitmap::LoadFromStream(TStream& Stream) {
    const std::vector<uint8_t> data = ReadRemaining(Stream);
    SetDIB(ReadBMP(data.data(), data.size()));
}

void TBitmap::SaveToStream(TStream& Stream) {
    WriteBMP(Stream, dib_);
}

void TBitmap::Assign(const TPersistent* Source) {
    if (const auto* bitmap = dynamic_cast<const TBitmap*>(Source)) {
        if (bitmap == this) return;
        width_ = bitmap->width_;
        height_ = bitmap->height_;
        dib_ = bitmap->dib_;
        Changed();
        return;
    }
    TGraphic::Assign(Source);
}

std::vector<uint8_t> ReadRemaining(TStream& Stream) {
    const int64_t size = std::max<int64_t>(0, Stream.GetSize() - Stream.GetPosition());
    if (size > MaxDecodeBytes()) throw EInvalidGraphic("Picture file is too large to load");
    std::vector<uint8_t> data(static_cast<size_t>(size));
    Stream.ReadBuffer(data.data(), size);
    return data;
}
