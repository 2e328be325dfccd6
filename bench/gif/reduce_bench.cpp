// Prints how long ReduceColors takes on photograph-like 24-bit frames the way every GIF
// frame is reduced (octree palette of 256 colours, cell matcher, no dithering), and how
// that time divides between building the palette and matching the pixels.
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <functional>
#include <memory>

#include "best_time.h"
#include "gif/color_reduction.h"
#include "gif/dib_access.h"
#include "gif/reduction_palettes.h"

namespace {

// Smooth gradients, a few shapes, fine texture and noise: many thousands of colours, the
// way a photograph has them.
std::unique_ptr<TBitmap> PhotoLike(int width, int height) {
    auto bitmap = std::make_unique<TBitmap>();
    bitmap->SetPixelFormat(pf24bit);
    bitmap->SetSize(width, height);
    uint32_t state = 2463534242u;
    auto noise = [&state] {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        return static_cast<int>(state % 13) - 6;
    };
    auto clamp = [](double v) { return static_cast<uint8_t>(std::clamp(v, 0.0, 255.0)); };
    for (int y = 0; y < height; ++y) {
        uint8_t* row = bitmap->ScanLine(y);
        const double fy = static_cast<double>(y) / height;
        for (int x = 0; x < width; ++x) {
            const double fx = static_cast<double>(x) / width;
            double r = 90 + 120 * fx + 30 * std::sin(fy * 11 + fx * 3);
            double g = 110 + 90 * std::sin(fx * 4 + fy * 2) * std::cos(fy * 3);
            double b = 60 + 170 * fy - 20 * std::sin(fx * 17);
            const double dx = fx - 0.62, dy = fy - 0.45;
            const double d2 = dx * dx + dy * dy;
            if (d2 < 0.05) { // a lit round object
                const double light = 1 - d2 / 0.05;
                r = 170 + 80 * light;
                g = 120 + 60 * light;
                b = 50 + 40 * light;
            }
            if (fy > 0.8) { // textured ground
                const double t = std::sin(x * 0.9) * std::sin(y * 1.3);
                r = 100 + 40 * t;
                g = 80 + 30 * t;
                b = 40 + 20 * t;
            }
            row[3 * x] = clamp(b + noise());
            row[3 * x + 1] = clamp(g + noise());
            row[3 * x + 2] = clamp(r + noise());
        }
    }
    return bitmap;
}

void Measure(int width, int height, int rounds) {
    auto source = PhotoLike(width, height);
    const double pixels = static_cast<double>(width) * height;
    int used = 0;
    const double whole = BestSeconds(rounds, [&] {
        auto reduced = ReduceColors(*source, rmQuantize, dmNearest, 8, nullptr);
        bool seen[256] = {};
        for (int y = 0; y < height; ++y) {
            const uint8_t* row = reduced->ScanLine(y);
            for (int x = 0; x < width; ++x)
                seen[row[x]] = true;
        }
        used = static_cast<int>(std::count(std::begin(seen), std::end(seen), true));
    });
    const double palette = BestSeconds(rounds, [&] {
        TDIBReader reader(*source, pf24bit);
        BuildOctreePalette(reader, 256, 8, false);
    });
    std::printf("%4d x %4d  ReduceColors %8.2f ms  %6.1f ns/pixel  (octree palette %7.2f ms, "
                "%5.1f ns/pixel)  %d colours used\n",
                width, height, whole * 1e3, whole * 1e9 / pixels, palette * 1e3,
                palette * 1e9 / pixels, used);
}

} // namespace

int main() {
    std::printf("ReduceColors(rmQuantize, 8 bits, dmNearest) on photograph-like 24-bit frames, "
                "best of several rounds (the whole time includes counting the used colours)\n");
    Measure(640, 480, 7);
    Measure(1920, 1080, 5);
    return 0;
}
