#include <string>

#include "frontend/run_driver.h"
#include "job/image_to_video_class.h"
#include "platform/system/files.h"

namespace {

IMAGE_TO_VIDEO_CLASS Job;
DRIVER_STATE Driver;

} // namespace

int main(int argc, char** argv) {
    // Entry 0 names the running program by its full path, whatever the shell passed.
    std::string self = ProgramPath();
    if (argc > 0 && !self.empty()) argv[0] = self.data();
    return RunDriver(Driver, Job, argc, argv);
}
