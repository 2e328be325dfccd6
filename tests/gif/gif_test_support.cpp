#include "gif_test_support.h"

#include "gif/gif_encoder.h"

namespace giftest {

Bytes StreamBytes(TMemoryStream& Stream) {
    const uint8_t* data = Stream.Memory();
    return Bytes(data, data + Stream.GetSize());
}

SubBlocks ReadSubBlocks(const Bytes& Data, size_t Offset) {
    SubBlocks blocks;
    size_t at = Offset;
    while (at < Data.size()) {
        const int size = Data[at++];
        if (size == 0) {
            blocks.Terminated = true;
            break;
        }
        blocks.Sizes.push_back(size);
        for (int i = 0; i < size && at < Data.size(); ++i)
            blocks.Payload.push_back(Data[at++]);
    }
    blocks.End = at;
    return blocks;
}

DecodedCodes DecodeLZW(int MinCodeSize, const Bytes& Payload) {
    DecodedCodes out;
    const int clear = 1 << MinCodeSize;
    const int end = clear + 1;
    std::vector<Bytes> table;
    auto reset = [&] {
        table.assign(static_cast<size_t>(clear + 2), Bytes());
        for (int i = 0; i < clear; ++i)
            table[static_cast<size_t>(i)] = Bytes{static_cast<uint8_t>(i)};
    };
    reset();
    int width = MinCodeSize + 1;
    int previous = -1;
    size_t bitPos = 0;
    const size_t totalBits = Payload.size() * 8;
    while (bitPos + static_cast<size_t>(width) <= totalBits) {
        int code = 0;
        for (int b = 0; b < width; ++b, ++bitPos)
            code |= ((Payload[bitPos / 8] >> (bitPos % 8)) & 1) << b;
        out.Codes.push_back(code);
        out.Widths.push_back(width);
        if (code == clear) {
            reset();
            width = MinCodeSize + 1;
            previous = -1;
            continue;
        }
        if (code == end) {
            out.SawEnd = true;
            break;
        }
        Bytes entry;
        if (code < static_cast<int>(table.size()) && code != end && code != clear) {
            entry = table[static_cast<size_t>(code)];
        } else if (previous >= 0 && code == static_cast<int>(table.size())) {
            entry = table[static_cast<size_t>(previous)];
            entry.push_back(entry.front());
        } else {
            break; // a code no reader could follow
        }
        out.Pixels.insert(out.Pixels.end(), entry.begin(), entry.end());
        if (previous >= 0 && table.size() < 4096) {
            Bytes added = table[static_cast<size_t>(previous)];
            added.push_back(entry.front());
            table.push_back(added);
            if (table.size() == (size_t{1} << width) && width < 12) ++width;
        }
        previous = code;
    }
    return out;
}

Bytes EncodeFrame(int Bits, int IndexLimit, const Bytes& Pixels, int Width, int Height,
                  bool Interlaced) {
    TMemoryStream stream;
    TLZWEncoder encoder;
    encoder.EncodeFrame(stream, Bits, IndexLimit, Pixels.empty() ? nullptr : Pixels.data(),
                        Interlaced, Height, Width);
    return StreamBytes(stream);
}

Bytes Noise(int Width, int Height, int Colors, uint32_t Seed) {
    Bytes pixels(static_cast<size_t>(Width) * static_cast<size_t>(Height));
    uint32_t state = Seed * 2654435761u + 1;
    for (auto& p : pixels) {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        p = static_cast<uint8_t>(state % static_cast<uint32_t>(Colors));
    }
    return pixels;
}

Bytes Gradient(int Width, int Height, int Colors) {
    Bytes pixels(static_cast<size_t>(Width) * static_cast<size_t>(Height));
    for (int y = 0; y < Height; ++y)
        for (int x = 0; x < Width; ++x)
            pixels[static_cast<size_t>(y) * static_cast<size_t>(Width) + static_cast<size_t>(x)] =
                static_cast<uint8_t>(static_cast<long>(x + y) * Colors / (Width + Height));
    return pixels;
}

std::vector<int> InterlacedRowOrder(int Height) {
    std::vector<int> rows;
    const int start[4] = {0, 4, 2, 1};
    const int step[4] = {8, 8, 4, 2};
    for (int pass = 0; pass < 4; ++pass)
        for (int row = start[pass]; row < Height; row += step[pass])
            rows.push_back(row);
    return rows;
}

std::unique_ptr<TGIFImage> SingleFrameDocument(int Width, int Height, int Colors,
                                               const Bytes& Pixels) {
    auto image = std::make_unique<TGIFImage>();
    for (int i = 0; i < Colors; ++i) {
        const auto level = static_cast<uint8_t>(Colors > 1 ? i * 255 / (Colors - 1) : 0);
        image->GetColorMap()->Add(RGBColor(level, level, static_cast<uint8_t>(255 - level)));
    }
    auto frame = std::make_unique<TGIFSubImage>(image.get());
    frame->DoSetBounds(0, 0, static_cast<uint16_t>(Width), static_cast<uint16_t>(Height));
    if (!Pixels.empty()) frame->IndexData = Pixels;
    image->Add(std::move(frame));
    return image;
}

} // namespace giftest
