#include "gif/gif_types.h"

const TGIFVersionRec GIFVersions[2] = {{'8', '7', 'a'}, {'8', '9', 'a'}};

TGIFDrawOptions GIFImageDefaultDrawOptions = DrawOption(goAsync) | DrawOption(goTransparent) |
                                             DrawOption(goAnimate) | DrawOption(goLoop) |
                                             DrawOption(goDither) | DrawOption(goAutoDither);
TColorReduction GIFImageDefaultColorReduction = rmNetscape;
int GIFImageDefaultColorReductionBits = 8;
TDitherMode GIFImageDefaultDitherMode = dmNearest;
TGIFCompression GIFImageDefaultCompression = gcLZW;
uint8_t GIFImageDefaultThreadPriority = 3;
int GIFImageDefaultAnimationSpeed = 100;

int BitsForColors(int Colors) {
    if (Colors <= 0) return 0;
    int bits = 1;
    while ((1 << bits) < Colors)
        ++bits;
    return bits;
}
