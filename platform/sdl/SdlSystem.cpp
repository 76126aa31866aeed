// Message boxes and the desktop size over SDL2.
#include "platform/sdl/SdlSystem.h"

#include "platform/SysPlatform.h"

#include <SDL.h>

#include <cstdlib>

static bool HasDisplay() {
    const char* x = std::getenv("DISPLAY");
    const char* w = std::getenv("WAYLAND_DISPLAY");
    return (x && *x) || (w && *w);
}

int PlatShowMessageBox(const char* caption, const char* text) {
    if (PlatHeadless() || !HasDisplay()) return -1;
    if (SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_INFORMATION, caption ? caption : "",
                                 text ? text : "", nullptr) != 0)
        return -1;
    return 1;
}

void PlatDesktopSize(int* width, int* height) {
    int w = 0, h = 0;
    if (!PlatHeadless() && HasDisplay()) {
        bool started = false;
        if (!SDL_WasInit(SDL_INIT_VIDEO)) started = SDL_InitSubSystem(SDL_INIT_VIDEO) == 0;
        if (SDL_WasInit(SDL_INIT_VIDEO)) {
            SDL_DisplayMode mode;
            if (SDL_GetDesktopDisplayMode(0, &mode) == 0) {
                w = mode.w;
                h = mode.h;
            }
        }
        if (started) SDL_QuitSubSystem(SDL_INIT_VIDEO);
    }
    if (width) *width = w;
    if (height) *height = h;
}
