#pragma once

#include "platform/system/message_window.h"

// Draws Window as a framed box on the terminal behind TerminalFd and reads the answer
// from it in raw mode; the terminal's settings are restored on every way out.
TModalResult RunTerminalDialog(int TerminalFd, const TMessageWindow& Window);

// Splits Text into the lines of a box at most Width columns wide: tabs become spaces to
// the next multiple of eight, long lines are wrapped at a blank where there is one.
std::string WrapForBox(const std::string& Text, size_t Width);
