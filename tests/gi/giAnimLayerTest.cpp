// Animation layers on a hand-built two-bone skeleton under a hand-moved clock: first weights,
// fades, wraps and clamps with their events, blending, the hold flag, speed changes, per-mesh
// trigger state, damaged clips and the saved layer state.
#include "gi/giSkinnedMesh.h"
#include "gi/giXmlValue.h"

#include "engine/DebugLog.h"
#include "tests/gi/SkinTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

class AnimLayers : public ::testing::Test {
  protected:
    void SetUp() override {
        AddSkelBone(rec, "Root", "", giMat44::Identity());
        AddSkelBone(rec, "Child", "root", BindAt(1, 0, 0));
        ASSERT_TRUE(skel.BuildFrom(rec, model));
        mesh.SetSkeleton(&skel);
    }

    giAnimation* Keep(std::unique_ptr<giAnimation> a) {
        EXPECT_TRUE(a);
        clips.push_back(std::move(a));
        return clips.back().get();
    }
    // The root moves along x by one unit a second, so its x reads the layer time.
    giAnimation* Ramp(const std::string& name, int32_t lengthMs, bool add = true) {
        const float end = (float)lengthMs / 1000;
        giAnimation* a =
            Keep(WriteClip(dir, name,
                           {{{0, {0, 0, 0}, {0, 0, 0, 1}}, {lengthMs, {end, 0, 0}, {0, 0, 0, 1}}},
                            {{0, {0, 0, 0}, {0, 0, 0, 1}}, {lengthMs, {0, 0, 0}, {0, 0, 0, 1}}}},
                           lengthMs));
        if (add) mesh.AddAnimation(a);
        return a;
    }
    // One pose held for a second.
    giAnimation* Hold(const std::string& name, const giVec3& at, const giQuat& turn) {
        giAnimation* a =
            Keep(WriteClip(dir, name,
                           {{{0, at, turn}, {1000, at, turn}},
                            {{0, {0, 0, 0}, {0, 0, 0, 1}}, {1000, {0, 0, 0}, {0, 0, 0, 1}}}},
                           1000));
        mesh.AddAnimation(a);
        return a;
    }
    static void Trigger(giAnimation* a, const char* name, float time) {
        auto t = std::make_unique<giAnimTrigger>();
        t->name = name;
        t->time = time;
        a->AddTrigger(std::move(t));
    }
    giAnimLayer* Layer(int group, size_t i) { return mesh.GetGroup(group)->layers[i].get(); }
    float X() const { return mesh.bonePos[0].x; }

    TempDir dir;
    SkinClock clock;
    GM_Skeleton rec;
    giGmModel model;
    giSkeleton skel;
    giSkinnedMesh mesh;
    EventLog log;
    std::vector<std::unique_ptr<giAnimation>> clips;
};

// How often a text was logged so far.
int Count(const LogCapture& log, const std::string& text) {
    const std::string all = log.Text();
    int n = 0;
    for (size_t at = all.find(text); at != std::string::npos; at = all.find(text, at + 1))
        ++n;
    return n;
}
} // namespace

TEST_F(AnimLayers, FirstLayersStartAtFullOrTheGivenWeight) {
    Ramp("A", 2000);
    Ramp("B", 2000);
    mesh.AddLayer("A", true, 0.5f, 0.3f, 0);
    EXPECT_EQ(Layer(0, 0)->fadeCurrent, 1.0f) << "the first layer ever starts at full weight";
    EXPECT_EQ(Layer(0, 0)->fadeTime, 0.0f);
    mesh.Animate(false);
    EXPECT_FLOAT_EQ(Layer(0, 0)->fadeCurrent, 0.3f) << "and takes its weight at once";
    mesh.AddLayer("B", true, 0.5f, 1.0f, 0);
    EXPECT_EQ(Layer(0, 1)->fadeCurrent, 0.0f) << "later layers fade in";
    EXPECT_EQ(Layer(0, 1)->fadeTime, 0.5f);

    giSkinnedMesh other;
    other.SetSkeleton(&skel);
    other.AddAnimation(clips[0].get());
    other.PlayExclusive("A", true, 0.5f, 0.4f, 0);
    EXPECT_FLOAT_EQ(other.GetGroup(0)->layers[0]->fadeCurrent, 0.4f)
        << "the first exclusive layer starts at its weight";
    EXPECT_EQ(other.GetGroup(0)->layers[0]->fadeTime, 0.0f);
}

