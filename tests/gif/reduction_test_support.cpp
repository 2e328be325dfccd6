#include "reduction_test_support.h"

#include <cmath>
#include <stdexcept>

namespace reducetest {

std::unique_ptr<TBitmap> Bitmap24(int Width, int Height, const std::vector<RGB>& Pixels) {
    auto bitmap = std::make_unique<TBitmap>();
    bitmap->SetPixelFormat(pf24bit);
    bitmap->SetSize(Width, Height);
    for (int y = 0; y < Height; ++y) {
        uint8_t* row = bitmap->ScanLine(y);
        for (int x = 0; x < Width; ++x) {
            const RGB& c = Pixels.at(static_cast<size_t>(y) * Width + x);
            row[3 * x] = c.B;
            row[3 * x + 1] = c.G;
            row[3 * x + 2] = c.R;
        }
    }
    return bitmap;
}

RGB PixelAt(const TBitmap& Bitmap, int X, int Y) {
    if (Bitmap.PixelFormat() != pf24bit) throw std::logic_error("not a 24-bit bitmap");
    const uint8_t* p = Bitmap.ScanLine(Y) + 3 * X;
    return RGB{p[2], p[1], p[0]};
}

std::vector<int> Indices(const TBitmap& Bitmap) {
    if (Bitmap.PixelFormat() != pf8bit) throw std::logic_error("not an 8-bit bitmap");
    std::vector<int> indices;
    for (int y = 0; y < Bitmap.GetHeight(); ++y)
        for (int x = 0; x < Bitmap.GetWidth(); ++x)
            indices.push_back(Bitmap.ScanLine(y)[x]);
    return indices;
}

RGB TableColor(const TBitmap& Bitmap, int Index) {
    const TRGBQuad& q = Bitmap.ColorTable().at(static_cast<size_t>(Index));
    return RGB{q.rgbRed, q.rgbGreen, q.rgbBlue};
}

std::unique_ptr<TBitmap> PhotoLike(int Width, int Height, uint32_t Seed) {
    auto bitmap = std::make_unique<TBitmap>();
    bitmap->SetPixelFormat(pf24bit);
    bitmap->SetSize(Width, Height);
    uint32_t state = Seed * 2654435761u + 1;
    auto noise = [&state] {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        return static_cast<int>(state % 17) - 8;
    };
    auto clamp = [](double v) { return static_cast<uint8_t>(v < 0 ? 0 : v > 255 ? 255 : v); };
    for (int y = 0; y < Height; ++y) {
        uint8_t* row = bitmap->ScanLine(y);
        const double fy = static_cast<double>(y) / Height;
        for (int x = 0; x < Width; ++x) {
            const double fx = static_cast<double>(x) / Width;
            double r = 200 * fx + 40 * std::sin(fy * 9);
            double g = 120 + 100 * std::sin(fx * 5 + fy * 3);
            double b = 230 * fy;
            const double dx = fx - 0.6, dy = fy - 0.4;
            if (dx * dx + dy * dy < 0.04) {
                r = 240 - 60 * fy;
                g = 180;
                b = 60 + 80 * fx;
            }
            row[3 * x] = clamp(b + noise());
            row[3 * x + 1] = clamp(g + noise());
            row[3 * x + 2] = clamp(r + noise());
        }
    }
    return bitmap;
}

TPalette Palette(const std::vector<RGB>& Colors) {
    TPalette palette;
    for (const RGB& c : Colors)
        palette.push_back(TPaletteEntry{c.R, c.G, c.B, 0});
    return palette;
}

int ScriptedLookup::MatchColor(uint8_t Red, uint8_t Green, uint8_t Blue, TGIFColor& Chosen) {
    const size_t call = Asked.size();
    Asked.push_back(RGB{Red, Green, Blue});
    Chosen = TGIFColor{static_cast<uint8_t>(script_.at(call)), Green, Blue};
    return static_cast<int>(call % 256);
}

} // namespace reducetest
