// The test board on OpenGL (llvmpipe through EGL, offscreen), seen from straight above under
// white ambient light through a placed camera: the tile fill and border, a marked tile's yellow
// overlay, the cursor's white frame, and the framed textures as the generator rule makes them.
#include "I3d/Camera.h"
#include "I3d/Frustum.h"
#include "I3d/Image.h"
#include "I3d/StateCache.h"
#include "I3d/Textures.h"
#include "tests/support/PixelChannels.h"
#include "tests/world/CamerasFixture.h"
#include "world/EntViewport.h"

#include <GL/gl.h>

#include <cmath>
#include <cstdlib>

namespace {

constexpr int kSide = 256;

class PlayfieldPixels : public CamerasTest {
  protected:
    void SetUp() override {
        KernelTest::SetUp();
        StartGl();
        CreateOffscreen(kSide, kSide);
        ASSERT_EQ(I3dTexTableAlloc(32), 0);
        CreateCurrentPair();
        D3dSetAmbient(1, 1, 1);
        RegisterClasses(); // after the device: the board's class makes its textures
        ENTBASE* viewports = Make("EntNull", root, "Viewports");
        view = Make<EntViewport>("Viewport", viewports, "Main");
        view->SetVoid("entDrawRoot", (intptr_t)world);
        view->clear = 1;
        view->SetColor3("color", 0, 0, 0);
        // The board stands 5 up: its overlays must stand on it, not at the world's floor.
        board = Make<Playfield1>("Playfield1", world, "Board");
        board->dimX = board->dimY = 4;
        board->tileSize = 10.0f;
        board->pos = VECTOR3{0.0f, 5.0f, 0.0f};
        board->Start();
        auto* cam = Make<CameraFixed>("CameraFixed", world, "Above");
        cam->pos = VECTOR3{0.0f, 25.0f, -5.0f};
        cam->SetPitch(1.5707963f);
        cam->Start();
        view->SetVoid("entCamera", (intptr_t)cam);
    }
    void TearDown() override {
        EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR)) << "the drawing left a GL error";
        CamerasTest::TearDown();
        I3dTexTableFree();
    }
    void Frame() {
        ASSERT_EQ(D3dBeginScene(), 0);
        EntTreeDrawPre(view);
        D3dEndScene();
    }
    // The pixel where the board shows the point (x, z).
    static uint32_t At(float x, float z) {
        Mat4 identity;
        I3dSetWorld(Mat4Identity(&identity));
        const VECTOR3 p = {x, 5.0f, z};
        float s[3];
        I3dProjectPoint(&p, s);
        const int px = int(std::lround((s[0] + 1) * 0.5f * kSide));
        const int py = int(std::lround((1 - s[1]) * 0.5f * kSide));
        return D3dReadPixel(px, py);
    }
    static bool Near(uint32_t c, int r, int g, int b, int tolerance = 8) {
        return std::abs(Red(c) - r) <= tolerance && std::abs(Green(c) - g) <= tolerance &&
               std::abs(Blue(c) - b) <= tolerance;
    }

    EntViewport* view = nullptr;
    Playfield1* board = nullptr;
};

TEST_F(PlayfieldPixels, ATileShowsItsFillAndItsEdgeTheBorderGrey) {
    Frame();
    const uint32_t centre = At(-5.0f, -5.0f);
    EXPECT_TRUE(Near(centre, 0x40, 0x60, 0x40)) << std::hex << centre;
    const uint32_t edge = At(0.0f, -5.0f); // between two tiles: both borders
    EXPECT_TRUE(Near(edge, 0x60, 0x60, 0x60)) << std::hex << edge;
    const uint32_t outer = At(-10.0f, -5.0f);
    EXPECT_TRUE(Near(outer, 0x60, 0x60, 0x60)) << std::hex << outer;
}

TEST_F(PlayfieldPixels, AMarkedTileIsYellowerThanAnUnmarkedOne) {
    ASSERT_EQ(PlayfieldToggleMarkAt(board, -5.0f, -5.0f), 1);
    Frame();
    const uint32_t marked = At(-5.0f, -5.0f), plain = At(5.0f, -5.0f);
    EXPECT_GT(Red(marked), Red(plain) + 20) << std::hex << marked << " over " << plain;
    EXPECT_GT(Green(marked), Green(plain) + 20);
    EXPECT_LT(Blue(marked), Blue(plain) - 8);
    EXPECT_TRUE(Near(marked, 111, 136, 48)) << "yellow at alpha 0x40 over the fill";
}

TEST_F(PlayfieldPixels, TheCursorFramesItsTileInWhite) {
    PlayfieldSetCursorAt(board, 5.0f, -5.0f);
    Frame();
    for (float x : {0.3f, 9.7f})
        EXPECT_TRUE(Near(At(x, -5.0f), 255, 255, 255)) << "the frame's side at x " << x;
    EXPECT_TRUE(Near(At(5.0f, -9.7f), 255, 255, 255));
    EXPECT_TRUE(Near(At(5.0f, -5.0f), 0x40, 0x60, 0x40)) << "the frame's middle is clear";
    EXPECT_TRUE(Near(At(-5.0f, -9.7f), 0x40, 0x60, 0x40, 40)) << "only the cursor's tile";
}

TEST_F(PlayfieldPixels, TheFramedTexturesFollowTheGeneratorRule) {
    struct Want {
        int which;
        uint32_t fill;
        int border;
        uint32_t edge;
    };
    const Want wants[] = {{PFTEX_BOARD, 0xFF406040, 4, 0xFF606060},
                          {PFTEX_MARKED, 0x40FFFF00, 8, 0xC0FFFF00},
                          {PFTEX_CURSOR, 0x00000000, 16, 0xFFFFFFFF},
                          {PFTEX_SPARE1, 0xFF404080, 4, 0xFF202040},
                          {PFTEX_SPARE2, 0x80FFFFFF, 2, 0xFF000000}};
    for (const Want& w : wants) {
        const int slot = PlayfieldTextureSlot(w.which);
        ASSERT_GE(slot, 0) << w.which;
        I3dImage img;
        ASSERT_EQ(I3dTexLockImage(slot, 0, &img), 0);
        ASSERT_EQ(img.width, 256);
        int wrong = 0;
        for (int y = 0; y < img.height; ++y) {
            const auto* row = reinterpret_cast<const uint32_t*>(img.pixels + (size_t)y * img.pitch);
            for (int x = 0; x < img.width; ++x) {
                const int fromEdge = std::min(std::min(x, y), std::min(255 - x, 255 - y));
                wrong += row[x] != (fromEdge < w.border ? w.edge : w.fill);
            }
        }
        D3dTextureUnlock(slot, 0);
        EXPECT_EQ(wrong, 0) << "texture " << w.which << " with a border of " << w.border;
    }
    const int blender = PlayfieldTextureSlot(PFTEX_BLENDER);
    ASSERT_GE(blender, 0);
    EXPECT_STRCASEEQ(I3dTexGetSlot(blender)->name, "Blender");
    EXPECT_EQ(PlayfieldShaderCount(), 4);
}

} // namespace
