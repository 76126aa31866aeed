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

// The descriptor no forked child keeps: it is closed in the child of every fork (SDL's message
// box runs in one), so that a lock held through it dies with this process. -1 forgets it.
void PlatSetForkedChildCloses(int fd);
