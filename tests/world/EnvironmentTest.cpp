// The environment and the light on the recording layer: what the first walk sends and in which
// order, the underwater switch, the class bit, the seeded wind, the cube map's life, and the
// light's kernel record, its direction, camera and refusals.
#include "world/Environment.h"
#include "I3d/Camera.h"
#include "I3d/Lights.h"
#include "I3d/Materials.h"
#include "I3d/Math/Mat4Math.h"
#include "I3d/Textures.h"
#include "datagen/Images/ImageWriters.h"
#include "engine/EntTree.h"
#include "engine/PropDb.h"
#include "engine/Random.h"
#include "tests/I3d/KernelFixture.h"
#include "tests/world/WorldTestClasses.h"
#include "world/EntLight.h"

#include <array>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

uint64_t Bits(float f) {
    uint32_t u;
    std::memcpy(&u, &f, sizeof u);
    return u;
}

class EnvironmentTest : public KernelTest {
  protected:
    void SetUp() override {
        KernelTest::SetUp();
        StartRecordingDevice();
        ASSERT_EQ(I3dTexTableAlloc(64), 0);
        RegisterWorldTestClasses();
        root = Make("EntNull", nullptr, "Root");
        env = Make<Environment>("Environment", root, "Environment");
        ASSERT_NE(env, nullptr);
        Log().Clear();
    }
    void TearDown() override {
        WorldClassFlags<Environment>::Reset();
        EntDestroyTree(root);
        EntSystemShutdown();
        I3dTexTableFree();
        KernelTest::TearDown();
    }
    void Eye(float y) {
        const VECTOR3 eye = {0.0f, y, 0.0f};
        I3dSetEyePos(&eye);
    }
    // The render states of the log, as "state=value".
    std::vector<std::pair<uint64_t, uint64_t>> States() {
        std::vector<std::pair<uint64_t, uint64_t>> out;
        for (const D3dCall& c : Log().Named("SetRenderState"))
            out.emplace_back(c.args[0], c.args[1]);
        return out;
    }
    int RenderState(uint64_t state, uint64_t value) {
        return Log().Find("SetRenderState", {state, value});
    }

    ENTBASE* root = nullptr;
    Environment* env = nullptr;
};

TEST_F(EnvironmentTest, TableRowsAreTheFileAndScriptInterfaceInOrder) {
    std::string rows;
    for (PropField* f = env->classDb->first; f; f = f->next)
        rows += std::string(rows.empty() ? "" : " ") + f->name;
    EXPECT_EQ(rows, "General: name environTexName ambient Fog: fogEnable fogStart fogEnd fogClr "
                    "Underwater Fog: uwFogEnable uwFogStart uwFogEnd uwFogClr uwFogElv Wind: "
                    "windMag windDir wind");
    EXPECT_EQ(env->fogStart, 4.0f);
    EXPECT_EQ(env->fogEnd, 5.0f);
    EXPECT_EQ(env->cubeMap, -1);
    EXPECT_TRUE(env->TestFlag(ENT_FLAG_PASSABLE));
}

TEST_F(EnvironmentTest, FirstWalkSendsAmbientThenLinearFogInOrderWithTheEndCut) {
    env->ambient[0] = 0.5f;
    env->ambient[1] = 0.25f;
    env->ambient[2] = 0.0f;
    env->fogStart = 300.0f;
    env->fogEnd = 1e9f; // beyond the far distance
    env->fogClr[0] = 1.0f;
    env->fogClr[1] = 0.0f;
    env->fogClr[2] = 0.0f;
    Eye(50.0f);
    EXPECT_EQ(env->DrawPre(), 1);
    const int ambient = RenderState(D3DRS_AMBIENT, 0xFF7F3F00u);
    const int mode = RenderState(D3DRS_FOGTABLEMODE, D3DFOG_LINEAR);
    const int enable = RenderState(D3DRS_FOGENABLE, 1);
    const int start = RenderState(D3DRS_FOGSTART, Bits(300.0f));
    const int end = RenderState(D3DRS_FOGEND, Bits(200000.0f));
    const int colour = RenderState(D3DRS_FOGCOLOR, 0xFFFF0000u);
    ASSERT_GE(ambient, 0);
    EXPECT_LT(ambient, mode);
    EXPECT_LT(mode, enable);
    EXPECT_LT(enable, start);
    EXPECT_LT(start, end) << "the end is cut to the kernel's far distance";
    EXPECT_LT(end, colour);
}

