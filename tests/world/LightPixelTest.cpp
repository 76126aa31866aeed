// The light entity on OpenGL (llvmpipe through EGL, offscreen), read back: a directional light
// facing a lit quad brightens it by its colour, and a light of type 0 (or one turned away)
// leaves it at the ambient level.
#include "I3d/Materials.h"
#include "I3d/Math/Mat4Math.h"
#include "I3d/StateCache.h"
#include "tests/I3d/KernelFixture.h"
#include "tests/world/WorldTestClasses.h"
#include "world/EntLight.h"

#include <GL/gl.h>

#include <cstdlib>

namespace {

constexpr int kSide = 32;

struct Vertex {
    float x, y, z, nx, ny, nz;
};

class LightPixels : public KernelTest {
  protected:
    void SetUp() override {
        KernelTest::SetUp();
        StartGl();
        CreateOffscreen(kSide, kSide);
        RegisterWorldTestClasses();
        root = Make("EntNull", nullptr, "Root");
        VECTOR3 eye = {0, 0, -5}, at = {0, 0, 0}, up = {0, 1, 0};
        Mat4 view, proj;
        I3dSetView(Mat4LookAt(&view, &eye, &at, &up));
        I3dSetProj(Mat4Perspective(&proj, 1.0f, 1.0f, 0.1f, 100.0f));
    }
    void TearDown() override {
        EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR)) << "the light left a GL error";
        EntDestroyTree(root);
        EntSystemShutdown();
        KernelTest::TearDown();
    }
    // The centre of a white, lit quad facing the eye under ambient 0.2.
    int Grey() {
        Mat4 identity;
        I3dSetWorld(Mat4Identity(&identity));
        D3dSetAmbient(0.2f, 0.2f, 0.2f);
        D3dSetLighting(1);
        D3dSetCullMode(D3DCULL_NONE);
        D3dSetAmbientMaterialSource(D3DMCS_MATERIAL);
        D3dSetDiffuseMaterialSource(D3DMCS_MATERIAL);
        D3dSetEmissiveMaterialSource(D3DMCS_MATERIAL);
        static const float white[4] = {1, 1, 1, 1}, black[4] = {0, 0, 0, 1};
        D3dSetMaterialDiffuse(white);
        D3dSetMaterialAmbient(white);
        D3dSetMaterialEmissive(black);
        D3dSetColorOp(0, D3DTOP_SELECTARG1);
        D3dSetColorArg1(0, D3DTA_DIFFUSE);
        D3dSetColorOp(1, D3DTOP_DISABLE);
        D3dSetClearColor(0, 0, 0);
        const Vertex quad[4] = {
            {-4, 4, 0, 0, 0, -1}, {4, 4, 0, 0, 0, -1}, {4, -4, 0, 0, 0, -1}, {-4, -4, 0, 0, 0, -1}};
        EXPECT_EQ(D3dClear(D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER), D3D_OK);
        EXPECT_EQ(D3dBeginScene(), 0);
        IDirect3DDevice8* dev = D3dDevice();
        dev->SetVertexShader(D3DFVF_XYZ | D3DFVF_NORMAL);
        EXPECT_EQ(dev->DrawPrimitiveUP(D3DPT_TRIANGLEFAN, 2, quad, sizeof(Vertex)), D3D_OK);
        EXPECT_EQ(D3dEndScene(), 0);
        const uint32_t px = D3dReadPixel(kSide / 2, kSide / 2);
        EXPECT_EQ((px >> 16) & 0xFF, px & 0xFF) << "grey";
        return int(px & 0xFF);
    }

    ENTBASE* root = nullptr;
};

TEST_F(LightPixels, DirectionalLightBrightensTheQuadAndTypeZeroLeavesItAtAmbient) {
    const int ambient = 51; // 0.2 of white
    EXPECT_NEAR(Grey(), ambient, 2) << "no light yet";
    auto* light = Make<EntLight>("Light", root, "Sun");
    light->type = 3;
    light->color[0] = light->color[1] = light->color[2] = 0.5f;
    light->Start(); // yaw and pitch 0: shining along +z, onto the quad's face
    ASSERT_GE(light->light, 0);
    EXPECT_NEAR(Grey(), ambient + 127, 3) << "ambient plus half of full light";
    light->yaw = 3.1415927f;
    light->VarsChanged();
    EXPECT_NEAR(Grey(), ambient, 2) << "turned away, the light falls on the back";
    light->yaw = 0.0f;
    light->type = 0;
    light->VarsChanged();
    EXPECT_EQ(light->light, -1);
    EXPECT_NEAR(Grey(), ambient, 2) << "type 0 holds no light";
}

} // namespace