TEST_F(AnimLayers, FadesRunOnTheLayerSpeed) {
    Ramp("A", 2000);
    Ramp("B", 2000);
    mesh.SetSpeed(2);
    mesh.AddLayer("A", true, 0, 1, 0);
    mesh.AddLayer("B", true, 0.5f, 1, 0);
    clock.Advance(0.125);
    mesh.Animate(false);
    EXPECT_NEAR(Layer(0, 1)->fadeCurrent, 0.5f, 1e-5f);
    clock.Advance(0.125);
    mesh.Animate(false);
    EXPECT_EQ(Layer(0, 1)->fadeCurrent, 1.0f);
    clock.Advance(0.5);
    mesh.Animate(false);
    EXPECT_EQ(Layer(0, 1)->fadeCurrent, 1.0f);
}

TEST_F(AnimLayers, LoopsWrapWithEventsAndReArmedTriggers) {
    Trigger(Ramp("Loop", 2000), "Step", 0.25f);
    mesh.listener = &log;
    mesh.AddLayer("Loop", true, 0, 1, 0);
    clock.Advance(4.5);
    mesh.Animate(false);
    const std::vector<std::pair<int32_t, std::string>> expected = {
        {2, ""}, {3, "Step"}, {2, ""}, {3, "Step"}, {3, "Step"}};
    EXPECT_EQ(log.events, expected) << "two wraps, each passing the trigger, then this pass's";
    EXPECT_NEAR(X(), 0.5f, 1e-5f);
    EXPECT_NEAR(mesh.time, 0.5f, 1e-5f);
    EXPECT_TRUE(mesh.IsPlaying("Loop", 0));
    clock.Advance(0.2);
    mesh.Animate(false);
    EXPECT_NEAR(X(), 0.7f, 1e-5f) << "the wrap moved the start, not the phase";
    EXPECT_EQ(log.events.size(), expected.size()) << "a trigger fires once per pass";
}

TEST_F(AnimLayers, OneShotsHoldTheirLastKeyAndFireOnce) {
    Trigger(Ramp("Once", 1000), "Hit", 0.5f);
    mesh.listener = &log;
    mesh.AddLayer("Once", false, 0, 1, 0);
    clock.Advance(0.6);
    mesh.Animate(false);
    EXPECT_EQ(log.Count(3), 1);
    EXPECT_TRUE(mesh.IsPlaying("Once", 0));
    for (int frame = 0; frame < 5; ++frame) {
        clock.Advance(0.3);
        mesh.Animate(false);
    }
    EXPECT_NEAR(X(), 1.0f, 1e-6f) << "the last key is held";
    EXPECT_FALSE(mesh.IsPlaying("Once", 0));
    EXPECT_EQ(log.Count(3), 1) << "an ended clip does not fire its triggers again every frame";
    EXPECT_EQ(log.Count(2), 0);

    // One not yet passed when the clip ends fires once at the end.
    giSkinnedMesh other;
    EventLog otherLog;
    other.SetSkeleton(&skel);
    other.listener = &otherLog;
    other.AddAnimation(clips[0].get());
    other.AddLayer("Once", false, 0, 1, 0);
    clock.Advance(3);
    other.Animate(false);
    other.Animate(false);
    EXPECT_EQ(otherLog.Count(3), 1);
}

TEST_F(AnimLayers, LayersOfAGroupBlendByWeight) {
    Hold("A", {0, 0, 0}, {0, 0, 0, 1});
    Hold("B", {4, 0, 0}, AxisTurn({0, 1, 0}, (float)M_PI / 2));
    mesh.AddLayer("A", true, 0, 1, 0);
    mesh.AddLayer("B", true, 0, 0.25f, 0);
    mesh.Animate(false);
    EXPECT_NEAR(X(), 1.0f, 1e-6f) << "a quarter of the way to the second layer's pose";
    EXPECT_TRUE(SameTurn(mesh.boneRot[0], AxisTurn({0, 1, 0}, (float)M_PI / 8), 1e-6f));
    // Across groups the later layer blends over the earlier the same way.
    Hold("C", {0, 8, 0}, {0, 0, 0, 1});
    mesh.AddLayer("C", true, 0, 0.5f, 1);
    mesh.Animate(false);
    EXPECT_NEAR(mesh.bonePos[0].y, 4.0f, 1e-5f);
    EXPECT_NEAR(X(), 0.5f, 1e-5f);
}