TEST_F(EnvironmentTest, UnderwaterSetOnlyStrictlyBelowTheHeight) {
    env->uwFogElv = 10.0f;
    env->fogStart = 100.0f;
    env->uwFogStart = -7.0f;
    env->uwFogEnable = 0;
    Eye(9.99f);
    env->DrawPre();
    EXPECT_GE(RenderState(D3DRS_FOGSTART, Bits(-7.0f)), 0);
    EXPECT_GE(RenderState(D3DRS_FOGENABLE, 0), 0);
    Log().Clear();
    Eye(10.0f);
    env->DrawPre();
    EXPECT_GE(RenderState(D3DRS_FOGSTART, Bits(100.0f)), 0) << "exactly equal is above water";
    EXPECT_GE(RenderState(D3DRS_FOGENABLE, 1), 0);
}

TEST_F(EnvironmentTest, ClassBitClearSendsNothingAndTheWalkGoesOn) {
    env->SetClassFlags(0x1F & ~0x2u);
    EXPECT_EQ(env->DrawPre(), 1);
    EXPECT_EQ(Log().Count("SetRenderState"), 0);
    EXPECT_EQ(env->Update(0.1f), 0) << "the update walk does not descend";
}

TEST_F(EnvironmentTest, BadFogValuesReachTheDeviceClampedNeverAsNan) {
    env->fogStart = 500.0f;
    env->fogEnd = -20.0f; // start beyond end: sent as given
    env->fogClr[0] = std::nanf("");
    env->ambient[1] = std::nanf("");
    Eye(100.0f);
    env->DrawPre();
    EXPECT_GE(RenderState(D3DRS_FOGEND, Bits(-20.0f)), 0);
    EXPECT_GE(RenderState(D3DRS_FOGCOLOR, 0xFF00FFFFu), 0) << "a NaN channel counts as 0";
    EXPECT_GE(RenderState(D3DRS_AMBIENT, 0xFFFF00FFu), 0);
}

TEST_F(EnvironmentTest, WindSettlesAndTurnsSlowlyWhenStrongWidelyWhenFaint) {
    CrtSrand(1234);
    EXPECT_EQ(env->windMag, 10.0f);
    env->WindStep();
    EXPECT_EQ(env->windMag, 1.0f);
    for (int i = 0; i < 200; ++i) {
        const float before = env->windDir;
        env->WindStep();
        EXPECT_LT(std::fabs(env->windDir - before), 0.0087f / env->windMag + 1e-6f);
        EXPECT_GE(env->windMag, 1.1920929e-7f);
        EXPECT_LE(env->windMag, 1.0f);
    }
    float widest = 0.0f;
    for (int i = 0; i < 200; ++i) {
        env->windMag = 1.1920929e-7f;
        const float before = env->windDir;
        env->Update(0.016f);
        const float step = std::fabs(env->windDir - before);
        EXPECT_LE(step, 3.141593f);
        if (env->windMag <= 1.1920929e-7f) widest = std::max(widest, step);
        EXPECT_GE(env->windMag, 1.1920929e-7f);
    }
    EXPECT_GT(widest, 1.0f) << "a calm wind wanders up to half a turn a step";
    env->windMag = std::nanf("");
    env->WindStep();
    EXPECT_GE(env->windMag, 1.1920929e-7f) << "a NaN from a file counts as calm";
}

