#include <gtest/gtest.h>

#include <random>
#include <utility>
#include <vector>

#include "frames/frame_fixtures.h"
#include "job/image_to_video_class.h"
#include "platform/graphics/bitmap.h"

namespace {

const TBGR Black{0, 0, 0}, White{255, 255, 255};

std::vector<int> Channel0Row(const TBitmap& Bitmap, int Y) {
    std::vector<int> values;
    for (int x = 0; x < Bitmap.Width(); ++x)
        values.push_back(PixelAt(Bitmap, x, Y)[0]);
    return values;
}

std::vector<int> Channel0Column(const TBitmap& Bitmap, int X) {
    std::vector<int> values;
    for (int y = 0; y < Bitmap.Height(); ++y)
        values.push_back(PixelAt(Bitmap, X, y)[0]);
    return values;
}

bool SamePixels(const TBitmap& A, const TBitmap& B) {
    if (A.Width() != B.Width() || A.Height() != B.Height()) return false;
    for (int y = 0; y < A.Height(); ++y)
        for (int x = 0; x < A.Width(); ++x)
            if (PixelAt(A, x, y) != PixelAt(B, x, y)) return false;
    return true;
}

// A bitmap of random bytes in Format (24 or 32 bits, or 8 bits through the conversion);
// at 32 bits the fourth bytes are random too.
std::unique_ptr<TBitmap> RandomBitmap(int Width, int Height, TPixelFormat Format,
                                      std::mt19937& Random) {
    auto bitmap = MakeBitmap(Width, Height, [&Random](int, int) {
        const uint32_t bits = Random();
        return TBGR{static_cast<uint8_t>(bits), static_cast<uint8_t>(bits >> 8),
                    static_cast<uint8_t>(bits >> 16)};
    });
    bitmap->SetPixelFormat(Format);
    if (Format == pf32bit)
        for (int y = 0; y < Height; ++y)
            for (int x = 0; x < Width; ++x)
                bitmap->ScanLine(y)[4 * x + 3] = static_cast<uint8_t>(Random());
    return bitmap;
}

int BytesPerPixel(TPixelFormat Format) {
    return Format == pf32bit ? 4 : Format == pf24bit ? 3 : 1;
}

// Every byte of every row the same, the first difference named otherwise.
testing::AssertionResult SameBytes(const TBitmap& Actual, const TBitmap& Expected) {
    if (Actual.Width() != Expected.Width() || Actual.Height() != Expected.Height() ||
        Actual.PixelFormat() != Expected.PixelFormat())
        return testing::AssertionFailure() << "bitmaps differ in size or format";
    const int bytes = BytesPerPixel(Actual.PixelFormat());
    for (int y = 0; y < Actual.Height(); ++y) {
        const uint8_t* a = Actual.ScanLine(y);
        const uint8_t* e = Expected.ScanLine(y);
        for (int i = 0; i < Actual.Width() * bytes; ++i)
            if (a[i] != e[i])
                return testing::AssertionFailure()
                       << "pixel (" << i / bytes << ", " << y << ") byte " << i % bytes << ": "
                       << int{a[i]} << " instead of " << int{e[i]};
    }
    return testing::AssertionSuccess();
}

// The plain bilinear working between any formats: bitmaps that are not 24 or 32 bits are
// taken to 32 bits and back, as the resampler does.
void ReferenceBilinearAnyFormat(const TBitmap& Source, const TRect& SourceRect, TBitmap& Target,
                                const TRect& TargetRect) {
    TBitmap source;
    source.Assign(&Source);
    const TPixelFormat targetFormat = Target.PixelFormat();
    if (source.PixelFormat() != pf24bit) source.SetPixelFormat(pf32bit);
    if (targetFormat != pf24bit) Target.SetPixelFormat(pf32bit);
    ReferenceBilinear(source, SourceRect, Target, TargetRect);
    Target.SetPixelFormat(targetFormat);
}

class ResampleTest : public testing::Test {
  protected:
    IMAGE_TO_VIDEO_CLASS job;
};

} // namespace

TEST_F(ResampleTest, BlackWhitePairStretchedToFour) {
    auto source = MakeBitmap(2, 1, [](int x, int) { return x == 0 ? Black : White; });
    auto bilinear = SolidBitmap(4, 1, Black);
    EXPECT_EQ(job.ResizeBilinear(source.get(), Rect(0, 0, 2, 1), bilinear.get(), Rect(0, 0, 4, 1)),
              0);
    EXPECT_EQ(Channel0Row(*bilinear, 0), (std::vector<int>{0, 127, 255, 255}));
    EXPECT_EQ(PixelAt(*bilinear, 1, 0), (TBGR{127, 127, 127}));

    auto smooth = SolidBitmap(4, 1, Black);
    EXPECT_EQ(job.ResizeSmooth(source.get(), smooth.get()), 0);
    EXPECT_EQ(Channel0Row(*smooth, 0), (std::vector<int>{0, 63, 127, 191}));
    EXPECT_EQ(PixelAt(*smooth, 3, 0), (TBGR{191, 191, 191}));
}

