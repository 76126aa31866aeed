// Costs of the sound layer's per-frame work: the emitter update, one music refill and the search
// for a free voice. A loopback device keeps OpenAL's mixer thread out of the figures.
#include "engine/Sound/SndEmitter.h"
#include "engine/Sound/SndStream.h"
#include "engine/Sound/SoundInternal.h"

#include <AL/al.h>
#define AL_ALEXT_PROTOTYPES
#include <AL/alext.h>
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

static ALCdevice* Loopback(const ALCint** attrs) {
    static const ALCint kAttrs[] = {ALC_FORMAT_CHANNELS_SOFT,
                                    ALC_STEREO_SOFT,
                                    ALC_FORMAT_TYPE_SOFT,
                                    ALC_SHORT_SOFT,
                                    ALC_FREQUENCY,
                                    44100,
                                    0};
    *attrs = kAttrs;
    return alcLoopbackOpenDeviceSOFT(nullptr);
}

static std::string Data(const char* rel) {
    return std::string(FAIRLARK_BUILD_DATA_DIR) + rel;
}

// Opens the device for one benchmark and loads the tone; everything goes at the end.
struct Session {
    Session() {
        SndSetDeviceOpenHook(Loopback);
        ok = SndInit("SoundFilters\\", 0, 32) == 0;
        tone = ok ? SndLoadBuffer(Data("Sounds/ToneMono.wav").c_str()) : nullptr;
        ok = ok && tone;
    }
    ~Session() {
        if (tone) SharedObjRelease(tone);
        SndShutdown();
        SndSetDeviceOpenHook(nullptr);
    }
    bool ok = false;
    SndBuffer* tone = nullptr;
};

// 200 emitters 1 unit apart from x = `first`; the listener at the origin, far distance 100.
static void EmitterUpdate(benchmark::State& state, float first) {
    Session s;
    if (!s.ok) {
        state.SkipWithError("no sound device or no generated sounds (build the data target)");
        return;
    }
    std::vector<SndEmitter> emitters(200);
    for (size_t i = 0; i < emitters.size(); ++i) {
        SndEmitterInit(&emitters[i]);
        SndEmitterSetBuffer(&emitters[i], s.tone);
        VECTOR3 pos = {first + (float)i, 0.0f, 0.0f};
        SndEmitterSetPos(&emitters[i], &pos);
    }
    SndEmitterUpdateAll(); // the voices are taken before timing starts
    for (auto _ : state)
        SndEmitterUpdateAll();
    state.counters["per_emitter"] =
        benchmark::Counter((double)emitters.size(), benchmark::Counter::kIsIterationInvariantRate |
                                                        benchmark::Counter::kInvert);
    for (SndEmitter& e : emitters)
        SndEmitterRelease(&e);
}

// Every emitter out of range: the distance tests alone.
static void BM_SndEmitterUpdateAll200OutOfRange(benchmark::State& state) {
    EmitterUpdate(state, 1000.0f);
}
BENCHMARK(BM_SndEmitterUpdateAll200OutOfRange);

// Every emitter in range: 32 hold voices, whose state is checked, and 168 look for a free one.
static void BM_SndEmitterUpdateAll200Crowded(benchmark::State& state) {
    EmitterUpdate(state, 0.0f);
}
BENCHMARK(BM_SndEmitterUpdateAll200Crowded);

static void BM_SndStreamRefillStereo32K(benchmark::State& state) {
    Session s;
    SndStream music;
    SndStreamStart(&music, Data("Music/MenuLoop.ogg").c_str());
    if (!s.ok || !music.file) {
        state.SkipWithError("no sound device or no generated music (build the data target)");
        return;
    }
    ALuint buffer = 0;
    alGenBuffers(1, &buffer);
    for (auto _ : state)
        benchmark::DoNotOptimize(SndStreamRefill(&music, buffer));
    // Seconds of audio one refill yields, per second spent: how far ahead of real time it is.
    state.counters["x_realtime"] =
        benchmark::Counter(8192.0 / 44100.0, benchmark::Counter::kIsIterationInvariantRate);
    alDeleteBuffers(1, &buffer);
    SndStreamStop(&music);
}
BENCHMARK(BM_SndStreamRefillStereo32K)->Unit(benchmark::kMicrosecond);

static void BM_SndFindFreeVoice32Busy(benchmark::State& state) {
    Session s;
    if (!s.ok) {
        state.SkipWithError("no sound device or no generated sounds (build the data target)");
        return;
    }
    while (SndPlay(0, s.tone, 0, 1.0f, 0, 1.0f)) {
    }
    for (auto _ : state)
        benchmark::DoNotOptimize(SndFindFreeVoice());
}
BENCHMARK(BM_SndFindFreeVoice32Busy);
