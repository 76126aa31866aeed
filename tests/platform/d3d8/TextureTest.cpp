// Textures of the layer without pixels, on the recording device: what may be created, level
// sizes and pitches, locking rules, surfaces keeping their texture alive.
#include "platform/d3d8/Texture.h"
#include "platform/d3d8/Recording.h"
#include "tests/support/TexturedQuad.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

struct RecordedTextures : ::testing::Test {
    IDirect3D8* d3d = nullptr;
    IDirect3DDevice8* dev = nullptr;

    void SetUp() override {
        D3dRecordingSetup(D3dRecordingConfig{});
        d3d = Direct3DCreate8Recording(D3D_SDK_VERSION);
        ASSERT_NE(d3d, nullptr);
        D3DPRESENT_PARAMETERS pp = TexTestPresentParams(64, 32);
        ASSERT_EQ(d3d->CreateDevice(0, D3DDEVTYPE_HAL, nullptr, D3DCREATE_HARDWARE_VERTEXPROCESSING,
                                    &pp, &dev),
                  D3D_OK);
    }
    void TearDown() override {
        if (dev) {
            EXPECT_EQ(dev->Release(), 0u) << "a texture or surface kept the device alive";
        }
        if (d3d) d3d->Release();
    }
    HRESULT Make(UINT w, UINT h, UINT levels, DWORD usage, D3DFORMAT f, D3DPOOL pool,
                 IDirect3DTexture8** t) {
        return dev->CreateTexture(w, h, levels, usage, f, pool, t);
    }
};

} // namespace

TEST_F(RecordedTextures, FormatsSizesAndPoolsThatMayBeCreated) {
    for (D3DFORMAT f : {D3DFMT_A8R8G8B8, D3DFMT_X8R8G8B8, D3DFMT_R5G6B5, D3DFMT_A8, D3DFMT_L8,
                        D3DFMT_R8G8B8, D3DFMT_A1R5G5B5, D3DFMT_A4R4G4B4, D3DFMT_DXT1, D3DFMT_DXT2,
                        D3DFMT_DXT3, D3DFMT_DXT4, D3DFMT_DXT5}) {
        IDirect3DTexture8* t = nullptr;
        ASSERT_EQ(Make(16, 8, 1, 0, f, D3DPOOL_MANAGED, &t), D3D_OK) << f;
        t->Release();
    }
    IDirect3DTexture8* t = reinterpret_cast<IDirect3DTexture8*>(1);
    EXPECT_NE(Make(16, 8, 1, 0, D3DFMT_P8, D3DPOOL_MANAGED, &t), D3D_OK);
    EXPECT_EQ(t, nullptr) << "a failed creation hands back null";
    EXPECT_NE(Make(0, 8, 1, 0, D3DFMT_A8, D3DPOOL_MANAGED, &t), D3D_OK);
    EXPECT_NE(Make(16, 8, 6, 0, D3DFMT_A8, D3DPOOL_MANAGED, &t), D3D_OK)
        << "16 x 8 has only five levels";
    EXPECT_NE(Make(16, 16, 1, D3DUSAGE_RENDERTARGET, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &t), D3D_OK)
        << "render targets live in the default pool";
    EXPECT_NE(Make(16, 16, 1, D3DUSAGE_RENDERTARGET, D3DFMT_DXT1, D3DPOOL_DEFAULT, &t), D3D_OK);

    ASSERT_EQ(Make(256, 64, 0, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &t), D3D_OK);
    EXPECT_EQ(t->GetLevelCount(), 9u) << "levels 0 asks for the whole chain";
    D3DSURFACE_DESC d;
    ASSERT_EQ(t->GetLevelDesc(7, &d), D3D_OK);
    EXPECT_EQ(d.Width, 2u);
    EXPECT_EQ(d.Height, 1u) << "the short side stops at 1";
    EXPECT_EQ(d.Format, D3DFMT_A8R8G8B8);
    EXPECT_EQ(d.Pool, D3DPOOL_MANAGED);
    EXPECT_NE(t->GetLevelDesc(9, &d), D3D_OK);
    t->Release();
}

