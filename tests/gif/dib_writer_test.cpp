#include <gtest/gtest.h>

#include <climits>
#include <functional>
#include <string>

#include "gif/dib_access.h"
#include "gif/gif_types.h"
#include "reduction_test_support.h"

using reducetest::Indices;
using reducetest::Palette;
using reducetest::PixelAt;
using reducetest::RGB;
using reducetest::MessageOf;
using reducetest::TableColor;

namespace {


} // namespace

TEST(DIBWriter, RefusesOtherFormatsAndZeroSizes) {
    TBitmap target;
    struct Case {
        TPixelFormat format;
        int width, height;
        const char* message;
    };
    const Case cases[] = {{pf4bit, 2, 2, "Unsupported PixelFormat"},
                          {pf32bit, 2, 2, "Unsupported PixelFormat"},
                          {pf8bit, 0, 2, "Invalid image dimensions"},
                          {pf24bit, 2, 0, "Invalid image dimensions"},
                          {pf8bit, -3, 2, "Invalid image dimensions"}};
    for (const Case& c : cases)
        EXPECT_EQ(
            MessageOf<GIFException>([&] { TDIBWriter(target, c.format, c.width, c.height, {}); }),
            c.message);
}

TEST(DIBWriter, EightBitsCarryThePaletteAs256Entries) {
    TBitmap target;
    {
        TPalette palette = Palette({{10, 20, 30}, {200, 100, 0}});
        palette[1].peFlags = PC_NOCOLLAPSE;
        TDIBWriter writer(target, pf8bit, 3, 2, palette);
        EXPECT_EQ(writer.GetRowBytes(), 4);
        writer.RowAt(0)[0] = 1;
        writer.RowAt(0)[2] = 7;
        writer.RowAt(1)[1] = 1;
        EXPECT_TRUE(target.GetEmpty()); // handed over on release
    }
    ASSERT_EQ(target.PixelFormat(), pf8bit);
    ASSERT_EQ(target.GetWidth(), 3);
    ASSERT_EQ(target.GetHeight(), 2);
    ASSERT_EQ(target.ColorTable().size(), 256u);
    EXPECT_EQ(TableColor(target, 0), (RGB{10, 20, 30}));
    EXPECT_EQ(TableColor(target, 1), (RGB{200, 100, 0}));
    EXPECT_EQ(target.ColorTable()[1].rgbReserved, 0); // flags dropped
    for (int i = 2; i < 256; ++i)
        EXPECT_EQ(TableColor(target, i), (RGB{0, 0, 0}));
    EXPECT_EQ(Indices(target), (std::vector<int>{1, 0, 7, 0, 1, 0}));
}

TEST(DIBWriter, APaletteOfMoreThan256EntriesGivesItsFirst256) {
    TBitmap target;
    TPalette palette(300, TPaletteEntry{1, 2, 3, 0});
    palette[255] = TPaletteEntry{9, 9, 9, 0};
    { TDIBWriter(target, pf8bit, 1, 1, palette).RowAt(0)[0] = 255; }
    ASSERT_EQ(target.ColorTable().size(), 256u);
    EXPECT_EQ(TableColor(target, 255), (RGB{9, 9, 9}));
}

TEST(DIBWriter, TwentyFourBitsAndTopDownRows) {
    for (int height : {2, -2}) {
        TBitmap target;
        {
            TDIBWriter writer(target, pf24bit, 1, height, Palette({{1, 1, 1}}));
            EXPECT_EQ(writer.GetRowBytes(), 4);
            uint8_t* top = writer.RowAt(0);
            top[0] = 3, top[1] = 2, top[2] = 1;
            uint8_t* bottom = writer.RowAt(1);
            bottom[0] = 6, bottom[1] = 5, bottom[2] = 4;
        }
        ASSERT_EQ(target.PixelFormat(), pf24bit) << height;
        EXPECT_TRUE(target.ColorTable().empty());
        EXPECT_EQ(target.GetHeight(), 2);
        EXPECT_EQ(PixelAt(target, 0, 0), (RGB{1, 2, 3})) << height;
        EXPECT_EQ(PixelAt(target, 0, 1), (RGB{4, 5, 6})) << height;
    }
}

TEST(DIBWriter, RowsOutsideTheImageRaise) {
    TBitmap target;
    TDIBWriter writer(target, pf8bit, 2, 2, {});
    for (int y : {-1, 2})
        EXPECT_EQ(MessageOf<EInvalidGraphic>([&] { writer.RowAt(y); }),
                  "Scan line index out of range");
    TDIBWriter topDown(target, pf8bit, 2, -2, {});
    EXPECT_EQ(MessageOf<EInvalidGraphic>([&] { topDown.RowAt(2); }),
              "Scan line index out of range");
}

TEST(DIBWriter, NothingIsHandedOverWithoutARow) {
    auto target = reducetest::Bitmap24(1, 1, {{5, 6, 7}});
    { TDIBWriter writer(*target, pf8bit, 4, 4, {}); }
    EXPECT_EQ(target->PixelFormat(), pf24bit);
    EXPECT_EQ(PixelAt(*target, 0, 0), (RGB{5, 6, 7}));
}

TEST(DIBWriter, MemoryBeyondReachRaisesOutOfMemory) {
    TBitmap target;
    TDIBWriter writer(target, pf24bit, INT_MAX, INT_MAX, {});
    EXPECT_EQ(MessageOf<EOutOfMemory>([&] { writer.RowAt(0); }),
              "Failed to allocate memory for GIF DIB");
}
