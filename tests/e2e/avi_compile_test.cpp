#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "avi/wave_fixtures.h"
#include "e2e/expected_text.h"
#include "platform/graphics/bitmap.h"
#include "support/command_output.h"
#include "support/riff_reader.h"
#include "support/temp_folder.h"
#include "support/tool_run.h"

namespace {

using Args = std::vector<std::string>;
using Bytes = std::vector<uint8_t>;

// A 24-bit picture whose pixels depend on Seed, as top-down blue-green-red bytes too.
struct Picture {
    int width, height;
    std::string bgr;
};

Picture SavePicture(const std::string& path, int width, int height, int seed) {
    TBitmap bitmap;
    bitmap.SetSize(width, height);
    Picture picture{width, height, {}};
    for (int y = 0; y < height; ++y) {
        uint8_t* row = bitmap.ScanLine(y);
        for (int x = 0; x < width; ++x) {
            // Smooth, as photographs are, so that lossy codecs can be judged.
            row[x * 3] = static_cast<uint8_t>((x * 3 + seed * 50) % 256);
            row[x * 3 + 1] = static_cast<uint8_t>((y * 4 + seed * 20) % 256);
            row[x * 3 + 2] = static_cast<uint8_t>((x + y + seed * 30) % 256);
        }
        picture.bgr.append(reinterpret_cast<const char*>(row), static_cast<size_t>(width) * 3);
    }
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    bitmap.SaveToFile(path);
    return picture;
}

Bytes FileBytes(const std::string& path) {
    const std::string text = ReadFile(path);
    return Bytes(text.begin(), text.end());
}

struct StreamHeader {
    std::string type, handler;
    uint32_t scale, rate, length;
};

std::vector<StreamHeader> StreamHeaders(const std::string& path) {
    std::vector<StreamHeader> headers;
    const RiffChunk riff = ParseRiff(FileBytes(path));
    for (const RiffChunk& list : FindChunk(riff, {"hdrl"})->children) {
        if (list.kind != "strl") continue;
        const Bytes& h = list.children[0].data;
        headers.push_back({std::string(h.begin(), h.begin() + 4),
                           std::string(h.begin() + 4, h.begin() + 8), Le32(h, 20), Le32(h, 24),
                           Le32(h, 32)});
    }
    return headers;
}

std::string Probe(const std::string& path, const std::string& entries) {
    return CommandOutput(
        "ffprobe -v error -select_streams v:0 -count_frames -show_entries stream=" + entries +
        " -of default=nw=1 '" + path + "' 2>/dev/null");
}

std::string DecodedFrames(const std::string& path) {
    return CommandOutput("ffmpeg -v error -i '" + path +
                         "' -map 0:v -f rawvideo -pix_fmt bgr24 - 2>/dev/null");
}

double Psnr(const std::string& a, const std::string& b) {
    if (a.size() != b.size() || a.empty()) return 0;
    double error = 0;
    for (size_t i = 0; i < a.size(); ++i) {
        const double d = static_cast<uint8_t>(a[i]) - static_cast<uint8_t>(b[i]);
        error += d * d;
    }
    return error == 0 ? 99 : 10 * std::log10(255.0 * 255.0 / (error / a.size()));
}

class AviCompile : public testing::Test {
  protected:
    void SetUp() override {
        if (!ProgramAvailable("ffprobe")) GTEST_SKIP() << "ffmpeg (ffprobe) is not installed";
    }
    // Pictures pics/p1.bmp ... of Width x Height.
    std::vector<Picture> MakePictures(int count, int width = 32, int height = 24) {
        std::vector<Picture> pictures;
        for (int i = 1; i <= count; ++i)
            pictures.push_back(
                SavePicture(temp / ("pics/p" + std::to_string(i) + ".bmp"), width, height, i));
        return pictures;
    }
    ToolResult Run(Args args) {
        args.insert(args.end(), {"-lf", "run.log"});
        ToolResult run = RunTool(args, temp.Path(), 120);
        log = ReadFile(temp / "run.log");
        return run;
    }

