#include "platform/graphics/metafile.h"

void TMetafile::LoadFromStream(TStream&) {
    throw EInvalidGraphic("Metafile pictures are not supported");
}

void TMetafile::SaveToStream(TStream&) {
    throw EInvalidGraphic("Metafile pictures are not supported");
}
