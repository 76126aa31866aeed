// The two sky boxes on the recording layer: the strip box's walls and bands, the states of both
// draws, the boxes that lack their texture, the cube box's value table and fixed place, and the
// class resources made with the table and freed with the class.
#include "I3d/MeshBuf.h"
#include "I3d/Shader.h"
#include "I3d/StateCache.h"
#include "I3d/Textures.h"
#include "engine/EntTree.h"
#include "engine/PropDb.h"
#include "engine/System.h"
#include "engine/VarTable.h"
#include "tests/I3d/KernelFixture.h"
#include "tests/world/SkyBoxFiles.h"
#include "tests/world/WorldTestClasses.h"
#include "world/CloudDome2.h"
#include "world/EntLight.h"
#include "world/Environment.h"
#include "world/SkyDome.h"

#include <cstdio>
#include <cstring>
#include <string>

extern "C" __attribute__((weak)) int __lsan_do_recoverable_leak_check();

namespace {

class SkyBoxTest : public KernelTest {
  protected:
    void SetUp() override {
        KernelTest::SetUp();
        StartRecordingDevice();
        ASSERT_EQ(I3dTexTableAlloc(16), 0);
        m_oldFolder = SysSetProgramFolder(m_dir.Path().c_str());
        ASSERT_TRUE(WriteSkyCube(m_dir.Path()));
        ASSERT_TRUE(WriteSkyStrip(m_dir / "Strip.dds"));
        Register();
    }
    void TearDown() override {
        EntDestroyTree(root);
        EntSystemShutdown();
        I3dTexTableFree();
        SysSetProgramFolder(m_oldFolder.empty() ? nullptr : m_oldFolder.c_str());
        KernelTest::TearDown();
    }
    void Register() {
        RegisterWorldTestClasses();
        RegisterSkyBoxClasses();
        root = Make("EntNull", nullptr, "Root");
    }
    SkyBox3* NewBox(const char* texName) {
        auto* box = Make<SkyBox3>("SkyBox3", root, "Box");
        std::snprintf(box->texName, sizeof box->texName, "%s", texName);
        box->Start();
        return box;
    }
    // The calls of one first walk.
    int Walk(ENTBASE* e) {
        Log().Clear();
        return e->DrawPre();
    }
    Mat4 LastWorld() {
        const std::vector<D3dCall> calls = Log().Named("SetTransform");
        for (auto it = calls.rbegin(); it != calls.rend(); ++it)
            if (it->args[0] == D3DTS_WORLD) return it->DataAs<Mat4>();
        ADD_FAILURE() << "no world matrix sent";
        return Mat4{};
    }