    TempFolder temp;
    std::string out = temp / "out.avi";
    std::string log;
};

} // namespace

TEST_F(AviCompile, UncompressedFramesAreThePicturesAndTheRunSucceeds) {
    const std::vector<Picture> pictures = MakePictures(3);
    const ToolResult run =
        Run({"/p", "pics", "out.avi", "-sf", "-hcd", "DIB", "-hew", "-fps", "25"});
    EXPECT_EQ(run.ExitCode, 0) << run.Out;
    EXPECT_TRUE(log.ends_with("\n100% - Process completed successfuly.\n\nExit - Success")) << log;
    EXPECT_NE(log.find("\nOutput Width set to: 32\nOutput Height set to: 24\nFrames Per Second set "
                       "to: 25.000000"),
              std::string::npos)
        << "the size comes from the first picture";
    EXPECT_NE(log.find("\n100% - Compiled 3 of 3: pics/p3.bmp"), std::string::npos);
    EXPECT_EQ(Probe(out, "codec_name,width,height,nb_read_frames"),
              "codec_name=rawvideo\nwidth=32\nheight=24\nnb_read_frames=3\n");
    const std::vector<StreamHeader> headers = StreamHeaders(out);
    ASSERT_EQ(headers.size(), 1u);
    EXPECT_EQ(headers[0].scale, 100000u);
    EXPECT_EQ(headers[0].rate, 2500000u);
    EXPECT_EQ(DecodedFrames(out), pictures[0].bgr + pictures[1].bgr + pictures[2].bgr);
}

TEST_F(AviCompile, RepeatValuesSpreadFramesOverThePictures) {
    struct Case {
        Args options;
        int pictures;
        uint32_t frames;
        uint32_t rate;
    } cases[] = {
        {{"-rt", "1"}, 5, 5, 2996999},   {{"-rt", "2.5"}, 4, 10, 2996999},
        {{"-rt", "1.5"}, 5, 7, 2996999}, {{"-rt", "0.5"}, 4, 2, 2996999},
        {{"-ds", "1"}, 6, 179, 2996999}, {{"-fps", "10", "-ds", "0.5"}, 3, 15, 1000000},
    };
    for (const Case& c : cases) {
        std::filesystem::remove_all(temp / "pics");
        MakePictures(c.pictures, 8, 6);
        Args args = {"/p", "pics", "out.avi", "-hcd", "DIB", "-hew"};
        args.insert(args.end(), c.options.begin(), c.options.end());
        const ToolResult run = Run(args);
        EXPECT_EQ(run.ExitCode, 0) << c.options[1];
        const std::vector<StreamHeader> headers = StreamHeaders(out);
        EXPECT_EQ(headers[0].length, c.frames) << c.options[1];
        EXPECT_EQ(headers[0].rate, c.rate) << c.options[1];
        EXPECT_EQ(Probe(out, "nb_read_frames"), "nb_read_frames=" + std::to_string(c.frames) + "\n")
            << c.options[1];
    }
}

TEST_F(AviCompile, PaletteFramesAndMotionJpeg) {
    const std::vector<Picture> pictures = MakePictures(2, 64, 48);
    ASSERT_EQ(Run({"/p", "pics", "out.avi", "-sf", "-hcd", "DIB", "-hew", "-pf", "8"}).ExitCode, 0)
        << log;
    const RiffChunk riff = ParseRiff(FileBytes(out));
    const Bytes& strf = FindChunk(riff, {"hdrl", "strl", "strf"})->data;
    ASSERT_EQ(strf.size(), 40u + 1024u) << "8-bit video carries its palette";
    std::string expected;
    for (const RiffChunk& chunk : FindChunk(riff, {"movi"})->children)
        for (int y = 47; y >= 0; --y)
            for (int x = 0; x < 64; ++x)
                expected.append(
                    reinterpret_cast<const char*>(&strf[40 + 4 * chunk.data[y * 64 + x]]), 3);
    EXPECT_EQ(DecodedFrames(out), expected);

    ASSERT_EQ(Run({"/p", "pics", "mjpg.avi", "-sf", "-hcd", "mjpg", "-hew"}).ExitCode, 0) << log;
    EXPECT_EQ(Probe(temp / "mjpg.avi", "codec_name,nb_read_frames"),
              "codec_name=mjpeg\nnb_read_frames=2\n");
    EXPECT_GT(Psnr(DecodedFrames(temp / "mjpg.avi"), pictures[0].bgr + pictures[1].bgr), 35.0);
}

