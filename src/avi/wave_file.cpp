#include "avi/wave_file.h"

#include <cstring>

#include "platform/avifile/bitmap_format.h"
#include "platform/classes/stream.h"

namespace {

constexpr uint32_t DataLimit = 512u * 1024 * 1024;
constexpr uint32_t FormatChunkLimit = 65536;
constexpr uint16_t WAVE_FORMAT_PCM = 1;
constexpr uint16_t WAVE_FORMAT_EXTENSIBLE = 0xFFFE;

[[noreturn]] void Invalid(const char* why) {
    throw EInvalidAudio(Format("Invalid PCM WAV file: %s", why));
}

WAVEFORMATEX ParseFormat(const std::vector<uint8_t>& chunk) {
    if (chunk.size() < 16) Invalid("the format chunk is too short");
    WAVEFORMATEX format;
    format.wFormatTag = GetLE16(&chunk[0]);
    format.nChannels = GetLE16(&chunk[2]);
    format.nSamplesPerSec = GetLE32(&chunk[4]);
    format.nAvgBytesPerSec = GetLE32(&chunk[8]);
    format.nBlockAlign = GetLE16(&chunk[12]);
    format.wBitsPerSample = GetLE16(&chunk[14]);
    if (format.wFormatTag == WAVE_FORMAT_EXTENSIBLE) {
        // cbSize, valid bits, channel mask, then the sub-format GUID whose first two bytes
        // give the format code.
        if (chunk.size() < 40 || GetLE16(&chunk[16]) < 22)
            Invalid("the extensible format chunk is too short");
        if (GetLE16(&chunk[24]) != WAVE_FORMAT_PCM) Invalid("the sound is not PCM");
        format.wFormatTag = WAVE_FORMAT_PCM;
    }
    if (format.wFormatTag != WAVE_FORMAT_PCM) Invalid("the sound is not PCM");
    if (format.nChannels == 0) Invalid("no channels");
    if (format.wBitsPerSample == 0) Invalid("no bits per sample");
    if (format.nBlockAlign == 0) Invalid("no block alignment");
    format.cbSize = 0;
    return format;
}

} // namespace

TPcmWave ReadPcmWave(const std::string& FileName) {
    TFileStream file(FileName, fmOpenRead);
    return ReadPcmWave(file);
}

TPcmWave ReadPcmWave(TStream& File) {
    const int64_t size = File.GetSize();
    uint8_t riff[12];
    if (size < 12 || File.Read(riff, 12) != 12) Invalid("the file is too short");
    if (std::memcmp(riff, "RIFF", 4) != 0 || std::memcmp(riff + 8, "WAVE", 4) != 0)
        Invalid("no RIFF WAVE header");

    TPcmWave wave;
    bool haveFormat = false;
    for (int64_t at = 12; at + 8 <= size;) {
        uint8_t header[8];
        File.SetPosition(at);
        File.ReadBuffer(header, 8);
        const uint32_t length = GetLE32(header + 4);
        const int64_t body = at + 8;
        if (std::memcmp(header, "fmt ", 4) == 0) {
            if (length > FormatChunkLimit || body + length > size)
                Invalid("the format chunk runs past the end");
            std::vector<uint8_t> chunk(length);
            File.ReadBuffer(chunk.data(), length);
            wave.Format = ParseFormat(chunk);
            haveFormat = true;
        } else if (std::memcmp(header, "data", 4) == 0) {
            if (!haveFormat) Invalid("the data comes before the format");
            if (length >= DataLimit) Invalid("the sound data is 512 MiB or more");
            if (body + length > size) Invalid("the file is shorter than its sound data claims");
            wave.Samples.resize(length);
            File.ReadBuffer(wave.Samples.data(), length);
            return wave;
        }
        at = body + length + (length % 2);
    }
    Invalid(haveFormat ? "no sound data" : "no format chunk");
}
