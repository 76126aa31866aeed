// Sound emitters: starting and stopping at the far distance, waiting for a voice, ended
// one-shots, release, and a tone heard through an emitter the listener walks away from.
#include "engine/Sound/SndEmitter.h"
#include "tests/engine/Sound/SoundFixture.h"

#include <memory>

namespace {
class SndEmitterTest : public SoundTest {
  protected:
    void TearDown() override {
        for (auto& e : m_emitters)
            SndEmitterRelease(e.get());
        SoundTest::TearDown();
    }
    // A linked emitter of the sound at (x, 0, 0), far distance 100.
    SndEmitter* Emitter(float x, const char* sound = "Sounds/ToneMono.wav") {
        m_emitters.push_back(std::make_unique<SndEmitter>());
        SndEmitter* e = m_emitters.back().get();
        SndEmitterInit(e);
        SndEmitterSetBuffer(e, Load(sound));
        VECTOR3 pos = {x, 0.0f, 0.0f};
        SndEmitterSetPos(e, &pos);
        return e;
    }
    static void Listener(float x) {
        VECTOR3 pos = {x, 0.0f, 0.0f};
        SndSetListenerPosV(&pos);
    }
    std::vector<std::unique_ptr<SndEmitter>> m_emitters;
};
} // namespace

TEST_F(SndEmitterTest, StartsAndStopsOnlyStrictlyInsideAndBeyondTheFarDistance) {
    Open(nullptr);
    SndEmitter* e = Emitter(100.0f);
    SndUpdate();
    EXPECT_EQ(e->state, SND_EMITTER_OUT) << "exactly at the far distance an emitter does not start";

    Listener(1.0f);
    SndUpdate();
    ASSERT_EQ(e->state, SND_EMITTER_PLAYING);
    EXPECT_EQ(SndVoiceState(e->voice), SND_STATE_PLAYING);
    ALfloat p[3] = {};
    alGetSource3f(SndVoiceSource(e->voice), AL_POSITION, &p[0], &p[1], &p[2]);
    EXPECT_FLOAT_EQ(p[0], 100.0f) << "the voice must sound from the emitter";
    EXPECT_FLOAT_EQ(SourceFloat(e->voice, AL_MAX_DISTANCE), 100.0f);
    EXPECT_FLOAT_EQ(SourceFloat(e->voice, AL_REFERENCE_DISTANCE), 2.0f);

    Listener(0.0f);
    SndUpdate();
    EXPECT_EQ(e->state, SND_EMITTER_PLAYING)
        << "exactly at the far distance an emitter does not stop";
    SndVoice held = e->voice;
    Listener(-0.5f);
    SndUpdate();
    EXPECT_EQ(e->state, SND_EMITTER_OUT);
    EXPECT_EQ(SndVoiceState(held), SND_STATE_STOPPED) << "leaving the range must stop the sound";
}

TEST_F(SndEmitterTest, WaitsForAFreeVoiceAndNeverStartsWithoutABuffer) {
    Open(nullptr, 1);
    SndEmitter* e = Emitter(5.0f);
    SndVoice busy = SndPlay(0, e->buffer, 0, 1.0f, 0, 1.0f);
    SndUpdate();
    EXPECT_EQ(e->state, SND_EMITTER_OUT) << "no free voice: the emitter waits";
    SndVoiceStop(busy);
    SndUpdate();
    EXPECT_EQ(e->state, SND_EMITTER_PLAYING) << "the first frame after a voice frees";

    SndEmitter silent;
    SndEmitterInit(&silent);
    SndStopAll();
    SndUpdate();
    EXPECT_EQ(silent.state, SND_EMITTER_OUT) << "an emitter without a buffer never starts";
    SndEmitterRelease(&silent);
}

