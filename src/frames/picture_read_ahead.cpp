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
    Drop();
}

void TPictureReadAhead::Drop() {
    for (TPending& pending : pending_)
        pending.Picture.wait();
    pending_.clear();
}

int TPictureReadAhead::Load(TImage* Holder, int Index) {
    std::unique_ptr<TImage> ready;
    if (!pending_.empty() && pending_.front().Index == Index) {
        ready = pending_.front().Picture.get();
        pending_.pop_front();
    } else {
        Drop();
    }
    int result = 0;
    if (ready) {
        Holder->Picture().SetGraphic(ready->Picture().ReleaseGraphic());
    } else {
        result = job_.LoadImage(Holder, job_.ImageList[Index].Path);
    }
    if (result != 0) {
        Drop();
        return result;
    }
    // Pictures are kept pending in list order without gaps: a picture that cannot be
    // started ends the topping up, and it is read when it is needed.
    for (int next = pending_.empty() ? Index + 1 : pending_.back().Index + 1;
         next <= Index + Depth && next < job_.ImageCount && Start(next); ++next) {
    }
    return 0;
}

bool TPictureReadAhead::Start(int Index) {
    try {
        pending_.push_back({Index, std::async(std::launch::async, ReadQuietly,
                                              std::string(job_.ImageList[Index].Path))});
        return true;
    } catch (const std::system_error&) {
        return false; // no thread to be had
    }
}
