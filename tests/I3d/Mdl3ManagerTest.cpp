// The model manager on the recording layer: sharing by title, counts and freeing with the
// static buffers, long titles, and the models' textures.
#include "engine/Dirs.h"
#include "engine/Memory.h"
#include "tests/I3d/KernelFixture.h"
#include "tests/I3d/ModelFiles.h"

#include <string>

namespace {

const char* const kScene = R"(
model Ride
texture Paint checker 8 255 0 0 255 255 255
texture Grain solid 4 128 128 128
material Red map Paint detail Grain tile 4 2
material Plain
node Root
node Base parent Root box 2 1 2 material Red
node Top  parent Base translate 0 1 0 box 1 1 1 material Plain
)";

class Mdl3Manager : public KernelTest {
  protected:
    void SetUp() override {
        KernelTest::SetUp();
        m_blocks = MemLiveBlocks();
        StartRecording();
        ASSERT_EQ(I3dTexTableAlloc(16), 0);
        CreateOffscreen();
        m_path = WriteScene(m_files, kScene);
        Log().Clear();
    }
    void TearDown() override {
        EXPECT_EQ(Mdl3List(), nullptr) << "a test left a model loaded";
        KernelTest::TearDown();
        EXPECT_EQ(MemLiveBlocks(), m_blocks) << "models, buffers or textures were not freed";
    }
    // The same file under another name.
    std::string Copy(const std::string& relative) {
        void* data = nullptr;
        const int size = FileReadAll(&data, m_path.c_str(), 0);
        const std::string path = m_files / relative;
        DirCreateForFile(path.c_str());
        EXPECT_EQ(FileWriteAll(path.c_str(), data, size_t(size)), 1);
        MemFree(data);
        return path;
    }

    TempDir m_files;
    std::string m_path;
    int64_t m_blocks = 0;
};

TEST_F(Mdl3Manager, ASharedLoadIsCountedAndFreedWithItsBuffersAtTheLastRelease) {
    MDL3* a = Mdl3Load(m_path.c_str(), 1);
    MDL3* b = Mdl3Load(m_path.c_str(), 1);
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(a, b);
    EXPECT_EQ(a->refCount, 2);
    EXPECT_EQ(Log().Count("CreateVertexBuffer",
                          {uint64_t(a->numVerts) * 32, D3DUSAGE_WRITEONLY,
                           D3DFVF_XYZ | D3DFVF_NORMAL | D3DFVF_TEX1, D3DPOOL_MANAGED}),
              1);
    EXPECT_EQ(Log().Count("CreateIndexBuffer", {uint64_t(a->numIndices) * 2, D3DUSAGE_WRITEONLY,
                                                D3DFMT_INDEX16, D3DPOOL_MANAGED}),
              1);
    EXPECT_EQ(Mdl3Release(a), 1);
    EXPECT_EQ(Mdl3FindLoaded("RIDE"), a);
    EXPECT_EQ(Mdl3Release(a), 0);
    EXPECT_EQ(Mdl3FindLoaded("RIDE"), nullptr);
    EXPECT_EQ(Mdl3Release(nullptr), -1);
}

TEST_F(Mdl3Manager, UnsharedLoadsAreCopiesNeverFoundByTitle) {
    MDL3* a = Mdl3Load(m_path.c_str(), 0);
    MDL3* b = Mdl3Load(m_path.c_str(), 0);
    ASSERT_TRUE(a && b);
    EXPECT_NE(a, b);
    EXPECT_EQ(Mdl3FindLoaded("Ride"), nullptr);
    MDL3* shared = Mdl3Load(m_path.c_str(), 1);
    EXPECT_NE(shared, a);
    EXPECT_NE(shared, b);
    for (MDL3* m : {a, b, shared})
        EXPECT_EQ(Mdl3Release(m), 0);
}

TEST_F(Mdl3Manager, TitlesShareIgnoringCaseAndFolderAndOnlyTheirFirst31Characters) {
    MDL3* a = Mdl3Load(Copy("one/ride.MD3").c_str(), 1);
    MDL3* b = Mdl3Load(Copy("Two\\RIDE.md3").c_str(), 1);
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(a, b) << "the title is upper-cased on both sides; the folder plays no part";
    Mdl3Release(a), Mdl3Release(b);

    const std::string longTitle(40, 'q'), sameStart = std::string(31, 'q') + "DIFFERENT";
    MDL3* l = Mdl3Load(Copy(longTitle + ".md3").c_str(), 1);
    ASSERT_NE(l, nullptr) << "a title longer than the name buffer is cut, not refused";
    EXPECT_EQ(std::string(l->name), std::string(31, 'Q'));
    EXPECT_EQ(Mdl3Load(Copy(sameStart + ".md3").c_str(), 1), l);
    EXPECT_EQ(Mdl3FindLoaded(longTitle.c_str()), l);
    EXPECT_EQ(l->refCount, 2);
    Mdl3Release(l), Mdl3Release(l);
}

