#include "platform/graphics/icon.h"

#include "platform/graphics/canvas.h"
#include "platform/imaging/icon_reader.h"

void TIcon::Draw(TCanvas& Canvas, const TRect& Rect) {
    Canvas.StretchPixels(Rect, image_, ::Rect(0, 0, image_.Width(), image_.Height()),
                         TCanvas::TBlend::Alpha);
}

void TIcon::LoadFromStream(TStream& Stream) {
    std::vector<uint8_t> data = ReadRemaining(Stream);
    image_.SetDIB(ReadIcon(data.data(), data.size()));
    data_ = std::move(data);
    Changed();
}

void TIcon::SaveToStream(TStream& Stream) {
    if (data_.empty()) throw EInvalidGraphic("Cannot save an empty icon");
    Stream.WriteBuffer(data_.data(), static_cast<int64_t>(data_.size()));
}
