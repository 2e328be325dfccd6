#pragma once

#include <cstdio>
#include <string>

// The reporting routines shared by the run driver and the job; each side passes its own
// flags.

// Text to the console as it stands and, when LogOpen, to the log.
void WriteOutputTo(const char* Text, bool LogOpen, std::FILE* Log);
// Text to the log only, when it is open.
void WriteLogOnly(const char* Text, bool LogOpen, std::FILE* Log);
// The error window: with a log open, "\nSee log file for details." goes to the console
// and ends the window text; otherwise the window text ends with "See output for
// details.". The window is shown only when ShowWindows.
void ShowErrorWindowWith(const char* Text, bool LogOpen, bool ShowWindows);

// Path of the abort marker: Folder, '/', Name.
std::string AbortMarkerPath(const char* Folder, const char* Name);
