// A stand-in window manager for the test of the second copy: the test's own X connection takes
// the root window's substructure redirection, as a window manager does, so that what another
// program asks of the window manager comes to it. It grants what it is asked: activation (and
// records it in the root's _NET_ACTIVE_WINDOW), raising, mapping. Plain functions without Xlib
// types: Xlib's macros clash with GoogleTest's names.
#pragma once

#include <cstdint>

// Opens $DISPLAY, maps a cover window above every other and takes the redirection; false when
// the display cannot be opened or another window manager holds it.
bool XWmStart();
void XWmStop();
// The top-level window whose WM_CLASS class is `windowClass`; 0 when none.
uint64_t XWmFindClass(const char* windowClass);
// Grants every request the server has passed on so far.
void XWmHandlePending();
// How many _NET_ACTIVE_WINDOW requests came, and the root's _NET_ACTIVE_WINDOW (0 when unset).
int XWmActivateRequests();
uint64_t XWmActiveWindow();
// Whether the window is stacked above the cover window.
bool XWmAboveCover(uint64_t window);
// The width and height of the window's _NET_WM_ICON (the icon a window manager shows for it);
// false when it has none.
bool XWmIconSize(uint64_t window, int* width, int* height);