TEST_F(AviCompile, SoundTrackHoldsTheWaveSamples) {
    MakePictures(2);
    const Bytes samples = Samples(4 * 8000);
    WriteFile(temp / "sound.wav", WaveBuilder()
                                      .Format(1, 2, 8000, 16)
                                      .Text("LIST")
                                      .U32(4)
                                      .Text("INFO")
                                      .Data(samples)
                                      .FileText());
    const ToolResult run =
        Run({"/p", "pics", "out.avi", "-hcd", "DIB", "-hew", "-ia", "sound.wav"});
    EXPECT_EQ(run.ExitCode, 0) << log;
    EXPECT_NE(log.find("\nAdding audio file: sound.wav...\nAudio file added.\n"),
              std::string::npos);
    const std::vector<StreamHeader> headers = StreamHeaders(out);
    ASSERT_EQ(headers.size(), 2u);
    EXPECT_EQ(headers[1].type, "auds");
    EXPECT_EQ(headers[1].length, 8000u);
    EXPECT_EQ(CommandOutput("ffmpeg -v error -i '" + out +
                            "' -map 0:a -f s16le -acodec pcm_s16le - 2>/dev/null"),
              std::string(samples.begin(), samples.end()));
}

TEST_F(AviCompile, MissingOrInvalidSound) {
    MakePictures(2);
    WriteFile(temp / "float.wav",
              WaveBuilder().Format(3, 1, 8000, 32).Data(Samples(64)).FileText());
    const std::string missing = "\n\nERROR: Unable to add WAV file. The audio file path does not "
                                "exist. - IMAGE_TO_VIDEO_CLASS::CompileAVI()\n\n";
    const std::string invalid =
        "\n\nERROR: Unable to add WAV file. Please make sure that the audio file is a valid "
        "PCM WAV file. - IMAGE_TO_VIDEO_CLASS::CompileAVI()\n\n";
    struct Case {
        std::string wave;
        bool hideWindows;
        std::string text;
        std::string window;
    } cases[] = {
        {"none.wav", true, missing, ""},
        {"float.wav", true, invalid, ""},
        {"none.wav", false,
         missing + "\n\nAborted per user decision to NOT continue without the audio file.",
         "\n[Vantrel_CL - Error] " + missing +
             "Do you wish to continue without audio? [Yes] [No] -> No\n"},
        {"float.wav", false,
         invalid + "\n\nAborted per user decision to NOT continue without the audio file.", ""},
    };
    for (const Case& c : cases) {
        Args args = {"/p", "pics", "out.avi", "-hcd", "DIB", "-ia", c.wave};
        if (c.hideWindows) args.push_back("-hew");
        const ToolResult run = Run(args);
        EXPECT_EQ(run.ExitCode, 21) << c.wave;
        EXPECT_NE(log.find("\nAdding audio file: " + c.wave + "..." + c.text), std::string::npos)
            << log;
        if (!c.window.empty()) {
            EXPECT_NE(run.Err.find(c.window), std::string::npos) << run.Err;
        }
        EXPECT_GT(ReadFile(out).size(), 0u)
            << "the writer is released and leaves an AVI without frames";
    }
}

TEST_F(AviCompile, UnknownCodecEndsWithTheEmptyFileError) {
    MakePictures(2);
    const ToolResult run = Run({"/p", "pics", "out.avi", "-hcd", "ABCD", "-hew"});
    EXPECT_EQ(run.ExitCode, 21);
    EXPECT_TRUE(log.ends_with(
        "\n\nERROR: Output AVI file size is zero bytes. This error will occur if an unsupported "
        "codec is used for AVI format 1.0. Please try a different codec. - "
        "IMAGE_TO_VIDEO_CLASS::CompileAVI()\n\n\n\nExit - Aborted"))
        << log;
}

