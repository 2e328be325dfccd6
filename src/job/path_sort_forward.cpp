#include "job/image_to_video_class.h"
#include "job/not_built.h"

int IMAGE_TO_VIDEO_CLASS::SortListForward(int, int) {
    return ReportNotBuilt(*this, "Sorting", "IMAGE_TO_VIDEO_CLASS::SortListForward()");
}
