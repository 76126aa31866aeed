// WAV files of any content loaded as sound buffers on OpenAL Soft (its null backend under the
// tests): the chunk check in front of ALUT, then ALUT's read when the check passes.
#include "engine/SharedObj.h"
#include "engine/Sound/Sound.h"
#include "tests/fuzz/FuzzInput.h"

#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

void CloseSound() {
    SndShutdown();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const bool s_open = [] {
        // Without a device the loader still checks and reads the file; with one it also makes
        // the OpenAL buffer, which is what the game does.
        bool open = SndInit(nullptr, 0, 4) == 0;
        if (open) std::atexit(CloseSound);
        return open;
    }();
    (void)s_open;
    const std::string path = FuzzWriteFile("Fuzz.wav", data, size);
    if (SndBuffer* buffer = SndLoadBuffer(path.c_str())) SharedObjRelease(buffer);
    return 0;
}
