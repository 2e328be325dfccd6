#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <fcntl.h>
#include <pty.h>
#include <string>
#include <thread>
#include <unistd.h>
#include <vector>

#include "platform/avifile/avifile.h"
#include "platform/avifile/bitmap_format.h"
#include "platform/avifile/codec_window.h"
#include "support/riff_reader.h"
#include "support/command_output.h"
#include "support/temp_folder.h"

namespace {

using Bytes = std::vector<uint8_t>;

// Frames of Width x Height in Bits per pixel, bottom-up rows padded to 4 bytes, each
// frame's pixels different.
struct FrameSet {
    TBitmapFormat format;
    std::vector<Bytes> frames;

    FrameSet(int width, int height, int bits, int count) {
        format.Header.biWidth = width;
        format.Header.biHeight = height;
        format.Header.biBitCount = static_cast<uint16_t>(bits);
        if (bits == 8) {
            for (int i = 0; i < 256; ++i)
                format.ColourTable.insert(format.ColourTable.end(),
                                          {uint8_t(i), uint8_t(255 - i), uint8_t(i * 7), 0});
        }
        format.Header.biSizeImage = format.RowBytes() * static_cast<uint32_t>(height);
        for (int f = 0; f < count; ++f) {
            Bytes frame(format.Header.biSizeImage, 0);
            for (size_t i = 0; i < frame.size(); ++i)
                frame[i] = static_cast<uint8_t>((i * 31 + f * 57) ^ (i >> 5));
            frames.push_back(frame);
        }
    }
    Bytes FormatBytes() const { return format.Serialize(); }
};

Bytes ReadBytes(const std::string& path) {
    const std::string text = ReadFile(path);
    return Bytes(text.begin(), text.end());
}

struct WrittenFile {
    HRESULT make = AVIERR_OK, format = AVIERR_OK;
    std::vector<HRESULT> writes;
};

// Writes the frames through a compressed stream named by Codec, and Audio when given.
WrittenFile WriteAvi(const std::string& path, const FrameSet& set, FOURCC codec,
                     const Bytes* audio = nullptr, uint64_t sizeLimit = 0, uint32_t scale = 100000,
                     uint32_t rate = 2500000) {
    WrittenFile result;
    AVIFileInit();
    PAVIFILE file = nullptr;
    EXPECT_EQ(AVIFileOpen(&file, path.c_str(), OF_WRITE | OF_CREATE, nullptr), AVIERR_OK);
    if (sizeLimit != 0) AVIFileSetSizeLimit(file, sizeLimit);
    AVISTREAMINFO info;
    info.fccType = streamtypeVIDEO;
    info.dwScale = scale;
    info.dwRate = rate;
    info.dwSuggestedBufferSize = set.format.Header.biSizeImage;
    info.rcFrame = {0, 0, set.format.Header.biWidth, set.format.Header.biHeight};
    PAVISTREAM video = nullptr, compressed = nullptr, sound = nullptr;
    EXPECT_EQ(AVIFileCreateStream(file, &video, &info), AVIERR_OK);
    AVICOMPRESSOPTIONS options;
    options.fccHandler = codec;
    result.make = AVIMakeCompressedStream(&compressed, video, &options, nullptr);
    if (result.make == AVIERR_OK) {
        const Bytes format = set.FormatBytes();
        result.format =
            AVIStreamSetFormat(compressed, 0, format.data(), static_cast<int32_t>(format.size()));
    }
    if (audio != nullptr) {
        AVISTREAMINFO a;
        a.fccType = streamtypeAUDIO;
        a.dwScale = 4;
        a.dwRate = 4 * 8000;
        a.dwSampleSize = 4;
        EXPECT_EQ(AVIFileCreateStream(file, &sound, &a), AVIERR_OK);
        Bytes wave;
        for (uint32_t v : {1u, 2u})
            PutLE16(wave, static_cast<uint16_t>(v)); // PCM, stereo
        PutLE32(wave, 8000);
        PutLE32(wave, 32000);
        PutLE16(wave, 4);
        PutLE16(wave, 16);
        PutLE16(wave, 0);
        EXPECT_EQ(AVIStreamSetFormat(sound, 0, wave.data(), 18), AVIERR_OK);
        EXPECT_EQ(AVIStreamWrite(sound, 0, static_cast<int32_t>(audio->size() / 4), audio->data(),
                                 static_cast<int32_t>(audio->size()), 0, nullptr, nullptr),
                  AVIERR_OK);
    }
    for (size_t i = 0; i < set.frames.size() && compressed != nullptr; ++i)
        result.writes.push_back(AVIStreamWrite(
            compressed, static_cast<int32_t>(i), 1, set.frames[i].data(),
            static_cast<int32_t>(set.frames[i].size()), AVIIF_KEYFRAME, nullptr, nullptr));
    AVIStreamRelease(sound);
    AVIStreamRelease(compressed);
    AVIStreamRelease(video);
    AVIFileRelease(file);
    AVIFileExit();
    return result;
}

// The frames as an independent reader decodes them: top-down rows of blue, green, red.
std::string DecodedFrames(const std::string& path) {
    return CommandOutput("ffmpeg -v error -i '" + path +
                         "' -map 0:v -f rawvideo -pix_fmt bgr24 - 2>/dev/null");
}

std::string TopDownBgr(const FrameSet& set, size_t frame) {
    const TBitmapFormat& f = set.format;
    std::string out;
    for (int y = f.Header.biHeight - 1; y >= 0; --y) {
        const uint8_t* row = set.frames[frame].data() + static_cast<size_t>(y) * f.RowBytes();
        for (int x = 0; x < f.Header.biWidth; ++x) {
            if (f.Header.biBitCount == 8)
                out.append(reinterpret_cast<const char*>(&f.ColourTable[row[x] * 4]), 3);
            else
                out.append(reinterpret_cast<const char*>(row + x * (f.Header.biBitCount / 8)), 3);
        }
    }
    return out;
}

class AviFile : public testing::Test {
  protected:
    TempFolder temp;
    std::string path = temp / "out.avi";
};

} // namespace

