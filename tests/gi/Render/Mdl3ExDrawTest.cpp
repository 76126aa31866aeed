// Extended-model drawing on the recording layer: which shader a material gets, the states every
// pass sends, the environment pass only with a map, untextured materials unbinding stage 0, the
// distance fade reaching the device material, the LOD scale at model and node level, and the
// point lights emitted as glows.
#include "I3d/Shader.h"
#include "I3d/StateCache.h"
#include "I3d/Textures.h"
#include "gi/Render/Mdl3ExShaders.h"
#include "tests/gi/Render/Mdl3ExFixture.h"
#include "world/Particles/ParticleSys.h"

#include <cmath>
#include <map>

namespace {

// A unit box at the origin whose root is drawn to 100 and fades over the last 10, with a node
// of its own far limit (50) and one that ignores distance.
const char* const kFar = R"(
model Far
material Red diffuse 1 0 0 1 ambient 1 0 0 1
node Root
node Box parent Root box 1 1 1 material Red
node Near parent Root box 1 1 1 material Red maxdist 50
node Always parent Root box 1 1 1 material Red maxdist 50 infinitevis
)";

class Mdl3ExDrawing : public Mdl3ExTest {
  protected:
    void SetUp() override {
        Mdl3ExTest::SetUp();
        StartRecordingDevice();
        ASSERT_EQ(I3dTexTableAlloc(64), 0);
        Mat4 proj;
        I3dSetProj(Mat4Perspective(&proj, 3.141592f / 2, 0.75f, 0.1f, 300000.0f));
        EyeAt(-10);
        I3dSetWorld(&kIdentity);
    }
    void TearDown() override {
        Mdl3SetLodScale(1.0f);
        Mdl3ExTest::TearDown();
        I3dTexTableFree();
    }
    static void EyeAt(float z) {
        VECTOR3 eye = {0, 0, z}, at = {0, 0, z + 1}, up = {0, 1, 0};
        Mat4 view;
        I3dSetView(Mat4LookAt(&view, &eye, &at, &up));
        I3dSetEyePos(&eye);
    }
    Mdl3ExModel* FarModel() {
        Mdl3ExModel* m = Load(Scene(kFar));
        if (m) {
            m->mdl->nodes[0].maxDist = 100.0f;
            m->mdl->nodes[0].fadeRange = 10.0f;
        }
        return m;
    }
    int Draws(Mdl3ExModel* m) {
        Log().Clear();
        I3dSetWorld(&kIdentity);
        Mdl3ExDraw(m);
        return Log().Count("DrawIndexedPrimitive");
    }
    static float DiffuseAlpha() {
        std::vector<D3dCall> set = D3dRecordingLog().Named("SetMaterial");
        return set.empty() ? -1.0f : set.back().DataAs<D3DMATERIAL8>().Diffuse.a;
    }
    // The values a pass sent, everything counted as unsent before it.
    struct Sent {
        std::map<uint64_t, uint64_t> rs;                      // render state -> value
        std::map<std::pair<uint64_t, uint64_t>, uint64_t> ts; // (stage, type) -> value
        D3DMATERIAL8 material{};
        int materials = 0;
    };
    Sent RunPass(ShaderPassFn pass) {
        I3dResetStateCache();
        Log().Clear();
        pass();
        Sent s;
        for (const D3dCall& c : Log().Calls()) {
            if (c.name == "SetRenderState") s.rs[c.args[0]] = c.args[1];
            if (c.name == "SetTextureStageState") s.ts[{c.args[0], c.args[1]}] = c.args[2];
            if (c.name == "SetMaterial") {
                s.material = c.DataAs<D3DMATERIAL8>();
                ++s.materials;
            }
        }
        return s;
    }
};

// ---- shaders ----

