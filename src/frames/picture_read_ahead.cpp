#include "frames/picture_read_ahead.h"

#include <string>

#include "frames/picture_file.h"
#include "job/image_to_video_class.h"
#include "platform/graphics/picture.h"
#include "platform/system/files.h"

namespace {

// The picture, or null when it could not be read.
std::unique_ptr<TImage> ReadQuietly(const std::string& Path) {
    try {
        if (!FileExists(Path.c_str())) return nullptr;
        auto holder = std::make_unique<TImage>();
        ReadPictureFile(*holder, Path.c_str());
        return holder;
    } catch (...) {
        return nullptr;
    }
}

} // namespace

TPictureReadAhead::~TPictureReadAhead() {
    if (next_.valid()) next_.wait();
}

int TPictureReadAhead::Load(TImage* Holder, int Index) {
    std::unique_ptr<TImage> ready;
    if (pending_ == Index && next_.valid()) ready = next_.get();
    pending_ = -1;
    int result = 0;
    if (ready) {
        Holder->Picture().SetGraphic(ready->Picture().ReleaseGraphic());
    } else {
        result = job_.LoadImage(Holder, job_.ImageList[Index].Path);
    }
    if (result == 0 && Index + 1 < job_.ImageCount) Start(Index + 1);
    return result;
}

void TPictureReadAhead::Start(int Index) {
    pending_ = Index;
    try {
        next_ = std::async(std::launch::async, ReadQuietly, std::string(job_.ImageList[Index].Path));
    } catch (const std::system_error&) {
        // No thread to be had: the picture is read when it is needed.
        pending_ = -1;
    }
}
