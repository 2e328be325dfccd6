#include "job/image_to_video_class.h"
#include "job/not_built.h"

int IMAGE_TO_VIDEO_CLASS::AddImagesFromFile(const char*) {
    return ReportNotBuilt(*this, "Reading a list file", "IMAGE_TO_VIDEO_CLASS::AddImagesFromFile()");
}