TEST_F(Mdl3ExDrawing, TheMaterialsMapsChooseTheShader) {
    Mdl3ExModel* m =
        Load(Scene(std::string(kLightPost) + "texture ShinySpec solid 8 9 9 9\n"
                                             "texture Shiny solid 8 200 200 200\n"
                                             "material Chrome map Shiny\n"
                                             "node Ball parent Root box 1 1 1 material Chrome\n"));
    ASSERT_NE(m, nullptr);
    ASSERT_EQ(m->mdl->numMaterials, 3);
    EXPECT_EQ(Mdl3ExShaderOf(m, 2), Mdl3ExShaderNamed("TexEnv")) << "diffuse map and specular map";
    EXPECT_EQ(Mdl3ExShaderOf(m, 0), Mdl3ExShaderNamed("DifEmi")) << "an Emit map, emissive on";
    m->emissiveOn = 0;
    EXPECT_EQ(Mdl3ExShaderOf(m, 0), Mdl3ExShaderNamed("Dif")) << "emissive off";
    EXPECT_EQ(Mdl3ExShaderOf(m, 1), Mdl3ExShaderNamed("Dif")) << "no maps at all";
    EXPECT_EQ(Mdl3ExShaderOf(m, 3), nullptr);
}

// The default venue's trees carry both maps, so the specular and the emissive shaders draw in
// every game of it.
TEST_F(Mdl3ExDrawing, TheShippedTreeDrawsWithTheSpecularAndTheEmissiveShader) {
    Mdl3ExModel* m = Load(FAIRLARK_BUILD_DATA_DIR "Models/Scenery/Tree.md3");
    ASSERT_NE(m, nullptr);
    ASSERT_NE(m->mdl, nullptr);
    bool specular = false, emissive = false;
    for (int i = 0; i < m->mdl->numMaterials; ++i) {
        specular = specular || Mdl3ExShaderOf(m, i) == Mdl3ExShaderNamed("TexEnv");
        emissive = emissive || Mdl3ExShaderOf(m, i) == Mdl3ExShaderNamed("DifEmi");
    }
    EXPECT_TRUE(specular) << "no material of the tree has a specular map beside its texture";
    EXPECT_TRUE(emissive) << "no material of the tree has an Emit map";
}

