#include <algorithm>
#include <cctype>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include <jpeglib.h>

#include "platform/avifile/video_compressor.h"

namespace {

// Uncompressed frames: the chunks are the frame bits as they come.
class TUncompressed : public TVideoCompressor {
  public:
    bool Begin(const TBitmapFormat& Input, const AVICOMPRESSOPTIONS&,
               TBitmapFormat& Output) override {
        const BITMAPINFOHEADER& h = Input.Header;
        if (h.biCompression != BI_RGB ||
            (h.biBitCount != 8 && h.biBitCount != 24 && h.biBitCount != 32))
            return false;
        if (h.biWidth <= 0 || h.biHeight == 0) return false;
        Output = Input;
        Output.Header.biSizeImage = Input.RowBytes() * static_cast<uint32_t>(std::abs(h.biHeight));
        return true;
    }
    bool Compress(const uint8_t* Bits, uint32_t Size, const uint8_t*& Chunk,
                  uint32_t& ChunkSize) override {
        Chunk = Bits;
        ChunkSize = Size;
        return true;
    }
    bool WritesCompressedChunks() const override { return false; }
};

struct JpegErrors {
    jpeg_error_mgr manager;
    std::jmp_buf escape;
};

void LeaveOnError(j_common_ptr info) {
    std::longjmp(reinterpret_cast<JpegErrors*>(info->err)->escape, 1);
}
void NoMessages(j_common_ptr) {}

// Motion JPEG: every frame a baseline JPEG picture, every frame a key frame.
class TMotionJpeg : public TVideoCompressor {
  public:
    TMotionJpeg() {
        info_.err = jpeg_std_error(&errors_.manager);
        errors_.manager.error_exit = LeaveOnError;
        errors_.manager.output_message = NoMessages;
        jpeg_create_compress(&info_);
    }
    ~TMotionJpeg() override {
        jpeg_destroy_compress(&info_);
        std::free(buffer_);
    }
    TMotionJpeg(const TMotionJpeg&) = delete;
    TMotionJpeg& operator=(const TMotionJpeg&) = delete;

    bool Begin(const TBitmapFormat& Input, const AVICOMPRESSOPTIONS& Options,
               TBitmapFormat& Output) override {
        const BITMAPINFOHEADER& h = Input.Header;
        if (h.biCompression != BI_RGB ||
            (h.biBitCount != 8 && h.biBitCount != 24 && h.biBitCount != 32))
            return false;
        if (h.biWidth <= 0 || h.biHeight == 0 || h.biWidth > 65500 || std::abs(h.biHeight) > 65500)
            return false;
        if (h.biBitCount == 8 && Input.ColourTable.empty()) return false;
        input_ = Input;
        quality_ = Options.dwQuality == 0
                       ? 85
                       : static_cast<int>(std::min<uint32_t>(Options.dwQuality / 100, 100));
        if (quality_ < 1) quality_ = 1;
        row_.resize(static_cast<size_t>(h.biWidth) * 3);
        const unsigned long wanted =
            static_cast<unsigned long>(h.biWidth) * std::abs(h.biHeight) * 3 / 2 + 65536;
        if (wanted > capacity_) {
            std::free(buffer_);
            buffer_ = static_cast<unsigned char*>(std::malloc(wanted));
            capacity_ = buffer_ != nullptr ? wanted : 0;
        }
        Output = TBitmapFormat{};
        Output.Header.biWidth = h.biWidth;
        Output.Header.biHeight = std::abs(h.biHeight);
        Output.Header.biBitCount = 24;
        Output.Header.biCompression = MakeFourCC('M', 'J', 'P', 'G');
        Output.Header.biSizeImage =
            static_cast<uint32_t>(h.biWidth) * static_cast<uint32_t>(std::abs(h.biHeight)) * 3;
        return true;
    }