// A cube (or, with `flat`, a 2-D texture) written into the scratch folder; its whole path.
std::string WriteCube(const TempDir& dir, bool flat) {
    GenImage face(8, 8);
    for (uint32_t y = 0; y < 8; ++y)
        for (uint32_t x = 0; x < 8; ++x)
            face.Set(x, y, 0xFF3060A0u);
    const GenChain chain = GenMipChain(face);
    const std::string path = dir / (flat ? "flat.dds" : "cube.dds");
    const std::array<GenChain, 6> faces = {chain, chain, chain, chain, chain, chain};
    EXPECT_TRUE(GenWriteFile(path, flat ? GenDdsBytes(GenDds::Argb32, chain)
                                        : GenDdsCubeBytes(GenDds::Argb32, faces)));
    return path;
}

TEST_F(EnvironmentTest, MissingFlatOrFolderCubeMapMeansNone) {
    TempDir dir;
    for (const std::string& name :
         {std::string("no such cube.dds"), WriteCube(dir, true), std::string(dir / "")}) {
        std::snprintf(env->environTexName, sizeof env->environTexName, "%s", name.c_str());
        EXPECT_EQ(env->Start(), 0);
        EXPECT_EQ(env->cubeMap, -1) << name;
        EXPECT_EQ(I3dGetEnvMapTexture(), -1) << name;
    }
}

TEST_F(EnvironmentTest, CubeMapIsTheKernelsUntilDestroyTakesItBack) {
    TempDir dir;
    std::snprintf(env->environTexName, sizeof env->environTexName, "%s",
                  WriteCube(dir, false).c_str());
    env->Start();
    ASSERT_GE(env->cubeMap, 0);
    EXPECT_EQ(I3dGetEnvMapTexture(), env->cubeMap);
    const int slot = env->cubeMap;
    env->Start();
    EXPECT_EQ(env->cubeMap, slot) << "loaded once";
    EntDestroyTree(root);
    root = Make("EntNull", nullptr, "Root");
    EXPECT_EQ(I3dGetEnvMapTexture(), -1) << "materials would bind a freed slot";
}

// ---- the light ----

class LightTest : public EnvironmentTest {
  protected:
    EntLight* NewLight(int type) {
        auto* l = Make<EntLight>("Light", root, "Lamp");
        l->type = type;
        l->Start();
        return l;
    }
    D3DLIGHT8 Sent(int index) {
        const std::vector<D3dCall> calls = Log().Named("SetLight");
        for (auto it = calls.rbegin(); it != calls.rend(); ++it)
            if (it->args[0] == uint64_t(index)) return it->DataAs<D3DLIGHT8>();
        return D3DLIGHT8{};
    }
};

TEST_F(LightTest, TableAndCreateValues) {
    auto* l = Make<EntLight>("Light", root, "Lamp");
    std::string rows;
    for (PropField* f = l->classDb->first; f; f = f->next)
        rows += std::string(rows.empty() ? "" : " ") + f->name;
    EXPECT_EQ(rows, "name pos type color pitch yaw theta range");
    EXPECT_EQ(l->type, 1);
    EXPECT_EQ(l->range, 1000.0f);
    EXPECT_EQ(l->light, -1) << "Create takes no kernel light";
    EXPECT_EQ(l->localBox[0], -2.0f);
    EXPECT_EQ(l->localBox[5], 2.0f);
}

TEST_F(LightTest, TypeZeroHoldsNoneAndASpotTakesOneWithItsCone) {
    EntLight* l = NewLight(0);
    EXPECT_EQ(l->light, -1);
    EXPECT_EQ(Log().Count("SetLight"), 0);
    l->type = 2;
    l->theta = 0.4f;
    l->VarsChanged();
    ASSERT_GE(l->light, 0);
    const D3DLIGHT8 sent = Sent(l->light);
    EXPECT_EQ(sent.Type, D3DLIGHT_SPOT);
    EXPECT_FLOAT_EQ(sent.Theta, 0.4f);
    EXPECT_FLOAT_EQ(sent.Phi, 0.6f);
    const int held = l->light;
    l->type = 0;
    l->VarsChanged();
    EXPECT_EQ(l->light, -1);
    EXPECT_EQ(I3dLightGet(held)->inUse, 0) << "a light turned off gives its record back";
}

