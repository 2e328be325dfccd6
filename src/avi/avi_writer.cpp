#include "avi/avi_writer.h"

#include <cstring>
#include <vector>

#include "avi/wave_file.h"
#include "platform/avifile/bitmap_format.h"
#include "platform/graphics/bitmap.h"
#include "platform/system/files.h"

namespace {

// The frame as a device-independent bitmap, or false when it does not describe one.
bool DescribeFrame(const TBitmap* frame, TDIBSection& section) {
    if (frame == nullptr) return false;
    section = frame->Handle();
    return section.Bits != nullptr && section.dsBmih.biSizeImage != 0;
}

std::vector<uint8_t> StreamFormat(const TDIBSection& section) {
    TBitmapFormat format;
    format.Header = section.dsBmih;
    const uint32_t colours = section.ColorTable != nullptr ? section.dsBmih.biClrUsed : 0;
    format.Header.biClrUsed = colours;
    const auto* table = reinterpret_cast<const uint8_t*>(section.ColorTable);
    if (colours != 0) format.ColourTable.assign(table, table + 4 * colours);
    return format.Serialize();
}

HRESULT Fail(AVI_WRITER_CLASS* writer, HRESULT result) {
    writer->Failed = true;
    return result;
}

HRESULT MakeVideoStream(AVI_WRITER_CLASS* writer, const TDIBSection& section) {
    AVISTREAMINFO info;
    info.fccType = streamtypeVIDEO;
    info.dwScale = writer->VideoScale;
    info.dwRate = writer->VideoRate;
    info.dwSuggestedBufferSize = section.dsBmih.biSizeImage;
    info.rcFrame = {0, 0, section.dsBmih.biWidth, section.dsBmih.biHeight};
    const HRESULT result = AVIFileCreateStream(writer->AviFile, &writer->VideoStream, &info);
    return result == AVIERR_OK ? result : Fail(writer, result);
}

} // namespace

AVI_WRITER_CLASS* OpenWriter(const char* FileName, double TimeScale, double RateFactor) {
    AVIFileInit();
    PAVIFILE file = nullptr;
    if (AVIFileOpen(&file, FileName, OF_WRITE | OF_CREATE, nullptr) != AVIERR_OK) {
        AVIFileExit();
        return nullptr;
    }
    auto* writer = new AVI_WRITER_CLASS;
    writer->AviFile = file;
    writer->VideoScale = static_cast<uint32_t>(static_cast<long double>(TimeScale));
    writer->VideoRate = static_cast<uint32_t>(static_cast<long double>(TimeScale) *
                                              static_cast<long double>(RateFactor));
    return writer;
}

HRESULT PrepareVideoStream(AVI_WRITER_CLASS* Writer, const TBitmap* Frame,
                           const AVICOMPRESSOPTIONS* Options, bool ShowCodecWindow, void* Parent) {
    if (Writer == nullptr) return AVIERR_BADHANDLE;
    TDIBSection section;
    if (!DescribeFrame(Frame, section)) return AVIERR_BADPARAM;
    if (Writer->Failed) return AVIERR_ERROR;
    if (Writer->CompressedStream != nullptr) return AVIERR_COMPRESSOR;
    if (Writer->VideoStream == nullptr)
        if (const HRESULT result = MakeVideoStream(Writer, section); result != AVIERR_OK)
            return result;

    AVICOMPRESSOPTIONS options = Options != nullptr ? *Options : AVICOMPRESSOPTIONS{};
    AVICOMPRESSOPTIONS* optionList[1] = {&options};
    if (ShowCodecWindow && !AVISaveOptions(Parent, ICMF_CHOOSE_KEYFRAME | ICMF_CHOOSE_DATARATE, 1,
                                           &Writer->VideoStream, optionList)) {
        AVISaveOptionsFree(1, optionList);
        return Fail(Writer, AVIERR_USERABORT);
    }
    const HRESULT made =
        AVIMakeCompressedStream(&Writer->CompressedStream, Writer->VideoStream, &options, nullptr);
    AVISaveOptionsFree(1, optionList);
    if (made != AVIERR_OK) return Fail(Writer, made);

    const std::vector<uint8_t> format = StreamFormat(section);
    const HRESULT set = AVIStreamSetFormat(Writer->CompressedStream, 0, format.data(),
                                           static_cast<int32_t>(format.size()));
    return set == AVIERR_OK ? set : Fail(Writer, set);
}

