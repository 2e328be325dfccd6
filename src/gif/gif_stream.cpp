#include "gif/gif_stream.h"

#include <algorithm>
#include <cstring>

#include "platform/classes/exception.h"

int64_t TGIFStream::Read(void*, int64_t) {
    throw Exception("Invalid stream operation");
}

int64_t TGIFStream::Write(const void*, int64_t) {
    throw Exception("Invalid stream operation");
}

int64_t TGIFStream::Seek(int64_t, TSeekOrigin) {
    throw Exception("Invalid stream operation");
}

int64_t TGIFWriter::Write(const void* Buffer, int64_t Count) {
    const auto* in = static_cast<const uint8_t*>(Buffer);
    int64_t left = Count;
    while (left > 0) {
        Pending = true;
        const int64_t part = std::min<int64_t>(left, 256 - Fill);
        std::memcpy(Block + Fill, in, static_cast<size_t>(part));
        Fill += static_cast<int>(part);
        in += part;
        left -= part;
        if (Fill == 256) FlushBlock();
    }
    return Count;
}

void TGIFWriter::FlushBlock() {
    if (Fill > 1) {
        Block[0] = static_cast<uint8_t>(Fill - 1);
        TargetStream->WriteBuffer(Block, Fill);
    }
    Fill = 1;
    Pending = false;
}