TEST_F(LightTest, PointLightEndsWithConstantAttenuation) {
    EntLight* l = NewLight(1);
    ASSERT_GE(l->light, 0);
    const D3DLIGHT8 sent = Sent(l->light);
    EXPECT_EQ(sent.Attenuation0, 1.0f);
    EXPECT_EQ(sent.Attenuation2, 0.0f) << "mode 1 then mode 0";
    EXPECT_EQ(I3dLightGet(l->light)->attenuationMode, 0);
    l->type = 7; // a point light on the device, without the modes
    l->VarsChanged();
    EXPECT_FLOAT_EQ(Sent(l->light).Attenuation2, 10.0f / (1000.0f * 1000.0f));
}

TEST_F(LightTest, DirectionIsTheThirdRowOfYawThenPitch) {
    EntLight* l = NewLight(3);
    l->yaw = 0.7f;
    l->pitch = -0.3f;
    l->pos = {5.0f, 6.0f, 7.0f};
    l->VarsChanged();
    Mat4 m;
    Mat4Identity(&m);
    Mat4RotateY(&m, 0.7f);
    Mat4RotateX(&m, -0.3f);
    const D3DLIGHT8 sent = Sent(l->light);
    EXPECT_FLOAT_EQ(sent.Direction.x, m.m[8]);
    EXPECT_FLOAT_EQ(sent.Direction.y, m.m[9]);
    EXPECT_FLOAT_EQ(sent.Direction.z, m.m[10]);
    EXPECT_NEAR((l->worldBox[0] + l->worldBox[3]) * 0.5f, 5.0f, 1e-4f) << "bounds follow the light";

    CameraDesc cam{};
    EXPECT_EQ(l->GetCamera(&cam), 1);
    EXPECT_FLOAT_EQ(cam.fov, 1.57077f);
    EXPECT_EQ(cam.valid, 1);
    EXPECT_EQ(cam.eye.y, 6.0f);
    Mat4 back;
    Mat4Mul(&l->matrix, &cam.view, &back);
    for (int i = 0; i < 16; ++i)
        EXPECT_NEAR(back.m[i], (i % 5 == 0) ? 1.0f : 0.0f, 1e-5f) << i;
}

TEST_F(LightTest, NoFreeRecordMeansNothingSentAndALaterApplyTakesOne) {
    std::vector<int> taken;
    for (int i; (i = I3dLightAlloc()) >= 0;)
        taken.push_back(i);
    ASSERT_FALSE(taken.empty());
    Log().Clear();
    EntLight* l = NewLight(1);
    EXPECT_EQ(l->light, -1);
    EXPECT_EQ(Log().Count("SetLight"), 0);
    I3dLightFree(taken.back());
    l->VarsChanged();
    EXPECT_EQ(l->light, taken.back());
    for (size_t i = 0; i + 1 < taken.size(); ++i)
        I3dLightFree(taken[i]);
}

TEST_F(LightTest, RangeOfZeroOrLessKeepsThePreviousOne) {
    EntLight* l = NewLight(1);
    l->range = 0.0f;
    l->VarsChanged();
    EXPECT_EQ(l->range, 1000.0f);
    l->range = 250.0f;
    l->VarsChanged();
    l->range = -5.0f;
    l->VarsChanged();
    EXPECT_EQ(l->range, 250.0f);
    EXPECT_NE(LogText().find("Light: range -5 refused"), std::string::npos);
    EXPECT_TRUE(std::isfinite(Sent(l->light).Attenuation2));
}

} // namespace
