// Shared sound buffers: WAV files decoded by ALUT, found again by file title.
#include "engine/Files.h"
#include "engine/Memory.h"
#include "engine/Paths.h"
#include "engine/SoundInternal.h"

#include <AL/al.h>
#include <AL/alut.h>

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

SndBuffer* SndLoadBuffer(const char* path) {
    if (!SndIsOpen() || !path) return nullptr;
    std::string title = PathFileTitle(path);
    if (SharedObj* found = SharedObjAcquire(title.c_str(), s_buffers))
        return static_cast<SndBuffer*>(found);

    void* image = nullptr;
    int size = FileReadAll(&image, path, 0);
    if (size <= 0) {
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
