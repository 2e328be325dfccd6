#pragma once

#include <string>

struct DRIVER_STATE;
class IMAGE_TO_VIDEO_CLASS;

// Smallest position 1 <= i < argc whose argument equals Lower or Upper exactly; 0 when
// neither occurs.
int FindArgument(const char* Lower, const char* Upper, int argc, char** argv);

// The three phases of reading the command line. Each returns 0 to go on, or the exit
// code that ends the run after it has written its own texts.
int ReadStartupOptions(DRIVER_STATE& Driver, int argc, char** argv);
int ReadRequiredCommands(DRIVER_STATE& Driver, IMAGE_TO_VIDEO_CLASS& Job, int argc, char** argv);
int ReadOptionalCommands(DRIVER_STATE& Driver, IMAGE_TO_VIDEO_CLASS& Job, int argc, char** argv);

// The folder of OutputFile (at most 1023 characters), absolute: a name without a folder
// or on a relative folder is taken from CurrentFolder.
std::string DeriveOutputFolder(const char* OutputFile, const std::string& CurrentFolder);
