// Slide series the slide-show tests write into the test's data folder: numbered 32-bit DDS files
// of one flat colour each (or four quadrants), and the colour arithmetic to read them back.
#pragma once

#include "datagen/Images/ImageWriters.h"
#include "ui/Ctl3Base.h"

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>

// Slide i of the test series: far-apart colours, each channel a multiple of 16 plus 8.
inline uint32_t SlideColour(int i) {
    static const uint32_t colours[] = {0xFFE81808u, 0xFF18C828u, 0xFF2838E8u, 0xFFE8D818u,
                                       0xFF9818C8u, 0xFF18D8D8u, 0xFF787878u, 0xFFF89838u};
    return colours[i % 8];
}

// "<data folder><name>" with "\" turned into "/", its folder made.
inline std::string SlidePath(const std::string& name) {
    std::string path = std::string(Ctl3DataFolder()) + name;
    for (char& c : path)
        if (c == '\\') c = '/';
    std::error_code error;
    std::filesystem::create_directories(path.substr(0, path.rfind('/')), error);
    return path;
}

// "<base>00.dds" ... for the indices first..last, w x h, slide i filled with SlideColour(i).
inline bool WriteSlides(const std::string& base, int first, int last, uint32_t w = 64,
                        uint32_t h = 64) {
    for (int i = first; i <= last; ++i) {
        GenImage img(w, h);
        for (uint32_t y = 0; y < h; ++y)
            for (uint32_t x = 0; x < w; ++x)
                img.Set(x, y, SlideColour(i));
        char number[8];
        std::snprintf(number, sizeof number, "%02i.dds", i);
        if (!GenWriteFile(SlidePath(base + number), GenDdsBytes(GenDds::Argb32, GenChain{img})))
            return false;
    }
    return true;
}

// The opaque colour of a pixel (the back buffer has no alpha of its own).
inline uint32_t SlideRgb(uint32_t argb) {
    return argb | 0xFF000000u;
}

// a x (1 - t) + b x t, channel by channel, opaque.
inline uint32_t SlideMix(uint32_t a, uint32_t b, float t) {
    uint32_t out = 0xFF000000u;
    for (int s = 0; s < 24; s += 8) {
        const float ca = float((a >> s) & 0xFF), cb = float((b >> s) & 0xFF);
        out |= uint32_t(ca + (cb - ca) * t + 0.5f) << s;
    }
    return out;
}

// Every channel within `tolerance`.
inline bool SlideNear(uint32_t a, uint32_t b, int tolerance) {
    for (int s = 0; s < 24; s += 8) {
        const int d = int((a >> s) & 0xFF) - int((b >> s) & 0xFF);
        if (d > tolerance || d < -tolerance) return false;
    }
    return true;
}
