#include "gif/gif_encoder.h"

void TGIFEncoder::EncodeFrame(TStream& Stream, int Bits, int AIndexLimit, const uint8_t* APixels,
                              bool AInterlaced, int AHeight, int AWidth) {
    IndexLimit = AIndexLimit;
    MinCodeSize = static_cast<uint8_t>(Bits <= 1 ? 2 : Bits);
    TargetStream = &Stream;
    Width = AWidth;
    Height = AHeight;
    Interlaced = AInterlaced;
    Pixels = APixels;

    Stream.WriteBuffer(&MinCodeSize, 1);

    CodeSize = InitialCodeSize = MinCodeSize + 1;
    MaxCode = static_cast<int16_t>((1 << CodeSize) - 1);
    ClearCode = static_cast<int16_t>(1 << MinCodeSize);
    EndCode = static_cast<int16_t>(ClearCode + 1);
    FirstFreeCode = static_cast<int16_t>(ClearCode + 2);
    BitBuffer = 0;
    BitCount = 0;
    Row = Pass = 0;

    Writer = std::make_unique<TGIFWriter>(Stream);
    Writer->WarningHook = WarningHook;
    try {
        if (Pixels != nullptr && Height > 0 && Width > 0) EncodeData();
        WriteCode(EndCode);
    } catch (...) {
        // What was packed so far still goes out; the error is what the caller hears of.
        try {
            Writer->Close();
        } catch (...) {
        }
        Writer.reset();
        throw;
    }
    Writer->Close();
    Writer.reset();

    const uint8_t terminator = 0;
    Stream.WriteBuffer(&terminator, 1);
}

void TGIFEncoder::WriteCode(int Code) {
    PackCode(Code);
}

void TGIFEncoder::ResetCodes() {
    ClearPending = true;
    WriteCode(ClearCode);
}

void TGIFEncoder::ColorNotInTable() {
    throw GIFException("Color not in color table");
}

int TGIFEncoder::NextRow(int Current) {
    if (!Interlaced) return Current + 1 < Height ? Current + 1 : -1;
    static constexpr int step[4] = {8, 8, 4, 2};
    static constexpr int start[4] = {0, 4, 2, 1};
    Row = Current + step[Pass];
    while (Row >= Height && Pass < 3) {
        ++Pass;
        Row = start[Pass];
    }
    return Row < Height ? Row : -1;
}

void TLZWEncoder::WriteCode(int Code) {
    PackCode(Code);
    if (NextCode > MaxCode || ClearPending) {
        if (ClearPending) {
            CodeSize = InitialCodeSize;
            MaxCode = static_cast<int16_t>((1 << CodeSize) - 1);
            ClearPending = false;
        } else {
            ++CodeSize;
            MaxCode = static_cast<int16_t>(CodeSize == 12 ? 4096 : (1 << CodeSize) - 1);
        }
    }
}

void TLZWEncoder::ResetCodes() {
    ClearPending = true;
    WriteCode(ClearCode);
    CodeTable->ResetTable();
    NextCode = FirstFreeCode;
}

void TLZWEncoder::EncodeData() {
    CodeTable = std::make_unique<THashTable>();
    ResetCodes();

    int row = 0;
    const uint8_t* line = Pixels;
    if (line[0] >= IndexLimit) ColorNotInTable();
    int prefix = line[0];
    int column = 1;
    const int limit = IndexLimit;
    THashTable& table = *CodeTable;
    for (;;) {
        for (; column < Width; ++column) {
            const int c = line[column];
            if (c >= limit) {
                Prefix = static_cast<int16_t>(prefix);
                ColorNotInTable();
            }
            const uint32_t key = (static_cast<uint32_t>(prefix) << 8) | static_cast<uint32_t>(c);
            int slot;
            const int code = table.FindCode(key, slot);
            if (code >= 0) {
                prefix = code;
                continue;
            }
            TLZWEncoder::WriteCode(prefix);
            prefix = c;
            if (NextCode >= 4095) {
                TLZWEncoder::ResetCodes();
            } else {
                table.AddCodeAt(slot, key, NextCode);
                ++NextCode;
            }
        }
        row = NextRow(row);
        if (row < 0) break;
        line = Pixels + static_cast<size_t>(row) * static_cast<size_t>(Width);
        column = 0;
    }
    Prefix = static_cast<int16_t>(prefix);
    TLZWEncoder::WriteCode(Prefix);
    CodeTable.reset();
}

void TRLEEncoder::EncodeData() {
    // After a clear the decoder adds one entry per code from the second on; clearing after
    // 2^MinCodeSize - 2 codes keeps its next free code below the point where widths grow,
    // also for decoders that grow one code early.
    const int codesPerClear = (1 << MinCodeSize) - 2;
    int written = codesPerClear;
    for (int row = 0; row >= 0; row = NextRow(row)) {
        const uint8_t* line = Pixels + static_cast<size_t>(row) * static_cast<size_t>(Width);
        for (int column = 0; column < Width; ++column) {
            if (line[column] >= IndexLimit) ColorNotInTable();
            if (written == codesPerClear) {
                ResetCodes();
                written = 0;
            }
            WriteCode(line[column]);
            ++written;
        }
    }
}
