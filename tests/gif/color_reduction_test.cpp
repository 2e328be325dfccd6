#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <set>
#include <string>

#include "gif/color_reduction.h"
#include "gif/dither_engine.h"
#include "gif/reduction_palettes.h"
#include "platform/classes/stream.h"
#include "reduction_test_support.h"

using reducetest::Bitmap24;
using reducetest::Indices;
using reducetest::Palette;
using reducetest::PixelAt;
using reducetest::RGB;
using reducetest::TableColor;

namespace {

std::unique_ptr<TBitmap> Quantize(TBitmap& source) {
    return ReduceColors(source, rmQuantize, dmNearest, 8, nullptr);
}

// Every pixel of the reduced bitmap shows exactly the colour of the 24-bit source.
void ExpectSameColors(const TBitmap& reduced, const TBitmap& source24) {
    ASSERT_EQ(reduced.PixelFormat(), pf8bit);
    ASSERT_EQ(reduced.GetWidth(), source24.GetWidth());
    ASSERT_EQ(reduced.GetHeight(), source24.GetHeight());
    ASSERT_EQ(reduced.ColorTable().size(), 256u);
    for (int y = 0; y < reduced.GetHeight(); ++y)
        for (int x = 0; x < reduced.GetWidth(); ++x)
            ASSERT_EQ(TableColor(reduced, reduced.ScanLine(y)[x]), PixelAt(source24, x, y))
                << x << "," << y;
}


} // namespace

TEST(ReduceColors, FewColoursKeepTheirExactColours) {
    const std::vector<RGB> pixels{{255, 0, 0},     {0, 255, 0}, {0, 0, 255},
                                  {255, 255, 255}, {0, 0, 255}, {30, 60, 90}};
    auto source = Bitmap24(3, 2, pixels);
    auto reduced = Quantize(*source);
    ExpectSameColors(*reduced, *source);
    // Tree order: (30,60,90), (0,0,255), (0,255,0), (255,0,0), (255,255,255).
    EXPECT_EQ(Indices(*reduced), (std::vector<int>{3, 2, 1, 4, 1, 0}));
}

TEST(ReduceColors, OneColourIsIndexZero) {
    auto source = Bitmap24(4, 3, std::vector<RGB>(12, RGB{77, 88, 99}));
    auto reduced = Quantize(*source);
    EXPECT_EQ(TableColor(*reduced, 0), (RGB{77, 88, 99}));
    EXPECT_EQ(Indices(*reduced), std::vector<int>(12, 0));
}

TEST(ReduceColors, TwoColoursOfOneCellBothInThePaletteOnlyTheFirstUsed) {
    auto source = Bitmap24(3, 1, {{1, 0, 0}, {0, 0, 0}, {1, 0, 0}});
    auto reduced = Quantize(*source);
    EXPECT_EQ(TableColor(*reduced, 0), (RGB{0, 0, 0}));
    EXPECT_EQ(TableColor(*reduced, 1), (RGB{1, 0, 0}));
    EXPECT_EQ(Indices(*reduced), (std::vector<int>{0, 0, 0}));
}

TEST(ReduceColors, The257thColourMergesTheNewestPair) {
    std::vector<RGB> pixels;
    for (int r = 0; r < 256; ++r)
        pixels.push_back(RGB{uint8_t(r), 0, 0});
    pixels.push_back(RGB{0, 0, 1});
    pixels.push_back(RGB{255, 0, 0});
    pixels.push_back(RGB{7, 0, 0});
    auto source = Bitmap24(259, 1, pixels);
    auto reduced = Quantize(*source);
    const std::vector<int> indices = Indices(*reduced);
    // Entries: 0 = (0,0,0), 1 = (0,0,1), r + 1 = (r,0,0) for r up to 253, 255 = the mean
    // of 254 and 255. Each colour gets the lowest entry of its 5-5-5 cell.
    EXPECT_EQ(TableColor(*reduced, 1), (RGB{0, 0, 1}));
    EXPECT_EQ(TableColor(*reduced, 255), (RGB{254, 0, 0}));
    for (int r = 0; r < 256; ++r)
        EXPECT_EQ(indices[r], r < 8 ? 0 : (r & ~7) + 1) << r;
    EXPECT_EQ(indices[256], 0);   // (0, 0, 1)
    EXPECT_EQ(indices[257], 249); // 255 is in the cell that starts at entry 249 = (248, 0, 0)
    EXPECT_EQ(indices[258], 0);
}

