// Writes the textures the build generates into the data folder: the environment cube map
// "Enviro.dds", the particle atlas "Particles.tga", the sun's and the lens flare's grey sprites,
// the test board's block and panorama textures, and the sample textures in "Samples/" that the
// texture tests load by name.
#include "I3d/Image.h"
#include "datagen/Images/ImageWriters.h"
#include "engine/Dirs.h"
#include "engine/MathConst.h"

#include <cmath>
#include <cstdio>
#include <string>

namespace {

// 8 x 8 cells of two colours that 5-6-5 and DXT endpoints hold exactly, so every loader's
// output can be compared texel for texel.
constexpr uint32_t kCellA = 0xFFFF0000; // red
constexpr uint32_t kCellB = 0x80080408; // dark, half transparent

GenImage Checker(uint32_t side) {
    GenImage img(side, side);
    for (uint32_t y = 0; y < side; ++y)
        for (uint32_t x = 0; x < side; ++x)
            img.Set(x, y, ((x / 8 + y / 8) & 1) ? kCellB : kCellA);
    return img;
}

constexpr uint32_t kSky = 0xFF5080C0, kHorizon = 0xFFB0C8E0, kGround = 0xFF604830;

// A face filled with one colour (the cube's top and bottom).
GenChain FlatFace(uint32_t colour, uint32_t side) {
    GenImage img(side, side);
    for (uint32_t y = 0; y < side; ++y)
        for (uint32_t x = 0; x < side; ++x)
            img.Set(x, y, colour);
    return GenMipChain(img);
}

// A side face: sky fading to the horizon in the upper half, ground below.
GenChain SideFace(uint32_t side) {
    GenImage img(side, side);
    for (uint32_t y = 0; y < side; ++y) {
        uint32_t c =
            y < side / 2 ? ColorLerpArgb(kSky, kHorizon, float(y) / float(side / 2)) : kGround;
        for (uint32_t x = 0; x < side; ++x)
            img.Set(x, y, c | 0xFF000000);
    }
    return GenMipChain(img);
}

// The particle systems' atlas: 4 x 4 cells of 32 pixels, each a white disc whose alpha falls
// from the centre to nothing at the cell's edge (glows use cell 0).
GenImage ParticleAtlas() {
    constexpr uint32_t kSide = 128, kCell = 32;
    GenImage img(kSide, kSide);
    for (uint32_t y = 0; y < kSide; ++y) {
        for (uint32_t x = 0; x < kSide; ++x) {
            const float dx = float(x % kCell) + 0.5f - kCell / 2.0f;
            const float dy = float(y % kCell) + 0.5f - kCell / 2.0f;
            const float r = std::sqrt(dx * dx + dy * dy) / (kCell / 2.0f);
            const float a = r < 1.0f ? 1.0f - r : 0.0f;
            img.Set(x, y, (uint32_t(a * 255.0f + 0.5f) << 24) | 0xFFFFFFu);
        }
    }
    return img;
}

// A grey sprite (white with alpha = grey once loaded) of side pixels whose grey at radius r
// (0 at the centre, 1 at the edge of the inscribed circle) is shape(r) x 255.
template <class Shape>
GenImage GreySprite(uint32_t side, Shape shape) {
    GenImage img(side, side);
    for (uint32_t y = 0; y < side; ++y) {
        for (uint32_t x = 0; x < side; ++x) {
            const float dx = float(x) + 0.5f - float(side) / 2.0f;
            const float dy = float(y) + 0.5f - float(side) / 2.0f;
            const float r = std::sqrt(dx * dx + dy * dy) / (float(side) / 2.0f);
            float a = r < 1.0f ? shape(r) : 0.0f;
            a = a < 0.0f ? 0.0f : (a > 1.0f ? 1.0f : a);
            img.Set(x, y, (uint32_t(a * 255.0f + 0.5f) << 24) | 0xFFFFFFu);
        }
    }
    return img;
}

// The sun's disc: solid to half its radius, then a soft edge.
float SunDiscShape(float r) {
    return r < 0.5f ? 1.0f : (1.0f - r) * 2.0f;
}
// The glare: a wide glow falling off with the square of the distance from the centre.
float GlareShape(float r) {
    return (1.0f - r) * (1.0f - r);
}
// Halo 1: a soft disc; halo 2: a ring at three quarters of the radius.
float HaloDiscShape(float r) {
    return 1.0f - r;
}
float HaloRingShape(float r) {
    const float d = std::fabs(r - 0.75f) / 0.2f;
    return d < 1.0f ? 1.0f - d : 0.0f;
}

// ---- the test board's textures ----

// One column of eight per face of the block's strip mesh (-z, +x, +z, -x, +y, -y, then two
// unused), each a colour of its own with a darker rim so the sub-cubes' edges show.
GenImage FaceColumns() {
    constexpr uint32_t kSide = 128, kColumn = kSide / 8;
    static const uint32_t kFaces[8] = {0xFF3050D0, 0xFFD04030, 0xFF60A0F0, 0xFF802020,
                                       0xFF40C050, 0xFF206030, 0xFF808080, 0xFF808080};
    GenImage img(kSide, kSide);
    for (uint32_t y = 0; y < kSide; ++y)
        for (uint32_t x = 0; x < kSide; ++x) {
            const uint32_t cx = x % kColumn;
            const bool rim = cx < 1 || cx >= kColumn - 1 || y < 2 || y >= kSide - 2;
            const uint32_t c = kFaces[x / kColumn];
            img.Set(x, y, rim ? ColorLerpArgb(c, 0xFF000000, 0.5f) : c);
        }
    return img;
}

// Grey bands whose alpha carries the shine the specular-map shader's second pass adds.
GenImage ShineBands() {
    constexpr uint32_t kSide = 64;
    GenImage img(kSide, kSide);
    for (uint32_t y = 0; y < kSide; ++y)
        for (uint32_t x = 0; x < kSide; ++x) {
            const uint32_t a = ((x + y) / 8) & 1 ? 0xC0u : 0x30u;
            img.Set(x, y, (a << 24) | 0x00E0E0E0u);
        }
    return img;
}

// A wide strip for the panorama ring: sky over hills over ground, the hills' height changing
// along the strip so a scroll is visible.
GenImage PanoramaStrip() {
    constexpr uint32_t kWidth = 256, kHeight = 64;
    GenImage img(kWidth, kHeight);
    for (uint32_t x = 0; x < kWidth; ++x) {
        const float hill = 24.0f + 10.0f * std::sin(float(x) * kTwoPi * 3.0f / float(kWidth));
        for (uint32_t y = 0; y < kHeight; ++y) {
            const uint32_t c = float(y) < hill ? ColorLerpArgb(kSky, kHorizon, float(y) / hill)
                               : y < 48        ? 0xFF3C7030
                                               : kGround;
            img.Set(x, y, c | 0xFF000000);
        }
    }
    return img;
}

bool SaveTga(const GenImage& src, int format, const std::string& path) {
    I3dImage* img = ImgAlloc(int(src.width), int(src.height), format);
    if (!img) return false;
    for (uint32_t y = 0; y < src.height; ++y) {
        for (uint32_t x = 0; x < src.width; ++x) {
            const uint8_t* p = src.At(x, y);
            uint8_t* d = img->pixels + size_t(y) * img->pitch + size_t(x) * img->bytesPerPixel;
            if (format == IMG_A8R8G8B8) {
                d[0] = p[0], d[1] = p[1], d[2] = p[2], d[3] = p[3];
            } else if (format == IMG_R8G8B8) {
                d[0] = p[2], d[1] = p[1], d[2] = p[0];
            } else {
                d[0] = p[3]; // grey from alpha
            }
        }
    }
    bool ok = ImgSaveTga(img, path.c_str(), nullptr) == 0;
    ImgFree(img);
    return ok;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: gen_textures <Data folder>/\n");
        return 2;
    }
    const std::string data = argv[1];
    const std::string samples = data + "Samples/";
    if (DirCreatePath(samples.c_str()) != 1) {
        std::fprintf(stderr, "gen_textures: cannot make %s\n", samples.c_str());
        return 1;
    }

