#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

enum TSeekOrigin { soBeginning, soCurrent, soEnd };

// A sequence of bytes with a position. Read and Write move as far as they can and
// return the count; ReadBuffer and WriteBuffer move all or raise.
class TStream {
  public:
    virtual ~TStream() = default;

    virtual int64_t Read(void* Buffer, int64_t Count) = 0;
    virtual int64_t Write(const void* Buffer, int64_t Count) = 0;
    virtual int64_t Seek(int64_t Offset, TSeekOrigin Origin) = 0;

    // Raise EReadError "Stream read error" / EWriteError "Stream write error" when the
    // whole count cannot be moved.
    void ReadBuffer(void* Buffer, int64_t Count);
    void WriteBuffer(const void* Buffer, int64_t Count);
    // Copies Count bytes from Source (0: everything from its start); returns the count.
    int64_t CopyFrom(TStream& Source, int64_t Count);

    int64_t GetPosition() { return Seek(0, soCurrent); }
    void SetPosition(int64_t Position) { Seek(Position, soBeginning); }
    virtual int64_t GetSize();
    virtual void SetSize(int64_t NewSize);
};

enum TFileMode { fmOpenRead, fmOpenWrite, fmOpenReadWrite, fmCreate };

// A stream on a file. Opening raises EFOpenError "Cannot open file %s", creating raises
// EFCreateError "Cannot create file %s".
class TFileStream : public TStream {
  public:
    TFileStream(const std::string& FileName, TFileMode Mode);
    ~TFileStream() override;
    TFileStream(const TFileStream&) = delete;
    TFileStream& operator=(const TFileStream&) = delete;

    int64_t Read(void* Buffer, int64_t Count) override;
    int64_t Write(const void* Buffer, int64_t Count) override;
    int64_t Seek(int64_t Offset, TSeekOrigin Origin) override;
    void SetSize(int64_t NewSize) override;

    const std::string& FileName() const { return name_; }

  private:
    std::string name_;
    int fd_ = -1;
};

// A stream held in memory; it grows as it is written.
class TMemoryStream : public TStream {
  public:
    int64_t Read(void* Buffer, int64_t Count) override;
    int64_t Write(const void* Buffer, int64_t Count) override;
    int64_t Seek(int64_t Offset, TSeekOrigin Origin) override;
    int64_t GetSize() override { return static_cast<int64_t>(data_.size()); }
    void SetSize(int64_t NewSize) override;

    void LoadFromStream(TStream& Source);
    void LoadFromFile(const std::string& FileName);
    void SaveToStream(TStream& Target);
    void SaveToFile(const std::string& FileName);
    void Clear();

    uint8_t* Memory() { return data_.data(); }
    const uint8_t* Memory() const { return data_.data(); }

  private:
    std::vector<uint8_t> data_;
    int64_t position_ = 0;
};