TEST_F(Mdl3ExDrawing, EveryPassSendsItsStates) {
    Load(Scene(kLightPost)); // the shaders exist while a model does
    Mdl3ExSetColorSlot(MDL3EX_COLOR_DIFFUSE, 0.5f, 0.25f, 1.0f, 0.8f);
    Mdl3ExSetColorSlot(MDL3EX_COLOR_AMBIENT, 0.1f, 0.2f, 0.3f, 1.0f);
    float got[4];
    Mdl3ExGetColorSlot(MDL3EX_COLOR_DIFFUSE, got);
    EXPECT_EQ(got[3], 0.8f);
    for (ShaderPassFn pass : {Mdl3ExPassSolidTexture, Mdl3ExPassTexEnv0, Mdl3ExPassClrEnv0,
                              Mdl3ExPassDifEmi, Mdl3ExPassDif}) {
        Sent s = RunPass(pass);
        EXPECT_EQ(s.rs[D3DRS_ZWRITEENABLE], 1u);
        EXPECT_EQ(s.rs[D3DRS_ZFUNC], (uint64_t)D3DCMP_LESSEQUAL);
        EXPECT_EQ(s.rs[D3DRS_CULLMODE], (uint64_t)D3DCULL_CCW);
        EXPECT_EQ(s.rs[D3DRS_LIGHTING], 1u);
        EXPECT_EQ(s.rs[D3DRS_ALPHABLENDENABLE], 1u);
        EXPECT_EQ(s.rs[D3DRS_SRCBLEND], (uint64_t)D3DBLEND_SRCALPHA);
        EXPECT_EQ(s.rs[D3DRS_DESTBLEND], (uint64_t)D3DBLEND_INVSRCALPHA);
        EXPECT_EQ(s.rs[D3DRS_DIFFUSEMATERIALSOURCE], (uint64_t)D3DMCS_MATERIAL);
        EXPECT_EQ(s.materials, 1);
        EXPECT_EQ(s.material.Power, 10.0f);
        EXPECT_EQ(s.material.Diffuse.b, 1.0f) << "material colours from the colour slots";
        EXPECT_EQ(s.material.Ambient.g, 0.2f);
        EXPECT_EQ((s.ts[{0, D3DTSS_TEXCOORDINDEX}]), 0u);
        EXPECT_EQ((s.ts[{0, D3DTSS_MINFILTER}]), (uint64_t)D3DTEXF_LINEAR);
    }
    // The alpha test: compare set to greater than 2, then the test switched off.
    for (ShaderPassFn pass : {Mdl3ExPassSolidTexture, Mdl3ExPassDifEmi, Mdl3ExPassDif}) {
        Sent s = RunPass(pass);
        EXPECT_EQ(s.rs[D3DRS_ALPHAFUNC], (uint64_t)D3DCMP_GREATER);
        EXPECT_EQ(s.rs[D3DRS_ALPHAREF], 2u);
        EXPECT_EQ(s.rs[D3DRS_ALPHATESTENABLE], 0u);
    }
    Sent solid = RunPass(Mdl3ExPassSolidTexture);
    EXPECT_EQ((solid.ts[{0, D3DTSS_ALPHAARG2}]), (uint64_t)D3DTA_TFACTOR);
    EXPECT_EQ(solid.rs[D3DRS_TEXTUREFACTOR], 0xFFFFFFFFu);
    Sent clr = RunPass(Mdl3ExPassClrEnv0);
    EXPECT_EQ(clr.rs[D3DRS_SPECULARENABLE], 0u) << "the one pass without specular";
    EXPECT_EQ((clr.ts[{0, D3DTSS_COLORARG2}]), (uint64_t)D3DTA_TFACTOR);
    Sent emi = RunPass(Mdl3ExPassDifEmi);
    EXPECT_EQ((emi.ts[{1, D3DTSS_COLOROP}]), (uint64_t)D3DTOP_ADD);
    EXPECT_EQ((emi.ts[{1, D3DTSS_ALPHAOP}]), (uint64_t)D3DTOP_DISABLE);
    EXPECT_EQ((emi.ts[{1, D3DTSS_TEXCOORDINDEX}]), 0u) << "the vertices carry one pair";
    EXPECT_EQ((emi.ts[{2, D3DTSS_COLOROP}]), (uint64_t)D3DTOP_DISABLE);

    for (auto [pass, factor] :
         {std::pair<ShaderPassFn, uint32_t>{Mdl3ExPassTexEnv1, 0x8f000000u},
          std::pair<ShaderPassFn, uint32_t>{Mdl3ExPassClrEnv1, 0x4f000000u}}) {
        Sent s = RunPass(pass);
        EXPECT_EQ(s.rs[D3DRS_TEXTUREFACTOR], factor);
        EXPECT_EQ(s.rs[D3DRS_SRCBLEND], (uint64_t)D3DBLEND_SRCALPHA);
        EXPECT_EQ(s.rs[D3DRS_DESTBLEND], (uint64_t)D3DBLEND_ONE) << "additive";
        EXPECT_EQ(s.rs.count(D3DRS_ZWRITEENABLE), 0u) << "z, cull and lighting stay as pass 0 set";
        EXPECT_EQ(s.rs.count(D3DRS_LIGHTING), 0u);
        EXPECT_EQ((s.ts[{0, D3DTSS_TEXCOORDINDEX}]),
                  (uint64_t)D3DTSS_TCI_CAMERASPACEREFLECTIONVECTOR);
        EXPECT_EQ((s.ts[{0, D3DTSS_TEXTURETRANSFORMFLAGS}]), (uint64_t)D3DTTFF_COUNT3);
        EXPECT_EQ((s.ts[{0, D3DTSS_ALPHAARG1}]), (uint64_t)D3DTA_TFACTOR);
        EXPECT_EQ(Log().Count("SetTransform", {D3DTS_TEXTURE0}), 1);
    }
    Sent env = RunPass(Mdl3ExPassTexEnv1);
    EXPECT_EQ((env.ts[{1, D3DTSS_ALPHAARG1}]), (uint64_t)D3DTA_TEXTURE)
        << "the specular map's alpha";
    EXPECT_EQ((env.ts[{1, D3DTSS_TEXCOORDINDEX}]), 0u);
}

TEST_F(Mdl3ExDrawing, TheEnvironmentPassRunsOnlyWithAnEnvironmentMap) {
    Mdl3ExModel* m = Load(Scene("model Shiny\ntexture Chrome solid 8 200 200 200\n"
                                "texture ChromeSpec solid 8 99 99 99\nmaterial Metal map Chrome\n"
                                "node Root\nnode Ball parent Root box 1 1 1 material Metal\n"));
    ASSERT_NE(m, nullptr);
    ASSERT_EQ(Mdl3ExShaderOf(m, 0), Mdl3ExShaderNamed("TexEnv"));
    EXPECT_EQ(Draws(m), 1) << "without a map the second pass would add the diffuse map again";
    const int cube = D3dCubeTexFromFile(
        0, (std::string(FAIRLARK_BUILD_DATA_DIR) + "Enviro.dds").c_str(), "enviro");
    ASSERT_GE(cube, 0);
    m->envTexture = cube;
    EXPECT_EQ(Draws(m), 2);
    m->envTexture = -1;
    I3dTexRelease(cube);
}

