#include "gif/gif_image.h"

#include <algorithm>

TGIFImage::TGIFImage()
    : Frames(std::make_unique<TGIFImageList>(this)), Header(std::make_unique<TGIFHeader>(this)) {
    Clear();
}

TGIFImage::~TGIFImage() {
    // Frames take themselves out of Frames as they go, so the list must still be there.
    Frames->Clear();
}

void TGIFImage::Clear() {
    Frames->Clear();
    Header->Clear();
    Header->Prepare();
}

int TGIFImage::Add(std::unique_ptr<TGIFSubImage> Frame) {
    if (!Frame) throw GIFException("Object type not supported for operation");
    Frame->OwnerImage = this;
    Frame->ExtensionList->OwnerImage = this;
    const int index = Frames->Add(std::move(Frame));
    Changed();
    return index;
}

int TGIFImage::Add(const TPersistent& Source) {
    if (dynamic_cast<const TGraphic*>(&Source) == nullptr)
        throw GIFException("Object type not supported for operation");
    auto frame = std::make_unique<TGIFSubImage>(this);
    frame->Assign(&Source);
    return Add(std::move(frame));
}

void TGIFImage::SetWidth(int Value) {
    for (int i = 0; i < Frames->GetCount(); ++i) {
        const TGIFSubImage* frame = Frames->GetImage(i);
        if (frame->Left() + frame->Width() > Value)
            throw GIFException("Image width too small for contained frames");
    }
    if (Value != GetWidth()) {
        Header->ScreenDescriptor.ScreenWidth = static_cast<uint16_t>(Value);
        Changed();
    }
}

void TGIFImage::SetHeight(int Value) {
    for (int i = 0; i < Frames->GetCount(); ++i) {
        const TGIFSubImage* frame = Frames->GetImage(i);
        if (frame->Top() + frame->Height() > Value)
            throw GIFException("Image height too small for contained frames");
    }
    if (Value != GetHeight()) {
        Header->ScreenDescriptor.ScreenHeight = static_cast<uint16_t>(Value);
        Changed();
    }
}

void TGIFImage::Draw(TCanvas&, const TRect&) {
    throw GIFException("Drawing GIF images is not available yet");
}

void TGIFImage::LoadFromStream(TStream&) {
    throw GIFException("Reading GIF files is not available yet");
}

TGIFVersion TGIFImage::GetVersion() const {
    TGIFVersion version = gvUnknown;
    for (int i = 0; i < Frames->GetCount(); ++i) {
        version = std::max(version, Frames->GetImage(i)->GetVersion());
        if (version == gv89a) break;
    }
    return version;
}

int TGIFImage::GetBitsPerPixel() const {
    int bits = Header->GetBitsPerPixel();
    for (int i = 0; i < Frames->GetCount(); ++i)
        bits = std::max(bits, Frames->GetImage(i)->GetBitsPerPixel());
    return bits;
}

int TGIFImage::GetColorResolution() const {
    int resolution = Header->GetColorResolution();
    for (int i = 0; i < Frames->GetCount(); ++i)
        resolution = std::max(resolution, Frames->GetImage(i)->GetColorResolution());
    return resolution;
}

void TGIFImage::Warning(TPersistent* Sender, TGIFSeverity Severity, const std::string& Message) {
    if (WarningHook) WarningHook(Sender, Severity, Message);
}

void TGIFImage::SetReductionBits(int Value) {
    if (Value < 3 || Value > 8) throw GIFException("Invalid Bits Per Pixel value");
    ReductionBits = Value;
}

void TGIFImage::SetAnimationSpeed(int Value) {
    AnimationSpeed = std::clamp(Value, 0, 1000);
}

void TGIFImage::SetDrawOptions(TGIFDrawOptions Value) {
    DrawOptions = Value;
    Changed();
}

void TGIFImage::SaveProgress(int Done, int Count) {
    const int percent = Count > 0 ? (Done * 200 + Count) / (Count * 2) : 100;
    Progress(psRunning, percent, "Saving...");
}

void TGIFImage::SaveToStream(TStream& Stream) {
    Progress(psStarting, 0, "Saving...");
    try {
        Header->SaveToStream(Stream);
        Frames->SaveToStream(Stream);
        TGIFTrailer trailer(this);
        trailer.SaveToStream(Stream);
    } catch (...) {
        Progress(psEnding, 0, "Saving...");
        throw;
    }
    Progress(psEnding, 100, "Saving...");
}
