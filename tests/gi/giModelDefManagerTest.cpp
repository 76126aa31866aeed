// The model-definition manager: descriptors read against the generated character set and test
// files, the caches shared between meshes, and what bad descriptors give.
#include "gi/giModelDefManager.h"

#include "gi/giAnimation.h"
#include "gi/giFileIO.h"
#include "gi/giGmModel.h"
#include "gi/giSkeleton.h"
#include "gi/giSkinnedMesh.h"
#include "tests/gi/CharTestModels.h"
#include "tests/gi/GiTestSupport.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <string>
#include <vector>

namespace {

const std::string kData = FAIRLARK_BUILD_DATA_DIR;
const std::vector<std::string> kAdultClips = {"AdultWalk", "AdultRun", "AdultIdle1",
                                              "AdultPayMoney", "AdultSitting1"};

class ModelDefs : public ::testing::Test {
  protected:
    void SetUp() override { m = giModelDefManager::Get(); }
    void TearDown() override {
        m->Clear();
        EXPECT_TRUE(m->instances.empty() && m->models.empty() && m->skeletons.empty() &&
                    m->animations.empty());
    }
    giSkinnedMesh* Adult(const char* name = "AdultMale.xml") {
        return m->CreateFromDescriptor((kData + "Characters/" + name).c_str(), kData.c_str(), true);
    }
    // A descriptor in the scratch folder; the generated files stay under the data folder.
    std::string Desc(const std::string& body) {
        const std::string path = m_dir / ("D" + std::to_string(m_count++) + ".xml");
        WriteTextFile(path, body);
        return path;
    }
    giSkinnedMesh* FromText(const std::string& body) {
        return m->CreateFromDescriptor(Desc(body).c_str(), kData.c_str(), true);
    }

