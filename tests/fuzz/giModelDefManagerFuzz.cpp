// Character descriptors of any content read by the model-definition manager as the game reads
// them, the file names they hold taken under the generated data folder (so that real models,
// skeletons and clips load and the triggers and boxes land on them), then everything released.
#include "gi/giModelDefManager.h"
#include "tests/fuzz/FuzzInput.h"

#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string path = FuzzWriteFile("Descriptor.xml", data, size);
    giModelDefManager* defs = giModelDefManager::Get();
    defs->CreateFromDescriptor(path.c_str(), FAIRLARK_BUILD_DATA_DIR, true);
    // The clips are shared and keep their triggers: emptied so that inputs do not add up.
    defs->Clear();
    return 0;
}
