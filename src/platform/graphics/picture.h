#pragma once

#include <functional>
#include <memory>
#include <string>

#include "platform/graphics/graphic.h"

class TBitmap;

// Holds one graphic of any kind.
class TPicture {
  public:
    using TGraphicFactory = std::function<std::unique_ptr<TGraphic>()>;

    TGraphic* Graphic() const { return graphic_.get(); }
    void SetGraphic(std::unique_ptr<TGraphic> Graphic) { graphic_ = std::move(Graphic); }
    // Hands the held graphic over and leaves the picture empty.
    std::unique_ptr<TGraphic> ReleaseGraphic() { return std::move(graphic_); }
    int Width() const { return graphic_ ? graphic_->Width() : 0; }
    int Height() const { return graphic_ ? graphic_->Height() : 0; }

    // The held bitmap; a graphic of another kind (or none) is first replaced by a new
    // empty bitmap.
    TBitmap& Bitmap();

    // Picks the graphic kind by the file's extension (letter case aside) and loads the
    // file into a new graphic of that kind. Raises EInvalidGraphic "Unknown picture file
    // extension (.xyz)" for an extension no kind is registered for.
    void LoadFromFile(const std::string& FileName);
    // Saves the held graphic; raises EInvalidGraphic when there is none.
    void SaveToFile(const std::string& FileName);

    // Kinds by extension, lower case with its dot (".bmp"). Known from the start: .bmp,
    // .dib, .jpg, .jpeg, .jpe, .jfif, .ico, .png, .wmf, .emf. Other kinds (the GIF
    // document) register themselves; a later registration replaces an earlier one.
    static void RegisterFileFormat(const std::string& Extension, TGraphicFactory Factory);
    // A new graphic of the kind registered for Extension, or null.
    static std::unique_ptr<TGraphic> CreateGraphicFor(const std::string& Extension);

  private:
    std::unique_ptr<TGraphic> graphic_;
};

// The picture holder: owns one TPicture.
class TImage {
  public:
    TPicture& Picture() { return picture_; }
    // Clears the held picture.
    void AssignEmpty() { picture_.SetGraphic(nullptr); }

  private:
    TPicture picture_;
};

// The extension of a file name: from the last '.' of its last component to the end, the
// dot included; empty when that component has no dot. Both '/' and '\' separate.
std::string ExtractFileExt(const std::string& FileName);
