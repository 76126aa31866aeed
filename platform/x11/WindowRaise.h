// Raising another program's window on X11: how a second copy of the game hands the desktop back
// to the first copy instead of starting.
#pragma once

// Looks on the X display of $DISPLAY for a top-level window whose WM_CLASS class is
// `windowClass`, asks the window manager to activate it (a _NET_ACTIVE_WINDOW message) and
// raises it. 1 when a window was found and asked for, 0 when there is none, -1 when no X display
// can be opened (no DISPLAY, a Wayland-only session).
int X11RaiseWindowOfClass(const char* windowClass);
