// Model materials drawn on OpenGL (llvmpipe through EGL, offscreen): one lit quad per texture
// recipe with real texture files, and a placed, lit, textured quad from end to end.
#include "I3d/Math/Mat4Math.h"
#include "tests/I3d/KernelFixture.h"
#include "tests/I3d/TexFiles.h"

#include <GL/gl.h>

#include <array>
#include <cstring>
#include <string>

namespace {

constexpr int kSide = 64;

struct Vertex {
    float x, y, z, nx, ny, nz, u, v;
};

int Channel(uint32_t c, int shift) {
    return int((c >> shift) & 0xFF);
}

// 8-bit modulation as the combiners do it.
uint32_t Modulate(uint32_t a, uint32_t b) {
    uint32_t out = 0;
    for (int s : {0, 8, 16})
        out |= uint32_t(Channel(a, s) * Channel(b, s) / 255) << s;
    return out;
}

class MaterialPixels : public KernelTest {
  protected:
    void SetUp() override {
        KernelTest::SetUp();
        StartGl();
        ASSERT_EQ(I3dTexTableAlloc(64), 0);
        CreateOffscreen(kSide, kSide);
        D3dSetAmbient(0, 0, 0);
        int light = I3dLightAlloc();
        I3dLightSetType(light, 3);
        I3dLightSetDirection(light, 0, 0, 1); // head-on: the lit diffuse is the material's
        LookFrom(VECTOR3{0, 0, -5});
        D3dSetClearColor(0, 0, 0);
        m_material = Material();
    }
    void TearDown() override {
        EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR)) << "the materials left a GL error";
        KernelTest::TearDown();
    }

    static MDL3MTRL Material() {
        MDL3MTRL m{};
        for (int i = 0; i < 4; ++i)
            m.diffuse[i] = m.ambient[i] = 1.0f;
        m.specular[3] = m.emissive[3] = 1.0f;
        m.diffuseSlot = m.bumpSlot = m.detailSlot = -1;
        m.bumpTile[0] = m.bumpTile[1] = m.detailTile[0] = m.detailTile[1] = 1.0f;
        return m;
    }
    static void LookFrom(VECTOR3 eye, VECTOR3 at = VECTOR3{0, 0, 0}) {
        VECTOR3 up = {0, 1, 0};
        Mat4 view, proj;
        I3dSetView(Mat4LookAt(&view, &eye, &at, &up));
        I3dSetProj(Mat4Perspective(&proj, 3.141592f / 2, I3dGetInvAspect(), 0.1f, 100.0f));
    }
    // The named maps from 32-bit TGA files, loaded through the material.
    void WriteMap(char (&field)[32], const char* name, const GenImage& img) {
        ASSERT_TRUE(WriteTga(m_files / (std::string(name) + ".tga"), img, IMG_A8R8G8B8));
        std::strcpy(field, name);
    }
    void LoadMaps() { ASSERT_EQ(I3dMaterialLoadTextures(&m_material, m_files.Path().c_str()), 0); }

    // An 8 x 8 quad at the world matrix's origin facing the camera, uv (0, 0) at the top left;
    // from (0, 0, -5) it covers pixels 6..57 on both axes.
    void Draw(float x = 0, float y = 0, float z = 0) {
        Mat4 world{};
        world.m[0] = world.m[5] = world.m[10] = world.m[15] = 1.0f;
        world.m[12] = x, world.m[13] = y, world.m[14] = z;
        I3dSetWorld(&world);
        I3dForgetMaterial(); // as model drawing does at each model
        I3dSetMaterial(&m_material);
        const Vertex quad[4] = {{-4, 4, 0, 0, 0, -1, 0, 0},
                                {4, 4, 0, 0, 0, -1, 1, 0},
                                {4, -4, 0, 0, 0, -1, 1, 1},
                                {-4, -4, 0, 0, 0, -1, 0, 1}};
        ASSERT_EQ(D3dClear(D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER), D3D_OK);
        ASSERT_EQ(D3dBeginScene(), 0);
        IDirect3DDevice8* dev = D3dDevice();
        dev->SetVertexShader(D3DFVF_XYZ | D3DFVF_NORMAL | D3DFVF_TEX1);
        ASSERT_EQ(dev->DrawPrimitiveUP(D3DPT_TRIANGLEFAN, 2, quad, sizeof(Vertex)), D3D_OK);
        ASSERT_EQ(D3dEndScene(), 0);
    }
    // The pixel over u (0..1) across the quad, at its middle row.
    static uint32_t AtU(float u) {
        return D3dReadPixel(int(6.4f + 51.2f * u), kSide / 2) & 0xFFFFFFu;
    }
    static void ExpectNear(uint32_t got, uint32_t want, const char* what, int tolerance = 2) {
        for (int s : {0, 8, 16})
            EXPECT_NEAR(Channel(got, s), Channel(want, s), tolerance)
                << what << ": got " << std::hex << got << ", want " << want;
    }

    MDL3MTRL m_material;
    TempDir m_files;
};

