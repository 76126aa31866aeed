// Textures of the layer without pixels, on the recording device: what may be created, locked
// pitches and rectangles, and the references surfaces and stages hold.
#include "platform/d3d8/Texture.h"
#include "tests/platform/d3d8/PresentParams.h"
#include "tests/platform/d3d8/RecordingDeviceFixture.h"
#include "tests/support/TexturedQuad.h"

#include <gtest/gtest.h>

namespace {

struct RecordedTextures : RecordingDeviceTest {
    D3DPRESENT_PARAMETERS pp = TexTestPresentParams(64, 32);

    void SetUp() override { CreateRecordingDevice(pp); }
    HRESULT Make(UINT w, UINT h, UINT levels, D3DFORMAT f, IDirect3DTexture8** t, DWORD usage = 0,
                 D3DPOOL pool = D3DPOOL_MANAGED) {
        return dev->CreateTexture(w, h, levels, usage, f, pool, t);
    }
};

} // namespace

TEST_F(RecordedTextures, WhatMayBeCreated) {
    IDirect3DTexture8* t = reinterpret_cast<IDirect3DTexture8*>(1);
    EXPECT_NE(Make(16, 8, 1, D3DFMT_P8, &t), D3D_OK) << "no palette textures";
    EXPECT_EQ(t, nullptr) << "a failed creation hands back null";
    EXPECT_NE(Make(0, 8, 1, D3DFMT_A8, &t), D3D_OK);
    EXPECT_NE(Make(16, 8, 6, D3DFMT_A8, &t), D3D_OK) << "16 x 8 has only five levels";
    EXPECT_NE(Make(16, 16, 1, D3DFMT_A8R8G8B8, &t, D3DUSAGE_RENDERTARGET), D3D_OK)
        << "render targets live in the default pool";
    ASSERT_EQ(Make(256, 64, 0, D3DFMT_A8R8G8B8, &t), D3D_OK);
    EXPECT_EQ(t->GetLevelCount(), 9u) << "levels 0 asks for the whole chain";
    D3DSURFACE_DESC d;
    ASSERT_EQ(t->GetLevelDesc(7, &d), D3D_OK);
    EXPECT_EQ(d.Width, 2u);
    EXPECT_EQ(d.Height, 1u) << "the short side stops at 1";
    t->Release();
}

TEST_F(RecordedTextures, LockedLevelsHaveDirect3DPitches) {
    IDirect3DTexture8* t = nullptr;
    ASSERT_EQ(Make(2, 2, 2, D3DFMT_A8, &t), D3D_OK);
    D3DLOCKED_RECT lr;
    ASSERT_EQ(t->LockRect(0, &lr, nullptr, 0), D3D_OK);
    EXPECT_EQ(lr.Pitch, 4) << "rows are padded to four bytes, so copies must honour the pitch";
    EXPECT_NE(t->LockRect(0, &lr, nullptr, 0), D3D_OK) << "a level locks once at a time";
    EXPECT_EQ(t->UnlockRect(0), D3D_OK);
    EXPECT_NE(t->UnlockRect(0), D3D_OK);
    t->Release();

    ASSERT_EQ(Make(16, 8, 0, D3DFMT_DXT1, &t), D3D_OK);
    ASSERT_EQ(t->LockRect(4, &lr, nullptr, 0), D3D_OK);
    EXPECT_EQ(lr.Pitch, 8) << "a 1 x 1 level is one whole block";
    t->UnlockRect(4);
    t->Release();

    ASSERT_EQ(Make(8, 8, 1, D3DFMT_A8R8G8B8, &t), D3D_OK);
    D3DLOCKED_RECT whole, part;
    ASSERT_EQ(t->LockRect(0, &whole, nullptr, 0), D3D_OK);
    t->UnlockRect(0);
    RECT r{2, 3, 4, 5}, outside{6, 0, 9, 1};
    ASSERT_EQ(t->LockRect(0, &part, &r, 0), D3D_OK);
    EXPECT_EQ(static_cast<uint8_t*>(part.pBits) - static_cast<uint8_t*>(whole.pBits), 3 * 32 + 8);
    t->UnlockRect(0);
    EXPECT_NE(t->LockRect(0, &part, &outside, 0), D3D_OK);
    t->Release();
}

TEST_F(RecordedTextures, ReferencesFollowDirect3D) {
    IDirect3DTexture8* t = nullptr;
    ASSERT_EQ(Make(4, 4, 0, D3DFMT_A8R8G8B8, &t), D3D_OK);
    IDirect3DSurface8* s = nullptr;
    ASSERT_EQ(t->GetSurfaceLevel(1, &s), D3D_OK);
    EXPECT_EQ(t->Release(), 1u) << "the surface's reference keeps the texture";
    D3DLOCKED_RECT lr;
    ASSERT_EQ(s->LockRect(&lr, nullptr, 0), D3D_OK) << "the surface still reaches its level";
    EXPECT_EQ(s->UnlockRect(), D3D_OK);
    EXPECT_EQ(s->Release(), 0u);

    ASSERT_EQ(Make(4, 4, 1, D3DFMT_A8R8G8B8, &t), D3D_OK);
    ASSERT_EQ(dev->SetTexture(2, t), D3D_OK);
    EXPECT_EQ(t->Release(), 1u) << "the device holds the bound texture";
    ASSERT_EQ(dev->SetTexture(2, nullptr), D3D_OK);

    ASSERT_EQ(Make(16, 16, 1, D3DFMT_A8R8G8B8, &t, D3DUSAGE_RENDERTARGET, D3DPOOL_DEFAULT), D3D_OK);
    EXPECT_NE(t->LockRect(0, &lr, nullptr, 0), D3D_OK) << "render targets are not lockable";
    EXPECT_EQ(dev->Reset(&pp), D3DERR_INVALIDCALL) << "a default-pool texture blocks Reset";
    t->Release();
    EXPECT_EQ(dev->Reset(&pp), D3D_OK);
}