TEST_F(ResampleTest, SmoothStretchesAColumnTheSameWay) {
    auto source = MakeBitmap(1, 2, [](int, int y) { return y == 0 ? Black : White; });
    auto target = SolidBitmap(1, 4, White);
    job.ResizeSmooth(source.get(), target.get());
    EXPECT_EQ(Channel0Column(*target, 0), (std::vector<int>{0, 63, 127, 191}));
}

TEST_F(ResampleTest, BilinearAtEqualSizeCopiesUnchanged) {
    auto source = MakeBitmap(37, 23, Pattern);
    auto target = SolidBitmap(37, 23, Black);
    job.ResizeBilinear(source.get(), Rect(0, 0, 37, 23), target.get(), Rect(0, 0, 37, 23));
    EXPECT_TRUE(SamePixels(*source, *target));
}

TEST_F(ResampleTest, BilinearWritesOnlyInsideTheTargetRectangle) {
    const TBGR Mark{1, 2, 3};
    auto source = SolidBitmap(5, 5, White);
    auto target = SolidBitmap(20, 10, Mark);
    job.ResizeBilinear(source.get(), Rect(0, 0, 5, 5), target.get(), Rect(3, 2, 15, 9));
    EXPECT_EQ(BoundsOf(*target, White).Left, 3);
    EXPECT_EQ(BoundsOf(*target, White).Bottom, 9);
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 20; ++x) {
            const bool inside = x >= 3 && x < 15 && y >= 2 && y < 9;
            ASSERT_EQ(PixelAt(*target, x, y), inside ? White : Mark) << x << "," << y;
        }
}

TEST_F(ResampleTest, BilinearRectanglePartlyOffTheTargetIsClipped) {
    auto source = MakeBitmap(9, 7, Pattern);
    auto target = SolidBitmap(10, 10, Black);
    job.ResizeBilinear(source.get(), Rect(0, 0, 9, 7), target.get(), Rect(-4, -3, 14, 11));
    auto whole = SolidBitmap(18, 14, Black);
    ReferenceBilinear(*source, Rect(0, 0, 9, 7), *whole, Rect(0, 0, 18, 14));
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 10; ++x)
            ASSERT_EQ(PixelAt(*target, x, y), PixelAt(*whole, x + 4, y + 3));
}

// The real resampler takes shortcuts (interpolated rows kept for reuse, double arithmetic
// where it is exact); every size pair here must still give the pixels of the plain
// extended-precision working.
TEST_F(ResampleTest, BilinearMatchesThePlainWorkingAtManySizes) {
    struct TCase {
        int SourceWidth, SourceHeight, TargetWidth, TargetHeight;
    };
    const TCase cases[] = {{320, 240, 1921, 1079}, {1920, 1080, 640, 480}, {601, 400, 639, 425},
                           {7, 3, 1000, 997},      {1000, 997, 7, 3},      {333, 333, 480, 480},
                           {1, 1, 13, 9},          {13, 1, 1, 5},          {641, 480, 640, 479}};
    for (const TCase& c : cases) {
        SCOPED_TRACE(testing::Message() << c.SourceWidth << "x" << c.SourceHeight << " -> "
                                        << c.TargetWidth << "x" << c.TargetHeight);
        auto source = MakeBitmap(c.SourceWidth, c.SourceHeight, Pattern);
        auto actual = SolidBitmap(c.TargetWidth, c.TargetHeight, Black);
        auto expected = SolidBitmap(c.TargetWidth, c.TargetHeight, Black);
        const TRect s = Rect(0, 0, c.SourceWidth, c.SourceHeight),
                    t = Rect(0, 0, c.TargetWidth, c.TargetHeight);
        job.ResizeBilinear(source.get(), s, actual.get(), t);
        ReferenceBilinear(*source, s, *expected, t);
        EXPECT_TRUE(SamePixels(*actual, *expected));
    }
}

