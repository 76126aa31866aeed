// Model materials on the recording layer: the skip of the material applied last, the faded
// alphas, the cull mode, the choice of texture recipe and what each recipe sends.
#include "I3d/Math/Mat4Math.h"
#include "tests/I3d/KernelFixture.h"
#include "tests/I3d/TexFiles.h"

#include <cstring>

namespace {

enum Recipe { kEnvOnly, kDiffuseEnv, kDetail, kDiffuseOnly, kBump, kColourOnly };
const char* const kRecipeNames[] = {
    "environment only", "diffuse and environment", "detail", "diffuse only", "bump", "colour only"};

MDL3MTRL PlainMaterial() {
    MDL3MTRL m{};
    for (float* c : {m.ambient, m.diffuse, m.specular, m.emissive})
        c[0] = c[1] = c[2] = c[3] = 1.0f;
    m.shininess = 10.0f;
    m.diffuseSlot = m.bumpSlot = m.detailSlot = -1;
    m.bumpTile[0] = m.bumpTile[1] = m.detailTile[0] = m.detailTile[1] = 1.0f;
    return m;
}

class Materials : public KernelTest {
  protected:
    void SetUp() override {
        KernelTest::SetUp();
        StartRecording();
        ASSERT_EQ(I3dTexTableAlloc(16), 0);
        CreateOffscreen();
        Log().Clear();
    }
    static int Slot(const char* name) { return D3dTexCreate(4, 4, I3DTEX_A8R8G8B8, 1, name, 0); }
    static DWORD Tss(DWORD stage, D3DTEXTURESTAGESTATETYPE t) {
        DWORD v = 0;
        D3dDevice()->GetTextureStageState(stage, t, &v);
        return v;
    }
    // Stage 0's colour op and arguments tell every recipe apart.
    static int AppliedRecipe() {
        DWORD op = Tss(0, D3DTSS_COLOROP), a1 = Tss(0, D3DTSS_COLORARG1);
        DWORD a2 = Tss(0, D3DTSS_COLORARG2);
        if (op == D3DTOP_DOTPRODUCT3) return kBump;
        if (op == D3DTOP_SELECTARG1) return a1 == D3DTA_TEXTURE ? kDetail : kColourOnly;
        if (a1 == D3DTA_DIFFUSE) return kEnvOnly;
        return a2 == D3DTA_CURRENT ? kDiffuseEnv : kDiffuseOnly;
    }
    static D3DMATERIAL8 DeviceMaterial() {
        D3DMATERIAL8 m{};
        D3dDevice()->GetMaterial(&m);
        return m;
    }
};

TEST_F(Materials, TheMaterialAppliedLastIsSkippedUntilForgotten) {
    MDL3MTRL a = PlainMaterial(), b = PlainMaterial();
    I3dSetMaterial(&a);
    int sent = Log().Count("SetMaterial");
    int states = Log().Count("SetRenderState");
    EXPECT_EQ(sent, 1);
    I3dSetMaterial(&a);
    EXPECT_EQ(Log().Count("SetMaterial"), sent) << "the same material twice sets it once";
    EXPECT_EQ(Log().Count("SetRenderState"), states);
    I3dSetMaterial(&b);
    I3dSetMaterial(&a);
    EXPECT_EQ(Log().Count("SetMaterial"), 3);
    I3dForgetMaterial();
    I3dSetMaterial(&a);
    EXPECT_EQ(Log().Count("SetMaterial"), 4);
    Log().Clear();
    I3dSetMaterial(nullptr);
    I3dApplyMaterial(nullptr);
    EXPECT_TRUE(Log().Calls().empty()) << "a null material does nothing";
}

TEST_F(Materials, TheFadeReachesOnlyTheDevicesAlphas) {
    MDL3MTRL m = PlainMaterial();
    m.diffuse[3] = 0.8f;
    m.ambient[3] = 0.6f;
    m.shininess = 500.0f;
    I3dSetMaterialFade(0.5f);
    I3dApplyMaterial(&m);
    D3DMATERIAL8 d = DeviceMaterial();
    EXPECT_FLOAT_EQ(d.Diffuse.a, 0.4f);
    EXPECT_FLOAT_EQ(d.Ambient.a, 0.3f);
    EXPECT_FLOAT_EQ(d.Specular.a, 1.0f) << "only diffuse and ambient fade";
    EXPECT_EQ(d.Power, 500.0f) << "the kernel sends the shininess as it is; the layer clamps";
    EXPECT_EQ(m.diffuse[3], 0.8f) << "the material keeps its own alphas";
    EXPECT_EQ(m.ambient[3], 0.6f);
    D3DMATERIAL8 kept;
    D3dGetMaterial(&kept);
    EXPECT_FLOAT_EQ(kept.Diffuse.a, 0.4f) << "the kernel's device material follows";
}

TEST_F(Materials, TheCullModeFollowsDoubleSided) {
    MDL3MTRL two = PlainMaterial(), one = PlainMaterial();
    two.doubleSided = 1;
    I3dSetMaterial(&two);
    EXPECT_GE(Log().Find("SetRenderState", {D3DRS_CULLMODE, D3DCULL_NONE}), 0);
    I3dSetMaterial(&one);
    EXPECT_GE(Log().Find("SetRenderState", {D3DRS_CULLMODE, D3DCULL_CCW}), 0);
    for (auto [state, value] : {std::pair{D3DRS_LIGHTING, 1u}, std::pair{D3DRS_SPECULARENABLE, 1u},
                                std::pair{D3DRS_SRCBLEND, 5u}, std::pair{D3DRS_DESTBLEND, 6u},
                                std::pair{D3DRS_ALPHAREF, 2u}, std::pair{D3DRS_ALPHAFUNC, 5u}}) {
        DWORD v = 0;
        D3dDevice()->GetRenderState(state, &v);
        EXPECT_EQ(v, value) << "render state " << state;
    }
}

// Every combination of maps, reflectivity and environment map, in the order the recipes are
// tried: environment without and with a diffuse map, then detail, diffuse alone, bump.
TEST_F(Materials, TheRecipeFollowsTheMapsInOrder) {
    const int diffuse = Slot("d"), bump = Slot("b"), detail = Slot("t"), env = Slot("e");
    for (int bits = 0; bits < 32; ++bits) {
        MDL3MTRL m = PlainMaterial();
        m.diffuseSlot = (bits & 1) ? diffuse : -1;
        m.bumpSlot = (bits & 2) ? bump : -1;
        m.detailSlot = (bits & 4) ? detail : -1;
        m.reflective = (bits & 8) ? 1 : 0;
        I3dSetEnvMapTexture((bits & 16) ? env : -1);
        const bool d = bits & 1, environment = (bits & 8) && (bits & 16);
        const int want = !d && environment  ? kEnvOnly
                         : environment      ? kDiffuseEnv
                         : d && (bits & 4)  ? kDetail
                         : d && !(bits & 2) ? kDiffuseOnly
                         : d                ? kBump
                                            : kColourOnly;
        I3dApplyMaterial(&m);
        int got = AppliedRecipe();
        EXPECT_EQ(got, want) << "maps " << bits << ": got the " << kRecipeNames[got]
                             << " recipe, want " << kRecipeNames[want];
    }
}

TEST_F(Materials, EachRecipeBindsItsMapsAndMatrices) {
    MDL3MTRL m = PlainMaterial();
    m.diffuseSlot = Slot("diffuse");
    m.detailSlot = Slot("detail");
    m.detailTile[0] = 2.0f, m.detailTile[1] = 3.0f;
    I3dApplyMaterial(&m);
    EXPECT_EQ(D3dStageTexture(0), m.diffuseSlot);
    EXPECT_EQ(D3dStageTexture(1), m.detailSlot);
    Mat4 tiling = Log().Named("SetTransform").back().DataAs<Mat4>();
    EXPECT_EQ(Log().Named("SetTransform").back().args[0], (uint64_t)D3DTS_TEXTURE1);
    EXPECT_EQ(tiling.m[0], 2.0f);
    EXPECT_EQ(tiling.m[5], 3.0f);
    EXPECT_EQ(Tss(1, D3DTSS_TEXTURETRANSFORMFLAGS), (DWORD)D3DTTFF_COUNT2);
    EXPECT_EQ(Tss(0, D3DTSS_TEXTURETRANSFORMFLAGS), (DWORD)D3DTTFF_DISABLE);
    EXPECT_EQ(Tss(0, D3DTSS_ALPHAOP), (DWORD)D3DTOP_DISABLE);

    // The diffuse-only recipe animates its coordinates only with a texture matrix.
    m.detailSlot = -1;
    Mat4 scroll{};
    scroll.m[0] = scroll.m[5] = scroll.m[10] = scroll.m[15] = 1.0f;
    scroll.m[8] = 0.5f;
    I3dMaterialSetTexMatrix(&m, &scroll);
    Log().Clear();
    I3dApplyMaterial(&m);
    EXPECT_EQ(Tss(0, D3DTSS_TEXTURETRANSFORMFLAGS), (DWORD)D3DTTFF_COUNT3);
    ASSERT_EQ(Log().Count("SetTransform", {D3DTS_TEXTURE0}), 1);
    EXPECT_EQ(Log().Named("SetTransform").back().DataAs<Mat4>().m[8], 0.5f);
    I3dMaterialSetTexMatrix(&m, nullptr);
    I3dApplyMaterial(&m);
    EXPECT_EQ(Tss(0, D3DTSS_TEXTURETRANSFORMFLAGS), (DWORD)D3DTTFF_DISABLE);

    // The environment recipe turns camera-space reflections back by world x view.
    Mat4 world{}, view{}, inverse;
    world.m[0] = world.m[5] = world.m[10] = world.m[15] = 1.0f;
    Mat4RotateY(&world, 0.6f);
    world.m[12] = 5.0f;
    view = world;
    Mat4RotateX(&view, 0.2f);
    I3dSetWorld(&world);
    I3dSetView(&view);
    m.reflective = 1;
    I3dSetEnvMapTexture(Slot("env"));
    Log().Clear();
    I3dApplyMaterial(&m);
    EXPECT_EQ(D3dStageTexture(1), I3dGetEnvMapTexture());
    EXPECT_EQ(Tss(1, D3DTSS_TEXCOORDINDEX), (DWORD)(D3DTSS_TCI_CAMERASPACEREFLECTIONVECTOR | 1));
    EXPECT_EQ(Tss(1, D3DTSS_TEXTURETRANSFORMFLAGS), (DWORD)D3DTTFF_COUNT3);
    Mat4 wv;
    I3dGetWorldViewMatrix(&wv);
    Mat4InverseRigid(&wv, &inverse);
    Mat4 sent = Log().Named("SetTransform").back().DataAs<Mat4>();
    for (int i : {0, 1, 2, 4, 5, 6, 8, 9, 10})
        EXPECT_NEAR(sent.m[i], inverse.m[i], 1e-6f) << "element " << i;
    for (int i : {3, 7, 11, 12, 13, 14})
        EXPECT_EQ(sent.m[i], 0.0f) << "translation and fourth column cleared, element " << i;
    EXPECT_EQ(sent.m[15], 1.0f);
}

// A direction takes no translation: the neutral factor whatever the world matrix.
TEST_F(Materials, TheBumpFactorIsNeutralWhereverTheObjectStands) {
    Mat4 world{};
    world.m[0] = world.m[5] = world.m[10] = world.m[15] = 1.0f;
    I3dSetWorld(&world);
    EXPECT_EQ(I3dBumpLightFactor(), 0xFF808080u);
    world.m[12] = 30.0f, world.m[13] = -4.0f, world.m[14] = 12.0f;
    I3dSetWorld(&world);
    EXPECT_EQ(I3dBumpLightFactor(), 0xFF808080u) << "the object's position moved the light";
    MDL3MTRL m = PlainMaterial();
    m.diffuseSlot = Slot("d");
    m.bumpSlot = Slot("b");
    I3dApplyMaterial(&m);
    DWORD factor = 0;
    D3dDevice()->GetRenderState(D3DRS_TEXTUREFACTOR, &factor);
    EXPECT_EQ(factor, 0xFF808080u);
    EXPECT_EQ(D3dStageTexture(0), m.bumpSlot);
    EXPECT_EQ(D3dStageTexture(1), m.diffuseSlot);
}

TEST_F(Materials, TexturesLoadByNameSharedAndAMissingFileLeavesNoMap) {
    TempDir dir;
    ASSERT_TRUE(WriteTga(dir / "Wood.tga", SolidImage(4, 4, 0xFF806040), IMG_R8G8B8));
    MDL3MTRL a = PlainMaterial(), b = PlainMaterial();
    std::strcpy(a.diffuseMap, "Wood.tga");
    std::memcpy(a.detailMap, "Missing_name_filling_32_bytes_!!", 32); // not terminated
    std::strcpy(b.diffuseMap, "wood");
    const std::string folder = dir.Path();
    ASSERT_EQ(I3dMaterialLoadTextures(&a, folder.c_str()), 0);
    ASSERT_EQ(I3dMaterialLoadTextures(&b, folder.c_str()), 0);
    ASSERT_GE(a.diffuseSlot, 0);
    EXPECT_EQ(b.diffuseSlot, a.diffuseSlot) << "one texture shared under its file title";
    EXPECT_EQ(I3dTexGetSlot(a.diffuseSlot)->count, 2);
    EXPECT_EQ(a.detailSlot, -1) << "a missing file";
    EXPECT_EQ(a.bumpSlot, -1) << "an empty name";
    I3dApplyMaterial(&a);
    EXPECT_EQ(AppliedRecipe(), kDiffuseOnly) << "the material still applies without its detail";
    I3dMaterialFreeTextures(&a);
    EXPECT_EQ(a.diffuseSlot, -1);
    I3dMaterialFreeTextures(&a);
    EXPECT_EQ(I3dTexGetSlot(b.diffuseSlot)->count, 1)
        << "freeing twice must not release the other material's reference";
    EXPECT_EQ(I3dMaterialLoadTextures(nullptr, folder.c_str()), -1);
}

} // namespace