TEST_F(SndEmitterTest, AnEndedOneShotIsNotRestartedAndStopsNothingLater) {
    Open(LoopbackDevice, 1);
    SndEmitter* e = Emitter(5.0f, "Sounds/Click.wav");
    e->oneShot = 1;
    SndUpdate();
    ASSERT_EQ(e->state, SND_EMITTER_PLAYING);
    RenderMix(kMixRate / 5);
    SndUpdate();
    EXPECT_EQ(e->state, SND_EMITTER_PLAYING) << "an ended one-shot keeps its state while in range";
    EXPECT_FALSE(e->voice) << "the emitter must let go of a voice that finished its sound";
    EXPECT_EQ(SndFindFreeVoice().slot, 0) << "and must not restart it";

    // The pool gives the voice to another sound; the emitter leaving its range must not stop it.
    SndVoice other = SndPlay(2, e->buffer, 0, 1.0f, 0, 1.0f);
    Listener(500.0f);
    SndUpdate();
    EXPECT_EQ(e->state, SND_EMITTER_OUT);
    EXPECT_EQ(SndVoiceState(other), SND_STATE_PLAYING) << "the emitter stopped another sound";
}

TEST_F(SndEmitterTest, ReleaseStopsAndUnlinksAndInitTwiceDoesNotLoop) {
    Open(nullptr);
    SndEmitter* a = Emitter(5.0f);
    SndEmitter* b = Emitter(6.0f);
    EXPECT_EQ(SndEmitterFirst(), b) << "newest first";
    EXPECT_EQ(b->next, a);
    SndUpdate();
    SndVoice held = a->voice;
    SndEmitterRelease(a);
    EXPECT_EQ(SndVoiceState(held), SND_STATE_STOPPED);
    EXPECT_EQ(b->next, nullptr);
    SndEmitterInit(b); // a restarted sound entity may do this
    SndEmitterInit(b);
    EXPECT_EQ(SndEmitterFirst(), b);
    EXPECT_EQ(b->next, nullptr) << "an emitter linked twice makes the list a loop";
}

// The listener walks away from a looping tone 2 units a frame: the tone is heard from the first
// frame and gone once the listener is strictly beyond 100 units (5 + 2 x 48 = 101).
TEST_F(SndEmitterTest, TheToneIsHeardUntilTheListenerLeavesTheRange) {
    Open(LoopbackDevice);
    SndEmitter* e = Emitter(5.0f);
    int startedAt = -1, stoppedAt = -1;
    for (int step = 0; step < 60; ++step) {
        Listener(-2.0f * (float)step);
        SndUpdate();
        double rms = Rms(RenderMix(kMixRate / 30));
        if (e->state == SND_EMITTER_PLAYING && startedAt < 0) startedAt = step;
        if (e->state == SND_EMITTER_OUT && startedAt >= 0 && stoppedAt < 0) stoppedAt = step;
        if (step == 1) {
            EXPECT_GT(rms, 300.0) << "the tone is not in the mix";
        }
        if (stoppedAt >= 0 && step > stoppedAt) {
            EXPECT_LT(rms, 1.0) << "still audible at distance " << 5 + 2 * step;
        }
    }
    EXPECT_EQ(startedAt, 0) << "the emitter must start in the first frame";
    EXPECT_EQ(stoppedAt, 48);
}

// With 3D sound off an emitter to the listener's right is heard from no side, and still fades
// as the listener walks away; with it on, it is heard on the right.
TEST_F(SndEmitterTest, WithPlacingOffASoundComesFromNoSideButStillFades) {
    Open(LoopbackDevice);
    SndEmitter* e = Emitter(8.0f);
    auto sides = [] {
        RenderMix(kMixRate / 20); // OpenAL glides to a new place: measured once it is there
        const std::vector<int16_t> mix = RenderMix(kMixRate / 10);
        std::vector<int16_t> left, right;
        for (size_t i = 0; i + 1 < mix.size(); i += 2) {
            left.push_back(mix[i]);
            right.push_back(mix[i + 1]);
        }
        return std::make_pair(Rms(left), Rms(right));
    };
    Listener(0.0f);
    SndUpdate();
    ASSERT_EQ(e->state, SND_EMITTER_PLAYING);
    const auto placed = sides();
    EXPECT_GT(placed.second, 2.0 * placed.first) << "placed on the right";

    SndSetPlacing(0);
    const auto near = sides();
    EXPECT_NEAR(near.first, near.second, 0.05 * near.second) << "from no side";
    Listener(-40.0f);
    SndUpdate();
    const auto far = sides();
    EXPECT_LT(far.first, 0.5 * near.first) << "farther is quieter";
    EXPECT_NEAR(far.first, far.second, 0.05 * far.second + 1.0);
}
