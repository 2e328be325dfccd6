#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>

#include "job/image_list_class.h"
#include "job/path_list_storage.h"
#include "platform/graphics/graphics_types.h"

class Exception;
class TBitmap;
class TImage;

// The conversion job: every setting of the run, the path list and the run's counters.
// Operations return 0 on success, -1 when the abort marker stopped them, or their own
// positive failure code after reporting their own error.
class IMAGE_TO_VIDEO_CLASS {
  public:
    static constexpr int PathFieldSize = 1024;
    static constexpr int AbortFileNameSize = 256;
    static constexpr int MaskListSize = 500;
    static constexpr int FourCCSize = 5;

    int32_t ListCapacity = 0;
    int32_t ImageCount = 0;
    int32_t GifLoops = 0;
    int32_t TransparentType = 0;
    int32_t DrawMethod = 0;
    bool IncludeAudio = false;
    bool MaintainAspect = true;
    bool FitSmallerPics = true;
    bool LogOpen = false;
    bool CancelOnAbortFile = false;
    bool HideCodecDialog = false;
    bool IncludeBackgroundImage = false;
    bool UseListFile = false;
    bool IncludeSubFolders = false;
    bool OpenOutputFile = false;
    bool ShowErrorWindows = true;
    bool OverwriteProtection = false;
    char InputFolder[PathFieldSize] = {};
    char InputListFile[PathFieldSize] = {};
    char OutputFolder[PathFieldSize] = {};
    char OutputFile[PathFieldSize] = {};
    char AudioFile[PathFieldSize] = {};
    char BackgroundFile[PathFieldSize] = {};
    char AbortFileName[AbortFileNameSize] = {};
    char MaskList[MaskListSize] = {};
    char FourCC[FourCCSize] = {};
    int32_t OutputWidth = -1;
    int32_t OutputHeight = -1;
    int32_t SortDepth = -1;
    int32_t SortMode = 0;
    int32_t ResizeMethod = 3;
    int32_t WarningCount = 0;
    double FramesPerSecond = 29.97;
    double RepeatCount = 1.0;
    double DisplaySeconds = 0.0333667000333667;
    double BorderSizeWidth = 0.0;
    double BorderSizeHeight = 0.0;
    std::FILE* LogStream = nullptr;
    TPixelFormat PixelFormat = pf24bit;
    std::unique_ptr<TImage> BackgroundImage;
    uint8_t BackgroundColor[4] = {0, 0, 0, 0};
    PathListStorage ImageList;

    IMAGE_TO_VIDEO_CLASS();
    ~IMAGE_TO_VIDEO_CLASS();
    IMAGE_TO_VIDEO_CLASS(const IMAGE_TO_VIDEO_CLASS&) = delete;
    IMAGE_TO_VIDEO_CLASS& operator=(const IMAGE_TO_VIDEO_CLASS&) = delete;

    void SetDefaults();
    // Resets every setting and allocates a list of Capacity entries; false when the
    // capacity is below 1 or the list cannot be allocated.
    bool Initialize(int32_t Capacity, std::FILE* RunLogStream);

    int AddImages();
    int SortList(int First, int End);

    // Reporting (console, log, error windows) and the abort marker.
    void WriteOutput(const char* Text);
    void ShowErrorWindow(const char* Text);
    bool AbortFileExists();
    // A progress step: LogLine to the log only (when open), ConsoleText and a carriage
    // return to the console only.
    void WriteProgress(const char* LogLine, const char* ConsoleText);
    // The first half of every exception handler: the standard exception window (when
    // windows are shown) and "\nERROR: " with the message on the console.
    void ReportException(const Exception& E);

    // Gathering and ordering the pictures.
    int AddImagesFromFile(const char* FileName);
    int AddImagesFromDir(const char* Folder);
    // Scans Folder (and, with IncludeSubFolders, every folder below it) into the list;
    // 0 done, 1 enumeration failed, -1 aborted, -100 the list became full.
    int SearchForFiles(const char* Folder, int& Loaded, int& FilesSeen);
    // Whether Mask occurs anywhere in MaskList, letters compared without case.
    bool MaskInList(const char* Mask);
    int SortListForward(int First, int End);
    int SortListBackward(int First, int End);

    // Frames and output.
    int LoadImage(TImage* Holder, const char* FileName);
    // Composes one output frame in Target's bitmap: FrameWidth x FrameHeight in the
    // background colour, the background picture stretched over it, the picture of Source
    // fitted inside the borders (percent) and centred, converted to Format. Source and
    // Target may be the same holder. 0 done, 1 failed (reported).
    int GetAspectedImage(TImage* Source, TImage* Target, TImage* Background, double FrameWidth,
                         double FrameHeight, float BorderWidth, float BorderHeight,
                         TPixelFormat Format, uint8_t KeepAspect, uint8_t FitSmaller, int Method);
    // SourceRect of Source resampled into TargetRect of Target by interpolating four
    // neighbours; target pixels outside TargetRect keep their content. Returns 0.
    int ResizeBilinear(TBitmap* Source, const TRect& SourceRect, TBitmap* Target,
                       const TRect& TargetRect);
    // All of Source resampled into all of Target, both 24-bit, with 15-bit fixed-point
    // weights of four neighbours. Returns 0.
    int ResizeSmooth(TBitmap* Source, TBitmap* Target);
    int CompileAVI();
    int CompileGIF();
};
