#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/avifile/avi_types.h"
#include "platform/classes/exception.h"
#include "platform/classes/stream.h"

// A WAV file that is not usable PCM sound.
class EInvalidAudio : public Exception {
  public:
    using Exception::Exception;
};

struct TPcmWave {
    WAVEFORMATEX Format; // wFormatTag 1, cbSize 0
    std::vector<uint8_t> Samples;
};

// Reads the PCM sound of a RIFF WAVE file: walks its chunks for "fmt " and "data", so
// longer format chunks and other chunks before the data are no trouble. Raises
// EInvalidAudio for anything but PCM (format 1, or the extensible form with the PCM
// sub-format), a file shorter than its chunks claim, no channels, no bits per sample, no
// block alignment, or sample data of 512 MiB or more. Raises the stream errors when the
// file cannot be read.
TPcmWave ReadPcmWave(const std::string& FileName);
TPcmWave ReadPcmWave(TStream& File);
