#include "platform/graphics/jpeg_image.h"

#include "platform/imaging/jpeg_reader.h"

void TJPEGImage::LoadFromStream(TStream& Stream) {
    std::vector<uint8_t> data = ReadRemaining(Stream);
    bitmap_.SetDIB(ReadJPEG(data.data(), data.size()));
    data_ = std::move(data);
    Changed();
}

void TJPEGImage::SaveToStream(TStream& Stream) {
    if (data_.empty()) throw EInvalidGraphic("Cannot save an empty JPEG image");
    Stream.WriteBuffer(data_.data(), static_cast<int64_t>(data_.size()));
}
