// Extended models loaded and shared: one model per file title, the info-only model of a lone
// ".ini", what the last release gives back, attach nodes with their yaws and world matrices,
// and the same headless (no render kernel started).
#include "I3d/Shader.h"
#include "I3d/Textures.h"
#include "gi/Render/Mdl3ExShaders.h"
#include "tests/gi/Render/Mdl3ExFixture.h"
#include "world/Particles/ParticleSys.h"

#include <cmath>
#include <cstring>

namespace {

int UsedTextureSlots() {
    int used = 0;
    for (int i = 0; i < I3dTexCount(); ++i)
        used += I3dTexGetSlot(i)->count > 0;
    return used;
}

class Mdl3ExLoading : public Mdl3ExTest {
  protected:
    void SetUp() override {
        Mdl3ExTest::SetUp();
        StartRecordingDevice();
        ASSERT_EQ(I3dTexTableAlloc(64), 0);
    }
    void TearDown() override {
        Mdl3ExTest::TearDown();
        I3dTexTableFree();
    }
};

TEST_F(Mdl3ExLoading, OneModelPerFileTitleWhateverTheFolder) {
    const std::string path = Scene(kLightPost);
    Mdl3ExModel* a = Load(path);
    ASSERT_NE(a, nullptr);
    ASSERT_NE(a->mdl, nullptr);
    EXPECT_EQ(Load(path), a);
    EXPECT_EQ(a->refCount, 2);
    EXPECT_STREQ(a->name, "LIGHTPOST");
    EXPECT_EQ(Load("Other/LightPost.md3"), a) << "the key is the file title alone";
    EXPECT_EQ(a->refCount, 3);
    EXPECT_EQ(a->lightsOn, 1);
    EXPECT_EQ(a->emissiveOn, 1);
    EXPECT_EQ(a->flashBits, 0xFFFFFFFFu);
    EXPECT_EQ(a->envTexture, -1) << "no environment map until its owner sets one";

    // A title longer than a name holds shares under its first 31 characters.
    const std::string longTitle(40, 'L');
    const std::string longPath = m_files / (longTitle + ".md3");
    std::vector<uint8_t> bytes = MdlModelBytes(BuildModel(kLightPost));
    WriteBytes(m_files, longTitle + ".md3", bytes);
    Mdl3ExModel* l = Load(longPath);
    ASSERT_NE(l, nullptr);
    EXPECT_EQ(std::strlen(l->name), 31u);
    EXPECT_EQ(Load(m_files / (std::string(31, 'L') + "Other.md3")), l);
}

TEST_F(Mdl3ExLoading, ALoneInfoFileGivesAnInfoOnlyModelAndNothingGivesNull) {
    WriteTextFile(m_files / "Sign.ini", "[ModelInfo]\nnumPointLights=1\n");
    Mdl3ExModel* sign = Load(m_files / "Sign.md3");
    ASSERT_NE(sign, nullptr) << "the info file alone still makes a model";
    EXPECT_EQ(sign->mdl, nullptr);
    EXPECT_EQ(sign->numPointLights, 1);
    EXPECT_NE(LogText().find("** WARNING ** could not find " + (m_files / "Sign.md3")),
              std::string::npos)
        << LogText();
    EXPECT_EQ(Load(m_files / "Nothing.md3"), nullptr);
    EXPECT_EQ(Mdl3ExLoadInfoOnly((m_files / "Missing.ini").c_str()), nullptr);

    Mdl3ExModel* info = Mdl3ExLoadInfoOnly((m_files / "Sign.ini").c_str());
    EXPECT_EQ(info, sign) << "shared by title with the model of the same name";
    m_models.push_back(info);

    // Nothing an info-only or null model is asked may reach a node tree it does not have.
    Mat4 out[4];
    EXPECT_EQ(ModelFindNode(sign, "Root"), nullptr);
    EXPECT_EQ(ModelFindNode(nullptr, "Root"), nullptr);
    EXPECT_EQ(Mdl3ExGetAttachMatrices(sign, out, 4), 0);
    EXPECT_EQ(Mdl3ExGetAttachMatrices(nullptr, out, 4), 0);
    Log().Clear();
    Mdl3ExDraw(sign);
    Mdl3ExDraw(nullptr);
    Mdl3ExDrawPlain(sign, &kIdentity);
    EXPECT_EQ(Log().Count("DrawIndexedPrimitive"), 0);
}

TEST_F(Mdl3ExLoading, TheLastReleaseGivesBackEveryTextureAndTheSharedResources) {
    const int before = UsedTextureSlots();
    const int systems = ParticleSysLiveCount();
    Mdl3ExModel* m = Load(Scene(std::string(kLightPost) + "texture PostSpec solid 8 9 9 9\n"));
    ASSERT_NE(m, nullptr);
    ASSERT_EQ(m->specSlots.size(), 2u);
    EXPECT_GE(m->specSlots[0], 0) << "PostSpec beside the model";
    EXPECT_GE(m->emitSlots[0], 0) << "PostEmit beside the model";
    EXPECT_EQ(m->specSlots[1], -1) << "a material without a map looks for no specular map";
    EXPECT_EQ(m->emitSlots[1], -1);
    EXPECT_GT(UsedTextureSlots(), before);
    ASSERT_NE(Mdl3ExParticles(), nullptr);
    EXPECT_STREQ(Mdl3ExParticles()->name, "PARTICLES");
    EXPECT_EQ(Mdl3ExParticles()->capacity, 400);
    for (const char* name : {"SolidTexture", "TexEnv", "ClrEnv", "DifEmi", "Dif"})
        ASSERT_NE(Mdl3ExShaderNamed(name), nullptr) << name;
    EXPECT_EQ(Mdl3ExShaderNamed("TexEnv")->NumPasses(), 2);
    EXPECT_EQ(Mdl3ExShaderNamed("ClrEnv")->NumPasses(), 2);
    EXPECT_EQ(Mdl3ExShaderNamed("Dif")->NumPasses(), 1);

    Mdl3ExModel* other = Load(Scene("model Other\nnode Root box 1 1 1\n"));
    ASSERT_NE(other, nullptr);
    EXPECT_EQ(Release(m), 0);
    EXPECT_NE(Mdl3ExShaderNamed("Dif"), nullptr) << "a model is left";
    EXPECT_EQ(Release(other), 0);
    EXPECT_EQ(UsedTextureSlots(), before)
        << "model maps, specular and emissive maps all given back";
    EXPECT_EQ(Mdl3ExParticles(), nullptr);
    EXPECT_EQ(Mdl3ExShaderNamed("Dif"), nullptr);
    EXPECT_EQ(ParticleSysLiveCount(), systems);
    EXPECT_EQ(Mdl3List(), nullptr) << "the MDL3 model went with the last reference";
}

// The specular and emissive maps are optional: a model without them loads without a word, and
// only a map that is there and cannot be read is named.
TEST_F(Mdl3ExLoading, AMissingOptionalMapIsNoWarningButADamagedOneIsNamed) {
    const std::string path = Scene(kLightPost); // PostEmit beside it, no PostSpec
    Mdl3ExModel* m = Load(path);
    ASSERT_NE(m, nullptr);
    EXPECT_EQ(m->specSlots[0], -1);
    EXPECT_GE(m->emitSlots[0], 0);
    EXPECT_EQ(LogText().find("PostSpec"), std::string::npos) << LogText();
    EXPECT_EQ(Release(m), 0);

    WriteTextFile(m_files / "PostSpec.tga", "not a picture");
    m = Load(path);
    ASSERT_NE(m, nullptr);
    EXPECT_EQ(m->specSlots[0], -1);
    EXPECT_NE(LogText().find("PostSpec.tga): not a TGA image that can be read (cut short or "
                             "damaged)!\n"),
              std::string::npos)
        << LogText();
}

// ---- attach nodes ----

std::string AttachScene(int count) {
    std::string s = "model Seats\nnode Root box 1 1 1\n";
    for (int i = 0; i < count; ++i) {
        char line[96];
        std::snprintf(line, sizeof line, "node Attach%02i parent Root translate %i 0 0\n", i, i);
        s += line;
    }
    return s;
}

TEST_F(Mdl3ExLoading, AttachNodesAreCountedIgnoringCaseAndRecounted) {
    Mdl3ExModel* m = Load(Scene("model Ride\nnode Root\nnode Attach00 parent Root\n"
                                "node attach01 parent Attach00\nnode Arm parent Root\n"
                                "node ATTACHED parent Arm\n"));
    ASSERT_NE(m, nullptr);
    EXPECT_EQ(m->attachCount, 3);
    std::strcpy(ModelFindNode(m, "ATTACHED")->name, "Seat");
    Mdl3ExRecountAttach(m);
    EXPECT_EQ(m->attachCount, 2);
    Mat4 out[4];
    I3dSetWorld(&kIdentity);
    EXPECT_EQ(Mdl3ExGetAttachMatrices(m, out, 4), 2);
    EXPECT_EQ(Mdl3ExGetAttachMatrices(m, out, 0), 0);
    EXPECT_EQ(Mdl3ExGetAttachMatrices(m, nullptr, 4), 0);
}

TEST_F(Mdl3ExLoading, AYawTurnsItsAttachNodeAndKeepsItsPlace) {
    Mdl3ExModel* m =
        Load(Scene(kLightPost, "[ModelInfo]\nattachYaw00=1.5708\nattachYaw01=3.1416\n"));
    ASSERT_NE(m, nullptr);
    ASSERT_EQ(m->attachCount, 2);
    const Mat4 world = Translation(10, 0, 0);
    I3dSetWorld(&world);
    Mat4 out[2];
    ASSERT_EQ(Mdl3ExGetAttachMatrices(m, out, 2), 2);
    // Attach00 sits at its parent's origin with an identity matrix: its yaw must still turn it.
    EXPECT_NEAR(out[0].m[0], 0.0f, 1e-4f) << "a quarter turn about y moves x onto z";
    EXPECT_NEAR(std::fabs(out[0].m[2]), 1.0f, 1e-4f);
    EXPECT_FLOAT_EQ(out[0].m[12], 10.0f);
    EXPECT_NEAR(out[1].m[0], -1.0f, 1e-4f) << "a half turn";
    EXPECT_NEAR(out[1].m[12], 11.0f, 1e-5f) << "the yaw kept the node's translation";

    // An override is honoured in the walk.
    Mat4 lift = Translation(0, 5, 0);
    Mdl3NodeSetOverride(ModelFindNode(m, "Attach01"), &lift);
    ASSERT_EQ(Mdl3ExGetAttachMatrices(m, out, 2), 2);
    EXPECT_NEAR(out[1].m[13], 5.0f, 1e-5f);
    Mdl3NodeClearOverride(ModelFindNode(m, "Attach01"));
}

TEST_F(Mdl3ExLoading, AMissingYawKeepsTheAuthoredMatrix) {
    Mdl3ExModel* m = Load(Scene(kLightPost, "[ModelInfo]\nattachYaw00=0.5\n"));
    ASSERT_NE(m, nullptr);
    const MDL3NODE* n = ModelFindNode(m, "Attach01");
    ASSERT_NE(n, nullptr);
    EXPECT_FLOAT_EQ(n->Matrix.m[0], 1.0f);
    EXPECT_FLOAT_EQ(n->Matrix.m[12], 1.0f);
}

TEST_F(Mdl3ExLoading, SeventyOfEightySeatsFitAndAModelWithoutAnyGivesNone) {
    Mdl3ExModel* m = Load(Scene(AttachScene(80)));
    ASSERT_NE(m, nullptr);
    EXPECT_EQ(m->attachCount, 80);
    I3dSetWorld(&kIdentity);
    std::vector<Mat4> out(80);
    EXPECT_EQ(Mdl3ExGetAttachMatrices(m, out.data(), 70), 70);
    EXPECT_FLOAT_EQ(out[69].m[12], 69.0f) << "depth-first order";
    Mdl3ExModel* none = Load(Scene("model Bare\nnode Root box 1 1 1\n"));
    EXPECT_EQ(Mdl3ExGetAttachMatrices(none, out.data(), 70), 0);
}

TEST_F(Mdl3ExLoading, AHundredAndFirstSeatIsNamedWithThreeDigits) {
    Mdl3ExModel* m = Load(Scene(AttachScene(101), "[ModelInfo]\nattachYaw100=3.1416\n"));
    ASSERT_NE(m, nullptr);
    EXPECT_EQ(m->attachCount, 101);
    const MDL3NODE* n = ModelFindNode(m, "Attach100");
    ASSERT_NE(n, nullptr);
    EXPECT_NEAR(n->Matrix.m[0], -1.0f, 1e-4f);
    EXPECT_FLOAT_EQ(n->Matrix.m[12], 100.0f);
}

// The game's headless tests load models with no kernel: node trees, attach counts and matrices
// are real, textures are -1 and drawing does nothing.
class Mdl3ExHeadless : public Mdl3ExTest {};

TEST_F(Mdl3ExHeadless, WithoutAKernelAttachNodesAreStillReal) {
    Mdl3ExModel* m = Load(Scene(AttachScene(80), "[ModelInfo]\nattachYaw00=1.5708\n"));
    ASSERT_NE(m, nullptr);
    ASSERT_NE(m->mdl, nullptr);
    EXPECT_EQ(m->mdl->vb, nullptr);
    EXPECT_EQ(m->emitSlots.size(), 0u);
    EXPECT_EQ(m->attachCount, 80);
    I3dSetWorld(&kIdentity);
    std::vector<Mat4> out(80);
    EXPECT_EQ(Mdl3ExGetAttachMatrices(m, out.data(), 70), 70);
    EXPECT_NEAR(out[0].m[0], 0.0f, 1e-4f);
    EXPECT_FLOAT_EQ(out[5].m[12], 5.0f);
    Mdl3ExDraw(m);
}

} // namespace
