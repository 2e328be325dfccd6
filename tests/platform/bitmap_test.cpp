#include <gtest/gtest.h>

#include <cstring>

#include "platform/classes/stream.h"
#include "platform/graphics/bitmap.h"
#include "platform/graphics/canvas.h"
#include "platform/graphics/palettes.h"
#include "platform/picture_fixtures.h"

namespace {

constexpr TPixelFormat AllFormats[] = {pf1bit, pf4bit, pf8bit, pf15bit, pf16bit, pf24bit, pf32bit};

TColor PixelColor(const TBitmap& Bitmap, int X, int Y) {
    const std::vector<TRGBQuad> table = PaddedColorTable(Bitmap.ColorTable());
    std::vector<uint8_t> row(static_cast<size_t>(Bitmap.Width()) * 4);
    ReadRowBGRA(Bitmap.PixelFormat(), Bitmap.ScanLine(Y), Bitmap.Width(), table.data(), row.data());
    return RGBColor(row[4 * X + 2], row[4 * X + 1], row[4 * X]);
}

void SetPixelColor(TBitmap& Bitmap, int X, int Y, TColor Color) {
    TCanvas& canvas = Bitmap.Canvas();
    const TColor brush = canvas.Brush.Color;
    canvas.Brush.Color = Color;
    canvas.FillRect(Rect(X, Y, X + 1, Y + 1));
    canvas.Brush.Color = brush;
}

// A 24-bit picture whose every pixel has its own colour.
void FillDistinct(TBitmap& Bitmap, int Width, int Height) {
    Bitmap.SetPixelFormat(pf24bit);
    Bitmap.SetSize(Width, Height);
    for (int y = 0; y < Height; ++y)
        for (int x = 0; x < Width; ++x) {
            uint8_t* p = Bitmap.ScanLine(y) + 3 * x;
            p[0] = static_cast<uint8_t>(x * 41 + y);
            p[1] = static_cast<uint8_t>(y * 67 + 3 * x);
            p[2] = static_cast<uint8_t>(x * y * 13 + 5);
        }
}

std::vector<uint8_t> Pixels(const TBitmap& Bitmap) {
    const TDIBSection section = Bitmap.Handle();
    return std::vector<uint8_t>(section.Bits, section.Bits + section.dsBmih.biSizeImage);
}

} // namespace

TEST(Bitmap, IsEmptyUntilBothSidesAreSetAndThenWhite) {
    TBitmap bitmap;
    EXPECT_TRUE(bitmap.Empty());
    EXPECT_EQ(bitmap.PixelFormat(), pf24bit);
    bitmap.SetWidth(3);
    EXPECT_TRUE(bitmap.Empty());
    EXPECT_EQ(bitmap.Width(), 3);
    bitmap.SetHeight(2);
    ASSERT_FALSE(bitmap.Empty());
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x)
            EXPECT_EQ(PixelColor(bitmap, x, y), clWhite);
}

TEST(Bitmap, ResizingKeepsTheTopLeftAndFillsWithTheBrushInEveryFormat) {
    for (TPixelFormat format : AllFormats) {
        SCOPED_TRACE(static_cast<int>(format));
        TBitmap bitmap;
        bitmap.SetPixelFormat(format);
        bitmap.Canvas().Brush.Color = clBlack;
        bitmap.SetSize(5, 4);
        SetPixelColor(bitmap, 0, 0, clWhite);
        SetPixelColor(bitmap, 4, 3, clWhite);
        bitmap.Canvas().Brush.Color = clWhite;
        bitmap.SetSize(11, 6);
        EXPECT_EQ(PixelColor(bitmap, 0, 0), clWhite);
        EXPECT_EQ(PixelColor(bitmap, 1, 0), clBlack);
        EXPECT_EQ(PixelColor(bitmap, 4, 3), clWhite);
        EXPECT_EQ(PixelColor(bitmap, 3, 3), clBlack);
        EXPECT_EQ(PixelColor(bitmap, 10, 0), clWhite); // new area
        EXPECT_EQ(PixelColor(bitmap, 0, 5), clWhite);
        bitmap.SetSize(1, 1);
        EXPECT_EQ(PixelColor(bitmap, 0, 0), clWhite);
        bitmap.SetHeight(0);
        EXPECT_TRUE(bitmap.Empty());
        EXPECT_EQ(bitmap.PixelFormat(), format);
    }
}

