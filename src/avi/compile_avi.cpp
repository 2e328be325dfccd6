#include <cfenv>
#include <climits>
#include <memory>
#include <string>

#include "avi/avi_writer.h"
#include "avi/wave_file.h"
#include "frames/picture_read_ahead.h"
#include "job/exception_boundary.h"
#include "job/image_to_video_class.h"
#include "job/reporting.h"
#include "platform/classes/format.h"
#include "platform/graphics/bitmap.h"
#include "platform/graphics/canvas.h"
#include "platform/graphics/picture.h"
#include "platform/system/console.h"
#include "platform/system/files.h"
#include "platform/system/message_window.h"
#include "platform/system/shell_open.h"

namespace {

constexpr const char* Operation = " - IMAGE_TO_VIDEO_CLASS::CompileAVI()\n\n";

// trunc(Done / Total x 100); a list too short for a single frame shows 100.
int Percent(long double done, int total) {
    if (total <= 0) return 100;
    const long double percent = done / total * 100;
    return percent >= INT_MAX ? INT_MAX : static_cast<int>(percent);
}

const char* PixelFormatLine(TPixelFormat format) {
    switch (format) {
    case pf32bit:
        return "\nPixel Format set to: 32bit";
    case pf24bit:
        return "\nPixel Format set to: 24bit";
    case pf16bit:
        return "\nPixel Format set to: 16bit";
    case pf8bit:
        return "\nPixel Format set to: 8bit";
    case pf4bit:
        return "\nPixel Format set to: 4bit";
    default:
        return "\nPixel Format set to: Unknown";
    }
}

const char* ResizeMethodName(int method) {
    return method == 3 ? ", Bilinear" : method == 2 ? ", Smooth" : ", Standard";
}

class AviCompile {
  public:
    explicit AviCompile(IMAGE_TO_VIDEO_CLASS& job) : job_(job) {}
    int Run();

  private:
    void Write(const std::string& text) { job_.WriteOutput(text.c_str()); }
    int Report(const std::string& text, int result) {
        job_.ShowErrorWindow(text.c_str());
        job_.WriteOutput(text.c_str());
        return result;
    }
    void ConsoleLine(const std::string& text) {
        ConsoleWrite(text);
        ConsoleWrite("\r");
    }
    bool Aborted() {
        if (!job_.AbortFileExists()) return false;
        Write("\n\nAborted per user request.");
        return true;
    }
    void ProgressLine() {
        ConsoleLine(Format("%d%% - Compiled %d of %d", Percent(framesWritten_, totalFrames_),
                           static_cast<int>(framesWritten_), totalFrames_));
    }

    int ProtectExistingFile();
    int LoadBackground();
    void SettleOutputSize();
    void WriteSettings();
    int PrepareStream(AVI_WRITER_CLASS* writer);
    int AddAudio(AVI_WRITER_CLASS* writer);
    int AskToContinueWithoutAudio(const std::string& error, int hiddenResult);
    int WriteFrames(AVI_WRITER_CLASS* writer, const char* path);

