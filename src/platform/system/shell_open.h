#pragma once

// Asks the desktop to perform Verb ("play", "open") on File with its associated program.
// Starts xdg-open detached from this process when it is installed; returns a value above
// 32 when the program was started, 2 when there is no xdg-open, 31 when starting failed.
int ShellExecute(const char* Verb, const char* File);
