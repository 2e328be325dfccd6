// Prints nanoseconds per output pixel of the bilinear and smooth resampling for a
// shrink and an enlargement of common frame sizes. Goal on the project machine: at most
// 3 ns for bilinear and 2 ns for smooth.
#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <memory>

#include "job/image_to_video_class.h"
#include "platform/graphics/bitmap.h"

namespace {

std::unique_ptr<TBitmap> Picture(int Width, int Height) {
    auto bitmap = std::make_unique<TBitmap>();
    bitmap->SetSize(Width, Height);
    for (int y = 0; y < Height; ++y) {
        uint8_t* row = bitmap->ScanLine(y);
        for (int x = 0; x < Width * 3; ++x)
            row[x] = static_cast<uint8_t>(x * 7 + y * 13);
    }
    return bitmap;
}

// The best of several runs, in nanoseconds per target pixel.
template <typename Run> double NanosecondsPerPixel(int64_t Pixels, Run run) {
    double best = 1e30;
    for (int repeat = 0; repeat < 7; ++repeat) {
        const auto start = std::chrono::steady_clock::now();
        run();
        const std::chrono::duration<double, std::nano> took =
            std::chrono::steady_clock::now() - start;
        best = std::min(best, took.count() / static_cast<double>(Pixels));
    }
    return best;
}

} // namespace

int main() {
    IMAGE_TO_VIDEO_CLASS job;
    struct TCase {
        int SourceWidth, SourceHeight, TargetWidth, TargetHeight;
    };
    const TCase cases[] = {{1920, 1080, 640, 480}, {320, 240, 1920, 1080}};
    std::printf("%-24s %12s %12s\n", "resize", "bilinear", "smooth");
    for (const TCase& c : cases) {
        auto source = Picture(c.SourceWidth, c.SourceHeight);
        auto target = Picture(c.TargetWidth, c.TargetHeight);
        const int64_t pixels = int64_t{c.TargetWidth} * c.TargetHeight;
        const double bilinear = NanosecondsPerPixel(pixels, [&] {
            job.ResizeBilinear(source.get(), Rect(0, 0, c.SourceWidth, c.SourceHeight),
                               target.get(), Rect(0, 0, c.TargetWidth, c.TargetHeight));
        });
        const double smooth =
            NanosecondsPerPixel(pixels, [&] { job.ResizeSmooth(source.get(), target.get()); });
        char name[64];
        std::snprintf(name, sizeof name, "%dx%d -> %dx%d", c.SourceWidth, c.SourceHeight,
                      c.TargetWidth, c.TargetHeight);
        std::printf("%-24s %9.2f ns %9.2f ns  (per output pixel)\n", name, bilinear, smooth);
    }
    return 0;
}
