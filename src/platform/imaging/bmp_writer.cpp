#include "platform/imaging/bmp_writer.h"

#include <cstring>

#include "platform/graphics/graphic_errors.h"

namespace {

void Put16(uint8_t* p, uint32_t v) {
    p[0] = static_cast<uint8_t>(v);
    p[1] = static_cast<uint8_t>(v >> 8);
}
void Put32(uint8_t* p, uint32_t v) {
    Put16(p, v);
    Put16(p + 2, v >> 16);
}

} // namespace

BITMAPINFOHEADER DIBHeaderOf(const TDIBImage& Image) {
    BITMAPINFOHEADER h;
    h.biWidth = Image.Width;
    h.biHeight = Image.Height;
    h.biBitCount = static_cast<uint16_t>(BitsPerPixel(Image.PixelFormat));
    h.biCompression = Image.PixelFormat == pf16bit ? BI_BITFIELDS : BI_RGB;
    h.biSizeImage = static_cast<uint32_t>(Image.Bits.size());
    h.biClrUsed =
        IsIndexedFormat(Image.PixelFormat) ? static_cast<uint32_t>(Image.ColorTable.size()) : 0;
    return h;
}

void WriteBMP(TStream& Stream, const TDIBImage& Image) {
    if (Image.Empty()) throw EInvalidGraphic("Cannot save an empty bitmap");
    const BITMAPINFOHEADER h = DIBHeaderOf(Image);
    const uint32_t masks = h.biCompression == BI_BITFIELDS ? 12 : 0;
    const uint32_t colors = h.biClrUsed * 4;
    const uint32_t offBits = 14 + 40 + masks + colors;
    if (Image.Bits.size() > 0xFFFFFFFFu - offBits)
        throw EInvalidGraphic("Bitmap is too large for a BMP file");

    std::vector<uint8_t> head(offBits, 0);
    uint8_t* p = head.data();
    p[0] = 'B';
    p[1] = 'M';
    Put32(p + 2, offBits + h.biSizeImage);
    Put32(p + 10, offBits);
    p += 14;
    Put32(p, h.biSize);
    Put32(p + 4, static_cast<uint32_t>(h.biWidth));
    Put32(p + 8, static_cast<uint32_t>(h.biHeight));
    Put16(p + 12, h.biPlanes);
    Put16(p + 14, h.biBitCount);
    Put32(p + 16, h.biCompression);
    Put32(p + 20, h.biSizeImage);
    Put32(p + 32, h.biClrUsed);
    p += 40;
    if (masks != 0) {
        Put32(p, 0xF800);
        Put32(p + 4, 0x07E0);
        Put32(p + 8, 0x001F);
        p += 12;
    }
    for (const TRGBQuad& q : Image.ColorTable) {
        if (colors == 0) break;
        p[0] = q.rgbBlue;
        p[1] = q.rgbGreen;
        p[2] = q.rgbRed;
        p += 4;
    }
    Stream.WriteBuffer(head.data(), static_cast<int64_t>(head.size()));
    Stream.WriteBuffer(Image.Bits.data(), static_cast<int64_t>(Image.Bits.size()));
}