TEST(ReduceColors, TheSerpentineWalkDecidesCellsWithoutEntries) {
    // Cell (1, 0, 0) holds no entry; (8, 0, 0) is nearer to entry 0, (15, 0, 0) to entry 1.
    // Whichever the walk meets first decides for both.
    const TPalette palette = Palette({{0, 0, 0}, {20, 0, 0}, {200, 200, 200}});
    auto source = Bitmap24(2, 2, {{8, 0, 0}, {15, 0, 0}, {8, 0, 0}, {15, 0, 0}});
    auto firstRow = ReduceColors(*source, rmPalette, dmNearest, 8, &palette);
    EXPECT_EQ(Indices(*firstRow), (std::vector<int>{0, 0, 0, 0}));

    auto secondRow = Bitmap24(2, 2, {{200, 200, 200}, {200, 200, 200}, {8, 0, 0}, {15, 0, 0}});
    auto reduced = ReduceColors(*secondRow, rmPalette, dmNearest, 8, &palette);
    EXPECT_EQ(Indices(*reduced), (std::vector<int>{2, 2, 1, 1}));
}

// Many colours, so that the matcher's empty cells are decided by the order of the walk:
// the result is what the plain engine gives on the octree palette, pixel for pixel.
TEST(ReduceColors, ManyColoursMatchThePlainEngineOnTheOctreePalette) {
    for (auto [width, height] : {std::pair{61, 47}, std::pair{1, 9}, std::pair{9, 1}}) {
        auto source = reducetest::PhotoLike(width, height, 11);
        auto reduced = Quantize(*source);
        TDIBReader reader(*source, pf24bit);
        const TPalette palette = BuildOctreePalette(reader, 256, 8, false);
        for (int i = 0; i < 256; ++i)
            ASSERT_EQ(TableColor(*reduced, i),
                      (RGB{palette[i].peRed, palette[i].peGreen, palette[i].peBlue}));
        TFastColorLookup lookup(palette);
        TDitherEngine engine(width, lookup);
        std::vector<int> expected(static_cast<size_t>(width) * height);
        TGIFColor chosen;
        for (int y = 0; y < height; ++y) {
            const uint8_t* row = reader.RowAt(y);
            for (int x = engine.GetColumn(); x >= 0 && x < width; x += engine.GetStep())
                expected[static_cast<size_t>(y) * width + x] =
                    engine.DitherPixel(row[3 * x + 2], row[3 * x + 1], row[3 * x], chosen);
            engine.AdvanceRow();
        }
        EXPECT_EQ(Indices(*reduced), expected) << width << " x " << height;
    }
}

TEST(ReduceColors, EverySourcePixelFormatIsReadAsTwentyFourBits) {
    // Black and white survive every format.
    const std::vector<RGB> pixels{{0, 0, 0}, {255, 255, 255}, {255, 255, 255},
                                  {0, 0, 0}, {0, 0, 0},       {255, 255, 255}};
    for (TPixelFormat format :
         {pf1bit, pf4bit, pf8bit, pf15bit, pf16bit, pf24bit, pf32bit, pfDevice}) {
        auto source = Bitmap24(3, 2, pixels);
        source->SetPixelFormat(format);
        auto reduced = Quantize(*source);
        EXPECT_EQ(source->PixelFormat(), pf24bit) << format;
        ExpectSameColors(*reduced, *source);
        EXPECT_EQ(Indices(*reduced), (std::vector<int>{0, 1, 1, 0, 0, 1})) << format;
    }
}

TEST(ReduceColors, RichSourcesInEveryFormatMatchTheirTwentyFourBitSelves) {
    for (TPixelFormat format : {pf4bit, pf8bit, pf15bit, pf16bit, pf32bit}) {
        auto source = reducetest::PhotoLike(37, 23, 3);
        source->SetPixelFormat(format);
        auto as24 = std::make_unique<TBitmap>();
        as24->Assign(source.get());
        as24->SetPixelFormat(pf24bit);
        auto fromFormat = Quantize(*source);
        auto from24 = Quantize(*as24);
        EXPECT_EQ(Indices(*fromFormat), Indices(*from24)) << format;
        EXPECT_EQ(fromFormat->ColorTable(), from24->ColorTable()) << format;
    }
}

