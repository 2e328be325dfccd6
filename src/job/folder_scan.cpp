#include "job/image_to_video_class.h"
#include "job/not_built.h"

int IMAGE_TO_VIDEO_CLASS::AddImagesFromDir(const char*) {
    return ReportNotBuilt(*this, "Scanning a folder", "IMAGE_TO_VIDEO_CLASS::AddImagesFromDir()");
}
