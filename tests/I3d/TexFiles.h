// Texture files for the texture-slot tests: TGA written by ImgSaveTga, DDS by the generators'
// writers, into a scratch folder.
#pragma once

#include "I3d/Image.h"
#include "datagen/Images/ImageWriters.h"
#include "engine/Dirs.h"
#include "tests/support/TestSupport.h"

#include <string>
#include <vector>

// A w x h image whose texel (x, y) is `f(x, y)` (ARGB).
template <class F>
GenImage MakeImage(uint32_t w, uint32_t h, F f) {
    GenImage img(w, h);
    for (uint32_t y = 0; y < h; ++y)
        for (uint32_t x = 0; x < w; ++x)
            img.Set(x, y, f(x, y));
    return img;
}

inline GenImage SolidImage(uint32_t w, uint32_t h, uint32_t argb) {
    return MakeImage(w, h, [argb](uint32_t, uint32_t) { return argb; });
}

// Saves `img` as a TGA of layout IMG_R8G8B8, IMG_A8R8G8B8 or IMG_L8 (grey taken from alpha).
inline bool WriteTga(const std::string& path, const GenImage& img, int format) {
    DirCreateForFile(path.c_str());
    I3dImage* out = ImgAlloc(int(img.width), int(img.height), format);
    for (uint32_t y = 0; y < img.height; ++y) {
        for (uint32_t x = 0; x < img.width; ++x) {
            const uint8_t* p = img.At(x, y);
            uint8_t* d = out->pixels + size_t(y) * out->pitch + size_t(x) * out->bytesPerPixel;
            if (format == IMG_R8G8B8)
                d[0] = p[2], d[1] = p[1], d[2] = p[0];
            else if (format == IMG_A8R8G8B8)
                d[0] = p[0], d[1] = p[1], d[2] = p[2], d[3] = p[3];
            else
                d[0] = p[3];
        }
    }
    bool ok = ImgSaveTga(out, path.c_str(), nullptr) == 0;
    ImgFree(out);
    return ok;
}

// Saves `img` (with its whole mip chain unless `oneLevel`) as a DDS file.
inline bool WriteDds(const std::string& path, GenDds kind, const GenImage& img,
                     bool oneLevel = false) {
    DirCreateForFile(path.c_str());
    GenChain chain = oneLevel ? GenChain{img} : GenMipChain(img);
    return GenWriteFile(path, GenDdsBytes(kind, chain));
}

// A DDS file whose pixel format claims 24 bits per pixel: the loader must refuse it.
inline bool Write24BitDds(const std::string& path, uint32_t w, uint32_t h) {
    std::vector<uint8_t> f = GenDdsBytes(GenDds::Argb32, GenChain{GenImage(w, h)});
    f[88] = 24;
    DirCreateForFile(path.c_str());
    return GenWriteFile(path, f);
}
