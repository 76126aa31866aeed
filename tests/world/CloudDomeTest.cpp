// The cloud dome on the recording layer: mesh sizes (and the sizes that cannot be drawn), a dome
// without its texture drawing nothing, its own fog put back after the draw, and the wrapped
// scroll and yaw.
#include "I3d/StateCache.h"
#include "I3d/Textures.h"
#include "datagen/Images/ImageWriters.h"
#include "engine/EntTree.h"
#include "engine/System.h"
#include "tests/I3d/KernelFixture.h"
#include "tests/world/WorldTestClasses.h"
#include "world/CloudDome2.h"

#include <cstring>
#include <string>

namespace {

uint64_t Bits(float f) {
    uint32_t u;
    std::memcpy(&u, &f, sizeof u);
    return u;
}

class CloudDomeTest : public KernelTest {
  protected:
    void SetUp() override {
        KernelTest::SetUp();
        StartRecordingDevice();
        ASSERT_EQ(I3dTexTableAlloc(16), 0);
        RegisterWorldTestClasses();
        // The program folder holds the cloud texture "Clouds.dds".
        m_oldFolder = SysSetProgramFolder(m_dir.Path().c_str());
        GenImage img(8, 8);
        for (uint32_t y = 0; y < 8; ++y)
            for (uint32_t x = 0; x < 8; ++x)
                img.Set(x, y, 0x80FFFFFFu);
        ASSERT_TRUE(
            GenWriteFile(m_dir / "Clouds.dds", GenDdsBytes(GenDds::Argb32, GenMipChain(img))));
        root = Make("EntNull", nullptr, "Root");
        dome = Make<CloudDome2>("CloudDome2", root, "Clouds");
        ASSERT_NE(dome, nullptr);
    }
    void TearDown() override {
        EntDestroyTree(root);
        EntSystemShutdown();
        I3dTexTableFree();
        SysSetProgramFolder(m_oldFolder.empty() ? nullptr : m_oldFolder.c_str());
        KernelTest::TearDown();
    }
    int Draws() {
        Log().Clear();
        dome->DrawPre();
        return Log().Count("DrawIndexedPrimitive");
    }

    ENTBASE* root = nullptr;
    CloudDome2* dome = nullptr;
    TempDir m_dir;
    std::string m_oldFolder;
};

TEST_F(CloudDomeTest, CreateSizesAndTheSingleRingCap) {
    std::strcpy(dome->texture, "Clouds.dds");
    dome->Start();
    EXPECT_EQ(dome->mesh.vertexCount, 50u);
    EXPECT_EQ(dome->mesh.triangleCount, 84u);
    EXPECT_GE(dome->slot, 0);
    EXPECT_EQ(Draws(), 1);
    dome->mLatSegs = 1;
    dome->VarsChanged();
    EXPECT_EQ(dome->mesh.vertexCount, 14u);
    EXPECT_EQ(dome->mesh.triangleCount, 12u) << "one ring: only the cap";
    const uint16_t* idx = dome->mesh.LockIndices();
    for (int t = 0; t < 12; ++t)
        EXPECT_EQ(idx[t * 3], 12) << "every triangle meets the top vertex";
    dome->mesh.UnlockIndices();
}

TEST_F(CloudDomeTest, SizesThatCannotBeDrawnMakeNoMeshAndOneLogLine) {
    std::strcpy(dome->texture, "Clouds.dds");
    for (auto [lat, lon] :
         {std::pair{0, 12}, std::pair{4, 0}, std::pair{300, 300}, std::pair{-3, -3}}) {
        dome->mLatSegs = lat;
        dome->mLonSegs = lon;
        dome->VarsChanged();
        EXPECT_EQ(dome->mesh.vb, nullptr) << lat << " x " << lon;
        EXPECT_EQ(Draws(), 0);
    }
    const std::string log = LogText();
    size_t lines = 0;
    for (size_t at = 0; (at = log.find("CloudDome2: ", at)) != std::string::npos; ++at)
        ++lines;
    EXPECT_EQ(lines, 1u);
    dome->mLatSegs = 256;
    dome->mLonSegs = 256;
    dome->VarsChanged();
    EXPECT_EQ(dome->mesh.vertexCount, 0u) << "65538 vertices wrap the 16-bit indices";
}

TEST_F(CloudDomeTest, WithoutItsTextureNothingIsDrawnAndNoSlotIsReleased) {
    std::strcpy(dome->texture, "Missing");
    dome->Start();
    dome->VarsChanged(); // the old slot is -1 again: it must not reach the slot table
    EXPECT_EQ(dome->slot, -1);
    ASSERT_NE(dome->mesh.vb, nullptr);
    EXPECT_EQ(Draws(), 0) << "stage 0 would still hold another model's texture";
    EXPECT_EQ(Log().Count("SetTexture"), 0);
}

TEST_F(CloudDomeTest, OwnFogIsPutBackAfterTheDraw) {
    std::strcpy(dome->texture, "Clouds.dds");
    dome->Start();
    dome->fogOverride = 1;
    dome->fogStart = 10.0f;
    dome->fogEnd = 20.0f;
    dome->fogColor = 0xFF00FF00u;
    D3dSetFogEnable(0);
    D3dSetFogMode(D3DFOG_EXP);
    D3dSetFogStart(300.0f);
    D3dSetFogEnd(1400.0f);
    D3dSetFogColorArgb(0xFF123456u);
    Log().Clear();
    dome->DrawPre();
    const int draw = Log().Find("DrawIndexedPrimitive");
    ASSERT_GE(draw, 0);
    EXPECT_LT(Log().Find("SetRenderState", {D3DRS_FOGSTART, Bits(10.0f)}), draw);
    EXPECT_LT(Log().Find("SetRenderState", {D3DRS_FOGCOLOR, 0xFF00FF00u}), draw);
    EXPECT_EQ(D3dGetRenderState(D3DRS_FOGENABLE), 0u);
    EXPECT_EQ(D3dGetRenderState(D3DRS_FOGTABLEMODE), DWORD(D3DFOG_EXP));
    EXPECT_EQ(D3dGetRenderState(D3DRS_FOGSTART), Bits(300.0f));
    EXPECT_EQ(D3dGetRenderState(D3DRS_FOGEND), Bits(1400.0f));
    EXPECT_EQ(D3dGetRenderState(D3DRS_FOGCOLOR), 0xFF123456u);
    EXPECT_EQ(D3dGetRenderState(D3DRS_ZWRITEENABLE), 1u);
    EXPECT_EQ(D3dGetRenderState(D3DRS_CULLMODE), DWORD(D3DCULL_CCW));
}

TEST_F(CloudDomeTest, ScrollAndYawStayWithinOnePeriod) {
    dome->xRate = 0.37f;
    dome->yawRate = -2.0f;
    for (int i = 0; i < 10000; ++i)
        dome->Update(0.5f);
    EXPECT_GE(dome->scroll, 0.0f);
    EXPECT_LT(dome->scroll, 1.0f);
    EXPECT_GE(dome->yaw, 0.0f);
    EXPECT_LT(dome->yaw, 6.2831855f);
}

} // namespace
