// Texture files of any content through the kernel's texture loader on the recording layer: a
// file that starts as a DDS file is offered as "<name>.dds", anything else as "<name>.tga", and
// the game's I3dTexLoad picks it up as it picks up every texture.
#include "I3d/Textures.h"
#include "tests/fuzz/FuzzInput.h"
#include "tests/fuzz/FuzzKernel.h"

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzKernelReady();
    const bool dds = size >= 4 && std::memcmp(data, "DDS ", 4) == 0;
    std::remove(FuzzScratchPath(dds ? "Tex.tga" : "Tex.dds").c_str());
    FuzzWriteFile(dds ? "Tex.dds" : "Tex.tga", data, size);
    int slot = I3dTexLoad(FuzzScratchPath("Tex").c_str(), nullptr, 0);
    if (slot >= 0) I3dTexRelease(slot);
    return 0;
}
