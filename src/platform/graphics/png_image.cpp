#include "platform/graphics/png_image.h"

#include "platform/imaging/png_reader.h"

void TPNGImage::LoadFromStream(TStream& Stream) {
    const std::vector<uint8_t> data = ReadRemaining(Stream);
    SetDIB(ReadPNG(data.data(), data.size(), TPNGAlpha::CompositeOnWhite));
}
