// Process-wide services the engine asks of the operating system: where the program lives,
// the desktop size and simple message boxes (SDL2 and POSIX).
#pragma once

#include <string>

// Folder of the running executable (from /proc/self/exe), ending in "/"; "" when unknown.
std::string PlatExecutableFolder();

// Raw command line from /proc/self/cmdline, arguments joined by single spaces.
std::string PlatCommandLine();

// True when FAIRLARK_HEADLESS=1: no window, no dialog is ever shown.
bool PlatHeadless();

// Shows a modal OK box. Returns 1 when shown and closed, -1 when no box could be shown
// (headless or no display); the caller then reports the text some other way.
int PlatShowMessageBox(const char* caption, const char* text);

// Desktop mode of the first display; 0 x 0 without one.
void PlatDesktopSize(int* width, int* height);