TEST_F(AnimLayers, FadedOutLayersRetireWithTheirEvents) {
    Hold("A", {0, 0, 0}, {0, 0, 0, 1});
    Trigger(Hold("B", {4, 0, 0}, {0, 0, 0, 1}), "Late", 0.9f);
    mesh.listener = &log;
    mesh.AddLayer("A", true, 0, 1, 0);
    mesh.AddLayer("B", true, 0, 1, 0);
    mesh.Animate(false);
    mesh.FadeOutLayer("B", 0, 0);
    mesh.Animate(false);
    EXPECT_EQ(Layer(0, 1)->fadeCurrent, 0.0f);
    EXPECT_TRUE(log.events.empty());
    mesh.Animate(false);
    ASSERT_EQ(mesh.GetGroup(0)->layers.size(), 1u);
    const std::vector<std::pair<int32_t, std::string>> expected = {{3, "Late"}, {1, ""}};
    EXPECT_EQ(log.events, expected) << "unfired triggers are flushed, then the layer goes";
    EXPECT_FALSE(mesh.IsPlaying("B", 0));
}

TEST_F(AnimLayers, TheHoldFlagFreezesUnlessForced) {
    Ramp("A", 2000);
    mesh.AddLayer("A", true, 0, 1, 0);
    clock.Advance(0.5);
    AppTimerHold(1);
    mesh.Animate(false);
    EXPECT_EQ(X(), 0.0f) << "nothing moves while the clock is held";
    mesh.Animate(true);
    EXPECT_NEAR(X(), 0.5f, 1e-6f);
}

TEST_F(AnimLayers, SpeedChangesDoNotJump) {
    Ramp("A", 1000);
    mesh.AddLayer("A", true, 0, 1, 0);
    clock.Advance(0.3);
    mesh.Animate(false);
    EXPECT_NEAR(X(), 0.3f, 1e-5f);
    mesh.SetSpeed(2);
    mesh.Animate(false);
    EXPECT_NEAR(X(), 0.3f, 1e-5f) << "a speed change keeps the present time";
    clock.Advance(0.1);
    mesh.Animate(false);
    EXPECT_NEAR(X(), 0.5f, 1e-5f) << "and then runs twice as fast";
    mesh.SetSpeed(0);
    mesh.SetSpeed(std::numeric_limits<float>::quiet_NaN());
    EXPECT_EQ(mesh.speed, 2.0f) << "0 and NaN are ignored";
    clock.Advance(0.3);
    mesh.Animate(false);
    EXPECT_NEAR(X(), 0.1f, 1e-5f) << "wrapped";
    clock.Advance(0.1);
    mesh.Animate(false);
    EXPECT_NEAR(X(), 0.3f, 1e-5f) << "a wrap at speed 2 keeps the pace";

    mesh.SetSpeed(-1);
    clock.Advance(2);
    mesh.Animate(false);
    EXPECT_EQ(X(), 0.0f) << "time running backwards holds key 0";
}

