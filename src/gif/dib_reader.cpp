#include "gif/dib_access.h"

TDIBReader::TDIBReader(TBitmap& Bitmap, TPixelFormat PixelFormat) : TDIB(Bitmap, PixelFormat) {
    Bitmap.SetPixelFormat(PixelFormat);
}
