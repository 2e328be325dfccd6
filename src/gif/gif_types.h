#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "platform/classes/persistent.h"
#include "platform/graphics/graphic.h"

enum TGIFVersion : uint8_t { gvUnknown, gv87a, gv89a };
enum TGIFSeverity : uint8_t { gsInfo, gsWarning, gsError };
enum TDisposalMethod : uint8_t { dmNone, dmNoDisposal, dmBackground, dmPrevious };
enum TGIFCompression : uint8_t { gcLZW, gcRLE };
enum TColorReduction : uint8_t {
    rmNone,
    rmWindows20,
    rmWindows256,
    rmWindowsGray,
    rmMonochrome,
    rmGrayScale,
    rmNetscape,
    rmQuantize,
    rmQuantizeWindows,
    rmPalette
};
enum TDitherMode : uint8_t {
    dmNearest,
    dmFloydSteinberg,
    dmStucki,
    dmSierra,
    dmJaJuNI,
    dmSteveArche,
    dmBurkes
};
enum TGIFDrawOption : uint8_t {
    goAsync,
    goTransparent,
    goAnimate,
    goLoop,
    goLoopContinously,
    goValidateCanvas,
    goDirectDraw,
    goClearOnLoop,
    goTile,
    goDither,
    goAutoDither
};

// A set of TGIFDrawOption, one bit per value.
using TGIFDrawOptions = uint16_t;
constexpr TGIFDrawOptions DrawOption(TGIFDrawOption Option) {
    return static_cast<TGIFDrawOptions>(1u << Option);
}

// The error of the GIF document code.
class GIFException : public EInvalidGraphic {
  public:
    using EInvalidGraphic::EInvalidGraphic;
};

// Called with every warning of a document: the object that noticed it, the severity, the text.
using TGIFWarning =
    std::function<void(TPersistent* Sender, TGIFSeverity Severity, const std::string& Message)>;

struct TGIFColor {
    uint8_t Red = 0;
    uint8_t Green = 0;
    uint8_t Blue = 0;
};

// The 3-character version texts written after "GIF".
using TGIFVersionRec = char[3];
extern const TGIFVersionRec GIFVersions[2];

// The logical screen descriptor of a GIF file.
struct TLogicalScreenDescriptor {
    uint16_t ScreenWidth = 0;
    uint16_t ScreenHeight = 0;
    uint8_t PackedFields = 0;
    uint8_t BackgroundColorIndex = 0;
    uint8_t AspectRatio = 0;
};

// The image descriptor of one frame, starting with its separator byte.
struct TImageDescriptor {
    uint8_t Separator = 0x2C;
    uint16_t Left = 0;
    uint16_t Top = 0;
    uint16_t Width = 0;
    uint16_t Height = 0;
    uint8_t PackedFields = 0;
};

// The body of a graphic control extension.
struct TGIFGCERec {
    uint8_t BlockSize = 4;
    uint8_t PackedFields = 0;
    uint16_t DelayTime = 0;
    uint8_t TransparentColorIndex = 0;
    uint8_t Terminator = 0;
};

// The body of a plain text extension.
struct TGIFPlainTextExtensionRec {
    uint8_t BlockSize = 12;
    uint16_t Left = 0;
    uint16_t Top = 0;
    uint16_t Width = 0;
    uint16_t Height = 0;
    uint8_t CellWidth = 0;
    uint8_t CellHeight = 0;
    uint8_t TextFGColorIndex = 0;
    uint8_t TextBGColorIndex = 0;
};

using TGIFIdentifierCode = char[8];
using TGIFAuthenticationCode = char[3];
struct TGIFApplicationRec {
    TGIFIdentifierCode Identifier = {};
    TGIFAuthenticationCode Authentication = {};
};

// Process-wide defaults read by every new document.
extern TGIFDrawOptions GIFImageDefaultDrawOptions;
extern TColorReduction GIFImageDefaultColorReduction;
extern int GIFImageDefaultColorReductionBits;
extern TDitherMode GIFImageDefaultDitherMode;
extern TGIFCompression GIFImageDefaultCompression;
extern uint8_t GIFImageDefaultThreadPriority;
extern int GIFImageDefaultAnimationSpeed;

// The platform's "no colour" value.
constexpr TColor clNone = 0x1FFFFFFF;

// Bits per pixel of a colour table with Colors entries: 0 for none, else the smallest
// b >= 1 with 2^b >= Colors.
int BitsForColors(int Colors);
