// Time to load a 1920x1080 JPEG and a 1920x1080 24-bit BMP through LoadImage, next to
// libjpeg's own djpeg decoding the same JPEG. Needs cjpeg and djpeg (libjpeg-turbo-progs).
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "job/image_to_video_class.h"
#include "platform/graphics/bitmap.h"
#include "platform/graphics/picture.h"

namespace {

constexpr int Width = 1920, Height = 1080, Rounds = 15;

double MedianMilliseconds(const std::function<void()>& Work) {
    std::vector<double> times;
    for (int i = 0; i < Rounds; ++i) {
        const auto start = std::chrono::steady_clock::now();
        Work();
        times.push_back(
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                .count());
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

// Something like a photograph for the encoder: smooth shading with fine texture.
void PaintTestPicture(TBitmap& Bitmap) {
    Bitmap.SetSize(Width, Height);
    uint32_t noise = 12345;
    for (int y = 0; y < Height; ++y) {
        uint8_t* p = Bitmap.ScanLine(y);
        for (int x = 0; x < Width; ++x, p += 3) {
            noise = noise * 1103515245u + 12345u;
            const int grain = static_cast<int>((noise >> 16) & 31) - 16;
            p[0] = static_cast<uint8_t>(std::clamp((x * 255) / Width + grain, 0, 255));
            p[1] = static_cast<uint8_t>(std::clamp((y * 255) / Height + grain, 0, 255));
            p[2] = static_cast<uint8_t>(std::clamp(((x ^ y) & 255) / 2 + 64 + grain, 0, 255));
        }
    }
}

bool Run(const std::string& Command) {
    return std::system((Command + " >/dev/null 2>&1").c_str()) == 0;
}

} // namespace

int main() {
    namespace fs = std::filesystem;
    const fs::path folder = fs::temp_directory_path() / "vntrl-load-bench";
    fs::create_directories(folder);
    const std::string bmp = (folder / "frame.bmp").string(), jpg = (folder / "frame.jpg").string();
    const std::string tiny = (folder / "tiny.jpg").string(),
                      tinyBmp = (folder / "tiny.bmp").string();

    TBitmap picture;
    PaintTestPicture(picture);
    picture.SaveToFile(bmp);
    TBitmap small;
    small.SetSize(8, 8);
    small.SaveToFile(tinyBmp);

    IMAGE_TO_VIDEO_CLASS job;
    job.ShowErrorWindows = false;
    TImage holder;
    const double bmpTime = MedianMilliseconds([&] { job.LoadImage(&holder, bmp.c_str()); });
    std::printf("LoadImage  1920x1080 24-bit BMP : %8.2f ms\n", bmpTime);

    if (!Run("cjpeg -quality 90 -outfile '" + jpg + "' '" + bmp + "'") ||
        !Run("cjpeg -outfile '" + tiny + "' '" + tinyBmp + "'")) {
        std::printf(
            "JPEG figures skipped: cjpeg and djpeg (libjpeg-turbo-progs) are not installed\n");
        fs::remove_all(folder);
        return 0;
    }
    const double jpegTime = MedianMilliseconds([&] { job.LoadImage(&holder, jpg.c_str()); });
    const double djpegTime =
        MedianMilliseconds([&] { Run("djpeg -outfile /dev/null '" + jpg + "'"); });
    const double startTime =
        MedianMilliseconds([&] { Run("djpeg -outfile /dev/null '" + tiny + "'"); });
    const double decodeTime = std::max(djpegTime - startTime, 0.001);
    std::printf("LoadImage  1920x1080 JPEG (q90)  : %8.2f ms\n", jpegTime);
    std::printf(
        "djpeg      same file, whole run : %8.2f ms (of which starting the process: %.2f ms)\n",
        djpegTime, startTime);
    std::printf("ratio LoadImage / djpeg decode  : %8.2f (goal: 1.20 or less)\n",
                jpegTime / decodeTime);
    fs::remove_all(folder);
    return 0;
}
