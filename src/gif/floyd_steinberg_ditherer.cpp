#include <algorithm>

#include "gif/dither_engine.h"

TFloydSteinbergDitherer::TFloydSteinbergDitherer(int Width, TColorLookup& Lookup)
    : TDitherEngine(Width, Lookup) {
    for (TChannel& channel : Channels)
        channel.ErrorRow.assign(static_cast<size_t>(Width) + 2, 0);
}

uint8_t TFloydSteinbergDitherer::Corrected(const TChannel& Channel, uint8_t Value) {
    const int32_t error = (Channel.ErrorRow[Channel.Cursor] + Channel.Carried + 8) / 16;
    return static_cast<uint8_t>(std::clamp(Value + error, 0, 255));
}

// The cell under the cursor takes the finished sum for the next row; the two pending
// terms move along one pixel.
void TFloydSteinbergDitherer::Spread(TChannel& Channel, int Error) const {
    if (Error != 0) {
        Channel.ErrorRow[Channel.Cursor] = Channel.BelowBehind + 3 * Error;
        Channel.BelowBehind = Channel.Below + 5 * Error;
        Channel.Below = Error;
        Channel.Carried = 7 * Error;
    } else {
        Channel.Carried = 0;
    }
    Channel.Cursor += Step;
}

int TFloydSteinbergDitherer::DitherPixel(uint8_t Red, uint8_t Green, uint8_t Blue,
                                         TGIFColor& Chosen) {
    const uint8_t red = Corrected(Channels[0], Red);
    const uint8_t green = Corrected(Channels[1], Green);
    const uint8_t blue = Corrected(Channels[2], Blue);
    const int index = TDitherEngine::DitherPixel(red, green, blue, Chosen);
    Spread(Channels[0], red - Chosen.Red);
    Spread(Channels[1], green - Chosen.Green);
    Spread(Channels[2], blue - Chosen.Blue);
    return index;
}

void TFloydSteinbergDitherer::AdvanceRow() {
    for (TChannel& channel : Channels) {
        channel.ErrorRow[channel.Cursor] = channel.BelowBehind;
        channel.Carried = channel.Below = channel.BelowBehind = 0;
    }
    TDitherEngine::AdvanceRow();
    for (TChannel& channel : Channels)
        channel.Cursor = Step > 0 ? 0 : Width + 1;
}
