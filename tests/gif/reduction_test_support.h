#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "gif/color_lookup.h"
#include "platform/graphics/bitmap.h"

namespace reducetest {

struct RGB {
    uint8_t R = 0, G = 0, B = 0;
    friend bool operator==(const RGB&, const RGB&) = default;
};

// A 24-bit bitmap of Width x Height whose pixels, row by row from the top, are Pixels.
std::unique_ptr<TBitmap> Bitmap24(int Width, int Height, const std::vector<RGB>& Pixels);
// The colour of pixel (X, Y) of a 24-bit bitmap.
RGB PixelAt(const TBitmap& Bitmap, int X, int Y);
// The indices of an 8-bit bitmap, row by row from the top.
std::vector<int> Indices(const TBitmap& Bitmap);
// The colour of entry Index of an indexed bitmap's colour table.
RGB TableColor(const TBitmap& Bitmap, int Index);
// Pseudo-random smooth "photograph": gradients, a few shapes and some noise.
std::unique_ptr<TBitmap> PhotoLike(int Width, int Height, uint32_t Seed = 7);

TPalette Palette(const std::vector<RGB>& Colors);

// The message of the E that Action raises, or "(nothing raised)".
template <typename E> std::string MessageOf(const std::function<void()>& Action) {
    try {
        Action();
    } catch (const E& e) {
        return e.Message;
    }
    return "(nothing raised)";
}

// A lookup that answers from a script: the n-th call chooses Script[n] for red (green and
// blue are chosen as asked, so they carry no error) and returns n. It records every colour
// it was asked for.
class ScriptedLookup : public TColorLookup {
  public:
    explicit ScriptedLookup(std::vector<int> RedScript) : script_(std::move(RedScript)) {
        ColorCount = 256;
    }
    int MatchColor(uint8_t Red, uint8_t Green, uint8_t Blue, TGIFColor& Chosen) override;

    std::vector<RGB> Asked;

  private:
    std::vector<int> script_;
};

} // namespace reducetest