TEST(ReduceColors, ThePaletteOfEachMethod) {
    auto source = Bitmap24(2, 1, {{255, 128, 0}, {250, 250, 250}});
    struct Case {
        TColorReduction method;
        std::vector<int> indices;
        std::vector<std::pair<int, RGB>> entries;
    };
    const std::vector<Case> cases{
        {rmNetscape, {192, 172}, {{192, {255, 102, 0}}, {172, {204, 204, 204}}, {1, {0, 0, 51}}}},
        {rmGrayScale, {(77 * 255 + 150 * 128) >> 8, 250}, {{0, {0, 0, 0}}, {255, {255, 255, 255}}}},
        {rmMonochrome, {1, 1}, {{0, {0, 0, 0}}, {1, {255, 255, 255}}, {2, {0, 0, 0}}}},
        // (255, 128, 0) is 255 from grey 128 and 319 from 192.
        {rmWindowsGray, {1, 3}, {{1, {128, 128, 128}}, {2, {192, 192, 192}}, {3, {255, 255, 255}}}},
        // Olive (128, 128, 0) and yellow are both 127 away; the first wins.
        {rmWindows20, {3, 19}, {{9, {166, 202, 240}}, {19, {255, 255, 255}}, {20, {0, 0, 0}}}},
        {rmWindows256,
         {36 * 5 + 6 * 3, 215},
         {{215, {255, 255, 255}}, {216 + 39, {249, 249, 249}}}},
        {rmQuantize, {0, 1}, {{0, {255, 128, 0}}, {1, {250, 250, 250}}}},
        {rmQuantizeWindows,
         {10, 11},
         {{9, {166, 202, 240}},
          {10, {255, 128, 0}},
          {11, {250, 250, 250}},
          {245, {250, 250, 250}},
          {246, {255, 251, 240}}}},
    };
    for (const Case& c : cases) {
        auto reduced = ReduceColors(*source, c.method, dmNearest, 8, nullptr);
        ASSERT_EQ(reduced->PixelFormat(), pf8bit) << c.method;
        ASSERT_EQ(reduced->ColorTable().size(), 256u) << c.method;
        EXPECT_EQ(Indices(*reduced), c.indices) << c.method;
        for (const auto& [index, color] : c.entries)
            EXPECT_EQ(TableColor(*reduced, index), color) << c.method << " entry " << index;
    }
}

TEST(ReduceColors, ACustomPaletteBecomesTheColourTable) {
    auto source = Bitmap24(3, 1, {{0, 0, 0}, {90, 90, 90}, {250, 0, 0}});
    const TPalette palette = Palette({{255, 0, 0}, {100, 100, 100}, {0, 0, 0}});
    auto reduced = ReduceColors(*source, rmPalette, dmNearest, 8, &palette);
    EXPECT_EQ(Indices(*reduced), (std::vector<int>{2, 1, 0}));
    EXPECT_EQ(TableColor(*reduced, 0), (RGB{255, 0, 0}));
    EXPECT_EQ(TableColor(*reduced, 1), (RGB{100, 100, 100}));
    for (int i = 3; i < 256; ++i)
        EXPECT_EQ(TableColor(*reduced, i), (RGB{0, 0, 0}));
}

TEST(ReduceColors, NoneGivesATwentyFourBitCopy) {
    auto source = Bitmap24(2, 1, {{1, 2, 3}, {4, 5, 6}});
    source->SetPixelFormat(pf32bit);
    auto copy = ReduceColors(*source, rmNone, dmFloydSteinberg, 8, nullptr);
    EXPECT_EQ(copy->PixelFormat(), pf24bit);
    EXPECT_EQ(PixelAt(*copy, 1, 0), (RGB{4, 5, 6}));
    EXPECT_EQ(source->PixelFormat(), pf32bit);
}

TEST(ReduceColors, UnusableChoicesGiveAnEmptyBitmap) {
    auto source = Bitmap24(2, 1, {{1, 2, 3}, {4, 5, 6}});
    const TPalette empty;
    EXPECT_TRUE(ReduceColors(*source, rmPalette, dmNearest, 8, nullptr)->GetEmpty());
    EXPECT_TRUE(ReduceColors(*source, rmPalette, dmNearest, 8, &empty)->GetEmpty());
    EXPECT_TRUE(
        ReduceColors(*source, static_cast<TColorReduction>(77), dmNearest, 8, nullptr)->GetEmpty());
    EXPECT_TRUE(
        ReduceColors(*source, rmQuantize, static_cast<TDitherMode>(77), 8, nullptr)->GetEmpty());
}

