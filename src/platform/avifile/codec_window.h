#pragma once

#include <cstdint>

#include "platform/avifile/avi_types.h"

// The codec window on the terminal behind TerminalFd: lists the compressors, asks for one
// and, as Flags ask, for quality, key-frame interval and data rate. Starts from Options
// and fills it in; false when the user cancels or the terminal closes.
bool RunCodecDialog(int TerminalFd, uint32_t Flags, AVICOMPRESSOPTIONS& Options);

// Without a terminal: tells on standard error which compressors exist and that -hcd names
// one, and answers Cancel.
void ReportNoCodecWindow();
