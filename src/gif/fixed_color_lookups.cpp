#include "gif/color_lookup.h"

namespace {

int Luminance(uint8_t red, uint8_t green, uint8_t blue) {
    return 77 * red + 150 * green + 29 * blue;
}

} // namespace

int TNetscapeColorLookup::MatchColor(uint8_t Red, uint8_t Green, uint8_t Blue, TGIFColor& Chosen) {
    const int r = (Red + 3) / 51, g = (Green + 3) / 51, b = (Blue + 3) / 51;
    Chosen = TGIFColor{static_cast<uint8_t>(51 * r), static_cast<uint8_t>(51 * g),
                       static_cast<uint8_t>(51 * b)};
    return 36 * r + 6 * g + b;
}

int TGrayScaleLookup::MatchColor(uint8_t Red, uint8_t Green, uint8_t Blue, TGIFColor& Chosen) {
    const uint8_t y = static_cast<uint8_t>(Luminance(Red, Green, Blue) >> 8);
    Chosen = TGIFColor{y, y, y};
    return y;
}

int TMonochromeLookup::MatchColor(uint8_t Red, uint8_t Green, uint8_t Blue, TGIFColor& Chosen) {
    const bool white = Luminance(Red, Green, Blue) > 32512;
    const uint8_t level = white ? 255 : 0;
    Chosen = TGIFColor{level, level, level};
    return white ? 1 : 0;
}
