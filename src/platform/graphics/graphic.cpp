#include "platform/graphics/graphic.h"

void TGraphic::LoadFromFile(const std::string& FileName) {
    TFileStream stream(FileName, fmOpenRead);
    LoadFromStream(stream);
}

void TGraphic::SaveToFile(const std::string& FileName) {
    TFileStream stream(FileName, fmCreate);
    SaveToStream(stream);
}

void TGraphic::Changed() {
    if (OnChange) OnChange(*this);
}

void TGraphic::Progress(TProgressStage Stage, int PercentDone, const std::string& Message) {
    if (OnProgress) OnProgress(*this, Stage, PercentDone, Message);
}