TEST_F(AnimLayers, UnknownNamesAndClipsTheCacheStillOwns) {
    Ramp("A", 2000);
    mesh.AddAnimation(nullptr);
    mesh.AddAnimation(clips[0].get());
    EXPECT_EQ(mesh.animations.size(), 1u);
    EXPECT_EQ(mesh.FindAnimation("Nope"), nullptr);
    EXPECT_EQ(mesh.FindAnimation("A"), clips[0].get());
    mesh.AddLayer("Nope", true, 0, 1, 0);
    EXPECT_TRUE(mesh.GetGroup(0)->layers.empty());
    mesh.FadeOutLayer("Nope", 1, 0);
    mesh.FadeOutLayer("A", 1, 7);
    EXPECT_FALSE(mesh.IsPlaying("Nope", 0));
    EXPECT_FALSE(mesh.IsPlaying("A", 7));
    EXPECT_EQ(mesh.groups.size(), 1u) << "questions make no groups";

    mesh.AddLayer("A", true, 0, 1, 0);
    mesh.RemoveAnimation("A");
    EXPECT_EQ(mesh.FindAnimation("A"), nullptr);
    clock.Advance(0.4);
    mesh.Animate(false);
    EXPECT_NEAR(X(), 0.4f, 1e-5f) << "a removed clip keeps playing in its layer";

    giSkinnedMesh bare;
    bare.AddAnimation(clips[0].get());
    bare.AddLayer("A", true, 0, 1, 0);
    bare.Animate(true); // no skeleton: nothing to pose
    EXPECT_EQ(bare.BoneCount(), 0);
}

TEST_F(AnimLayers, ClipsForALargerRigAreCutToTheSkeleton) {
    LogCapture captured;
    giAnimation* big = Keep(WriteClip(dir, "Big",
                                      {{{0, {1, 0, 0}, {0, 0, 0, 1}}},
                                       {{0, {0, 0, 0}, {0, 0, 0, 1}}},
                                       {{0, {0, 0, 0}, {0, 0, 0, 1}}}},
                                      0));
    mesh.AddAnimation(big);
    EXPECT_EQ(Count(captured, "giSkinnedMesh::AddAnimation: Big has 3 tracks"), 1);
    mesh.AddLayer("Big", true, 0, 1, 0);
    mesh.Animate(false); // the address checker watches the third track
    EXPECT_EQ(X(), 1.0f);
    EXPECT_EQ(Count(captured, "giSkinnedMesh::AddAnimation"), 1) << "logged once";
}

TEST_F(AnimLayers, ALoopingOnePoseClipReturns) {
    Keep(WriteClip(dir, "Still", {{{0, {3, 0, 0}, {0, 0, 0, 1}}}, {{0, {0, 0, 0}, {0, 0, 0, 1}}}},
                   0));
    mesh.AddAnimation(clips.back().get());
    mesh.listener = &log;
    mesh.AddLayer("Still", true, 0, 1, 0);
    clock.Advance(5);
    mesh.Animate(false);
    EXPECT_EQ(X(), 3.0f);
    EXPECT_EQ(mesh.time, 0.0f);
    EXPECT_EQ(log.Count(2), 0) << "a clip without length has no passes to wrap";
}

TEST_F(AnimLayers, AShortLoopFarBehindTheClockReturns) {
    Ramp("Blink", 10);
    mesh.listener = &log;
    mesh.AddLayer("Blink", true, 0, 1, 0);
    // A float time this far past the length no longer shrinks by one length at a time.
    clock.Advance(100000);
    mesh.Animate(false);
    EXPECT_GE(mesh.time, 0.0f);
    EXPECT_LE(mesh.time, 0.01f);
    EXPECT_LE(log.Count(2), 1000) << "the wraps sent in one evaluation are bounded";
    clock.Advance(0.004);
    mesh.Animate(false);
    EXPECT_LE(mesh.time, 0.01f);
}

TEST_F(AnimLayers, KeysAtEqualTimesOrBeforeTheEndGiveFinitePoses) {
    const giQuat id{0, 0, 0, 1};
    giAnimation* twin = Keep(WriteClip(
        dir, "Twin",
        {{{0, {0, 0, 0}, id},
          {500, {1, 0, 0}, id},
          {700, {2, 0, 0}, id},
          {700, {3, 0, 0}, AxisTurn({0, 0, 1}, 1)}},
         {{0, {0, 0, 0}, id}, {500, {0, 0, 0}, id}, {700, {0, 0, 0}, id}, {700, {0, 0, 0}, id}}},
        1000));
    giAnimation* early = Keep(WriteClip(
        dir, "Early", {{{0, {0, 0, 0}, id}, {500, {1, 0, 0}, id}}, {{0, {}, id}, {500, {}, id}}},
        1000));
    mesh.AddAnimation(twin);
    mesh.AddAnimation(early);
    mesh.AddLayer("Twin", false, 0, 1, 0);
    for (double t : {0.5, 0.6, 0.9}) {
        clock.Advance(t - (double)mesh.time);
        mesh.Animate(false);
        for (int b = 0; b < 2; ++b)
            for (int i = 0; i < 16; ++i)
                ASSERT_TRUE(std::isfinite(mesh.BoneMatrix(b)->m[i / 4][i % 4]))
                    << "past two keys at one time, t " << t;
    }
    EXPECT_NEAR(X(), 2.0f, 1e-6f);

    giSkinnedMesh other;
    other.SetSkeleton(&skel);
    other.AddAnimation(early);
    other.AddLayer("Early", false, 0, 1, 0);
    clock.Advance(0.8);
    other.Animate(false);
    EXPECT_EQ(other.bonePos[0].x, 1.0f) << "past the last key the pose holds it, not extrapolates";
}

