#pragma once

#include <memory>
#include <string>

#include "gif/gif_extensions.h"
#include "gif/gif_header.h"
#include "gif/gif_item.h"
#include "gif/gif_sub_image.h"
#include "gif/gif_types.h"

// A GIF document: the header with the logical screen and global colour table, and the
// ordered frames with their extensions. It is a graphic of the platform and is saved
// through the platform's save-to-file.
class TGIFImage : public TGraphic {
  public:
    TGIFImage();
    ~TGIFImage() override;
    TGIFImage(const TGIFImage&) = delete;
    TGIFImage& operator=(const TGIFImage&) = delete;

    int GetWidth() const override { return Header->ScreenDescriptor.ScreenWidth; }
    int GetHeight() const override { return Header->ScreenDescriptor.ScreenHeight; }
    // Raise "Image width/height too small for contained frames" when a frame would not fit.
    void SetWidth(int Value) override;
    void SetHeight(int Value) override;
    bool GetEmpty() const override { return Frames->GetCount() == 0; }

    // Drawing and reading come with the rendering and the reader of GIF files; until then
    // they raise.
    void Draw(TCanvas& Canvas, const TRect& Rect) override;
    void LoadFromStream(TStream& Stream) override;
    // Writes the whole file: header, frames, trailer, with "Saving..." progress.
    void SaveToStream(TStream& Stream) override;

    void Clear();
    void NewImage() { Clear(); }
    // Appends Frame, which becomes the document's, and returns its index.
    int Add(std::unique_ptr<TGIFSubImage> Frame);
    // Makes a new frame from a graphic; any other kind of source raises "Object type not
    // supported for operation". A frame that cannot take the graphic is destroyed again.
    int Add(const TPersistent& Source);

    TGIFColorMap* GetColorMap() const { return Header->GlobalColorMap.get(); }
    TGIFVersion GetVersion() const;
    int GetBitsPerPixel() const;
    int GetColorResolution() const;
    TGIFImageList& Images() { return *Frames; }

    virtual void Warning(TPersistent* Sender, TGIFSeverity Severity, const std::string& Message);

    void SetReductionBits(int Value);
    void SetAnimationSpeed(int Value);
    void SetDrawOptions(TGIFDrawOptions Value);

    // The running progress step after Done of Count frames were written.
    void SaveProgress(int Done, int Count);

    std::unique_ptr<TGIFImageList> Frames;
    std::unique_ptr<TGIFHeader> Header;
    TGIFDrawOptions DrawOptions = GIFImageDefaultDrawOptions;
    TColorReduction ColorReduction = GIFImageDefaultColorReduction;
    int ReductionBits = GIFImageDefaultColorReductionBits;
    TDitherMode DitherMode = GIFImageDefaultDitherMode;
    TGIFCompression Compression = GIFImageDefaultCompression;
    TGIFWarning WarningHook;
    uint8_t ThreadPriority = GIFImageDefaultThreadPriority;
    int AnimationSpeed = GIFImageDefaultAnimationSpeed;
    TColor DrawBackgroundColor = clNone;

  protected:
    const char* ClassName() const override { return "TGIFImage"; }
};
