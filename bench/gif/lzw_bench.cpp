// Prints how fast the GIF library's LZW encoder compresses 1920 x 1080 frames of noise and
// of a smooth gradient, next to giflib on the same frames. Every file is decoded again
// with giflib to make sure both encoders wrote the same pixels.
#include <gif_lib.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <functional>
#include <vector>

#include "best_time.h"
#include "gif/gif_encoder.h"
#include "gif/gif_image.h"

namespace {

using Bytes = std::vector<uint8_t>;
constexpr int kWidth = 1920;
constexpr int kHeight = 1080;

Bytes Noise() {
    Bytes pixels(static_cast<size_t>(kWidth) * kHeight);
    uint32_t state = 2463534242u;
    for (auto& p : pixels) {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        p = static_cast<uint8_t>(state >> 24);
    }
    return pixels;
}

Bytes SmoothGradient() {
    Bytes pixels(static_cast<size_t>(kWidth) * kHeight);
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x)
            pixels[static_cast<size_t>(y) * kWidth + static_cast<size_t>(x)] =
                static_cast<uint8_t>((x + y) * 256 / (kWidth + kHeight));
    return pixels;
}

// A whole GIF file of one frame written by our library.
Bytes OursFile(const Bytes& pixels) {
    TGIFImage image;
    for (int i = 0; i < 256; ++i)
        image.GetColorMap()->Add(
            RGBColor(static_cast<uint8_t>(i), static_cast<uint8_t>(255 - i), 128));
    auto frame = std::make_unique<TGIFSubImage>(&image);
    frame->DoSetBounds(0, 0, kWidth, kHeight);
    frame->IndexData = pixels;
    image.Add(std::move(frame));
    TMemoryStream stream;
    image.SaveToStream(stream);
    return Bytes(stream.Memory(), stream.Memory() + stream.GetSize());
}

// Only the image data, as the writer produces it for a frame.
size_t OursEncode(const Bytes& pixels) {
    TMemoryStream stream;
    TLZWEncoder encoder;
    encoder.EncodeFrame(stream, 8, 256, pixels.data(), false, kHeight, kWidth);
    return static_cast<size_t>(stream.GetSize());
}

int CollectOutput(GifFileType* gif, const GifByteType* data, int count) {
    auto* out = static_cast<Bytes*>(gif->UserData);
    out->insert(out->end(), data, data + count);
    return count;
}

Bytes GiflibFile(const Bytes& pixels) {
    Bytes out;
    int error = 0;
    GifFileType* gif = EGifOpen(&out, CollectOutput, &error);
    if (gif == nullptr) return {};
    GifColorType colors[256];
    for (int i = 0; i < 256; ++i)
        colors[i] =
            GifColorType{static_cast<GifByteType>(i), static_cast<GifByteType>(255 - i), 128};
    ColorMapObject* map = GifMakeMapObject(256, colors);
    EGifPutScreenDesc(gif, kWidth, kHeight, 8, 0, map);
    EGifPutImageDesc(gif, 0, 0, kWidth, kHeight, false, nullptr);
    for (int y = 0; y < kHeight; ++y)
        EGifPutLine(gif, const_cast<GifPixelType*>(pixels.data() + static_cast<size_t>(y) * kWidth),
                    kWidth);
    EGifCloseFile(gif, &error);
    GifFreeMapObject(map);
    return out;
}

struct Reader {
    const Bytes* data;
    size_t at = 0;
};

int ReadInput(GifFileType* gif, GifByteType* buffer, int count) {
    auto* in = static_cast<Reader*>(gif->UserData);
    const size_t part = std::min(static_cast<size_t>(count), in->data->size() - in->at);
    std::memcpy(buffer, in->data->data() + in->at, part);
    in->at += part;
    return static_cast<int>(part);
}

bool DecodesTo(const Bytes& file, const Bytes& pixels) {
    Reader reader{&file};
    int error = 0;
    GifFileType* gif = DGifOpen(&reader, ReadInput, &error);
    if (gif == nullptr) return false;
    bool same = DGifSlurp(gif) == GIF_OK && gif->ImageCount == 1 &&
                std::memcmp(gif->SavedImages[0].RasterBits, pixels.data(), pixels.size()) == 0;
    DGifCloseFile(gif, &error);
    return same;
}

void Compare(const char* name, const Bytes& pixels, int rounds) {
    const double megapixels = static_cast<double>(pixels.size()) / 1e6;
    size_t ourSize = 0;
    size_t peerSize = 0;
    const double ours = BestSeconds(rounds, [&] { ourSize = OursEncode(pixels); });
    const double ourFile = BestSeconds(rounds, [&] { OursFile(pixels); });
    const double peer = BestSeconds(rounds, [&] { peerSize = GiflibFile(pixels).size(); });
    const bool oursOk = DecodesTo(OursFile(pixels), pixels);
    const bool peerOk = DecodesTo(GiflibFile(pixels), pixels);
    std::printf("%-9s ours: %7.1f Mpixel/s encoder, %7.1f Mpixel/s whole file, %8zu bytes, %s\n",
                name, megapixels / ours, megapixels / ourFile, ourSize,
                oursOk ? "giflib decodes it exactly" : "DECODE MISMATCH");
    std::printf("%-9s giflib: %7.1f Mpixel/s whole file, %8zu bytes, %s\n", name, megapixels / peer,
                peerSize, peerOk ? "decodes exactly" : "DECODE MISMATCH");
    std::printf("%-9s speed of ours / giflib, whole files: %.2f\n", name, peer / ourFile);
}

} // namespace

int main() {
    std::printf("LZW encoding of %d x %d frames, 256 colours, best of several rounds\n", kWidth,
                kHeight);
    Compare("noise", Noise(), 5);
    Compare("gradient", SmoothGradient(), 10);
    return 0;
}
