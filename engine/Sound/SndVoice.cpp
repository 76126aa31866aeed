// The voice pool: one OpenAL source per voice, handed out by SndPlay to whoever plays a sound,
// and the voice operations behind generation-checked handles.
#include "engine/Sound/SoundInternal.h"

#include <AL/al.h>

#include "I3d/Math/Vec3.h"

#include <cmath>
#include <vector>

namespace {
struct VoiceRec {
    SndBuffer* buffer = nullptr;
    ALuint source = 0;
    int32_t category = 0;
    float gain = 1.0f;
    uint32_t generation = 0;
    VECTOR3 pos = {0.0f, 0.0f, 0.0f}; // in the world, as last set
    bool placed = false;              // a position has been set
};
} // namespace

static std::vector<VoiceRec> s_voices;
// One counter for every play across device openings, so a handle from before a shutdown
// never matches a voice of the next device.
static uint32_t s_generation = 0;

// The voice a handle names while its play is the voice's latest, else null.
static VoiceRec* Live(SndVoice v) {
    if (!SndIsOpen() || v.slot < 0 || (size_t)v.slot >= s_voices.size()) return nullptr;
    VoiceRec* rec = &s_voices[(size_t)v.slot];
    return rec->generation == v.generation ? rec : nullptr;
}

static bool SourcePlaying(ALuint source) {
    ALint state = AL_STOPPED;
    alGetSourcei(source, AL_SOURCE_STATE, &state);
    return state == AL_PLAYING;
}

// ---- pool ----

int SndVoicePoolCreate(int count) {
    s_voices.clear();
    if (count <= 0) return 0;
    s_voices.reserve((size_t)count);
    alGetError();
    // One at a time: a request for more sources than OpenAL has gets none at all.
    for (int i = 0; i < count; ++i) {
        ALuint source = 0;
        alGenSources(1, &source);
        if (alGetError() != AL_NO_ERROR) break;
        VoiceRec rec;
        rec.source = source;
        s_voices.push_back(rec);
    }
    return (int)s_voices.size();
}

void SndVoicePoolDestroy() {
    for (VoiceRec& rec : s_voices) {
        alSourceStop(rec.source);
        alDeleteSources(1, &rec.source);
    }
    s_voices.clear();
}

void SndVoicesDetachBuffer(const SndBuffer* buffer) {
    for (VoiceRec& rec : s_voices) {
        if (rec.buffer != buffer) continue;
        alSourceStop(rec.source);
        alSourcei(rec.source, AL_BUFFER, 0);
        rec.buffer = nullptr;
    }
}

int SndVoiceCount() {
    return SndIsOpen() ? (int)s_voices.size() : 0;
}

SndVoice SndFindFreeVoice() {
    if (!SndIsOpen()) return {};
    for (size_t i = 0; i < s_voices.size(); ++i)
        if (!SourcePlaying(s_voices[i].source)) return {(int32_t)i, s_voices[i].generation};
    return {};
}

void SndStopAll() {
    if (!SndIsOpen()) return;
    for (VoiceRec& rec : s_voices)
        alSourceStop(rec.source);
}

// ---- playing ----

// Takes a free voice for a new play: the new generation makes older handles to it stale.
static SndVoice Claim(int category, SndBuffer* buffer, int oneShot, float gain, float pitch) {
    if (!SndIsOpen() || !buffer || !buffer->alName) return {};
    SndVoice v = SndFindFreeVoice();
    if (!v) return {};
    VoiceRec& rec = s_voices[(size_t)v.slot];
    v.generation = rec.generation = ++s_generation;
    rec.category = category;
    rec.buffer = buffer;
    rec.gain = SndClampGain(gain);
    alSourcei(rec.source, AL_BUFFER, (ALint)buffer->alName);
    alSourcei(rec.source, AL_LOOPING, oneShot ? AL_FALSE : AL_TRUE);
    alSourcef(rec.source, AL_GAIN, rec.gain);
    alSourcef(rec.source, AL_PITCH, SndClampPitch(pitch));
    return v;
}

SndVoice SndPlay(int category, SndBuffer* buffer, int oneShot, float gain, intptr_t /*reserved*/,
                 float pitch) {
    SndVoice v = Claim(category, buffer, oneShot, gain, pitch);
    SndVoicePlay(v);
    return v;
}

