// Character descriptors of any content loaded as a character model under the generated data
// folder (its parts' buffers made on the recording layer, its textures looked for in the "Maps"
// folder beside the descriptor), one character made, posed and drawn, then all of it released.
#include "gi/Render/CharModelInst.h"
#include "gi/giModelDefManager.h"
#include "tests/fuzz/FuzzInput.h"
#include "tests/fuzz/FuzzKernel.h"

#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzKernelReady();
    const std::string path = FuzzWriteFile("Descriptor.xml", data, size);
    auto* model = new CharModel();
    if (CharModelLoad(model, path.c_str(), FAIRLARK_BUILD_DATA_DIR)) {
        CharModelInst* c = CharModelCreateInstance(model);
        CharModelInstPlayAnim(c, "AdultWalk");
        CharModelInstAnimate(c);
        CharModelInstDraw(c);
        delete c;
    }
    SharedObjRelease(model);
    giModelDefManager::Get()->Clear();
    return 0;
}
