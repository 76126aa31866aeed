// GMF model files of any content through the model-file reader: records, object indexes, user
// properties and mesh welding.
#include "gi/GM_ModelFile.h"
#include "gi/giDebug.h"
#include "tests/fuzz/FuzzInput.h"

#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string path = FuzzWriteFile("Model.gmf", data, size);
    {
        GM_ModelFile model;
        model.LoadFromFile(path.c_str());
    }
    giMessageBoxReset();
    return 0;
}
