// The sky boxes and the cloud dome on OpenGL (llvmpipe through EGL, offscreen), read back: each
// wall of the strip box shows its band, the cube box shows the cube face of each wall's normal
// as the camera sees it, the clouds blend their colour by the texture's alpha under their own
// fog, and skies without their texture leave the frame as it was.
#include "I3d/StateCache.h"
#include "I3d/Textures.h"
#include "engine/System.h"
#include "tests/I3d/KernelFixture.h"
#include "tests/world/SkyBoxFiles.h"
#include "tests/world/WorldTestClasses.h"
#include "world/CloudDome2.h"
#include "world/EntViewport.h"

#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

constexpr int kW = 64, kH = 48;

class SkyPixels : public KernelTest {
  protected:
    void SetUp() override {
        KernelTest::SetUp();
        StartGl();
        ASSERT_EQ(I3dTexTableAlloc(32), 0);
        CreateOffscreen(kW, kH);
        CreateCurrentPair();
        m_oldFolder = SysSetProgramFolder(m_dir.Path().c_str());
        ASSERT_TRUE(WriteSkyStrip(m_dir / "Strip.dds"));
        GenImage clouds(8, 8);
        for (uint32_t y = 0; y < 8; ++y)
            for (uint32_t x = 0; x < 8; ++x)
                clouds.Set(x, y, 0x80FFFFFFu);
        ASSERT_TRUE(
            GenWriteFile(m_dir / "Clouds.dds", GenDdsBytes(GenDds::Argb32, GenMipChain(clouds))));
    }
    void TearDown() override {
        EntDestroyTree(root);
        EntSystemShutdown(); // while the kernel still holds the class textures' table
        SysSetProgramFolder(m_oldFolder.empty() ? nullptr : m_oldFolder.c_str());
        KernelTest::TearDown();
    }
    // The classes (the cube box with "Data/Enviro.dds" or without), the tree and the viewport.
    void Build(bool withCubeMap) {
        if (withCubeMap) {
            ASSERT_TRUE(WriteSkyCube(m_dir.Path()));
        }
        RegisterWorldTestClasses();
        RegisterSkyBoxClasses();
        root = Make("EntNull", nullptr, "Root");
        viewports = Make("EntNull", root, "Viewport");
        world = Make("EntNull", root, "World");
        viewport = Make<EntViewport>("Viewport", viewports, "Main");
        viewport->SetVoid("entDrawRoot", (intptr_t)world);
        viewport->clear = 1;
        viewport->color = {0.5f, 0.5f, 0.5f};
    }
    // One frame through a camera at the origin looking towards `at`, read back whole.
    std::vector<uint32_t> Frame(VECTOR3 at, float fov = 1.0f) {
        TestCamera* cam = MakeCamera(world, "Cam", VECTOR3{0, 0, 0}, at, fov);
        viewport->SetVoid("entCamera", (intptr_t)cam);
        EXPECT_EQ(D3dBeginScene(), 0);
        EntTreeDrawPre(viewports);
        D3dEndScene();
        std::vector<uint32_t> px;
        for (int y = 0; y < kH; ++y)
            for (int x = 0; x < kW; ++x)
                px.push_back(D3dReadPixel(x, y) & 0xFFFFFFu);
        EntDestroyTree(cam);
        return px;
    }
    static uint32_t At(const std::vector<uint32_t>& px, int x, int y) {
        return px[size_t(y * kW + x)];
    }
    static void ExpectNear(uint32_t px, uint32_t want, const char* what) {
        for (int shift : {16, 8, 0})
            EXPECT_LE(std::abs(int((px >> shift) & 0xFF) - int((want >> shift) & 0xFF)), 2)
                << what << ": " << std::hex << px << " against " << (want & 0xFFFFFF);
    }

    ENTBASE *root = nullptr, *viewports = nullptr, *world = nullptr;
    EntViewport* viewport = nullptr;
    TempDir m_dir;
    std::string m_oldFolder;
};

