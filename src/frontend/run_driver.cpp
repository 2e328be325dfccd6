#include "frontend/run_driver.h"

#include <cstring>
#include <new>

#include "frontend/driver_reporting.h"
#include "frontend/help_screen.h"
#include "frontend/options.h"
#include "job/image_to_video_class.h"
#include "platform/classes/exception.h"
#include "platform/classes/format.h"
#include "platform/system/clock.h"
#include "platform/system/console.h"
#include "platform/system/message_window.h"

namespace {

constexpr int ExitAborted = -1;

void ExitCountdown() {
    ConsoleWrite("\n");
    for (int n = 7; n >= 1; --n) {
        ConsoleWrite(Format("Exiting in %d seconds... ", n));
        ConsoleFlush();
        Sleep(1000);
        ConsoleWrite("\r");
    }
    ConsoleFlush();
}

bool IsHelpRequest(const char* argument) {
    for (const char* word : {"help", "HELP", "/?", "?"})
        if (std::strcmp(argument, word) == 0) return true;
    return false;
}

void ComputeProgramFolder(DRIVER_STATE& Driver, const char* programPath) {
    char path[sizeof Driver.ProgramFolder] = {};
    std::strncpy(path, programPath, sizeof path - 1);
    const char* separator = nullptr;
    for (const char* p = path; *p != '\0'; ++p)
        if (*p == '\\' || *p == '/') separator = p;
    if (separator == nullptr) {
        Driver.ProgramFolder[0] = '\0';
        return;
    }
    size_t keep = static_cast<size_t>(separator - path);
    if (keep == 1 || keep == 2) ++keep; // a drive root keeps its separator
    path[keep] = '\0';
    std::strcpy(Driver.ProgramFolder, path);
}

class Run {
  public:
    Run(DRIVER_STATE& driver, IMAGE_TO_VIDEO_CLASS& job, int argc, char** argv)
        : driver_(driver), job_(job), argc_(argc), argv_(argv) {}

    int Execute();

  private:
    int Abort(int code) {
        WriteOutput(driver_, "\n\nExit - Aborted");
        Cleanup(driver_, job_);
        return code;
    }
    // The handler of a guarded stretch: the exception window, the message on the console,
    // then the stretch's own text.
    int Guarded(const char* message, const char* ownText, bool textFirst, int code) {
        if (driver_.ShowErrorWindows) ShowExceptionWindow(Exception(message));
        ConsoleWrite("\nERROR: ");
        ConsoleWrite(message);
        if (textFirst) {
            WriteOutput(driver_, ownText);
            ShowErrorWindow(driver_, ownText);
        } else {
            ShowErrorWindow(driver_, ownText);
            WriteOutput(driver_, ownText);
        }
        return Abort(code);
    }
    template <typename Stretch>
    int Guard(const char* ownText, bool textFirst, int code, Stretch stretch) {
        try {
            return stretch();
        } catch (const Exception& e) {
            return Guarded(e.Message.c_str(), ownText, textFirst, code);
        } catch (const std::bad_alloc&) {
            return Guarded("Out of memory", ownText, textFirst, code);
        }
    }

    int InitializeJob();
    int ReadCommands();
    int Compile();

    DRIVER_STATE& driver_;
    IMAGE_TO_VIDEO_CLASS& job_;
    int argc_;
    char** argv_;
};

constexpr const char* AllocationText =
    "\nERROR: Unable to allocate memory for image list. - main()\n\n";
constexpr const char* CommandsText = "\nError occured while retrieving commands. - main()\n\n";
constexpr const char* OutputText = "\nError occured while processing output. - main()\n\n";

int Run::Execute() {
    driver_.MaxImages = 100000;
    SetConsoleTitle(Format("Vantrel_CL %s    Orlend Software", VersionText).c_str());
    if (argc_ < 2) {
        PrintHelp();
        ExitCountdown();
        return 0;
    }
    if (IsHelpRequest(argv_[1])) {
        PrintHelp();
        ConsoleFlush();
        return 0;
    }
    ComputeProgramFolder(driver_, argv_[0]);

    const int startup = ReadStartupOptions(driver_, argc_, argv_);
    if (startup == 3 || startup == 4) {
        ConsoleWrite("\n");
        ConsoleWrite("\n\nExit - Aborted");
        ConsoleFlush();
        return startup;
    }
    if (startup != 0) return Abort(startup);

    if (const int result = Guard(AllocationText, true, 7, [this] { return InitializeJob(); });
        result != 0)
        return result;
    if (const int result = Guard(CommandsText, false, 17, [this] { return ReadCommands(); });
        result != 0)
        return result;

    const int added = job_.AddImages();
    if (added == -1) return Abort(ExitAborted);
    if (added != 0) return Abort(18);
    const int sorted = job_.SortList(0, job_.ImageCount);
    if (sorted == -1) return Abort(ExitAborted);
    if (sorted != 0) return Abort(19);
    if (job_.AbortFileExists()) {
        WriteOutput(driver_, "\n\nAborted per user request.");
        return Abort(ExitAborted);
    }
    if (const int result = Guard(OutputText, false, 2, [this] { return Compile(); }); result != 0)
        return result;

    if (job_.WarningCount == 0) {
        WriteOutput(driver_, "\n\nExit - Success");
        Cleanup(driver_, job_);
        return 0;
    }
    WriteOutput(driver_, Format("\n\nExit - Warnings %d", job_.WarningCount).c_str());
    Cleanup(driver_, job_);
    return 1;
}

int Run::InitializeJob() {
    WriteOutput(driver_, "\nInitializing video class...");
    if (!job_.Initialize(driver_.MaxImages, driver_.LogStream)) {
        WriteOutput(driver_, AllocationText);
        ShowErrorWindow(driver_, AllocationText);
        return Abort(7);
    }
    WriteOutput(driver_, "\nVideo class initialized.\n");
    return 0;
}

int Run::ReadCommands() {
    job_.LogOpen = driver_.LogOpen;
    job_.ShowErrorWindows = driver_.ShowErrorWindows;
    WriteOutput(driver_, "\nGetting required commands in order of priority...");
    if (const int code = ReadRequiredCommands(driver_, job_, argc_, argv_); code != 0)
        return Abort(code);
    WriteOutput(driver_, "\nRetrieved required commands.\n");
    if (argc_ >= 5) {
        WriteOutput(driver_, "\nGetting optional commands...");
        if (const int code = ReadOptionalCommands(driver_, job_, argc_, argv_); code != 0)
            return Abort(code);
        WriteOutput(driver_, "\nRetrieved optional commands.\n");
    }
    return 0;
}

int Run::Compile() {
    if (driver_.GifOutput) return job_.CompileGIF() != 0 ? Abort(20) : 0;
    return job_.CompileAVI() != 0 ? Abort(21) : 0;
}

} // namespace

int RunDriver(DRIVER_STATE& Driver, IMAGE_TO_VIDEO_CLASS& Job, int argc, char** argv) {
    return Run(Driver, Job, argc, argv).Execute();
}
