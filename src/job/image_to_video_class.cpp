#include "job/image_to_video_class.h"

#include <cstring>

#include "job/reporting.h"
#include "platform/classes/exception.h"
#include "platform/graphics/picture.h"
#include "platform/system/console.h"
#include "platform/system/files.h"
#include "platform/system/message_window.h"

namespace {

constexpr const char* DefaultAbortFileName = "Abort.vtl";
constexpr const char* DefaultMaskList = "*.jpg,*.jpeg,*.bmp,*.gif,*.ico,*.emf,*.wmf";
constexpr const char* DefaultFourCC = "DIB ";

} // namespace

IMAGE_TO_VIDEO_CLASS::IMAGE_TO_VIDEO_CLASS() {
    SetDefaults();
}

IMAGE_TO_VIDEO_CLASS::~IMAGE_TO_VIDEO_CLASS() {
    ImageList.Release();
    ListCapacity = 0;
}

void IMAGE_TO_VIDEO_CLASS::SetDefaults() {
    ImageList.Release();
    ListCapacity = 0;
    ImageCount = 0;
    GifLoops = 0;
    TransparentType = 0;
    DrawMethod = 0;
    IncludeAudio = false;
    MaintainAspect = true;
    FitSmallerPics = true;
    LogOpen = false;
    CancelOnAbortFile = false;
    HideCodecDialog = false;
    IncludeBackgroundImage = false;
    UseListFile = false;
    IncludeSubFolders = false;
    OpenOutputFile = false;
    ShowErrorWindows = true;
    OverwriteProtection = false;
    for (char* field :
         {InputFolder, InputListFile, OutputFolder, OutputFile, AudioFile, BackgroundFile})
        field[0] = '\0';
    std::strcpy(AbortFileName, DefaultAbortFileName);
    std::strcpy(MaskList, DefaultMaskList);
    std::strcpy(FourCC, DefaultFourCC);
    OutputWidth = -1;
    OutputHeight = -1;
    SortDepth = -1;
    SortMode = 0;
    ResizeMethod = 3;
    WarningCount = 0;
    FramesPerSecond = 29.97;
    RepeatCount = 1.0;
    DisplaySeconds = 0.0333667000333667;
    BorderSizeWidth = 0.0;
    BorderSizeHeight = 0.0;
    PixelFormat = pf24bit;
    BackgroundImage = std::make_unique<TImage>();
    std::memset(BackgroundColor, 0, sizeof BackgroundColor);
}

bool IMAGE_TO_VIDEO_CLASS::Initialize(int32_t Capacity, std::FILE* RunLogStream) {
    if (Capacity < 1) return false;
    SetDefaults();
    ListCapacity = Capacity;
    LogStream = RunLogStream;
    if (!ImageList.Allocate(Capacity)) {
        ListCapacity = 0;
        return false;
    }
    return true;
}

int IMAGE_TO_VIDEO_CLASS::AddImages() {
    if (UseListFile) return AddImagesFromFile(InputListFile);
    return AddImagesFromDir(InputFolder);
}

int IMAGE_TO_VIDEO_CLASS::SortList(int First, int End) {
    if (SortMode == 1) return SortListForward(First, End);
    if (SortMode == 2) return SortListBackward(First, End);
    return 0;
}

void IMAGE_TO_VIDEO_CLASS::WriteOutput(const char* Text) {
    WriteOutputTo(Text, LogOpen, LogStream);
}

void IMAGE_TO_VIDEO_CLASS::ShowErrorWindow(const char* Text) {
    ShowErrorWindowWith(Text, LogOpen, ShowErrorWindows);
}

bool IMAGE_TO_VIDEO_CLASS::AbortFileExists() {
    return FileExists(AbortMarkerPath(OutputFolder, AbortFileName).c_str());
}

void IMAGE_TO_VIDEO_CLASS::WriteProgress(const char* LogLine, const char* ConsoleText) {
    WriteLogOnly(LogLine, LogOpen, LogStream);
    ConsoleWrite(ConsoleText);
    ConsoleWrite("\r");
}

void IMAGE_TO_VIDEO_CLASS::ReportException(const Exception& E) {
    if (ShowErrorWindows) ShowExceptionWindow(E);
    ConsoleWrite("\nERROR: ");
    ConsoleWrite(E.Message);
}
