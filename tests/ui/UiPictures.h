// The pictures the graphic-control tests draw, written into the test's data folder with the TGA
// writer: a 64 x 64 picture with one colour per 8 x 8 block, and a strip of three 16 x 16 frames
// of one flat colour each (in a 16 x 64 texture; the fourth cell stays black).
#pragma once

#include "I3d/Image.h"
#include "ui/Ctl3Base.h"

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <string>

inline constexpr const char* kBlocksPicture = "UiTest\\Blocks.tga";
inline constexpr const char* kStripPicture = "UiTest\\Strip.tga";
inline constexpr uint32_t kStripColours[3] = {0xFFE02020u, 0xFF20E020u, 0xFF2020E0u};

// The colour of block (bx, by), opaque.
inline uint32_t BlockColour(int bx, int by) {
    return 0xFF000000u | uint32_t(bx * 32 + 16) << 16 | uint32_t(by * 32 + 16) << 8 | 0x80u;
}

inline bool WritePicture(const char* name, int w, int h, uint32_t (*colourAt)(int x, int y)) {
    std::string path = std::string(Ctl3DataFolder()) + name;
    for (char& c : path)
        if (c == '\\') c = '/';
    const std::string folder = path.substr(0, path.rfind('/'));
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (error) return false;
    I3dImage* img = ImgAlloc(w, h, IMG_A8R8G8B8);
    if (!img) return false;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const uint32_t argb = colourAt(x, y);
            std::memcpy(img->pixels + y * img->pitch + x * 4, &argb, 4);
        }
    const bool ok = ImgSaveTga(img, path.c_str(), nullptr) == 0;
    ImgFree(img);
    return ok;
}

inline bool WriteTestPictures() {
    return WritePicture(kBlocksPicture, 64, 64,
                        [](int x, int y) { return BlockColour(x / 8, y / 8); }) &&
           WritePicture(kStripPicture, 16, 64,
                        [](int, int y) { return y < 48 ? kStripColours[y / 16] : 0xFF000000u; });
}

// The opaque colour of a pixel (the back buffer has no alpha of its own).
inline uint32_t Rgb(uint32_t argb) {
    return argb | 0xFF000000u;
}

// Every channel within `tolerance`.
inline bool Near(uint32_t a, uint32_t b, int tolerance) {
    for (int s = 0; s < 24; s += 8) {
        const int d = int((a >> s) & 0xFF) - int((b >> s) & 0xFF);
        if (d > tolerance || d < -tolerance) return false;
    }
    return true;
}
