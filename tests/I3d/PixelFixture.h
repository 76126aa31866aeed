// A render kernel on OpenGL (llvmpipe through EGL, offscreen) for the pixel tests: a lockable
// device of the test's size, the shared current pair made as the application makes it, the
// identity world, pixel space, a cleared frame under way, and the render target read back.
#pragma once

#include "I3d/Math/Mat4Math.h"
#include "tests/I3d/KernelFixture.h"
#include "tests/support/TexturedQuad.h"

#include <GL/gl.h>

#include <cmath>

class PixelTest : public KernelTest {
  protected:
    PixelTest(int width, int height, float clearR, float clearG, float clearB)
        : m_w(width), m_h(height), m_clear{clearR, clearG, clearB} {}
    void SetUp() override {
        KernelTest::SetUp();
        StartGl();
        ASSERT_EQ(I3dTexTableAlloc(16), 0);
        CreateOffscreen(m_w, m_h);
        m_vb = I3dVbCreate(0, 71, 4000);
        m_ib = I3dIbCreate(0, 8000);
        ASSERT_TRUE(m_vb && m_ib);
        I3dVbSetCurrent(m_vb);
        I3dIbSetCurrent(m_ib);
        Mat4 identity;
        I3dSetWorld(Mat4Identity(&identity));
        PixelSpace();
        D3dSetClearColor(m_clear[0], m_clear[1], m_clear[2]);
        Frame();
    }
    void TearDown() override {
        D3dEndScene();
        EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR)) << "the drawing left a GL error";
        I3dVbFree(m_vb);
        I3dIbFree(m_ib);
        KernelTest::TearDown();
    }
    // Ends the frame under way and starts a cleared one.
    void Frame() {
        D3dEndScene();
        ASSERT_EQ(D3dClear(D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER), D3D_OK);
        ASSERT_EQ(D3dBeginScene(), 0);
    }
    // The solid-colour pass with that colour (acquired first: making it resets the words).
    static void SolidColor(uint32_t argb) {
        Shader* solid = ShaderSolidColorAcquire();
        ShaderParams.words[0] = argb;
        solid->CallPass(0);
    }
    // No view, the pixel-space projection: (0, 0) is the top-left pixel's centre.
    void PixelSpace() const {
        Mat4 identity, ortho;
        I3dSetView(Mat4Identity(&identity));
        I3dSetProj(Mat4OrthoScreen(&ortho, m_w, m_h));
    }
    // A perspective camera at eye looking at `at`; returns the view x projection.
    static Mat4 LookFrom(VECTOR3 eye, VECTOR3 at, float fov, VECTOR3 up = {0, 1, 0}) {
        Mat4 view, proj, viewProj;
        I3dSetView(Mat4LookAt(&view, &eye, &at, &up));
        I3dSetProj(Mat4Perspective(&proj, fov, I3dGetInvAspect(), 0.1f, 100.0f));
        return *Mat4Mul(&view, &proj, &viewProj);
    }
    void ReadBack() { m_pixels = TexQuadReadBack(D3dDevice()); }
    uint32_t At(int x, int y) const {
        return m_pixels.at(size_t(y) * size_t(m_w) + size_t(x)) & 0xFFFFFF;
    }
    // The pixel a world point projects to under the kernel's current matrices.
    void PixelOf(const VECTOR3& p, int* x, int* y) const {
        float s[3];
        I3dProjectPoint(&p, s);
        *x = int(std::lround((s[0] + 1) * m_w / 2));
        *y = int(std::lround((1 - s[1]) * m_h / 2));
    }
    uint32_t AtPoint(const VECTOR3& p, int dy = 0) const {
        int x, y;
        PixelOf(p, &x, &y);
        return At(x, y + dy);
    }

    const int m_w, m_h;
    const float m_clear[3];
    I3dVertexBuffer* m_vb = nullptr;
    I3dIndexBuffer* m_ib = nullptr;
    std::vector<uint32_t> m_pixels;
};
