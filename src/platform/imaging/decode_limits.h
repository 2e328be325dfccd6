#pragma once

#include <cstdint>

// Decoders refuse a picture whose pixels would need more memory than this before they
// allocate anything. 1 GiB unless lowered (fuzz targets lower it).
int64_t MaxDecodeBytes();
void SetMaxDecodeBytes(int64_t Bytes);

// Raises EInvalidGraphic when a Kind picture of Width x Height pixels at BitsPerPixel is
// not a valid size or would exceed the limit.
void CheckDecodeSize(const char* Kind, int64_t Width, int64_t Height, int BitsPerPixel);
