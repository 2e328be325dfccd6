#pragma once

#include <functional>
#include <string>

#include "platform/classes/exception.h"
#include "platform/classes/persistent.h"
#include "platform/classes/stream.h"
#include "platform/graphics/graphic_errors.h"
#include "platform/graphics/graphics_types.h"

class TCanvas;

enum TProgressStage { psStarting, psRunning, psEnding };

// A picture of any kind: it has a size, can be drawn onto a canvas, and is read from and
// written to streams. Files are opened here and handed to the stream operations.
class TGraphic : public TPersistent {
  public:
    using TNotifyEvent = std::function<void(TGraphic& Sender)>;
    using TProgressEvent = std::function<void(TGraphic& Sender, TProgressStage Stage,
                                              int PercentDone, const std::string& Message)>;

    virtual int GetWidth() const = 0;
    virtual int GetHeight() const = 0;
    virtual void SetWidth(int Value) = 0;
    virtual void SetHeight(int Value) = 0;
    virtual bool GetEmpty() const = 0;

    int Width() const { return GetWidth(); }
    int Height() const { return GetHeight(); }
    bool Empty() const { return GetEmpty(); }

    // Draws the picture scaled into Rect of Canvas.
    virtual void Draw(TCanvas& Canvas, const TRect& Rect) = 0;

    virtual void LoadFromStream(TStream& Stream) = 0;
    virtual void SaveToStream(TStream& Stream) = 0;
    virtual void LoadFromFile(const std::string& FileName);
    virtual void SaveToFile(const std::string& FileName);

    TNotifyEvent OnChange;
    TProgressEvent OnProgress;

  protected:
    const char* ClassName() const override { return "TGraphic"; }
    virtual void Changed();
    virtual void Progress(TProgressStage Stage, int PercentDone, const std::string& Message);
};
