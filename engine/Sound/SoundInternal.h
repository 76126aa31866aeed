// What the sound layer's own units share with each other, and the hooks its tests and
// benchmarks use. Game code includes engine/Sound.h, engine/SndStream.h or engine/SndEmitter.h.
#pragma once

#include "engine/Sound/Sound.h"

#include <AL/alc.h>

#include <cstdint>

// ---- device ----

// Counts device openings, so that OpenAL names kept from an earlier device (a stream's source
// and buffers) are never used on a later one, where they may name other objects.
uint32_t SndDeviceEpoch();

// Replaces the opening of the default device: the hook returns the device to use, or null to
// fail the opening, and may set context attributes. Tests use it to force "no device" and to
// render the mix themselves through a loopback device. A null hook restores the default.
using SndDeviceOpenHook = ALCdevice* (*)(const ALCint** contextAttrs);
void SndSetDeviceOpenHook(SndDeviceOpenHook hook);
// The open device, or null.
ALCdevice* SndDevice();

// One log line for a sound or music file that cannot be played: "Sound: <path>: <what>". A file
// is named once per run, however often it is asked for.
void SndLogBadFile(const char* path, const char* what);
// Forgets which files were named (for tests).
void SndForgetBadFiles();

// ---- voice pool (SndVoice.cpp) ----

// Makes up to `count` voices, one source each; the number made.
int SndVoicePoolCreate(int count);
// Stops every voice and deletes its source.
void SndVoicePoolDestroy();
// Stops every voice that uses the buffer and takes the buffer off its source, so that the
// buffer can be deleted.
void SndVoicesDetachBuffer(const SndBuffer* buffer);
// SndPlay for a positioned sound: position and range are on the voice before it starts.
SndVoice SndPlayAt(int category, SndBuffer* buffer, int oneShot, float gain, float pitch,
                   const VECTOR3* pos, float nearDist, float farDist);
// The OpenAL source of a live handle, else 0.
uint32_t SndVoiceSource(SndVoice voice);
// Places every voice that has a position again: after the listener moved while placing is off,
// or after placing was switched.
void SndVoicesPlaceAgain();

// ---- buffers (SndBuffer.cpp) ----

// Deletes the OpenAL buffer of every loaded record and makes the records unfindable by name,
// so that a later load makes a fresh record on the next device.
void SndBuffersDeleteAll();

// ---- the beep's tone (SndBeep.cpp) ----

// Installs and removes the system's beep hook; done by SndInit and SndShutdown.
void SndBeepInstall();
void SndBeepUninstall();
// Frees the latest tone's buffer (stopping its voice).
void SndBeepRelease();
// The latest tone's buffer, or null: for tests.
const SndBuffer* SndBeepTone();

// ---- values ----

float SndClampGain(float gain);
float SndClampPitch(float pitch);
bool SndVecFinite(const VECTOR3* v);

// ---- streams (SndStream.cpp) ----

struct SndStream;
enum : int { SND_STREAM_BLOCK = 32768 }; // bytes per refill
// Decodes up to `bytes` bytes of 16-bit little-endian samples into `block`, going on from the
// start of the file at its end; gives up when the start yields nothing or on a decoder error.
// The bytes decoded.
int SndStreamDecode(SndStream* stream, char* block, int bytes);
// Decodes one block into the OpenAL buffer: 1, or 0 with the buffer unchanged when nothing
// could be decoded.
int SndStreamRefill(SndStream* stream, uint32_t buffer);
// Mixes `frames` interleaved frames of 3 to 8 channels (Vorbis's channel order) down to stereo
// in place: each side the mean of the channels on it, the centre on both, the low-frequency
// channel left out. Other channel counts are left alone. The frames.
int SndStreamDownmix(int16_t* samples, int frames, int channels);
