#pragma once

#include <array>
#include <cstdint>

#include "gif/gif_types.h"
#include "platform/graphics/palettes.h"

// Maps a colour to the index of a palette entry and tells the colour of that entry.
class TColorLookup {
  public:
    virtual ~TColorLookup() = default;
    // Returns the palette index for (Red, Green, Blue) and the chosen entry's colour.
    virtual int MatchColor(uint8_t Red, uint8_t Green, uint8_t Blue, TGIFColor& Chosen) = 0;
    // The number of indices MatchColor can return; 0 means the lookup cannot be used.
    int GetColorCount() const { return ColorCount; }

  protected:
    int ColorCount = 0;
};

// Matches against a palette of up to 256 entries through a cache of the 5-5-5 colour
// cells. A cell that holds palette colours answers with the lowest-numbered of them; any
// other cell answers with the entry nearest (summed absolute differences, the first of
// equals) to the first colour of that cell that was asked for. So the answer for a colour
// can depend on the colours asked for before it.
class TFastColorLookup : public TColorLookup {
  public:
    explicit TFastColorLookup(const TPalette& Palette);
    int MatchColor(uint8_t Red, uint8_t Green, uint8_t Blue, TGIFColor& Chosen) override;
    // MatchColor without the chosen colour, for loops that need only the index.
    int MatchIndex(uint8_t Red, uint8_t Green, uint8_t Blue) {
        int16_t& cell = CellIndex[CellOf(Red, Green, Blue)];
        if (cell < 0) cell = static_cast<int16_t>(NearestEntry(Red, Green, Blue));
        return cell;
    }

    static int CellOf(uint8_t Red, uint8_t Green, uint8_t Blue) {
        return (Blue >> 3) * 1024 + (Green >> 3) * 32 + (Red >> 3);
    }

  private:
    int NearestEntry(uint8_t Red, uint8_t Green, uint8_t Blue) const;

    std::array<TPaletteEntry, 256> Entries{};
    std::array<int16_t, 32768> CellIndex{};
};

// The 216-colour web cube: each component to the nearest of 0, 51, ..., 255.
class TNetscapeColorLookup : public TColorLookup {
  public:
    TNetscapeColorLookup() { ColorCount = 216; }
    int MatchColor(uint8_t Red, uint8_t Green, uint8_t Blue, TGIFColor& Chosen) override;
};

// 256 grey levels by the weighted luminance 77 red + 150 green + 29 blue, over 256.
class TGrayScaleLookup : public TColorLookup {
  public:
    TGrayScaleLookup() { ColorCount = 256; }
    int MatchColor(uint8_t Red, uint8_t Green, uint8_t Blue, TGIFColor& Chosen) override;
};

// Black (index 0) or white (index 1) by the same luminance.
class TMonochromeLookup : public TColorLookup {
  public:
    TMonochromeLookup() { ColorCount = 2; }
    int MatchColor(uint8_t Red, uint8_t Green, uint8_t Blue, TGIFColor& Chosen) override;
};