TEST_F(Mdl3ExDrawing, AnUntexturedMaterialUnbindsStageZero) {
    Mdl3ExModel* m = Load(Scene(kLightPost));
    ASSERT_NE(m, nullptr);
    Log().Clear();
    I3dSetWorld(&kIdentity);
    Mdl3ExDraw(m);
    // The post binds its texture first; the red head must not draw with it.
    const int head = Log().Find("DrawIndexedPrimitive", {}, Log().Find("DrawIndexedPrimitive") + 1);
    ASSERT_GT(head, 0);
    int lastBind = -1;
    for (int i = 0; i < head; ++i)
        if (Log().Calls()[i].name == "SetTexture" && Log().Calls()[i].args[0] == 0) lastBind = i;
    ASSERT_GE(lastBind, 0);
    EXPECT_EQ(Log().Calls()[lastBind].args[1], 0u) << "stage 0 holds no texture for the head";
}

// ---- distance ----

TEST_F(Mdl3ExDrawing, TheFadeReachesTheDeviceMaterialAndEndsAtTheLimit) {
    Mdl3ExModel* m = FarModel();
    ASSERT_NE(m, nullptr);
    EyeAt(-90);
    EXPECT_GT(Draws(m), 0);
    EXPECT_FLOAT_EQ(DiffuseAlpha(), 1.0f);
    EyeAt(-95);
    EXPECT_GT(Draws(m), 0);
    EXPECT_NEAR(DiffuseAlpha(), 0.5f, 1e-4f) << "halfway through the band";
    float slot[4];
    Mdl3ExGetColorSlot(MDL3EX_COLOR_DIFFUSE, slot);
    EXPECT_EQ(slot[3], 1.0f) << "the slot keeps the material's own alpha";
    EyeAt(-100.5f);
    EXPECT_EQ(Draws(m), 0);
    EXPECT_EQ(Log().Count("SetMaterial"), 0);
}

TEST_F(Mdl3ExDrawing, TheLodScaleMultipliesTheLimitTheBandAndTheNodeLimits) {
    Mdl3ExModel* m = FarModel();
    ASSERT_NE(m, nullptr);
    EyeAt(-60);
    EXPECT_EQ(Draws(m), 2) << "the 50-unit node is beyond its limit, the infinitevis one is not";
    Mdl3SetLodScale(2.0f);
    EXPECT_EQ(Draws(m), 3);
    EyeAt(-90);
    EXPECT_EQ(Draws(m), 3) << "the node limit doubles to 100, not to sqrt(2) x 50";
    EyeAt(-190);
    EXPECT_GT(Draws(m), 0);
    EXPECT_NEAR(DiffuseAlpha(), 0.5f, 1e-4f) << "limit 200, band 20";
    EyeAt(-201);
    EXPECT_EQ(Draws(m), 0);
}

TEST_F(Mdl3ExDrawing, AModelOffScreenDrawsNothing) {
    Mdl3ExModel* m = FarModel();
    ASSERT_NE(m, nullptr);
    VECTOR3 eye = {0, 0, -10}, at = {0, 0, -20}, up = {0, 1, 0};
    Mat4 view;
    I3dSetView(Mat4LookAt(&view, &eye, &at, &up));
    EXPECT_EQ(Draws(m), 0);
}

// ---- lights ----

class Mdl3ExLights : public Mdl3ExDrawing {
  protected:
    Mdl3ExModel* Lit() {
        Mdl3ExModel* m = Load(Scene(kLightPost, "[ModelInfo]\nnumPointLights=3\n"
                                                "[PointLights0000]\npos.y=3\nradius=0.5\n"
                                                "color.a=255\ncolor.r=255\ncolor.g=128\n"
                                                "color.b=0\nflashMask=0xaaaaaaaa\n"
                                                "[PointLights0001]\nflashMask=0x55555555\n"
                                                "[PointLights0002]\nflashMask=0xffffffff\n"));
        if (m) Mdl3ExParticles()->count = 0;
        return m;
    }
};