TEST_F(Mdl3Manager, TexturesComeAndGoOnlyThroughTheirOwnCalls) {
    MDL3* a = Mdl3Load(m_path.c_str(), 0);
    ASSERT_NE(a, nullptr);
    MDL3MTRL* red = Mdl3FindMaterial(a, "red");
    ASSERT_NE(red, nullptr);
    EXPECT_EQ(red->diffuseSlot, -1) << "loading a model loads no texture";
    EXPECT_EQ(red->detailTile[0], 4.0f);
    EXPECT_EQ(red->detailTile[1], 2.0f);

    ASSERT_EQ(Mdl3LoadTextures(a, m_path.c_str()), 0);
    ASSERT_GE(red->diffuseSlot, 0) << "the map is found in the model's own folder";
    ASSERT_GE(red->detailSlot, 0);
    EXPECT_EQ(red->bumpSlot, -1);
    MDL3* b = Mdl3Load(m_path.c_str(), 0);
    ASSERT_EQ(Mdl3LoadTextures(b, m_path.c_str()), 0);
    const int paint = red->diffuseSlot;
    EXPECT_EQ(Mdl3FindMaterial(b, "Red")->diffuseSlot, paint) << "textures are shared";
    EXPECT_EQ(I3dTexGetSlot(paint)->count, 2);

    EXPECT_EQ(Mdl3Release(b), 0);
    EXPECT_EQ(I3dTexGetSlot(paint)->count, 2) << "releasing a model leaves its textures alone";
    EXPECT_EQ(Mdl3FreeTextures(a), 0);
    EXPECT_EQ(red->diffuseSlot, -1);
    EXPECT_EQ(I3dTexGetSlot(paint)->count, 1) << "the other model's reference is the caller's";
    I3dTexRelease(paint);
    I3dTexRelease(I3dTexFind("grain"));
    EXPECT_EQ(Mdl3LoadTextures(nullptr, m_path.c_str()), -1);
    EXPECT_EQ(Mdl3FreeTextures(nullptr), -1);
    Mdl3Release(a);
}

TEST_F(Mdl3Manager, SharedTexturesStayWhileAnyHolderHasThemAndGoWithTheLast) {
    MDL3* a = Mdl3Load(m_path.c_str(), 1);
    MDL3* b = Mdl3Load(m_path.c_str(), 1);
    ASSERT_EQ(a, b);
    MDL3MTRL* red = Mdl3FindMaterial(a, "Red");
    ASSERT_EQ(Mdl3LoadTextures(a, m_path.c_str()), 0);
    const int paint = red->diffuseSlot, grain = red->detailSlot;
    ASSERT_GE(paint, 0);
    ASSERT_EQ(Mdl3LoadTextures(b, m_path.c_str()), 0);
    ASSERT_EQ(Mdl3LoadTextures(b, m_path.c_str()), 0);
    EXPECT_EQ(I3dTexGetSlot(paint)->count, 1)
        << "the holders share one load; a second load by a holder adds nothing";

    EXPECT_EQ(Mdl3FreeTextures(a), 0);
    EXPECT_EQ(red->diffuseSlot, paint) << "the other holder still draws with the textures";
    EXPECT_EQ(I3dTexGetSlot(paint)->count, 1);
    EXPECT_EQ(Mdl3FreeTextures(b), 0);
    EXPECT_EQ(red->diffuseSlot, -1);
    EXPECT_EQ(I3dTexGetSlot(paint)->count, 0) << "the last holder's free releases the slots";
    EXPECT_EQ(I3dTexGetSlot(grain)->count, 0);
    EXPECT_EQ(Mdl3FreeTextures(b), 0) << "a free too many releases nothing";

    // A holder that leaves with its textures loaded does not pin them for the one that stays.
    ASSERT_EQ(Mdl3LoadTextures(a, m_path.c_str()), 0);
    ASSERT_EQ(Mdl3LoadTextures(b, m_path.c_str()), 0);
    EXPECT_EQ(Mdl3Release(a), 1);
    EXPECT_EQ(Mdl3FreeTextures(b), 0);
    EXPECT_EQ(I3dTexGetSlot(paint)->count, 0);
    EXPECT_EQ(Mdl3Release(b), 0);
}

TEST_F(Mdl3Manager, LoadingTexturesTwiceOnOneModelTakesOneReference) {
    MDL3* a = Mdl3Load(m_path.c_str(), 0);
    ASSERT_EQ(Mdl3LoadTextures(a, m_path.c_str()), 0);
    ASSERT_EQ(Mdl3LoadTextures(a, m_path.c_str()), 0);
    const int paint = Mdl3FindMaterial(a, "Red")->diffuseSlot;
    EXPECT_EQ(I3dTexGetSlot(paint)->count, 1);
    EXPECT_EQ(Mdl3FreeTextures(a), 0);
    EXPECT_EQ(I3dTexGetSlot(paint)->count, 0) << "a second load must not leave a slot held";
    Mdl3Release(a);
}

} // namespace
