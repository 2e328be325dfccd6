#include "platform/avifile/riff_avi_file.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

#include "platform/avifile/bitmap_format.h"

namespace {

// The headers live in the first HeaderArea bytes; the "movi" list starts right after.
constexpr uint64_t HeaderArea = 8192;
constexpr uint64_t MoviList = HeaderArea;
constexpr uint64_t MoviData = MoviList + 12;

constexpr uint32_t AVIF_HASINDEX = 0x10;

void PutFourCC(std::vector<uint8_t>& out, const char* code) {
    PutLE32(out, MakeFourCC(code[0], code[1], code[2], code[3]));
}

void PutChunk(std::vector<uint8_t>& out, const char* id, const std::vector<uint8_t>& body) {
    PutFourCC(out, id);
    PutLE32(out, static_cast<uint32_t>(body.size()));
    out.insert(out.end(), body.begin(), body.end());
    if (body.size() % 2 != 0) out.push_back(0);
}

void PutList(std::vector<uint8_t>& out, const char* kind, const std::vector<uint8_t>& body) {
    PutFourCC(out, "LIST");
    PutLE32(out, static_cast<uint32_t>(body.size() + 4));
    PutFourCC(out, kind);
    out.insert(out.end(), body.begin(), body.end());
}

FOURCC ChunkId(int stream, const char* kind) {
    return MakeFourCC(static_cast<char>('0' + stream / 10), static_cast<char>('0' + stream % 10),
                      kind[0], kind[1]);
}

} // namespace

std::unique_ptr<TRiffAviFile> TRiffAviFile::Create(const std::string& Path) {
    const int fd = ::open(Path.c_str(), O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0) return nullptr;
    std::unique_ptr<TRiffAviFile> file(new TRiffAviFile(fd));
    file->end_ = MoviData;
    return file;
}

TRiffAviFile::~TRiffAviFile() {
    if (fd_ >= 0) ::close(fd_);
}

int TRiffAviFile::AddStream(const AVISTREAMINFO& Info) {
    if (streams_.size() >= 8) return -1;
    streams_.push_back(Stream{Info, {}, 0, 0});
    return static_cast<int>(streams_.size() - 1);
}

HRESULT TRiffAviFile::SetFormat(int StreamNumber, const std::vector<uint8_t>& Format) {
    Stream& stream = streams_[static_cast<size_t>(StreamNumber)];
    const std::vector<uint8_t> previous = stream.format;
    stream.format = Format;
    if (Format.empty() || Headers().size() + 8 > HeaderArea) {
        stream.format = previous;
        return AVIERR_BADFORMAT;
    }
    return AVIERR_OK;
}

HRESULT TRiffAviFile::WriteChunk(int StreamNumber, bool Compressed, const uint8_t* Data,
                                 uint32_t Size, uint32_t Samples, uint32_t Flags) {
    if (failed_) return AVIERR_FILEWRITE;
    Stream& stream = streams_[static_cast<size_t>(StreamNumber)];
    const bool video = stream.info.fccType == streamtypeVIDEO;
    const FOURCC id = ChunkId(StreamNumber, video ? (Compressed ? "dc" : "db") : "wb");
    const uint64_t padded = Size + (Size % 2);
    const uint64_t indexBytes = 8 + 16 * (static_cast<uint64_t>(index_.size()) + 1);
    if (end_ + 8 + padded + indexBytes > sizeLimit_) return AVIERR_FILEWRITE;

    // The chunk's header, its data where the caller holds it, and the pad byte of an odd size.
    std::vector<uint8_t> head;
    PutLE32(head, id);
    PutLE32(head, Size);
    const uint8_t pad = 0;
    if (!WriteAt(end_, head.data(), head.size()) || !WriteAt(end_ + 8, Data, Size) ||
        (Size % 2 != 0 && !WriteAt(end_ + 8 + Size, &pad, 1))) {
        failed_ = true;
        return AVIERR_FILEWRITE;
    }
    // Every piece of sound can be started from, so its chunks are key frames too.
    index_.push_back({id, video ? Flags : Flags | AVIIF_KEYFRAME, static_cast<uint32_t>(end_ - (MoviList + 8)), Size});
    end_ += 8 + padded;
    stream.length += Samples;
    stream.largestChunk = std::max(stream.largestChunk, Size);
    return AVIERR_OK;
}

