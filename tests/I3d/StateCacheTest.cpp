// The render-state cache on the recording layer: what reaches the device and what is skipped.
#include "tests/I3d/KernelFixture.h"

#include <cmath>

namespace {

class StateCache : public KernelTest {
  protected:
    void SetUp() override {
        KernelTest::SetUp();
        StartRecordingDevice();
    }
    int Rs(DWORD state, DWORD value) { return Log().Count("SetRenderState", {state, value}); }
    int RsAny(DWORD state) { return Log().Count("SetRenderState", {state}); }
};

TEST_F(StateCache, AnUnchangedValueReachesTheDeviceOnce) {
    D3dSetCullMode(D3DCULL_CCW);
    D3dSetCullMode(D3DCULL_CCW);
    EXPECT_EQ(Rs(D3DRS_CULLMODE, D3DCULL_CCW), 1);
    D3dSetCullMode(D3DCULL_NONE);
    D3dSetCullMode(D3DCULL_CCW);
    EXPECT_EQ(RsAny(D3DRS_CULLMODE), 3);
}

TEST_F(StateCache, EveryFirstRequestAfterAResetIsSent) {
    D3dSetTextureFactor(0x12345678);
    D3dSetTextureFactor(0x12345678);
    I3dResetStateCache();
    D3dSetTextureFactor(0x12345678);
    EXPECT_EQ(Rs(D3DRS_TEXTUREFACTOR, 0x12345678), 2);
    // Fault: with a marker value, 0xFFFFFFFF right after a reset was taken as already sent.
    I3dResetStateCache();
    D3dSetTextureFactor(0xFFFFFFFF);
    EXPECT_EQ(Rs(D3DRS_TEXTUREFACTOR, 0xFFFFFFFF), 1);
    D3dSetFogEnd(0.0f);
    EXPECT_EQ(Rs(D3DRS_FOGEND, D3dFloatBits(0.0f)), 1) << "the device's own fog end is 1.0";
}

TEST_F(StateCache, WhiteFogAfterAResetReachesTheDevice) {
    D3dSetFogColor(0.2f, 0.2f, 0.2f);
    I3dResetStateCache();
    D3dSetFogColor(1.0f, 1.0f, 1.0f);
    EXPECT_EQ(Rs(D3DRS_FOGCOLOR, 0xFFFFFFFF), 1)
        << "the cloud dome's default white fog was skipped after a reset";
    I3dResetStateCache();
    D3dSetFogColorArgb(0xFFFFFFFF);
    EXPECT_EQ(Rs(D3DRS_FOGCOLOR, 0xFFFFFFFF), 2);
}

TEST_F(StateCache, FogColourPacksByTruncationAndSharesItsWordWithTheArgbSetter) {
    D3dSetFogColor(0.5f, 0.5f, 0.5f);
    EXPECT_EQ(Rs(D3DRS_FOGCOLOR, 0xFF7F7F7F), 1);
    D3dSetFogColorArgb(0xFF7F7F7F);
    D3dSetFogColor(0.5f, 0.5f, 0.501f); // differs below 1/255: the same packed value
    EXPECT_EQ(RsAny(D3DRS_FOGCOLOR), 1);
}

TEST_F(StateCache, PackedColoursAreHeldInsideTheirChannels) {
    EXPECT_EQ(D3dPackColor(1.2f, -0.1f, 0.5f), 0xFFFF007Fu)
        << "1.2 spilled into the alpha byte or -0.1 smeared every channel";
    EXPECT_EQ(D3dPackColor(NAN, 0.0f, 1.0f), 0xFF0000FFu);
    EXPECT_EQ(D3dPackColor(INFINITY, -INFINITY, 255.0f), 0xFFFF00FFu);
    D3dSetAmbient(2.0f, NAN, 0.25f);
    EXPECT_EQ(Rs(D3DRS_AMBIENT, 0xFFFF003F), 1);
    float kept[3];
    D3dGetAmbient(kept);
    EXPECT_EQ(kept[0], 1.0f);
    EXPECT_EQ(kept[1], 0.0f);
    EXPECT_EQ(kept[2], 0.25f);
}

TEST_F(StateCache, BlackAmbientAfterAResetSendsNothing) {
    I3dResetStateCache();
    D3dSetAmbient(0.0f, 0.0f, 0.0f);
    EXPECT_EQ(RsAny(D3DRS_AMBIENT), 0) << "black is the device's ambient after a reset";
    D3dSetAmbient(0.1f, 0.1f, 0.1f);
    EXPECT_EQ(RsAny(D3DRS_AMBIENT), 1);
}

TEST_F(StateCache, FogModeSwitchesVertexFogOffFirst) {
    D3dSetFogMode(D3DFOG_LINEAR);
    ASSERT_EQ(Log().Calls().size(), 2u);
    EXPECT_EQ(Log().Find("SetRenderState", {D3DRS_FOGVERTEXMODE, D3DFOG_NONE}), 0);
    EXPECT_EQ(Log().Find("SetRenderState", {D3DRS_FOGTABLEMODE, D3DFOG_LINEAR}), 1);
    D3dSetFogMode(D3DFOG_LINEAR);
    EXPECT_EQ(Log().Calls().size(), 2u);
}

TEST_F(StateCache, FogDistancesCompareAsFloats) {
    D3dSetFogStart(10.0f);
    D3dSetFogStart(10.0f);
    D3dSetFogStart(10.5f);
    EXPECT_EQ(RsAny(D3DRS_FOGSTART), 2);
    EXPECT_EQ(Rs(D3DRS_FOGSTART, D3dFloatBits(10.5f)), 1);
}

TEST_F(StateCache, StageRecordsAreIndependent) {
    D3dSetColorOp(1, D3DTOP_MODULATE);
    D3dSetColorOp(0, D3DTOP_MODULATE);
    D3dSetColorOp(1, D3DTOP_MODULATE);
    EXPECT_EQ(Log().Count("SetTextureStageState", {1, D3DTSS_COLOROP, D3DTOP_MODULATE}), 1);
    EXPECT_EQ(Log().Count("SetTextureStageState", {0, D3DTSS_COLOROP, D3DTOP_MODULATE}), 1)
        << "stage 1's colour op must not stand in for stage 0's";
}

TEST_F(StateCache, SettersSendTheirOwnState) {
    struct Case {
        void (*set)(DWORD);
        DWORD state;
    } cases[] = {
        {D3dSetZEnable, D3DRS_ZENABLE},
        {D3dSetZWrite, D3DRS_ZWRITEENABLE},
        {D3dSetZFunc, D3DRS_ZFUNC},
        {D3dSetZBias, D3DRS_ZBIAS},
        {D3dSetAlphaTest, D3DRS_ALPHATESTENABLE},
        {D3dSetAlphaRef, D3DRS_ALPHAREF},
        {D3dSetAlphaFunc, D3DRS_ALPHAFUNC},
        {D3dSetAlphaBlend, D3DRS_ALPHABLENDENABLE},
        {D3dSetSrcBlend, D3DRS_SRCBLEND},
        {D3dSetDestBlend, D3DRS_DESTBLEND},
        {D3dSetLighting, D3DRS_LIGHTING},
        {D3dSetSpecular, D3DRS_SPECULARENABLE},
        {D3dSetFogEnable, D3DRS_FOGENABLE},
        {D3dSetAmbientMaterialSource, D3DRS_AMBIENTMATERIALSOURCE},
        {D3dSetDiffuseMaterialSource, D3DRS_DIFFUSEMATERIALSOURCE},
        {D3dSetSpecularMaterialSource, D3DRS_SPECULARMATERIALSOURCE},
        {D3dSetEmissiveMaterialSource, D3DRS_EMISSIVEMATERIALSOURCE},
    };
    for (const Case& c : cases) {
        c.set(123);
        EXPECT_EQ(Rs(c.state, 123), 1) << "render state " << c.state;
    }
    struct StageCase {
        void (*set)(int, DWORD);
        DWORD type;
    } stageCases[] = {
        {D3dSetMinFilter, D3DTSS_MINFILTER},
        {D3dSetMagFilter, D3DTSS_MAGFILTER},
        {D3dSetAddressU, D3DTSS_ADDRESSU},
        {D3dSetAddressV, D3DTSS_ADDRESSV},
        {D3dSetColorArg1, D3DTSS_COLORARG1},
        {D3dSetColorArg2, D3DTSS_COLORARG2},
        {D3dSetAlphaOp, D3DTSS_ALPHAOP},
        {D3dSetAlphaArg1, D3DTSS_ALPHAARG1},
        {D3dSetAlphaArg2, D3DTSS_ALPHAARG2},
        {D3dSetTexCoordIndex, D3DTSS_TEXCOORDINDEX},
        {D3dSetTexTransformFlags, D3DTSS_TEXTURETRANSFORMFLAGS},
    };
    for (const StageCase& c : stageCases) {
        c.set(7, 45);
        EXPECT_EQ(Log().Count("SetTextureStageState", {7, c.type, 45}), 1)
            << "stage state " << c.type;
    }
}

TEST_F(StateCache, SettersBeforeTheDeviceCountAsNotSent) {
    I3dStop();
    StartRecording();
    D3dSetCullMode(D3DCULL_NONE);
    D3dSetColorOp(0, D3DTOP_ADD);
    CreateOffscreen();
    Log().Clear();
    D3dSetCullMode(D3DCULL_NONE);
    D3dSetColorOp(0, D3DTOP_ADD);
    EXPECT_EQ(Rs(D3DRS_CULLMODE, D3DCULL_NONE), 1);
    EXPECT_EQ(Log().Count("SetTextureStageState", {0, D3DTSS_COLOROP, D3DTOP_ADD}), 1);
}

TEST_F(StateCache, ClearValuesAreKeptNotSent) {
    D3dSetClearColor(0.5f, 1.5f, -1.0f);
    D3dSetClearZ(0.25f);
    D3dSetClearStencil(3);
    EXPECT_TRUE(Log().Calls().empty());
    EXPECT_EQ(D3dClear(D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER), D3D_OK);
    D3dCall c = Log().Named("Clear").back();
    EXPECT_EQ(c.args[3], 0xFF7FFF00u);
    EXPECT_EQ(c.args[4], D3dFloatBits(0.25f));
    EXPECT_EQ(c.args[5], 3u);
}

using StateCacheDeathTest = StateCache;

TEST_F(StateCacheDeathTest, AStageOutsideTheEightRecordsWritesNothing) {
    EXPECT_DEBUG_DEATH(D3dSetColorOp(8, D3DTOP_ADD), "stage out of range");
    EXPECT_DEBUG_DEATH(D3dSetMinFilter(-1, D3DTEXF_LINEAR), "stage out of range");
    EXPECT_EQ(Log().Count("SetTextureStageState"), 0);
}

} // namespace
