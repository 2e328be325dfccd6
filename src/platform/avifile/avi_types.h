#pragma once

#include <cstdint>

#include "platform/imaging/dib_image.h"

// The records and codes of the AVI file interface, with their Video for Windows names.

using HRESULT = int32_t;
using FOURCC = uint32_t;

constexpr FOURCC MakeFourCC(char a, char b, char c, char d) {
    return static_cast<uint8_t>(a) | (static_cast<uint32_t>(static_cast<uint8_t>(b)) << 8) |
           (static_cast<uint32_t>(static_cast<uint8_t>(c)) << 16) |
           (static_cast<uint32_t>(static_cast<uint8_t>(d)) << 24);
}

constexpr HRESULT AviError(uint32_t code) {
    return static_cast<HRESULT>(code);
}

constexpr HRESULT AVIERR_OK = 0;
constexpr HRESULT AVIERR_UNSUPPORTED = AviError(0x80044065);
constexpr HRESULT AVIERR_BADFORMAT = AviError(0x80044066);
constexpr HRESULT AVIERR_MEMORY = AviError(0x80044067);
constexpr HRESULT AVIERR_BADFLAGS = AviError(0x80044069);
constexpr HRESULT AVIERR_BADPARAM = AviError(0x8004406A);
constexpr HRESULT AVIERR_BADHANDLE = AviError(0x8004406C);
constexpr HRESULT AVIERR_FILEWRITE = AviError(0x8004406E);
constexpr HRESULT AVIERR_FILEOPEN = AviError(0x8004406F);
constexpr HRESULT AVIERR_COMPRESSOR = AviError(0x80044070);
constexpr HRESULT AVIERR_NOCOMPRESSOR = AviError(0x80044071);
constexpr HRESULT AVIERR_USERABORT = AviError(0x800440C6);
constexpr HRESULT AVIERR_ERROR = AviError(0x800440C7);

constexpr uint32_t OF_WRITE = 0x0001;
constexpr uint32_t OF_CREATE = 0x1000;

constexpr uint32_t AVIIF_KEYFRAME = 0x10;

constexpr uint32_t ICMF_CHOOSE_KEYFRAME = 0x0001;
constexpr uint32_t ICMF_CHOOSE_DATARATE = 0x0002;

constexpr uint32_t AVICOMPRESSF_DATARATE = 0x0002;
constexpr uint32_t AVICOMPRESSF_KEYFRAMES = 0x0004;
constexpr uint32_t AVICOMPRESSF_VALID = 0x0008;

constexpr FOURCC streamtypeVIDEO = MakeFourCC('v', 'i', 'd', 's');
constexpr FOURCC streamtypeAUDIO = MakeFourCC('a', 'u', 'd', 's');

constexpr uint32_t BitmapInfoHeaderSize = 40;

struct WAVEFORMATEX {
    uint16_t wFormatTag = 0;
    uint16_t nChannels = 0;
    uint32_t nSamplesPerSec = 0;
    uint32_t nAvgBytesPerSec = 0;
    uint16_t nBlockAlign = 0;
    uint16_t wBitsPerSample = 0;
    uint16_t cbSize = 0;
};
constexpr uint32_t WaveFormatExSize = 18;

struct AVIRECT {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;
};

struct AVISTREAMINFO {
    FOURCC fccType = 0;
    FOURCC fccHandler = 0;
    uint32_t dwFlags = 0;
    uint32_t dwCaps = 0;
    uint16_t wPriority = 0;
    uint16_t wLanguage = 0;
    uint32_t dwScale = 0;
    uint32_t dwRate = 0;
    uint32_t dwStart = 0;
    uint32_t dwLength = 0;
    uint32_t dwInitialFrames = 0;
    uint32_t dwSuggestedBufferSize = 0;
    uint32_t dwQuality = 0;
    uint32_t dwSampleSize = 0;
    AVIRECT rcFrame;
};

struct AVICOMPRESSOPTIONS {
    FOURCC fccType = 0;
    FOURCC fccHandler = 0;
    uint32_t dwKeyFrameEvery = 0;
    uint32_t dwQuality = 0; // 0 to 10000; 0 means the compressor's default
    uint32_t dwBytesPerSecond = 0;
    uint32_t dwFlags = 0;
    void* lpFormat = nullptr;
    uint32_t cbFormat = 0;
    void* lpParms = nullptr;
    uint32_t cbParms = 0;
    uint32_t dwInterleaveEvery = 0;
};
