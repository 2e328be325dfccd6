#include "job/image_to_video_class.h"
#include "job/not_built.h"

int IMAGE_TO_VIDEO_CLASS::LoadImage(TImage*, const char*) {
    return ReportNotBuilt(*this, "Loading pictures", "IMAGE_TO_VIDEO_CLASS::LoadImage()");
}
