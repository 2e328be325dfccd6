#include <cstddef>
#include <cstdint>

#include "avi/wave_file.h"
#include "platform/classes/stream.h"

// Reads one WAV file from memory, as the AVI compile reads the sound track.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
    try {
        TMemoryStream stream;
        stream.WriteBuffer(Data, static_cast<int64_t>(Size));
        stream.SetPosition(0);
        const TPcmWave wave = ReadPcmWave(stream);
        if (wave.Format.nBlockAlign == 0) __builtin_trap();
    } catch (const Exception&) {
    }
    return 0;
}
