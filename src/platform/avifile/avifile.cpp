#include "platform/avifile/avifile.h"

#include <memory>
#include <vector>

#include "platform/avifile/bitmap_format.h"
#include "platform/avifile/riff_avi_file.h"
#include "platform/avifile/video_compressor.h"

class TAVIFile {
  public:
    explicit TAVIFile(std::unique_ptr<TRiffAviFile> riff) : riff_(std::move(riff)) {}
    void AddRef() { ++references_; }
    uint32_t Release() {
        const uint32_t left = --references_;
        if (left == 0) {
            riff_->Complete();
            delete this;
        }
        return left;
    }
    TRiffAviFile& Riff() { return *riff_; }

  private:
    ~TAVIFile() = default;
    std::unique_ptr<TRiffAviFile> riff_;
    uint32_t references_ = 1;
};

class TAVIStream {
  public:
    virtual HRESULT SetFormat(const uint8_t* Format, uint32_t Size) = 0;
    virtual HRESULT Write(const uint8_t* Data, uint32_t Size, uint32_t Samples, uint32_t Flags) = 0;
    void AddRef() { ++references_; }
    uint32_t Release() {
        const uint32_t left = --references_;
        if (left == 0) delete this;
        return left;
    }

  protected:
    virtual ~TAVIStream() = default;

  private:
    uint32_t references_ = 1;
};

namespace {

// A stream of the file itself: formats and chunks go to the file as they are.
class TAVIFileStream : public TAVIStream {
  public:
    TAVIFileStream(TAVIFile* file, int number) : file_(file), number_(number) { file_->AddRef(); }

    HRESULT SetFormat(const uint8_t* Format, uint32_t Size) override {
        return file_->Riff().SetFormat(number_, std::vector<uint8_t>(Format, Format + Size));
    }
    HRESULT Write(const uint8_t* Data, uint32_t Size, uint32_t Samples, uint32_t Flags) override {
        return WriteChunk(false, Data, Size, Samples, Flags);
    }
    void SetHandler(FOURCC code) { file_->Riff().SetHandler(number_, code); }
    HRESULT WriteChunk(bool compressed, const uint8_t* Data, uint32_t Size, uint32_t Samples,
                       uint32_t Flags) {
        if (!file_->Riff().HasFormat(number_)) return AVIERR_BADFORMAT;
        return file_->Riff().WriteChunk(number_, compressed, Data, Size, Samples, Flags);
    }

  private:
    ~TAVIFileStream() override { file_->Release(); }
    TAVIFile* file_;
    int number_;
};

// Compresses each frame and hands the chunk to the file stream below it.
class TCompressedStream : public TAVIStream {
  public:
    TCompressedStream(TAVIFileStream* target, std::unique_ptr<TVideoCompressor> compressor,
                      const AVICOMPRESSOPTIONS& options)
        : target_(target), compressor_(std::move(compressor)), options_(options) {
        target_->AddRef();
    }

    HRESULT SetFormat(const uint8_t* Format, uint32_t Size) override {
        TBitmapFormat input, output;
        if (!TBitmapFormat::Parse(Format, Size, input) ||
            !compressor_->Begin(input, options_, output))
            return AVIERR_BADFORMAT;
        frameBytes_ = input.RowBytes() * static_cast<uint32_t>(input.Header.biHeight < 0
                                                                   ? -input.Header.biHeight
                                                                   : input.Header.biHeight);
        const std::vector<uint8_t> bytes = output.Serialize();
        return target_->SetFormat(bytes.data(), static_cast<uint32_t>(bytes.size()));
    }
    HRESULT Write(const uint8_t* Data, uint32_t Size, uint32_t Samples, uint32_t Flags) override {
        if (frameBytes_ == 0) return AVIERR_BADFORMAT;
        if (Size < frameBytes_) return AVIERR_BADPARAM;
        const uint8_t* chunk = nullptr;
        uint32_t chunkSize = 0;
        if (!compressor_->Compress(Data, frameBytes_, chunk, chunkSize)) return AVIERR_ERROR;
        return target_->WriteChunk(compressor_->WritesCompressedChunks(), chunk, chunkSize,
                                   Samples, Flags | AVIIF_KEYFRAME);
    }

  private:
    ~TCompressedStream() override { target_->Release(); }
    TAVIFileStream* target_;
    std::unique_ptr<TVideoCompressor> compressor_;
    AVICOMPRESSOPTIONS options_;
    uint32_t frameBytes_ = 0;
};

} // namespace

