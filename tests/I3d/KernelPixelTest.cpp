// The device kernel on OpenGL (Mesa's llvmpipe, offscreen): clears and read-back, and a device
// that draws correctly again after a loss and reset.
#include "I3d/Math/Mat4Math.h"
#include "tests/I3d/KernelFixture.h"

#include <GL/gl.h>

namespace {

class KernelPixels : public KernelTest {
  protected:
    void SetUp() override {
        KernelTest::SetUp();
        StartGl();
        CreateOffscreen();
    }
    void TearDown() override {
        EXPECT_EQ(glGetError(), (GLenum)GL_NO_ERROR) << "the kernel left a GL error";
        KernelTest::TearDown();
    }
    // The application's states after a reset, through the cache.
    static void RestoreStates() {
        D3dSetLighting(0);
        D3dSetCullMode(D3DCULL_NONE);
        D3dSetColorOp(0, D3DTOP_SELECTARG1);
        D3dSetColorArg1(0, D3DTA_DIFFUSE);
        D3dSetAlphaOp(0, D3DTOP_SELECTARG1);
        D3dSetAlphaArg1(0, D3DTA_DIFFUSE);
    }
    // A white quad around the centre of pixel (10, 5) under the pixel-space projection.
    static void DrawPixelQuad() {
        struct V {
            float x, y, z;
            D3DCOLOR c;
        } v[4] = {{9.5f, 4.5f, 0.5f, 0xFFFFFFFF},
                  {10.5f, 4.5f, 0.5f, 0xFFFFFFFF},
                  {10.5f, 5.5f, 0.5f, 0xFFFFFFFF},
                  {9.5f, 5.5f, 0.5f, 0xFFFFFFFF}};
        Mat4 ortho;
        Mat4OrthoScreen(&ortho, 1024, 768);
        IDirect3DDevice8* dev = D3dDevice();
        dev->SetTransform(D3DTS_PROJECTION, &ortho);
        dev->SetVertexShader(D3DFVF_XYZ | D3DFVF_DIFFUSE);
        ASSERT_EQ(D3dBeginScene(), 0);
        ASSERT_EQ(dev->DrawPrimitiveUP(D3DPT_TRIANGLEFAN, 2, v, sizeof v[0]), D3D_OK);
        ASSERT_EQ(D3dEndScene(), 0);
    }
    static void ExpectOnlyPixel10x5() {
        EXPECT_EQ(D3dReadPixel(10, 5) & 0xFFFFFF, 0xFFFFFFu);
        EXPECT_EQ(D3dReadPixel(9, 5) & 0xFFFFFF, 0u);
        EXPECT_EQ(D3dReadPixel(11, 5) & 0xFFFFFF, 0u);
        EXPECT_EQ(D3dReadPixel(10, 4) & 0xFFFFFF, 0u);
        EXPECT_EQ(D3dReadPixel(10, 6) & 0xFFFFFF, 0u);
    }
};

TEST_F(KernelPixels, AFullClearReadsBackAsTheClearColour) {
    D3dSetClearColor(0.2f, 0.4f, 0.6f);
    ASSERT_EQ(D3dClear(7), D3D_OK);
    EXPECT_EQ(D3dReadPixel(0, 0), 0xFF336699u);
    EXPECT_EQ(D3dReadPixel(1023, 767), 0xFF336699u);
    EXPECT_EQ(D3dReadPixel(512, 300), 0xFF336699u);
}

TEST_F(KernelPixels, AClearInsideTheViewportLeavesTheRestAlone) {
    D3dSetClearColor(0.0f, 0.0f, 1.0f);
    ASSERT_EQ(D3dClear(7), D3D_OK);
    ASSERT_EQ(D3dSetViewport(200, 100, 100, 50), D3D_OK);
    D3dSetClearColor(1.0f, 0.0f, 0.0f);
    ASSERT_EQ(D3dClear(7), D3D_OK);
    EXPECT_EQ(D3dReadPixel(200, 100), 0xFFFF0000u);
    EXPECT_EQ(D3dReadPixel(299, 149), 0xFFFF0000u);
    for (auto [x, y] : {std::pair{199, 100}, std::pair{300, 100}, std::pair{200, 99},
                        std::pair{200, 150}, std::pair{0, 0}})
        EXPECT_EQ(D3dReadPixel(x, y), 0xFF0000FFu) << "(" << x << ", " << y << ") was cleared";
}

TEST_F(KernelPixels, ReadingOutsideTheTargetGivesZero) {
    D3dSetClearColor(1.0f, 1.0f, 1.0f);
    ASSERT_EQ(D3dClear(7), D3D_OK);
    EXPECT_EQ(D3dReadPixel(-1, 0), 0u);
    EXPECT_EQ(D3dReadPixel(0, -1), 0u);
    EXPECT_EQ(D3dReadPixel(1024, 0), 0u);
    EXPECT_EQ(D3dReadPixel(0, 768), 0u);
    EXPECT_EQ(D3dReadPixel(1023, 767), 0xFFFFFFFFu);
}

TEST_F(KernelPixels, DrawsExactlyAgainAfterALossAndReset) {
    D3dSetClearColor(0.0f, 0.0f, 0.0f);
    ASSERT_EQ(D3dClear(7), D3D_OK);
    RestoreStates();
    DrawPixelQuad();
    ExpectOnlyPixel10x5(); // several reads: none may keep a reference on the render target

    D3dTestLoseDevice(D3dDevice());
    EXPECT_EQ(D3dDeviceOk(), 0);
    ASSERT_EQ(D3dDeviceNeedsReset(), 1);
    ASSERT_EQ(D3dReset(), 0) << "a read-back left a reference on the render target";
    I3dResetStateCache();
    RestoreStates();
    ASSERT_EQ(D3dClear(7), D3D_OK);
    DrawPixelQuad();
    ExpectOnlyPixel10x5();
}

TEST_F(KernelPixels, AZeroScreenSizeBeginsAndPresentsNothing) {
    I3dSetScreenSize(0, 0);
    EXPECT_EQ(D3dBeginScene(), -1);
    EXPECT_EQ(D3dPresent(), 0);
    I3dSetScreenSize(1024, 768);
    EXPECT_EQ(D3dBeginScene(), 0);
    EXPECT_EQ(D3dEndScene(), 0);
    EXPECT_EQ(D3dPresent(), 0);
}

TEST(KernelPixelsFullScreen, AFormatTheDisplayDoesNotOfferIsReplacedAndLogged) {
    TempDir dir;
    DbgSetLogFile((dir / "Debug.txt").c_str());
    DbgSetLevelMask(0xFFFFFFFFu);
    DbgSetOutputMask(DBG_OUT_FILE);
    ASSERT_EQ(I3dStart(), 0);
    ASSERT_EQ(D3dCreateDevice(0, nullptr, 0, 320, 240, D3DFMT_R5G6B5, I3D_DEVICE_LOCKABLE), 0);
    EXPECT_NE(ReadTextFile(dir / "Debug.txt").find("back-buffer format 23 is not offered"),
              std::string::npos);
    EXPECT_EQ(D3dReadPixel(100, 100), 0xFF000000u) << "the first full-screen frame is black";
    IDirect3DSurface8* rt = nullptr;
    ASSERT_EQ(D3dDevice()->GetRenderTarget(&rt), D3D_OK);
    D3DSURFACE_DESC desc{};
    rt->GetDesc(&desc);
    rt->Release();
    EXPECT_EQ(desc.Format, D3DFMT_X8R8G8B8);
    EXPECT_EQ(I3dStop(), 0);
    DbgSetOutputMask(0);
}

} // namespace