TEST_F(ResampleTest, SmoothMatchesThePlainWorkingAtManySizes) {
    const std::pair<TRect, TRect> cases[] = {{Rect(0, 0, 320, 240), Rect(0, 0, 1921, 1079)},
                                             {Rect(0, 0, 1920, 1080), Rect(0, 0, 640, 480)},
                                             {Rect(0, 0, 7, 3), Rect(0, 0, 500, 497)},
                                             {Rect(0, 0, 1000, 997), Rect(0, 0, 7, 3)},
                                             {Rect(0, 0, 1, 9), Rect(0, 0, 13, 4)},
                                             {Rect(0, 0, 2, 2), Rect(0, 0, 1, 1)}};
    for (const auto& [s, t] : cases) {
        SCOPED_TRACE(testing::Message() << s << " -> " << t);
        auto source = MakeBitmap(s.Width(), s.Height(), Pattern);
        auto actual = SolidBitmap(t.Width(), t.Height(), Black);
        auto expected = SolidBitmap(t.Width(), t.Height(), Black);
        job.ResizeSmooth(source.get(), actual.get());
        ReferenceSmooth(*source, *expected);
        EXPECT_TRUE(SamePixels(*actual, *expected));
    }
}

TEST_F(ResampleTest, BilinearFromAPartOfTheSource) {
    auto source = MakeBitmap(40, 30, Pattern);
    auto actual = SolidBitmap(50, 20, Black), expected = SolidBitmap(50, 20, Black);
    job.ResizeBilinear(source.get(), Rect(5, 7, 31, 29), actual.get(), Rect(2, 1, 47, 19));
    ReferenceBilinear(*source, Rect(5, 7, 31, 29), *expected, Rect(2, 1, 47, 19));
    EXPECT_TRUE(SamePixels(*actual, *expected));
}

TEST_F(ResampleTest, ShrinkingSamplesOnlyTheStepPositions) {
    // Every other column is white; halving lands on the black ones only.
    auto stripes =
        MakeBitmap(8, 4, [](int x, int y) { return x % 2 == 0 && y % 2 == 0 ? Black : White; });
    auto bilinear = SolidBitmap(4, 2, Pattern(1, 1));
    job.ResizeBilinear(stripes.get(), Rect(0, 0, 8, 4), bilinear.get(), Rect(0, 0, 4, 2));
    EXPECT_EQ(BoundsOf(*bilinear, Black), Rect(0, 0, 4, 2));
    for (int y = 0; y < 2; ++y)
        EXPECT_EQ(Channel0Row(*bilinear, y), (std::vector<int>{0, 0, 0, 0}));

    // Smooth steps by (8 - 1) / 4 = 1.75 columns: positions 0, 1.75, 3.5, 5.25.
    auto smooth = SolidBitmap(4, 1, Black);
    auto ramp = MakeBitmap(8, 1, [](int x, int) {
        return TBGR{static_cast<uint8_t>(x * 32), 0, 0};
    });
    job.ResizeSmooth(ramp.get(), smooth.get());
    EXPECT_EQ(Channel0Row(*smooth, 0), (std::vector<int>{0, 56, 112, 168}));
}

TEST_F(ResampleTest, SmoothWritesEveryPixelAndKeepsAFlatColour) {
    const TBGR colour{10, 200, 99};
    auto source = SolidBitmap(17, 5, colour);
    auto target = SolidBitmap(50, 33, White);
    job.ResizeSmooth(source.get(), target.get());
    EXPECT_EQ(BoundsOf(*target, colour), Rect(0, 0, 50, 33));
}

TEST_F(ResampleTest, SmoothSourceOfOnePixel) {
    auto source = SolidBitmap(1, 1, TBGR{9, 8, 7});
    auto target = SolidBitmap(6, 4, White);
    job.ResizeSmooth(source.get(), target.get());
    EXPECT_EQ(BoundsOf(*target, TBGR{9, 8, 7}), Rect(0, 0, 6, 4));
}

TEST_F(ResampleTest, SmoothRefusesBitmapsThatAreNot24Bit) {
    auto source = SolidBitmap(4, 4, White);
    auto target = SolidBitmap(4, 4, White);
    target->SetPixelFormat(pf32bit);
    EXPECT_THROW(job.ResizeSmooth(source.get(), target.get()), EInvalidGraphic);
}

TEST_F(ResampleTest, BilinearKeepsThePixelFormatsOfBothBitmaps) {
    auto source = MakeBitmap(6, 6, Pattern);
    source->SetPixelFormat(pf8bit);
    auto target = SolidBitmap(12, 12, White);
    target->SetPixelFormat(pf16bit);
    job.ResizeBilinear(source.get(), Rect(0, 0, 6, 6), target.get(), Rect(0, 0, 12, 12));
    EXPECT_EQ(source->PixelFormat(), pf8bit);
    EXPECT_EQ(target->PixelFormat(), pf16bit);
}