void AVIFileInit() {}

void AVIFileExit() {}

HRESULT AVIFileOpen(PAVIFILE* File, const char* Path, uint32_t Mode, const void*) {
    if (File == nullptr || Path == nullptr) return AVIERR_BADPARAM;
    *File = nullptr;
    if ((Mode & OF_CREATE) == 0) return AVIERR_BADFLAGS;
    std::unique_ptr<TRiffAviFile> riff = TRiffAviFile::Create(Path);
    if (!riff) return AVIERR_FILEOPEN;
    *File = new TAVIFile(std::move(riff));
    return AVIERR_OK;
}

HRESULT AVIFileCreateStream(PAVIFILE File, PAVISTREAM* Stream, const AVISTREAMINFO* Info) {
    if (File == nullptr) return AVIERR_BADHANDLE;
    if (Stream == nullptr || Info == nullptr) return AVIERR_BADPARAM;
    *Stream = nullptr;
    AVISTREAMINFO info = *Info;
    if (info.fccType == streamtypeVIDEO && info.fccHandler == 0)
        info.fccHandler = MakeFourCC('D', 'I', 'B', ' ');
    const int number = File->Riff().AddStream(info);
    if (number < 0) return AVIERR_MEMORY;
    *Stream = new TAVIFileStream(File, number);
    return AVIERR_OK;
}

HRESULT AVIMakeCompressedStream(PAVISTREAM* Compressed, PAVISTREAM Source,
                                const AVICOMPRESSOPTIONS* Options, const void*) {
    if (Compressed == nullptr || Source == nullptr || Options == nullptr) return AVIERR_BADPARAM;
    *Compressed = nullptr;
    auto* target = dynamic_cast<TAVIFileStream*>(Source);
    if (target == nullptr) return AVIERR_UNSUPPORTED;
    const TCompressorInfo* info = FindCompressor(Options->fccHandler);
    if (info == nullptr) return AVIERR_NOCOMPRESSOR;
    *Compressed = new TCompressedStream(target, info->Create(), *Options);
    target->SetHandler(info->Code);
    return AVIERR_OK;
}

HRESULT AVIStreamSetFormat(PAVISTREAM Stream, int32_t, const void* Format, int32_t Size) {
    if (Stream == nullptr) return AVIERR_BADHANDLE;
    if (Format == nullptr || Size <= 0) return AVIERR_BADPARAM;
    return Stream->SetFormat(static_cast<const uint8_t*>(Format), static_cast<uint32_t>(Size));
}

HRESULT AVIStreamWrite(PAVISTREAM Stream, int32_t, int32_t Samples, const void* Buffer,
                       int32_t Bytes, uint32_t Flags, int32_t* SamplesWritten,
                       int32_t* BytesWritten) {
    if (Stream == nullptr) return AVIERR_BADHANDLE;
    if ((Buffer == nullptr && Bytes != 0) || Bytes < 0 || Samples < 0) return AVIERR_BADPARAM;
    const HRESULT result =
        Stream->Write(static_cast<const uint8_t*>(Buffer), static_cast<uint32_t>(Bytes),
                      static_cast<uint32_t>(Samples), Flags);
    if (SamplesWritten != nullptr) *SamplesWritten = result == AVIERR_OK ? Samples : 0;
    if (BytesWritten != nullptr) *BytesWritten = result == AVIERR_OK ? Bytes : 0;
    return result;
}

uint32_t AVIStreamRelease(PAVISTREAM Stream) {
    return Stream != nullptr ? Stream->Release() : 0;
}

uint32_t AVIFileRelease(PAVIFILE File) {
    return File != nullptr ? File->Release() : 0;
}

HRESULT AVISaveOptionsFree(int Streams, AVICOMPRESSOPTIONS** Options) {
    if (Options == nullptr) return AVIERR_BADPARAM;
    for (int i = 0; i < Streams; ++i) {
        if (Options[i] == nullptr) continue;
        Options[i]->lpFormat = nullptr;
        Options[i]->cbFormat = 0;
        Options[i]->lpParms = nullptr;
        Options[i]->cbParms = 0;
    }
    return AVIERR_OK;
}

void AVIFileSetSizeLimit(PAVIFILE File, uint64_t Bytes) {
    if (File != nullptr) File->Riff().SetSizeLimit(Bytes);
}
