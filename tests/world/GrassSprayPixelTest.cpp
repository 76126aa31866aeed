// Grass blocks and particle sprays on OpenGL (llvmpipe through EGL, offscreen), read back: a
// green block in front of the camera, gone beyond its distance and blended in the fade band
// with the alpha test cutting thin texels, tinted by the light on an upward normal; and white
// particles over black, summed when additive and mixed by alpha when not.
#include "I3d/Camera.h"
#include "I3d/Device.h"
#include "I3d/Image.h"
#include "I3d/Math/Mat4Math.h"
#include "I3d/SpriteBatch.h"
#include "I3d/StateCache.h"
#include "I3d/Textures.h"
#include "engine/Random.h"
#include "tests/I3d/KernelFixture.h"
#include "tests/support/PixelChannels.h"
#include "tests/world/WorldTestClasses.h"
#include "world/GrassMesh.h"
#include "world/ParticleSpray.h"

#include <cstdlib>
#include <string>

namespace {

constexpr int kW = 64, kH = 48;

class GrassSprayPixels : public KernelTest {
  protected:
    void SetUp() override {
        KernelTest::SetUp();
        StartGl();
        CreateOffscreen(kW, kH);
        CreateCurrentPair();
        ASSERT_EQ(I3dTexTableAlloc(16), 0);
        RegisterWorldTestClasses();
        classFile = dir / "Classes.ini";
        ASSERT_EQ(EntCreateClass(EcGrassMeshProc, 0, 0), 0);
        ASSERT_EQ(
            EntCreateClass(EcParticleSprayProc, reinterpret_cast<intptr_t>(classFile.c_str()), 0),
            0);
        root = Make("EntNull", nullptr, "Root");
        D3dSetAmbient(1.0f, 1.0f, 1.0f);
        CrtSrand(3);
    }
    void TearDown() override {
        EntDestroyTree(root);
        EntSystemShutdown();
        I3dSpriteBatchDestroy();
        I3dTexTableFree();
        KernelTest::TearDown();
    }
    // A 64 x 2 texture: the left half of colour `left`, the right half `right` (ARGB).
    int Texture(const std::string& name, uint32_t left, uint32_t right) {
        I3dImage* img = ImgAlloc(64, 2, IMG_A8R8G8B8);
        for (int y = 0; y < 2; ++y)
            for (int x = 0; x < 64; ++x) {
                const uint32_t c = x < 32 ? left : right;
                uint8_t* p = img->pixels + size_t(y) * size_t(img->pitch) + size_t(x) * 4;
                p[0] = uint8_t(c), p[1] = uint8_t(c >> 8), p[2] = uint8_t(c >> 16);
                p[3] = uint8_t(c >> 24);
            }
        EXPECT_EQ(ImgSaveTga(img, (dir / name).c_str(), nullptr), 0);
        ImgFree(img);
        const int slot = I3dTexLoad((dir / name).c_str(), nullptr, 1);
        EXPECT_GE(slot, 0);
        return slot;
    }
    void Eye(float z) {
        const VECTOR3 eye{0.0f, 1.0f, z}, at{0.0f, 1.0f, 0.0f}, up{0.0f, 1.0f, 0.0f};
        Mat4 view, proj;
        I3dSetView(Mat4LookAt(&view, &eye, &at, &up));
        I3dSetProj(Mat4Perspective(&proj, 1.0f, float(kW) / float(kH), 0.5f, 1000.0f));
        I3dSetEyePos(&eye);
    }
    // A block of one upright quad in the plane z = 0 across the view's centre.
    GrassMesh* Block(int texture) {
        auto* m = Make<GrassMesh>("GrassMesh", root, "GrassMesh");
        auto* b = new GrassBlock;
        EXPECT_TRUE(b->mesh.Create(33, 4, 2));
        EXPECT_TRUE(b->mesh.LockVerts());
        const float v[4][5] = {
            {-5, -4, 0, 0, 1}, {5, -4, 0, 1, 1}, {5, 6, 0, 1, 0}, {-5, 6, 0, 0, 0}};
        I3dVbBegin(b->mesh.vb, 0);
        for (const auto& p : v) {
            I3dVbPos(p[0], p[1], p[2]);
            I3dVbUv(p[3], p[4]);
            I3dVbNext();
        }
        b->mesh.UnlockVerts();
        uint16_t* idx = b->mesh.LockIndices();
        IdxPushQuad(&idx, 0, 1, 2, 3);
        b->mesh.UnlockIndices();
        const float box[6] = {-5, -4, 0, 5, 6, 0};
        std::copy(box, box + 6, b->box);
        m->texture = texture;
        m->visDist = 80.0f;
        m->SetBlock(b);
        return m;
    }
    // One frame of the block over black: the pixel at x (the centre row).
    uint32_t Draw(GrassMesh* m, int x = kW / 2) {
        EXPECT_EQ(D3dBeginScene(), 0);
        D3dSetClearColor(0, 0, 0);
        D3dClear(D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER);
        m->DrawPre();
        D3dEndScene();
        return D3dReadPixel(x, kH / 2);
    }

