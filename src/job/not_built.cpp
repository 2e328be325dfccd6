#include "job/not_built.h"

#include "job/image_to_video_class.h"
#include "platform/classes/format.h"

int ReportNotBuilt(IMAGE_TO_VIDEO_CLASS& Job, const char* What, const char* Operation) {
    const std::string text =
        Format("\nERROR: %s is not available in this build. - %s\n\n", What, Operation);
    Job.WriteOutput(text.c_str());
    Job.ShowErrorWindow(text.c_str());
    return 1;
}