TEST(Bitmap, NewAreaTakesTheBrushColourAndAnEmptiedBitmapForgetsItsPixels) {
    TBitmap bitmap;
    bitmap.SetSize(2, 2);
    bitmap.Canvas().Brush.Color = RGBColor(255, 0, 0);
    bitmap.SetWidth(0);
    bitmap.SetWidth(3);
    EXPECT_EQ(PixelColor(bitmap, 0, 0), RGBColor(255, 0, 0));
    EXPECT_EQ(PixelColor(bitmap, 2, 1), RGBColor(255, 0, 0));
}

TEST(Bitmap, ScanLineZeroIsTheTopRowStoredLast) {
    TBitmap bitmap;
    bitmap.SetSize(2, 3);
    bitmap.ScanLine(0)[0] = 7;
    const TDIBSection section = bitmap.Handle();
    EXPECT_EQ(section.Bits[2 * DIBRowBytes(2, 24)], 7);
    EXPECT_EQ(bitmap.ScanLine(1) - bitmap.ScanLine(0), -DIBRowBytes(2, 24));
    for (int y : {-1, 3}) {
        try {
            bitmap.ScanLine(y);
            ADD_FAILURE() << "row " << y << " was given";
        } catch (const EInvalidGraphic& e) {
            EXPECT_EQ(e.Message, "Scan line index out of range");
        }
    }
}

TEST(Bitmap, HandleDescribesTheDeviceIndependentBitmap) {
    struct TCase {
        TPixelFormat Format;
        uint16_t BitCount;
        uint32_t Compression;
        uint32_t ColorsUsed;
    };
    const TCase cases[] = {{pf1bit, 1, BI_RGB, 2},         {pf4bit, 4, BI_RGB, 16},
                           {pf8bit, 8, BI_RGB, 256},       {pf15bit, 16, BI_RGB, 0},
                           {pf16bit, 16, BI_BITFIELDS, 0}, {pf24bit, 24, BI_RGB, 0},
                           {pf32bit, 32, BI_RGB, 0}};
    for (const TCase& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.Format));
        TBitmap bitmap;
        bitmap.SetPixelFormat(c.Format);
        bitmap.SetSize(7, 3);
        const TDIBSection section = bitmap.Handle();
        EXPECT_EQ(section.dsBmih.biSize, 40u);
        EXPECT_EQ(section.dsBmih.biWidth, 7);
        EXPECT_EQ(section.dsBmih.biHeight, 3);
        EXPECT_EQ(section.dsBmih.biPlanes, 1);
        EXPECT_EQ(section.dsBmih.biBitCount, c.BitCount);
        EXPECT_EQ(section.dsBmih.biCompression, c.Compression);
        EXPECT_EQ(section.dsBmih.biClrUsed, c.ColorsUsed);
        EXPECT_EQ(section.dsBmih.biSizeImage, 3 * DIBRowBytes(7, c.BitCount));
        EXPECT_EQ(section.ColorTable != nullptr, c.ColorsUsed != 0);
        EXPECT_NE(section.Bits, nullptr);
        if (c.Format == pf16bit) {
            EXPECT_EQ(section.dsBitfields[1], 0x07E0u);
        }
    }
    TBitmap empty;
    EXPECT_EQ(empty.Handle().Bits, nullptr);
}

TEST(Bitmap, ConversionsThatLoseNothingRoundTripExactly) {
    // 24 -> 32 -> 24 keeps every colour; from each lower format through 24 bits and back
    // keeps every stored pixel.
    TBitmap wide;
    FillDistinct(wide, 19, 7);
    const std::vector<uint8_t> before = Pixels(wide);
    wide.SetPixelFormat(pf32bit);
    wide.SetPixelFormat(pf24bit);
    EXPECT_EQ(Pixels(wide), before);

    for (TPixelFormat format : {pf1bit, pf4bit, pf8bit, pf15bit, pf16bit}) {
        SCOPED_TRACE(static_cast<int>(format));
        TBitmap bitmap;
        FillDistinct(bitmap, 19, 7);
        bitmap.SetPixelFormat(format);
        const std::vector<uint8_t> reduced = Pixels(bitmap);
        for (TPixelFormat through : {pf24bit, pf32bit}) {
            bitmap.SetPixelFormat(through);
            bitmap.SetPixelFormat(format);
            EXPECT_EQ(Pixels(bitmap), reduced);
        }
    }
}