TEST_F(SkyPixels, EachWallOfTheStripBoxShowsItsBand) {
    Build(true);
    auto* box = Make<SkyBox3>("SkyBox3", world, "Box");
    std::snprintf(box->texName, sizeof box->texName, "Strip.dds");
    box->scale = {100.0f, 100.0f, 100.0f};
    box->fogEnable = 0;
    box->Start();
    ASSERT_GE(box->slot, 0);
    const VECTOR3 dirs[4] = {{0, 0, 10}, {0, 0, -10}, {10, 0, 0}, {-10, 0, 0}};
    const char* names[4] = {"+z", "-z", "+x", "-x"};
    for (int w = 0; w < 4; ++w)
        ExpectNear(At(Frame(dirs[w]), kW / 2, kH / 2), kSkyBand[w], names[w]);
}

// Looking along +x the wall ahead faces away from the eye (+z in camera space) and the walls at
// the sides face left and right: the box's colours follow the view, as camera-space normals do.
TEST_F(SkyPixels, CubeBoxShowsTheFaceOfEachWallsNormalAsTheCameraSeesIt) {
    Build(true);
    auto* cube = Make<SkyBoxCube>("SkyBoxCube", world, "Cube");
    cube->Start();
    const std::vector<uint32_t> px = Frame(VECTOR3{10, 0, 0}, 1.5707964f);
    ExpectNear(At(px, kW / 2, kH / 2), kSkyFace[4], "the wall ahead");
    ExpectNear(At(px, kW - 2, kH / 2), kSkyFace[0], "the -z wall on the right");
    ExpectNear(At(px, 1, kH / 2), kSkyFace[1], "the +z wall on the left");
}

TEST_F(SkyPixels, CloudsBlendTheirColourByTheTextureAlphaUnderTheirOwnFog) {
    Build(true);
    auto* clouds = Make<CloudDome2>("CloudDome2", world, "Clouds");
    std::snprintf(clouds->texture, sizeof clouds->texture, "Clouds.dds");
    clouds->size = 1500.0f;
    clouds->height = 1000.0f; // inside the far plane
    clouds->color = 0xFFFF0000u;
    clouds->Start();
    viewport->color = {0.0f, 0.0f, 0.0f};
    D3dSetSrcBlend(D3DBLEND_SRCALPHA);
    D3dSetDestBlend(D3DBLEND_INVSRCALPHA);
    D3dSetFogEnable(0);
    const VECTOR3 up = {0, 1000, 0.01f};
    ExpectNear(At(Frame(up), kW / 2, kH / 2), 0x800000, "red at half the texture's alpha");
    clouds->fogOverride = 1;
    clouds->fogStart = 0.0f;
    clouds->fogEnd = 1.0f;
    clouds->fogColor = 0xFF00FF00u;
    ExpectNear(At(Frame(up), kW / 2, kH / 2), 0x008000, "all fog: its own green");
    EXPECT_EQ(D3dGetRenderState(D3DRS_FOGENABLE), 0u) << "the fog in force was put back";
}

// A texture another draw left on stage 0 must not show across the sky.
TEST_F(SkyPixels, SkiesWithoutTheirTextureLeaveTheFrameAsItWas) {
    Build(false);
    const std::vector<uint32_t> before = Frame(VECTOR3{0, 1, 10});
    auto* clouds = Make<CloudDome2>("CloudDome2", world, "Clouds");
    std::snprintf(clouds->texture, sizeof clouds->texture, "Missing.dds");
    clouds->size = 1500.0f;
    clouds->height = 1000.0f;
    clouds->Start();
    auto* box = Make<SkyBox3>("SkyBox3", world, "Box");
    std::snprintf(box->texName, sizeof box->texName, "Missing.dds");
    box->scale = {100.0f, 100.0f, 100.0f};
    box->Start();
    auto* cube = Make<SkyBoxCube>("SkyBoxCube", world, "Cube");
    cube->Start();
    ASSERT_EQ(SkyBoxCubeTexture(), -1);
    const int stranger = I3dTexLoad((m_dir / "Strip.dds").c_str(), nullptr, 0);
    ASSERT_GE(stranger, 0);
    D3dSetTexture(0, stranger);
    const std::vector<uint32_t> after = Frame(VECTOR3{0, 1, 10});
    int differ = 0;
    for (size_t i = 0; i < before.size(); ++i)
        differ += before[i] != after[i];
    EXPECT_EQ(differ, 0) << "pixels drawn by skies without their texture";
    D3dClearTexture(0);
    I3dTexRelease(stranger);
}

} // namespace
