#include <gtest/gtest.h>

#include "avi/wave_file.h"
#include "avi/wave_fixtures.h"
#include "support/temp_folder.h"

namespace {

TPcmWave Read(const std::string& content) {
    TempFolder temp;
    WriteFile(temp / "sound.wav", content);
    return ReadPcmWave(temp / "sound.wav");
}

} // namespace

TEST(ReadPcmWave, CanonicalFileGivesTheFixedHeaderFields) {
    const auto samples = Samples(400);
    const TPcmWave wave = Read(WaveBuilder().Format(1, 2, 22050, 16).Data(samples).FileText());
    EXPECT_EQ(wave.Format.wFormatTag, 1);
    EXPECT_EQ(wave.Format.nChannels, 2);
    EXPECT_EQ(wave.Format.nSamplesPerSec, 22050u);
    EXPECT_EQ(wave.Format.nAvgBytesPerSec, 88200u);
    EXPECT_EQ(wave.Format.nBlockAlign, 4);
    EXPECT_EQ(wave.Format.wBitsPerSample, 16);
    EXPECT_EQ(wave.Format.cbSize, 0);
    EXPECT_EQ(wave.Samples, samples);
}

TEST(ReadPcmWave, FindsTheRealFormatAndSamplesBehindOtherChunks) {
    const auto samples = Samples(301);
    std::vector<uint8_t> extensible = {22, 0, 16, 0,
                                       3,  0, 0,  0}; // cbSize 22, valid bits, channel mask
    const std::vector<uint8_t> pcmGuid = {1,    0, 0, 0,    0, 0,    0x10, 0,
                                          0x80, 0, 0, 0xAA, 0, 0x38, 0x9B, 0x71};
    extensible.insert(extensible.end(), pcmGuid.begin(), pcmGuid.end());
    struct Case {
        const char* name;
        std::string file;
    } cases[] = {
        {"a format chunk of 18 bytes and a LIST chunk", WaveBuilder()
                                                            .Format(1, 1, 8000, 8, {0, 0})
                                                            .Text("LIST")
                                                            .U32(5)
                                                            .Raw({'I', 'N', 'F', 'O', 'x', 0})
                                                            .Data(samples)
                                                            .FileText()},
        {"the extensible form with the PCM sub-format",
         WaveBuilder().Format(0xFFFE, 1, 8000, 8, extensible).Data(samples).FileText()},
        {"a chunk before the format",
         WaveBuilder().Text("fact").U32(4).U32(301).Format(1, 1, 8000, 8).Data(samples).FileText()},
    };
    for (const Case& c : cases) {
        const TPcmWave wave = Read(c.file);
        EXPECT_EQ(wave.Format.wFormatTag, 1) << c.name;
        EXPECT_EQ(wave.Format.nChannels, 1) << c.name;
        EXPECT_EQ(wave.Format.wBitsPerSample, 8) << c.name;
        EXPECT_EQ(wave.Samples, samples) << c.name;
    }
}

TEST(ReadPcmWave, RefusesWhatIsNotUsablePcm) {
    const auto samples = Samples(64);
    std::vector<uint8_t> floatGuid = {22, 0, 32,   0, 3,    0, 0, 0,    3, 0,    0,    0,
                                      0,  0, 0x10, 0, 0x80, 0, 0, 0xAA, 0, 0x38, 0x9B, 0x71};
    struct Case {
        const char* name;
        std::string file;
    } cases[] = {
        {"no RIFF header",
         "RIFX" + WaveBuilder().Format(1, 1, 8000, 8).Data(samples).FileText().substr(4)},
        {"shorter than a header", "RIFF"},
        {"floating-point sound", WaveBuilder().Format(3, 1, 8000, 32).Data(samples).FileText()},
        {"extensible floating-point sound",
         WaveBuilder().Format(0xFFFE, 1, 8000, 32, floatGuid).Data(samples).FileText()},
        {"no channels", WaveBuilder().Format(1, 0, 8000, 8).Data(samples).FileText()},
        {"no bits per sample", WaveBuilder().Format(1, 1, 8000, 0).Data(samples).FileText()},
        {"data claims more than the file holds",
         WaveBuilder().Format(1, 1, 8000, 8).Data(samples, 65).FileText()},
        {"data of 512 MiB",
         WaveBuilder().Format(1, 1, 8000, 8).Data(samples, 512u << 20).FileText()},
        {"data before the format", WaveBuilder().Data(samples).Format(1, 1, 8000, 8).FileText()},
        {"no data", WaveBuilder().Format(1, 1, 8000, 8).FileText()},
        {"a format chunk running past the end",
         WaveBuilder().Text("fmt ").U32(100).U16(1).FileText()},
    };
    for (const Case& c : cases)
        EXPECT_THROW(Read(c.file), EInvalidAudio) << c.name;
}