SndVoice SndPlayAt(int category, SndBuffer* buffer, int oneShot, float gain, float pitch,
                   const VECTOR3* pos, float nearDist, float farDist) {
    SndVoice v = Claim(category, buffer, oneShot, gain, pitch);
    SndVoiceSetPos(v, pos);
    SndVoiceSetRange(v, nearDist, farDist);
    SndVoicePlay(v);
    return v;
}

uint32_t SndVoiceSource(SndVoice voice) {
    VoiceRec* rec = Live(voice);
    return rec ? rec->source : 0;
}

// ---- voice operations ----

void SndVoiceSetBuffer(SndVoice voice, SndBuffer* buffer) {
    VoiceRec* rec = Live(voice);
    if (!rec) return;
    // OpenAL refuses a new buffer on a playing source; the voice then keeps its old one, and
    // must remember that one so that its release can detach it.
    alGetError();
    alSourcei(rec->source, AL_BUFFER, buffer ? (ALint)buffer->alName : 0);
    if (alGetError() == AL_NO_ERROR) rec->buffer = buffer && buffer->alName ? buffer : nullptr;
}

void SndVoiceSetGain(SndVoice voice, float gain) {
    VoiceRec* rec = Live(voice);
    if (!rec) return;
    rec->gain = SndClampGain(gain);
    alSourcef(rec->source, AL_GAIN, rec->gain);
}

void SndVoiceSetPitch(SndVoice voice, float pitch) {
    if (VoiceRec* rec = Live(voice)) alSourcef(rec->source, AL_PITCH, SndClampPitch(pitch));
}

// Where the voice's source goes: at its place in the world, or, with placing off, straight
// ahead of the listener at the same distance, so that only its loudness tells where it is.
static void PlaceSource(const VoiceRec& rec) {
    if (SndPlacing()) {
        alSourcei(rec.source, AL_SOURCE_RELATIVE, AL_FALSE);
        alSource3f(rec.source, AL_POSITION, rec.pos.x, rec.pos.y, rec.pos.z);
        return;
    }
    const VECTOR3 listener = SndGetListenerPos();
    const float distance = std::sqrt(Vec3DistSq(&rec.pos, &listener));
    alSourcei(rec.source, AL_SOURCE_RELATIVE, AL_TRUE);
    alSource3f(rec.source, AL_POSITION, 0.0f, 0.0f, -distance);
}

void SndVoicesPlaceAgain() {
    if (!SndIsOpen()) return;
    for (const VoiceRec& rec : s_voices)
        if (rec.placed) PlaceSource(rec);
}

void SndVoiceSetPos(SndVoice voice, const VECTOR3* pos) {
    VoiceRec* rec = Live(voice);
    if (!rec || !SndVecFinite(pos)) return;
    rec->pos = *pos;
    rec->placed = true;
    PlaceSource(*rec);
}

void SndVoiceSetRange(SndVoice voice, float nearDist, float farDist) {
    VoiceRec* rec = Live(voice);
    if (!rec || !std::isfinite(nearDist) || !std::isfinite(farDist)) return;
    // OpenAL refuses negative distances; a reference distance beyond the maximum would play
    // the sound louder than its gain at every distance.
    float maxDist = farDist > 0.0f ? farDist : 0.0f;
    float refDist = nearDist * 0.2f;
    refDist = refDist < 0.0f ? 0.0f : refDist > maxDist ? maxDist : refDist;
    alSourcef(rec->source, AL_MAX_DISTANCE, maxDist);
    alSourcef(rec->source, AL_REFERENCE_DISTANCE, refDist);
}

void SndVoicePlay(SndVoice voice) {
    if (VoiceRec* rec = Live(voice)) alSourcePlay(rec->source);
}

void SndVoiceStop(SndVoice voice) {
    if (VoiceRec* rec = Live(voice)) alSourceStop(rec->source);
}

int SndVoiceState(SndVoice voice) {
    VoiceRec* rec = Live(voice);
    if (!rec) return SND_STATE_STOPPED;
    ALint state = AL_STOPPED;
    alGetSourcei(rec->source, AL_SOURCE_STATE, &state);
    if (state == AL_PLAYING) return SND_STATE_PLAYING;
    if (state == AL_STOPPED) return SND_STATE_STOPPED;
    return SND_STATE_IDLE;
}
