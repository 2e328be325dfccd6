#pragma once

#include <cstdint>
#include <vector>

#include "platform/avifile/avi_types.h"

// A stream format of a video stream: a BITMAPINFOHEADER followed by its colour table of
// biClrUsed entries of four bytes (blue, green, red, 0).
struct TBitmapFormat {
    BITMAPINFOHEADER Header;
    std::vector<uint8_t> ColourTable;

    std::vector<uint8_t> Serialize() const;
    // False when Data is too short for the header it starts with or the colour table it
    // announces.
    static bool Parse(const uint8_t* Data, uint32_t Size, TBitmapFormat& Format);
    // Bytes of one row of pixels, padded to a multiple of 4.
    uint32_t RowBytes() const;
};

void PutLE16(std::vector<uint8_t>& out, uint16_t value);
void PutLE32(std::vector<uint8_t>& out, uint32_t value);
uint16_t GetLE16(const uint8_t* p);
uint32_t GetLE32(const uint8_t* p);
