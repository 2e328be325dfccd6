#include "frontend/run_driver.h"

#include "job/image_to_video_class.h"

int RunDriver(DRIVER_STATE&, IMAGE_TO_VIDEO_CLASS&, int, char**) { return 0; }
