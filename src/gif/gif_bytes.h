#pragma once

#include <cstdint>

// Little-endian stores into a byte buffer, as every number in a GIF file is written.
inline uint8_t* PutByte(uint8_t* Out, uint8_t Value) {
    *Out = Value;
    return Out + 1;
}

inline uint8_t* PutWord(uint8_t* Out, uint16_t Value) {
    Out[0] = static_cast<uint8_t>(Value);
    Out[1] = static_cast<uint8_t>(Value >> 8);
    return Out + 2;
}

inline uint8_t* PutLong(uint8_t* Out, uint32_t Value) {
    Out = PutWord(Out, static_cast<uint16_t>(Value));
    return PutWord(Out, static_cast<uint16_t>(Value >> 16));
}
