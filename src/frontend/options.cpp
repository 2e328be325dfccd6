#include "frontend/options.h"

#include <cstring>

#include "frontend/driver_reporting.h"
#include "frontend/number_text.h"
#include "frontend/run_driver.h"
#include "job/image_to_video_class.h"
#include "platform/classes/format.h"
#include "platform/system/files.h"
#include "platform/system/message_window.h"

namespace {

constexpr int ExitTooLong = 17;

bool IsSeparator(char c) {
    return c == '\\' || c == '/';
}

// A value longer than the field it goes to ends the run; the text names the option.
template <typename Report>
bool FitsField(const char* Value, size_t FieldSize, const char* Option, Report report) {
    if (std::strlen(Value) < FieldSize) return true;
    const std::string text =
        Format("\nERROR: The value of %s is longer than %zu characters. - main()\n\n", Option,
               FieldSize - 1);
    report(text.c_str());
    return false;
}

void CopyField(char* Field, const char* Value) {
    std::strcpy(Field, Value);
}

class OptionReader {
  public:
    OptionReader(DRIVER_STATE& driver, IMAGE_TO_VIDEO_CLASS& job, int argc, char** argv)
        : driver_(driver), job_(job), argc_(argc), argv_(argv) {}

    int Read();

  private:
    // Position of the option, 0 when absent.
    int Find(const char* lower, const char* upper) {
        return FindArgument(lower, upper, argc_, argv_);
    }
    // Whether the option at position has Count values after it.
    bool HasValues(int position, int count) const { return position + count < argc_; }
    const char* Value(int position, int index = 1) const { return argv_[position + index]; }

    void Warn(const char* text) {
        job_.WriteOutput(text);
        ++job_.WarningCount;
    }
    int Fail(const char* text, int exitCode) {
        job_.WriteOutput(text);
        job_.ShowErrorWindow(text);
        return exitCode;
    }
    bool Fits(const char* value, size_t fieldSize, const char* option) {
        return FitsField(value, fieldSize, option,
                         [this](const char* text) { Fail(text, ExitTooLong); });
    }

    int ReadGifOptions();
    int ReadFourCC();
    int CheckOutputFolder(bool create);

