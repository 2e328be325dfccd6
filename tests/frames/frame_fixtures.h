#pragma once

#include <array>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <memory>
#include <ostream>
#include <string>

#include "platform/graphics/bitmap.h"

using TBGR = std::array<uint8_t, 3>;

// A 24-bit bitmap whose pixel (x, y) is Color(x, y).
std::unique_ptr<TBitmap> MakeBitmap(int Width, int Height,
                                    const std::function<TBGR(int, int)>& Color);
std::unique_ptr<TBitmap> SolidBitmap(int Width, int Height, TBGR Color);
// Pixel (x, y) of a 24- or 32-bit bitmap, blue, green, red.
TBGR PixelAt(const TBitmap& Bitmap, int X, int Y);
// The smallest rectangle holding every pixel of Color; empty when there is none.
TRect BoundsOf(const TBitmap& Bitmap, TBGR Color);
// A picture of varied colours, different in every pixel and channel.
TBGR Pattern(int X, int Y);

// The bilinear resampling worked out pixel by pixel in extended precision, written
// without any of the shortcuts of the real one, between 24- or 32-bit bitmaps. Only the
// part of TargetRect that lies on Target is written; a 32-bit pixel's fourth byte is 0.
void ReferenceBilinear(const TBitmap& Source, const TRect& SourceRect, TBitmap& Target,
                       const TRect& TargetRect);
// The smooth resampling in its plain form, pixel by pixel, into all of Target.
void ReferenceSmooth(const TBitmap& Source, TBitmap& Target);

// Shows a rectangle in test failures.
std::ostream& operator<<(std::ostream& Out, const TRect& R);

// Everything written to File so far (a job's log in a temporary file).
std::string ReadBack(std::FILE* File);
