// The sound tests' fixture, loopback device and WAV images.
#include "tests/engine/Sound/SoundFixture.h"

#define AL_ALEXT_PROTOTYPES
#include <AL/alext.h>

#include <cmath>

std::string SoundData(const char* relative) {
    return std::string(FAIRLARK_BUILD_DATA_DIR) + relative;
}

ALCdevice* NoDevice(const ALCint** /*attrs*/) {
    return nullptr;
}

ALCdevice* LoopbackDevice(const ALCint** attrs) {
    static const ALCint kAttrs[] = {ALC_FORMAT_CHANNELS_SOFT,
                                    ALC_STEREO_SOFT,
                                    ALC_FORMAT_TYPE_SOFT,
                                    ALC_SHORT_SOFT,
                                    ALC_FREQUENCY,
                                    kMixRate,
                                    0};
    *attrs = kAttrs;
    return alcLoopbackOpenDeviceSOFT(nullptr);
}

std::vector<int16_t> RenderMix(int frames) {
    std::vector<int16_t> out((size_t)frames * 2);
    alcRenderSamplesSOFT(SndDevice(), out.data(), frames);
    return out;
}

double Rms(const std::vector<int16_t>& samples) {
    double sum = 0.0;
    for (int16_t s : samples)
        sum += (double)s * s;
    return samples.empty() ? 0.0 : std::sqrt(sum / (double)samples.size());
}

float SourceFloat(SndVoice v, ALenum param) {
    ALfloat value = -1.0f;
    alGetSourcef(SndVoiceSource(v), param, &value);
    return value;
}

std::string WavImage(int channels, int bits, int rate, int frames, long keepBytes) {
    std::string v;
    auto put = [&](uint32_t x, int bytes) {
        for (int i = 0; i < bytes; ++i)
            v.push_back((char)(x >> (8 * i)));
    };
    uint32_t frameBytes = (uint32_t)(channels * bits / 8), data = (uint32_t)frames * frameBytes;
    v += "RIFF";
    put(36 + data, 4);
    v += "WAVEfmt ";
    put(16, 4);
    put(1, 2);
    put((uint32_t)channels, 2);
    put((uint32_t)rate, 4);
    put((uint32_t)rate * frameBytes, 4);
    put(frameBytes, 2);
    put((uint32_t)bits, 2);
    v += "data";
    put(data, 4);
    for (uint32_t i = 0; i < data; ++i)
        v.push_back((char)(i * 7));
    if (keepBytes >= 0 && (size_t)keepBytes < v.size()) v.resize((size_t)keepBytes);
    return v;
}

void SoundTest::Open(SndDeviceOpenHook hook, int voices) {
    SndSetDeviceOpenHook(hook);
    ASSERT_EQ(SndInit("SoundFilters\\", 0, voices), 0) << "the sound device did not open";
}

SndBuffer* SoundTest::Load(const char* relative) {
    SndBuffer* b = SndLoadBuffer(SoundData(relative).c_str());
    EXPECT_NE(b, nullptr) << relative;
    if (b) m_loaded.push_back(b);
    return b;
}

void SoundTest::TearDown() {
    for (SndBuffer* b : m_loaded)
        SharedObjRelease(b);
    SndShutdown();
    SndSetDeviceOpenHook(nullptr);
    SndSetMusicOn(1);
    SndSetPlacing(1);
    SndForgetBadFiles();
}