    // +X, -X, +Y (up), -Y (down), +Z, -Z.
    const std::array<GenChain, 6> cube = {SideFace(64),          SideFace(64), FlatFace(kSky, 64),
                                          FlatFace(kGround, 64), SideFace(64), SideFace(64)};
    const GenChain checker = GenMipChain(Checker(64));
    bool ok =
        GenWriteFile(data + "Enviro.dds", GenDdsCubeBytes(GenDds::Dxt1, cube)) &&
        SaveTga(ParticleAtlas(), IMG_A8R8G8B8, data + "Particles.tga") &&
        SaveTga(GreySprite(128, SunDiscShape), IMG_L8, data + "SunDisc.tga") &&
        SaveTga(GreySprite(128, GlareShape), IMG_L8, data + "Glare.tga") &&
        SaveTga(GreySprite(64, HaloDiscShape), IMG_L8, data + "Lens Flare 1.tga") &&
        SaveTga(GreySprite(64, HaloRingShape), IMG_L8, data + "Lens Flare 2.tga") &&
        GenWriteFile(data + "xyz.dds", GenDdsBytes(GenDds::Argb32, GenMipChain(FaceColumns()))) &&
        GenWriteFile(data + "Diffuse.dds", GenDdsBytes(GenDds::Dxt1, checker)) &&
        GenWriteFile(data + "SpecMapAlt.dds",
                     GenDdsBytes(GenDds::Dxt5, GenMipChain(ShineBands()))) &&
        GenWriteFile(data + "SamplePanoramaStrip1.dds",
                     GenDdsBytes(GenDds::Dxt1, GenMipChain(PanoramaStrip()))) &&
        GenWriteFile(samples + "SampleArgb.dds", GenDdsBytes(GenDds::Argb32, checker)) &&
        GenWriteFile(samples + "SampleDxt1.dds", GenDdsBytes(GenDds::Dxt1, checker)) &&
        GenWriteFile(samples + "SampleDxt5.dds", GenDdsBytes(GenDds::Dxt5, checker)) &&
        SaveTga(checker[0], IMG_R8G8B8, samples + "SampleRgb.tga") &&
        SaveTga(checker[0], IMG_L8, samples + "SampleGrey.tga");
    if (!ok) {
        std::fprintf(stderr, "gen_textures: a texture could not be written into %s\n",
                     data.c_str());
        return 1;
    }
    return 0;
}
