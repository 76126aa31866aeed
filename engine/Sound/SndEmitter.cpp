// Sound emitters: the global list and the per-frame start and stop by listener distance.
#include "engine/Sound/SndEmitter.h"

#include "I3d/Math/Vec3.h"
#include "engine/Sound/SoundInternal.h"

#include <cmath>

static SndEmitter* s_emitters = nullptr;

static bool Unlink(SndEmitter* emitter) {
    for (SndEmitter** link = &s_emitters; *link; link = &(*link)->next) {
        if (*link == emitter) {
            *link = emitter->next;
            emitter->next = nullptr;
            return true;
        }
    }
    return false;
}

void SndEmitterInit(SndEmitter* emitter) {
    if (!emitter) return;
    SndEmitterRelease(emitter); // linking it twice would make the list a loop
    *emitter = SndEmitter{};
    emitter->next = s_emitters;
    s_emitters = emitter;
}

void SndEmitterRelease(SndEmitter* emitter) {
    if (!emitter) return;
    // A stale handle stops nothing, so a voice since given to another sound plays on.
    SndVoiceStop(emitter->voice);
    emitter->voice = {};
    Unlink(emitter);
}

void SndEmitterSetBuffer(SndEmitter* emitter, SndBuffer* buffer) {
    if (!emitter) return;
    emitter->buffer = buffer;
    SndVoiceSetBuffer(emitter->voice, buffer);
}

void SndEmitterSetGain(SndEmitter* emitter, float gain) {
    if (!emitter) return;
    emitter->gain = SndClampGain(gain);
    SndVoiceSetGain(emitter->voice, emitter->gain);
}

void SndEmitterSetPos(SndEmitter* emitter, const VECTOR3* pos) {
    if (!emitter || !SndVecFinite(pos)) return;
    emitter->pos = *pos;
    SndVoiceSetPos(emitter->voice, pos);
}

void SndEmitterSetRange(SndEmitter* emitter, float nearDist, float farDist) {
    if (!emitter || !std::isfinite(nearDist) || !std::isfinite(farDist)) return;
    emitter->nearDist = nearDist > 0.0f ? nearDist : 0.0f;
    emitter->farDist = farDist > 0.0f ? farDist : 0.0f;
    SndVoiceSetRange(emitter->voice, emitter->nearDist, emitter->farDist);
}

SndEmitter* SndEmitterFirst() {
    return s_emitters;
}

// ---- per frame ----

// `poolFull` is set once a start found no free voice: the later emitters of the frame wait for
// the next one without searching the pool again.
static void UpdateOne(SndEmitter* e, const VECTOR3* listener, bool* poolFull) {
    // A voice that has finished the emitter's sound goes back to the pool and may soon play
    // another; the emitter must not stop that one when the listener leaves.
    if (e->voice && SndVoiceState(e->voice) != SND_STATE_PLAYING) e->voice = {};

    float d2 = Vec3DistSq(&e->pos, listener);
    float far2 = e->farDist * e->farDist;
    if (e->state == SND_EMITTER_OUT && d2 < far2) {
        if (*poolFull) return;
        SndVoice v = SndPlayAt(e->category, e->buffer, e->oneShot, e->gain, e->pitch, &e->pos,
                               e->nearDist, e->farDist);
        if (!v) { // no free voice (or nothing to play): try again next frame
            if (e->buffer && e->buffer->alName) *poolFull = true;
            return;
        }
        e->voice = v;
        e->state = SND_EMITTER_PLAYING;
    } else if (e->state == SND_EMITTER_PLAYING && d2 > far2) {
        SndVoiceStop(e->voice);
        e->voice = {};
        e->state = SND_EMITTER_OUT;
    }
}

void SndEmitterUpdateAll() {
    if (!SndIsOpen()) return;
    VECTOR3 listener = SndGetListenerPos();
    bool poolFull = false;
    for (SndEmitter* e = s_emitters; e; e = e->next)
        UpdateOne(e, &listener, &poolFull);
}
