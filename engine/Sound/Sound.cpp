// The sound device and the listener: opening and closing OpenAL, the per-frame update.
#include "engine/DebugLog.h"
#include "engine/Sound/SndEmitter.h"
#include "engine/Sound/SoundInternal.h"

#include <AL/al.h>
#include <AL/alut.h>

#include <cmath>
#include <cstring>
#include <set>
#include <string>

static bool s_open = false;
static uint32_t s_epoch = 0;
static ALCdevice* s_device = nullptr;
static ALCcontext* s_context = nullptr;
static SndDeviceOpenHook s_openHook = nullptr;
static VECTOR3 s_listenerPos = {0.0f, 0.0f, 0.0f};
static float s_listenerGain = 1.0f;
static int s_musicOn = 1;
static int s_placing = 1;
static std::set<std::string> s_badFiles;

// OpenAL refuses a pitch of 0; this is the slowest we ask for instead.
static constexpr float kMinPitch = 1.0f / 1024.0f;

// ---- device ----

static void LogDevices() {
    const char* def = alcGetString(nullptr, ALC_DEFAULT_DEVICE_SPECIFIER);
    DbgPrintf(DBG_GENERAL, "OpenAL default device: %s\n", def ? def : "");
    // The list is a run of strings ended by an empty one.
    const char* name = alcGetString(nullptr, ALC_DEVICE_SPECIFIER);
    while (name && *name) {
        DbgPrintf(DBG_GENERAL, "OpenAL device: %s\n", name);
        name += std::strlen(name) + 1;
    }
}

int SndInit(const char* /*filterFolder*/, intptr_t /*reserved*/, int voiceCount) {
    if (s_open) return 0;
    LogDevices();

    // Always the default device: a fixed device name would leave every player whose system
    // lacks it silent.
    const ALCint* attrs = nullptr;
    ALCdevice* device = s_openHook ? s_openHook(&attrs) : alcOpenDevice(nullptr);
    if (!device) return -1;
    const char* current = alcGetString(device, ALC_DEVICE_SPECIFIER);
    DbgPrintf(DBG_GENERAL, "OpenAL current device: %s\n", current ? current : "");

    ALCcontext* context = alcCreateContext(device, attrs);
    if (!context || !alcMakeContextCurrent(context)) {
        if (context) alcDestroyContext(context);
        alcCloseDevice(device);
        return -1;
    }
    alutInitWithoutContext(nullptr, nullptr);
    alDopplerFactor(2.0f);

    s_device = device;
    s_context = context;
    s_open = true;
    ++s_epoch;
    s_listenerPos = {0.0f, 0.0f, 0.0f};
    s_listenerGain = 1.0f;
    SndVoicePoolCreate(voiceCount);
    SndBeepInstall();
    return 0;
}

void SndShutdown() {
    if (!s_open) return;
    SndBeepUninstall();
    SndVoicePoolDestroy();
    SndBuffersDeleteAll();
    alutExit();
    alcMakeContextCurrent(nullptr);
    alcDestroyContext(s_context);
    alcCloseDevice(s_device);
    s_context = nullptr;
    s_device = nullptr;
    s_open = false;
}

void SndUpdate() {
    if (!s_open) return;
    SndEmitterUpdateAll();
}

bool SndIsOpen() {
    return s_open;
}

void SndSetMusicOn(int on) {
    s_musicOn = on ? 1 : 0;
}

int SndMusicOn() {
    return s_musicOn;
}

void SndSetPlacing(int on) {
    s_placing = on ? 1 : 0;
    if (s_open) SndVoicesPlaceAgain();
}

int SndPlacing() {
    return s_placing;
}

void SndLogBadFile(const char* path, const char* what) {
    const std::string name = path ? path : "";
    if (!s_badFiles.insert(name).second) return;
    DbgPrintf(DBG_GENERAL, "Sound: %s: %s\n", name.c_str(), what);
}

void SndForgetBadFiles() {
    s_badFiles.clear();
}

uint32_t SndDeviceEpoch() {
    return s_epoch;
}

void SndSetDeviceOpenHook(SndDeviceOpenHook hook) {
    s_openHook = hook;
}

ALCdevice* SndDevice() {
    return s_device;
}

// ---- listener ----

void SndSetListenerGain(float gain) {
    if (!s_open) return;
    s_listenerGain = SndClampGain(gain);
    alListenerf(AL_GAIN, s_listenerGain);
}

void SndSetListenerPosV(const VECTOR3* pos) {
    if (!s_open || !SndVecFinite(pos)) return;
    s_listenerPos = *pos;
    alListener3f(AL_POSITION, pos->x, pos->y, pos->z);
    // Unplaced voices stand at their distance ahead of the listener, which has just changed.
    if (!s_placing) SndVoicesPlaceAgain();
}

void SndSetListenerOrientAtUp(const VECTOR3* at, const VECTOR3* up) {
    if (!s_open || !SndVecFinite(at) || !SndVecFinite(up)) return;
    const ALfloat orient[6] = {at->x, at->y, at->z, up->x, up->y, up->z};
    alListenerfv(AL_ORIENTATION, orient);
}

VECTOR3 SndGetListenerPos() {
    return s_listenerPos;
}

// ---- values ----

float SndClampGain(float gain) {
    return gain > 0.0f ? gain : 0.0f; // NaN too
}

float SndClampPitch(float pitch) {
    return pitch > kMinPitch ? pitch : kMinPitch;
}

bool SndVecFinite(const VECTOR3* v) {
    return v && std::isfinite(v->x) && std::isfinite(v->y) && std::isfinite(v->z);
}
