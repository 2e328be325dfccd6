#include "platform/imaging/jpeg_reader.h"

#include <csetjmp>
#include <cstdio>
#include <string>
#include <vector>

#include <jerror.h>
#include <jpeglib.h>

#include "platform/graphics/graphic_errors.h"
#include "platform/imaging/decode_limits.h"

namespace {

// A progressive file of many tiny scans can take very long to decode; real ones have
// about ten.
constexpr int MaxScans = 1000;

struct TErrorManager {
    jpeg_error_mgr Base;
    jmp_buf Escape;
    char Message[JMSG_LENGTH_MAX];
};

[[noreturn]] void FailWith(j_common_ptr cinfo) {
    auto* errors = reinterpret_cast<TErrorManager*>(cinfo->err);
    (*cinfo->err->format_message)(cinfo, errors->Message);
    std::longjmp(errors->Escape, 1);
}

void OnError(j_common_ptr cinfo) {
    FailWith(cinfo);
}

// Warnings about damaged data are tolerated, as every viewer does, except a file that
// ends before its picture does: that one is refused rather than shown half grey.
void OnMessage(j_common_ptr cinfo, int level) {
    if (level < 0 && cinfo->err->msg_code == JWRN_JPEG_EOF) FailWith(cinfo);
}

void OnProgress(j_common_ptr cinfo) {
    auto* d = reinterpret_cast<j_decompress_ptr>(cinfo);
    if (d->input_scan_number > MaxScans) {
        auto* errors = reinterpret_cast<TErrorManager*>(cinfo->err);
        std::snprintf(errors->Message, sizeof errors->Message,
                      "too many scans in a progressive file");
        std::longjmp(errors->Escape, 1);
    }
}

inline uint8_t Mul255(unsigned a, unsigned b) {
    return static_cast<uint8_t>((a * b + 127) / 255);
}

// CMYK rows into blue, green, red. Adobe's files store the inks inverted.
void CmykToBgr(const uint8_t* cmyk, uint8_t* bgr, unsigned width, bool inverted) {
    for (unsigned x = 0; x < width; ++x, cmyk += 4, bgr += 3) {
        unsigned c = cmyk[0], m = cmyk[1], y = cmyk[2], k = cmyk[3];
        if (!inverted) {
            c = 255 - c;
            m = 255 - m;
            y = 255 - y;
            k = 255 - k;
        }
        bgr[0] = Mul255(y, k);
        bgr[1] = Mul255(m, k);
        bgr[2] = Mul255(c, k);
    }
}

// Runs libjpeg; everything that must be released lives in the caller, since the error
// path leaves through longjmp.
bool Decode(jpeg_decompress_struct& cinfo, TErrorManager& errors, const uint8_t* data, size_t size,
            TDIBImage& image, std::vector<uint8_t>& cmykRow, std::string& failure) {
    if (setjmp(errors.Escape)) {
        failure = errors.Message;
        return false;
    }
    jpeg_create_decompress(&cinfo);
    cinfo.mem->max_memory_to_use = static_cast<long>(MaxDecodeBytes());
    jpeg_mem_src(&cinfo, data, static_cast<unsigned long>(size));
    jpeg_read_header(&cinfo, TRUE);
    const bool cmyk = cinfo.jpeg_color_space == JCS_CMYK || cinfo.jpeg_color_space == JCS_YCCK;
    cinfo.out_color_space = cmyk ? JCS_CMYK : JCS_EXT_BGR;
    CheckDecodeSize("JPEG", cinfo.image_width, cinfo.image_height, 24);
    jpeg_start_decompress(&cinfo);
    image.Allocate(static_cast<int>(cinfo.output_width), static_cast<int>(cinfo.output_height),
                   pf24bit);
    if (cmyk) cmykRow.resize(static_cast<size_t>(cinfo.output_width) * 4);
    while (cinfo.output_scanline < cinfo.output_height) {
        uint8_t* row = image.Row(static_cast<int>(cinfo.output_scanline));
        JSAMPROW target = cmyk ? cmykRow.data() : row;
        if (jpeg_read_scanlines(&cinfo, &target, 1) != 1) break;
        if (cmyk) CmykToBgr(cmykRow.data(), row, cinfo.output_width, cinfo.saw_Adobe_marker);
    }
    jpeg_finish_decompress(&cinfo);
    return true;
}

} // namespace

TDIBImage ReadJPEG(const uint8_t* Data, size_t Size) {
    if (Size < 4 || Data[0] != 0xFF || Data[1] != 0xD8)
        throw EInvalidGraphic("Invalid JPEG picture: not a JPEG file");
    jpeg_decompress_struct cinfo{};
    TErrorManager errors{};
    cinfo.err = jpeg_std_error(&errors.Base);
    errors.Base.error_exit = OnError;
    errors.Base.emit_message = OnMessage;
    jpeg_progress_mgr progress{};
    progress.progress_monitor = OnProgress;
    cinfo.progress = &progress;

    TDIBImage image;
    std::vector<uint8_t> cmykRow;
    std::string failure;
    bool done = false;
    try {
        done = Decode(cinfo, errors, Data, Size, image, cmykRow, failure);
    } catch (...) {
        jpeg_destroy_decompress(&cinfo);
        throw;
    }
    jpeg_destroy_decompress(&cinfo);
    if (!done) throw EInvalidGraphic("Invalid JPEG picture: " + failure);
    return image;
}
