#pragma once

#include <cstdint>
#include <memory>

#include "platform/avifile/avifile.h"

class TBitmap;

// One AVI file being written: a video stream compressed by the chosen codec and at most
// one PCM sound stream. After any failing step the writer refuses all further work.
struct AVI_WRITER_CLASS {
    PAVIFILE AviFile = nullptr;
    WAVEFORMATEX AudioFormat;
    uint32_t VideoScale = 0;
    uint32_t VideoRate = 0;
    PAVISTREAM AudioStream = nullptr;
    PAVISTREAM VideoStream = nullptr;
    PAVISTREAM CompressedStream = nullptr;
    uint32_t NextFrame = 0;
    uint32_t NextSample = 0;
    bool Failed = false;
};

// A new writer on a new file, or null when the file cannot be created. The video runs at
// trunc(TimeScale x RateFactor) / trunc(TimeScale) frames per second.
AVI_WRITER_CLASS* OpenWriter(const char* FileName, double TimeScale, double RateFactor);
HRESULT PrepareVideoStream(AVI_WRITER_CLASS* Writer, const TBitmap* Frame,
                           const AVICOMPRESSOPTIONS* Options, bool ShowCodecWindow, void* Parent);
// Adds the whole sound of a PCM WAV file; raises EInvalidAudio for a file that is not
// usable PCM sound, and leaves the writer usable then.
HRESULT WriteWaveAudio(AVI_WRITER_CLASS* Writer, const char* FileName);
HRESULT WriteVideoFrame(AVI_WRITER_CLASS* Writer, const TBitmap* Frame);
// Completes the file and frees the writer.
HRESULT ReleaseWriter(AVI_WRITER_CLASS* Writer);

struct AviWriterRelease {
    void operator()(AVI_WRITER_CLASS* Writer) const { ReleaseWriter(Writer); }
};
using AviWriterHandle = std::unique_ptr<AVI_WRITER_CLASS, AviWriterRelease>;
