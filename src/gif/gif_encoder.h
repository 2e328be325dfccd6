#pragma once

#include <cstdint>
#include <memory>

#include "gif/gif_stream.h"
#include "gif/gif_types.h"
#include "gif/hash_table.h"

// Turns one frame's colour indices into GIF image data: the minimum code size byte, the
// code stream packed least significant bit first and cut into sub-blocks, and the
// terminating zero-length block. Each frame gets a fresh encoder.
class TGIFEncoder {
  public:
    virtual ~TGIFEncoder() = default;

    // Pixels holds Height rows of Width indices, each below IndexLimit; it may be null
    // for a frame without pixel data. Bits is the colour depth of the frame's table.
    void EncodeFrame(TStream& Stream, int Bits, int IndexLimit, const uint8_t* Pixels,
                     bool Interlaced, int Height, int Width);

    TGIFWarning WarningHook;

  protected:
    virtual void WriteCode(int Code);
    virtual void ResetCodes();
    virtual void EncodeData() = 0;

    // Appends Code at the current width above the bits still held; whole bytes go to the
    // writer, the end code also sends the last partial byte (its unused bits are 0).
    void PackCode(int Code) {
        // Bits above BitCount are always 0: they have been shifted out.
        BitBuffer |= static_cast<uint32_t>(Code) << BitCount;
        BitCount += CodeSize;
        while (BitCount >= 8) {
            Writer->PutByte(static_cast<uint8_t>(BitBuffer));
            BitBuffer >>= 8;
            BitCount -= 8;
        }
        if (Code == EndCode && BitCount > 0) {
            Writer->PutByte(static_cast<uint8_t>(BitBuffer));
            BitBuffer = 0;
            BitCount = 0;
        }
    }

    // Raises "Color not in color table" for an index at or above IndexLimit.
    [[noreturn]] static void ColorNotInTable();

    // The row that follows Current in the walk (interlaced passes or top to bottom), or -1.
    int NextRow(int Current);

    int IndexLimit = 0;
    uint8_t MinCodeSize = 0;
    TStream* TargetStream = nullptr;
    int Width = 0;
    int Height = 0;
    bool Interlaced = false;
    const uint8_t* Pixels = nullptr;
    std::unique_ptr<TGIFWriter> Writer;
    uint32_t BitBuffer = 0;
    int BitCount = 0;
    bool ClearPending = false;
    int CodeSize = 0;
    int InitialCodeSize = 0;
    int16_t MaxCode = 0;
    int16_t ClearCode = 0;
    int16_t EndCode = 0;
    int16_t FirstFreeCode = 0;
    int Row = 0;
    int Pass = 0;
};

// The LZW encoder of the GIF standard: a string table of at most 4094 codes, code widths
// growing from MinCodeSize + 1 to 12 bits, and a clear code when the table is full.
class TLZWEncoder final : public TGIFEncoder {
  protected:
    void WriteCode(int Code) override;
    void ResetCodes() override;
    void EncodeData() override;

  private:
    int16_t Prefix = 0;
    int16_t NextCode = 0;
    std::unique_ptr<THashTable> CodeTable;
};

// Writes every pixel as its own code and clears before the code width would grow: no
// string table, larger output, the same code-stream conventions.
class TRLEEncoder final : public TGIFEncoder {
  protected:
    void EncodeData() override;
};
