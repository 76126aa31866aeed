// WAV and Ogg Vorbis files of any content loaded as sound buffers on OpenAL Soft (its null
// backend under the tests): the chunk check in front of ALUT, then ALUT's read when the check
// passes; an image that starts "OggS" decoded whole by vorbisfile from memory.
#include "engine/SharedObj.h"
#include "engine/Sound/Sound.h"
#include "tests/fuzz/FuzzInput.h"
#include "tests/fuzz/FuzzSound.h"

#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzOpenSoundOnce();
    const std::string path = FuzzWriteFile("Fuzz.wav", data, size);
    if (SndBuffer* buffer = SndLoadBuffer(path.c_str())) SharedObjRelease(buffer);
    return 0;
}
