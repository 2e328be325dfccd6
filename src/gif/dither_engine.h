#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "gif/color_lookup.h"
#include "gif/gif_types.h"

// Walks an image row by row, serpentine: row 0 left to right, row 1 right to left, and so
// on. The caller feeds the pixel at GetColumn() and steps its own positions by GetStep()
// while the column lies inside the row, then calls AdvanceRow. The plain engine matches
// every pixel as it is; the subclasses spread the matching error onto pixels not yet seen.
class TDitherEngine {
  public:
    // The lookup is not owned and must outlive the engine.
    TDitherEngine(int Width, TColorLookup& Lookup) : Width(Width), Lookup(Lookup) {}
    virtual ~TDitherEngine() = default;
    TDitherEngine(const TDitherEngine&) = delete;
    TDitherEngine& operator=(const TDitherEngine&) = delete;

    // The palette index for the pixel at the current column, and the chosen colour.
    virtual int DitherPixel(uint8_t Red, uint8_t Green, uint8_t Blue, TGIFColor& Chosen);
    virtual void AdvanceRow();

    int GetWidth() const { return Width; }
    int GetStep() const { return Step; }
    int GetColumn() const { return Column; }
    TColorLookup& GetLookup() const { return Lookup; }

  protected:
    int Width;
    TColorLookup& Lookup;
    int Step = 1;
    int Column = 0;
};

// Floyd-Steinberg error spreading (7, 3, 5, 1 sixteenths) with one error row per channel.
class TFloydSteinbergDitherer : public TDitherEngine {
  public:
    TFloydSteinbergDitherer(int Width, TColorLookup& Lookup);
    int DitherPixel(uint8_t Red, uint8_t Green, uint8_t Blue, TGIFColor& Chosen) override;
    void AdvanceRow() override;

  private:
    struct TChannel {
        std::vector<int32_t> ErrorRow; // Width + 2 cells
        int Cursor = 0;
        int32_t Carried = 0; // for the next pixel of this row
        int32_t Below = 0;   // pipeline terms for the next row
        int32_t BelowBehind = 0;
    };

    static uint8_t Corrected(const TChannel& Channel, uint8_t Value);
    void Spread(TChannel& Channel, int Error) const;

    std::array<TChannel, 3> Channels; // red, green, blue
};

// Error spreading by a fixed kernel over several rows, one accumulator row per kernel row
// and channel, with a margin wide enough that the kernel never leaves the rows.
class TKernelDitherer : public TDitherEngine {
  public:
    struct TTap {
        int Row;    // 0 = the current row
        int Offset; // columns ahead on left-to-right rows
        int Weight;
    };

    TKernelDitherer(int Width, TColorLookup& Lookup, std::vector<TTap> Kernel, int Divisor);
    int DitherPixel(uint8_t Red, uint8_t Green, uint8_t Blue, TGIFColor& Chosen) override;
    void AdvanceRow() override;

  private:
    std::vector<TTap> Kernel;
    int Divisor;
    int Margin = 0;
    int RowCount = 1;
    // Per channel, RowCount rows of Width + 2 Margin cells, the current row first.
    std::array<std::vector<std::vector<int32_t>>, 3> Accumulators;
};

class T5by3Ditherer : public TKernelDitherer {
  public:
    using TKernelDitherer::TKernelDitherer;
};

class TStuckiDitherer : public T5by3Ditherer {
  public:
    TStuckiDitherer(int Width, TColorLookup& Lookup);
};

class TSierraDitherer : public T5by3Ditherer {
  public:
    TSierraDitherer(int Width, TColorLookup& Lookup);
};

class TJaJuNiDitherer : public T5by3Ditherer {
  public:
    TJaJuNiDitherer(int Width, TColorLookup& Lookup);
};

class TSteveArcheDitherer : public TKernelDitherer {
  public:
    TSteveArcheDitherer(int Width, TColorLookup& Lookup);
};

class TBurkesDitherer : public TKernelDitherer {
  public:
    TBurkesDitherer(int Width, TColorLookup& Lookup);
};

// The engine of a dither mode; null for a value outside the enumeration.
std::unique_ptr<TDitherEngine> CreateDitherer(TDitherMode Mode, int Width, TColorLookup& Lookup);