    giModelDefManager* m = nullptr;
    TempDir m_dir;
    int m_count = 0;
};

std::vector<std::string> ClipNames(const giSkinnedMesh& mesh) {
    std::vector<std::string> out;
    for (const giAnimation* a : mesh.animations)
        out.push_back(a->Name());
    return out;
}

std::vector<std::string> TriggerNames(const giAnimation& a) {
    std::vector<std::string> out;
    for (int i = 0; i < a.TriggerCount(); ++i)
        out.push_back(a.GetTrigger(i)->name);
    return out;
}

TEST(giModelDefManager, GetMakesOneEmptyManagerOnFirstUse) {
    EXPECT_EQ(giModelDefManager::Instance(), nullptr) << "nothing makes it before it is asked for";
    giModelDefManager* m = giModelDefManager::Get();
    ASSERT_NE(m, nullptr);
    EXPECT_EQ(giModelDefManager::Get(), m);
    EXPECT_EQ(giModelDefManager::Instance(), m) << "registered as the library's single manager";
    EXPECT_EQ(giModelDefManager::LiveCount(), 1);
    EXPECT_TRUE(m->instances.empty() && m->models.empty() && m->skeletons.empty());
    EXPECT_FALSE(m->clearing);
}

TEST_F(ModelDefs, TheGeneratedDescriptorGivesModelSkeletonClipsAndBoxes) {
    giSkinnedMesh* mesh = Adult();
    ASSERT_NE(mesh, nullptr);
    ASSERT_NE(mesh->Model(), nullptr);
    EXPECT_EQ(mesh->Model()->FileName(), kData + "Characters\\Adult.gmf");
    ASSERT_NE(mesh->Skeleton(), nullptr);
    EXPECT_EQ(mesh->Skeleton()->FileName(), kData + "Characters\\AdultSkel.gmf");
    EXPECT_EQ(mesh->BoneCount(), 11);
    EXPECT_EQ(ClipNames(*mesh), kAdultClips);
    ASSERT_EQ(mesh->boxes.size(), 5u);
    EXPECT_EQ(mesh->boxes[0]->name, "AdultWalk");
    EXPECT_LT(mesh->boxes[0]->min[1], mesh->boxes[0]->max[1]);
    EXPECT_TRUE(mesh->hasBoxes);
    EXPECT_FALSE(mesh->materialFlag);
    EXPECT_EQ(mesh->descName, kData + "Characters/AdultMale.xml");
    EXPECT_EQ(m->instances, std::vector<giSkinnedMesh*>{mesh});
}

TEST_F(ModelDefs, AModelAloneGivesAMeshWithoutSkeleton) {
    giSkinnedMesh* mesh = FromText("<Model> Characters\\Adult.gmf </Model>"
                                   "<UseBumpGlossShader>1</UseBumpGlossShader>");
    ASSERT_NE(mesh, nullptr) << "the text is trimmed";
    EXPECT_EQ(mesh->Skeleton(), nullptr);
    EXPECT_TRUE(mesh->animations.empty());
    EXPECT_FALSE(mesh->hasBoxes);
    EXPECT_TRUE(mesh->materialFlag) << "stored for the material code";
}

TEST_F(ModelDefs, TheAssetFolderPrefixesEveryName) {
    char cwd[4096];
    ASSERT_NE(getcwd(cwd, sizeof cwd), nullptr);
    // The build folder holds Data/.
    ASSERT_EQ(chdir((kData + "..").c_str()), 0);
    giSkinnedMesh* mesh =
        m->CreateFromDescriptor("Data\\Characters\\AdultMale.xml", "Data\\", true);
    const std::string file = mesh && mesh->Model() ? mesh->Model()->FileName() : "";
    ASSERT_EQ(chdir(cwd), 0);
    EXPECT_EQ(file, "Data\\Characters\\Adult.gmf");
}

TEST_F(ModelDefs, TriggersKeepDocumentOrderAndIncompleteOnesAreSkipped) {
    giSkinnedMesh* mesh = FromText(R"(
<Model>Characters\Adult.gmf</Model>
<Skeleton>Characters\AdultSkel.gmf</Skeleton>
<animation><file>Characters\Anims\AdultNoSuchClip.gmf</file>
  <trigger><time>0.1</time><name>Lost</name></trigger></animation>
<animation><file>Characters\Anims\AdultWalk.gmf</file>
  <trigger><time>0.5</time><name>StepB</name></trigger>
  <trigger><name>NoTime</name></trigger>
  <trigger><time>0.3</time></trigger>
  <trigger><time>0.1</time><name> StepA </name></trigger></animation>
<Box><Name>AdultWalk</Name><MaxY>2</MaxY></Box>)");
    ASSERT_NE(mesh, nullptr) << "a missing clip is skipped, the mesh still made";
    ASSERT_EQ(ClipNames(*mesh), std::vector<std::string>{"AdultWalk"});
    const giAnimation& walk = *mesh->animations[0];
    EXPECT_EQ(TriggerNames(walk), (std::vector<std::string>{"StepB", "StepA"}));
    EXPECT_FLOAT_EQ(walk.GetTrigger(0)->time, 0.5f);
    ASSERT_EQ(mesh->boxes.size(), 1u);
    EXPECT_EQ(mesh->boxes[0]->min[0], 0.0f) << "a missing bound reads as 0";
    EXPECT_EQ(mesh->boxes[0]->max[1], 2.0f);
}

TEST_F(ModelDefs, MeshesShareModelSkeletonAndClips) {
    giSkinnedMesh* a = Adult();
    giSkinnedMesh* b = Adult();
    ASSERT_TRUE(a && b && a != b);
    EXPECT_EQ(a->Model(), b->Model());
    EXPECT_EQ(a->Model()->refCount, 2);
    EXPECT_EQ(a->Skeleton(), b->Skeleton());
    EXPECT_EQ(a->animations, b->animations);
    giSkinnedMesh* female = Adult("AdultFemale.xml");
    giSkinnedMesh* carny = Adult("CarnyMale.xml");
    ASSERT_TRUE(female && carny);
    EXPECT_EQ(female->Model(), a->Model());
    EXPECT_EQ(carny->Skeleton(), a->Skeleton());
    EXPECT_EQ(carny->FindAnimation("AdultWalk"), a->FindAnimation("AdultWalk"));
    EXPECT_EQ(m->models.size(), 1u);
    EXPECT_EQ(m->skeletons.size(), 1u);
    EXPECT_EQ(m->animations.size(), 10u) << "the five adult clips and five more of the carnies'";
}

// Clips are shared: reading the descriptor again per character must not add its triggers again.
TEST_F(ModelDefs, ThousandsOfMeshesLeaveEachClipItsDescriptorsTriggers) {
    const std::string desc = Desc(R"(<Model>Characters\Adult.gmf</Model>
<Skeleton>Characters\AdultSkel.gmf</Skeleton>
<animation><file>Characters\Anims\AdultWalk.gmf</file>
  <trigger><time>0.1</time><name>Left</name></trigger>
  <trigger><time>0.6</time><name>Right</name></trigger></animation>)");
    for (int i = 0; i < 1000; ++i) {
        giSkinnedMesh* mesh = m->CreateFromDescriptor(desc.c_str(), kData.c_str(), true);
        ASSERT_NE(mesh, nullptr);
        if (i % 2) m->DestroyInstance(mesh);
    }
    ASSERT_EQ(m->animations.size(), 1u);
    EXPECT_EQ(TriggerNames(*m->animations[0]), (std::vector<std::string>{"Left", "Right"}));
    EXPECT_EQ(m->instances.size(), 500u);
    EXPECT_EQ(m->models[0]->refCount, 500);
}

// Skin arrays fit one model: one rig file used with two models makes two skeletons.
TEST_F(ModelDefs, OneRigWithTwoModelsGivesASkeletonPerModel) {
    ASSERT_TRUE(WriteFanModel(m_dir.Path(), "Small.gmf", {10}));
    ASSERT_TRUE(WriteFanModel(m_dir.Path(), "Large.gmf", {30}));
    ASSERT_TRUE(WriteOneBoneRig(m_dir.Path(), "Rig.gmf", 30));
    giSkinnedMesh* small = m->CreateInstance(m_dir / "Small.gmf", m_dir / "Rig.gmf", false, true);
    giSkinnedMesh* large = m->CreateInstance(m_dir / "Large.gmf", m_dir / "Rig.gmf", false, true);
    ASSERT_TRUE(small && large);
    ASSERT_NE(small->Skeleton(), large->Skeleton());
    for (giSkinnedMesh* mesh : {small, large}) {
        ASSERT_EQ(mesh->Skeleton()->MeshCount(), 1);
        EXPECT_EQ(mesh->Skeleton()->MeshVertexCount(0), mesh->Model()->Part(0)->vertexCount);
    }
    EXPECT_EQ(m->CreateInstance(m_dir / "Large.gmf", m_dir / "Rig.gmf", false, true)->Skeleton(),
              large->Skeleton())
        << "the same pair is cached";
}

TEST_F(ModelDefs, DestroyingTheLastUserOfAModelRemovesItFromTheCache) {
    giSkinnedMesh* a = Adult();
    giSkinnedMesh* b = Adult();
    giSkinnedMesh* c = Adult();
    ASSERT_TRUE(a && b && c);
    ASSERT_TRUE(a->Attach(b, "Pelvis", "ForeArmR") != nullptr);
    ASSERT_TRUE(a->Attach(c, "Pelvis", "ForeArmL") != nullptr);
    m->DestroyInstance(c);
    EXPECT_EQ(a->attachments.size(), 1u) << "the carrier forgets a mesh destroyed on its own";
    m->DestroyInstance(a); // takes the attached mesh with it
    EXPECT_TRUE(m->instances.empty());
    EXPECT_TRUE(m->models.empty());
    m->DestroyInstance(a); // no longer held: left alone
    m->DestroyInstance(nullptr);
    EXPECT_EQ(m->skeletons.size(), 1u) << "skeletons and clips stay for the run";
}

TEST_F(ModelDefs, AWrittenDescriptorReadsBackTheSame) {
    const std::string desc = Desc(R"(<Model>Characters\Adult.gmf</Model>
<Skeleton>Characters\AdultSkel.gmf</Skeleton>
<animation><file>Characters\Anims\AdultWalk.gmf</file>
  <trigger><time>0.25</time><name>Step</name></trigger></animation>
<animation><file>Characters\Anims\AdultRun.gmf</file></animation>
<Box><Name>AdultRun</Name><MinX>-1</MinX><MinY>0</MinY><MinZ>-0.5</MinZ><MaxX>1</MaxX>
<MaxY>1.75</MaxY><MaxZ>0.5</MaxZ></Box>)");
    giSkinnedMesh* mesh = m->CreateFromDescriptor(desc.c_str(), kData.c_str(), true);
    ASSERT_NE(mesh, nullptr);
    mesh->animations[0]->GetTrigger(0)->param1 = "Left";
    const std::string out = m_dir / "Written.xml";
    ASSERT_TRUE(m->WriteDef(out.c_str(), mesh, kData.c_str()));
    const std::string text = ReadTextFile(out);
    EXPECT_NE(text.find("<Model>Characters\\Adult.gmf</Model>"), std::string::npos) << text;
    EXPECT_EQ(text.find("param2"), std::string::npos) << "empty parameters are left out";

    giSkinnedMesh* back = m->CreateFromDescriptor(out.c_str(), kData.c_str(), true);
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(back->Model(), mesh->Model());
    EXPECT_EQ(back->Skeleton(), mesh->Skeleton());
    EXPECT_EQ(back->animations, mesh->animations);
    EXPECT_EQ(back->animations[0]->TriggerCount(), 2)
        << "the written trigger carries param1, so it is a trigger of its own";
    ASSERT_EQ(back->boxes.size(), 1u);
    EXPECT_EQ(back->boxes[0]->name, "AdultRun");
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(back->boxes[0]->min[i], mesh->boxes[0]->min[i]);
        EXPECT_EQ(back->boxes[0]->max[i], mesh->boxes[0]->max[i]);
    }
    EXPECT_FALSE(m->WriteDef(out.c_str(), nullptr));
}

