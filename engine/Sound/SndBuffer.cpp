// Shared sound buffers: WAV files decoded by ALUT and Ogg Vorbis files decoded whole, found
// again by file title.
#include "engine/Files.h"
#include "engine/Memory.h"
#include "engine/Paths.h"
#include "engine/Sound/SoundInternal.h"

#include <AL/al.h>
#include <AL/alut.h>
#define OV_EXCLUDE_STATIC_CALLBACKS
#include <vorbis/vorbisfile.h>

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

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

// ---- Ogg Vorbis images ----

// A sound effect is decoded whole into its buffer: ten minutes of stereo at 48 kHz at most, so
// that a file claiming more cannot take the memory.
static constexpr size_t kMaxDecodedBytes = size_t(48000) * 2 * 2 * 600;

struct OggImage {
    const uint8_t* bytes;
    size_t size, pos;
};

static size_t OggRead(void* ptr, size_t size, size_t count, void* source) {
    auto* image = static_cast<OggImage*>(source);
    if (size == 0) return 0;
    size_t n = std::min(count, (image->size - image->pos) / size);
    std::memcpy(ptr, image->bytes + image->pos, n * size);
    image->pos += n * size;
    return n;
}

static int OggSeek(void* source, ogg_int64_t offset, int whence) {
    auto* image = static_cast<OggImage*>(source);
    const ogg_int64_t base = whence == SEEK_CUR   ? (ogg_int64_t)image->pos
                             : whence == SEEK_END ? (ogg_int64_t)image->size
                                                  : 0;
    if (offset > (ogg_int64_t)image->size || offset < -(ogg_int64_t)image->size) return -1;
    const ogg_int64_t target = base + offset;
    if (target < 0 || target > (ogg_int64_t)image->size) return -1;
    image->pos = (size_t)target;
    return 0;
}

static long OggTell(void* source) {
    return (long)static_cast<OggImage*>(source)->pos;
}

static const ov_callbacks kOggImageCallbacks = {OggRead, OggSeek, nullptr, OggTell};

// Decodes a mono or stereo Ogg Vorbis image into a new OpenAL buffer; 0 with `why` set when it
// cannot.
static ALuint BufferFromOgg(const uint8_t* bytes, size_t size, const char** why) {
    OggImage image = {bytes, size, 0};
    OggVorbis_File decoder;
    if (ov_open_callbacks(&image, &decoder, nullptr, 0, kOggImageCallbacks) < 0) {
        *why = "not an Ogg Vorbis stream (damaged or cut)";
        return AL_NONE;
    }
    const vorbis_info* info = ov_info(&decoder, -1);
    if (!info || info->channels < 1 || info->channels > 2 || info->rate < 1 ||
        info->rate > INT_MAX) {
        ov_clear(&decoder);
        *why = "an Ogg Vorbis stream of other than one or two channels";
        return AL_NONE;
    }
    const int channels = info->channels;
    const ALsizei rate = (ALsizei)info->rate;
    std::vector<char> pcm;
    char block[8192];
    bool damaged = false;
    for (;;) {
        int link = 0;
        const long got = ov_read(&decoder, block, (int)sizeof block, 0, 2, 1, &link);
        if (got == 0) break;
        if (got < 0 || pcm.size() + (size_t)got > kMaxDecodedBytes) {
            damaged = true;
            break;
        }
        pcm.insert(pcm.end(), block, block + got);
    }
    ov_clear(&decoder);
    pcm.resize(pcm.size() - pcm.size() % (size_t)(2 * channels)); // whole frames
    if (damaged || pcm.empty()) {
        *why = damaged ? "the Ogg Vorbis stream is damaged or too long"
                       : "the Ogg Vorbis stream holds no sound";
        return AL_NONE;
    }
    alGetError();
    ALuint name = AL_NONE;
    alGenBuffers(1, &name);
    if (alGetError() != AL_NO_ERROR) {
        *why = "OpenAL has no buffer for it";
        return AL_NONE;
    }
    alBufferData(name, channels == 1 ? AL_FORMAT_MONO16 : AL_FORMAT_STEREO16, pcm.data(),
                 (ALsizei)pcm.size(), rate);
    if (alGetError() != AL_NO_ERROR) {
        alDeleteBuffers(1, &name);
        *why = "OpenAL refused its samples";
        return AL_NONE;
    }
    return name;
}

// ---- loading ----

// The OpenAL buffer of a file image, or 0 with `why` set.
static ALuint BufferFromImage(const uint8_t* bytes, size_t size, const char** why) {
    if (size >= 4 && std::memcmp(bytes, "OggS", 4) == 0) return BufferFromOgg(bytes, size, why);
    if (!WavChunksFit(bytes, size)) {
        *why = "not a whole RIFF WAVE file (cut short or damaged)";
        return AL_NONE;
    }
    ALuint name = alutCreateBufferFromFileImage(bytes, (ALsizei)size);
    if (name == AL_NONE) {
        *why = alutGetErrorString(alutGetError()); // and clear it for the next load
        return AL_NONE;
    }
    return name;
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
        SndLogBadFile(path, size == 0 ? "the file is empty" : "missing or unreadable");
        return nullptr;
    }
    const char* why = "";
    ALuint name = BufferFromImage(static_cast<const uint8_t*>(image), (size_t)size, &why);
    MemFree(image);
    if (name == AL_NONE) {
        SndLogBadFile(path, why);
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
