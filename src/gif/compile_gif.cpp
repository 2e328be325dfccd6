#include "job/image_to_video_class.h"
#include "job/not_built.h"

int IMAGE_TO_VIDEO_CLASS::CompileGIF() {
    return ReportNotBuilt(*this, "GIF output", "IMAGE_TO_VIDEO_CLASS::CompileGIF()");
}
