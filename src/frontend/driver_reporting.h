#pragma once

struct DRIVER_STATE;
class IMAGE_TO_VIDEO_CLASS;

// The driver's reporting, reading the driver's own flags.
void WriteOutput(DRIVER_STATE& Driver, const char* Text);
void ShowErrorWindow(DRIVER_STATE& Driver, const char* Text);

// Opens the log named by Driver.LogFile and writes its header; false when it cannot be
// opened for writing.
bool OpenLog(DRIVER_STATE& Driver);

// End-of-run clean-up: closes the log and deletes the abort marker when it exists. The
// marker is looked for only once an output folder is known. Never fails.
void Cleanup(DRIVER_STATE& Driver, IMAGE_TO_VIDEO_CLASS& Job);
