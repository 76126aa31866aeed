// The sound and group-sound entities on OpenAL Soft's null backend: what reaches the emitter's
// AL source, files that do not load, the crowd search with its gain, ranges and schedule, and
// the debug draw of the ranges on the recording layer.
#include "engine/EntDrawWalk.h"
#include "engine/Sound/SndEmitter.h"
#include "engine/Sound/SoundInternal.h"
#include "tests/I3d/KernelFixture.h"
#include "tests/world/WorldTestClasses.h"
#include "world/GroupSound.h"

#include <AL/al.h>

namespace {

class SoundEntityTest : public KernelTest {
  protected:
    void SetUp() override {
        KernelTest::SetUp();
        RegisterWorldTestClasses();
        ASSERT_EQ(SndInit(nullptr, 0, 8), 0) << "OpenAL Soft's null backend did not open";
        root = Make("EntNull", nullptr, "Root");
        crowd = Make("EntNull", root, "Crowd");
        wav = std::string(FAIRLARK_BUILD_DATA_DIR) + "Sounds/ToneMono.wav";
    }
    void TearDown() override {
        EntDestroyTree(root);
        EntSystemShutdown();
        SndShutdown();
        KernelTest::TearDown();
    }
    // The emitter brought into range of a listener at `ear`, and its source's float.
    static float SourceOf(SndEmitter* e, ALenum param, VECTOR3 ear) {
        SndSetListenerPosV(&ear);
        SndEmitterUpdateAll();
        ALfloat v = -1.0f;
        alGetSourcef(SndVoiceSource(e->voice), param, &v);
        return v;
    }
    // n entities of type "Rube", half at centre + (r, 0, 0), half at centre - (r, 0, 0): their
    // mean is the centre and their mean distance from it r.
    void AddRubes(int n, VECTOR3 centre, float r) {
        for (int i = 0; i < n; ++i) {
            auto* p = Make<Probe>("Probe", crowd, "Rube");
            p->type = "Rube";
            p->SetPosXYZ(centre.x + (i % 2 ? r : -r), centre.y, centre.z);
        }
    }

