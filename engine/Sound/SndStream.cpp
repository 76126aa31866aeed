// Streamed Ogg Vorbis music: vorbisfile reading through the engine's file layer, two buffers
// refilled in turn, the music looping at the end of the file.
#include "engine/Sound/SndStream.h"

#include "engine/DebugLog.h"
#include "engine/Files.h"
#include "engine/Sound/SoundInternal.h"

#include <AL/al.h>
#define OV_EXCLUDE_STATIC_CALLBACKS
#include <vorbis/vorbisfile.h>

#include <climits>
#include <cstdio>
#include <string>

struct SndStreamFile {
    std::string path; // as given, for the log
    int fd = -1;
    long pos = 0;
    long length = 0;
    OggVorbis_File decoder = {};
};

// ---- file callbacks ----

// Through FileOpen, so that "\" separators and any letter case find the file as elsewhere.
static size_t CbRead(void* ptr, size_t size, size_t count, void* source) {
    auto* f = static_cast<SndStreamFile*>(source);
    if (size == 0) return 0;
    size_t want = size * count;
    if (want > INT_MAX) want = INT_MAX;
    int got = FileRead(f->fd, ptr, (int)want);
    if (got <= 0) return 0;
    f->pos += got;
    return (size_t)got / size;
}

static int CbSeek(void* source, ogg_int64_t offset, int whence) {
    auto* f = static_cast<SndStreamFile*>(source);
    ogg_int64_t base = whence == SEEK_CUR ? f->pos : whence == SEEK_END ? f->length : 0;
    ogg_int64_t target = base + offset;
    if (target < 0 || target > LONG_MAX) return -1;
    long at = FileSeek(f->fd, (long)target);
    if (at < 0) return -1;
    f->pos = at;
    return 0;
}

static long CbTell(void* source) {
    return static_cast<SndStreamFile*>(source)->pos;
}

static int CbClose(void* source) {
    auto* f = static_cast<SndStreamFile*>(source);
    int r = FileClose(f->fd);
    f->fd = -1;
    return r;
}

static const ov_callbacks kCallbacks = {CbRead, CbSeek, CbClose, CbTell};

// ---- decoding ----

int SndStreamDecode(SndStream* stream, char* block, int bytes) {
    if (!stream || !stream->file) return 0;
    OggVorbis_File* decoder = &stream->file->decoder;
    int filled = 0;
    bool rewound = false; // at the start again with nothing read since
    while (filled < bytes) {
        int link = 0;
        long got = ov_read(decoder, block + filled, bytes - filled, 0, 2, 1, &link);
        if (got > 0) {
            filled += (int)got;
            rewound = false;
            continue;
        }
        if (got < 0) break; // a decoder error ends the fill with what it has
        // End of file: on from the start, so the music loops without a gap. A file whose start
        // yields nothing would loop here forever.
        if (rewound || ov_time_seek(decoder, 0.0) != 0) break;
        rewound = true;
    }
    return filled;
}

// Which side each channel of a Vorbis file goes to, in Vorbis's channel order for 3 to 8
// channels: 'L', 'R', 'C' (both) or '-' (the low-frequency channel, left out).
static const char* const kSides[9] = {nullptr, nullptr,  nullptr,   "LCR",     "LRLR",
                                      "LCRLR", "LCRLR-", "LCRLRC-", "LCRLRLR-"};

int SndStreamDownmix(int16_t* samples, int frames, int channels) {
    if (channels < 3 || channels > 8 || frames <= 0) return frames > 0 ? frames : 0;
    const char* sides = kSides[channels];
    int weightL = 0, weightR = 0;
    for (int c = 0; c < channels; ++c) {
        weightL += sides[c] == 'L' || sides[c] == 'C';
        weightR += sides[c] == 'R' || sides[c] == 'C';
    }
    // Each side is the mean of its channels: never louder than the loudest, never clipped.
    // Written front to back over the source, which it never overtakes.
    for (int f = 0; f < frames; ++f) {
        const int16_t* in = samples + (size_t)f * (size_t)channels;
        int32_t left = 0, right = 0;
        for (int c = 0; c < channels; ++c) {
            if (sides[c] == 'L' || sides[c] == 'C') left += in[c];
            if (sides[c] == 'R' || sides[c] == 'C') right += in[c];
        }
        samples[2 * (size_t)f] = (int16_t)(left / weightL);
        samples[2 * (size_t)f + 1] = (int16_t)(right / weightR);
    }
    return frames;
}

int SndStreamRefill(SndStream* stream, uint32_t buffer) {
    int16_t block[SND_STREAM_BLOCK / 2]; // samples; the decoder writes them as bytes
    int got = SndStreamDecode(stream, reinterpret_cast<char*>(block), (int)sizeof block);
    // Whole frames only; a file of more than two channels is mixed down to stereo first.
    const int channels = stream->info->channels;
    const int frames = got / (2 * channels);
    got = channels <= 2 ? frames * 2 * channels : 4 * SndStreamDownmix(block, frames, channels);
    if (got <= 0) return 0;
    alBufferData(buffer, stream->format, block, got, (ALsizei)stream->info->rate);
    return 1;
}

// ---- stream operations ----

