#pragma once

#include <memory>
#include <string>

#include "platform/graphics/graphic.h"

// Holds one graphic of any kind.
class TPicture {
  public:
    TGraphic* Graphic() const { return graphic_.get(); }
    void SetGraphic(std::unique_ptr<TGraphic> Graphic) { graphic_ = std::move(Graphic); }
    int Width() const { return graphic_ ? graphic_->Width() : 0; }
    int Height() const { return graphic_ ? graphic_->Height() : 0; }

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
