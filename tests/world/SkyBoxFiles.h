// Textures for the sky box tests, written with the data generators' image writers: the cube map
// "Data/Enviro.dds" of a program folder, one flat colour per face, and a vertical strip of four
// equal bands.
#pragma once

#include "datagen/Images/ImageWriters.h"
#include "engine/Dirs.h"
#include "world/SkyBox3.h"
#include "world/SkyBoxCube.h"

#include <array>
#include <string>

// Faces +x, -x, +y, -y, +z, -z.
constexpr uint32_t kSkyFace[6] = {0xFFFF0000u, 0xFF00FF00u, 0xFF0000FFu,
                                  0xFFFFFF00u, 0xFF00FFFFu, 0xFFFF00FFu};
// Bands from the top: the walls z = +1, z = -1, x = +1, x = -1.
constexpr uint32_t kSkyBand[4] = {0xFFC03020u, 0xFF20C030u, 0xFF3020C0u, 0xFFC0C020u};

inline bool WriteSkyCube(const std::string& programFolder) {
    std::array<GenChain, 6> faces;
    for (size_t f = 0; f < 6; ++f) {
        GenImage img(8, 8);
        for (uint32_t y = 0; y < 8; ++y)
            for (uint32_t x = 0; x < 8; ++x)
                img.Set(x, y, kSkyFace[f]);
        faces[f] = GenMipChain(img);
    }
    const std::string path = programFolder + "Data/Enviro.dds";
    DirCreateForFile(path.c_str());
    return GenWriteFile(path, GenDdsCubeBytes(GenDds::Argb32, faces));
}

// 8 x 64, one level, so every band keeps its own colour up to its edge.
inline bool WriteSkyStrip(const std::string& path) {
    GenImage img(8, 64);
    for (uint32_t y = 0; y < 64; ++y)
        for (uint32_t x = 0; x < 8; ++x)
            img.Set(x, y, kSkyBand[y / 16]);
    DirCreateForFile(path.c_str());
    return GenWriteFile(path, GenDdsBytes(GenDds::Argb32, GenChain{img}));
}

// The two box classes on the registry (after the world test classes).
inline void RegisterSkyBoxClasses() {
    EntCreateClass(EcSkyBox3Proc, 0, 0);
    EntCreateClass(EcSkyBoxCubeProc, 0, 0);
}
