// Shared sound buffers: WAV files decoded by ALUT, found again by file title.
#include "engine/Files.h"
#include "engine/Memory.h"
#include "engine/Paths.h"
#include "engine/Sound/SoundInternal.h"

#include <AL/al.h>
#include <AL/alut.h>

#include <cstdint>
#include <cstring>
#include <string>

static SharedObj* s_buffers = nullptr;

SndBuffer::~SndBuffer() {
    if (!alName || !SndIsOpen()) return;
    // OpenAL will not delete a buffer that a source still holds.
    SndVoicesDetachBuffer(this);
    ALuint name = alName;
    alDeleteBuffers(1, &name);
    alName = 0;
}

// ALUT reads a file image without checking its own bounds: a chunk header or a "data" chunk
// cut short by the end of the file is read past the end of the image, and a huge chunk length
// can keep it busy for good. Only a RIFF WAVE image whose chunks, up to and including "fmt "
// and "data", lie wholly inside it is handed over.
static bool WavChunksFit(const uint8_t* image, size_t size) {
    auto u32 = [&](size_t at) {
        return (uint32_t)image[at] | (uint32_t)image[at + 1] << 8 | (uint32_t)image[at + 2] << 16 |
               (uint32_t)image[at + 3] << 24;
    };
    if (size < 12 || std::memcmp(image, "RIFF", 4) != 0 || std::memcmp(image + 8, "WAVE", 4) != 0)
        return false;
    bool format = false;
    for (size_t at = 12; size - at >= 8;) {
        const uint32_t length = u32(at + 4);
        if (length > size - at - 8) return false;
        if (std::memcmp(image + at, "fmt ", 4) == 0) format = length >= 16;
        if (std::memcmp(image + at, "data", 4) == 0) return format;
        at += 8 + (size_t)length + (length & 1); // chunks are padded to even lengths
        if (at > size) return false;
    }
    return false;
}

SndBuffer* SndLoadBuffer(const char* path) {
    if (!SndIsOpen() || !path) return nullptr;
    std::string title = PathFileTitle(path);
    if (SharedObj* found = SharedObjAcquire(title.c_str(), s_buffers))
        return static_cast<SndBuffer*>(found);

    void* image = nullptr;
    int size = FileReadAll(&image, path, 0);
    if (size <= 0 || !WavChunksFit(static_cast<const uint8_t*>(image), (size_t)size)) {
        MemFree(image);
        return nullptr;
    }
    ALuint name = alutCreateBufferFromFileImage(image, size);
    MemFree(image);
    if (name == AL_NONE) {
        alutGetError(); // clear it: the next load must not see this failure
        return nullptr;
    }

    auto* buffer = new SndBuffer;
    buffer->SetName(title.c_str());
    buffer->alName = name;
    ALint value = 0;
    alGetBufferi(name, AL_CHANNELS, &value);
    buffer->channels = value;
    alGetBufferi(name, AL_BITS, &value);
    buffer->bits = value;
    alGetBufferi(name, AL_FREQUENCY, &value);
    buffer->frequency = value;
    alGetBufferi(name, AL_SIZE, &value);
    buffer->reserved = value;
    SharedObjLink(buffer, &s_buffers);
    return buffer;
}

void SndBuffersDeleteAll() {
    for (SharedObj* o = s_buffers; o; o = o->next) {
        auto* buffer = static_cast<SndBuffer*>(o);
        if (buffer->alName) {
            ALuint name = buffer->alName;
            alDeleteBuffers(1, &name);
            buffer->alName = 0;
        }
        buffer->shareable = 0;
    }
}
