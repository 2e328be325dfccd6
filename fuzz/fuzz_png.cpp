#include <cstddef>
#include <cstdint>

#include "platform/classes/exception.h"
#include "platform/imaging/decode_limits.h"
#include "platform/imaging/png_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
    SetMaxDecodeBytes(64 << 20);
    try {
        ReadPNG(Data, Size, (Size & 1) ? TPNGAlpha::Keep : TPNGAlpha::CompositeOnWhite);
    } catch (const Exception&) {
    }
    return 0;
}
