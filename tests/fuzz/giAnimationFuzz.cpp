// Animation files of any content loaded as a character's animations are: the first animation
// record, its bone tracks and keys.
#include "gi/giAnimation.h"
#include "gi/giDebug.h"
#include "tests/fuzz/FuzzInput.h"

#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string path = FuzzWriteFile("Anim.gmf", data, size);
    {
        giAnimation anim;
        anim.Load(path.c_str());
    }
    giMessageBoxReset();
    return 0;
}