    TempDir dir;
    std::string classFile;
    ENTBASE* root = nullptr;
};

TEST_F(GrassSprayPixels, GrassShowsFadesAndFollowsTheLight) {
    // Opaque green on the left, green of alpha 100 on the right.
    GrassMesh* m = Block(Texture("Green.tga", 0xFF00C800u, 0x6400C800u));
    // Both within the quad even where it is 6 pixels wide.
    const int left = kW / 2 - 1, right = kW / 2 + 1;
    Eye(-10.0f);
    uint32_t px = Draw(m, left);
    EXPECT_NEAR(Green(px), 200, 3);
    EXPECT_LE(Red(px) + Blue(px), 4);
    EXPECT_EQ(Green(Draw(m, right)), 0) << "alpha 100 is under the reference 150";

    // Fade band: d = 76 of L = 80 gives a fade of 0.5.
    Eye(-76.0f);
    EXPECT_NEAR(Green(Draw(m, left)), 100, 4);
    EXPECT_EQ(Green(Draw(m, right)), 0);
    // Beyond L nothing is drawn.
    Eye(-81.0f);
    EXPECT_EQ(Draw(m, left) & 0xFFFFFFu, 0u);

    // A dimmer light on the upward normal, a darker tint.
    Eye(-10.0f);
    D3dSetAmbient(0.5f, 0.5f, 0.5f);
    EXPECT_NEAR(Green(Draw(m, left)), 100, 4);
}

TEST_F(GrassSprayPixels, SpraysAddOrBlendOverBlack) {
    ASSERT_EQ(I3dSpriteBatchCreate(3000, 40), 0);
    const int white = Texture("White.tga", 0xFFFFFFFFu, 0xFFFFFFFFu);
    Eye(-10.0f);
    uint32_t seen[2] = {};
    for (int additive = 1; additive >= 0; --additive) {
        auto* s = Make<ParticleSpray>("ParticleSpray", root, "Fountain");
        s->maxParticles = 10;
        std::snprintf(s->textureFile, sizeof s->textureFile, "%s", "White.tga");
        s->lifeSpanMin = s->lifeSpanMax = 10.0f;
        s->sizeInitial = s->sizeFinal = 2.0f;
        s->colorInitial = s->colorFinal = SprayColor{1.0f, 1.0f, 1.0f, 0.5f};
        s->colorVar = SprayColor{0.0f, 0.0f, 0.0f, 0.0f};
        s->destBlend = uint32_t(additive);
        s->SetPosXYZ(0.0f, 1.0f, 0.0f);
        s->Start();
        s->SpraySpawn(&s->pos);
        s->SpraySpawn(&s->pos);
        s->Update(0.0f);
        EXPECT_EQ(D3dBeginScene(), 0);
        D3dSetClearColor(0, 0, 0);
        D3dClear(D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER);
        I3dSpriteBatchFlush(); // the view's corners for this frame's sprites
        EXPECT_EQ(s->DrawPre(), 1);
        I3dSpriteBatchFlush();
        D3dEndScene();
        seen[additive] = D3dReadPixel(kW / 2, kH / 2);
        EXPECT_EQ(D3dReadPixel(1, 1) & 0xFFFFFFu, 0u) << "far from the particles stays black";
        EXPECT_EQ(I3dTexGetSlot(white)->count, 2);
        EntDestroyTree(s);
        EXPECT_EQ(I3dTexGetSlot(white)->count, 1) << "the spray gives back its texture";
    }
    // Two halves added reach white; mixed by alpha, 128 and then half of the rest.
    EXPECT_GE(Red(seen[1]), 250);
    EXPECT_NEAR(Red(seen[0]), 191, 4);
}

} // namespace
