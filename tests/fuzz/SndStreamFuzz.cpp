// Ogg files of any content played as music: the stream opened through our vorbisfile callbacks,
// its information read, its first buffers filled and queued, then decoded on past the end and
// round to its start, as a looping piece of music is.
#include "engine/Sound/SndStream.h"
#include "engine/Sound/Sound.h"
#include "engine/Sound/SoundInternal.h"
#include "tests/fuzz/FuzzInput.h"
#include "tests/fuzz/FuzzSound.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzOpenSoundOnce();
    const std::string path = FuzzWriteFile("Music.ogg", data, size);
    SndStream stream;
    SndStreamStart(&stream, path.c_str());
    if (stream.file) {
        SndStreamPlay(&stream);
        SndStreamUpdate(&stream);
        // A bounded number of blocks: a valid file loops for ever.
        static std::vector<char> s_block(SND_STREAM_BLOCK);
        for (int i = 0; i < 8; ++i)
            if (SndStreamDecode(&stream, s_block.data(), SND_STREAM_BLOCK) <= 0) break;
    }
    SndStreamStop(&stream);
    return 0;
}
