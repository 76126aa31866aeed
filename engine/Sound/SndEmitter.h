// Sound emitters: positioned sounds that hold a pool voice only while the listener is within
// their far distance. The sound update starts and stops them; their owners set the buffer,
// gain, position and range.
#pragma once

#include "I3d/Math/MathTypes.h"
#include "engine/Sound/Sound.h"

#include <cstdint>

enum : int32_t {
    SND_EMITTER_PLAYING = 1, // in range; the voice may have finished a one-shot sound
    SND_EMITTER_OUT = 2,     // out of range, no voice
};

struct SndEmitter {
    SndVoice voice; // while its sound plays
    SndBuffer* buffer = nullptr;
    int32_t oneShot = 0; // 0 loops
    float pitch = 1.0f;
    float gain = 1.0f;
    float nearDist = 10.0f; // the reference distance is near x 0.2
    float farDist = 100.0f; // the start and stop distance and the maximum distance
    VECTOR3 pos = {0.0f, 0.0f, 0.0f};
    VECTOR3 vector2 = {0.0f, 0.0f, 0.0f}; // kept for its owner, not read here
    int32_t category = 0;
    int32_t state = SND_EMITTER_OUT;
    SndEmitter* next = nullptr;
};

// Sets the defaults and links the emitter at the head of the emitter list (an emitter already
// in the list is released first, so it is never linked twice).
void SndEmitterInit(SndEmitter* emitter);
// Stops its voice, if it still plays the emitter's sound, and unlinks it.
void SndEmitterRelease(SndEmitter* emitter);
// Each stores the value and applies it at once to a voice the emitter holds. Non-finite
// positions and ranges are ignored; a negative range is taken as 0.
void SndEmitterSetBuffer(SndEmitter* emitter, SndBuffer* buffer);
void SndEmitterSetGain(SndEmitter* emitter, float gain);
void SndEmitterSetPos(SndEmitter* emitter, const VECTOR3* pos);
void SndEmitterSetRange(SndEmitter* emitter, float nearDist, float farDist);

// Once per frame from SndUpdate: starts emitters the listener has come strictly within the far
// distance of, stops those it has gone strictly beyond, and lets go of voices that no longer
// play their emitter's sound.
void SndEmitterUpdateAll();
// The newest emitter; the others follow through `next`.
SndEmitter* SndEmitterFirst();