std::vector<uint8_t> TRiffAviFile::Headers() const {
    uint32_t width = 0, height = 0, frames = 0, microseconds = 0, buffer = 0;
    for (const Stream& s : streams_) {
        buffer = std::max({buffer, s.info.dwSuggestedBufferSize, s.largestChunk});
        if (s.info.fccType != streamtypeVIDEO || width != 0) continue;
        width = static_cast<uint32_t>(s.info.rcFrame.right - s.info.rcFrame.left);
        height = static_cast<uint32_t>(s.info.rcFrame.bottom - s.info.rcFrame.top);
        frames = s.length;
        if (s.info.dwRate != 0)
            microseconds = static_cast<uint32_t>(1000000ULL * s.info.dwScale / s.info.dwRate);
    }
    std::vector<uint8_t> avih;
    for (uint32_t value :
         {microseconds, 0u, 0u, AVIF_HASINDEX, frames, 0u, static_cast<uint32_t>(streams_.size()),
          buffer, width, height, 0u, 0u, 0u, 0u})
        PutLE32(avih, value);

    std::vector<uint8_t> hdrl;
    PutChunk(hdrl, "avih", avih);
    for (const Stream& s : streams_) {
        const AVISTREAMINFO& i = s.info;
        std::vector<uint8_t> strh;
        PutLE32(strh, i.fccType);
        PutLE32(strh, i.fccHandler);
        PutLE32(strh, i.dwFlags);
        PutLE16(strh, i.wPriority);
        PutLE16(strh, i.wLanguage);
        for (uint32_t value :
             {i.dwInitialFrames, i.dwScale, i.dwRate, i.dwStart, s.length,
              std::max(i.dwSuggestedBufferSize, s.largestChunk), i.dwQuality, i.dwSampleSize})
            PutLE32(strh, value);
        for (int32_t value : {i.rcFrame.left, i.rcFrame.top, i.rcFrame.right, i.rcFrame.bottom})
            PutLE16(strh, static_cast<uint16_t>(value));
        std::vector<uint8_t> strl;
        PutChunk(strl, "strh", strh);
        PutChunk(strl, "strf", s.format);
        PutList(hdrl, "strl", strl);
    }
    std::vector<uint8_t> out;
    PutFourCC(out, "RIFF");
    PutLE32(out, 0); // completed below
    PutFourCC(out, "AVI ");
    PutList(out, "hdrl", hdrl);
    return out;
}

bool TRiffAviFile::WriteAt(uint64_t Offset, const uint8_t* Data, size_t Size) {
    size_t done = 0;
    while (done < Size) {
        const ssize_t put =
            ::pwrite(fd_, Data + done, Size - done, static_cast<off_t>(Offset + done));
        if (put < 0 && errno == EINTR) continue;
        if (put <= 0) return false;
        done += static_cast<size_t>(put);
    }
    return true;
}

void TRiffAviFile::Complete() {
    if (fd_ < 0) return;
    bool complete = !streams_.empty();
    for (const Stream& s : streams_)
        complete = complete && !s.format.empty();
    if (!complete) {
        if (::ftruncate(fd_, 0) != 0) failed_ = true;
        ::close(fd_);
        fd_ = -1;
        return;
    }
    std::vector<uint8_t> index;
    PutFourCC(index, "idx1");
    PutLE32(index, static_cast<uint32_t>(16 * index_.size()));
    for (const IndexEntry& e : index_)
        for (uint32_t value : {e.id, e.flags, e.offset, e.size})
            PutLE32(index, value);
    const uint64_t fileEnd = end_ + index.size();

    std::vector<uint8_t> head = Headers();
    const uint32_t riffSize = static_cast<uint32_t>(fileEnd - 8);
    for (int b = 0; b < 4; ++b)
        head[4 + b] = static_cast<uint8_t>(riffSize >> (8 * b));
    std::vector<uint8_t> junk;
    PutFourCC(junk, "JUNK");
    PutLE32(junk, static_cast<uint32_t>(HeaderArea - head.size() - 8));
    head.insert(head.end(), junk.begin(), junk.end());
    head.resize(HeaderArea, 0);
    PutFourCC(head, "LIST");
    PutLE32(head, static_cast<uint32_t>(end_ - (MoviList + 8)));
    PutFourCC(head, "movi");

    if (!WriteAt(end_, index) || !WriteAt(0, head) ||
        ::ftruncate(fd_, static_cast<off_t>(fileEnd)) != 0)
        failed_ = true;
    ::close(fd_);
    fd_ = -1;
}
