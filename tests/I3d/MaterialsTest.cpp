// Model materials on the recording layer: the skip of the material applied last, the faded
// alphas, the cull mode, the choice of texture recipe and what each recipe sends.
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
};

TEST_F(Materials, AppliedOnceWithFadedAlphasAndTheCullModeOfItsSides) {
    MDL3MTRL a = PlainMaterial(), b = PlainMaterial();
    a.diffuse[3] = 0.8f;
    a.ambient[3] = 0.6f;
    a.doubleSided = 1;
    I3dSetMaterialFade(0.5f);
    I3dSetMaterial(&a);
    const int states = Log().Count("SetRenderState");
    I3dSetMaterial(&a);
    EXPECT_EQ(Log().Count("SetMaterial"), 1) << "the same material twice sets it once";
    EXPECT_EQ(Log().Count("SetRenderState"), states);
    D3DMATERIAL8 d;
    D3dDevice()->GetMaterial(&d);
    EXPECT_FLOAT_EQ(d.Diffuse.a, 0.4f) << "faded on the device";
    EXPECT_FLOAT_EQ(d.Ambient.a, 0.3f);
    EXPECT_FLOAT_EQ(d.Specular.a, 1.0f) << "only diffuse and ambient fade";
    EXPECT_EQ(a.diffuse[3], 0.8f) << "the material keeps its own alphas";
    EXPECT_EQ(a.ambient[3], 0.6f);
    EXPECT_GE(Log().Find("SetRenderState", {D3DRS_CULLMODE, D3DCULL_NONE}), 0) << "double-sided";
    I3dSetMaterial(&b);
    EXPECT_GE(Log().Find("SetRenderState", {D3DRS_CULLMODE, D3DCULL_CCW}), 0);
    I3dForgetMaterial();
    I3dSetMaterial(&b);
    EXPECT_EQ(Log().Count("SetMaterial"), 3) << "a forgotten material applies again";
    Log().Clear();
    I3dSetMaterial(nullptr);
    I3dApplyMaterial(nullptr);
    EXPECT_TRUE(Log().Calls().empty()) << "a null material does nothing";
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
