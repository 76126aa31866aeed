// The configuration dialog's banner picture through SDL's BMP reader.
#include "tools/HwConfigBanner.h"

#include "engine/DebugLog.h"
#include "engine/System.h"
#include "platform/PathResolve.h"

#include <GL/gl.h>
#include <SDL.h>

#include <string>

unsigned HwConfigLoadBanner(const char* path, int* width, int* height) {
    if (width) *width = 0;
    if (height) *height = 0;
    std::string name = path ? path : "";
    if (name.empty()) {
        DbgOut("HwConfig: no banner image is named\n");
        return 0;
    }
    char full[4096];
    std::string disk;
    if (SysDataFilePath(full, sizeof full, name.c_str()) != 1 ||
        PlatPathResolve(full, &disk) != 1) {
        DbgOut("HwConfig: the banner image %s is missing\n", name.c_str());
        return 0;
    }
    SDL_Surface* loaded = SDL_LoadBMP(disk.c_str());
    SDL_Surface* rgba =
        loaded ? SDL_ConvertSurfaceFormat(loaded, SDL_PIXELFORMAT_ABGR8888, 0) : nullptr;
    if (loaded) SDL_FreeSurface(loaded);
    if (!rgba || rgba->w <= 0 || rgba->h <= 0) {
        DbgOut("HwConfig: the banner image %s cannot be read: %s\n", name.c_str(), SDL_GetError());
        if (rgba) SDL_FreeSurface(rgba);
        return 0;
    }
    GLuint texture = 0;
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    glPixelStorei(GL_UNPACK_ROW_LENGTH, rgba->pitch / 4);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, rgba->w, rgba->h, 0, GL_RGBA, GL_UNSIGNED_BYTE,
                 rgba->pixels);
    glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
    if (width) *width = rgba->w;
    if (height) *height = rgba->h;
    SDL_FreeSurface(rgba);
    return texture;
}

void HwConfigFreeBanner(unsigned texture) {
    if (!texture) return;
    GLuint t = texture;
    glDeleteTextures(1, &t);
}
