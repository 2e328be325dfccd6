#include "job/image_to_video_class.h"
#include "job/not_built.h"

int IMAGE_TO_VIDEO_CLASS::CompileAVI() {
    return ReportNotBuilt(*this, "AVI output", "IMAGE_TO_VIDEO_CLASS::CompileAVI()");
}
