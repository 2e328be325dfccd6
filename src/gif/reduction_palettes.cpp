#include "gif/reduction_palettes.h"

TPalette SystemHalftonePalette() {
    TPalette palette;
    for (const TRGBQuad& quad : HalftonePalette())
        palette.push_back(TPaletteEntry{quad.rgbRed, quad.rgbGreen, quad.rgbBlue, PC_NOCOLLAPSE});
    return palette;
}

namespace {

TPalette Greys(std::initializer_list<int> levels) {
    TPalette palette;
    for (int level : levels) {
        const auto value = static_cast<uint8_t>(level);
        palette.push_back(TPaletteEntry{value, value, value, PC_NOCOLLAPSE});
    }
    return palette;
}

} // namespace

TPalette FourGrayPalette() {
    return Greys({0, 128, 192, 255});
}

TPalette BlackWhitePalette() {
    return Greys({0, 255});
}

TPalette GrayRampPalette() {
    TPalette palette;
    for (int i = 0; i < 256; ++i) {
        const auto value = static_cast<uint8_t>(i);
        palette.push_back(TPaletteEntry{value, value, value, PC_NOCOLLAPSE});
    }
    return palette;
}

TPalette WebPalette() {
    TPalette palette;
    for (int r = 0; r < 6; ++r)
        for (int g = 0; g < 6; ++g)
            for (int b = 0; b < 6; ++b)
                palette.push_back(TPaletteEntry{static_cast<uint8_t>(51 * r),
                                                static_cast<uint8_t>(51 * g),
                                                static_cast<uint8_t>(51 * b), 0});
    return palette;
}
