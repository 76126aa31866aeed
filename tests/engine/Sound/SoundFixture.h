// Shared by the sound tests: a fixture that closes the device after each test, a loopback
// device whose mix the test renders itself (time moves only when the test says so), the
// generated sound files and hand-made WAV images.
#pragma once

#include "engine/Sound/SoundInternal.h"

#include <AL/al.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

enum { kMixRate = 44100 };

// A generated data file: "Sounds/Click.wav" -> "<build>/Data/Sounds/Click.wav".
std::string SoundData(const char* relative);
// Device-open hooks: no device at all, or a loopback device mixing 44.1 kHz 16-bit stereo.
ALCdevice* NoDevice(const ALCint** attrs);
ALCdevice* LoopbackDevice(const ALCint** attrs);
// Mixes `frames` stereo frames on the loopback device, advancing every voice by that much time.
std::vector<int16_t> RenderMix(int frames);
double Rms(const std::vector<int16_t>& samples);
// A float property of a voice's source (-1 when the handle is dead).
float SourceFloat(SndVoice voice, ALenum param);
// A RIFF WAV image of a ramp, `bits` 8 or 16, cut to `keepBytes` when that is not negative.
std::string WavImage(int channels, int bits, int rate, int frames, long keepBytes = -1);

// Opens the device with the given hook (null: the default device, OpenAL Soft's null backend
// under ctest); closes it after the test.
class SoundTest : public ::testing::Test {
  protected:
    void Open(SndDeviceOpenHook hook, int voices = 32);
    SndBuffer* Load(const char* relative); // released after the test
    void TearDown() override;
    std::vector<SndBuffer*> m_loaded;
};
