#include "frontend/driver_reporting.h"

#include "frontend/run_driver.h"
#include "job/image_to_video_class.h"
#include "job/reporting.h"
#include "platform/system/console.h"
#include "platform/system/files.h"

void WriteOutput(DRIVER_STATE& Driver, const char* Text) {
    WriteOutputTo(Text, Driver.LogOpen, Driver.LogStream);
}

void ShowErrorWindow(DRIVER_STATE& Driver, const char* Text) {
    ShowErrorWindowWith(Text, Driver.LogOpen, Driver.ShowErrorWindows);
}

bool OpenLog(DRIVER_STATE& Driver) {
    ConsoleWrite("\nOpening log file ");
    ConsoleWrite(Driver.LogFile);
    ConsoleWrite(" for writing...");
    Driver.LogStream = std::fopen(Driver.LogFile, "w");
    if (Driver.LogStream == nullptr) return false;
    Driver.LogOpen = true;
    WriteLogOnly("\t\t\tVantrel_CL ", true, Driver.LogStream);
    WriteLogOnly(VersionText, true, Driver.LogStream);
    WriteLogOnly(" - Log\n", true, Driver.LogStream);
    ConsoleWrite("\nLog file opened successfully.\n");
    return true;
}

void Cleanup(DRIVER_STATE& Driver, IMAGE_TO_VIDEO_CLASS& Job) {
    try {
        if (Driver.LogStream != nullptr) std::fclose(Driver.LogStream);
        Driver.LogStream = nullptr;
        Driver.LogOpen = false;
        Job.LogOpen = false;
        Job.LogStream = nullptr;
        if (Job.OutputFolder[0] == '\0') return;
        const std::string marker = AbortMarkerPath(Job.OutputFolder, Job.AbortFileName);
        if (FileExists(marker.c_str())) DeleteFile(marker.c_str());
    } catch (...) {
        // Clean-up never changes how the run ends.
    }
    ConsoleFlush();
}
