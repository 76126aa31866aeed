// Cube-map DDS files of any content through the kernel's cube loader, which reads them with our
// D3DX stand-in into a cube texture of the recording layer.
#include "I3d/Textures.h"
#include "tests/fuzz/FuzzInput.h"
#include "tests/fuzz/FuzzKernel.h"

#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzKernelReady();
    const std::string path = FuzzWriteFile("Cube.dds", data, size);
    int slot = D3dCubeTexFromFile(0, path.c_str(), nullptr);
    if (slot >= 0) I3dTexRelease(slot);
    return 0;
}