TEST_F(AnimLayers, EachMeshFiresSharedTriggersItself) {
    Trigger(Ramp("Walk", 1000), "Foot", 0.45f);
    giSkinnedMesh other;
    EventLog otherLog;
    other.SetSkeleton(&skel);
    other.AddAnimation(clips[0].get());
    mesh.listener = &log;
    other.listener = &otherLog;
    mesh.AddLayer("Walk", true, 0, 1, 0);
    other.AddLayer("Walk", true, 0, 1, 0);
    for (int frame = 0; frame < 17; ++frame) {
        clock.Advance(0.1);
        mesh.Animate(false);
        other.Animate(false);
    }
    EXPECT_EQ(log.Count(3), 2) << "two passes, one event each";
    EXPECT_EQ(otherLog.Count(3), 2) << "the other mesh's passes are its own";
    EXPECT_FALSE(clips[0]->GetTrigger(0)->fired) << "the shared record is not the state";

    // A trigger added while a layer plays is new to it.
    Trigger(clips[0].get(), "Hand", 0.75f);
    clock.Advance(0.1);
    mesh.Animate(false);
    EXPECT_EQ(log.Count(3), 3);
    EXPECT_EQ(log.events.back().second, "Hand");
}

TEST_F(AnimLayers, ExclusivePlayFadesTheRestAndSilencesThem) {
    Trigger(Ramp("A", 2000), "Never", 0.1f);
    Ramp("B", 2000);
    mesh.listener = &log;
    mesh.AddLayer("A", true, 0, 1, 0);
    mesh.PlayExclusive("Nope", true, 0, 1, 0);
    EXPECT_EQ(Layer(0, 0)->fadeFinal, 0.0f) << "an unknown name still fades the group out";
    clock.Advance(0.5);
    mesh.Animate(false);
    mesh.Animate(false);
    EXPECT_TRUE(mesh.GetGroup(0)->layers.empty());
    EXPECT_EQ(log.Count(3), 0) << "a layer faded out by an exclusive play fires nothing";
    EXPECT_EQ(log.Count(1), 1);
}

TEST_F(AnimLayers, SavedStateResumesLater) {
    Ramp("A", 2000);
    clock.Advance(20);
    giAnimLayer layer;
    layer.fadeStart = 0.2f;
    layer.fadeFinal = 0.8f;
    layer.fadeCurrent = 0.5f;
    layer.fadeTime = 1.5f;
    layer.startTime = 17;
    layer.fadeStartTime = 19;
    TiXmlElement saved("layer");
    ASSERT_TRUE(layer.Write(&saved));
    EXPECT_EQ(giXmlGetText(saved.FirstChildElement("looping")), "1");
    clock.Advance(10);
    giAnimLayer back;
    back.looping = false;
    ASSERT_TRUE(back.Read(&saved));
    EXPECT_FALSE(back.Read(nullptr));
    EXPECT_EQ(back.fadeStart, 0.2f);
    EXPECT_EQ(back.fadeFinal, 0.8f);
    EXPECT_EQ(back.fadeCurrent, 0.5f);
    EXPECT_EQ(back.fadeTime, 1.5f);
    EXPECT_TRUE(back.looping);
    EXPECT_NEAR(back.startTime, 27.0f, 1e-4f) << "the elapsed time is kept, not the clock's";
    EXPECT_NEAR(back.fadeStartTime, 29.0f, 1e-4f);
}
