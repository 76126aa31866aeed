// Character models on the recording layer: the shared shader and skinning buffer live from the
// first model to the last, survive a device loss and reset as one buffer, and parts free what
// they hold.
#include "engine/Memory.h"
#include "tests/I3d/KernelFixture.h"

namespace {

class CharModels : public KernelTest {
  protected:
    void SetUp() override {
        KernelTest::SetUp();
        StartRecording();
        ASSERT_EQ(I3dTexTableAlloc(8), 0);
        CreateOffscreen();
        Log().Clear();
    }
    void TearDown() override {
        EXPECT_EQ(CharModelVb(), nullptr) << "the skinning buffer outlived its users";
        EXPECT_EQ(CharModelShader(), nullptr);
        KernelTest::TearDown();
    }
    int Buffers() const {
        return D3dRecordingLog().Count("CreateVertexBuffer",
                                       {CHARMODEL_VB_VERTICES * 32,
                                        D3DUSAGE_DYNAMIC | D3DUSAGE_WRITEONLY,
                                        D3DFVF_XYZ | D3DFVF_NORMAL | D3DFVF_TEX1, D3DPOOL_DEFAULT});
    }
};

TEST_F(CharModels, TheSharedShaderAndBufferLiveFromTheFirstModelToTheLast) {
    auto* a = new CharModel();
    auto* b = new CharModel();
    EXPECT_EQ(CharModelAcquisitions(), 2);
    ASSERT_NE(CharModelShader(), nullptr);
    EXPECT_EQ(CharModelShader()->NumPasses(), 1);
    EXPECT_EQ(CharModelShader()->passes[0], &ShaderLitTexturePass);
    ASSERT_NE(CharModelVb(), nullptr);
    EXPECT_EQ(CharModelVb()->type, 0) << "dynamic";
    EXPECT_EQ(CharModelVb()->format, CHARMODEL_VB_FORMAT);
    EXPECT_EQ(CharModelVb()->capacity, 10000);
    EXPECT_EQ(Buffers(), 1);

    SharedObjRelease(a);
    EXPECT_NE(CharModelVb(), nullptr);
    EXPECT_NE(CharModelShader(), nullptr);
    SharedObjRelease(b);
    EXPECT_EQ(CharModelAcquisitions(), 0);
}

// A reset with no character alive makes the buffer; the next character, and a second reset,
// must not make another over it.
TEST_F(CharModels, ResetsNeverMakeASecondBuffer) {
    CharModelVbRelease(); // nothing to release: nothing happens
    ASSERT_NE(CharModelVbCreate(), nullptr);
    I3dVertexBuffer* vb = CharModelVb();
    EXPECT_EQ(CharModelVbCreate(), vb);
    auto* a = new CharModel();
    EXPECT_EQ(CharModelVb(), vb);
    EXPECT_EQ(Buffers(), 1);

    CharModelVbRelease(); // device lost
    EXPECT_EQ(CharModelVb(), nullptr);
    ASSERT_NE(CharModelVbCreate(), nullptr); // reset
    EXPECT_EQ(Buffers(), 2);
    delete a;
}

TEST_F(CharModels, PartsFreeTheirMeshesAndOnlyTheTexturesTheyHold) {
    const int64_t blocks = MemLiveBlocks();
    const int tex = D3dTexCreate(4, 4, I3DTEX_A8R8G8B8, 1, "skin", 0);
    ASSERT_GE(tex, 0);
    I3dTexAddRef(tex);
    auto* m = new CharModel();
    m->partMeshes[0] = new MeshBuf();
    ASSERT_TRUE(m->partMeshes[0]->Create(CHARMODEL_VB_FORMAT, 3, 1));
    m->partTextures[0] = tex;
    m->partMeshes[1] = nullptr; // a part with no texture
    m->partCount = 2;
    delete m;
    EXPECT_EQ(I3dTexGetSlot(tex)->count, 1) << "one reference released, by the part holding it";
    I3dTexRelease(tex);
    EXPECT_EQ(MemLiveBlocks(), blocks) << "the meshes and the shared buffer were freed";
}

giSkinnedMesh* s_released = nullptr;
void NoteRelease(giSkinnedMesh* mesh) {
    s_released = mesh;
}

// The template mesh belongs to the model library: the model hands it back as it goes.
TEST_F(CharModels, TheTemplateMeshGoesBackToTheModelLibrary) {
    CharModelSetMeshRelease(NoteRelease);
    auto* m = new CharModel();
    EXPECT_EQ(m->vertexTotal, 0);
    EXPECT_EQ(m->attachOffset[0], 0.0f);
    static char s_mesh;
    auto* fake = reinterpret_cast<giSkinnedMesh*>(&s_mesh); // never dereferenced
    m->templateMesh = fake;
    delete m;
    CharModelSetMeshRelease(nullptr);
    EXPECT_EQ(s_released, fake);
}

} // namespace