    DRIVER_STATE& driver_;
    IMAGE_TO_VIDEO_CLASS& job_;
    int argc_;
    char** argv_;
};

int OptionReader::Read() {
    constexpr size_t PathSize = IMAGE_TO_VIDEO_CLASS::PathFieldSize;
    int i;
    if ((i = Find("-w", "-W")) != 0) {
        if (HasValues(i, 1))
            job_.OutputWidth = ReadInteger(Value(i));
        else
            Warn("\nWARNING: No output width was specified. Using default.");
    }
    if ((i = Find("-h", "-H")) != 0) {
        if (HasValues(i, 1))
            job_.OutputHeight = ReadInteger(Value(i));
        else
            Warn("\nWARNING: No output height was specified. Using default.");
    }
    if (Find("-subf", "-SUBF") != 0) job_.IncludeSubFolders = true;
    if ((i = Find("-fps", "-FPS")) != 0) {
        if (!HasValues(i, 1)) {
            Warn("\nWARNING: FPS was not specified. Using default.");
        } else {
            const double fps = ReadReal(Value(i));
            if (fps > 0)
                job_.FramesPerSecond = fps;
            else
                Warn("\nWARNING: FPS must be greater than zero. Using default.");
        }
    }
    if ((i = Find("-rt", "-RT")) != 0) {
        if (HasValues(i, 1)) {
            job_.RepeatCount = ReadReal(Value(i));
            job_.DisplaySeconds =
                static_cast<double>(static_cast<long double>(job_.RepeatCount) /
                                    static_cast<long double>(job_.FramesPerSecond));
        } else {
            Warn("\nWARNING: Number of times to repeat each frame was not specified. Using "
                 "default.");
        }
    }
    if ((i = Find("-ds", "-DS")) != 0) {
        if (HasValues(i, 1)) {
            job_.DisplaySeconds = ReadReal(Value(i));
            job_.RepeatCount = static_cast<double>(static_cast<long double>(job_.DisplaySeconds) *
                                                   static_cast<long double>(job_.FramesPerSecond));
        } else {
            Warn("\nWARNING: Seconds to display each frame was not specified. Using default.");
        }
    }
    if ((i = Find("-ia", "-IA")) != 0) {
        if (!HasValues(i, 1)) {
            Warn("\nWARNING: Audio file was not specified. Thisoption will be ignored.");
        } else {
            if (!Fits(Value(i), PathSize, argv_[i])) return ExitTooLong;
            CopyField(job_.AudioFile, Value(i));
            job_.IncludeAudio = true;
        }
    }
    if (const int result = ReadGifOptions(); result != 0) return result;
    if (Find("-sf", "-SF") != 0) job_.SortMode = 1;
    if (Find("-sb", "-SB") != 0) job_.SortMode = 2;
    if ((i = Find("-sd", "-SD")) != 0) {
        if (HasValues(i, 1))
            job_.SortDepth = ReadInteger(Value(i));
        else
            Warn("\nWARNING: Sort depth not specified. Using default.");
    }
    if (Find("-ar", "-AR") != 0) job_.MaintainAspect = false;
    if (Find("-zi", "-ZI") != 0) job_.FitSmallerPics = false;
    if ((i = Find("-bsw", "-BSW")) != 0) {
        if (HasValues(i, 1))
            job_.BorderSizeWidth = ReadReal(Value(i));
        else
            Warn("\nWARNING: Border size width % not specified. Using default.");
    }
    if ((i = Find("-bsh", "-BSH")) != 0) {
        if (HasValues(i, 1))
            job_.BorderSizeHeight = ReadReal(Value(i));
        else
            Warn("\nWARNING: Border size height % not specified. Using default.");
    }
    if ((i = Find("-pf", "-PF")) != 0) {
        if (!HasValues(i, 1)) {
            Warn("\nWARNING: Pixel format not specified. Using default.");
        } else {
            const int32_t bits = ReadInteger(Value(i));
            if (bits == 8)
                job_.PixelFormat = pf8bit;
            else if (bits == 24)
                job_.PixelFormat = pf24bit;
            else
                Warn("\nWARNING: Specified pixel format is not valid. Using default.");
        }
    }
    if ((i = Find("-rm", "-RM")) != 0) {
        if (!HasValues(i, 1)) {
            Warn("\nWARNING: Resize method not specified. Using default.");
        } else {
            const int32_t method = ReadInteger(Value(i));
            if (method >= 1 && method <= 3)
                job_.ResizeMethod = method;
            else
                Warn("\nWARNING: Specified resize method is not valid. Must be 1, 2, or 3. Using "
                     "default.");
        }
    }
    if ((i = Find("-bgc", "-BGC")) != 0) {
        if (!HasValues(i, 3)) {
            Warn("\nWARNING: Background color not specified. Must be r g b (0-255 each). Using "
                 "default.");
        } else {
            const int32_t red = ReadInteger(Value(i, 1));
            const int32_t green = ReadInteger(Value(i, 2));
            const int32_t blue = ReadInteger(Value(i, 3));
            auto inRange = [](int32_t v) { return v >= 0 && v <= 255; };
            if (inRange(red) && inRange(green) && inRange(blue)) {
                job_.BackgroundColor[0] = static_cast<uint8_t>(blue);
                job_.BackgroundColor[1] = static_cast<uint8_t>(green);
                job_.BackgroundColor[2] = static_cast<uint8_t>(red);
            } else {
                Warn("\nWARNING: Specified background color is not valid. Must be r g b (0-255 "
                     "each). Using "
                     "default.");
            }
        }
    }
    if ((i = Find("-bgi", "-BGI")) != 0) {
        if (!HasValues(i, 1)) {
            Warn(
                "\nWARNING: Background image file was not specified. This option will be ignored.");
        } else {
            if (!Fits(Value(i), PathSize, argv_[i])) return ExitTooLong;
            CopyField(job_.BackgroundFile, Value(i));
            job_.IncludeBackgroundImage = true;
        }
    }
    if (Find("-of", "-OF") != 0) job_.OpenOutputFile = true;
    if (Find("-co", "-CO") != 0) job_.CancelOnAbortFile = true;
    if (const int result = ReadFourCC(); result != 0) return result;
    if (Find("-owp", "-OWP") != 0) job_.OverwriteProtection = true;
    if (const int result = CheckOutputFolder(Find("-fdir", "-FDIR") != 0); result != 0)
        return result;
    if ((i = Find("-sem", "-SEM")) != 0) {
        if (!HasValues(i, 1)) {
            Warn("\nWARNING: No extension mask list was specified. Using default");
        } else {
            if (!Fits(Value(i), IMAGE_TO_VIDEO_CLASS::MaskListSize, argv_[i])) return ExitTooLong;
            CopyField(job_.MaskList, Value(i));
        }
    }
    return 0;
}

int OptionReader::ReadGifOptions() {
    const int i = Find("-gif", "-GIF");
    if (i == 0) return 0;
    if (!HasValues(i, 3))
        return Fail("\nERROR: GIF options not specified. Must be [# of loops] [transparency type: "
                    "0,1, or 2] "
                    "[Draw method: 0, or 1]. - main()\n\n",
                    12);
    const int32_t loops = ReadInteger(Value(i, 1));
    const int32_t transparency = ReadInteger(Value(i, 2));
    const int32_t drawMethod = ReadInteger(Value(i, 3));
    if (loops < 0 || transparency < 0 || transparency > 2 || drawMethod < 0 || drawMethod > 1)
        return Fail(
            "\nERROR: One or more GIF options are not valid. Options Must be [# of loops (0 - "
            "2billion)][transparency type: 0, 1, or 2] [Draw method: 0, or 1]. - main()\n\n",
            11);
    driver_.GifOutput = true;
    job_.GifLoops = loops;
    job_.TransparentType = transparency;
    job_.DrawMethod = drawMethod;
    return 0;
}

int OptionReader::ReadFourCC() {
    const int i = Find("-hcd", "-HCD");
    if (i == 0) return 0;
    if (!HasValues(i, 1))
        return Fail(
            "\nERROR: FourCC option not specified for -hcd. Must be: [-hcd [FourCC]] - main()\n\n",
            14);
    const size_t length = std::strlen(Value(i));
    if (length < 1 || length > 4)
        return Fail(
            "\nERROR: FourCC option must have 1 to 4 letters. Example: \"-hcd DIVX\" - main()\n\n",
            13);
    std::memset(job_.FourCC, ' ', 4);
    std::memcpy(job_.FourCC, Value(i), length);
    job_.FourCC[4] = '\0';
    job_.HideCodecDialog = true;
    return 0;
}

int OptionReader::CheckOutputFolder(bool create) {
    if (create) {
        ForceDirectories(job_.OutputFolder);
        if (!DirectoryExists(job_.OutputFolder))
            return Fail("\nERROR: Unable to force create output directory path. Please make sure "
                        "the requested "
                        "path is legal and that the disk is accessible. - main()\n\n",
                        15);
        return 0;
    }
    if (!DirectoryExists(job_.OutputFolder))
        return Fail("\nERROR: Output directory path does not exist. Please create the path, or use "
                    "the -fdir "
                    "option to allow Vantrel to create the path for you. - main()\n\n",
                    16);
    return 0;
}

} // namespace

