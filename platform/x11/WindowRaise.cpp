// The X11 side of raising another program's window: found by its class among the window
// manager's clients (or the root's children, and their children under a frame), activated
// through the window manager and raised.
#include "platform/x11/WindowRaise.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <cstring>
#include <vector>

namespace {

bool HasClass(Display* d, Window w, const char* windowClass) {
    XClassHint hint{};
    if (!XGetClassHint(d, w, &hint)) return false;
    const bool same = hint.res_class && std::strcmp(hint.res_class, windowClass) == 0;
    if (hint.res_name) XFree(hint.res_name);
    if (hint.res_class) XFree(hint.res_class);
    return same;
}

// The window manager's own list of managed windows; empty without a window manager.
std::vector<Window> ClientList(Display* d, Window root) {
    std::vector<Window> out;
    Atom type = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    const Atom list = XInternAtom(d, "_NET_CLIENT_LIST", False);
    if (XGetWindowProperty(d, root, list, 0, 65536, False, XA_WINDOW, &type, &format, &count,
                           &after, &data) == Success &&
        data && type == XA_WINDOW && format == 32) {
        const auto* windows = reinterpret_cast<const unsigned long*>(data);
        out.assign(windows, windows + count);
    }
    if (data) XFree(data);
    return out;
}

std::vector<Window> Children(Display* d, Window parent) {
    std::vector<Window> out;
    Window root = None, up = None, *children = nullptr;
    unsigned int count = 0;
    if (XQueryTree(d, parent, &root, &up, &children, &count) && children)
        out.assign(children, children + count);
    if (children) XFree(children);
    return out;
}

Window Find(Display* d, Window root, const char* windowClass) {
    for (Window w : ClientList(d, root))
        if (HasClass(d, w, windowClass)) return w;
    // No window manager's list: a top-level window, or one a frame holds, topmost first.
    std::vector<Window> top = Children(d, root);
    for (auto it = top.rbegin(); it != top.rend(); ++it) {
        if (HasClass(d, *it, windowClass)) return *it;
        for (Window inner : Children(d, *it))
            if (HasClass(d, inner, windowClass)) return inner;
    }
    return None;
}

} // namespace

int X11RaiseWindowOfClass(const char* windowClass) {
    if (!windowClass) return 0;
    Display* d = XOpenDisplay(nullptr);
    if (!d) return -1;
    const Window root = DefaultRootWindow(d);
    const Window found = Find(d, root, windowClass);
    if (found != None) {
        // As a pager asks (source 2 would be a pager; 1 is an ordinary application).
        XEvent ev{};
        ev.xclient.type = ClientMessage;
        ev.xclient.window = found;
        ev.xclient.message_type = XInternAtom(d, "_NET_ACTIVE_WINDOW", False);
        ev.xclient.format = 32;
        ev.xclient.data.l[0] = 1;
        ev.xclient.data.l[1] = CurrentTime;
        XSendEvent(d, root, False, SubstructureRedirectMask | SubstructureNotifyMask, &ev);
        // Without a window manager this alone raises it; with one, it is the manager's to grant.
        XRaiseWindow(d, found);
    }
    XCloseDisplay(d); // sends what is queued
    return found != None ? 1 : 0;
}
