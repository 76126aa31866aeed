// Reads one pixel of a window back from the X server.
#include <SDL.h>
#include <SDL_syswm.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <cstdint>

uint32_t XWindowPixel(SDL_Window* window, int x, int y) {
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (!SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_X11) return 0;
    XImage* image =
        XGetImage(info.info.x11.display, info.info.x11.window, x, y, 1, 1, AllPlanes, ZPixmap);
    if (!image) return 0;
    uint32_t pixel = (uint32_t)XGetPixel(image, 0, 0) & 0xFFFFFFu;
    XDestroyImage(image);
    return pixel;
}
