// Streamed music: one Ogg Vorbis file played as an endless loop through two OpenAL buffers
// that are refilled alternately from the decoder, on a source of the stream's own.
#pragma once

#include <cstdint>

struct SndStreamFile;
struct vorbis_info;
struct vorbis_comment;

// Zero-initialised by construction; the owner keeps it between SndStreamStart and
// SndStreamStop.
struct SndStream {
    SndStreamFile* file = nullptr; // the open file and its decoder; null when it cannot start
    vorbis_info* info = nullptr;
    vorbis_comment* comment = nullptr;
    uint32_t buffers[2] = {0, 0};
    uint32_t source = 0;
    int32_t format = 0;   // AL_FORMAT_MONO16 for one channel, else AL_FORMAT_STEREO16
    int32_t finished = 0; // set once a refill yields nothing: the music is over
    uint32_t epoch = 0;   // the device opening its OpenAL names belong to
};

// Opens the file and its decoder and makes the buffers and the source; no sound yet. A missing
// or undecodable file leaves the stream without a file, and every later call does nothing.
// A stream already started is stopped first.
void SndStreamStart(SndStream* stream, const char* path);
// Fills both buffers, queues them and plays.
void SndStreamPlay(SndStream* stream);
// Once per frame while the music plays: refills and queues again the buffers that finished,
// and restarts a source that ran dry.
void SndStreamUpdate(SndStream* stream);
void SndStreamSetGain(SndStream* stream, float gain);
// Stops the music and releases the source, the buffers and the file. The file is closed even
// after the device has gone.
void SndStreamStop(SndStream* stream);