TEST_F(RecordedTextures, LockedLevelsHaveDirect3DPitches) {
    IDirect3DTexture8* t = nullptr;
    ASSERT_EQ(Make(2, 2, 2, 0, D3DFMT_A8, D3DPOOL_MANAGED, &t), D3D_OK);
    D3DLOCKED_RECT lr;
    ASSERT_EQ(t->LockRect(0, &lr, nullptr, 0), D3D_OK);
    EXPECT_EQ(lr.Pitch, 4) << "rows are padded to four bytes, so copies must honour the pitch";
    EXPECT_NE(t->LockRect(0, &lr, nullptr, 0), D3D_OK) << "a level locks once at a time";
    EXPECT_EQ(t->UnlockRect(0), D3D_OK);
    EXPECT_NE(t->UnlockRect(0), D3D_OK);
    EXPECT_NE(t->LockRect(2, &lr, nullptr, 0), D3D_OK);
    t->Release();

    ASSERT_EQ(Make(16, 8, 0, 0, D3DFMT_DXT1, D3DPOOL_MANAGED, &t), D3D_OK);
    ASSERT_EQ(t->LockRect(0, &lr, nullptr, 0), D3D_OK);
    EXPECT_EQ(lr.Pitch, 32) << "a row of four DXT1 blocks";
    t->UnlockRect(0);
    ASSERT_EQ(t->LockRect(4, &lr, nullptr, 0), D3D_OK);
    EXPECT_EQ(lr.Pitch, 8) << "a 1 x 1 level is one whole block";
    t->UnlockRect(4);
    t->Release();

    ASSERT_EQ(Make(8, 8, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &t), D3D_OK);
    D3DLOCKED_RECT whole, part;
    ASSERT_EQ(t->LockRect(0, &whole, nullptr, 0), D3D_OK);
    t->UnlockRect(0);
    RECT r{2, 3, 4, 5};
    ASSERT_EQ(t->LockRect(0, &part, &r, 0), D3D_OK);
    EXPECT_EQ(static_cast<uint8_t*>(part.pBits) - static_cast<uint8_t*>(whole.pBits), 3 * 32 + 8);
    t->UnlockRect(0);
    RECT outside{6, 0, 9, 1};
    EXPECT_NE(t->LockRect(0, &part, &outside, 0), D3D_OK);
    t->Release();
}

TEST_F(RecordedTextures, SurfacesKeepTheirTextureAlive) {
    IDirect3DTexture8* t = nullptr;
    ASSERT_EQ(Make(4, 4, 0, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &t), D3D_OK);
    IDirect3DSurface8* s = nullptr;
    ASSERT_EQ(t->GetSurfaceLevel(1, &s), D3D_OK);
    EXPECT_EQ(t->Release(), 1u) << "the surface's reference keeps the texture";
    D3DSURFACE_DESC d;
    ASSERT_EQ(s->GetDesc(&d), D3D_OK) << "the surface still reaches its texture";
    EXPECT_EQ(d.Width, 2u);
    D3DLOCKED_RECT lr;
    ASSERT_EQ(s->LockRect(&lr, nullptr, 0), D3D_OK);
    std::memset(lr.pBits, 0xAB, 8);
    EXPECT_EQ(s->UnlockRect(), D3D_OK);
    EXPECT_EQ(s->Release(), 0u);

    IDirect3DCubeTexture8* c = nullptr;
    ASSERT_EQ(dev->CreateCubeTexture(8, 0, 0, D3DFMT_DXT5, D3DPOOL_MANAGED, &c), D3D_OK);
    EXPECT_EQ(c->GetLevelCount(), 4u);
    EXPECT_EQ(c->GetType(), D3DRTYPE_CUBETEXTURE);
    ASSERT_EQ(c->GetCubeMapSurface(D3DCUBEMAP_FACE_NEGATIVE_Z, 3, &s), D3D_OK);
    IDirect3DSurface8* none = nullptr;
    EXPECT_NE(c->GetCubeMapSurface(6, 0, &none), D3D_OK);
    ASSERT_EQ(c->LockRect(D3DCUBEMAP_FACE_POSITIVE_Y, 0, &lr, nullptr, 0), D3D_OK);
    EXPECT_EQ(lr.Pitch, 32);
    c->UnlockRect(D3DCUBEMAP_FACE_POSITIVE_Y, 0);
    c->Release();
    s->Release();
}

TEST_F(RecordedTextures, BoundAndRenderTargetTexturesFollowDirect3DLifetimes) {
    IDirect3DTexture8* t = nullptr;
    ASSERT_EQ(Make(4, 4, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &t), D3D_OK);
    ASSERT_EQ(dev->SetTexture(2, t), D3D_OK);
    EXPECT_EQ(t->Release(), 1u) << "the device holds the bound texture";
    ASSERT_EQ(dev->SetTexture(2, nullptr), D3D_OK);

    ASSERT_EQ(Make(16, 16, 1, D3DUSAGE_RENDERTARGET, D3DFMT_A8R8G8B8, D3DPOOL_DEFAULT, &t), D3D_OK);
    D3DLOCKED_RECT lr;
    EXPECT_NE(t->LockRect(0, &lr, nullptr, 0), D3D_OK) << "render targets are not lockable";
    D3DPRESENT_PARAMETERS pp = TexTestPresentParams(64, 32);
    EXPECT_EQ(dev->Reset(&pp), D3DERR_INVALIDCALL) << "a default-pool texture blocks Reset";
    t->Release();
    EXPECT_EQ(dev->Reset(&pp), D3D_OK);
}
