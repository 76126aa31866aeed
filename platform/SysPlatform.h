// Process-wide services the engine asks of the operating system: where the program lives, its
// command line, whether it runs headless (POSIX).
#pragma once

#include <string>

// Folder of the running executable (from /proc/self/exe), ending in "/"; "" when unknown.
std::string PlatExecutableFolder();

// Raw command line from /proc/self/cmdline, arguments joined by single spaces.
std::string PlatCommandLine();

// True when FAIRLARK_HEADLESS=1: no window, no dialog is ever shown.
bool PlatHeadless();