TEST_F(AviFile, UncompressedFramesAndSoundFormAValidRiffAvi) {
    const FrameSet set(6, 4, 24, 3);
    Bytes audio(8000 * 4);
    for (size_t i = 0; i < audio.size(); ++i)
        audio[i] = static_cast<uint8_t>(i * 13);
    const WrittenFile written = WriteAvi(path, set, MakeFourCC('D', 'I', 'B', ' '), &audio);
    EXPECT_EQ(written.writes, (std::vector<HRESULT>{AVIERR_OK, AVIERR_OK, AVIERR_OK}));

    const RiffChunk riff = ParseRiff(ReadBytes(path));
    EXPECT_EQ(riff.kind, "AVI ");
    const RiffChunk* avih = FindChunk(riff, {"hdrl", "avih"});
    ASSERT_NE(avih, nullptr);
    EXPECT_EQ(Le32(avih->data, 0), 40000u) << "microseconds per frame at 25 fps";
    EXPECT_EQ(Le32(avih->data, 12) & 0x10, 0x10u) << "has an index";
    EXPECT_EQ(Le32(avih->data, 16), 3u) << "frames";
    EXPECT_EQ(Le32(avih->data, 24), 2u) << "streams";
    EXPECT_EQ(Le32(avih->data, 32), 6u);
    EXPECT_EQ(Le32(avih->data, 36), 4u);

    const RiffChunk* hdrl = FindChunk(riff, {"hdrl"});
    ASSERT_EQ(hdrl->children.size(), 3u);
    const RiffChunk& videoList = hdrl->children[1];
    const RiffChunk& audioList = hdrl->children[2];
    const Bytes& vh = videoList.children[0].data;
    EXPECT_EQ(std::string(vh.begin(), vh.begin() + 8), "vidsDIB ");
    EXPECT_EQ(Le32(vh, 20), 100000u);
    EXPECT_EQ(Le32(vh, 24), 2500000u);
    EXPECT_EQ(Le32(vh, 32), 3u) << "length";
    EXPECT_EQ(Le32(vh, 36), set.format.Header.biSizeImage) << "suggested buffer";
    EXPECT_EQ(videoList.children[1].data, set.FormatBytes());
    const Bytes& ah = audioList.children[0].data;
    EXPECT_EQ(std::string(ah.begin(), ah.begin() + 4), "auds");
    EXPECT_EQ(Le32(ah, 32), 8000u) << "samples";
    EXPECT_EQ(Le32(ah, 44), 4u) << "sample size";
    EXPECT_EQ(audioList.children[1].data.size(), 18u);

    const RiffChunk* movi = FindChunk(riff, {"movi"});
    ASSERT_NE(movi, nullptr);
    ASSERT_EQ(movi->children.size(), 4u);
    EXPECT_EQ(movi->children[0].id, "01wb") << "chunks come in the order they were written";
    EXPECT_EQ(movi->children[1].id, "00db");
    EXPECT_EQ(movi->children[3].data, set.frames[2]);
    const RiffChunk* idx1 = FindChunk(riff, {"idx1"});
    ASSERT_NE(idx1, nullptr);
    ASSERT_EQ(idx1->data.size(), 4u * 16);
    for (size_t i = 0; i < 4; ++i) {
        const uint32_t offset = Le32(idx1->data, i * 16 + 8);
        EXPECT_EQ(movi->children[i].offset, movi->offset + 8 + offset) << "index entry " << i;
        EXPECT_EQ(Le32(idx1->data, i * 16 + 12), movi->children[i].data.size());
        EXPECT_EQ(Le32(idx1->data, i * 16 + 4), 0x10u);
    }
}