// Whether the stream's OpenAL names are live on the open device.
static bool Live(const SndStream* stream) {
    return stream && stream->file && SndIsOpen() && stream->epoch == SndDeviceEpoch();
}

static void CloseFile(SndStream* stream) {
    ov_clear(&stream->file->decoder); // closes the file through CbClose
    delete stream->file;
    *stream = SndStream{};
}

void SndStreamStart(SndStream* stream, const char* path) {
    if (!stream || !SndIsOpen()) return;
    if (stream->file) SndStreamStop(stream);
    // The player switched music off: no stream is ever opened.
    if (!SndMusicOn() || !path) return;
    int fd = FileOpen(path, 0);
    if (fd < 0) {
        SndLogBadFile(path, "missing or unreadable");
        return;
    }

    auto* file = new SndStreamFile;
    file->path = path;
    file->fd = fd;
    file->length = FileLength(fd);
    if (ov_open_callbacks(file, &file->decoder, nullptr, 0, kCallbacks) < 0) {
        SndLogBadFile(path, "not an Ogg Vorbis stream (damaged or cut)");
        // A failed open leaves the file to its caller.
        FileClose(fd);
        delete file;
        return;
    }
    stream->file = file;
    stream->info = ov_info(&file->decoder, -1);
    stream->comment = ov_comment(&file->decoder, -1);
    if (!stream->info || stream->info->channels < 1 || stream->info->rate < 1) {
        SndLogBadFile(path, "an Ogg Vorbis stream without channels or rate");
        CloseFile(stream);
        return;
    }
    // Vorbis fixes no channel order beyond 8: there is no telling which side a channel is on.
    if (stream->info->channels > 8) {
        DbgPrintf(DBG_GENERAL, "SndStreamStart(%s): %d channels; music plays 1 to 8\n", path,
                  stream->info->channels);
        CloseFile(stream);
        return;
    }
    stream->format = stream->info->channels == 1 ? AL_FORMAT_MONO16 : AL_FORMAT_STEREO16;

    alGetError();
    alGenBuffers(2, stream->buffers);
    if (alGetError() != AL_NO_ERROR) {
        CloseFile(stream);
        return;
    }
    alGenSources(1, &stream->source);
    if (alGetError() != AL_NO_ERROR) {
        alDeleteBuffers(2, stream->buffers);
        CloseFile(stream);
        return;
    }
    stream->epoch = SndDeviceEpoch();
    DbgPrintf(DBG_GENERAL, "SndStreamStart: %s\n", path);
    // Music does not move with the listener.
    alSource3f(stream->source, AL_POSITION, 0.0f, 0.0f, 0.0f);
    alSource3f(stream->source, AL_VELOCITY, 0.0f, 0.0f, 0.0f);
    alSource3f(stream->source, AL_DIRECTION, 0.0f, 0.0f, 0.0f);
    alSourcef(stream->source, AL_ROLLOFF_FACTOR, 0.0f);
    alSourcei(stream->source, AL_SOURCE_RELATIVE, AL_TRUE);
}

void SndStreamPlay(SndStream* stream) {
    if (!Live(stream) || stream->finished) return;
    ALint queued = 0;
    alGetSourcei(stream->source, AL_BUFFERS_QUEUED, &queued);
    if (queued > 0) return; // already playing: refilling queued buffers would fail
    if (!SndStreamRefill(stream, stream->buffers[0]) ||
        !SndStreamRefill(stream, stream->buffers[1])) {
        SndLogBadFile(stream->file->path.c_str(), "the Ogg Vorbis stream yields no sound");
        stream->finished = 1;
        return;
    }
    alSourceQueueBuffers(stream->source, 2, stream->buffers);
    alSourcePlay(stream->source);
}

// Refills and queues again each buffer the source has finished. A buffer whose refill fails is
// not queued again (it would replay old audio) and the music is over.
static void RefillProcessed(SndStream* stream) {
    ALint processed = 0;
    alGetSourcei(stream->source, AL_BUFFERS_PROCESSED, &processed);
    while (processed-- > 0) {
        ALuint buffer = 0;
        alSourceUnqueueBuffers(stream->source, 1, &buffer);
        if (!SndStreamRefill(stream, buffer)) {
            stream->finished = 1;
            return;
        }
        alSourceQueueBuffers(stream->source, 1, &buffer);
    }
}

void SndStreamUpdate(SndStream* stream) {
    if (!Live(stream) || stream->finished) return;
    ALint state = AL_INITIAL;
    alGetSourcei(stream->source, AL_SOURCE_STATE, &state);
    RefillProcessed(stream);
    // A frame late enough for both buffers to run dry stopped the source; it starts again on
    // fresh audio rather than replaying what was heard.
    if (state == AL_STOPPED && !stream->finished) alSourcePlay(stream->source);
}

void SndStreamSetGain(SndStream* stream, float gain) {
    if (Live(stream)) alSourcef(stream->source, AL_GAIN, SndClampGain(gain));
}

void SndStreamStop(SndStream* stream) {
    if (!stream || !stream->file) return;
    if (Live(stream)) {
        alSourceStop(stream->source);
        alDeleteSources(1, &stream->source);
        alDeleteBuffers(2, stream->buffers);
    }
    CloseFile(stream);
}
