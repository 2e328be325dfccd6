#include "platform/imaging/decode_limits.h"

#include "platform/classes/format.h"
#include "platform/graphics/graphic_errors.h"
#include "platform/imaging/dib_image.h"

namespace {
int64_t maxDecodeBytes = int64_t{1} << 30;
}

int64_t MaxDecodeBytes() {
    return maxDecodeBytes;
}

void SetMaxDecodeBytes(int64_t Bytes) {
    maxDecodeBytes = Bytes;
}

void CheckDecodeSize(const char* Kind, int64_t Width, int64_t Height, int BitsPerPixel) {
    if (Width <= 0 || Height <= 0 || Width > 0x7FFFFFFF || Height > 0x7FFFFFFF)
        throw EInvalidGraphic(Format("%s picture has an invalid size of %lld x %lld pixels", Kind,
                                     static_cast<long long>(Width),
                                     static_cast<long long>(Height)));
    const int64_t rowBytes = DIBRowBytes(Width, BitsPerPixel);
    if (rowBytes > maxDecodeBytes / Height)
        throw EInvalidGraphic(Format("%s picture of %lld x %lld pixels is too large to load", Kind,
                                     static_cast<long long>(Width),
                                     static_cast<long long>(Height)));
}
