#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include "avi/avi_writer.h"
#include "avi/wave_file.h"
#include "avi/wave_fixtures.h"
#include "support/riff_reader.h"
#include "platform/graphics/bitmap.h"
#include "support/temp_folder.h"

namespace {

std::unique_ptr<TBitmap> Frame(int width, int height, TPixelFormat format) {
    auto bitmap = std::make_unique<TBitmap>();
    bitmap->SetSize(width, height);
    for (int y = 0; y < height; ++y) {
        uint8_t* row = bitmap->ScanLine(y);
        for (int x = 0; x < width * 3; ++x)
            row[x] = static_cast<uint8_t>(x * 9 + y * 40);
    }
    bitmap->SetPixelFormat(format);
    return bitmap;
}

std::vector<uint8_t> FileBytes(const std::string& path) {
    const std::string text = ReadFile(path);
    return std::vector<uint8_t>(text.begin(), text.end());
}

AVICOMPRESSOPTIONS Codec(const char* code) {
    AVICOMPRESSOPTIONS options;
    options.fccHandler = MakeFourCC(code[0], code[1], code[2], code[3]);
    return options;
}

class AviWriter : public testing::Test {
  protected:
    TempFolder temp;
    std::string path = temp / "out.avi";
};

} // namespace

TEST_F(AviWriter, RateAndScaleComeFromTheFrameRate) {
    struct Case {
        double fps;
        uint32_t rate;
    } cases[] = {{25.0, 2500000}, {29.97, 2996999}, {10.0, 1000000}, {23.976, 2397599}};
    for (const Case& c : cases) {
        AviWriterHandle writer(OpenWriter(path.c_str(), 100000.0, c.fps));
        ASSERT_TRUE(writer);
        EXPECT_EQ(writer->VideoScale, 100000u);
        EXPECT_EQ(writer->VideoRate, c.rate) << c.fps;
    }
    EXPECT_EQ(OpenWriter((temp / "missing/x.avi").c_str(), 100000.0, 25.0), nullptr);
}

TEST_F(AviWriter, ChecksComeBeforeWork) {
    auto frame = Frame(8, 4, pf24bit);
    TBitmap empty;
    const AVICOMPRESSOPTIONS dib = Codec("DIB ");
    EXPECT_EQ(PrepareVideoStream(nullptr, frame.get(), &dib, false, nullptr), AVIERR_BADHANDLE);
    EXPECT_EQ(WriteVideoFrame(nullptr, frame.get()), AVIERR_BADHANDLE);
    EXPECT_EQ(WriteWaveAudio(nullptr, "x.wav"), AVIERR_BADHANDLE);
    EXPECT_EQ(ReleaseWriter(nullptr), AVIERR_BADHANDLE);

    AviWriterHandle writer(OpenWriter(path.c_str(), 100000.0, 25.0));
    EXPECT_EQ(PrepareVideoStream(writer.get(), &empty, &dib, false, nullptr), AVIERR_BADPARAM);
    EXPECT_EQ(PrepareVideoStream(writer.get(), nullptr, &dib, false, nullptr), AVIERR_BADPARAM);
    EXPECT_EQ(WriteWaveAudio(writer.get(), nullptr), AVIERR_BADPARAM);
    EXPECT_FALSE(writer->Failed);
    EXPECT_EQ(PrepareVideoStream(writer.get(), frame.get(), &dib, false, nullptr), AVIERR_OK);
    EXPECT_EQ(PrepareVideoStream(writer.get(), frame.get(), &dib, false, nullptr),
              AVIERR_COMPRESSOR);
    EXPECT_EQ(WriteVideoFrame(writer.get(), frame.get()), AVIERR_OK);
    EXPECT_EQ(writer->NextFrame, 1u);
    EXPECT_EQ(WriteWaveAudio(writer.get(), (temp / "none.wav").c_str()), AVIERR_FILEOPEN);
    EXPECT_TRUE(writer->Failed);
    EXPECT_EQ(WriteVideoFrame(writer.get(), frame.get()), AVIERR_ERROR);
}

TEST_F(AviWriter, UnknownCodecFailsTheWriterAndLeavesAnEmptyFile) {
    auto frame = Frame(8, 4, pf24bit);
    const AVICOMPRESSOPTIONS xvid = Codec("XVID");
    {
        AviWriterHandle writer(OpenWriter(path.c_str(), 100000.0, 25.0));
        EXPECT_EQ(PrepareVideoStream(writer.get(), frame.get(), &xvid, false, nullptr),
                  AVIERR_NOCOMPRESSOR);
        EXPECT_TRUE(writer->Failed);
        EXPECT_EQ(WriteVideoFrame(writer.get(), frame.get()), AVIERR_ERROR);
    }
    EXPECT_EQ(ReadFile(path).size(), 0u);
}