TEST_F(MaterialPixels, TheLitDiffuseIsSelectedOrModulatesTheDiffuseMap) {
    m_material.diffuse[0] = 0.25f, m_material.diffuse[1] = 0.5f, m_material.diffuse[2] = 0.75f;
    m_material.reflective = 1; // without an environment map: no environment recipe
    Draw();
    ExpectNear(AtU(0.5f), 0x4080BF, "no maps: the material's diffuse, lit head-on");
    WriteMap(m_material.diffuseMap, "Paint", SolidImage(8, 8, 0xFF80FFC0));
    LoadMaps();
    Draw();
    ExpectNear(AtU(0.5f), 0x208090, "the diffuse map x the lit diffuse");
}

TEST_F(MaterialPixels, TheDetailMapAddsSignedAndTilesAcrossTheQuad) {
    WriteMap(m_material.diffuseMap, "Grey", SolidImage(8, 8, 0xFF808080));
    WriteMap(m_material.detailMap, "Stripes", MakeImage(8, 8, [](uint32_t x, uint32_t) {
                 return x < 4 ? 0xFFC0C0C0u : 0xFF404040u;
             }));
    LoadMaps();
    m_material.detailTile[0] = 2.0f;
    Draw();
    const uint32_t light = 0xC1C1C1, dark = 0x414141; // 0.5 +- 0.25
    ExpectNear(AtU(0.125f), light, "first repeat, light half");
    ExpectNear(AtU(0.375f), dark, "first repeat, dark half");
    ExpectNear(AtU(0.625f), light, "second repeat, light half");
    ExpectNear(AtU(0.875f), dark, "second repeat, dark half");
}

TEST_F(MaterialPixels, TheBumpMapDotsWithTheNeutralFactorAndAddsTheDiffuseMap) {
    WriteMap(m_material.diffuseMap, "Brick", SolidImage(8, 8, 0xFFC08040));
    WriteMap(m_material.bumpMap, "BrickBump", SolidImage(8, 8, 0xFF8080FF));
    LoadMaps();
    Draw();
    // A zero light direction dots to 0: the diffuse map minus one half.
    ExpectNear(AtU(0.5f), 0x400000, "DOT3 then signed add", 3);
}

TEST_F(MaterialPixels, ATextureMatrixMovesTheDiffuseCoordinates) {
    WriteMap(m_material.diffuseMap, "Halves", MakeImage(8, 8, [](uint32_t x, uint32_t) {
                 return x < 4 ? 0xFFFF0000u : 0xFF0000FFu;
             }));
    LoadMaps();
    Mat4 shift{};
    shift.m[0] = shift.m[5] = shift.m[10] = shift.m[15] = 1.0f;
    shift.m[8] = 0.5f; // u + 0.5, Direct3D's third row for two coordinates
    I3dMaterialSetTexMatrix(&m_material, &shift);
    Draw();
    ExpectNear(AtU(0.25f), 0x0000FF, "the left half samples the right half of the texture");
    ExpectNear(AtU(0.75f), 0xFF0000, "and the right half wraps round to the left");
}

TEST_F(MaterialPixels, ReflectiveMaterialsShowTheEnvironmentFacingTheEye) {
    const uint32_t faceColour[6] = {0xFFFF0000, 0xFF00FF00, 0xFF0000FF,
                                    0xFFFFFF00, 0xFF00FFFF, 0xFF20A0E0};
    std::array<GenChain, 6> faces;
    for (int f = 0; f < 6; ++f)
        faces[size_t(f)] = GenMipChain(SolidImage(8, 8, faceColour[f]));
    ASSERT_TRUE(GenWriteFile(m_files / "Sky.dds", GenDdsCubeBytes(GenDds::Argb32, faces)));
    int env = D3dCubeTexFromFile(0, (m_files / "Sky.dds").c_str(), "Sky");
    ASSERT_GE(env, 0);
    I3dSetEnvMapTexture(env);
    m_material.reflective = 1;
    Draw();
    // Looking along +z at a quad facing the eye, every reflection runs back along -z.
    ExpectNear(AtU(0.5f), faceColour[5] & 0xFFFFFF, "the -z face, no diffuse map");
    LookFrom(VECTOR3{-8, 0, -4});
    Draw();
    ExpectNear(AtU(0.5f), faceColour[0] & 0xFFFFFF,
               "seen from the side the reflection runs off along +x, not along the normal");
    LookFrom(VECTOR3{0, 0, -5});
    WriteMap(m_material.diffuseMap, "Half", SolidImage(8, 8, 0xFF808080));
    LoadMaps();
    Draw();
    ExpectNear(AtU(0.5f), Modulate(0x808080, faceColour[5]), "the -z face x the diffuse map");
}

