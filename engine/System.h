// Process-wide facts gathered once at start-up, and a few system services.
#pragma once

#include <cstddef>
#include <string>

// Keeps the main window and instance pointers (null until a window exists), the arguments and
// the command line, finds the program folder and starts the millisecond timer. Called again
// once the main window exists, to record it.
void SysInit(void* mainWindow, void* instance, int argc = 0, char** argv = nullptr);

const char* SysCommandLine();

// Folder of the executable, ending in "/" (from /proc/self/exe, so the program finds its Data/
// however it was started). "" before SysInit.
const char* SysProgramFolder();
// Puts another folder (ending in "/") in the executable's place, SysInit or not: tests point
// the program, and so every data folder made from it and the log, at a build's generated Data/
// or a scratch folder this way. Null goes back to the executable's folder. Returns the folder
// set before ("" when none was).
std::string SysSetProgramFolder(const char* folder);
// Program folder + name; 1, or -1 and "" when it does not fit.
int SysProgramPath(char* out, size_t outSize, const char* name);
// A file name from data (an ini value, a script): an absolute one ("/" or "\" first) as it is,
// a relative one from the program folder, since the program never changes its working folder.
// 1, or -1 and "" when it does not fit (or name is null).
int SysDataFilePath(char* out, size_t outSize, const char* name);

// The window system's services. The core links no window library: the application installs
// these at start-up (see SysSetWindowHooks), and until then there is no box and no display.
struct SysWindowHooks {
    // Shows a modal OK box; 1 once closed, -1 when none could be shown.
    int (*messageBox)(const char* caption, const char* text);
    // The first display's desktop mode; 0 x 0 without one.
    void (*desktopSize)(int* width, int* height);
};

// Installs the window system's services (copied); null, or null members, remove them.
void SysSetWindowHooks(const SysWindowHooks* hooks);

// The first display's desktop mode; 0 x 0 without a display or before the hooks are installed.
void SysDesktopSize(int* width, int* height);

// A modal message box with an OK button; returns 1 (OK) once closed. Headless
// (FAIRLARK_HEADLESS=1), without a display or without the window hooks, caption and text go to
// stderr and to the log instead and the call returns at once, as if OK had been pressed.
int SysMessageBox(const char* text, const char* caption);

// A tone of `frequency` Hz lasting `milliseconds`: logged as "Beep <f> Hz <ms> ms" and, while a
// sound device is open, played once as a sine tone on one voice (at most 10 s; frequencies
// outside 37..32767 Hz play nothing). Returns at once; without a device only the log line.
void SysBeep(int frequency, int milliseconds);
// The sound layer installs the tone's player while its device is open (null removes it), so
// that this core needs no sound library.
using SysBeepHook = void (*)(int frequency, int milliseconds);
void SysSetBeepHook(SysBeepHook hook);

// Starts a program from a command line (the first word names it; double quotes group words),
// with the caller's environment and folder. With `wait` nonzero, waits for it to end; its exit
// code is not reported. 0, or -1 when it cannot start.
int RunProcessWait(const char* commandLine, int wait);