TEST_F(AviFile, IndependentReaderDecodesEveryFrameAndSample) {
    if (!ProgramAvailable("ffmpeg")) GTEST_SKIP() << "ffmpeg is not installed";
    for (int bits : {24, 32, 8}) {
        const FrameSet set(10, 6, bits, 4);
        Bytes audio(8000 * 4 / 5);
        for (size_t i = 0; i < audio.size(); ++i)
            audio[i] = static_cast<uint8_t>(i * 7 + 3);
        WriteAvi(path, set, MakeFourCC('D', 'I', 'B', ' '), &audio);
        std::string expected;
        for (size_t f = 0; f < set.frames.size(); ++f)
            expected += TopDownBgr(set, f);
        EXPECT_EQ(DecodedFrames(path), expected) << bits << " bits";
        const std::string samples = CommandOutput(
            "ffmpeg -v error -i '" + path + "' -map 0:a -f s16le -acodec pcm_s16le - 2>/dev/null");
        EXPECT_EQ(samples, std::string(audio.begin(), audio.end())) << bits << " bits";
    }
}

TEST_F(AviFile, MotionJpegIsCloseToTheFrames) {
    if (!ProgramAvailable("ffmpeg")) GTEST_SKIP() << "ffmpeg is not installed";
    // A smooth picture, as photographs are, so that the quality can be judged.
    FrameSet set(64, 48, 24, 2);
    for (size_t f = 0; f < 2; ++f)
        for (int y = 0; y < 48; ++y)
            for (int x = 0; x < 64; ++x) {
                uint8_t* p = &set.frames[f][static_cast<size_t>(y) * set.format.RowBytes() + x * 3];
                p[0] = static_cast<uint8_t>(x * 4), p[1] = static_cast<uint8_t>(y * 5),
                p[2] = static_cast<uint8_t>(f * 100 + x + y);
            }
    const WrittenFile written = WriteAvi(path, set, MakeFourCC('m', 'j', 'p', 'g'));
    EXPECT_EQ(written.make, AVIERR_OK) << "codes are looked up without case";
    const RiffChunk riff = ParseRiff(ReadBytes(path));
    const Bytes& vh = FindChunk(riff, {"hdrl", "strl", "strh"})->data;
    EXPECT_EQ(std::string(vh.begin() + 4, vh.begin() + 8), "MJPG") << "the compressor's own code";
    EXPECT_EQ(FindChunk(riff, {"movi"})->children[0].id, "00dc");
    const std::string decoded = DecodedFrames(path);
    std::string expected = TopDownBgr(set, 0) + TopDownBgr(set, 1);
    ASSERT_EQ(decoded.size(), expected.size());
    double error = 0;
    for (size_t i = 0; i < decoded.size(); ++i) {
        const double d = static_cast<uint8_t>(decoded[i]) - static_cast<uint8_t>(expected[i]);
        error += d * d;
    }
    const double psnr = 10 * std::log10(255.0 * 255.0 / (error / decoded.size()));
    EXPECT_GT(psnr, 35.0);
}

TEST_F(AviFile, UnknownCompressorLeavesTheFileEmpty) {
    const FrameSet set(4, 4, 24, 2);
    const WrittenFile written = WriteAvi(path, set, MakeFourCC('X', 'V', 'I', 'D'));
    EXPECT_EQ(written.make, AVIERR_NOCOMPRESSOR);
    EXPECT_EQ(ReadFile(path).size(), 0u);
}

TEST_F(AviFile, UnsupportedInputFormatLeavesTheFileEmpty) {
    FrameSet set(4, 4, 24, 1);
    set.format.Header.biBitCount = 16;
    const WrittenFile written = WriteAvi(path, set, MakeFourCC('D', 'I', 'B', ' '));
    EXPECT_EQ(written.format, AVIERR_BADFORMAT);
    EXPECT_EQ(written.writes, (std::vector<HRESULT>{AVIERR_BADFORMAT}));
    EXPECT_EQ(ReadFile(path).size(), 0u);
}

TEST_F(AviFile, PaletteFramesCarryTheirColourTable) {
    const FrameSet set(5, 3, 8, 1);
    WriteAvi(path, set, MakeFourCC('D', 'I', 'B', ' '));
    const RiffChunk riff = ParseRiff(ReadBytes(path));
    const Bytes& strf = FindChunk(riff, {"hdrl", "strl", "strf"})->data;
    EXPECT_EQ(strf.size(), 40u + 1024u);
    EXPECT_EQ(Le32(strf, 32), 256u);
}

