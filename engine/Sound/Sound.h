// The sound layer over OpenAL Soft and ALUT: one device, a fixed pool of voices handed out to
// whoever plays a sound, shared sound buffers loaded by file name, and the listener. While no
// device is open every call does nothing or returns null, so the game runs silent.
#pragma once

#include "I3d/Math/MathTypes.h"
#include "engine/SharedObj.h"

#include <cstdint>

// One sound file decoded into one OpenAL buffer, shared by name: the file title, upper-cased
// and cut to 31 characters ("Click.wav" is "CLICK"). Released through SharedObjRelease; the
// last release stops the voices that use it and deletes the OpenAL buffer.
class SndBuffer : public SharedObj {
  public:
    ~SndBuffer() override;
    int32_t Size() const { return reserved; } // bytes of sample data

    uint32_t alName = 0; // 0 once the device that made it has closed
    int32_t channels = 1;
    int32_t bits = 16;
    int32_t frequency = 44100;
};

// A voice as its player holds it: the pool slot and the generation of the play that handed it
// out. Once the slot plays another sound the handle is stale and every operation through it
// does nothing, so a handle kept too long never touches someone else's sound.
struct SndVoice {
    int32_t slot = -1;
    uint32_t generation = 0;
    explicit operator bool() const { return slot >= 0; }
};

// Voice states as SndVoiceState answers them.
enum : int {
    SND_STATE_IDLE = 1, // initial or paused
    SND_STATE_STOPPED = 2,
    SND_STATE_PLAYING = 4,
};

// ---- device ----

// Opens the default device, makes its context current and a pool of `voiceCount` voices
// (fewer when OpenAL runs out of sources; 0 or less gives an empty pool). The first two
// arguments are not read. 0, or -1 when no device opens (the game then runs silent).
int SndInit(const char* filterFolder, intptr_t reserved, int voiceCount);
// Stops and frees every voice, deletes the buffers of records still held (their later release
// only frees the record), closes the context and the device.
void SndShutdown();
// Once per frame: runs the emitters.
void SndUpdate();
bool SndIsOpen();

// The player's choices of "Config.ini", set before SndInit and kept across device openings.
// With music off no music stream opens (SndStreamStart does nothing). With placing off every
// voice plays straight ahead of the listener at its own distance: it still fades with the
// distance, but comes from no side. Both are on at first.
void SndSetMusicOn(int on);
int SndMusicOn();
void SndSetPlacing(int on);
int SndPlacing();

// ---- buffers ----

// The shared buffer of a 16-bit or 8-bit PCM WAV file or of a mono or stereo Ogg Vorbis file,
// with one more reference when it is already loaded. Null for a missing, unreadable, empty or
// undecodable file, which is logged once, naming the file and what is wrong with it.
SndBuffer* SndLoadBuffer(const char* path);

// ---- voices ----

// Plays the buffer on the first free voice: looping unless `oneShot` is nonzero. The voice keeps
// the position and range it last had. `reserved` is not read; `category` is only stored. Null
// handle when the device is closed, the buffer is null or every voice is busy.
SndVoice SndPlay(int category, SndBuffer* buffer, int oneShot, float gain, intptr_t reserved,
                 float pitch);
void SndStopAll();
// The first voice, in pool order, that is not playing; a null handle when all are.
SndVoice SndFindFreeVoice();
int SndVoiceCount();

// Each does nothing through a null or stale handle. Gains below 0 are taken as 0 and pitches
// of 0 or below as a small positive pitch (OpenAL refuses them); non-finite positions and
// ranges are ignored.
void SndVoiceSetBuffer(SndVoice voice, SndBuffer* buffer);
void SndVoiceSetGain(SndVoice voice, float gain);
void SndVoiceSetPitch(SndVoice voice, float pitch);
void SndVoiceSetPos(SndVoice voice, const VECTOR3* pos);
// Maximum distance = far; reference distance = near x 0.2, never above far.
void SndVoiceSetRange(SndVoice voice, float nearDist, float farDist);
void SndVoicePlay(SndVoice voice);
void SndVoiceStop(SndVoice voice);
// SND_STATE_PLAYING, SND_STATE_STOPPED or SND_STATE_IDLE; STOPPED through a null or stale
// handle, whose sound has ended by definition.
int SndVoiceState(SndVoice voice);

// ---- listener ----

// Master volume.
void SndSetListenerGain(float gain);
// The position is remembered for the emitters' distance tests.
void SndSetListenerPosV(const VECTOR3* pos);
void SndSetListenerOrientAtUp(const VECTOR3* at, const VECTOR3* up);
VECTOR3 SndGetListenerPos();
