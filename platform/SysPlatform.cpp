// Process-wide services over POSIX and SDL2.
#include "platform/SysPlatform.h"

#include <SDL.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

std::string PlatExecutableFolder() {
    std::vector<char> buf(4096);
    for (;;) {
        ssize_t n = readlink("/proc/self/exe", buf.data(), buf.size());
        if (n < 0) return std::string();
        if ((size_t)n < buf.size()) {
            std::string exe(buf.data(), (size_t)n);
            size_t slash = exe.rfind('/');
            return slash == std::string::npos ? std::string() : exe.substr(0, slash + 1);
        }
        buf.resize(buf.size() * 2);
    }
}

std::string PlatCommandLine() {
    std::FILE* f = std::fopen("/proc/self/cmdline", "rb");
    if (!f) return std::string();
    std::string line;
    int c;
    while ((c = std::fgetc(f)) != EOF)
        line.push_back(c == 0 ? ' ' : (char)c);
    std::fclose(f);
    while (!line.empty() && line.back() == ' ')
        line.pop_back();
    return line;
}

bool PlatHeadless() {
    const char* v = std::getenv("FAIRLARK_HEADLESS");
    return v && std::strcmp(v, "1") == 0;
}

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