TEST_F(ResampleTest, BilinearWithinOneBitmap) {
    auto bitmap = MakeBitmap(8, 8, Pattern);
    auto expected = MakeBitmap(8, 8, Pattern);
    auto original = MakeBitmap(8, 8, Pattern);
    ReferenceBilinear(*original, Rect(0, 0, 4, 4), *expected, Rect(0, 0, 8, 8));
    job.ResizeBilinear(bitmap.get(), Rect(0, 0, 4, 4), bitmap.get(), Rect(0, 0, 8, 8));
    EXPECT_TRUE(SamePixels(*bitmap, *expected));
}

TEST_F(ResampleTest, EmptyRectanglesAndBitmapsDoNothing) {
    auto source = SolidBitmap(4, 4, White);
    auto target = SolidBitmap(4, 4, Black);
    TBitmap empty;
    EXPECT_EQ(job.ResizeBilinear(source.get(), Rect(0, 0, 4, 4), target.get(), Rect(2, 2, 2, 4)),
              0);
    EXPECT_EQ(job.ResizeBilinear(&empty, Rect(0, 0, 0, 0), target.get(), Rect(0, 0, 4, 4)), 0);
    EXPECT_EQ(job.ResizeSmooth(&empty, target.get()), 0);
    EXPECT_EQ(job.ResizeSmooth(source.get(), &empty), 0);
    EXPECT_EQ(BoundsOf(*target, Black), Rect(0, 0, 4, 4));
}

TEST_F(ResampleTest, BilinearSourceRectangleOutsideTheSourceIsRefused) {
    auto source = SolidBitmap(4, 4, White);
    auto target = SolidBitmap(4, 4, Black);
    EXPECT_THROW(job.ResizeBilinear(source.get(), Rect(0, 0, 5, 4), target.get(), Rect(0, 0, 4, 4)),
                 EInvalidGraphic);
}

// Random pictures leave no slack: a wrong weight, neighbour, rounding or skipped row shows
// as a wrong byte. Target pixels outside the rectangle start random and must stay so.
TEST_F(ResampleTest, BilinearMatchesThePlainWorkingOnRandomPictures) {
    struct TCase {
        int SourceWidth, SourceHeight;
        TRect SourceRect;
        int TargetWidth, TargetHeight;
        TRect TargetRect;
        TPixelFormat SourceFormat = pf24bit, TargetFormat = pf24bit;
    };
    const TCase cases[] = {
        {1920, 1080, Rect(0, 0, 1920, 1080), 640, 480, Rect(0, 0, 640, 480)},
        {1919, 1079, Rect(0, 0, 1919, 1079), 640, 480, Rect(0, 0, 640, 480)},
        {320, 240, Rect(0, 0, 320, 240), 1920, 1080, Rect(0, 0, 1920, 1080)},
        {641, 480, Rect(0, 0, 641, 480), 640, 479, Rect(0, 0, 640, 479)},
        {601, 400, Rect(0, 0, 601, 400), 639, 425, Rect(0, 0, 639, 425)},
        {37, 23, Rect(0, 0, 37, 23), 37, 23, Rect(0, 0, 37, 23)},
        {7, 3, Rect(0, 0, 7, 3), 301, 199, Rect(0, 0, 301, 199)},
        {1000, 997, Rect(0, 0, 1000, 997), 7, 3, Rect(0, 0, 7, 3)},
        {3, 3, Rect(0, 0, 3, 3), 1000, 2, Rect(0, 0, 1000, 2)},
        {1, 1, Rect(0, 0, 1, 1), 5, 7, Rect(0, 0, 5, 7)},
        {1, 9, Rect(0, 0, 1, 9), 4, 3, Rect(0, 0, 4, 3)},
        {9, 1, Rect(0, 0, 9, 1), 3, 4, Rect(0, 0, 3, 4)},
        {13, 7, Rect(0, 0, 13, 7), 1, 1, Rect(0, 0, 1, 1)},
        {6, 5, Rect(0, 0, 6, 5), 1, 8, Rect(0, 0, 1, 8)},
        {40, 30, Rect(5, 7, 31, 29), 50, 20, Rect(2, 1, 47, 19)},
        {50, 40, Rect(0, 0, 50, 40), 60, 30, Rect(-7, -5, 71, 44)},
        {50, 40, Rect(0, 0, 50, 40), 60, 30, Rect(55, 20, 90, 70)},
        {50, 40, Rect(0, 0, 50, 40), 60, 30, Rect(70, 0, 90, 10)},
        // Rectangles of over 2^24 pixels a side, mostly off the bitmap: steps so small that
        // the weights need more bits than a double offers.
        {2, 2, Rect(0, 0, 2, 2), 6, 4, Rect(0, 0, 16777217, 16777217)},
        {5, 3, Rect(0, 0, 5, 3), 6, 4, Rect(-2, -1, 33554435, 9)},
        {91, 67, Rect(0, 0, 91, 67), 200, 150, Rect(0, 0, 200, 150), pf32bit, pf24bit},
        {91, 67, Rect(0, 0, 91, 67), 45, 31, Rect(0, 0, 45, 31), pf24bit, pf32bit},
        {91, 67, Rect(0, 0, 91, 67), 91, 67, Rect(0, 0, 91, 67), pf32bit, pf32bit},
        {91, 67, Rect(0, 0, 91, 67), 120, 80, Rect(-10, 3, 110, 90), pf32bit, pf32bit},
        {64, 48, Rect(0, 0, 64, 48), 100, 70, Rect(0, 0, 100, 70), pf8bit, pf24bit},
        {64, 48, Rect(0, 0, 64, 48), 100, 70, Rect(5, 5, 95, 60), pf24bit, pf8bit},
    };
    std::mt19937 random(20240611);
    for (const TCase& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << c.SourceWidth << "x" << c.SourceHeight << " " << c.SourceRect << " -> "
                     << c.TargetWidth << "x" << c.TargetHeight << " " << c.TargetRect << " formats "
                     << int{c.SourceFormat} << ", " << int{c.TargetFormat});
        auto source = RandomBitmap(c.SourceWidth, c.SourceHeight, c.SourceFormat, random);
        auto actual = RandomBitmap(c.TargetWidth, c.TargetHeight, c.TargetFormat, random);
        TBitmap expected;
        expected.Assign(actual.get());
        ReferenceBilinearAnyFormat(*source, c.SourceRect, expected, c.TargetRect);
        job.ResizeBilinear(source.get(), c.SourceRect, actual.get(), c.TargetRect);
        EXPECT_TRUE(SameBytes(*actual, expected));
        EXPECT_EQ(source->PixelFormat(), c.SourceFormat);
    }
}

