#include "gif/color_reduction.h"

#include <optional>
#include <typeinfo>

#include "gif/color_lookup.h"
#include "gif/dib_access.h"
#include "gif/dither_engine.h"
#include "gif/reduction_palettes.h"

namespace {

constexpr int OctreeDepth = 8;

std::optional<TPalette> PaletteOfMethod(TColorReduction method, TDIBReader& reader,
                                        int reductionBits, const TPalette* customPalette) {
    switch (method) {
    case rmWindows20:
        return SystemDefaultPalette();
    case rmWindows256:
        return SystemHalftonePalette();
    case rmWindowsGray:
        return FourGrayPalette();
    case rmMonochrome:
        return BlackWhitePalette();
    case rmGrayScale:
        return GrayRampPalette();
    case rmNetscape:
        return WebPalette();
    case rmQuantize:
        if (reductionBits < 1 || reductionBits > 8)
            throw GIFException("Invalid Bits Per Pixel value");
        return BuildOctreePalette(reader, 1 << reductionBits, OctreeDepth, false);
    case rmQuantizeWindows:
        return BuildOctreePalette(reader, 256, OctreeDepth, true);
    case rmPalette:
        return customPalette != nullptr ? *customPalette : TPalette{};
    case rmNone:
        break;
    }
    return std::nullopt;
}

std::unique_ptr<TColorLookup> LookupOfMethod(TColorReduction method, const TPalette& palette) {
    switch (method) {
    case rmMonochrome:
        return std::make_unique<TMonochromeLookup>();
    case rmGrayScale:
        return std::make_unique<TGrayScaleLookup>();
    case rmNetscape:
        return std::make_unique<TNetscapeColorLookup>();
    default:
        return std::make_unique<TFastColorLookup>(palette);
    }
}

void MatchRows(TDIBReader& reader, TDIBWriter& writer, TDitherEngine& ditherer) {
    const int width = reader.GetWidth();
    const int height = reader.GetHeight();
    TGIFColor chosen;
    for (int y = 0; y < height; ++y) {
        const uint8_t* source = reader.RowAt(y);
        uint8_t* target = writer.RowAt(y);
        const int step = ditherer.GetStep();
        for (int x = ditherer.GetColumn(); x >= 0 && x < width; x += step) {
            const uint8_t* pixel = source + 3 * x;
            target[x] =
                static_cast<uint8_t>(ditherer.DitherPixel(pixel[2], pixel[1], pixel[0], chosen));
        }
        ditherer.AdvanceRow();
    }
}

// The same walk for the plain engine on the cell matcher, without a virtual call per
// pixel. The order of the matches, which decides the answers of the matcher's empty
// cells, is the engine's: even rows left to right, odd rows right to left.
void MatchRowsNearest(TDIBReader& reader, TDIBWriter& writer, TFastColorLookup& lookup) {
    const int width = reader.GetWidth();
    const int height = reader.GetHeight();
    for (int y = 0; y < height; ++y) {
        const uint8_t* source = reader.RowAt(y);
        uint8_t* target = writer.RowAt(y);
        if (y % 2 == 0) {
            for (int x = 0; x < width; ++x, source += 3)
                target[x] =
                    static_cast<uint8_t>(lookup.MatchIndex(source[2], source[1], source[0]));
        } else {
            source += 3 * (width - 1);
            for (int x = width - 1; x >= 0; --x, source -= 3)
                target[x] =
                    static_cast<uint8_t>(lookup.MatchIndex(source[2], source[1], source[0]));
        }
    }
}

} // namespace

std::unique_ptr<TBitmap> ReduceColors(TBitmap& Bitmap, TColorReduction ColorReduction,
                                      TDitherMode DitherMode, int ReductionBits,
                                      const TPalette* CustomPalette) {
    auto result = std::make_unique<TBitmap>();
    if (ColorReduction == rmNone) {
        result->Assign(&Bitmap);
        result->SetPixelFormat(pf24bit);
        return result;
    }
    TDIBReader reader(Bitmap, pf24bit);
    const std::optional<TPalette> palette =
        PaletteOfMethod(ColorReduction, reader, ReductionBits, CustomPalette);
    if (!palette) return result;
    const std::unique_ptr<TColorLookup> lookup = LookupOfMethod(ColorReduction, *palette);
    if (lookup->GetColorCount() == 0) return result;
    const std::unique_ptr<TDitherEngine> ditherer =
        CreateDitherer(DitherMode, reader.GetWidth(), *lookup);
    if (!ditherer) return result;
    {
        TDIBWriter writer(*result, pf8bit, reader.GetWidth(), reader.GetHeight(), *palette);
        auto* fastLookup = dynamic_cast<TFastColorLookup*>(lookup.get());
        if (fastLookup != nullptr && typeid(*ditherer) == typeid(TDitherEngine))
            MatchRowsNearest(reader, writer, *fastLookup);
        else
            MatchRows(reader, writer, *ditherer);
    }
    return result;
}
