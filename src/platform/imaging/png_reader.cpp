#include "platform/imaging/png_reader.h"

#include <cstring>
#include <string>

#include <png.h>

#include "platform/graphics/graphic_errors.h"
#include "platform/imaging/decode_limits.h"

namespace {

// Releases libpng's state on every way out.
struct TPNGImageGuard {
    png_image Image{};
    TPNGImageGuard() { Image.version = PNG_IMAGE_VERSION; }
    ~TPNGImageGuard() { png_image_free(&Image); }
    TPNGImageGuard(const TPNGImageGuard&) = delete;
    TPNGImageGuard& operator=(const TPNGImageGuard&) = delete;
};

[[noreturn]] void Refuse(const png_image& image) {
    throw EInvalidGraphic(std::string("Invalid PNG picture: ") + image.message);
}

} // namespace

bool IsPNG(const uint8_t* Data, size_t Size) {
    static const uint8_t signature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    return Size >= 8 && std::memcmp(Data, signature, 8) == 0;
}

TDIBImage ReadPNG(const uint8_t* Data, size_t Size, TPNGAlpha Alpha) {
    if (!IsPNG(Data, Size)) throw EInvalidGraphic("Invalid PNG picture: not a PNG file");
    TPNGImageGuard png;
    if (!png_image_begin_read_from_memory(&png.Image, Data, Size)) Refuse(png.Image);
    const bool keep = Alpha == TPNGAlpha::Keep;
    CheckDecodeSize("PNG", png.Image.width, png.Image.height, keep ? 32 : 24);
    // libpng's own working rows are a few times one output row; the limit above keeps
    // them bounded too.
    png.Image.format = keep ? PNG_FORMAT_BGRA : PNG_FORMAT_BGR;

    TDIBImage image;
    image.Allocate(static_cast<int>(png.Image.width), static_cast<int>(png.Image.height), keep ? pf32bit : pf24bit);
    const png_color white{255, 255, 255};
    // A negative stride asks for the rows bottom-up, as the bitmap stores them.
    const auto stride = -static_cast<png_int_32>(image.RowBytes());
    if (!png_image_finish_read(&png.Image, keep ? nullptr : &white, image.Bits.data(), stride, nullptr))
        Refuse(png.Image);
    return image;
}
