#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "frontend/options.h"
#include "frontend/run_driver.h"
#include "job/image_to_video_class.h"
#include "platform/system/message_window.h"
#include "support/temp_folder.h"

namespace {

class RecordingAnswerer : public TMessageWindowAnswerer {
  public:
    TModalResult Answer(const TMessageWindow& Window) override {
        texts.push_back(Window.Text);
        return Window.Buttons == mbOK ? mrOk : mrNo;
    }
    std::vector<std::string> texts;
};

// Reads the optional commands of "vntrl /p in OUT ARGS..." into a fresh job, with the
// console captured and windows answered in-process.
struct OptionRun {
    explicit OptionRun(std::vector<std::string> options, std::string output = "out.avi") {
        arguments = {"vntrl", "/p", "in", output};
        arguments.insert(arguments.end(), options.begin(), options.end());
        for (std::string& a : arguments)
            argv.push_back(a.data());
        job.Initialize(10, nullptr);
        SetMessageWindowAnswerer(&windows);
        testing::internal::CaptureStdout();
        result = ReadRequiredCommands(driver, job, static_cast<int>(argv.size()), argv.data());
        if (result == 0)
            result = ReadOptionalCommands(driver, job, static_cast<int>(argv.size()), argv.data());
        console = testing::internal::GetCapturedStdout();
        SetMessageWindowAnswerer(nullptr);
    }

    std::vector<std::string> arguments;
    std::vector<char*> argv;
    DRIVER_STATE driver;
    IMAGE_TO_VIDEO_CLASS job;
    RecordingAnswerer windows;
    int result = 0;
    std::string console;
};

} // namespace

TEST(FindArgument, MatchesOnlyTheLowerAndUpperForms) {
    std::vector<std::string> words = {"vntrl", "-FPS", "-Fps", "-fps", "/fps"};
    std::vector<char*> argv;
    for (std::string& w : words)
        argv.push_back(w.data());
    EXPECT_EQ(FindArgument("-fps", "-FPS", 5, argv.data()), 1);
    EXPECT_EQ(FindArgument("-w", "-W", 5, argv.data()), 0);
    EXPECT_EQ(FindArgument("vntrl", "VNTRL", 5, argv.data()), 0) << "position 0 is never searched";
    EXPECT_EQ(FindArgument("/fps", "/FPS", 5, argv.data()), 4);
}