HRESULT WriteWaveAudio(AVI_WRITER_CLASS* Writer, const char* FileName) {
    if (Writer == nullptr) return AVIERR_BADHANDLE;
    if (FileName == nullptr) return AVIERR_BADPARAM;
    if (Writer->Failed) return AVIERR_ERROR;
    if (!FileExists(FileName)) return Fail(Writer, AVIERR_FILEOPEN);
    TPcmWave wave;
    try {
        wave = ReadPcmWave(FileName);
    } catch (const EStreamError&) {
        return Fail(Writer, AVIERR_FILEOPEN);
    }
    Writer->AudioFormat = wave.Format;
    const WAVEFORMATEX& f = Writer->AudioFormat;
    AVISTREAMINFO info;
    info.fccType = streamtypeAUDIO;
    info.dwScale = f.nBlockAlign;
    info.dwRate = static_cast<uint32_t>(f.nBlockAlign) * f.nSamplesPerSec;
    info.dwQuality = 0xFFFFFFFF;
    info.dwSampleSize = f.nBlockAlign;
    if (const HRESULT made = AVIFileCreateStream(Writer->AviFile, &Writer->AudioStream, &info);
        made != AVIERR_OK)
        return Fail(Writer, made);
    std::vector<uint8_t> format;
    PutLE16(format, f.wFormatTag);
    PutLE16(format, f.nChannels);
    PutLE32(format, f.nSamplesPerSec);
    PutLE32(format, f.nAvgBytesPerSec);
    PutLE16(format, f.nBlockAlign);
    PutLE16(format, f.wBitsPerSample);
    PutLE16(format, 0);
    if (const HRESULT set =
            AVIStreamSetFormat(Writer->AudioStream, 0, format.data(), WaveFormatExSize);
        set != AVIERR_OK)
        return Fail(Writer, set);

    const uint32_t length = static_cast<uint32_t>(wave.Samples.size());
    const uint32_t samples = ((length * 8) / f.wBitsPerSample) / f.nChannels;
    const HRESULT written =
        AVIStreamWrite(Writer->AudioStream, static_cast<int32_t>(Writer->NextSample),
                       static_cast<int32_t>(samples), wave.Samples.data(),
                       static_cast<int32_t>(length), 0, nullptr, nullptr);
    if (written != AVIERR_OK) return Fail(Writer, written);
    Writer->NextSample += samples;
    return AVIERR_OK;
}

HRESULT WriteVideoFrame(AVI_WRITER_CLASS* Writer, const TBitmap* Frame) {
    if (Writer == nullptr) return AVIERR_BADHANDLE;
    TDIBSection section;
    if (!DescribeFrame(Frame, section)) return AVIERR_BADPARAM;
    if (Writer->Failed) return AVIERR_ERROR;
    if (Writer->CompressedStream == nullptr) return Fail(Writer, AVIERR_ERROR);
    const HRESULT written = AVIStreamWrite(
        Writer->CompressedStream, static_cast<int32_t>(Writer->NextFrame), 1, section.Bits,
        static_cast<int32_t>(section.dsBmih.biSizeImage), AVIIF_KEYFRAME, nullptr, nullptr);
    if (written != AVIERR_OK) return Fail(Writer, written);
    ++Writer->NextFrame;
    return AVIERR_OK;
}

HRESULT ReleaseWriter(AVI_WRITER_CLASS* Writer) {
    if (Writer == nullptr) return AVIERR_BADHANDLE;
    for (PAVISTREAM* stream :
         {&Writer->AudioStream, &Writer->CompressedStream, &Writer->VideoStream}) {
        AVIStreamRelease(*stream);
        *stream = nullptr;
    }
    AVIFileRelease(Writer->AviFile);
    Writer->AviFile = nullptr;
    AVIFileExit();
    delete Writer;
    return AVIERR_OK;
}
