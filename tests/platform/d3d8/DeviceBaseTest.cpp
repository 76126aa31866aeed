// The layer's device rules that need no pixels, on the recording device: Direct3D 8's default
// states at creation and after every reset, the loss protocol and the reset refusal.
#include "platform/d3d8/DeviceBase.h"
#include "tests/platform/d3d8/PresentParams.h"
#include "tests/platform/d3d8/RecordingDeviceFixture.h"

#include <gtest/gtest.h>

namespace {

struct RecordingDevice : RecordingDeviceTest {
    D3DPRESENT_PARAMETERS pp = TestPresentParams(64, 32);

    void SetUp() override { CreateRecordingDevice(pp); }
    DWORD Rs(D3DRENDERSTATETYPE s) {
        DWORD v = 0xDEADBEEF;
        EXPECT_EQ(dev->GetRenderState(s, &v), D3D_OK);
        return v;
    }
    DWORD Tss(DWORD stage, D3DTEXTURESTAGESTATETYPE t) {
        DWORD v = 0xDEADBEEF;
        EXPECT_EQ(dev->GetTextureStageState(stage, t, &v), D3D_OK);
        return v;
    }
    void ExpectDefaults(const char* when) {
        SCOPED_TRACE(when);
        EXPECT_EQ(Rs(D3DRS_TEXTUREFACTOR), 0xFFFFFFFFu);
        EXPECT_EQ(Rs(D3DRS_AMBIENT), 0u) << "GL's ambient 0.2 must not stand in for Direct3D's 0";
        EXPECT_EQ(Rs(D3DRS_ZENABLE), 1u);
        EXPECT_EQ(Rs(D3DRS_ZWRITEENABLE), 1u);
        EXPECT_EQ(Rs(D3DRS_ZFUNC), (DWORD)D3DCMP_LESSEQUAL);
        EXPECT_EQ(Rs(D3DRS_CULLMODE), (DWORD)D3DCULL_CCW);
        EXPECT_EQ(Rs(D3DRS_LIGHTING), 1u);
        EXPECT_EQ(Rs(D3DRS_ALPHABLENDENABLE), 0u);
        EXPECT_EQ(Rs(D3DRS_ALPHATESTENABLE), 0u);
        EXPECT_EQ(Rs(D3DRS_NORMALIZENORMALS), 0u);
        EXPECT_EQ(Rs(D3DRS_COLORVERTEX), 1u);
        EXPECT_EQ(Tss(0, D3DTSS_COLOROP), (DWORD)D3DTOP_MODULATE);
        EXPECT_EQ(Tss(0, D3DTSS_COLORARG1), (DWORD)D3DTA_TEXTURE);
        EXPECT_EQ(Tss(0, D3DTSS_COLORARG2), (DWORD)D3DTA_CURRENT);
        EXPECT_EQ(Tss(0, D3DTSS_ALPHAOP), (DWORD)D3DTOP_SELECTARG1);
        EXPECT_EQ(Tss(0, D3DTSS_ALPHAARG1), (DWORD)D3DTA_TEXTURE);
        for (DWORD s = 1; s < 8; ++s) {
            EXPECT_EQ(Tss(s, D3DTSS_COLOROP), (DWORD)D3DTOP_DISABLE) << "stage " << s;
            EXPECT_EQ(Tss(s, D3DTSS_ALPHAOP), (DWORD)D3DTOP_DISABLE) << "stage " << s;
            EXPECT_EQ(Tss(s, D3DTSS_TEXCOORDINDEX), s);
        }
        for (DWORD s = 0; s < 8; ++s) {
            EXPECT_EQ(Tss(s, D3DTSS_MINFILTER), (DWORD)D3DTEXF_POINT);
            EXPECT_EQ(Tss(s, D3DTSS_MAGFILTER), (DWORD)D3DTEXF_POINT);
            EXPECT_EQ(Tss(s, D3DTSS_MIPFILTER), (DWORD)D3DTEXF_NONE);
            EXPECT_EQ(Tss(s, D3DTSS_ADDRESSU), (DWORD)D3DTADDRESS_WRAP);
            EXPECT_EQ(Tss(s, D3DTSS_ADDRESSV), (DWORD)D3DTADDRESS_WRAP);
        }
        D3DVIEWPORT8 vp{};
        dev->GetViewport(&vp);
        EXPECT_EQ(vp.Width, 64u);
        EXPECT_EQ(vp.Height, 32u);
    }
};

TEST_F(RecordingDevice, StartsAndResetsToDirect3DsDefaultStates) {
    ExpectDefaults("at creation");
    dev->SetRenderState(D3DRS_TEXTUREFACTOR, 0x12345678);
    dev->SetRenderState(D3DRS_LIGHTING, 0);
    dev->SetRenderState(D3DRS_NORMALIZENORMALS, 1);
    dev->SetTextureStageState(1, D3DTSS_COLOROP, D3DTOP_ADD);
    dev->SetTextureStageState(3, D3DTSS_MIPFILTER, D3DTEXF_LINEAR);
    D3DVIEWPORT8 small{1, 2, 3, 4, 0.0f, 1.0f};
    ASSERT_EQ(dev->SetViewport(&small), D3D_OK);
    ASSERT_EQ(dev->Reset(&pp), D3D_OK);
    ExpectDefaults("after a reset");
}

TEST_F(RecordingDevice, LossAnswersLostThenNotResetUntilAResetSucceeds) {
    EXPECT_EQ(dev->TestCooperativeLevel(), D3D_OK);
    D3dTestLoseDevice(dev);
    EXPECT_EQ(dev->TestCooperativeLevel(), D3DERR_DEVICELOST);
    EXPECT_EQ(dev->Present(nullptr, nullptr, nullptr, nullptr), D3DERR_DEVICELOST)
        << "a lost device presents nothing";
    EXPECT_EQ(dev->TestCooperativeLevel(), D3DERR_DEVICENOTRESET);
    EXPECT_EQ(dev->TestCooperativeLevel(), D3DERR_DEVICENOTRESET);

    D3dTestFailResets(dev, 2);
    EXPECT_NE(dev->Reset(&pp), D3D_OK);
    EXPECT_NE(dev->Reset(&pp), D3D_OK);
    EXPECT_EQ(dev->TestCooperativeLevel(), D3DERR_DEVICENOTRESET) << "a failed reset keeps it";
    EXPECT_EQ(dev->Reset(&pp), D3D_OK) << "the third reset was not made to fail";
    EXPECT_EQ(dev->TestCooperativeLevel(), D3D_OK);
}

TEST_F(RecordingDevice, LightsKeepWhatWasSetUntilAReset) {
    D3DLIGHT8 got{};
    BOOL on = -1;
    EXPECT_EQ(dev->GetLight(3, &got), D3DERR_INVALIDCALL) << "a light never set";
    D3DLIGHT8 point{};
    EXPECT_EQ(dev->SetLight(0, &point), D3DERR_INVALIDCALL) << "type 0 is no light";
    point.Type = D3DLIGHT_POINT;
    EXPECT_EQ(dev->SetLight(D3dDeviceBase::kLightIndexLimit, &point), D3DERR_INVALIDCALL);
    ASSERT_EQ(dev->LightEnable(3, 1), D3D_OK);
    ASSERT_EQ(dev->GetLight(3, &got), D3D_OK);
    EXPECT_EQ(got.Type, (D3DLIGHTTYPE)D3DLIGHT_DIRECTIONAL)
        << "enabling an index never set makes Direct3D's default light";
    EXPECT_EQ(got.Direction.z, 1.0f);
    EXPECT_EQ(got.Diffuse.r, 1.0f);
    point.Range = 7.0f;
    ASSERT_EQ(dev->SetLight(3, &point), D3D_OK);
    ASSERT_EQ(dev->GetLight(3, &got), D3D_OK);
    EXPECT_EQ(got.Range, 7.0f);
    ASSERT_EQ(dev->GetLightEnable(3, &on), D3D_OK);
    EXPECT_EQ(on, 1) << "setting a light keeps it enabled";
    ASSERT_EQ(dev->Reset(&pp), D3D_OK);
    EXPECT_EQ(dev->GetLight(3, &got), D3DERR_INVALIDCALL) << "a reset device has no lights";
}

TEST_F(RecordingDevice, ResetIsRefusedWhileARenderTargetReferenceIsHeld) {
    IDirect3DSurface8* rt = nullptr;
    ASSERT_EQ(dev->GetRenderTarget(&rt), D3D_OK);
    D3dTestLoseDevice(dev);
    dev->TestCooperativeLevel();
    EXPECT_EQ(dev->Reset(&pp), D3DERR_INVALIDCALL)
        << "Direct3D refuses a reset while the application holds a default-pool resource";
    EXPECT_EQ(rt->Release(), 0u);
    EXPECT_EQ(dev->Reset(&pp), D3D_OK);
}

TEST_F(RecordingDevice, BackBufferLocksOnlyWhenCreatedLockableAndInsideItsBounds) {
    IDirect3DSurface8* rt = nullptr;
    ASSERT_EQ(dev->GetRenderTarget(&rt), D3D_OK);
    D3DLOCKED_RECT lr{};
    RECT outside{60, 0, 65, 1};
    EXPECT_EQ(rt->LockRect(&lr, &outside, 0), D3DERR_INVALIDCALL);
    ASSERT_EQ(rt->LockRect(&lr, nullptr, 0), D3D_OK);
    EXPECT_EQ(lr.Pitch, 64 * 4);
    EXPECT_EQ(rt->LockRect(&lr, nullptr, 0), D3DERR_INVALIDCALL) << "already locked";
    EXPECT_EQ(rt->UnlockRect(), D3D_OK);
    rt->Release();

    IDirect3DDevice8* plain = nullptr;
    D3DPRESENT_PARAMETERS noLock = TestPresentParams(64, 32, 0);
    ASSERT_EQ(d3d->CreateDevice(0, D3DDEVTYPE_HAL, nullptr, 0, &noLock, &plain), D3D_OK);
    ASSERT_EQ(plain->GetRenderTarget(&rt), D3D_OK);
    EXPECT_EQ(rt->LockRect(&lr, nullptr, 0), D3DERR_INVALIDCALL)
        << "a back buffer not created lockable cannot be read";
    rt->Release();
    EXPECT_EQ(plain->Release(), 0u);
}

TEST_F(RecordingDevice, ClearRefusesBuffersTheDeviceDoesNotHave) {
    IDirect3DDevice8* noStencil = nullptr;
    D3DPRESENT_PARAMETERS p =
        TestPresentParams(64, 32, D3DPRESENTFLAG_LOCKABLE_BACKBUFFER, D3DFMT_D16);
    ASSERT_EQ(d3d->CreateDevice(0, D3DDEVTYPE_HAL, nullptr, 0, &p, &noStencil), D3D_OK);
    EXPECT_EQ(noStencil->Clear(0, nullptr, 7, 0, 1.0f, 0), D3DERR_INVALIDCALL);
    EXPECT_EQ(noStencil->Clear(0, nullptr, 3, 0, 1.0f, 0), D3D_OK);
    EXPECT_EQ(noStencil->Release(), 0u);
}

TEST_F(RecordingDevice, RecordsCallsWithTheirArgumentsInOrder) {
    D3dRecordingLog().Clear();
    dev->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
    dev->SetTextureStageState(2, D3DTSS_COLOROP, D3DTOP_ADD);
    D3DMATRIX m{};
    m.m[12] = 5.0f;
    dev->SetTransform(D3DTS_VIEW, &m);
    const D3dCallLog& log = D3dRecordingLog();
    ASSERT_EQ(log.Calls().size(), 3u);
    EXPECT_EQ(log.Find("SetRenderState", {D3DRS_CULLMODE, D3DCULL_NONE}), 0);
    EXPECT_EQ(log.Find("SetTextureStageState", {2, D3DTSS_COLOROP, D3DTOP_ADD}), 1);
    EXPECT_EQ(log.Calls()[2].DataAs<D3DMATRIX>().m[12], 5.0f);
}

TEST(D3d8Layer, VertexSizesOfTheKernelsFormats) {
    // The strides the vertex buffers lay out; the draw reads vertices at these distances.
    EXPECT_EQ(D3dDeviceBase::FvfStride(0x102), 20u);
    EXPECT_EQ(D3dDeviceBase::FvfStride(0x112), 32u);
    EXPECT_EQ(D3dDeviceBase::FvfStride(0x142), 24u);
    EXPECT_EQ(D3dDeviceBase::FvfStride(0x152), 36u);
    EXPECT_EQ(D3dDeviceBase::FvfStride(0x252), 44u);
    EXPECT_EQ(D3dDeviceBase::FvfStride(0x010), 0u) << "no position: not a drawable format";
    EXPECT_EQ(D3dDeviceBase::VertexCount(D3DPT_TRIANGLEFAN, 2), 4u);
    EXPECT_EQ(D3dDeviceBase::VertexCount(D3DPT_TRIANGLESTRIP, 0), 0u);
}

} // namespace