TEST_F(AviCompile, WithoutATerminalTheCodecWindowIsCancelled) {
    MakePictures(2);
    const ToolResult run = Run({"/p", "pics", "out.avi", "-hew"});
    EXPECT_EQ(run.ExitCode, 21);
    EXPECT_NE(log.find("\n\nAborted per user request at codec dialog."), std::string::npos);
    EXPECT_NE(run.Err.find("-hcd"), std::string::npos) << "standard error says how to name a codec";
}

TEST_F(AviCompile, CodecWindowOnATerminal) {
    MakePictures(2);
    const ToolResult chosen = RunToolOnTerminal(
        {"/p", "pics", "out.avi", "-hew"}, temp.Path(),
        {{"Compressor 1-2", "2\n"}, {"Quality", "90\n"}, {"Key frame", "\n"}, {"Data rate", "\n"}});
    EXPECT_EQ(chosen.ExitCode, 0) << chosen.Out;
    EXPECT_EQ(Probe(out, "codec_name"), "codec_name=mjpeg\n");

    const ToolResult cancelled = RunToolOnTerminal({"/p", "pics", "out.avi", "-hew"}, temp.Path(),
                                                   {{"Compressor 1-2", "c\n"}});
    EXPECT_EQ(cancelled.ExitCode, 21);
    EXPECT_NE(cancelled.Out.find("Aborted per user request at codec dialog."), std::string::npos);
}

TEST_F(AviCompile, AnUnreadablePictureEndsTheCompileAfterTheFramesBeforeIt) {
    const std::vector<Picture> pictures = MakePictures(4);
    WriteFile(temp / "pics/p3.bmp", "BM not a bitmap");
    const ToolResult run = Run({"/p", "pics", "out.avi", "-sf", "-hcd", "DIB", "-hew"});
    EXPECT_EQ(run.ExitCode, 21);
    const size_t failure = log.find("\n50% - Compiled 2 of 4: pics/p2.bmp"
                                    "\nERROR: Unable to load image file \"pics/p3.bmp\". - "
                                    "IMAGE_TO_VIDEO_CLASS::LoadImage()\n\n");
    ASSERT_NE(failure, std::string::npos) << log;
    EXPECT_EQ(log.find("p4.bmp", failure), std::string::npos)
        << "nothing is reported of the picture after";
    EXPECT_EQ(DecodedFrames(out), pictures[0].bgr + pictures[1].bgr);
}

// A write the file cannot take (here past the size the system allows this run) is
// refused; the frames before it still form a complete file and the run ends with a
// warning instead of success.
TEST_F(AviCompile, FramesTheFileCannotTakeAreCountedAndWarnedOf) {
    const std::vector<Picture> pictures = MakePictures(2, 64, 48);
    const long frameChunk = 8 + 64 * 48 * 3;
    const ToolResult run = RunTool({"/p", "pics", "out.avi", "-sf", "-hcd", "DIB", "-hew", "-rt",
                                    "10", "-lf", "run.log"},
                                   temp.Path(), 60, 0, 8192 + 12 + 14 * frameChunk + 8 + 16 * 14);
    log = ReadFile(temp / "run.log");
    EXPECT_EQ(run.ExitCode, 1) << run.Out << run.Err;
    EXPECT_NE(log.find("\nWARNING: 6 frames could not be written to the AVI file. - "
                       "IMAGE_TO_VIDEO_CLASS::CompileAVI()\n"),
              std::string::npos)
        << log;
    EXPECT_TRUE(log.ends_with("\n\nExit - Warnings 1")) << log;
    EXPECT_EQ(Probe(out, "nb_read_frames"), "nb_read_frames=14\n");
    std::string expected;
    for (int k = 0; k < 14; ++k)
        expected += pictures[k / 10].bgr;
    EXPECT_TRUE(DecodedFrames(out) == expected);
}

