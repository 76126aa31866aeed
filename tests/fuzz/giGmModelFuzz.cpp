// GMF model files of any content loaded as a character's model: parts built from the welded
// meshes and bounds computed.
#include "gi/giDebug.h"
#include "gi/giGmModel.h"
#include "tests/fuzz/FuzzInput.h"

#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string path = FuzzWriteFile("Model.gmf", data, size);
    {
        giGmModel model;
        model.Load(path.c_str());
    }
    giMessageBoxReset();
    return 0;
}
