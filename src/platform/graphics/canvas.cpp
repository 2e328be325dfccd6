#include "platform/graphics/canvas.h"

#include <algorithm>
#include <cstring>
#include <optional>
#include <vector>

#include "platform/graphics/bitmap.h"
#include "platform/graphics/pixel_rows.h"

namespace {

// Source position of the Index-th of Count target pixels over a source span of Span
// pixels starting at First: the pixel under the target pixel's centre.
int64_t SourceAt(int64_t First, int64_t Index, int64_t Span, int64_t Count) {
    return First + ((2 * Index + 1) * Span) / (2 * Count);
}

bool SameColors(const TBitmap& a, const TBitmap& b) {
    return !IsIndexedFormat(a.PixelFormat()) || a.ColorTable() == b.ColorTable();
}

} // namespace

void TCanvas::Draw(int X, int Y, TGraphic* Graphic) {
    if (Graphic == nullptr || Graphic->Empty()) return;
    Graphic->Draw(*this, Rect(X, Y, X + Graphic->Width(), Y + Graphic->Height()));
}

void TCanvas::StretchDraw(const TRect& Rect, TGraphic* Graphic) {
    if (Graphic == nullptr || Graphic->Empty()) return;
    Graphic->Draw(*this, Rect);
}

void TCanvas::CopyRect(const TRect& Dest, TCanvas& Source, const TRect& Src) {
    StretchPixels(Dest, Source.target_, Src, TBlend::Copy);
}

void TCanvas::FillRect(const TRect& Rect) {
    if (target_.Empty()) return;
    const int x0 = std::max(Rect.Left, 0), x1 = std::min(Rect.Right, target_.Width());
    const int y0 = std::max(Rect.Top, 0), y1 = std::min(Rect.Bottom, target_.Height());
    if (x0 >= x1 || y0 >= y1) return;
    std::vector<uint8_t> fill(static_cast<size_t>(x1 - x0) * 4);
    for (size_t i = 0; i < fill.size(); i += 4) {
        fill[i] = GetBValue(Brush.Color);
        fill[i + 1] = GetGValue(Brush.Color);
        fill[i + 2] = GetRValue(Brush.Color);
    }
    TColorMatcher matcher(target_.ColorTable());
    for (int y = y0; y < y1; ++y)
        WriteRowBGRA(target_.PixelFormat(), fill.data(), x0, x1, &matcher, target_.ScanLine(y));
    target_.Changed();
}

void TCanvas::StretchPixels(const TRect& Dest, const TBitmap& Source, const TRect& Src,
                            TBlend Blend) {
    const int64_t dw = Dest.Width(), dh = Dest.Height(), sw = Src.Width(), sh = Src.Height();
    if (dw <= 0 || dh <= 0 || sw <= 0 || sh <= 0 || Source.Empty() || target_.Empty()) return;
    if (&Source == &target_) {
        TBitmap copy;
        copy.Assign(&Source);
        StretchPixels(Dest, copy, Src, Blend);
        return;
    }
    const int width = target_.Width(), height = target_.Height();
    const int sourceWidth = Source.Width(), sourceHeight = Source.Height();

    // Target columns whose source column lies inside the source; the mapping is monotone,
    // so they form one run.
    int x0 = std::max<int64_t>(Dest.Left, 0), x1 = std::min<int64_t>(Dest.Right, width);
    while (x0 < x1 && SourceAt(Src.Left, x0 - Dest.Left, sw, dw) < 0)
        ++x0;
    while (x0 < x1 && SourceAt(Src.Left, x1 - 1 - Dest.Left, sw, dw) >= sourceWidth)
        --x1;
    const int y0 = std::max<int64_t>(Dest.Top, 0), y1 = std::min<int64_t>(Dest.Bottom, height);
    if (x0 >= x1 || y0 >= y1) return;

    const TPixelFormat format = target_.PixelFormat();
    const int bits = BitsPerPixel(format);
    const bool direct = Blend == TBlend::Copy && dw == sw && format == Source.PixelFormat() &&
                        bits >= 8 && SameColors(target_, Source);
    std::vector<int> columns(static_cast<size_t>(x1 - x0));
    for (int x = x0; x < x1; ++x)
        columns[x - x0] = static_cast<int>(SourceAt(Src.Left, x - Dest.Left, sw, dw));

    const std::vector<TRGBQuad> sourceTable = PaddedColorTable(Source.ColorTable());
    const std::vector<TRGBQuad> targetTable = PaddedColorTable(target_.ColorTable());
    std::optional<TColorMatcher> matcher;
    if (IsIndexedFormat(format)) matcher.emplace(target_.ColorTable());
    std::vector<uint8_t> sourceRow(direct ? 0 : static_cast<size_t>(sourceWidth) * 4);
    std::vector<uint8_t> targetRow(direct ? 0 : static_cast<size_t>(width) * 4);
    int64_t lastSourceY = -1;
    for (int y = y0; y < y1; ++y) {
        const int64_t sy = SourceAt(Src.Top, y - Dest.Top, sh, dh);
        if (sy < 0 || sy >= sourceHeight) continue;
        uint8_t* row = target_.ScanLine(y);
        const uint8_t* from = Source.ScanLine(static_cast<int>(sy));
        if (direct) {
            const size_t bytes = static_cast<size_t>(bits / 8);
            std::memcpy(row + x0 * bytes, from + columns[0] * bytes, (x1 - x0) * bytes);
            continue;
        }
        if (sy != lastSourceY) {
            ReadRowBGRA(Source.PixelFormat(), from, sourceWidth, sourceTable.data(),
                        sourceRow.data());
            lastSourceY = sy;
        }
        uint8_t* out = targetRow.data() + 4 * x0;
        if (Blend == TBlend::Alpha) {
            ReadRowBGRA(format, row, x1, targetTable.data(), targetRow.data());
            for (int x = x0; x < x1; ++x, out += 4) {
                const uint8_t* s = sourceRow.data() + 4 * columns[x - x0];
                const unsigned a = s[3];
                for (int c = 0; c < 3; ++c)
                    out[c] = static_cast<uint8_t>((s[c] * a + out[c] * (255 - a) + 127) / 255);
            }
        } else {
            for (int x = x0; x < x1; ++x, out += 4)
                std::memcpy(out, sourceRow.data() + 4 * columns[x - x0], 4);
        }
        WriteRowBGRA(format, targetRow.data() + 4 * x0, x0, x1, matcher ? &*matcher : nullptr, row);
    }
    target_.Changed();
}
