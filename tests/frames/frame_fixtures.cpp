#include "frames/frame_fixtures.h"

#include <algorithm>

std::unique_ptr<TBitmap> MakeBitmap(int Width, int Height,
                                    const std::function<TBGR(int, int)>& Color) {
    auto bitmap = std::make_unique<TBitmap>();
    bitmap->SetPixelFormat(pf24bit);
    bitmap->SetSize(Width, Height);
    for (int y = 0; y < Height; ++y) {
        uint8_t* row = bitmap->ScanLine(y);
        for (int x = 0; x < Width; ++x) {
            const TBGR c = Color(x, y);
            std::copy(c.begin(), c.end(), row + 3 * x);
        }
    }
    return bitmap;
}

std::unique_ptr<TBitmap> SolidBitmap(int Width, int Height, TBGR Color) {
    return MakeBitmap(Width, Height, [Color](int, int) { return Color; });
}

TBGR PixelAt(const TBitmap& Bitmap, int X, int Y) {
    const int bytes = Bitmap.PixelFormat() == pf32bit ? 4 : 3;
    const uint8_t* p = Bitmap.ScanLine(Y) + bytes * X;
    return {p[0], p[1], p[2]};
}

TRect BoundsOf(const TBitmap& Bitmap, TBGR Color) {
    TRect bounds{Bitmap.Width(), Bitmap.Height(), 0, 0};
    for (int y = 0; y < Bitmap.Height(); ++y)
        for (int x = 0; x < Bitmap.Width(); ++x)
            if (PixelAt(Bitmap, x, y) == Color) {
                bounds.Left = std::min(bounds.Left, x);
                bounds.Top = std::min(bounds.Top, y);
                bounds.Right = std::max(bounds.Right, x + 1);
                bounds.Bottom = std::max(bounds.Bottom, y + 1);
            }
    if (bounds.Right == 0) return TRect{};
    return bounds;
}

TBGR Pattern(int X, int Y) {
    return {static_cast<uint8_t>(X * 7 + Y * 3), static_cast<uint8_t>(X * X + Y * 11 + 40),
            static_cast<uint8_t>((X ^ Y) * 5 + 200)};
}

void ReferenceSmooth(const TBitmap& Source, TBitmap& Target) {
    const int sw = Source.Width(), sh = Source.Height(), dw = Target.Width(), dh = Target.Height();
    const int xstep = ((sw - 1) * 32768) / dw, ystep = ((sh - 1) * 32768) / dh;
    for (int y = 0; y < dh; ++y) {
        const int sy = y * ystep, iy = sy >> 15, fy = sy & 32767;
        const int iy1 = iy < sh - 1 ? iy + 1 : iy;
        for (int x = 0; x < dw; ++x) {
            const int sx = x * xstep, ix = sx >> 15, fx = sx & 32767;
            const int ix1 = ix < sw - 1 ? ix + 1 : ix;
            const int w01 = (fx * (32768 - fy)) >> 15, w00 = 32768 - fy - w01;
            const int w11 = (fx * fy) >> 15, w10 = fy - w11;
            uint8_t* out = Target.ScanLine(y) + 3 * x;
            for (int c = 0; c < 3; ++c)
                out[c] = static_cast<uint8_t>(
                    (PixelAt(Source, ix, iy)[c] * w00 + PixelAt(Source, ix1, iy)[c] * w01 +
                     PixelAt(Source, ix, iy1)[c] * w10 + PixelAt(Source, ix1, iy1)[c] * w11) >>
                    15);
        }
    }
}

void ReferenceBilinear(const TBitmap& Source, const TRect& S, TBitmap& Target, const TRect& T) {
    const int sw = S.Width(), sh = S.Height(), dw = T.Width(), dh = T.Height();
    const float xs = dw == sw ? 1.0f : static_cast<float>(static_cast<long double>(sw) / dw);
    const float ys = dh == sh ? 1.0f : static_cast<float>(static_cast<long double>(sh) / dh);
    const int bytes = Target.PixelFormat() == pf32bit ? 4 : 3;
    for (int y = std::max(T.Top, 0); y < std::min(T.Bottom, Target.Height()); ++y) {
        const int j = y - T.Top;
        float fy = static_cast<float>(S.Top + j * static_cast<long double>(ys));
        const int iy = static_cast<int>(fy);
        fy = static_cast<float>(fy - iy);
        const float wy = static_cast<float>(1 - fy);
        const int iy1 = iy + 1 < S.Bottom ? iy + 1 : iy;
        for (int x = std::max(T.Left, 0); x < std::min(T.Right, Target.Width()); ++x) {
            const int i = x - T.Left;
            float fx = static_cast<float>(S.Left + i * static_cast<long double>(xs));
            const int ix = static_cast<int>(fx);
            fx = static_cast<float>(fx - ix);
            const float wx = static_cast<float>(1 - fx);
            const int ix1 = ix + 1 < S.Right ? ix + 1 : ix;
            const TBGR p00 = PixelAt(Source, ix, iy), p01 = PixelAt(Source, ix1, iy);
            const TBGR p10 = PixelAt(Source, ix, iy1), p11 = PixelAt(Source, ix1, iy1);
            uint8_t* out = Target.ScanLine(y) + bytes * x;
            if (bytes == 4) out[3] = 0;
            for (int c = 0; c < 3; ++c) {
                const int upper = static_cast<int>(p00[c] * static_cast<long double>(wx) +
                                                   p01[c] * static_cast<long double>(fx));
                const int lower = static_cast<int>(p10[c] * static_cast<long double>(wx) +
                                                   p11[c] * static_cast<long double>(fx));
                out[c] = static_cast<uint8_t>(static_cast<int>(
                    upper * static_cast<long double>(wy) + lower * static_cast<long double>(fy)));
            }
        }
    }
}

std::ostream& operator<<(std::ostream& Out, const TRect& R) {
    return Out << "(" << R.Left << ", " << R.Top << ", " << R.Right << ", " << R.Bottom << ")";
}

std::string ReadBack(std::FILE* File) {
    std::fflush(File);
    std::rewind(File);
    std::string text;
    for (int c; (c = std::fgetc(File)) != EOF;)
        text += static_cast<char>(c);
    return text;
}