    bool Compress(const uint8_t* Bits, uint32_t Size, const uint8_t*& Chunk,
                  uint32_t& ChunkSize) override {
        const uint32_t height = static_cast<uint32_t>(std::abs(input_.Header.biHeight));
        const uint32_t stride = input_.RowBytes();
        if (static_cast<uint64_t>(stride) * height > Size) return false;
        unsigned long length = 0;
        if (!Encode(Bits, stride, height, &length)) return false;
        Chunk = buffer_;
        ChunkSize = static_cast<uint32_t>(length);
        return true;
    }
    bool WritesCompressedChunks() const override { return true; }

  private:
    // Kept free of objects with destructors: a libjpeg error leaves through longjmp.
    bool Encode(const uint8_t* bits, uint32_t stride, uint32_t height, unsigned long* length) {
        if (setjmp(errors_.escape) != 0) {
            jpeg_abort_compress(&info_);
            return false;
        }
        // libjpeg writes into our buffer and replaces it by a larger one when it fills up.
        given_ = buffer_;
        written_ = capacity_;
        jpeg_mem_dest(&info_, &buffer_, &written_);
        info_.image_width = static_cast<JDIMENSION>(input_.Header.biWidth);
        info_.image_height = height;
        info_.input_components = 3;
        info_.in_color_space = JCS_EXT_BGR;
        if (input_.Header.biBitCount == 32) {
            info_.input_components = 4;
            info_.in_color_space = JCS_EXT_BGRX;
        }
        jpeg_set_defaults(&info_);
        jpeg_set_quality(&info_, quality_, TRUE);
        jpeg_start_compress(&info_, TRUE);
        const bool bottomUp = input_.Header.biHeight > 0;
        while (info_.next_scanline < height) {
            const uint32_t y = info_.next_scanline;
            const uint8_t* source =
                bits + static_cast<size_t>(bottomUp ? height - 1 - y : y) * stride;
            JSAMPROW row = const_cast<JSAMPROW>(source);
            if (input_.Header.biBitCount == 8) {
                ExpandPaletteRow(source);
                row = row_.data();
            }
            jpeg_write_scanlines(&info_, &row, 1);
        }
        jpeg_finish_compress(&info_);
        if (buffer_ != given_) {
            std::free(given_);
            capacity_ = written_;
        }
        *length = written_;
        return true;
    }

    void ExpandPaletteRow(const uint8_t* source) {
        const size_t colours = input_.ColourTable.size() / 4;
        const uint8_t* table = input_.ColourTable.data();
        uint8_t* out = row_.data();
        for (int32_t x = 0; x < input_.Header.biWidth; ++x, out += 3) {
            const size_t index = source[x] < colours ? source[x] : 0;
            std::memcpy(out, table + index * 4, 3);
        }
    }

    jpeg_compress_struct info_{};
    JpegErrors errors_{};
    TBitmapFormat input_;
    int quality_ = 85;
    std::vector<uint8_t> row_;
    unsigned char* buffer_ = nullptr;
    unsigned long capacity_ = 0;
    unsigned char* given_ = nullptr;
    unsigned long written_ = 0;
};

template <typename T> std::unique_ptr<TVideoCompressor> Make() {
    return std::make_unique<T>();
}

FOURCC UpperCase(FOURCC code) {
    FOURCC upper = 0;
    for (int shift = 0; shift < 32; shift += 8)
        upper |= static_cast<FOURCC>(std::toupper(static_cast<int>((code >> shift) & 0xFF)))
                 << shift;
    return upper;
}

} // namespace

const std::vector<TCompressorInfo>& AvailableCompressors() {
    static const std::vector<TCompressorInfo> compressors = {
        {MakeFourCC('D', 'I', 'B', ' '), "Full Frames (Uncompressed)", Make<TUncompressed>},
        {MakeFourCC('M', 'J', 'P', 'G'), "Motion JPEG", Make<TMotionJpeg>},
    };
    return compressors;
}

const TCompressorInfo* FindCompressor(FOURCC Code) {
    if (Code == 0) return &AvailableCompressors().front();
    for (const TCompressorInfo& info : AvailableCompressors())
        if (UpperCase(info.Code) == UpperCase(Code)) return &info;
    return nullptr;
}
