#include <cstddef>
#include <cstdint>

#include "platform/graphics/bitmap.h"
#include "platform/imaging/bmp_reader.h"
#include "platform/imaging/decode_limits.h"

// Decodes one BMP file and converts the result, as a loaded frame would be.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
    SetMaxDecodeBytes(64 << 20);
    try {
        TBitmap bitmap;
        bitmap.SetDIB(ReadBMP(Data, Size));
        bitmap.SetPixelFormat(bitmap.PixelFormat() == pf24bit ? pf8bit : pf24bit);
    } catch (const Exception&) {
    }
    return 0;
}