TEST(Bitmap, ReducingPicksTheNearestEntryOfTheTargetTable) {
    for (TPixelFormat format : {pf1bit, pf4bit, pf8bit}) {
        SCOPED_TRACE(static_cast<int>(format));
        TBitmap bitmap;
        FillDistinct(bitmap, 23, 11);
        TBitmap original;
        original.Assign(&bitmap);
        bitmap.SetPixelFormat(format);
        const std::vector<TRGBQuad>& table = bitmap.ColorTable();
        EXPECT_EQ(table, DefaultColorTable(format));
        for (int y = 0; y < 11; ++y)
            for (int x = 0; x < 23; ++x) {
                const TColor c = PixelColor(original, x, y), got = PixelColor(bitmap, x, y);
                auto distance = [&](TColor e) {
                    const int dr = GetRValue(e) - GetRValue(c), dg = GetGValue(e) - GetGValue(c),
                              db = GetBValue(e) - GetBValue(c);
                    return dr * dr + dg * dg + db * db;
                };
                int best = distance(got);
                for (const TRGBQuad& q : table)
                    best = std::min(best, distance(RGBColor(q.rgbRed, q.rgbGreen, q.rgbBlue)));
                EXPECT_EQ(distance(got), best) << x << "," << y;
            }
    }
}

TEST(Bitmap, HighColourFormatsPackTheirBits) {
    TBitmap bitmap;
    bitmap.SetSize(1, 1);
    bitmap.Canvas().Brush.Color = RGBColor(0xFF, 0x80, 0x08);
    bitmap.Canvas().FillRect(Rect(0, 0, 1, 1));
    bitmap.SetPixelFormat(pf16bit);
    EXPECT_EQ(bitmap.ScanLine(0)[0] | bitmap.ScanLine(0)[1] << 8,
              (0x1F << 11) | (0x20 << 5) | 0x01);
    bitmap.SetPixelFormat(pf15bit);
    EXPECT_EQ(bitmap.ScanLine(0)[0] | bitmap.ScanLine(0)[1] << 8,
              (0x1F << 10) | (0x10 << 5) | 0x01);
}

TEST(Bitmap, HalftonePaletteHoldsTheColourCubeAndGreys) {
    const std::vector<TRGBQuad>& table = HalftonePalette();
    ASSERT_EQ(table.size(), 256u);
    EXPECT_EQ(table[0], (TRGBQuad{0, 0, 0, 0}));
    EXPECT_EQ(table[215], (TRGBQuad{255, 255, 255, 0}));
    EXPECT_EQ(table[5 * 36], (TRGBQuad{0, 0, 255, 0})); // red
    for (size_t i = 216; i < 256; ++i)
        EXPECT_EQ(table[i].rgbRed, table[i].rgbBlue);
    for (size_t i = 0; i < 256; ++i)
        for (size_t j = i + 1; j < 256; ++j)
            ASSERT_NE(table[i], table[j]) << i << " and " << j;
}

TEST(Bitmap, ColourTableCanBeReplacedOnIndexedBitmapsOnly) {
    TBitmap bitmap;
    EXPECT_THROW(bitmap.SetColorTable({TRGBQuad{}}), EInvalidGraphic);
    bitmap.SetPixelFormat(pf4bit);
    bitmap.SetSize(2, 2);
    EXPECT_THROW(bitmap.SetColorTable(std::vector<TRGBQuad>(17)), EInvalidGraphic);
    bitmap.SetColorTable(std::vector<TRGBQuad>(16, TRGBQuad{0, 0, 255, 0}));
    EXPECT_EQ(PixelColor(bitmap, 1, 1), RGBColor(255, 0, 0));
    EXPECT_EQ(bitmap.Handle().dsBmih.biClrUsed, 16u);
    EXPECT_THROW(bitmap.SetPixelFormat(pfCustom), EInvalidGraphic);
}

TEST(Bitmap, SavesAndLoadsBMPFilesInItsOwnFormat) {
    for (TPixelFormat format : {pf8bit, pf24bit}) {
        SCOPED_TRACE(static_cast<int>(format));
        TBitmap bitmap;
        FillDistinct(bitmap, 9, 4);
        bitmap.SetPixelFormat(format);
        const std::string path = ScratchFolder() + "/saved.bmp";
        bitmap.SaveToFile(path);
        TBitmap loaded;
        loaded.LoadFromFile(path);
        EXPECT_EQ(loaded.PixelFormat(), format);
        EXPECT_EQ(loaded.ColorTable(), bitmap.ColorTable());
        EXPECT_EQ(Pixels(loaded), Pixels(bitmap));
    }
    TBitmap empty;
    TMemoryStream stream;
    EXPECT_THROW(empty.SaveToStream(stream), EInvalidGraphic);
}

TEST(Bitmap, ChangesAreNotified) {
    TBitmap bitmap;
    int changes = 0;
    bitmap.OnChange = [&](TGraphic&) { ++changes; };
    bitmap.SetSize(2, 2);
    bitmap.SetPixelFormat(pf8bit);
    bitmap.Canvas().FillRect(Rect(0, 0, 1, 1));
    EXPECT_EQ(changes, 3);
}