TEST_F(ModelDefs, BadDescriptorsGiveNull) {
    EXPECT_EQ(m->CreateFromDescriptor((m_dir / "Missing.xml").c_str(), nullptr, true), nullptr);
    EXPECT_EQ(m->CreateFromDescriptor(nullptr, nullptr, true), nullptr);
    EXPECT_EQ(FromText(""), nullptr);
    EXPECT_EQ(FromText("<Model>Characters\\Adult.gmf"), nullptr) << "malformed";
    EXPECT_EQ(FromText("<Skeleton>Characters\\AdultSkel.gmf</Skeleton>"), nullptr) << "no Model";
    EXPECT_EQ(FromText("<Model>Characters\\NoSuch.gmf</Model>"), nullptr);
    EXPECT_EQ(FromText("<Model>Characters\\Adult.gmf</Model><Skeleton>NoSuch.gmf</Skeleton>"),
              nullptr);
    EXPECT_EQ(FromText("<Model>Characters\\Adult.gmf</Model>"
                       "<Skeleton>Characters\\Anims\\AdultWalk.gmf</Skeleton>"),
              nullptr)
        << "a file without a skeleton";
    EXPECT_TRUE(m->instances.empty());
    EXPECT_TRUE(m->models.empty()) << "a model whose skeleton failed is released";
    // The two entries not used in play.
    EXPECT_EQ(m->CreateFromModelFile(nullptr), nullptr);
    EXPECT_EQ(m->CreateFromDescriptorModel((m_dir / "Missing.xml").c_str(), nullptr), nullptr);
}

