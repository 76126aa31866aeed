// The sun on the recording layer: where it stands and how it aims its light, the lens flare it
// makes and shows or hides, the states of its disc, the glare message 15 asks for and its decay,
// and teardowns in every order (a flare destroyed first, a sun never started, no light free).
#include "I3d/Lights.h"
#include "I3d/Math/Vec3.h"
#include "I3d/StateCache.h"
#include "I3d/Textures.h"
#include "engine/PropDb.h"
#include "tests/world/SunFixture.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <vector>

namespace {

// The render and stage-0 states in force at each draw call of the log.
struct DrawStates {
    std::map<uint64_t, uint64_t> rs;     // render state -> value
    std::map<uint64_t, uint64_t> stage0; // stage-0 state -> value
    std::map<uint64_t, uint64_t> stage1;
};

std::vector<DrawStates> StatesAtDraws(const D3dCallLog& log) {
    std::vector<DrawStates> out;
    DrawStates now;
    for (const D3dCall& c : log.Calls()) {
        if (c.name == "SetRenderState") now.rs[c.args[0]] = c.args[1];
        if (c.name == "SetTextureStageState" && c.args[0] == 0) now.stage0[c.args[1]] = c.args[2];
        if (c.name == "SetTextureStageState" && c.args[0] == 1) now.stage1[c.args[1]] = c.args[2];
        if (c.name.rfind("Draw", 0) == 0) out.push_back(now);
    }
    return out;
}

class SunTest : public SunFixture {
  protected:
    void SetUp() override {
        KernelTest::SetUp();
        StartWorld(false);
    }
    LensFlare* FlareOf(Sun* sun) { return sun->Flare(); }
};

TEST_F(SunTest, TableRowsAndCreateValues) {
    auto* sun = Make<Sun>("Sun", world, "Sun");
    std::string rows;
    for (PropField* f = sun->classDb->first; f; f = f->next)
        rows += std::string(rows.empty() ? "" : " ") + f->name;
    EXPECT_EQ(rows, "name center azimuth elevation yawRate pitchRate scale sunColor lightColor "
                    "drawHalos drawGlare glareDecayRate");
    EXPECT_EQ(sun->elevation, 0.0f) << "Create replaces the table's 0.4";
    EXPECT_EQ(sun->scale, 1.0f);
    EXPECT_EQ(sun->glareDecayRate, 0.0f);
    EXPECT_TRUE(sun->TestFlag(ENT_FLAG_PASSABLE));
    ASSERT_GE(sun->light, 0);
    EXPECT_EQ(I3dLightGet(sun->light)->type, 3) << "a directional light";
    EXPECT_GE(EcSunDiscTexture(), 0) << "the generated \"SunDisc\" was not loaded";
    EXPECT_GE(EcSunGlareTexture(), 0);
    EXPECT_GE(EcLensFlareTexture(0), 0);
    EXPECT_GE(EcLensFlareTexture(1), 0);
    EXPECT_GE(I3dTexFind("SunDisc"), 0) << "shared under the bare title";
}

TEST_F(SunTest, PlacementAndLightFollowTheSphereAroundTheCentre) {
    auto* sun = Make<Sun>("Sun", world, "Sun");
    sun->center = {10.0f, -20.0f, 30.0f};
    sun->azimuth = 0.7f;
    sun->elevation = 0.3f;
    sun->lightColor[0] = 0.25f;
    sun->lightColor[1] = 0.5f;
    sun->lightColor[2] = 0.75f;
    sun->VarsChanged();
    const float a = 0.7f, e = 0.3f;
    EXPECT_NEAR(sun->pos.x, 10.0f + 1000.0f * std::cos(e) * std::cos(a), 1e-2f);
    EXPECT_NEAR(sun->pos.y, -20.0f + 1000.0f * std::sin(e), 1e-2f);
    EXPECT_NEAR(sun->pos.z, 30.0f + 1000.0f * std::cos(e) * std::sin(a), 1e-2f);
    const I3dLight* l = I3dLightGet(sun->light);
    EXPECT_NEAR(l->direction[0], -std::cos(e) * std::cos(a), 1e-5f) << "from the sun to the centre";
    EXPECT_NEAR(l->direction[1], -std::sin(e), 1e-5f);
    EXPECT_NEAR(l->direction[2], -std::cos(e) * std::sin(a), 1e-5f);
    EXPECT_EQ(l->diffuse[1], 0.5f);
    EXPECT_EQ(l->specular[2], 0.75f);
    EXPECT_EQ(l->enabled, 1);

    // The rates turn it through the offsets, not the properties.
    sun->yawRate = 0.1f;
    sun->pitchRate = 0.2f;
    sun->Update(2.0f);
    EXPECT_FLOAT_EQ(sun->TotalAzimuth(), 0.9f);
    EXPECT_FLOAT_EQ(sun->TotalElevation(), 0.7f);
    EXPECT_EQ(sun->azimuth, 0.7f);
}

TEST_F(SunTest, FlareIsMadeUnderVeryLastThenWorldThenTheRoot) {
    Sun* sun = MakeSun(0.0f, 0.5f);
    LensFlare* f = FlareOf(sun);
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(EntGetParent(f), veryLast);
    EXPECT_STREQ(f->GetName(), "Lens halos");
    EXPECT_EQ(f->flareSize, 2.0f);
    EXPECT_EQ(f->color, 0xAFFFFFFFu);
    EXPECT_EQ(f->masterAlpha, 0.0f);
    sun->Start();
    EXPECT_EQ(FlareOf(sun), f) << "a second start keeps its flare";
    ENTBASE* flares[4] = {};
    EXPECT_EQ(EntFindAllOfType(root, "LensFlare", flares, 4), 1);

    EntDestroyTree(veryLast);
    veryLast = nullptr;
    EXPECT_EQ(FlareOf(sun), nullptr) << "the flare went with its parent";
    auto* second = Make<Sun>("Sun", world, "Sun2");
    second->Start();
    EXPECT_EQ(EntGetParent(FlareOf(second)), world);

    EntDestroyTree(world);
    world = nullptr;
    auto* third = Make<Sun>("Sun", root, "Sun3");
    third->Start();
    EXPECT_EQ(EntGetParent(FlareOf(third)), root);
}

// The flare starts hidden; the sun shows it at 5 degrees and above with "drawHalos" on and
// hides it otherwise (flag 0x1 would otherwise never let it draw, nor hide it again).
TEST_F(SunTest, FlareShowsAtFiveDegreesWithHalosAndHidesBelowOrWithout) {
    auto* sun = Make<Sun>("Sun", world, "Sun");
    sun->Start();
    LensFlare* f = FlareOf(sun);
    ASSERT_NE(f, nullptr);
    EXPECT_TRUE(f->TestFlag(0x1)) << "hidden until the sun shows it";
    sun->elevation = 0.087265f;
    sun->VarsChanged();
    EXPECT_FALSE(f->TestFlag(0x1));
    EXPECT_EQ(f->pos.x, sun->pos.x);
    EXPECT_EQ(f->pos.y, sun->pos.y);
    const VECTOR3 shown = f->pos;

    sun->elevation = 0.0872f;
    sun->VarsChanged();
    EXPECT_TRUE(f->TestFlag(0x1)) << "just below 5 degrees";
    EXPECT_EQ(f->pos.y, shown.y) << "a hidden flare stays where it was last moved";

    sun->elevation = 1.0f;
    sun->drawHalos = 0;
    sun->VarsChanged();
    EXPECT_TRUE(f->TestFlag(0x1));
    sun->drawHalos = 1;
    sun->VarsChanged();
    EXPECT_FALSE(f->TestFlag(0x1));
}

TEST_F(SunTest, DiscDrawsWithItsStatesAndPutsDepthWritesAndFogBack) {
    Sun* sun = MakeSun(0.0f, 0.5f);
    sun->sunColor = 0xFF80C0E0u;
    sun->scale = 0.03f;
    I3dResetStateCache(); // every state the draw asks for reaches the log
    D3dSetFogEnable(1);
    D3dSetZWrite(1);
    LookFrom({0, 0, 0}, sun->pos);
    Log().Clear();
    EXPECT_EQ(sun->DrawPre(), 0) << "the walk does not descend";
    const std::vector<DrawStates> draws = StatesAtDraws(Log());
    ASSERT_EQ(draws.size(), 1u);
    const DrawStates& s = draws[0];
    EXPECT_EQ(s.rs.at(D3DRS_CULLMODE), uint64_t(D3DCULL_NONE));
    EXPECT_EQ(s.rs.at(D3DRS_ZFUNC), uint64_t(D3DCMP_ALWAYS));
    EXPECT_EQ(s.rs.at(D3DRS_ZWRITEENABLE), 0u);
    EXPECT_EQ(s.rs.at(D3DRS_LIGHTING), 0u);
    EXPECT_EQ(s.rs.at(D3DRS_FOGENABLE), 0u);
    EXPECT_EQ(s.rs.at(D3DRS_ALPHABLENDENABLE), 1u);
    EXPECT_EQ(s.rs.at(D3DRS_SRCBLEND), uint64_t(D3DBLEND_SRCALPHA));
    EXPECT_EQ(s.rs.at(D3DRS_DESTBLEND), uint64_t(D3DBLEND_INVSRCALPHA));
    EXPECT_EQ(s.rs.at(D3DRS_ALPHATESTENABLE), 1u);
    EXPECT_EQ(s.rs.at(D3DRS_ALPHAREF), 2u);
    EXPECT_EQ(s.rs.at(D3DRS_ALPHAFUNC), uint64_t(D3DCMP_GREATER));
    EXPECT_EQ(s.rs.at(D3DRS_TEXTUREFACTOR), 0xFF80C0E0u);
    EXPECT_EQ(s.stage0.at(D3DTSS_COLOROP), uint64_t(D3DTOP_MODULATE));
    EXPECT_EQ(s.stage0.at(D3DTSS_COLORARG1), uint64_t(D3DTA_TEXTURE));
    EXPECT_EQ(s.stage0.at(D3DTSS_COLORARG2), uint64_t(D3DTA_TFACTOR));
    EXPECT_EQ(s.stage0.at(D3DTSS_ALPHAOP), uint64_t(D3DTOP_MODULATE));
    EXPECT_EQ(s.stage1.at(D3DTSS_COLOROP), uint64_t(D3DTOP_DISABLE));
    EXPECT_EQ(D3dStageTexture(0), EcSunDiscTexture());
    EXPECT_EQ(D3dGetRenderState(D3DRS_ZWRITEENABLE), 1u) << "depth writes back on";
    EXPECT_EQ(D3dGetRenderState(D3DRS_FOGENABLE), 1u) << "fog put back as it was";

    // A negative scale draws a mirrored disc; class bit 0x2 off draws nothing.
    sun->scale = -0.5f;
    Log().Clear();
    sun->DrawPre();
    EXPECT_EQ(StatesAtDraws(Log()).size(), 1u);
    sun->SetClassFlags(sun->GetClassFlags() & ~0x2u);
    Log().Clear();
    sun->DrawPre();
    EXPECT_EQ(StatesAtDraws(Log()).size(), 0u);
    WorldClassFlags<Sun>::Reset();
}

TEST_F(SunTest, GlareIsFullLookingIntoTheSunAndDecaysByItsRate) {
    Sun* sun = MakeSun(0.0f, 0.5f);
    LookFrom({0, 0, 0}, sun->pos);
    I3dResetStateCache();
    Log().Clear();
    EntTreeSendGated(sun->node, 15, 0, 0, 0);
    EXPECT_NEAR(sun->glare, 255.0f, 0.01f);
    const std::vector<DrawStates> draws = StatesAtDraws(Log());
    ASSERT_EQ(draws.size(), 1u) << "the glare quad";
    EXPECT_EQ(draws[0].rs.at(D3DRS_TEXTUREFACTOR) >> 24, 255u);
    EXPECT_EQ(D3dStageTexture(0), EcSunGlareTexture());
    Mat4 view;
    I3dGetViewMatrix(&view);
    EXPECT_NE(view.m[0], 1.0f) << "the camera's view is put back";

    // Rate 0: cleared at every update, so it never builds up.
    sun->Update(0.01f);
    EXPECT_EQ(sun->glare, 0.0f);
    // Rate 0.2: 51 a second.
    sun->Hook15();
    sun->glareDecayRate = 0.2f;
    sun->Update(1.0f);
    EXPECT_NEAR(sun->glare, 204.0f, 0.01f);
    sun->Update(0.5f);
    EXPECT_NEAR(sun->glare, 178.5f, 0.01f);

    // Looking away by more than acos(0.97) adds nothing; a level below the target rises to it.
    sun->glare = 0.0f;
    LookFrom({0, 0, 0}, {sun->pos.x, sun->pos.y + 400.0f, sun->pos.z});
    sun->Hook15();
    EXPECT_EQ(sun->glare, 0.0f);
}

TEST_F(SunTest, NoGlareBelowFiveDegreesOrWhenSwitchedOff) {
    Sun* sun = MakeSun(0.0f, 0.087f);
    LookFrom({0, 0, 0}, sun->pos);
    Log().Clear();
    EXPECT_EQ(sun->Hook15(), 0);
    EXPECT_EQ(sun->glare, 0.0f);
    sun->elevation = 0.087265f;
    sun->VarsChanged();
    LookFrom({0, 0, 0}, sun->pos);
    sun->drawGlare = 0;
    EXPECT_EQ(sun->Hook15(), 0);
    EXPECT_EQ(sun->glare, 0.0f);
    EXPECT_EQ(StatesAtDraws(Log()).size(), 0u);
    sun->drawGlare = 1;
    sun->Hook15();
    EXPECT_GT(sun->glare, 250.0f) << "exactly 5 degrees may glare";
}

// Only message 15 reaches the glare: the draw walks never do.
TEST_F(SunTest, NoFrameWalkDrawsTheGlare) {
    Sun* sun = MakeSun(0.0f, 0.5f);
    LookFrom({0, 0, 0}, sun->pos);
    EntTreeDrawPre(root);
    EntTreeDraw(root);
    EntTreeDrawPost(root);
    EntTreeUpdate(root, 0.1f);
    EXPECT_EQ(sun->glare, 0.0f);
}

// Every light taken: the sun still draws its disc, and takes a light at a later VarsChanged.
TEST_F(SunTest, WithoutAFreeLightTheSunDrawsAndTriesAgain) {
    std::vector<int> taken;
    for (int l; (l = I3dLightAlloc()) >= 0;)
        taken.push_back(l);
    auto* sun = Make<Sun>("Sun", world, "Sun");
    EXPECT_EQ(sun->light, -1);
    sun->Start();
    sun->elevation = 0.5f;
    sun->VarsChanged();
    Log().Clear();
    sun->DrawPre();
    EXPECT_EQ(StatesAtDraws(Log()).size(), 1u);
    I3dLightFree(taken.back());
    taken.pop_back();
    sun->VarsChanged();
    ASSERT_GE(sun->light, 0) << "a freed light is taken at the next apply";
    EXPECT_EQ(I3dLightGet(sun->light)->type, 3);
    EXPECT_NEAR(I3dLightGet(sun->light)->direction[1], -std::sin(0.5f), 1e-5f);
    for (int l : taken)
        I3dLightFree(l);
    const int light = sun->light;
    EntDestroyTree(sun);
    EXPECT_EQ(I3dLightGet(light)->inUse, 0);
}

// A flare destroyed behind the sun's back (by a script) is forgotten, not touched.
TEST_F(SunTest, AFlareDestroyedFirstIsForgotten) {
    Sun* sun = MakeSun(0.0f, 0.5f);
    ENTBASE* f = EntTreeFindName(root, "Lens halos");
    ASSERT_NE(f, nullptr);
    EntDestroyTree(f);
    sun->Update(0.1f);
    sun->VarsChanged();
    EXPECT_EQ(sun->Flare(), nullptr);
    const int light = sun->light;
    EntDestroyTree(sun);
    EXPECT_EQ(I3dLightGet(light)->inUse, 0) << "the light was given back";
}

TEST_F(SunTest, ASunNeverStartedIsDestroyedCleanly) {
    auto* sun = Make<Sun>("Sun", world, "Sun");
    ASSERT_NE(sun, nullptr);
    EntDestroyTree(sun);
    EXPECT_EQ(EntTreeFindName(root, "Lens halos"), nullptr);
}

// The sun, its flare, a time of day and a sky dome in every order under one parent, and with
// the flare's parent before or after the sun: destroying the whole world is clean.
TEST_F(SunTest, WorldsAreDestroyedCleanlyInEveryChildOrder) {
    const char* classes[4] = {"Sun", "TimeOfDay", "SkyDome", "EntNull"};
    const char* names[4] = {"Sun", "TimeOfDay", "SkyDome", "VeryLast"};
    EntDestroyTree(veryLast);
    veryLast = nullptr;
    int order[4] = {0, 1, 2, 3};
    int worlds = 0;
    do {
        ENTBASE* w = Make("EntNull", root, "Scene");
        for (int i : order)
            Make(classes[i], w, names[i]);
        EntTreeStart(w);
        EntTreeUpdate(w, 0.5f);
        EXPECT_NE(EntTreeFindType(w, "LensFlare"), nullptr);
        EntDestroyTree(w);
        EXPECT_EQ(EntTreeFindType(root, "LensFlare"), nullptr);
        ++worlds;
    } while (std::next_permutation(order, order + 4));
    EXPECT_EQ(worlds, 24);
    for (int l = 0; l < I3dLightCount(); ++l)
        EXPECT_EQ(I3dLightGet(l)->inUse, 0) << "light " << l << " was kept";
}

} // namespace
