// The beep's tone: a sine of the asked frequency and length generated into one buffer that a
// free voice plays once. The system's beep reaches it through the hook installed while the
// device is open.
#include "engine/Sound/SoundInternal.h"
#include "engine/System.h"

#include <AL/al.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

namespace {
constexpr int kRate = 44100;
constexpr int kMaxMilliseconds = 10000; // a script's typo must not hold a voice for minutes
constexpr int kFadeFrames = 220;        // 5 ms in and out: no click at either end

SndBuffer* s_tone = nullptr; // the latest tone, kept while a voice may play it

void Play(int frequency, int milliseconds) {
    if (!SndIsOpen() || frequency < 37 || frequency > 32767 || milliseconds <= 0) return;
    if (milliseconds > kMaxMilliseconds) milliseconds = kMaxMilliseconds;
    const int frames = (int)((int64_t)kRate * milliseconds / 1000);
    if (frames <= 0) return;
    std::vector<int16_t> samples((size_t)frames);
    const double step = 2.0 * std::numbers::pi * frequency / kRate;
    for (int i = 0; i < frames; ++i) {
        const int edge = std::min(i, frames - 1 - i);
        const double fade = edge < kFadeFrames ? (double)edge / kFadeFrames : 1.0;
        samples[(size_t)i] = (int16_t)std::lround(16000.0 * fade * std::sin(step * i));
    }
    // A new beep cuts the one before short: its release stops the voice that plays it.
    SndBeepRelease();
    alGetError();
    ALuint name = 0;
    alGenBuffers(1, &name);
    alBufferData(name, AL_FORMAT_MONO16, samples.data(), (ALsizei)(samples.size() * 2), kRate);
    if (alGetError() != AL_NO_ERROR) {
        if (alIsBuffer(name)) alDeleteBuffers(1, &name);
        return;
    }
    auto* tone = new SndBuffer;
    tone->SetName("BEEP");
    tone->shareable = 0; // never found by a load of a file named so
    tone->alName = name;
    tone->channels = 1;
    tone->bits = 16;
    tone->frequency = kRate;
    tone->reserved = (int32_t)(samples.size() * 2);
    s_tone = tone;
    SndPlay(0, tone, 1, 1.0f, 0, 1.0f);
}
} // namespace

void SndBeepInstall() {
    SysSetBeepHook(Play);
}

void SndBeepRelease() {
    if (s_tone) SharedObjRelease(s_tone);
    s_tone = nullptr;
}

void SndBeepUninstall() {
    SysSetBeepHook(nullptr);
    SndBeepRelease();
}

const SndBuffer* SndBeepTone() {
    return s_tone;
}
