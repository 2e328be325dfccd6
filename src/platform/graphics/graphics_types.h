#pragma once

#include <cstdint>

// A colour value: red in bits 0-7, green in 8-15, blue in 16-23.
using TColor = uint32_t;
constexpr TColor clBlack = 0x000000;
constexpr TColor clWhite = 0xFFFFFF;

constexpr TColor RGBColor(uint8_t Red, uint8_t Green, uint8_t Blue) {
    return static_cast<TColor>(Red) | (static_cast<TColor>(Green) << 8) |
           (static_cast<TColor>(Blue) << 16);
}
constexpr uint8_t GetRValue(TColor Color) {
    return static_cast<uint8_t>(Color);
}
constexpr uint8_t GetGValue(TColor Color) {
    return static_cast<uint8_t>(Color >> 8);
}
constexpr uint8_t GetBValue(TColor Color) {
    return static_cast<uint8_t>(Color >> 16);
}

struct TPoint {
    int X = 0;
    int Y = 0;
};

// Right and Bottom are exclusive.
struct TRect {
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;

    int Width() const { return Right - Left; }
    int Height() const { return Bottom - Top; }

    friend bool operator==(const TRect&, const TRect&) = default;
};

constexpr TRect Rect(int Left, int Top, int Right, int Bottom) {
    return TRect{Left, Top, Right, Bottom};
}

enum TPixelFormat : uint8_t {
    pfDevice,
    pf1bit,
    pf4bit,
    pf8bit,
    pf15bit,
    pf16bit,
    pf24bit,
    pf32bit,
    pfCustom
};
