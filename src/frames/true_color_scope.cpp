#include "frames/true_color_scope.h"

TTrueColorScope::TTrueColorScope(TBitmap& Bitmap)
    : bitmap_(Bitmap), original_(Bitmap.PixelFormat()),
      switched_(original_ != pf24bit && original_ != pf32bit) {
    if (switched_) bitmap_.SetPixelFormat(pf32bit);
}

TTrueColorScope::~TTrueColorScope() {
    try {
        Restore();
    } catch (...) {
        // Already leaving by an exception; the bitmap stays in 32 bits.
    }
}

void TTrueColorScope::Restore() {
    if (!switched_) return;
    switched_ = false;
    bitmap_.SetPixelFormat(original_);
}
