#include <algorithm>
#include <cstdlib>

#include "gif/dither_engine.h"

TKernelDitherer::TKernelDitherer(int Width, TColorLookup& Lookup, std::vector<TTap> Kernel,
                                 int Divisor)
    : TDitherEngine(Width, Lookup), Kernel(std::move(Kernel)), Divisor(Divisor) {
    for (const TTap& tap : this->Kernel) {
        Margin = std::max(Margin, std::abs(tap.Offset));
        RowCount = std::max(RowCount, tap.Row + 1);
    }
    for (auto& rows : Accumulators)
        rows.assign(static_cast<size_t>(RowCount),
                    std::vector<int32_t>(static_cast<size_t>(Width) + 2 * Margin, 0));
}

int TKernelDitherer::DitherPixel(uint8_t Red, uint8_t Green, uint8_t Blue, TGIFColor& Chosen) {
    const int cell = Column + Margin;
    const uint8_t input[3] = {Red, Green, Blue};
    uint8_t value[3];
    for (int c = 0; c < 3; ++c) {
        const int32_t error = (Accumulators[c][0][cell] + Divisor / 2) / Divisor;
        value[c] = static_cast<uint8_t>(std::clamp(input[c] + error, 0, 255));
    }
    const int step = Step;
    const int index = TDitherEngine::DitherPixel(value[0], value[1], value[2], Chosen);
    const uint8_t chosen[3] = {Chosen.Red, Chosen.Green, Chosen.Blue};
    for (int c = 0; c < 3; ++c) {
        const int error = value[c] - chosen[c];
        if (error == 0) continue;
        for (const TTap& tap : Kernel)
            Accumulators[c][tap.Row][cell + step * tap.Offset] += tap.Weight * error;
    }
    return index;
}

void TKernelDitherer::AdvanceRow() {
    for (auto& rows : Accumulators) {
        std::rotate(rows.begin(), rows.begin() + 1, rows.end());
        std::fill(rows.back().begin(), rows.back().end(), 0);
    }
    TDitherEngine::AdvanceRow();
}

// clang-format off
TStuckiDitherer::TStuckiDitherer(int Width, TColorLookup& Lookup)
    : T5by3Ditherer(Width, Lookup,
                    {{0, 1, 8}, {0, 2, 4},
                     {1, -2, 2}, {1, -1, 4}, {1, 0, 8}, {1, 1, 4}, {1, 2, 2},
                     {2, -2, 1}, {2, -1, 2}, {2, 0, 4}, {2, 1, 2}, {2, 2, 1}},
                    42) {}

TSierraDitherer::TSierraDitherer(int Width, TColorLookup& Lookup)
    : T5by3Ditherer(Width, Lookup,
                    {{0, 1, 5}, {0, 2, 3},
                     {1, -2, 2}, {1, -1, 4}, {1, 0, 5}, {1, 1, 4}, {1, 2, 2},
                     {2, -1, 2}, {2, 0, 3}, {2, 1, 2}},
                    32) {}

TJaJuNiDitherer::TJaJuNiDitherer(int Width, TColorLookup& Lookup)
    : T5by3Ditherer(Width, Lookup,
                    {{0, 1, 7}, {0, 2, 5},
                     {1, -2, 3}, {1, -1, 5}, {1, 0, 7}, {1, 1, 5}, {1, 2, 3},
                     {2, -2, 1}, {2, -1, 3}, {2, 0, 5}, {2, 1, 3}, {2, 2, 1}},
                    48) {}

TSteveArcheDitherer::TSteveArcheDitherer(int Width, TColorLookup& Lookup)
    : TKernelDitherer(Width, Lookup,
                      {{0, 2, 32},
                       {1, -3, 12}, {1, -1, 26}, {1, 1, 30}, {1, 3, 16},
                       {2, -2, 12}, {2, 0, 26}, {2, 2, 12},
                       {3, -3, 5}, {3, -1, 12}, {3, 1, 12}, {3, 3, 5}},
                      200) {}

TBurkesDitherer::TBurkesDitherer(int Width, TColorLookup& Lookup)
    : TKernelDitherer(Width, Lookup,
                      {{0, 1, 8}, {0, 2, 4},
                       {1, -2, 2}, {1, -1, 4}, {1, 0, 8}, {1, 1, 4}, {1, 2, 2}},
                      32) {}
// clang-format on
