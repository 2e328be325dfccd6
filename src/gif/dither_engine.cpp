#include "gif/dither_engine.h"

int TDitherEngine::DitherPixel(uint8_t Red, uint8_t Green, uint8_t Blue, TGIFColor& Chosen) {
    const int index = Lookup.MatchColor(Red, Green, Blue, Chosen);
    Column += Step;
    return index;
}

void TDitherEngine::AdvanceRow() {
    Step = -Step;
    Column = Step > 0 ? 0 : Width - 1;
}

std::unique_ptr<TDitherEngine> CreateDitherer(TDitherMode Mode, int Width, TColorLookup& Lookup) {
    switch (Mode) {
    case dmNearest:
        return std::make_unique<TDitherEngine>(Width, Lookup);
    case dmFloydSteinberg:
        return std::make_unique<TFloydSteinbergDitherer>(Width, Lookup);
    case dmStucki:
        return std::make_unique<TStuckiDitherer>(Width, Lookup);
    case dmSierra:
        return std::make_unique<TSierraDitherer>(Width, Lookup);
    case dmJaJuNI:
        return std::make_unique<TJaJuNiDitherer>(Width, Lookup);
    case dmSteveArche:
        return std::make_unique<TSteveArcheDitherer>(Width, Lookup);
    case dmBurkes:
        return std::make_unique<TBurkesDitherer>(Width, Lookup);
    }
    return nullptr;
}