// A step of 2 / 40370176 gives target column 1 the weights 1 - 2^-24 and 13944699 * 2^-48,
// so that 64 and 77 blend to 64 - 2^-48: extended precision keeps it below 64, a double
// would round it up to 64.
TEST_F(ResampleTest, BilinearSumJustBelowAWholeNumberStaysBelowIt) {
    auto source = MakeBitmap(2, 1, [](int x, int) {
        return x == 0 ? TBGR{64, 64, 64} : TBGR{77, 77, 77};
    });
    auto target = SolidBitmap(2, 1, Black);
    job.ResizeBilinear(source.get(), Rect(0, 0, 2, 1), target.get(), Rect(0, 0, 40370176, 1));
    EXPECT_EQ(Channel0Row(*target, 0), (std::vector<int>{64, 63}));
}

TEST_F(ResampleTest, SmoothMatchesThePlainWorkingOnRandomPictures) {
    struct TCase {
        int SourceWidth, SourceHeight, TargetWidth, TargetHeight;
    };
    const TCase cases[] = {{1920, 1080, 640, 480}, {320, 240, 1920, 1080}, {1919, 1079, 640, 480},
                           {641, 480, 640, 479},   {37, 23, 37, 23},       {1000, 997, 7, 3},
                           {7, 3, 301, 199},       {5, 5, 4, 4},           {3, 3, 2, 2},
                           {2, 2, 1, 1},           {13, 7, 1, 1},          {1, 1, 6, 4},
                           {1, 9, 13, 4},          {9, 1, 4, 13},          {2, 1000, 3, 5},
                           {1000, 2, 5, 3},        {100, 60, 99, 61},      {60, 100, 179, 33}};
    std::mt19937 random(7);
    for (const TCase& c : cases) {
        SCOPED_TRACE(testing::Message() << c.SourceWidth << "x" << c.SourceHeight << " -> "
                                        << c.TargetWidth << "x" << c.TargetHeight);
        auto source = RandomBitmap(c.SourceWidth, c.SourceHeight, pf24bit, random);
        auto actual = RandomBitmap(c.TargetWidth, c.TargetHeight, pf24bit, random);
        TBitmap expected;
        expected.Assign(actual.get());
        ReferenceSmooth(*source, expected);
        job.ResizeSmooth(source.get(), actual.get());
        EXPECT_TRUE(SameBytes(*actual, expected));
    }
}
