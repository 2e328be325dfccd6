#pragma once

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "gif/gif_image.h"
#include "platform/classes/stream.h"

namespace giftest {

using Bytes = std::vector<uint8_t>;

Bytes StreamBytes(TMemoryStream& Stream);

// Sub-blocks of image data read from Data at Offset, up to and including the zero block.
struct SubBlocks {
    std::vector<int> Sizes; // size byte of every block but the terminator
    Bytes Payload;          // the data bytes, joined
    size_t End = 0;         // offset just past the terminator
    bool Terminated = false;
};
SubBlocks ReadSubBlocks(const Bytes& Data, size_t Offset);

// The code stream decoded the way a GIF reader does it: every code with the width it was
// read at, and the pixels it stands for.
struct DecodedCodes {
    std::vector<int> Codes;
    std::vector<int> Widths;
    Bytes Pixels;
    bool SawEnd = false;
};
DecodedCodes DecodeLZW(int MinCodeSize, const Bytes& Payload);

// Encodes Pixels (Height rows of Width) with the LZW encoder into a fresh stream.
Bytes EncodeFrame(int Bits, int IndexLimit, const Bytes& Pixels, int Width, int Height,
                  bool Interlaced = false);

// Deterministic pseudo-random indices below Colors.
Bytes Noise(int Width, int Height, int Colors, uint32_t Seed = 1);
// A diagonal gradient through Colors indices.
Bytes Gradient(int Width, int Height, int Colors);

// The order in which an interlaced GIF stores the rows of a frame of Height rows.
std::vector<int> InterlacedRowOrder(int Height);

// A document with one frame of Width x Height holding Pixels, a global table of Colors
// grey entries and nothing else.
std::unique_ptr<TGIFImage> SingleFrameDocument(int Width, int Height, int Colors,
                                               const Bytes& Pixels);

// Takes at most Limit bytes in all, like a full disk.
class FullStream : public TMemoryStream {
  public:
    explicit FullStream(int64_t limit) : limit_(limit) {}
    int64_t Write(const void* Buffer, int64_t Count) override {
        const int64_t part = std::min(Count, limit_);
        limit_ -= part;
        return TMemoryStream::Write(Buffer, part);
    }

  private:
    int64_t limit_;
};

} // namespace giftest
