// Model-info files of any content through the extended models' reader, with attach yaws asked
// for, as an extended model reads the file beside its MDL3 model.
#include "gi/Mdl3ExInfo.h"
#include "tests/fuzz/FuzzInput.h"

#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string path = FuzzWriteFile("Model.ini", data, size);
    Mdl3ExSchemasAcquire();
    Mdl3ExInfo info;
    Mdl3ExInfoRead(path.c_str(), 4, &info);
    Mdl3ExSchemasRelease();
    return 0;
}