TEST_F(ModelDefs, TheEntriesNotUsedInPlayMakeBareMeshes) {
    giSkinnedMesh* a = m->CreateFromModelFile((kData + "Characters/Adult.gmf").c_str());
    giSkinnedMesh* b =
        m->CreateFromDescriptorModel((kData + "Characters/ChildMale.xml").c_str(), kData.c_str());
    ASSERT_TRUE(a && b);
    EXPECT_EQ(a->Skeleton(), nullptr);
    ASSERT_NE(b->Skeleton(), nullptr);
    EXPECT_TRUE(b->animations.empty() && b->boxes.empty());
    EXPECT_EQ(m->instances.size(), 2u);
}

// A failed load removes the "maps" search folder it added, as a successful one does.
TEST_F(ModelDefs, ModelLoadsLeaveTheSearchFoldersAsTheyWere) {
    giFileIO* io = giFileIO::Get();
    ASSERT_NE(io, nullptr);
    const size_t before = io->SearchFolders().size();
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(m->LoadModel(m_dir / "NoSuch.gmf", true), nullptr);
        giGmModel* model = m->LoadModel(kData + "Characters/Adult.gmf", true);
        ASSERT_NE(model, nullptr);
        m->ReleaseModel(model);
    }
    EXPECT_EQ(io->SearchFolders().size(), before);
}

} // namespace
