// Shaders on the recording layer: pass lists, the parameter block every construction resets,
// the shared "SolidColor" shader, and the exact states the kernel's two passes set.
#include "tests/I3d/KernelFixture.h"

#include <tuple>

namespace {

using Call = std::tuple<std::string, std::vector<uint64_t>>;

class Shaders : public KernelTest {
  protected:
    void SetUp() override {
        KernelTest::SetUp();
        StartRecordingDevice();
        I3dResetStateCache(); // every state the pass sets now reaches the device
        Log().Clear();
    }
    std::vector<Call> Calls() {
        std::vector<Call> out;
        for (const D3dCall& c : Log().Calls())
            out.emplace_back(c.name, c.args);
        return out;
    }
    static Call Rs(D3DRENDERSTATETYPE s, uint64_t v) { return {"SetRenderState", {s, v}}; }
    static Call Tss(DWORD stage, D3DTEXTURESTAGESTATETYPE t, uint64_t v) {
        return {"SetTextureStageState", {stage, t, v}};
    }
};

void NoState() {}

TEST_F(Shaders, PassesAreSetInRisingOrderAndValidatedOneByOne) {
    Shader s;
    EXPECT_EQ(s.NumPasses(), 0);
    EXPECT_TRUE(s.Validate()) << "no passes validate";
    EXPECT_EQ(Log().Count("ValidateDevice"), 0);
    s.SetPassFunc(0, NoState);
    s.SetPassFunc(0, NoState);
    EXPECT_EQ(s.NumPasses(), 1) << "setting pass 0 again makes the count 1";
    s.SetPassFunc(2, NoState);
    EXPECT_EQ(s.NumPasses(), 3);
    s.CallPass(1); // never set: nothing to run
    s.CallPass(3);
    EXPECT_TRUE(s.Validate());
    EXPECT_EQ(Log().Count("ValidateDevice"), 3);
    EXPECT_DEBUG_DEATH(s.SetPassFunc(8, NoState), "passes 0 to 7");
    EXPECT_EQ(s.NumPasses(), 3);
}

TEST_F(Shaders, ConstructionResetsTheParameterBlockAndListsTheShader) {
    ShaderParams.words[0] = 0x80102030;
    ShaderParams.words[8] = 4;
    ShaderParams.matrices[5].m[3] = 2.0f;
    auto* s = new Shader();
    EXPECT_EQ(ShaderParams.words[0], 0xFFFFFFFFu) << "opaque white";
    EXPECT_EQ(ShaderParams.words[8], 0xFFFFFFFFu) << "no texture";
    EXPECT_EQ(ShaderParams.matrices[5].m[3], 0.0f);
    EXPECT_EQ(ShaderParams.matrices[5].m[15], 1.0f);
    s->SetName("Dif");
    EXPECT_EQ(SharedObjFind("dif", *ShaderList()), s);
    EXPECT_EQ(SharedObjRelease(s), 0);
    EXPECT_EQ(SharedObjFind("dif", *ShaderList()), nullptr) << "a released shader leaves the list";
}

// The shader outlives the kernel (stat bar styles hold it): in a test program run as one
// process an earlier test may have made it already.
TEST_F(Shaders, SolidColorIsMadeOnceAndOnlyCountedAfterwards) {
    const int made = SharedObjFind("SolidColor", *ShaderList()) ? 0 : 1;
    Shader* first = ShaderSolidColorAcquire();
    ASSERT_NE(first, nullptr);
    const int32_t count = first->refCount;
    Shader* second = ShaderSolidColorAcquire();
    EXPECT_EQ(second, first);
    EXPECT_EQ(first->refCount, count + 1);
    EXPECT_STREQ(first->name, "SOLIDCOLOR");
    EXPECT_EQ(SharedObjFind("SOLIDCOLOR", *ShaderList()), first);
    ASSERT_EQ(first->NumPasses(), 1);
    EXPECT_EQ(first->passes[0], ShaderSolidColorPass);
    EXPECT_EQ(Log().Count("ValidateDevice"), made) << "validated when made, not when counted";
    SharedObjRelease(second);
    if (!made) SharedObjRelease(first);
}

TEST_F(Shaders, TheSolidColorPassSetsExactlyItsStatesAndTheFactorLast) {
    ShaderParams.words[0] = 0x80FF4000;
    ShaderSolidColorPass();
    std::vector<Call> want = {
        Rs(D3DRS_ALPHATESTENABLE, 0),
        Rs(D3DRS_ZWRITEENABLE, 0),
        Rs(D3DRS_ZFUNC, D3DCMP_ALWAYS),
        Rs(D3DRS_CULLMODE, D3DCULL_CCW),
        Rs(D3DRS_FILLMODE, D3DFILL_SOLID),
        Rs(D3DRS_LIGHTING, 0),
        Rs(D3DRS_ALPHABLENDENABLE, 1),
        Rs(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA),
        Rs(D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA),
        Tss(0, D3DTSS_COLOROP, D3DTOP_SELECTARG1),
        Tss(0, D3DTSS_COLORARG1, D3DTA_TFACTOR),
        Tss(0, D3DTSS_ALPHAOP, D3DTOP_SELECTARG1),
        Tss(0, D3DTSS_ALPHAARG1, D3DTA_TFACTOR),
        Tss(1, D3DTSS_COLOROP, D3DTOP_DISABLE),
        Tss(1, D3DTSS_ALPHAOP, D3DTOP_DISABLE),
        Rs(D3DRS_TEXTUREFACTOR, 0x80FF4000),
    };
    EXPECT_EQ(Calls(), want);
}

TEST_F(Shaders, TheLitTexturePassSetsExactlyItsStatesAndBindsWordEight) {
    ASSERT_EQ(I3dTexTableAlloc(8), 0);
    int slot = D3dTexCreate(8, 8, I3DTEX_A8R8G8B8, 1, "skin", 0);
    ASSERT_GE(slot, 0);
    I3dResetStateCache();
    Log().Clear();
    ShaderParams.words[0] = 0xC0FFFFFF;
    ShaderParams.words[8] = (uint32_t)slot;
    ShaderLitTexturePass();
    std::vector<Call> want = {
        Rs(D3DRS_ALPHATESTENABLE, 0),
        Rs(D3DRS_ZWRITEENABLE, 1),
        Rs(D3DRS_ZFUNC, D3DCMP_LESSEQUAL),
        Rs(D3DRS_CULLMODE, D3DCULL_CCW),
        Rs(D3DRS_FILLMODE, D3DFILL_SOLID),
        Rs(D3DRS_LIGHTING, 1),
        Rs(D3DRS_SPECULARENABLE, 0),
        Rs(D3DRS_AMBIENTMATERIALSOURCE, D3DMCS_MATERIAL),
        Rs(D3DRS_DIFFUSEMATERIALSOURCE, D3DMCS_MATERIAL),
        Rs(D3DRS_EMISSIVEMATERIALSOURCE, D3DMCS_MATERIAL),
        {"SetMaterial", {}},
        {"SetMaterial", {}},
        {"SetMaterial", {}},
        Rs(D3DRS_ALPHABLENDENABLE, 1),
        Rs(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA),
        Rs(D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA),
        {"SetTexture", {0, 1}},
        Tss(0, D3DTSS_TEXCOORDINDEX, 0),
        Tss(0, D3DTSS_TEXTURETRANSFORMFLAGS, D3DTTFF_DISABLE),
        Tss(0, D3DTSS_ADDRESSU, D3DTADDRESS_WRAP),
        Tss(0, D3DTSS_ADDRESSV, D3DTADDRESS_WRAP),
        Tss(0, D3DTSS_MINFILTER, D3DTEXF_LINEAR),
        Tss(0, D3DTSS_MAGFILTER, D3DTEXF_LINEAR),
        Tss(0, D3DTSS_COLOROP, D3DTOP_MODULATE),
        Tss(0, D3DTSS_COLORARG1, D3DTA_DIFFUSE),
        Tss(0, D3DTSS_COLORARG2, D3DTA_TEXTURE),
        Tss(0, D3DTSS_ALPHAOP, D3DTOP_SELECTARG1),
        Tss(0, D3DTSS_ALPHAARG1, D3DTA_TFACTOR),
        Tss(1, D3DTSS_COLOROP, D3DTOP_DISABLE),
        Tss(1, D3DTSS_ALPHAOP, D3DTOP_DISABLE),
        Rs(D3DRS_TEXTUREFACTOR, 0xC0FFFFFF),
    };
    EXPECT_EQ(Calls(), want);
    D3DMATERIAL8 m = Log().Named("SetMaterial").back().DataAs<D3DMATERIAL8>();
    EXPECT_EQ((std::vector<float>{m.Emissive.r, m.Emissive.a, m.Diffuse.g, m.Diffuse.a, m.Ambient.b,
                                  m.Ambient.a}),
              (std::vector<float>{0, 0, 1, 1, 1, 1}));
    EXPECT_EQ(D3dStageTexture(0), slot);
}

} // namespace