    TempDir dir;
    std::string wav;
    ENTBASE *root = nullptr, *crowd = nullptr;
};

TEST_F(SoundEntityTest, LoadedSoundFeedsItsEmitter) {
    auto* s = Make<EntSound>("Sound", root, "Hum");
    EXPECT_TRUE(s->TestFlag(ENT_FLAG_PASSABLE));
    EXPECT_EQ(s->maxDist, 200.0f) << "Create's values replace the table's 100 and 1";
    EXPECT_EQ(s->minDist, 4.0f);
    s->SetString("soundFile", wav.c_str());
    s->SetVector3("pos", 10.0f, 0.0f, 0.0f);
    s->SetFloat("volume", 0.6f);
    s->SetFloat("minDist", 2.0f);
    s->SetFloat("maxDist", 50.0f);
    EXPECT_EQ(s->Start(), 0);
    ASSERT_NE(s->emitter, nullptr);
    const VECTOR3 ear = {0, 0, 0};
    EXPECT_NEAR(SourceOf(s->emitter, AL_GAIN, ear), 0.6f, 1e-6f);
    EXPECT_NEAR(SourceOf(s->emitter, AL_MAX_DISTANCE, ear), 50.0f, 1e-5f);
    EXPECT_NEAR(SourceOf(s->emitter, AL_REFERENCE_DISTANCE, ear), 0.4f, 1e-6f)
        << "the emitter's reference distance is the near distance x 0.2";
    ALfloat p[3] = {};
    alGetSource3f(SndVoiceSource(s->emitter->voice), AL_POSITION, &p[0], &p[1], &p[2]);
    EXPECT_TRUE(p[0] == 10.0f && p[1] == 0.0f && p[2] == 0.0f);

    s->SetFloat("volume", 0.3f);
    s->VarsChanged();
    EXPECT_NEAR(SourceOf(s->emitter, AL_GAIN, ear), 0.3f, 1e-6f);
    // A near distance past five times the far one: the reference distance stops at the far one.
    s->SetFloat("minDist", 1000.0f);
    s->SetFloat("maxDist", 100.0f);
    s->VarsChanged();
    EXPECT_NEAR(SourceOf(s->emitter, AL_REFERENCE_DISTANCE, ear), 100.0f, 1e-4f);
    // Starting again replaces the sound instead of stacking emitters.
    s->Start();
    int emitters = 0;
    for (SndEmitter* e = SndEmitterFirst(); e; e = e->next)
        ++emitters;
    EXPECT_EQ(emitters, 1);
}

TEST_F(SoundEntityTest, SoundThatDoesNotLoadStaysSilent) {
    WriteTextFile(dir / "Broken.wav", "RIFF....WAVEnothing");
    for (std::string file : {dir / "Missing.wav", dir / "Broken.wav", std::string()}) {
        SCOPED_TRACE(file);
        auto* s = Make<EntSound>("Sound", root, "Quiet");
        s->SetString("soundFile", file.c_str());
        s->Start();
        EXPECT_EQ(s->emitter, nullptr);
        EXPECT_EQ(s->buffer, nullptr);
        s->SetFloat("volume", 0.2f);
        EXPECT_EQ(s->VarsChanged(), 1);
        EXPECT_EQ(SndEmitterFirst(), nullptr) << "no emitter may appear later either";
    }
}

TEST_F(SoundEntityTest, GroupSoundFollowsItsCrowd) {
    auto* g = Make<GroupSound>("GroupSound", root, "Chatter");
    EXPECT_EQ(g->maxDist, 100.0f) << "its own table's defaults follow the sound's Create";
    EXPECT_EQ(g->minDist, 1.0f);
    g->SetString("soundFile", wav.c_str());
    g->SetString("searchClass", "Rube");
    g->SetFloat("recalcTime", 2.0f);
    g->SetFloat("volume", 0.8f);
    g->Start();
    ASSERT_NE(g->emitter, nullptr);
    EXPECT_EQ(g->searchRoot, root) << "the search starts at the top of its tree";

    const VECTOR3 centre = {20.0f, 0.0f, 30.0f};
    AddRubes(50, centre, 5.0f);
    g->Update(0.1f);
    EXPECT_TRUE(g->pos.x == 20.0f && g->pos.y == 0.0f && g->pos.z == 30.0f);
    EXPECT_NEAR(g->minDist, 0.4f * 5.0f + 0.1f, 1e-5f);
    EXPECT_NEAR(g->maxDist, 2.0f * 5.0f + 0.11f, 1e-5f);
    EXPECT_NEAR(SourceOf(g->emitter, AL_GAIN, centre), 0.5f, 1e-6f) << "50 of maxEnts 100";
    EXPECT_NEAR(SourceOf(g->emitter, AL_MAX_DISTANCE, centre), 10.11f, 1e-5f);

    AddRubes(100, centre, 5.0f);
    g->Update(1.8f);
    EXPECT_NEAR(g->emitter->gain, 0.5f, 1e-6f) << "the next search is recalcTime later";
    g->Update(0.2f);
    EXPECT_NEAR(g->emitter->gain, 0.8f, 1e-6f) << "beyond maxEnts the gain is \"volume\"";

    EntDestroyChildren(crowd);
    g->Update(2.0f);
    EXPECT_TRUE(g->pos.x == 20.0f && g->pos.z == 30.0f) << "nobody found: nothing moves";
    EXPECT_NEAR(g->minDist, 2.1f, 1e-5f);
    EXPECT_NEAR(g->emitter->gain, 0.8f, 1e-6f);
}

TEST_F(SoundEntityTest, GroupSoundSearchesEveryUpdateWithoutRecalcTime) {
    auto* g = Make<GroupSound>("GroupSound", root, "Chatter");
    g->SetString("soundFile", wav.c_str());
    g->SetString("searchClass", "Rube");
    g->Start();
    for (float recalc : {0.0f, -3.0f}) {
        g->SetFloat("recalcTime", recalc);
        EntDestroyChildren(crowd);
        for (int n = 1; n <= 3; ++n) {
            AddRubes(2, VECTOR3{0, 0, 0}, 1.0f);
            g->Update(0.05f);
            EXPECT_NEAR(g->emitter->gain, 0.02f * (float)n, 1e-6f)
                << "recalcTime " << recalc << ": update " << n << " did not search";
        }
    }
    // An empty type finds nothing, whatever the tree holds.
    g->SetString("searchClass", "");
    AddRubes(10, VECTOR3{0, 0, 0}, 1.0f);
    g->Update(0.05f);
    EXPECT_NEAR(g->emitter->gain, 0.06f, 1e-6f);
}

TEST_F(SoundEntityTest, DebugDrawShowsBothRanges) {
    StartRecordingDevice();
    ASSERT_EQ(I3dDebugShapesCreate(), 0);
    auto* s = Make<EntSound>("Sound", root, "Hum");
    s->SetVector3("pos", 1.0f, 2.0f, 3.0f);
    Log().Clear();
    EXPECT_EQ(s->Draw(), 1);
    std::vector<D3dCall> calls = Log().Calls();
    std::vector<uint32_t> factors;
    std::vector<Mat4> worlds;
    int draws = 0;
    for (const D3dCall& c : calls) {
        if (c.name == "DrawIndexedPrimitive") {
            ++draws;
            ASSERT_FALSE(factors.empty() || worlds.empty());
            EXPECT_EQ(factors.back(), draws == 1 ? 0x50FF0000u : 0x5000FFFFu);
            const Mat4 w = worlds.back();
            const float r = draws == 1 ? 4.0f : 200.0f;
            EXPECT_TRUE(w.m[0] == r && w.m[5] == r && w.m[10] == r && w.m[12] == 1.0f &&
                        w.m[13] == 2.0f && w.m[14] == 3.0f)
                << "sphere " << draws << " must be scaled to its range at the position";
        } else if (c.name == "SetRenderState" && c.args[0] == D3DRS_TEXTUREFACTOR) {
            factors.push_back((uint32_t)c.args[1]);
        } else if (c.name == "SetTransform" && c.args[0] == D3DTS_WORLD) {
            worlds.push_back(c.DataAs<Mat4>());
        }
    }
    EXPECT_EQ(draws, 2);
    EXPECT_EQ(Log().Count("SetRenderState", {D3DRS_ZWRITEENABLE, 0}), 1) << "translucent: no z";
    // The game's own walks, every frame, show no ranges.
    Log().Clear();
    EntTreeDrawEach(root);
    EXPECT_EQ(Log().Count("DrawIndexedPrimitive"), 0) << "the ranges are the editor's only";
    I3dDebugShapesFree();
}

} // namespace
