#pragma once

#include <cstdint>

#include "gif/gif_types.h"
#include "platform/classes/stream.h"

// A write-only stage in front of a target stream. The base refuses every operation.
class TGIFStream : public TStream {
  public:
    explicit TGIFStream(TStream& Stream) : TargetStream(&Stream) {}

    // Each raises "Invalid stream operation".
    int64_t Read(void* Buffer, int64_t Count) override;
    int64_t Write(const void* Buffer, int64_t Count) override;
    int64_t Seek(int64_t Offset, TSeekOrigin Origin) override;

    TGIFWarning WarningHook;
    TStream* TargetStream;

  protected:
    // A size byte, then up to 255 data bytes.
    uint8_t Block[256] = {};
    // The next free position in Block.
    int Fill = 1;
};

// Cuts what is written into GIF data sub-blocks of at most 255 bytes, each led by its
// size byte. Close sends the last partial sub-block; it never writes an empty one.
class TGIFWriter final : public TGIFStream {
  public:
    using TGIFStream::TGIFStream;

    int64_t Write(const void* Buffer, int64_t Count) override;

    void PutByte(uint8_t Value) {
        Pending = true;
        Block[Fill++] = Value;
        if (Fill == 256) FlushBlock();
    }

    // Writes the block held so far (when it holds data) with the target's write-all.
    void FlushBlock();
    // Flushes a pending block. Called once the writer's work is done.
    void Close() {
        if (Pending) FlushBlock();
    }

  private:
    bool Pending = false;
};
