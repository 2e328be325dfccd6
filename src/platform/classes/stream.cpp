#include "platform/classes/stream.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

#include "platform/classes/exception.h"

void TStream::ReadBuffer(void* Buffer, int64_t Count) {
    if (Count != 0 && Read(Buffer, Count) != Count) throw EReadError("Stream read error");
}

void TStream::WriteBuffer(const void* Buffer, int64_t Count) {
    if (Count != 0 && Write(Buffer, Count) != Count) throw EWriteError("Stream write error");
}

int64_t TStream::CopyFrom(TStream& Source, int64_t Count) {
    if (Count == 0) {
        Source.SetPosition(0);
        Count = Source.GetSize();
    }
    const int64_t total = Count;
    std::vector<uint8_t> buffer(static_cast<size_t>(std::min<int64_t>(Count, 1 << 16)));
    while (Count > 0) {
        const int64_t part = std::min<int64_t>(Count, static_cast<int64_t>(buffer.size()));
        Source.ReadBuffer(buffer.data(), part);
        WriteBuffer(buffer.data(), part);
        Count -= part;
    }
    return total;
}

int64_t TStream::GetSize() {
    const int64_t position = Seek(0, soCurrent);
    const int64_t size = Seek(0, soEnd);
    Seek(position, soBeginning);
    return size;
}

void TStream::SetSize(int64_t) {
    throw EStreamError("Stream size cannot be changed");
}

TFileStream::TFileStream(const std::string& FileName, TFileMode Mode) : name_(FileName) {
    switch (Mode) {
    case fmCreate:
        fd_ = ::open(FileName.c_str(), O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
        if (fd_ < 0) throw EFCreateError(Format("Cannot create file %s", FileName.c_str()));
        return;
    case fmOpenRead:
        fd_ = ::open(FileName.c_str(), O_RDONLY | O_CLOEXEC);
        break;
    case fmOpenWrite:
        fd_ = ::open(FileName.c_str(), O_WRONLY | O_CLOEXEC);
        break;
    case fmOpenReadWrite:
        fd_ = ::open(FileName.c_str(), O_RDWR | O_CLOEXEC);
        break;
    }
    if (fd_ < 0) throw EFOpenError(Format("Cannot open file %s", FileName.c_str()));
}

TFileStream::~TFileStream() {
    if (fd_ >= 0) ::close(fd_);
}

int64_t TFileStream::Read(void* Buffer, int64_t Count) {
    int64_t done = 0;
    auto* bytes = static_cast<uint8_t*>(Buffer);
    while (done < Count) {
        const ssize_t got = ::read(fd_, bytes + done, static_cast<size_t>(Count - done));
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) break;
        done += got;
    }
    return done;
}

int64_t TFileStream::Write(const void* Buffer, int64_t Count) {
    int64_t done = 0;
    const auto* bytes = static_cast<const uint8_t*>(Buffer);
    while (done < Count) {
        const ssize_t put = ::write(fd_, bytes + done, static_cast<size_t>(Count - done));
        if (put < 0 && errno == EINTR) continue;
        if (put <= 0) break;
        done += put;
    }
    return done;
}

int64_t TFileStream::Seek(int64_t Offset, TSeekOrigin Origin) {
    const int whence = Origin == soBeginning ? SEEK_SET : Origin == soCurrent ? SEEK_CUR : SEEK_END;
    return ::lseek(fd_, Offset, whence);
}

void TFileStream::SetSize(int64_t NewSize) {
    if (::ftruncate(fd_, NewSize) != 0) throw EStreamError("Stream size cannot be changed");
    if (GetPosition() > NewSize) Seek(NewSize, soBeginning);
}

int64_t TMemoryStream::Read(void* Buffer, int64_t Count) {
    const int64_t available = GetSize() - position_;
    const int64_t part = std::max<int64_t>(0, std::min(Count, available));
    if (part > 0) std::memcpy(Buffer, data_.data() + position_, static_cast<size_t>(part));
    position_ += part;
    return part;
}

int64_t TMemoryStream::Write(const void* Buffer, int64_t Count) {
    if (Count <= 0) return 0;
    const int64_t end = position_ + Count;
    if (end > GetSize()) data_.resize(static_cast<size_t>(end));
    std::memcpy(data_.data() + position_, Buffer, static_cast<size_t>(Count));
    position_ = end;
    return Count;
}

int64_t TMemoryStream::Seek(int64_t Offset, TSeekOrigin Origin) {
    const int64_t base = Origin == soBeginning ? 0 : Origin == soCurrent ? position_ : GetSize();
    position_ = std::max<int64_t>(0, base + Offset);
    return position_;
}

void TMemoryStream::SetSize(int64_t NewSize) {
    data_.resize(static_cast<size_t>(std::max<int64_t>(0, NewSize)));
    position_ = std::min(position_, GetSize());
}

void TMemoryStream::LoadFromStream(TStream& Source) {
    Source.SetPosition(0);
    const int64_t size = Source.GetSize();
    data_.assign(static_cast<size_t>(size), 0);
    position_ = 0;
    Source.ReadBuffer(data_.data(), size);
}

void TMemoryStream::LoadFromFile(const std::string& FileName) {
    TFileStream file(FileName, fmOpenRead);
    LoadFromStream(file);
}

void TMemoryStream::SaveToStream(TStream& Target) {
    Target.WriteBuffer(data_.data(), GetSize());
}

void TMemoryStream::SaveToFile(const std::string& FileName) {
    TFileStream file(FileName, fmCreate);
    SaveToStream(file);
}

void TMemoryStream::Clear() {
    data_.clear();
    position_ = 0;
}
