#pragma once

#include <cstdint>
#include <cstdio>

class IMAGE_TO_VIDEO_CLASS;

// The run driver's own state, apart from the job.
struct DRIVER_STATE {
    int32_t MaxImages = 100000;
    char ProgramFolder[1024] = {};
    char LogFile[1024] = {};
    bool LogOpen = false;
    bool ShowErrorWindows = true;
    bool GifOutput = false;
    std::FILE* LogStream = nullptr; // owned; closed by Cleanup
};

inline constexpr const char* VersionText = "Version 1.0.0.0";

// The whole run: start-up, options, gathering, sorting, compiling and the exit line.
// Returns the process exit code.
int RunDriver(DRIVER_STATE& Driver, IMAGE_TO_VIDEO_CLASS& Job, int argc, char** argv);
