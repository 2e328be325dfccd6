#include <cstdint>
#include <cstring>
#include <fcntl.h>
#include <memory>
#include <new>
#include <string>
#include <unistd.h>

#include "frames/picture_file.h"
#include "job/image_to_video_class.h"
#include "platform/classes/format.h"
#include "platform/graphics/bitmap.h"
#include "platform/graphics/canvas.h"
#include "platform/graphics/icon.h"
#include "platform/graphics/jpeg_image.h"
#include "platform/graphics/metafile.h"
#include "platform/graphics/picture.h"
#include "platform/system/files.h"

namespace {

constexpr int SignatureSize = 11;

struct TSignature {
    int Offset;
    const char* Bytes;
    int Count;
    const char* Extension;
};

// Tested in this order; the first match names the kind.
constexpr TSignature Signatures[] = {
    {0, "BM", 2, ".bmp"},
    {6, "JFIF", 4, ".jpg"},
    {0, "GIF", 3, ".gif"},
    {0, "\x00\x00\x01\x00", 4, ".ico"},
    {0, "\x01\x00\x00\x00", 4, ".emf"},
    {0, "\xD7\xCD\xC6\x9A\x00\x00", 6, ".wmf"},
    {0, "\x01\x00\x09\x00\x00\x03", 6, ".wmf"},
};

std::string LowerCaseAscii(const char* text) {
    std::string lowered(text);
    for (char& c : lowered)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return lowered;
}

// The kind the file's first bytes name, or the extension as it stands when the file
// cannot be opened or no signature matches.
std::string KindOf(const char* FileName, const std::string& Extension) {
    const int fd = ::open(FileName, O_RDONLY | O_CLOEXEC);
    if (fd < 0) return Extension;
    uint8_t head[SignatureSize] = {};
    ssize_t got = 0;
    while (got < SignatureSize) {
        const ssize_t part = ::read(fd, head + got, static_cast<size_t>(SignatureSize - got));
        if (part <= 0) break;
        got += part;
    }
    ::close(fd);
    for (const TSignature& s : Signatures)
        if (s.Offset + s.Count <= got &&
            std::memcmp(head + s.Offset, s.Bytes, static_cast<size_t>(s.Count)) == 0)
            return s.Extension;
    return Extension;
}

// The extension as the job's loader sees it: from the path's last '.' to its end, folder
// names included; empty without a dot.
std::string LastDotOnwards(const std::string& Path) {
    const size_t dot = Path.find_last_of('.');
    return dot == std::string::npos ? std::string() : Path.substr(dot);
}

void DrawDecoded(TImage& Holder, TGraphic& Decoder, const char* FileName, TPixelFormat Format) {
    Decoder.LoadFromFile(FileName);
    TBitmap& bitmap = Holder.Picture().Bitmap();
    bitmap.SetPixelFormat(Format);
    bitmap.SetWidth(Decoder.Width());
    bitmap.SetHeight(Decoder.Height());
    bitmap.Canvas().Draw(0, 0, &Decoder);
}

} // namespace

void ReadPictureFile(TImage& Holder, const char* FileName) {
    TJPEGImage jpeg;
    TIcon icon;
    TMetafile metafile;
    const std::unique_ptr<TGraphic> gif = TPicture::CreateGraphicFor(".gif");

    const std::string lowered = LowerCaseAscii(FileName);
    // The file opens under the path as passed: file names are case-sensitive here.
    const std::string kind = KindOf(FileName, LastDotOnwards(lowered));
    if (kind == ".ico") {
        DrawDecoded(Holder, icon, FileName, pf8bit);
    } else if (kind == ".wmf" || kind == ".emf") {
        DrawDecoded(Holder, metafile, FileName, pf8bit);
    } else if (kind == ".jpg" || kind == ".jpeg") {
        // A JPEG covers all of a 24-bit bitmap of its size, so drawing it onto a white
        // one gives its own pixels: they are taken over instead of copied.
        jpeg.LoadFromFile(FileName);
        TBitmap& bitmap = Holder.Picture().Bitmap();
        bitmap.SetPixelFormat(pf24bit);
        bitmap.SetDIB(jpeg.ReleasePixels());
    } else if (kind == ".gif") {
        if (!gif) throw EInvalidGraphic("GIF pictures are not supported");
        DrawDecoded(Holder, *gif, FileName, pf8bit);
    } else if (kind == ".bmp") {
        Holder.Picture().Bitmap().LoadFromFile(FileName);
    } else {
        Holder.Picture().LoadFromFile(FileName);
    }
}

int IMAGE_TO_VIDEO_CLASS::LoadImage(TImage* Holder, const char* FileName) {
    Holder->AssignEmpty();
    if (!FileExists(FileName)) {
        const std::string message =
            Format("\nERROR: Unable to load image file \"%s\". The file path does not exist, or "
                   "file size is zero. - IMAGE_TO_VIDEO_CLASS::LoadImage()\n\n",
                   FileName);
        ShowErrorWindow(message.c_str());
        WriteOutput(message.c_str());
        return 2;
    }
    auto fail = [&](const Exception& E) {
        ReportException(E);
        const std::string message = Format(
            "\nERROR: Unable to load image file \"%s\". - IMAGE_TO_VIDEO_CLASS::LoadImage()\n\n",
            LowerCaseAscii(FileName).c_str());
        ShowErrorWindow(message.c_str());
        WriteOutput(message.c_str());
        return 1;
    };
    try {
        ReadPictureFile(*Holder, FileName);
    } catch (const Exception& E) {
        return fail(E);
    } catch (const std::bad_alloc&) {
        return fail(EOutOfMemory("Out of memory"));
    }
    return 0;
}
