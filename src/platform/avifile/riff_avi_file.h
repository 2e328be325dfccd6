#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/avifile/avi_types.h"

// An AVI 1.0 file being written: the header area is reserved at the start, chunks are
// appended to the "movi" list as they come, and Complete writes the headers and the
// index. A file whose streams did not all receive a format is left empty.
class TRiffAviFile {
  public:
    // Creates (or truncates) the file; nullptr when that fails.
    static std::unique_ptr<TRiffAviFile> Create(const std::string& Path);
    ~TRiffAviFile();
    TRiffAviFile(const TRiffAviFile&) = delete;
    TRiffAviFile& operator=(const TRiffAviFile&) = delete;

    // Adds a stream; returns its number, or -1 when no more streams fit the header.
    int AddStream(const AVISTREAMINFO& Info);
    HRESULT SetFormat(int Stream, const std::vector<uint8_t>& Format);
    // The code of the compressor whose chunks the stream holds, for its header.
    void SetHandler(int Stream, FOURCC Code) {
        streams_[static_cast<size_t>(Stream)].info.fccHandler = Code;
    }
    bool HasFormat(int Stream) const {
        return !streams_[static_cast<size_t>(Stream)].format.empty();
    }
    // Appends one chunk of Stream ("NNdb", "NNdc" or "NNwb" after its kind) covering
    // Samples samples. A chunk that would take the file past SizeLimit is refused.
    HRESULT WriteChunk(int Stream, bool Compressed, const uint8_t* Data, uint32_t Size,
                       uint32_t Samples, uint32_t Flags);
    // Writes headers and index and closes the file. Called once.
    void Complete();

    // The largest size the finished file may have; below 2 GiB for AVI 1.0.
    void SetSizeLimit(uint64_t Bytes) { sizeLimit_ = Bytes; }

  private:
    struct Stream {
        AVISTREAMINFO info;
        std::vector<uint8_t> format;
        uint32_t length = 0;
        uint32_t largestChunk = 0;
    };
    struct IndexEntry {
        uint32_t id, flags, offset, size;
    };

    explicit TRiffAviFile(int fd) : fd_(fd) {}
    std::vector<uint8_t> Headers() const;
    bool WriteAt(uint64_t Offset, const uint8_t* Data, size_t Size);
    bool WriteAt(uint64_t Offset, const std::vector<uint8_t>& Bytes) {
        return WriteAt(Offset, Bytes.data(), Bytes.size());
    }

    int fd_;
    std::vector<Stream> streams_;
    std::vector<IndexEntry> index_;
    uint64_t end_; // where the next chunk goes
    uint64_t sizeLimit_ = 0x7FFFFFFF;
    bool failed_ = false;
};
