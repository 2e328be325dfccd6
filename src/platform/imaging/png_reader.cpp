#include "platform/imaging/png_reader.h"

#include <csetjmp>
#include <cstring>
#include <string>

#include <png.h>

#include "platform/graphics/graphic_errors.h"
#include "platform/imaging/decode_limits.h"

namespace {

// A chunk of ancillary data (text, profiles) larger than this is refused by libpng.
constexpr png_alloc_size_t MaxChunkBytes = 8 << 20;

struct TInput {
    const uint8_t* Data;
    size_t Size;
    size_t Position;
};

struct TErrors {
    char Message[200] = "damaged file";
};

void ReadInput(png_structp png, png_bytep target, size_t count) {
    auto* input = static_cast<TInput*>(png_get_io_ptr(png));
    if (count > input->Size - input->Position) png_error(png, "the file ends too early");
    std::memcpy(target, input->Data + input->Position, count);
    input->Position += count;
}

void OnError(png_structp png, png_const_charp message) {
    auto* errors = static_cast<TErrors*>(png_get_error_ptr(png));
    std::snprintf(errors->Message, sizeof errors->Message, "%s", message);
    png_longjmp(png, 1);
}

void OnWarning(png_structp, png_const_charp) {}

// Plain blending of the stored values, as viewers show a picture over a white page.
void CompositeRowOntoWhite(const uint8_t* bgra, uint8_t* bgr, int width) {
    for (int x = 0; x < width; ++x, bgra += 4, bgr += 3) {
        const unsigned a = bgra[3];
        for (int c = 0; c < 3; ++c)
            bgr[c] = static_cast<uint8_t>((bgra[c] * a + 255 * (255 - a) + 127) / 255);
    }
}

// Runs libpng; its error path leaves through longjmp, so everything to release lives in
// the caller. Samples come out as stored (no gamma change), 16-bit ones scaled to 8.
bool Decode(png_structp png, png_infop info, TErrors& errors, TDIBImage& image, TDIBImage& work,
            bool keep) {
    if (setjmp(png_jmpbuf(png))) return false;
    png_set_chunk_malloc_max(png, MaxChunkBytes);
    png_read_info(png, info);
    const png_uint_32 width = png_get_image_width(png, info),
                      height = png_get_image_height(png, info);
    CheckDecodeSize("PNG", width, height, 32);
    png_set_expand(png);
    png_set_scale_16(png);
    png_set_gray_to_rgb(png);
    png_set_add_alpha(png, 0xFF, PNG_FILLER_AFTER);
    png_set_bgr(png);
    const int passes = png_set_interlace_handling(png);
    png_read_update_info(png, info);
    if (png_get_rowbytes(png, info) != static_cast<size_t>(width) * 4) {
        std::snprintf(errors.Message, sizeof errors.Message, "unexpected pixel layout");
        return false;
    }
    image.Allocate(static_cast<int>(width), static_cast<int>(height), keep ? pf32bit : pf24bit);
    if (keep && passes == 1) {
        for (png_uint_32 y = 0; y < height; ++y)
            png_read_row(png, image.Row(static_cast<int>(y)), nullptr);
    } else {
        // Interlaced passes revisit rows, so all rows are kept at 32 bits until the end.
        if (!keep) work.Allocate(static_cast<int>(width), static_cast<int>(height), pf32bit);
        TDIBImage& target = keep ? image : work;
        for (int pass = 0; pass < passes; ++pass)
            for (png_uint_32 y = 0; y < height; ++y)
                png_read_row(png, target.Row(static_cast<int>(y)), nullptr);
        if (!keep)
            for (png_uint_32 y = 0; y < height; ++y)
                CompositeRowOntoWhite(work.Row(static_cast<int>(y)), image.Row(static_cast<int>(y)),
                                      static_cast<int>(width));
    }
    png_read_end(png, nullptr);
    return true;
}

} // namespace

bool IsPNG(const uint8_t* Data, size_t Size) {
    static const uint8_t signature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    return Size >= 8 && std::memcmp(Data, signature, 8) == 0;
}

TDIBImage ReadPNG(const uint8_t* Data, size_t Size, TPNGAlpha Alpha) {
    if (!IsPNG(Data, Size)) throw EInvalidGraphic("Invalid PNG picture: not a PNG file");
    TErrors errors;
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, &errors, OnError, OnWarning);
    if (png == nullptr) throw EOutOfMemory("Out of memory");
    png_infop info = png_create_info_struct(png);
    if (info == nullptr) {
        png_destroy_read_struct(&png, nullptr, nullptr);
        throw EOutOfMemory("Out of memory");
    }
    TInput input{Data, Size, 0};
    png_set_read_fn(png, &input, ReadInput);

    TDIBImage image, work;
    bool done = false;
    try {
        done = Decode(png, info, errors, image, work, Alpha == TPNGAlpha::Keep);
    } catch (...) {
        png_destroy_read_struct(&png, &info, nullptr);
        throw;
    }
    png_destroy_read_struct(&png, &info, nullptr);
    if (!done) throw EInvalidGraphic(std::string("Invalid PNG picture: ") + errors.Message);
    return image;
}