int FindArgument(const char* Lower, const char* Upper, int argc, char** argv) {
    for (int i = 1; i < argc; ++i)
        if (std::strcmp(argv[i], Lower) == 0 || std::strcmp(argv[i], Upper) == 0) return i;
    return 0;
}

int ReadStartupOptions(DRIVER_STATE& Driver, int argc, char** argv) {
    if (FindArgument("-hew", "-HEW", argc, argv) != 0) Driver.ShowErrorWindows = false;
    if (const int i = FindArgument("-lf", "-LF", argc, argv); i != 0) {
        if (i + 1 >= argc) {
            if (Driver.ShowErrorWindows)
                ShowMessageWindow("ERROR: Please include a file name after the log command (i.e. "
                                  "[-lf Vntrl.log] or "
                                  "[-lf c:\\Vntrl.log])",
                                  mtError, mbOK);
            return 3;
        }
        auto report = [&Driver](const char* text) {
            WriteOutput(Driver, text);
            ShowErrorWindow(Driver, text);
        };
        if (!FitsField(argv[i + 1], sizeof Driver.LogFile, argv[i], report)) return ExitTooLong;
        CopyField(Driver.LogFile, argv[i + 1]);
        if (!OpenLog(Driver)) {
            if (Driver.ShowErrorWindows)
                ShowMessageWindow(
                    "ERROR: Unable to open log file for writing. Please make sure that the disk is "
                    "accessible.",
                    mtError, mbOK);
            return 4;
        }
    }
    if (const int i = FindArgument("-mi", "-MI", argc, argv); i != 0) {
        Driver.MaxImages = i + 1 < argc ? ReadInteger(argv[i + 1]) : 0;
        if (Driver.MaxImages < 1) {
            const char* text = "\nValue of -mi is not valid. - main()\n\n";
            ShowErrorWindow(Driver, text);
            WriteOutput(Driver, text);
            return 5;
        }
    }
    return 0;
}

