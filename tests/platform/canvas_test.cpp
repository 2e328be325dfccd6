#include <gtest/gtest.h>

#include "platform/graphics/bitmap.h"
#include "platform/graphics/canvas.h"

namespace {

// A one-row or one-column strip whose pixel i has grey level Levels[i].
void MakeStrip(TBitmap& Bitmap, const std::vector<uint8_t>& Levels, bool Vertical = false) {
    const int n = static_cast<int>(Levels.size());
    Bitmap.SetSize(Vertical ? 1 : n, Vertical ? n : 1);
    for (int i = 0; i < n; ++i) {
        uint8_t* p = Vertical ? Bitmap.ScanLine(i) : Bitmap.ScanLine(0) + 3 * i;
        p[0] = p[1] = p[2] = Levels[i];
    }
}

std::vector<uint8_t> RowLevels(TBitmap& Bitmap, int Y) {
    std::vector<uint8_t> levels;
    for (int x = 0; x < Bitmap.Width(); ++x)
        levels.push_back(Bitmap.ScanLine(Y)[3 * x]);
    return levels;
}

std::vector<uint8_t> ColumnLevels(TBitmap& Bitmap, int X) {
    std::vector<uint8_t> levels;
    for (int y = 0; y < Bitmap.Height(); ++y)
        levels.push_back(Bitmap.ScanLine(y)[3 * X]);
    return levels;
}

} // namespace

TEST(Canvas, DrawCopiesOneToOneClippedToTheTarget) {
    TBitmap source;
    MakeStrip(source, {10, 20, 30});
    struct TCase {
        int X, Y;
        std::vector<uint8_t> Row0;
    };
    const TCase cases[] = {{0, 0, {10, 20, 30, 255}},
                           {2, 0, {255, 255, 10, 20}},
                           {-2, 0, {30, 255, 255, 255}},
                           {4, 0, {255, 255, 255, 255}},
                           {0, 1, {255, 255, 255, 255}}};
    for (const TCase& c : cases) {
        SCOPED_TRACE(testing::Message() << c.X << "," << c.Y);
        TBitmap target;
        target.SetSize(4, 2);
        target.Canvas().Draw(c.X, c.Y, &source);
        EXPECT_EQ(RowLevels(target, 0), c.Row0);
    }
}

TEST(Canvas, StretchDrawRepeatsOrDropsThePixelUnderEachTargetCentre) {
    struct TCase {
        std::vector<uint8_t> Source;
        int Width;
        std::vector<uint8_t> Expected;
    };
    const TCase cases[] = {
        {{0, 255}, 4, {0, 0, 255, 255}}, // enlarging repeats, no blending
        {{0, 255}, 3, {0, 255, 255}},    // the middle centre falls on the border: right
        {{10, 20, 30, 40}, 2, {20, 40}}, // halving keeps the second of each pair
        {{10, 20, 30}, 2, {10, 30}},
        {{10, 20, 30, 40, 50}, 5, {10, 20, 30, 40, 50}}, // equal sizes copy
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Width);
        TBitmap source, target;
        MakeStrip(source, c.Source);
        target.SetSize(c.Width, 1);
        target.Canvas().StretchDraw(Rect(0, 0, c.Width, 1), &source);
        EXPECT_EQ(RowLevels(target, 0), c.Expected);
    }
}

TEST(Canvas, StretchDrawWorksAlikeOnRows) {
    TBitmap source, target;
    MakeStrip(source, {0, 100, 200}, true);
    target.SetSize(1, 6);
    target.Canvas().StretchDraw(Rect(0, 0, 1, 6), &source);
    EXPECT_EQ(ColumnLevels(target, 0), (std::vector<uint8_t>{0, 0, 100, 100, 200, 200}));
}

TEST(Canvas, StretchDrawIntoARectanglePartlyOutside) {
    TBitmap source, target;
    MakeStrip(source, {1, 2, 3, 4});
    target.SetSize(3, 1);
    // The rectangle covers columns -4 to 4: each source pixel takes two target columns.
    target.Canvas().StretchDraw(Rect(-4, 0, 4, 1), &source);
    EXPECT_EQ(RowLevels(target, 0), (std::vector<uint8_t>{3, 3, 4}));
}

TEST(Canvas, CopyRectTakesPartOfAnotherCanvas) {
    TBitmap source, target;
    MakeStrip(source, {1, 2, 3, 4, 5});
    target.SetSize(4, 1);
    target.Canvas().CopyRect(Rect(1, 0, 3, 1), source.Canvas(), Rect(2, 0, 4, 1));
    EXPECT_EQ(RowLevels(target, 0), (std::vector<uint8_t>{255, 3, 4, 255}));
}

TEST(Canvas, DrawingABitmapOntoItselfReadsTheOriginal) {
    TBitmap bitmap;
    MakeStrip(bitmap, {1, 2, 3, 4});
    bitmap.Canvas().Draw(1, 0, &bitmap);
    EXPECT_EQ(RowLevels(bitmap, 0), (std::vector<uint8_t>{1, 1, 2, 3}));
}

TEST(Canvas, DrawConvertsBetweenPixelFormats) {
    TBitmap source, target;
    MakeStrip(source, {0, 255});
    source.SetPixelFormat(pf1bit);
    target.SetPixelFormat(pf8bit);
    target.SetSize(2, 1);
    target.Canvas().Draw(0, 0, &source);
    target.SetPixelFormat(pf24bit);
    EXPECT_EQ(RowLevels(target, 0), (std::vector<uint8_t>{0, 255}));
}

TEST(Canvas, FillRectPaintsTheBrushColourInsideTheBitmapOnly) {
    TBitmap bitmap;
    bitmap.SetPixelFormat(pf4bit);
    bitmap.SetSize(5, 1);
    bitmap.Canvas().Brush.Color = clBlack;
    bitmap.Canvas().FillRect(Rect(3, -1, 9, 9));
    bitmap.SetPixelFormat(pf24bit);
    EXPECT_EQ(RowLevels(bitmap, 0), (std::vector<uint8_t>{255, 255, 255, 0, 0}));
}