TEST_F(AviCompile, AbortMarkerDuringTheLoopLeavesAPlayableFile) {
    MakePictures(20);
    // The codec window holds the run after the file was created; the marker appears then.
    const ToolResult run = RunToolOnTerminal(
        {"/p", "pics", "out.avi", "-hew", "-rt", "3", "-lf", "run.log"}, temp.Path(),
        {{"Compressor 1-2", "1\n", [this] { WriteFile(temp / "Abort.vtl", ""); }},
         {"Quality", "\n"},
         {"Key frame", "\n"},
         {"Data rate", "\n"}});
    EXPECT_EQ(run.ExitCode, 21) << "a stop inside the compile is the compile's failure";
    EXPECT_TRUE(
        ReadFile(temp / "run.log").ends_with("\n\nAborted per user request.\n\nExit - Aborted"));
    EXPECT_FALSE(PathExists(temp / "Abort.vtl"));
    EXPECT_EQ(Probe(out, "nb_read_frames"), "nb_read_frames=1\n")
        << "the frames so far form a complete file";
}

TEST_F(AviCompile, OverwriteProtectionAsksFirst) {
    MakePictures(1);
    WriteFile(out, "keep me");
    const ToolResult refused = Run({"/p", "pics", "out.avi", "-hcd", "DIB", "-hew", "-owp"});
    EXPECT_EQ(refused.ExitCode, 21);
    EXPECT_NE(
        log.find("\nOutput file name already exists. Overwrite protection is set to on.\nPrompting "
                 "user to "
                 "confirm overwrite...\nOverwrite denied by user. AVI compile process cancelled."),
        std::string::npos);
    EXPECT_EQ(ReadFile(out), "keep me");

    const ToolResult accepted =
        RunToolOnTerminal({"/p", "pics", "out.avi", "-hcd", "DIB", "-hew", "-owp"}, temp.Path(),
                          {{"Overwrite?", "y"}});
    EXPECT_EQ(accepted.ExitCode, 0) << accepted.Out;
    EXPECT_NE(accepted.Out.find("Overwrite accepted."), std::string::npos);
    EXPECT_NE(ReadFile(out), "keep me");

    const ToolResult unprotected = Run({"/p", "pics", "out.avi", "-hcd", "DIB", "-hew"});
    EXPECT_EQ(unprotected.ExitCode, 0);
    EXPECT_NE(log.find(" Overwrite protection is set to off. Will overwrite existing file."),
              std::string::npos);
}

TEST_F(AviCompile, BackgroundPictureFillsTheFrameUnderThePicture) {
    MakePictures(1, 8, 6);
    TBitmap back;
    back.SetSize(4, 4);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x) {
            uint8_t* p = back.ScanLine(y) + x * 3;
            p[0] = 10, p[1] = 200, p[2] = 30;
        }
    back.SaveToFile(temp / "back.bmp");
    const ToolResult run = Run({"/p", "pics", "out.avi", "-hcd", "DIB", "-hew", "-w", "32", "-h",
                                "24", "-zi", "-bgi", "back.bmp"});
    EXPECT_EQ(run.ExitCode, 0) << log;
    EXPECT_NE(log.find("\nLoading background file: back.bmp...\nBackground file loaded."),
              std::string::npos);
    const std::string frame = DecodedFrames(out);
    ASSERT_EQ(frame.size(), 32u * 24 * 3);
    EXPECT_EQ(frame.substr(0, 3), std::string("\x0A\xC8\x1E", 3))
        << "the corner shows the background";

    const ToolResult missing =
        Run({"/p", "pics", "out.avi", "-hcd", "DIB", "-hew", "-bgi", "none.bmp"});
    EXPECT_EQ(missing.ExitCode, 21);
    EXPECT_NE(log.find("\n\nERROR: Background file does not exist. Please make sure the file path "
                       "is correct."),
              std::string::npos);
}