// Coordinates from camera-space normals (the sky box's recipe, no material): the cube face
// follows the normal as the camera sees it, not the world normal and not the reflection.
TEST_F(MaterialPixels, CameraSpaceNormalsPickTheCubeFaceTheEyeSeesTheNormalOn) {
    const uint32_t faceColour[6] = {0xFFFF0000, 0xFF00FF00, 0xFF0000FF,
                                    0xFFFFFF00, 0xFF00FFFF, 0xFF20A0E0};
    std::array<GenChain, 6> faces;
    for (int f = 0; f < 6; ++f)
        faces[size_t(f)] = GenMipChain(SolidImage(8, 8, faceColour[f]));
    ASSERT_TRUE(GenWriteFile(m_files / "Box.dds", GenDdsCubeBytes(GenDds::Argb32, faces)));
    const int cube = D3dCubeTexFromFile(0, (m_files / "Box.dds").c_str(), "Box");
    ASSERT_GE(cube, 0);
    auto draw = [&](VECTOR3 n) {
        Mat4 identity;
        Mat4Identity(&identity);
        I3dSetWorld(&identity);
        I3dSetTexMatrix(0, &identity);
        D3dSetLighting(0);
        D3dSetCullMode(D3DCULL_NONE);
        D3dSetTexCoordIndex(0, D3DTSS_TCI_CAMERASPACENORMAL);
        D3dSetTexTransformFlags(0, D3DTTFF_COUNT3);
        D3dSetColorOp(0, D3DTOP_SELECTARG1);
        D3dSetColorArg1(0, D3DTA_TEXTURE);
        D3dSetColorOp(1, D3DTOP_DISABLE);
        D3dSetTexture(0, cube);
        const Vertex quad[4] = {{-4, 4, 0, n.x, n.y, n.z, 0, 0},
                                {4, 4, 0, n.x, n.y, n.z, 1, 0},
                                {4, -4, 0, n.x, n.y, n.z, 1, 1},
                                {-4, -4, 0, n.x, n.y, n.z, 0, 1}};
        ASSERT_EQ(D3dClear(D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER), D3D_OK);
        ASSERT_EQ(D3dBeginScene(), 0);
        IDirect3DDevice8* dev = D3dDevice();
        dev->SetVertexShader(D3DFVF_XYZ | D3DFVF_NORMAL | D3DFVF_TEX1);
        ASSERT_EQ(dev->DrawPrimitiveUP(D3DPT_TRIANGLEFAN, 2, quad, sizeof(Vertex)), D3D_OK);
        ASSERT_EQ(D3dEndScene(), 0);
    };
    draw(VECTOR3{0, 0, -1});
    ExpectNear(AtU(0.5f), faceColour[5] & 0xFFFFFF, "a normal towards the eye: the -z face");
    draw(VECTOR3{1, 0, 0});
    ExpectNear(AtU(0.5f), faceColour[0] & 0xFFFFFF,
               "a normal along +x: the +x face (a reflection would run along +z)");
    draw(VECTOR3{0, 1, 0});
    ExpectNear(AtU(0.5f), faceColour[2] & 0xFFFFFF, "a normal along +y: the +y face");
    LookFrom(VECTOR3{0, 0, 5});
    draw(VECTOR3{0, 0, -1});
    ExpectNear(AtU(0.5f), faceColour[4] & 0xFFFFFF,
               "seen from behind the same normal points away from the eye: the +z face");
    D3dSetTexCoordIndex(0, 0);
    D3dSetTexTransformFlags(0, D3DTTFF_DISABLE);
    D3dClearTexture(0);
    I3dTexRelease(cube);
}

// A lit, textured quad placed by its world matrix and seen through the camera functions with
// the viewport's inverse aspect covers the pixels its corners project to.
TEST_F(MaterialPixels, APlacedLitTexturedQuadCoversItsProjection) {
    WriteMap(m_material.diffuseMap, "Wall", SolidImage(8, 8, 0xFF3070B0));
    LoadMaps();
    LookFrom(VECTOR3{2, 1, -9}, VECTOR3{2, 1, 0});
    Draw(2, 1, 1); // straight ahead of the eye at distance 10: 8 / 10 of the view across
    ExpectNear(D3dReadPixel(kSide / 2, kSide / 2) & 0xFFFFFF, 0x3070B0, "the centre");
    // The quad's half-width 4 at depth 10 is 0.4 of the half-view: pixels 32 +- 12.8.
    for (auto [x, y] : {std::pair{20, 20}, std::pair{44, 44}, std::pair{20, 44}})
        ExpectNear(D3dReadPixel(x, y) & 0xFFFFFF, 0x3070B0, "inside the quad");
    for (auto [x, y] : {std::pair{18, 32}, std::pair{46, 32}, std::pair{32, 18}})
        EXPECT_EQ(D3dReadPixel(x, y) & 0xFFFFFF, 0u) << "outside the quad at " << x << "," << y;
}

} // namespace
