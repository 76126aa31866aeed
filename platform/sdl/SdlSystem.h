// The window system's share of the process-wide services: message boxes and the desktop size,
// over SDL2. The application installs them into the engine core at start-up.
#pragma once

// Shows a modal OK box. Returns 1 when shown and closed, -1 when no box could be shown
// (headless or no display); the caller then reports the text some other way.
int PlatShowMessageBox(const char* caption, const char* text);

// Desktop mode of the first display; 0 x 0 without one.
void PlatDesktopSize(int* width, int* height);