    ENTBASE* root = nullptr;
    TempDir m_dir;
    std::string m_oldFolder;
};

TEST_F(SkyBoxTest, StripBoxIsFourWallsEachOneBandOfTheStrip) {
    auto* box = Make<SkyBox3>("SkyBox3", root, "Box");
    std::string rows;
    for (PropField* f = box->classDb->first; f; f = f->next)
        rows += std::string(rows.empty() ? "" : " ") + f->name;
    EXPECT_EQ(rows, "General: name pos scale texName fogEnable");
    EXPECT_EQ(box->scale.x, 1.0f);
    EXPECT_EQ(box->scale.z, 1.0f);
    EXPECT_EQ(box->fogEnable, 1);

    MeshBuf* mesh = SkyBox3Mesh();
    ASSERT_NE(mesh, nullptr);
    ASSERT_EQ(mesh->vertexCount, 16u);
    ASSERT_EQ(mesh->triangleCount, 8u);
    ASSERT_TRUE(mesh->LockVerts());
    const I3dVertexBuffer* vb = mesh->vb;
    const float bands[4][2] = {{0.005f, 0.25f}, {0.255f, 0.5f}, {0.505f, 0.75f}, {0.755f, 1.0f}};
    // The wall's fixed axis and side: z = +1, z = -1, x = +1, x = -1.
    const int axis[4] = {2, 2, 0, 0};
    const float side[4] = {1.0f, -1.0f, 1.0f, -1.0f};
    for (int w = 0; w < 4; ++w) {
        float vMin = 2.0f, vMax = -1.0f, uMin = 2.0f, uMax = -1.0f;
        for (int k = 0; k < 4; ++k) {
            const uint8_t* v = vb->locked + size_t(4 * w + k) * size_t(vb->stride);
            float p[3], n[3], uv[2];
            std::memcpy(p, v + vb->offPos, sizeof p);
            std::memcpy(n, v + vb->offNormal, sizeof n);
            std::memcpy(uv, v + vb->offUv0, sizeof uv);
            EXPECT_EQ(p[axis[w]], side[w]) << "wall " << w << " corner " << k;
            EXPECT_EQ(std::abs(p[1]), 1.0f);
            EXPECT_EQ(n[1], 1.0f);
            vMin = std::min(vMin, uv[1]), vMax = std::max(vMax, uv[1]);
            uMin = std::min(uMin, uv[0]), uMax = std::max(uMax, uv[0]);
        }
        EXPECT_FLOAT_EQ(vMin, bands[w][0]) << "wall " << w;
        EXPECT_FLOAT_EQ(vMax, bands[w][1]) << "wall " << w;
        EXPECT_EQ(uMin, 0.0f);
        EXPECT_EQ(uMax, 1.0f);
    }
    mesh->UnlockVerts();
    const uint16_t* idx = mesh->LockIndices();
    for (int w = 0; w < 4; ++w) {
        const int v = 4 * w;
        const int want[6] = {v, v + 1, v + 2, v, v + 2, v + 3};
        for (int i = 0; i < 6; ++i)
            EXPECT_EQ(idx[6 * w + i], want[i]) << "wall " << w;
    }
    mesh->UnlockIndices();
}

TEST_F(SkyBoxTest, StripBoxDrawsUnderItsOwnFogSettingWithoutDepthAndPutsFogBack) {
    SkyBox3* box = NewBox("Strip.dds");
    ASSERT_GE(box->slot, 0);
    box->pos = {1.0f, 2.0f, 3.0f};
    box->scale = {100.0f, 50.0f, 200.0f};
    box->fogEnable = 0;
    D3dSetFogEnable(1);
    EXPECT_EQ(Walk(box), 1) << "the box lets its children draw";
    const int draw = Log().Find("DrawIndexedPrimitive");
    ASSERT_GE(draw, 0);
    const Mat4 world = LastWorld();
    EXPECT_EQ(world.m[0], 100.0f);
    EXPECT_EQ(world.m[5], 50.0f);
    EXPECT_EQ(world.m[10], 200.0f);
    EXPECT_EQ(world.m[12], 1.0f);
    EXPECT_EQ(world.m[13], 2.0f);
    EXPECT_EQ(world.m[14], 3.0f);
    EXPECT_LT(Log().Find("SetRenderState", {D3DRS_FOGENABLE, 0}), draw);
    EXPECT_LT(Log().Find("SetRenderState", {D3DRS_ZWRITEENABLE, 0}), draw);
    EXPECT_LT(Log().Find("SetRenderState", {D3DRS_ZFUNC, D3DCMP_ALWAYS}), draw);
    EXPECT_LT(Log().Find("SetRenderState", {D3DRS_LIGHTING, 1}), draw);
    EXPECT_LT(Log().Find("SetTexture", {0}), draw);
    EXPECT_GT(Log().Find("SetRenderState", {D3DRS_FOGENABLE, 1}), draw) << "fog put back";

    box->SetClassFlags(0x1F & ~0x2u);
    EXPECT_EQ(Walk(box), 1);
    EXPECT_EQ(Log().Count("DrawIndexedPrimitive"), 0);
    WorldClassFlags<SkyBox3>::Reset();
}

TEST_F(SkyBoxTest, StripBoxWithoutItsTextureDrawsNothingAndHoldsOneReferenceAtMost) {
    SkyBox3* box = NewBox("Missing.dds");
    EXPECT_EQ(box->slot, -1);
    box->Start(); // the slot is -1 again: it must not reach the slot table
    EXPECT_EQ(Walk(box), 1);
    EXPECT_EQ(Log().Count("DrawIndexedPrimitive"), 0) << "stage 0 holds another's texture";
    EXPECT_EQ(Log().Count("SetTexture"), 0);
    EntDestroyTree(box); // nor at its end

    box = NewBox("Strip.dds");
    const int slot = box->slot;
    ASSERT_GE(slot, 0);
    box->Start();
    EXPECT_EQ(box->slot, slot);
    EXPECT_EQ(I3dTexGetSlot(slot)->count, 1) << "a second start kept the first reference";
    EntDestroyTree(box);
    EXPECT_EQ(I3dTexGetSlot(slot)->count, 0);
}

TEST_F(SkyBoxTest, CubeBoxIsDrawnAtTheOriginScaledTenWhereverItsValuesPutIt) {
    auto* cube = Make<SkyBoxCube>("SkyBoxCube", root, "Cube");
    ASSERT_NE(cube, nullptr);
    EXPECT_EQ(cube->GetInstanceVarTable(), SkyBoxCubeVars());
    ASSERT_NE(SkyBoxCubeVars(), nullptr);
    std::string rows;
    for (int i = 0; i < SkyBoxCubeVars()->count; ++i)
        rows += std::string(rows.empty() ? "" : " ") + SkyBoxCubeVars()->Entries()[i].name;
    EXPECT_EQ(rows, "name x y z");
    EXPECT_TRUE(cube->SetFloat("x", 100.0f));
    EXPECT_TRUE(cube->SetFloat("y", 20.0f));
    EXPECT_TRUE(cube->SetFloat("z", 300.0f));
    EXPECT_EQ(cube->pos.x, 100.0f) << "the values are the position";
    EXPECT_EQ(cube->pos.z, 300.0f);
    cube->Start();
    EXPECT_EQ(cube->Update(0.5f), 1);
    EXPECT_EQ(cube->elapsed, 0.5f);

    ASSERT_GE(SkyBoxCubeTexture(), 0);
    EXPECT_EQ(Walk(cube), 1);
    const int draw = Log().Find("DrawIndexedPrimitive");
    ASSERT_GE(draw, 0);
    const Mat4 world = LastWorld();
    for (int i : {0, 5, 10})
        EXPECT_EQ(world.m[i], 10.0f);
    for (int i : {12, 13, 14})
        EXPECT_EQ(world.m[i], 0.0f);
    EXPECT_LT(
        Log().Find("SetTextureStageState", {0, D3DTSS_TEXCOORDINDEX, D3DTSS_TCI_CAMERASPACENORMAL}),
        draw);
    EXPECT_LT(Log().Find("SetTextureStageState", {0, D3DTSS_TEXTURETRANSFORMFLAGS, D3DTTFF_COUNT3}),
              draw);
    EXPECT_LT(Log().Find("SetRenderState", {D3DRS_ZWRITEENABLE, 1}), draw);
    EXPECT_LT(Log().Find("SetRenderState", {D3DRS_ZFUNC, D3DCMP_ALWAYS}), draw);
    EXPECT_LT(Log().Find("SetRenderState", {D3DRS_FOGENABLE, 0}), draw);
    EXPECT_LT(Log().Find("SetTexture", {0}), draw);
    EXPECT_GT(Log().Find("SetTextureStageState", {0, D3DTSS_TEXCOORDINDEX, 0}), draw)
        << "later draws would take generated normals for their coordinates";
    EXPECT_GT(Log().Find("SetTextureStageState", {0, D3DTSS_TEXTURETRANSFORMFLAGS, 0}), draw);
}

TEST_F(SkyBoxTest, CubeBoxWithoutTheCubeMapDrawsNothing) {
    std::remove((m_dir / "Data/Enviro.dds").c_str());
    EntDestroyTree(root);
    Register();
    EXPECT_EQ(SkyBoxCubeTexture(), -1);
    EXPECT_NE(LogText().find("SkyBoxCube: no cube map"), std::string::npos);
    auto* cube = Make<SkyBoxCube>("SkyBoxCube", root, "Cube");
    cube->Start();
    EXPECT_EQ(Walk(cube), 1);
    EXPECT_EQ(Log().Count("DrawIndexedPrimitive"), 0);
    EXPECT_EQ(Log().Count("SetTexture"), 0);
}

int CountShaders(const char* name) {
    int n = 0;
    for (SharedObj* s = *ShaderList(); s; s = s->next)
        n += std::strcmp(s->name, name) == 0;
    return n;
}

// Each box class keeps its own "SkyCube"; removing the classes gives everything back, and a
// later registration makes them again.
TEST_F(SkyBoxTest, ClassResourcesComeWithTheTableAndGoWithTheClass) {
    EXPECT_EQ(CountShaders("SKYCUBE"), 2);
    EXPECT_NE(SkyBox3Shader(), SkyBoxCubeShader());
    ASSERT_NE(SkyBox3Mesh(), nullptr);
    ASSERT_NE(SkyBoxCubeMesh(), nullptr);
    EXPECT_EQ(SkyBoxCubeMesh()->vertexCount, 24u);
    const int cube = SkyBoxCubeTexture();
    ASSERT_GE(cube, 0);
    EXPECT_EQ(I3dTexGetSlot(cube)->count, 1);

    EntDestroyTree(root);
    root = nullptr;
    EntResetClasses();
    EntSystemShutdown();
    EXPECT_EQ(CountShaders("SKYCUBE"), 0);
    EXPECT_EQ(SkyBox3Mesh(), nullptr);
    EXPECT_EQ(SkyBoxCubeMesh(), nullptr);
    EXPECT_EQ(SkyBoxCubeShader(), nullptr);
    EXPECT_EQ(SkyBoxCubeVars(), nullptr);
    EXPECT_EQ(SkyBoxCubeTexture(), -1);
    EXPECT_EQ(I3dTexGetSlot(cube)->count, 0) << "the cube map was kept";

    Register();
    EXPECT_EQ(CountShaders("SKYCUBE"), 2);
    EXPECT_GE(SkyBoxCubeTexture(), 0);
}

// All six classes registered, one of each made, started, drawn and destroyed, the classes reset
// and removed: nothing is left for the leak checker.
TEST_F(SkyBoxTest, AllSixClassesLeaveNothingBehind) {
    ENTBASE* made[6] = {Make("Environment", root, "Environment"),
                        Make("Light", root, "Lamp"),
                        Make("SkyDome", root, "SkyDome"),
                        Make("CloudDome2", root, "Clouds"),
                        Make("SkyBox3", root, "Box"),
                        Make("SkyBoxCube", root, "Cube")};
    std::strcpy(static_cast<SkyBox3*>(made[4])->texName, "Strip.dds");
    for (ENTBASE* e : made) {
        ASSERT_NE(e, nullptr);
        e->Start();
        e->DrawPre();
    }
    EntDestroyTree(root);
    root = nullptr;
    EntResetClasses();
    EntSystemShutdown();
    for (int s = 0; s < I3dTexCount(); ++s)
        EXPECT_EQ(I3dTexGetSlot(s)->count, 0) << "slot " << s << " still held";
    if (__lsan_do_recoverable_leak_check) {
        EXPECT_EQ(__lsan_do_recoverable_leak_check(), 0) << "see the leak report above";
    }
}

} // namespace
