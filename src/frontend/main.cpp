#include <csignal>
#include <malloc.h>
#include <string>

#include "frontend/run_driver.h"
#include "job/image_to_video_class.h"
#include "platform/system/files.h"

namespace {

IMAGE_TO_VIDEO_CLASS Job;
DRIVER_STATE Driver;

// Every picture allocates and frees pixel buffers of several megabytes. Kept inside the
// process, the freed memory serves the next picture; handed back to the system, each
// picture would fault in fresh pages, which costs more than decoding it.
void KeepFreedPixelMemory() {
    mallopt(M_MMAP_THRESHOLD, 32 << 20);
    mallopt(M_TRIM_THRESHOLD, 256 << 20);
}

} // namespace

int main(int argc, char** argv) {
    KeepFreedPixelMemory();
    // A write past the file size the system allows this process then fails like any other
    // write, so the AVI writer refuses the frame and still completes the file, instead of
    // the run being killed halfway through with headers that were never written.
    std::signal(SIGXFSZ, SIG_IGN);
    // Entry 0 names the running program by its full path, whatever the shell passed.
    std::string self = ProgramPath();
    if (argc > 0 && !self.empty()) argv[0] = self.data();
    return RunDriver(Driver, Job, argc, argv);
}
