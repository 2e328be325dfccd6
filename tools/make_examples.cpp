// Draws the bundled sample pictures: a few small scenes written as 24-bit BMP files and
// as baseline JPEG files (through libjpeg). Run from the project folder:
//   make_examples examples
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include <jpeglib.h>

namespace {

struct Picture {
    int width, height;
    std::vector<uint8_t> rgb; // rows top first, red green blue
};

Picture Draw(int width, int height, int scene) {
    Picture picture{width, height, std::vector<uint8_t>(static_cast<size_t>(width) * height * 3)};
    const double cx = width * (0.3 + 0.2 * scene), cy = height * 0.5, radius = height * 0.3;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            uint8_t* p = &picture.rgb[(static_cast<size_t>(y) * width + x) * 3];
            // sky to ground gradient
            p[0] = static_cast<uint8_t>(40 + 150 * y / height);
            p[1] = static_cast<uint8_t>(90 + 100 * y / height);
            p[2] = static_cast<uint8_t>(220 - 150 * y / height);
            const double d = std::hypot(x - cx, y - cy);
            if (d < radius) { // a sun that moves from picture to picture
                p[0] = 250;
                p[1] = static_cast<uint8_t>(200 - 60 * d / radius);
                p[2] = 40;
            }
            if ((x / 16 + y / 16 + scene) % 7 == 0 && y > height * 3 / 4)
                p[1] = 40; // tiles on the ground
        }
    }
    return picture;
}

void Put16(std::FILE* f, uint16_t v) {
    std::fputc(v & 0xFF, f), std::fputc(v >> 8, f);
}
void Put32(std::FILE* f, uint32_t v) {
    Put16(f, v & 0xFFFF), Put16(f, v >> 16);
}

bool WriteBmp(const Picture& picture, const std::string& path) {
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (f == nullptr) return false;
    const uint32_t stride = (picture.width * 3 + 3) & ~3u;
    const uint32_t bits = stride * picture.height;
    std::fputs("BM", f);
    Put32(f, 54 + bits), Put32(f, 0), Put32(f, 54);
    Put32(f, 40), Put32(f, picture.width), Put32(f, picture.height), Put16(f, 1), Put16(f, 24);
    Put32(f, 0), Put32(f, bits), Put32(f, 2835), Put32(f, 2835), Put32(f, 0), Put32(f, 0);
    std::vector<uint8_t> row(stride, 0);
    for (int y = picture.height - 1; y >= 0; --y) {
        for (int x = 0; x < picture.width; ++x) {
            const uint8_t* p = &picture.rgb[(static_cast<size_t>(y) * picture.width + x) * 3];
            row[x * 3] = p[2], row[x * 3 + 1] = p[1], row[x * 3 + 2] = p[0];
        }
        std::fwrite(row.data(), 1, stride, f);
    }
    return std::fclose(f) == 0;
}

bool WriteJpeg(const Picture& picture, const std::string& path) {
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (f == nullptr) return false;
    jpeg_compress_struct info;
    jpeg_error_mgr errors;
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    jpeg_stdio_dest(&info, f);
    info.image_width = picture.width;
    info.image_height = picture.height;
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, 88, TRUE);
    jpeg_start_compress(&info, TRUE);
    while (info.next_scanline < info.image_height) {
        JSAMPROW row = const_cast<uint8_t*>(
            &picture.rgb[static_cast<size_t>(info.next_scanline) * picture.width * 3]);
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    return std::fclose(f) == 0;
}

} // namespace

int main(int argc, char** argv) {
    const std::string folder = argc > 1 ? argv[1] : "examples";
    bool ok = true;
    for (int scene = 0; scene < 3; ++scene) {
        const std::string number = std::to_string(scene * 2 + 1);
        ok = WriteJpeg(Draw(192, 144, scene), folder + "/scene" + number + ".jpg") && ok;
        ok = WriteBmp(Draw(160, 120, scene),
                      folder + "/scene" + std::to_string(scene * 2 + 2) + ".bmp") &&
             ok;
    }
    return ok ? 0 : 1;
}