TEST_F(Mdl3ExLights, TheFlashBitsChooseTheLightsAndAGlowIsItsRecord) {
    Mdl3ExModel* m = Lit();
    ASSERT_NE(m, nullptr);
    ParticleSys* sys = Mdl3ExParticles();
    const Mat4 world = Translation(10, 0, 0);
    I3dSetWorld(&world);
    EXPECT_EQ(Mdl3ExEmitLights(m, 1), 2) << "0x55555555 and 0xffffffff share bit 1";
    sys->count = 0;
    ASSERT_EQ(Mdl3ExEmitLights(m, 2), 2);
    const Particle& g = sys->particles[0];
    EXPECT_FLOAT_EQ(g.pos.x, 10.0f) << "pos through the world matrix";
    EXPECT_FLOAT_EQ(g.pos.y, 3.0f);
    EXPECT_FLOAT_EQ(g.size, 0.5f);
    EXPECT_EQ(g.colour, 0xFFFF8000u);
    EXPECT_EQ(g.cell, 0);
    EXPECT_EQ(g.used, 1);
    sys->count = 0;
    m->lights[1].flashMask = m->lights[2].flashMask = 0xaaaaaaaau;
    EXPECT_EQ(Mdl3ExEmitLights(m, 1), 0) << "0xaaaaaaaa hides the light at flash bits 1";
}

TEST_F(Mdl3ExLights, DrawEmitsOnlyWhileLightsAreOnAndAFullSystemDropsTheRest) {
    Mdl3ExModel* m = Lit();
    ASSERT_NE(m, nullptr);
    ParticleSys* sys = Mdl3ExParticles();
    m->flashBits = 0xFFFFFFFFu;
    m->lightsOn = 0;
    Draws(m);
    EXPECT_EQ(sys->count, 0);
    m->lightsOn = 1;
    Draws(m);
    EXPECT_EQ(sys->count, 3);
    sys->count = 398;
    Draws(m);
    EXPECT_EQ(sys->count, 400) << "two of three fit, the third is dropped";
    sys->count = 0;
    m->lights[0].pos.x = std::nanf("");
    EXPECT_EQ(Mdl3ExEmitLights(m, 0xFFFFFFFFu), 2) << "a light at NaN is skipped";
    sys->count = 0;
}

TEST_F(Mdl3ExLights, DrawingWithAMatrixIsTheModelsPlainDrawThenItsLightsThere) {
    Mdl3ExModel* m = Lit();
    ASSERT_NE(m, nullptr);
    const Mat4 world = Translation(0, 0, 5);
    Log().Clear();
    Mdl3ExDrawWithLights(m, &world, 1);
    EXPECT_GT(Log().Count("DrawIndexedPrimitive"), 0);
    EXPECT_EQ(Mdl3ExParticles()->count, 2);
    EXPECT_FLOAT_EQ(Mdl3ExParticles()->particles[0].pos.z, 5.0f) << "the lights under `world`";
    Mdl3ExParticles()->count = 0;
    Log().Clear();
    Mdl3ExDrawPlain(m, &world);
    EXPECT_GT(Log().Count("DrawIndexedPrimitive"), 0);
    EXPECT_EQ(Mdl3ExParticles()->count, 0) << "the plain draw shows no lights";
}

TEST_F(Mdl3ExLights, AnInfoOnlyModelDrawsNothingButStillShowsItsLights) {
    WriteTextFile(m_files / "Beacon.ini", "[ModelInfo]\nnumPointLights=1\n"
                                          "[PointLights0000]\nflashMask=1\n");
    Mdl3ExModel* m = Load(m_files / "Beacon.md3");
    ASSERT_NE(m, nullptr);
    ASSERT_EQ(m->mdl, nullptr);
    Mdl3ExParticles()->count = 0;
    Mdl3ExDrawWithLights(m, &kIdentity, 1);
    EXPECT_EQ(Mdl3ExParticles()->count, 1);
    EXPECT_EQ(Log().Count("DrawIndexedPrimitive"), 0);
    Mdl3ExParticles()->count = 0;
}

} // namespace