    IMAGE_TO_VIDEO_CLASS& job_;
    std::unique_ptr<TBitmap> frameBitmap_;
    std::unique_ptr<TImage> workImage_;
    int totalFrames_ = 0;
    int wholeRepeat_ = 0;
    double carriedFraction_ = 0.0;
    double framesWritten_ = 1.0;
    bool streamPrepared_ = false;
    int refusedFrames_ = 0;
};

int AviCompile::Run() {
    frameBitmap_ = std::make_unique<TBitmap>();
    workImage_ = std::make_unique<TImage>();
    Write("\nPreparing to compile images to AVI...");
    if (const int result = ProtectExistingFile(); result != 0) return result;
    if (const int result = LoadBackground(); result != 0) return result;
    if (job_.ImageCount == 0)
        return Report(
            std::string(
                "\n\nERROR: The image list contains zero file names. Either no image paths were "
                "loaded, or they were purged from the list if the paths were not valid.") +
                Operation,
            4);
    // A division by zero gives an infinity, never a fault.
    std::feclearexcept(FE_ALL_EXCEPT);
    fedisableexcept(FE_ALL_EXCEPT);
    totalFrames_ = static_cast<int>(static_cast<long double>(job_.ImageCount) * job_.RepeatCount);
    SettleOutputSize();
    WriteSettings();
    if (Aborted()) return -1;
    if (FileExists(job_.OutputFile)) {
        Write("\nDeleting existing AVI file...");
        DeleteFile(job_.OutputFile);
        Write("\nExisting AVI file deleted.");
    }
    Write(Format("\nCreating AVI file: %s...\n", job_.OutputFile));
    AviWriterHandle writer(OpenWriter(job_.OutputFile, 100000.0, job_.FramesPerSecond));
    if (!writer)
        return Report(
            std::string(
                "\n\nERROR: Unable to create AVI file. Please make sure the disk is writable and "
                "that the file is not already in use.") +
                Operation,
            5);

    wholeRepeat_ = static_cast<int>(job_.RepeatCount);
    TPictureReadAhead pictures(job_);
    for (int i = 0; i < job_.ImageCount; ++i) {
        const char* path = job_.ImageList[i].Path;
        if (i % 5 == 1 || i == job_.ImageCount - 1) {
            ProgressLine();
            if (Aborted()) return -1;
        }
        if (pictures.Load(workImage_.get(), i) != 0) return 6;
        if (job_.GetAspectedImage(
                workImage_.get(), workImage_.get(), job_.BackgroundImage.get(), job_.OutputWidth,
                job_.OutputHeight, static_cast<float>(job_.BorderSizeWidth),
                static_cast<float>(job_.BorderSizeHeight), job_.PixelFormat,
                static_cast<uint8_t>(job_.MaintainAspect),
                static_cast<uint8_t>(job_.FitSmallerPics), job_.ResizeMethod) != 0)
            return 7;
        TBitmap& fitted = workImage_->Picture().Bitmap();
        frameBitmap_->SetPixelFormat(job_.PixelFormat);
        frameBitmap_->SetSize(fitted.Width(), fitted.Height());
        frameBitmap_->Canvas().Draw(0, 0, &fitted);
        if (i == 0) {
            if (const int result = PrepareStream(writer.get()); result != 0) return result;
            if (const int result = AddAudio(writer.get()); result != 0) return result;
        }
        if (const int result = WriteFrames(writer.get(), path); result != 0) return result;
    }
    if (refusedFrames_ > 0) {
        Write(Format("\nWARNING: %d frames could not be written to the AVI file. - "
                     "IMAGE_TO_VIDEO_CLASS::CompileAVI()\n",
                     refusedFrames_));
        ++job_.WarningCount;
    }
    writer.reset();
    frameBitmap_.reset();
    workImage_.reset();

    if (FileSize(job_.OutputFile) <= 0) {
        const std::string text =
            std::string("\n\nERROR: Output AVI file size is zero bytes. This error will occur if "
                        "an unsupported codec is used for AVI format 1.0. Please try a different "
                        "codec.") +
            Operation;
        Write(text);
        job_.ShowErrorWindow(text.c_str());
        return 10;
    }
    Write("\n100% - Process completed successfuly.");
    if (job_.OpenOutputFile && ShellExecute("play", job_.OutputFile) <= 32)
        ShellExecute("open", job_.OutputFile);
    return 0;
}

int AviCompile::ProtectExistingFile() {
    if (!FileExists(job_.OutputFile)) return 0;
    Write("\nOutput file name already exists.");
    if (!job_.OverwriteProtection) {
        Write(" Overwrite protection is set to off. Will overwrite existing file.");
        return 0;
    }
    Write(" Overwrite protection is set to on.\nPrompting user to confirm overwrite...");
    if (ShowMessageWindow(
            "Output file name already exists. Overwrite?\n\nClicking 'No' will abort the process.",
            mtConfirmation, mbYesNo) != mrYes) {
        Write("\nOverwrite denied by user. AVI compile process cancelled.");
        return -1;
    }
    Write("\nOverwrite accepted.");
    return 0;
}

int AviCompile::LoadBackground() {
    if (!job_.IncludeBackgroundImage) return 0;
    Write(Format("\nLoading background file: %s...", job_.BackgroundFile));
    if (!FileExists(job_.BackgroundFile))
        return Report(
            std::string(
                "\n\nERROR: Background file does not exist. Please make sure the file path is "
                "correct.") +
                Operation,
            3);
    if (job_.LoadImage(job_.BackgroundImage.get(), job_.BackgroundFile) != 0)
        return Report(
            std::string("\n\nERROR: Unable to load background file. Please make sure the disk is "
                        "accessible.") +
                Operation,
            2);
    Write("\nBackground file loaded.");
    return 0;
}

void AviCompile::SettleOutputSize() {
    if (job_.OutputWidth != -1 && job_.OutputHeight != -1) return;
    job_.LoadImage(workImage_.get(), job_.ImageList[0].Path);
    TBitmap& first = workImage_->Picture().Bitmap();
    if (job_.OutputWidth == -1) {
        Write("\nNo output width specified. Using width from the first image in the list.");
        job_.OutputWidth = first.Width();
    }
    if (job_.OutputHeight == -1) {
        Write("\nNo output height specified. Using height from the first image in the list.");
        job_.OutputHeight = first.Height();
    }
}

void AviCompile::WriteSettings() {
    Write(Format("\nOutput Width set to: %d", job_.OutputWidth));
    Write(Format("\nOutput Height set to: %d", job_.OutputHeight));
    Write(Format("\nFrames Per Second set to: %f", job_.FramesPerSecond));
    Write(Format("\nBorder Size Width %% set to: %f\nBorder Size Height %% set to: %f",
                 static_cast<double>(static_cast<float>(job_.BorderSizeWidth)),
                 static_cast<double>(static_cast<float>(job_.BorderSizeHeight))));
    Write(Format("\nMaintain Aspect set to: %d", job_.MaintainAspect ? 1 : 0));
    Write(Format("\nFit Smaller Pics to Screen set to: %d", job_.FitSmallerPics ? 1 : 0));
    Write(Format("\nResize Method set to: %d%s", job_.ResizeMethod,
                 ResizeMethodName(job_.ResizeMethod)));
    Write(Format("\nRepeat Value calculated to: %f", job_.RepeatCount));
    Write(PixelFormatLine(job_.PixelFormat));
}

int AviCompile::PrepareStream(AVI_WRITER_CLASS* writer) {
    AVICOMPRESSOPTIONS options;
    if (job_.HideCodecDialog)
        options.fccHandler =
            MakeFourCC(job_.FourCC[0], job_.FourCC[1], job_.FourCC[2], job_.FourCC[3]);
    const HRESULT result =
        PrepareVideoStream(writer, frameBitmap_.get(), &options, !job_.HideCodecDialog, nullptr);
    if (result == AVIERR_USERABORT) {
        Write("\n\nAborted per user request at codec dialog.");
        return -1;
    }
    streamPrepared_ = result == AVIERR_OK;
    return 0;
}

int AviCompile::AddAudio(AVI_WRITER_CLASS* writer) {
    if (!job_.IncludeAudio) return 0;
    Write(Format("\nAdding audio file: %s...", job_.AudioFile));
    if (!FileExists(job_.AudioFile)) {
        const std::string error =
            std::string("\n\nERROR: Unable to add WAV file. The audio file path does not exist.") +
            Operation;
        Write(error);
        return AskToContinueWithoutAudio(error, 9);
    }
    try {
        WriteWaveAudio(writer, job_.AudioFile);
    } catch (const EInvalidAudio&) {
        const std::string error =
            std::string("\n\nERROR: Unable to add WAV file. Please make sure that the audio "
                        "file is a valid PCM WAV file.") +
            Operation;
        Write(error);
        return AskToContinueWithoutAudio(error, 8);
    }
    Write("\nAudio file added.\n");
    return 0;
}

int AviCompile::AskToContinueWithoutAudio(const std::string& error, int hiddenResult) {
    if (!job_.ShowErrorWindows) return hiddenResult;
    if (ShowMessageWindow(error + "Do you wish to continue without audio?", mtError, mbYesNo) !=
        mrYes) {
        Write("\n\nAborted per user decision to NOT continue without the audio file.");
        return -1;
    }
    Write("\nContinuing without audio per user request.\n");
    return 0;
}

int AviCompile::WriteFrames(AVI_WRITER_CLASS* writer, const char* path) {
    carriedFraction_ = static_cast<double>(static_cast<long double>(job_.RepeatCount) -
                                           wholeRepeat_ + carriedFraction_);
    const int frames = static_cast<int>(static_cast<long double>(wholeRepeat_) + carriedFraction_);
    if (carriedFraction_ >= 1.0) carriedFraction_ -= 1.0;
    for (int k = 0; k < frames; ++k) {
        if (WriteVideoFrame(writer, frameBitmap_.get()) != AVIERR_OK && streamPrepared_)
            ++refusedFrames_;
        WriteLogOnly(Format("\n%d%% - Compiled %d of %d: %s", Percent(framesWritten_, totalFrames_),
                            static_cast<int>(framesWritten_), totalFrames_, path)
                         .c_str(),
                     job_.LogOpen, job_.LogStream);
        if (k % 5 == 0 || k == frames - 1) {
            ProgressLine();
            if (Aborted()) return -1;
        }
        framesWritten_ += 1.0;
    }
    return 0;
}

} // namespace

int IMAGE_TO_VIDEO_CLASS::CompileAVI() {
    return RunGuarded(
        *this, [this] { return AviCompile(*this).Run(); },
        [this] {
            const std::string text =
                std::string("\n\nERROR: Unable to compile AVI file. Please make sure the disk is "
                            "accessible and that valid file formats are being used. This error "
                            "may have also occured if a non-supported codec was used.") +
                Operation;
            ShowErrorWindow(text.c_str());
            WriteOutput(text.c_str());
            return 1;
        });
}
