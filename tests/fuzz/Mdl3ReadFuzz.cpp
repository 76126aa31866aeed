// MDL3 model files of any content loaded as the game loads a model (checked, prepared, its
// buffers made on the recording layer, its textures looked for beside it), then released.
#include "I3d/Mdl3.h"
#include "tests/fuzz/FuzzInput.h"
#include "tests/fuzz/FuzzKernel.h"

#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzKernelReady();
    const std::string path = FuzzWriteFile("Model.md3", data, size);
    MDL3* model = Mdl3Load(path.c_str(), 0);
    if (!model) return 0;
    Mdl3LoadTextures(model, path.c_str());
    Mdl3FreeTextures(model);
    Mdl3Release(model);
    return 0;
}
