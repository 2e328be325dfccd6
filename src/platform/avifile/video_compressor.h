#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "platform/avifile/avi_types.h"
#include "platform/avifile/bitmap_format.h"

// Turns frames of one input format into the chunks of the format it writes.
class TVideoCompressor {
  public:
    virtual ~TVideoCompressor() = default;

    // Takes the frames' format; fills the stream format the chunks will have. False when
    // this compressor cannot take such frames.
    virtual bool Begin(const TBitmapFormat& Input, const AVICOMPRESSOPTIONS& Options,
                       TBitmapFormat& Output) = 0;
    // Compresses one frame (the input format's rows, bottom-up). Chunk points at the
    // result, which stays valid until the next call: the frame itself when it is stored
    // as it comes, the compressor's own buffer otherwise.
    virtual bool Compress(const uint8_t* Bits, uint32_t Size, const uint8_t*& Chunk,
                          uint32_t& ChunkSize) = 0;
    // Whether the chunks are compressed ("dc") or plain device-independent bits ("db").
    virtual bool WritesCompressedChunks() const = 0;
};

struct TCompressorInfo {
    FOURCC Code;
    const char* Name;
    std::unique_ptr<TVideoCompressor> (*Create)();
};

// The compressors this platform has, uncompressed frames first.
const std::vector<TCompressorInfo>& AvailableCompressors();
// The compressor registered under Code, letters compared without case; 0 stands for
// uncompressed frames. Nullptr when there is none.
const TCompressorInfo* FindCompressor(FOURCC Code);
