#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/graphics/graphic_errors.h"

// Little-endian fields of a picture held in memory. Every access is checked against the
// size; a field past the end raises EInvalidGraphic naming the picture kind.
class TByteReader {
  public:
    TByteReader(const uint8_t* Data, size_t Size, const char* Kind)
        : data_(Data), size_(Size), kind_(Kind) {}

    size_t Size() const { return size_; }
    const uint8_t* Data() const { return data_; }
    bool Has(size_t Offset, size_t Count) const {
        return Offset <= size_ && Count <= size_ - Offset;
    }

    uint8_t U8(size_t Offset) const { return Need(Offset, 1)[0]; }
    uint16_t U16(size_t Offset) const {
        const uint8_t* p = Need(Offset, 2);
        return static_cast<uint16_t>(p[0] | (p[1] << 8));
    }
    uint32_t U32(size_t Offset) const {
        const uint8_t* p = Need(Offset, 4);
        return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<uint32_t>(p[3]) << 24);
    }
    int32_t I32(size_t Offset) const { return static_cast<int32_t>(U32(Offset)); }

    const uint8_t* Need(size_t Offset, size_t Count) const;

  private:
    const uint8_t* data_;
    size_t size_;
    const char* kind_;
};
