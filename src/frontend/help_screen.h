#pragma once

// Writes the help screen to the console (never to the log).
void PrintHelp();
