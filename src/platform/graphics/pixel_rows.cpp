#include "platform/graphics/pixel_rows.h"

#include <cstring>

#include "platform/graphics/graphic_errors.h"

void WriteRowBGRA(TPixelFormat Format, const uint8_t* Source, int From, int To,
                  TColorMatcher* Matcher, uint8_t* Row) {
    const uint8_t* s = Source;
    switch (Format) {
    case pf1bit:
        for (int x = From; x < To; ++x, s += 4) {
            const uint8_t bit = static_cast<uint8_t>(0x80 >> (x & 7));
            if (Matcher->Match(s[2], s[1], s[0]) & 1)
                Row[x >> 3] |= bit;
            else
                Row[x >> 3] &= static_cast<uint8_t>(~bit);
        }
        break;
    case pf4bit:
        for (int x = From; x < To; ++x, s += 4) {
            const uint8_t index = Matcher->Match(s[2], s[1], s[0]) & 0x0F;
            uint8_t& b = Row[x >> 1];
            b = (x & 1) ? static_cast<uint8_t>((b & 0xF0) | index)
                        : static_cast<uint8_t>((b & 0x0F) | (index << 4));
        }
        break;
    case pf8bit:
        for (int x = From; x < To; ++x, s += 4)
            Row[x] = Matcher->Match(s[2], s[1], s[0]);
        break;
    case pf15bit:
    case pf16bit: {
        const bool six = Format == pf16bit;
        for (int x = From; x < To; ++x, s += 4) {
            const unsigned v = six ? ((s[2] >> 3) << 11) | ((s[1] >> 2) << 5) | (s[0] >> 3)
                                   : ((s[2] >> 3) << 10) | ((s[1] >> 3) << 5) | (s[0] >> 3);
            Row[2 * x] = static_cast<uint8_t>(v);
            Row[2 * x + 1] = static_cast<uint8_t>(v >> 8);
        }
        break;
    }
    case pf24bit:
        for (int x = From; x < To; ++x, s += 4) {
            uint8_t* d = Row + 3 * x;
            d[0] = s[0];
            d[1] = s[1];
            d[2] = s[2];
        }
        break;
    case pf32bit:
        if (To > From) std::memcpy(Row + 4 * From, Source, static_cast<size_t>(To - From) * 4);
        break;
    default:
        throw EInvalidGraphic("Invalid pixel format");
    }
}