TEST_F(AviWriter, FramesAndSoundReachTheFile) {
    const uint32_t rate = 11025;
    WriteFile(temp / "sound.wav",
              WaveBuilder().Format(1, 2, rate, 16).Data(Samples(4 * rate)).FileText());
    for (TPixelFormat format : {pf24bit, pf8bit}) {
        auto frame = Frame(8, 4, format);
        {
            AviWriterHandle writer(OpenWriter(path.c_str(), 100000.0, 25.0));
            const AVICOMPRESSOPTIONS dib = Codec("DIB ");
            ASSERT_EQ(PrepareVideoStream(writer.get(), frame.get(), &dib, false, nullptr),
                      AVIERR_OK);
            ASSERT_EQ(WriteWaveAudio(writer.get(), (temp / "sound.wav").c_str()), AVIERR_OK);
            EXPECT_EQ(writer->NextSample, rate);
            EXPECT_EQ(writer->AudioFormat.nChannels, 2);
            for (int i = 0; i < 3; ++i)
                ASSERT_EQ(WriteVideoFrame(writer.get(), frame.get()), AVIERR_OK);
        }
        const RiffChunk riff = ParseRiff(FileBytes(path));
        const RiffChunk* hdrl = FindChunk(riff, {"hdrl"});
        ASSERT_EQ(hdrl->children.size(), 3u);
        const std::vector<uint8_t>& video = hdrl->children[1].children[1].data;
        EXPECT_EQ(video.size(), format == pf8bit ? 40u + 1024u : 40u)
            << "8-bit frames carry their palette";
        const std::vector<uint8_t>& audio = hdrl->children[2].children[0].data;
        EXPECT_EQ(Le32(audio, 20), 4u) << "dwScale";
        EXPECT_EQ(Le32(audio, 24), 4u * rate) << "dwRate";
        EXPECT_EQ(Le32(audio, 32), rate) << "dwLength";
        EXPECT_EQ(Le32(audio, 44), 4u) << "dwSampleSize";
        EXPECT_EQ(Le32(audio, 36 + 4), 0xFFFFFFFFu) << "dwQuality";
        const RiffChunk* movi = FindChunk(riff, {"movi"});
        ASSERT_EQ(movi->children.size(), 4u);
        EXPECT_EQ(movi->children[0].id, "01wb");
        EXPECT_EQ(movi->children[0].data, Samples(4 * rate));
    }
}

TEST_F(AviWriter, InvalidSoundRaisesAndLeavesTheWriterUsable) {
    auto frame = Frame(8, 4, pf24bit);
    WriteFile(temp / "bad.wav", WaveBuilder().Format(3, 1, 8000, 32).Data(Samples(16)).FileText());
    AviWriterHandle writer(OpenWriter(path.c_str(), 100000.0, 25.0));
    const AVICOMPRESSOPTIONS dib = Codec("DIB ");
    ASSERT_EQ(PrepareVideoStream(writer.get(), frame.get(), &dib, false, nullptr), AVIERR_OK);
    EXPECT_THROW(WriteWaveAudio(writer.get(), (temp / "bad.wav").c_str()), EInvalidAudio);
    EXPECT_FALSE(writer->Failed);
    EXPECT_EQ(WriteVideoFrame(writer.get(), frame.get()), AVIERR_OK);
}

TEST_F(AviWriter, CancelledCodecWindowFailsTheWriter) {
    const int tty = ::open("/dev/tty", O_RDWR | O_NOCTTY);
    if (tty >= 0) {
        ::close(tty);
        GTEST_SKIP() << "a terminal would show the codec window; the end-to-end tests answer it on "
                        "a pseudo-terminal";
    }
    auto frame = Frame(8, 4, pf24bit);
    AviWriterHandle writer(OpenWriter(path.c_str(), 100000.0, 25.0));
    EXPECT_EQ(PrepareVideoStream(writer.get(), frame.get(), nullptr, true, nullptr),
              AVIERR_USERABORT);
    EXPECT_TRUE(writer->Failed);
    EXPECT_EQ(WriteVideoFrame(writer.get(), frame.get()), AVIERR_ERROR);
}