TEST(DeriveOutputFolder, ResolvesAgainstTheCurrentFolder) {
    struct Case {
        const char* output;
        const char* folder;
    } cases[] = {
        {"out.avi", "/work"},
        {"sub/out.avi", "/work/sub"},
        {"sub\\deeper\\out.avi", "/work/sub\\deeper"},
        {"/data/clips/out.avi", "/data/clips"},
        {"/out.avi", "/"},
        {"./out.avi", "/work/."},
        {"C:\\out.avi", "C:\\"},
        {"C:\\films\\out.avi", "C:\\films"},
        {"C:films/out.avi", "C:\\films"},
        {"\\\\server\\out.avi", "\\\\server"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(DeriveOutputFolder(c.output, "/work"), c.folder) << c.output;
}

TEST(OptionalCommands, RepeatDisplayAndRateFollowTheTableOrder) {
    struct Case {
        std::vector<std::string> options;
        double fps, repeat, seconds;
    } cases[] = {
        {{"-rt", "2"}, 29.97, 2.0, static_cast<double>(2.0L / static_cast<long double>(29.97))},
        {{"-rt", "2", "-ds", "1"},
         29.97,
         static_cast<double>(1.0L * static_cast<long double>(29.97)),
         1.0},
        {{"-fps", "10"}, 10.0, 1.0, 0.0333667000333667},
        {{"-rt", "5", "-fps", "10"}, 10.0, 5.0, 0.5},
        {{"-ds", "2", "-FPS", "25"}, 25.0, 50.0, 2.0},
        {{"-fps", "0"}, 29.97, 1.0, 0.0333667000333667},
        {{"-fps", "abc"}, 29.97, 1.0, 0.0333667000333667},
        {{"-fps", "-3", "-rt", "3"},
         29.97,
         3.0,
         static_cast<double>(3.0L / static_cast<long double>(29.97))},
    };
    for (const Case& c : cases) {
        OptionRun run(c.options);
        ASSERT_EQ(run.result, 0);
        EXPECT_EQ(run.job.FramesPerSecond, c.fps);
        EXPECT_EQ(run.job.RepeatCount, c.repeat);
        EXPECT_EQ(run.job.DisplaySeconds, c.seconds);
    }
}

TEST(OptionalCommands, WarningsKeepTheDefaultAndAreCounted) {
    struct Case {
        std::vector<std::string> options;
        const char* warning;
    } cases[] = {
        {{"-w"}, "\nWARNING: No output width was specified. Using default."},
        {{"-h"}, "\nWARNING: No output height was specified. Using default."},
        {{"-fps"}, "\nWARNING: FPS was not specified. Using default."},
        {{"-fps", "0"}, "\nWARNING: FPS must be greater than zero. Using default."},
        {{"-rt"},
         "\nWARNING: Number of times to repeat each frame was not specified. Using default."},
        {{"-ds"}, "\nWARNING: Seconds to display each frame was not specified. Using default."},
        {{"-ia"}, "\nWARNING: Audio file was not specified. Thisoption will be ignored."},
        {{"-sd"}, "\nWARNING: Sort depth not specified. Using default."},
        {{"-bsw"}, "\nWARNING: Border size width % not specified. Using default."},
        {{"-bsh"}, "\nWARNING: Border size height % not specified. Using default."},
        {{"-pf"}, "\nWARNING: Pixel format not specified. Using default."},
        {{"-pf", "16"}, "\nWARNING: Specified pixel format is not valid. Using default."},
        {{"-pf", "abc"}, "\nWARNING: Specified pixel format is not valid. Using default."},
        {{"-rm"}, "\nWARNING: Resize method not specified. Using default."},
        {{"-rm", "4"},
         "\nWARNING: Specified resize method is not valid. Must be 1, 2, or 3. Using default."},
        {{"-bgc", "1", "2"},
         "\nWARNING: Background color not specified. Must be r g b (0-255 each). Using default."},
        {{"-bgc", "256", "0", "0"},
         "\nWARNING: Specified background color is not valid. Must be r g b (0-255 each). Using "
         "default."},
        {{"-bgc", "0", "-1", "0"},
         "\nWARNING: Specified background color is not valid. Must be r g b (0-255 each). Using "
         "default."},
        {{"-bgi"},
         "\nWARNING: Background image file was not specified. This option will be ignored."},
        {{"-sem"}, "\nWARNING: No extension mask list was specified. Using default"},
    };
    for (const Case& c : cases) {
        OptionRun run(c.options);
        ASSERT_EQ(run.result, 0) << c.warning;
        EXPECT_EQ(run.console, std::string(c.warning)) << c.options[0];
        EXPECT_EQ(run.job.WarningCount, 1) << c.options[0];
        EXPECT_TRUE(run.windows.texts.empty());
    }
    OptionRun two({"-w", "-h"});
    EXPECT_EQ(two.job.OutputWidth, 0) << "a value that looks like an option is still the value";
    EXPECT_EQ(two.job.WarningCount, 1) << "-h is found as the option and has no value";
    EXPECT_EQ(two.job.BackgroundColor[2], 0);
}

TEST(OptionalCommands, SettingsTakeTheirValues) {
    OptionRun run({"-w",       "640",       "-H",   "480",  "-subf", "-sb",  "-sf",  "-sd",
                   "3",        "-ar",       "-zi",  "-bsw", "10.5",  "-bsh", "-2",   "-pf",
                   "8",        "-rm",       "2",    "-bgc", "255",   "0",    "0",    "-bgi",
                   "back.bmp", "-of",       "-co",  "-hcd", "ab",    "-owp", "-sem", "*.png",
                   "-ia",      "sound.wav", "-gif", "3",    "2",     "1"});
    ASSERT_EQ(run.result, 0);
    const IMAGE_TO_VIDEO_CLASS& job = run.job;
    EXPECT_EQ(job.OutputWidth, 640);
    EXPECT_EQ(job.OutputHeight, 480);
    EXPECT_TRUE(job.IncludeSubFolders);
    EXPECT_EQ(job.SortMode, 2) << "-sb wins over -sf";
    EXPECT_EQ(job.SortDepth, 3);
    EXPECT_FALSE(job.MaintainAspect);
    EXPECT_FALSE(job.FitSmallerPics);
    EXPECT_EQ(job.BorderSizeWidth, 10.5);
    EXPECT_EQ(job.BorderSizeHeight, -2.0);
    EXPECT_EQ(job.PixelFormat, pf8bit);
    EXPECT_EQ(job.ResizeMethod, 2);
    EXPECT_EQ(job.BackgroundColor[0], 0);
    EXPECT_EQ(job.BackgroundColor[1], 0);
    EXPECT_EQ(job.BackgroundColor[2], 255) << "red is the third byte";
    EXPECT_EQ(job.BackgroundColor[3], 0);
    EXPECT_STREQ(job.BackgroundFile, "back.bmp");
    EXPECT_TRUE(job.IncludeBackgroundImage);
    EXPECT_TRUE(job.OpenOutputFile);
    EXPECT_TRUE(job.CancelOnAbortFile);
    EXPECT_STREQ(job.FourCC, "ab  ") << "kept in its case, padded with spaces";
    EXPECT_TRUE(job.HideCodecDialog);
    EXPECT_TRUE(job.OverwriteProtection);
    EXPECT_STREQ(job.MaskList, "*.png");
    EXPECT_STREQ(job.AudioFile, "sound.wav");
    EXPECT_TRUE(job.IncludeAudio);
    EXPECT_TRUE(run.driver.GifOutput);
    EXPECT_EQ(job.GifLoops, 3);
    EXPECT_EQ(job.TransparentType, 2);
    EXPECT_EQ(job.DrawMethod, 1);
    EXPECT_EQ(job.WarningCount, 0);
}

TEST(OptionalCommands, ErrorsEndTheRunWithTheirCode) {
    TempFolder temp;
    struct Case {
        std::vector<std::string> options;
        std::string output;
        int code;
        const char* text;
    } cases[] = {
        {{"-gif", "1", "2"},
         "out.avi",
         12,
         "\nERROR: GIF options not specified. Must be [# of loops] [transparency type: 0,1, or 2] "
         "[Draw method: 0, or "
         "1]. - main()\n\n"},
        {{"-gif", "-1", "0", "0"},
         "out.avi",
         11,
         "\nERROR: One or more GIF options are not valid. Options Must be [# of loops (0 - "
         "2billion)][transparency "
         "type: 0, 1, or 2] [Draw method: 0, or 1]. - main()\n\n"},
        {{"-gif", "0", "3", "0"}, "out.avi", 11, nullptr},
        {{"-gif", "0", "0", "2"}, "out.avi", 11, nullptr},
        {{"-hcd"},
         "out.avi",
         14,
         "\nERROR: FourCC option not specified for -hcd. Must be: [-hcd [FourCC]] - main()\n\n"},
        {{"-hcd", "DIVX5"},
         "out.avi",
         13,
         "\nERROR: FourCC option must have 1 to 4 letters. Example: \"-hcd DIVX\" - main()\n\n"},
        {{"-hcd", ""}, "out.avi", 13, nullptr},
        {{"-w", "1"},
         temp / "missing/out.avi",
         16,
         "\nERROR: Output directory path does not exist. Please create the path, or use the -fdir "
         "option to allow "
         "Vantrel to create the path for you. - main()\n\n"},
        {{"-fdir"},
         "/proc/self/new/out.avi",
         15,
         "\nERROR: Unable to force create output directory path. Please make sure the requested "
         "path is legal and "
         "that the disk is accessible. - main()\n\n"},
        {{"-sem", std::string(500, 'x')},
         "out.avi",
         17,
         "\nERROR: The value of -sem is longer than 499 characters. - main()\n\n"},
        {{"-bgi", std::string(1024, 'x')},
         "out.avi",
         17,
         "\nERROR: The value of -bgi is longer than 1023 characters. - main()\n\n"},
    };
    for (const Case& c : cases) {
        OptionRun run(c.options, c.output);
        EXPECT_EQ(run.result, c.code) << c.options[0];
        ASSERT_EQ(run.windows.texts.size(), 1u) << c.options[0];
        if (c.text == nullptr) continue;
        EXPECT_TRUE(run.console.ends_with(c.text)) << run.console;
        EXPECT_EQ(run.windows.texts[0], std::string(c.text) + "\nSee output for details.");
    }
    OptionRun fits({"-sem", std::string(499, 'x')});
    EXPECT_EQ(fits.result, 0);
    EXPECT_EQ(std::strlen(fits.job.MaskList), 499u);
}

TEST(OptionalCommands, FdirCreatesTheFolderWithItsParents) {
    TempFolder temp;
    OptionRun run({"-fdir"}, temp / "a/b/c/out.avi");
    EXPECT_EQ(run.result, 0);
    EXPECT_TRUE(PathExists(temp / "a/b/c"));
    EXPECT_EQ(std::string(run.job.OutputFolder), temp / "a/b/c");
}