TEST_F(AviFile, WritesPastTheSizeLimitAreRefusedAndTheFileStaysComplete) {
    const FrameSet set(16, 16, 24, 10); // 768 bytes a frame
    const WrittenFile written =
        WriteAvi(path, set, MakeFourCC('D', 'I', 'B', ' '), nullptr, 8192 + 12 + 3 * 800);
    std::vector<HRESULT> expected(10, AVIERR_FILEWRITE);
    std::fill(expected.begin(), expected.begin() + 3, AVIERR_OK);
    EXPECT_EQ(written.writes, expected);
    const Bytes file = ReadBytes(path);
    EXPECT_LE(file.size(), 8192u + 12 + 3 * 800);
    const RiffChunk riff = ParseRiff(file);
    EXPECT_EQ(Le32(FindChunk(riff, {"hdrl", "avih"})->data, 16), 3u);
    EXPECT_EQ(FindChunk(riff, {"idx1"})->data.size(), 3u * 16);
    if (ProgramAvailable("ffmpeg")) {
        EXPECT_EQ(DecodedFrames(path).size(), 3u * 16 * 16 * 3);
    }
}

TEST_F(AviFile, HandlesStayValidUntilTheLastIsReleased) {
    const FrameSet set(4, 2, 24, 1);
    PAVIFILE file = nullptr;
    ASSERT_EQ(AVIFileOpen(&file, path.c_str(), OF_WRITE | OF_CREATE, nullptr), AVIERR_OK);
    AVISTREAMINFO info;
    info.fccType = streamtypeVIDEO;
    info.dwScale = 1;
    info.dwRate = 10;
    PAVISTREAM video = nullptr;
    ASSERT_EQ(AVIFileCreateStream(file, &video, &info), AVIERR_OK);
    const Bytes format = set.FormatBytes();
    ASSERT_EQ(AVIStreamSetFormat(video, 0, format.data(), static_cast<int32_t>(format.size())),
              AVIERR_OK);
    EXPECT_EQ(AVIFileRelease(file), 1u) << "the stream still holds the file";
    EXPECT_EQ(AVIStreamWrite(video, 0, 1, set.frames[0].data(),
                             static_cast<int32_t>(set.frames[0].size()), 0x10, nullptr, nullptr),
              AVIERR_OK);
    EXPECT_EQ(AVIStreamRelease(video), 0u);
    EXPECT_EQ(Le32(FindChunk(ParseRiff(ReadBytes(path)), {"hdrl", "avih"})->data, 16), 1u);
    EXPECT_EQ(
        AVIFileOpen(&file, (temp / "no/such/folder.avi").c_str(), OF_WRITE | OF_CREATE, nullptr),
        AVIERR_FILEOPEN);
    EXPECT_EQ(file, nullptr);
}

TEST(CodecWindow, AnswersFromTheTerminal) {
    struct Case {
        std::string typed;
        bool chosen;
        FOURCC code;
        uint32_t quality, keyFrames, bytesPerSecond;
    } cases[] = {
        {"2\n90\n5\n100\n", true, MakeFourCC('M', 'J', 'P', 'G'), 9000, 5, 102400},
        {"\n\n\n\n", true, MakeFourCC('D', 'I', 'B', ' '), 8500, 1, 0},
        {"7\nx\n1\n101\n50\n\n\n", true, MakeFourCC('D', 'I', 'B', ' '), 5000, 1, 0},
        {"c\n", false, 0, 0, 0, 0},
        {"2\nc\n", false, 0, 0, 0, 0},
        {"2\n", false, 0, 0, 0, 0}, // the terminal closes before the answers are complete
    };
    for (const Case& c : cases) {
        int master = -1, slave = -1;
        ASSERT_EQ(::openpty(&master, &slave, nullptr, nullptr, nullptr), 0);
        ASSERT_EQ(::write(master, c.typed.data(), c.typed.size()),
                  static_cast<ssize_t>(c.typed.size()));
        std::thread drain([master] {
            char buffer[4096];
            while (::read(master, buffer, sizeof buffer) > 0) {
            }
        });
        ::write(master, "\004", 1); // end of input after the typed lines
        AVICOMPRESSOPTIONS options;
        const bool chosen =
            RunCodecDialog(slave, ICMF_CHOOSE_KEYFRAME | ICMF_CHOOSE_DATARATE, options);
        ::close(slave);
        drain.join(); // reading the master fails once the terminal's other end is closed
        ::close(master);
        EXPECT_EQ(chosen, c.chosen) << c.typed;
        if (!chosen) continue;
        EXPECT_EQ(options.fccHandler, c.code) << c.typed;
        EXPECT_EQ(options.dwQuality, c.quality) << c.typed;
        EXPECT_EQ(options.dwKeyFrameEvery, c.keyFrames) << c.typed;
        EXPECT_EQ(options.dwBytesPerSecond, c.bytesPerSecond) << c.typed;
    }
}