std::string DeriveOutputFolder(const char* OutputFile, const std::string& CurrentFolder) {
    const std::string name(OutputFile, strnlen(OutputFile, IMAGE_TO_VIDEO_CLASS::PathFieldSize));
    std::string part;
    const size_t separator = name.find_last_of("\\/");
    if (separator != std::string::npos) {
        const bool driveRoot = (separator == 1 || separator == 2) &&
                               ((name.size() > 1 && name[1] == ':') || name.rfind("\\\\", 0) == 0);
        // A separator at the very start is the root of the file system.
        part = name.substr(0, separator == 0 || driveRoot ? separator + 1 : separator);
    }
    std::string folder;
    if (part.empty()) {
        folder = CurrentFolder;
    } else if (!IsSeparator(part[0]) &&
               (part.size() < 2 || (part[1] != ':' && !IsSeparator(part[1])))) {
        folder = CurrentFolder + "/" + part;
    } else {
        folder = part;
    }
    if (folder.size() >= 2 && folder[1] == ':' && (folder.size() < 3 || !IsSeparator(folder[2])))
        folder = folder.substr(0, 2) + "\\" + folder.substr(2);
    return folder;
}

int ReadRequiredCommands(DRIVER_STATE&, IMAGE_TO_VIDEO_CLASS& Job, int argc, char** argv) {
    constexpr size_t PathSize = IMAGE_TO_VIDEO_CLASS::PathFieldSize;
    auto fail = [&Job](const char* text) {
        Job.WriteOutput(text);
        Job.ShowErrorWindow(text);
    };
    const char* noInput =
        "\nERROR: No image input was specified. Pleasespecify an input. - main()\n\n";
    if (const int i = FindArgument("/p", "/P", argc, argv); i != 0) {
        if (i + 1 >= argc) {
            fail(noInput);
            return 9;
        }
        if (!FitsField(argv[i + 1], PathSize, argv[i], fail)) return ExitTooLong;
        CopyField(Job.InputFolder, argv[i + 1]);
    } else {
        const int t = FindArgument("/t", "/T", argc, argv);
        if (t == 0 || t + 1 >= argc) {
            fail(noInput);
            return 8;
        }
        if (!FitsField(argv[t + 1], PathSize, argv[t], fail)) return ExitTooLong;
        CopyField(Job.InputListFile, argv[t + 1]);
        Job.UseListFile = true;
    }
    if (argc < 4) {
        const char* text =
            "\nNo output file name was specified. Pleasespecify an output file name. - main()\n\n";
        Job.ShowErrorWindow(text);
        Job.WriteOutput(text);
        return 10;
    }
    if (!FitsField(argv[3], PathSize, "the output name", fail)) return ExitTooLong;
    CopyField(Job.OutputFile, argv[3]);
    const std::string folder = DeriveOutputFolder(Job.OutputFile, CurrentFolder());
    if (!FitsField(folder.c_str(), PathSize, "the output folder", fail)) return ExitTooLong;
    CopyField(Job.OutputFolder, folder.c_str());
    return 0;
}

int ReadOptionalCommands(DRIVER_STATE& Driver, IMAGE_TO_VIDEO_CLASS& Job, int argc, char** argv) {
    return OptionReader(Driver, Job, argc, argv).Read();
}