TEST(ReduceColors, ReductionBitsSetTheColourCount) {
    auto source = reducetest::PhotoLike(40, 30);
    auto reduced = ReduceColors(*source, rmQuantize, dmNearest, 3, nullptr);
    const std::vector<int> indices = Indices(*reduced);
    EXPECT_LT(*std::max_element(indices.begin(), indices.end()), 8);
    for (int bits : {0, 9, -1, 31})
        EXPECT_EQ(reducetest::MessageOf<GIFException>([&] { ReduceColors(*source, rmQuantize, dmNearest, bits, nullptr); }),
                  "Invalid Bits Per Pixel value")
            << bits;
}

TEST(ReduceColors, AnEmptySourceRaises) {
    TBitmap empty;
    EXPECT_EQ(reducetest::MessageOf<GIFException>([&] { Quantize(empty); }), "Invalid image dimensions");
}

TEST(ReduceColors, FloydSteinbergMixesBlackAndWhiteIntoGrey) {
    auto source = Bitmap24(16, 16, std::vector<RGB>(256, RGB{128, 128, 128}));
    auto reduced = ReduceColors(*source, rmMonochrome, dmFloydSteinberg, 8, nullptr);
    const std::vector<int> indices = Indices(*reduced);
    const int white = static_cast<int>(std::count(indices.begin(), indices.end(), 1));
    EXPECT_GT(white, 96);
    EXPECT_LT(white, 160);
    for (TDitherMode mode : {dmStucki, dmSierra, dmJaJuNI, dmSteveArche, dmBurkes}) {
        auto other = ReduceColors(*source, rmMonochrome, mode, 8, nullptr);
        const std::vector<int> got = Indices(*other);
        const int count = static_cast<int>(std::count(got.begin(), got.end(), 1));
        EXPECT_GT(count, 96) << mode;
        EXPECT_LT(count, 160) << mode;
    }
}

// Pillow reads the reduced bitmap, saved as a BMP file, and finds the source's colours.
TEST(ReduceColors, PillowSeesTheSourceColoursInTheReducedBitmap) {
    const std::string python =
        std::filesystem::exists("/usr/bin/python3") ? "/usr/bin/python3" : "python3";
    if (std::system((python + " -c 'import PIL' 2>/dev/null").c_str()) != 0)
        GTEST_SKIP() << "Pillow (python3-pil) is not installed";
    // 240 colours, each in a 5-5-5 cell of its own, in a 16 x 15 picture.
    std::vector<RGB> pixels;
    for (int y = 0; y < 15; ++y)
        for (int x = 0; x < 16; ++x)
            pixels.push_back(RGB{uint8_t(((x + y) % 12) * 21), uint8_t(y * 17), uint8_t(x * 15)});
    auto source = Bitmap24(16, 15, pixels);
    auto reduced = Quantize(*source);
    const auto folder =
        std::filesystem::temp_directory_path() / ("vntrl_reduce_" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    const auto save = [&](TBitmap& bitmap, const std::string& name) {
        TMemoryStream stream;
        bitmap.SaveToStream(stream);
        std::ofstream out(folder / name, std::ios::binary);
        out.write(reinterpret_cast<const char*>(stream.Memory()), stream.GetSize());
    };
    save(*source, "source.bmp");
    save(*reduced, "reduced.bmp");
    const std::string script = "import sys\n"
                               "from PIL import Image\n"
                               "s = Image.open(sys.argv[1]).convert('RGB')\n"
                               "r = Image.open(sys.argv[2])\n"
                               "assert r.mode == 'P', r.mode\n"
                               "assert len(r.getpalette()) // 3 == 256, len(r.getpalette())\n"
                               "assert r.size == s.size\n"
                               "assert list(r.convert('RGB').getdata()) == list(s.getdata())\n"
                               "print('same')\n";
    {
        std::ofstream out(folder / "check.py");
        out << script;
    }
    const std::string command =
        python + " " + (folder / "check.py").string() + " " + (folder / "source.bmp").string() +
        " " + (folder / "reduced.bmp").string() + " > " + (folder / "out.txt").string() + " 2>&1";
    const int status = std::system(command.c_str());
    std::ifstream result(folder / "out.txt");
    const std::string output((std::istreambuf_iterator<char>(result)),
                             std::istreambuf_iterator<char>());
    std::filesystem::remove_all(folder);
    EXPECT_EQ(status, 0) << output;
    EXPECT_EQ(output, "same\n");
}
