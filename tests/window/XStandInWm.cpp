// The stand-in window manager of the second-copy test (see XStandInWm.h).
#include "tests/window/XStandInWm.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <cstring>

namespace {
Display* s_display = nullptr;
Window s_cover = None;
int s_activations = 0;
bool s_refused = false;

int NoteError(Display*, XErrorEvent* e) {
    if (e->error_code == BadAccess) s_refused = true;
    return 0;
}

Atom ActiveAtom() {
    return XInternAtom(s_display, "_NET_ACTIVE_WINDOW", False);
}
} // namespace

bool XWmStart() {
    s_display = XOpenDisplay(nullptr);
    if (!s_display) return false;
    s_activations = 0;
    s_refused = false;
    const Window root = DefaultRootWindow(s_display);
    s_cover = XCreateSimpleWindow(s_display, root, 0, 0, 400, 300, 0, 0, 0);
    XMapRaised(s_display, s_cover);
    XSetErrorHandler(NoteError);
    XSelectInput(s_display, root, SubstructureRedirectMask | SubstructureNotifyMask);
    XSync(s_display, False);
    return !s_refused;
}

void XWmStop() {
    if (!s_display) return;
    XDestroyWindow(s_display, s_cover);
    XDeleteProperty(s_display, DefaultRootWindow(s_display), ActiveAtom());
    XCloseDisplay(s_display);
    XSetErrorHandler(nullptr);
    s_display = nullptr;
}

uint64_t XWmFindClass(const char* windowClass) {
    Window root = None, parent = None, *children = nullptr;
    unsigned int count = 0;
    Window found = None;
    if (XQueryTree(s_display, DefaultRootWindow(s_display), &root, &parent, &children, &count)) {
        for (unsigned int i = 0; i < count && found == None; ++i) {
            XClassHint hint{};
            if (!XGetClassHint(s_display, children[i], &hint)) continue;
            if (hint.res_class && std::strcmp(hint.res_class, windowClass) == 0)
                found = children[i];
            if (hint.res_name) XFree(hint.res_name);
            if (hint.res_class) XFree(hint.res_class);
        }
    }
    if (children) XFree(children);
    return found;
}

void XWmHandlePending() {
    XSync(s_display, False);
    while (XPending(s_display)) {
        XEvent ev;
        XNextEvent(s_display, &ev);
        if (ev.type == ClientMessage && ev.xclient.message_type == ActiveAtom()) {
            ++s_activations;
            const unsigned long w = ev.xclient.window;
            XChangeProperty(s_display, DefaultRootWindow(s_display), ActiveAtom(), XA_WINDOW, 32,
                            PropModeReplace, reinterpret_cast<const unsigned char*>(&w), 1);
            XRaiseWindow(s_display, ev.xclient.window);
        } else if (ev.type == ConfigureRequest) {
            const XConfigureRequestEvent& r = ev.xconfigurerequest;
            XWindowChanges changes{r.x, r.y, r.width, r.height, r.border_width, r.above, r.detail};
            XConfigureWindow(s_display, r.window, (unsigned int)r.value_mask, &changes);
        } else if (ev.type == MapRequest) {
            XMapWindow(s_display, ev.xmaprequest.window);
        }
        XSync(s_display, False);
    }
}

int XWmActivateRequests() {
    return s_activations;
}

uint64_t XWmActiveWindow() {
    Atom type = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    uint64_t w = 0;
    if (XGetWindowProperty(s_display, DefaultRootWindow(s_display), ActiveAtom(), 0, 1, False,
                           XA_WINDOW, &type, &format, &count, &after, &data) == Success &&
        data && count == 1)
        w = *reinterpret_cast<const unsigned long*>(data);
    if (data) XFree(data);
    return w;
}

bool XWmAboveCover(uint64_t window) {
    Window root = None, parent = None, *children = nullptr;
    unsigned int count = 0;
    int cover = -1, at = -1;
    if (XQueryTree(s_display, DefaultRootWindow(s_display), &root, &parent, &children, &count)) {
        for (unsigned int i = 0; i < count; ++i) { // bottom to top
            if (children[i] == s_cover) cover = (int)i;
            if (children[i] == window) at = (int)i;
        }
    }
    if (children) XFree(children);
    return cover >= 0 && at > cover;
}

bool XWmIconSize(uint64_t window, int* width, int* height) {
    Atom type = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    const Atom icon = XInternAtom(s_display, "_NET_WM_ICON", False);
    if (XGetWindowProperty(s_display, Window(window), icon, 0, 2, False, XA_CARDINAL, &type,
                           &format, &count, &after, &data) != Success)
        return false;
    const bool found = data && format == 32 && count == 2;
    if (found) {
        const auto* words = reinterpret_cast<const unsigned long*>(data);
        *width = int(words[0]);
        *height = int(words[1]);
    }
    if (data) XFree(data);
    return found;
}
