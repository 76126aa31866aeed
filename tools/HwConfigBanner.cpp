// The configuration dialog's banner picture through SDL's BMP reader.
#include "tools/HwConfigBanner.h"

#include "engine/DebugLog.h"
#include "engine/System.h"
#include "platform/PathResolve.h"

#include <GL/gl.h>
#include <SDL.h>

#include <cstdint>
#include <cstdio>
#include <string>

namespace {

// The banner is a small picture. A header claiming a huge one would have SDL's reader ask for
// that much memory before it finds the file too short, so the size is checked first.
constexpr int32_t kBannerLargest = 4096;

bool BannerSizeFits(const std::string& disk) {
    unsigned char header[26] = {};
    FILE* file = std::fopen(disk.c_str(), "rb");
    if (!file) return true; // SDL reports the failure
    const size_t got = std::fread(header, 1, sizeof header, file);
    std::fclose(file);
    auto u16 = [&](int at) { return int32_t(header[at] | header[at + 1] << 8); };
    auto i32 = [&](int at) {
        return int32_t(uint32_t(header[at]) | uint32_t(header[at + 1]) << 8 |
                       uint32_t(header[at + 2]) << 16 | uint32_t(header[at + 3]) << 24);
    };
    if (got < 18 || header[0] != 'B' || header[1] != 'M') return true; // not a BMP: SDL says so
    const int32_t infoSize = i32(14);
    int64_t width = 0, height = 0;
    if (infoSize == 12 && got >= 22) {
        width = u16(18);
        height = u16(20);
    } else if (got >= 26) {
        width = i32(18);
        height = i32(22);
    }
    if (height < 0) height = -height; // top-down rows
    return width <= kBannerLargest && height <= kBannerLargest;
}

} // namespace

SDL_Surface* HwConfigReadBanner(const char* path) {
    std::string name = path ? path : "";
    if (name.empty()) {
        DbgOut("HwConfig: no banner image is named\n");
        return nullptr;
    }
    char full[4096];
    std::string disk;
    if (SysDataFilePath(full, sizeof full, name.c_str()) != 1 ||
        PlatPathResolve(full, &disk) != 1) {
        DbgOut("HwConfig: the banner image %s is missing\n", name.c_str());
        return nullptr;
    }
    if (!BannerSizeFits(disk)) {
        DbgOut("HwConfig: the banner image %s is larger than %d x %d; not shown\n", name.c_str(),
               kBannerLargest, kBannerLargest);
        return nullptr;
    }
    SDL_Surface* loaded = SDL_LoadBMP(disk.c_str());
    SDL_Surface* rgba =
        loaded ? SDL_ConvertSurfaceFormat(loaded, SDL_PIXELFORMAT_ABGR8888, 0) : nullptr;
    if (loaded) SDL_FreeSurface(loaded);
    if (!rgba || rgba->w <= 0 || rgba->h <= 0) {
        DbgOut("HwConfig: the banner image %s cannot be read: %s\n", name.c_str(), SDL_GetError());
        if (rgba) SDL_FreeSurface(rgba);
        return nullptr;
    }
    return rgba;
}

unsigned HwConfigLoadBanner(const char* path, int* width, int* height) {
    if (width) *width = 0;
    if (height) *height = 0;
    SDL_Surface* rgba = HwConfigReadBanner(path);
    if (!rgba) return 0;
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
