// Model drawing decisions on the recording layer, the eye moved along the z axis towards the
// model at the origin: the model's fade and far limit, the LOD scale, per-node distances, hidden
// and culled nodes, the switches and the materials sent.
#include "I3d/Math/Mat4Math.h"
#include "tests/I3d/KernelFixture.h"
#include "tests/I3d/ModelFiles.h"

#include <cmath>
#include <set>

namespace {

// A 2-unit box: the root's diagonal is sqrt(12), so it is drawn to 20 sqrt(12) and fades over
// the last 2 sqrt(12).
const char* const kBox = "model Box\nmaterial Red\nnode Root\nnode Box parent Root box 2 2 2 "
                         "material Red\n";
const float kMaxDist = 20 * std::sqrt(12.0f), kFade = 2 * std::sqrt(12.0f);

class Mdl3Drawing : public KernelTest {
  protected:
    void SetUp() override {
        KernelTest::SetUp();
        StartRecordingDevice();
        Mat4 proj;
        I3dSetProj(Mat4Perspective(&proj, 3.141592f / 2, 0.75f, 0.1f, 300000.0f));
        EyeAt(-10);
    }
    void TearDown() override {
        for (MDL3* m : m_models)
            Mdl3Release(m);
        KernelTest::TearDown();
    }
    MDL3* Load(const std::string& description) {
        MDL3* m = Mdl3Read(WriteScene(m_files, description).c_str(), 0);
        EXPECT_NE(m, nullptr);
        if (m) m_models.push_back(m);
        return m;
    }
    static void EyeAt(float z) {
        VECTOR3 eye = {0, 0, z}, at = {0, 0, z + 1}, up = {0, 1, 0};
        Mat4 view;
        I3dSetView(Mat4LookAt(&view, &eye, &at, &up));
        I3dSetEyePos(&eye);
    }
    // Draws the model at the origin; the first vertex of every node drawn (each node's range
    // starts at its own first vertex).
    std::set<uint64_t> Draw(MDL3* m) {
        Log().Clear();
        Mdl3Draw(m, &kIdentity);
        std::set<uint64_t> firsts;
        for (const D3dCall& c : Log().Named("DrawIndexedPrimitive"))
            firsts.insert(c.args[1]);
        return firsts;
    }
    float DiffuseAlpha() const {
        std::vector<D3dCall> set = D3dRecordingLog().Named("SetMaterial");
        return set.empty() ? -1.0f : set.back().DataAs<D3DMATERIAL8>().Diffuse.a;
    }

    TempDir m_files;
    std::vector<MDL3*> m_models;
};

TEST_F(Mdl3Drawing, TheModelFadesInsideItsBandAndIsGoneBeyondItsMaxDist) {
    MDL3* m = Load(kBox);
    ASSERT_FLOAT_EQ(m->nodes[0].maxDist, kMaxDist);
    EXPECT_EQ(Draw(m).size(), 1u);
    EXPECT_EQ(Log().Count("DrawIndexedPrimitive", {D3DPT_TRIANGLELIST, 0, 24, 0, 12}), 1)
        << "12 triangles over the node's 24 vertices from its first index";
    EXPECT_EQ(DiffuseAlpha(), 1.0f) << "outside the band: no fade";
    EyeAt(-66);
    EXPECT_EQ(Draw(m).size(), 1u);
    EXPECT_NEAR(DiffuseAlpha(), (kMaxDist - 66) / kFade, 1e-5f);
    EyeAt(-kMaxDist - 0.5f);
    EXPECT_TRUE(Draw(m).empty());
    EXPECT_EQ(Log().Count("SetMaterial"), 0);
}

// The LOD scale multiplies the distances at the model and at every node alike: a model at twice
// the scale fades over a doubled band right up to twice its distance, never popping out early.
TEST_F(Mdl3Drawing, TheLodScaleStretchesTheFarLimitAndTheFadeBandTogether) {
    MDL3* m = Load(kBox);
    Mdl3SetLodScale(2.0f);
    EyeAt(-130);
    EXPECT_EQ(Draw(m).size(), 1u) << "beyond sqrt(2) x maxDist the model is still drawn";
    EXPECT_NEAR(DiffuseAlpha(), (2 * kMaxDist - 130) / (2 * kFade), 1e-5f);
    EyeAt(-2 * kMaxDist - 0.5f);
    EXPECT_TRUE(Draw(m).empty());

    Mdl3SetLodScale(10000.0f); // the far limit is capped at the kernel's far distance
    EyeAt(-150000);
    EXPECT_EQ(Draw(m).size(), 1u);
    EyeAt(-200001);
    EXPECT_TRUE(Draw(m).empty());

    for (float bad : {0.0f, -3.0f, NAN}) {
        Mdl3SetLodScale(bad);
        EXPECT_EQ(Mdl3GetLodScale(), 0.01f);
    }
}

TEST_F(Mdl3Drawing, NodeDistancesHideSubtreesUnlessInfinitelyVisible) {
    MDL3* m = Load(R"(
model Nodes
node Root   box 10 10 10
node Near   parent Root box 1 1 1 maxdist 20
node Far    parent Root box 1 1 1 mindist 5
node Always parent Root box 1 1 1 maxdist 20 infinitevis
node Free   parent Root box 1 1 1
node Inner  parent Near box 1 1 1
node Neg    parent Root box 1 1 1
)");
    ASSERT_NE(m, nullptr);
    MDL3NODE* negative = Mdl3FindNode(m->nodes, "Neg"); // no tool writes one: set by hand
    ASSERT_NE(negative, nullptr);
    negative->minDist = -5.0f;
    const uint64_t root = 0, nearNode = 24, inner = 48, farNode = 72, always = 96, freeNode = 120,
                   neg = 144;
    EyeAt(-3);
    EXPECT_EQ(Draw(m), (std::set<uint64_t>{root, nearNode, always, freeNode, inner, neg}))
        << "Far is hidden nearer than its minDist; a negative minDist is no near limit";
    EyeAt(-30);
    EXPECT_EQ(Draw(m), (std::set<uint64_t>{root, farNode, always, freeNode, neg}))
        << "Near and its child are hidden beyond Near's maxDist; maxDist 0 has no limit";
    Mdl3SetLodScale(2.0f);
    EXPECT_EQ(Draw(m), (std::set<uint64_t>{root, nearNode, farNode, always, freeNode, inner, neg}));
    EyeAt(-8);
    EXPECT_EQ(Draw(m).count(farNode), 0u) << "the minDist doubles too";
}

TEST_F(Mdl3Drawing, HiddenNodesStillDrawTheirChildrenAndCullingSkipsOnlyTheNodeItself) {
    MDL3* m = Load(R"(
model Tree
node Root
node Group parent Root
node Box   parent Group box 1 1 1
node Off   parent Root translate 50 0 0 box 1 1 1
node Back  parent Off translate -50 0 0 box 1 1 1
)");
    const uint64_t box = 0, off = 24, back = 48;
    EXPECT_EQ(Draw(m), (std::set<uint64_t>{box, back}))
        << "Off lies outside the view, its child is back in it";
    Mdl3SetNodeBoxCulling(0);
    EXPECT_EQ(Draw(m), (std::set<uint64_t>{box, off, back}));
    Mdl3SetDrawing(0);
    Log().Clear();
    Mdl3Draw(m, &kIdentity);
    EXPECT_TRUE(Log().Calls().empty()) << "with drawing off nothing reaches the device";
    Mdl3SetDrawing(1);
    Mdl3Draw(nullptr, &kIdentity);
    Mdl3Draw(m, nullptr);
}

TEST_F(Mdl3Drawing, MaterialsAreForgottenPerModelAndSentOncePerRunOfNodes) {
    MDL3* m = Load(R"(
model Paint
material Red diffuse 1 0 0 1
material Blue diffuse 0 0 1 1
node Root
node A parent Root box 1 1 1 material Red
node B parent Root box 1 1 1 material Red
node C parent Root box 1 1 1 material Blue
)");
    EXPECT_EQ(Draw(m).size(), 3u);
    EXPECT_EQ(Log().Count("SetMaterial"), 2) << "A and B share Red: applied once";
    Draw(m);
    EXPECT_EQ(Log().Count("SetMaterial"), 2)
        << "the next model draw forgets Blue was applied last, and sends Red again";
}

TEST_F(Mdl3Drawing, ARootWithoutSizeIsNeverDrawn) {
    MdlModel model = BuildModel(kBox);
    for (MDL3VERTEX& v : model.verts)
        v.pos = {0, 0, 0};
    model.storage = 0;
    MDL3* m = Mdl3Read(WriteModel(m_files, "Point.md3", model).c_str(), 0);
    ASSERT_NE(m, nullptr);
    m_models.push_back(m);
    EXPECT_EQ(m->nodes[0].maxDist, 0.0f);
    EyeAt(0);
    EXPECT_TRUE(Draw(m).empty()) << "a far limit of 0 hides the model even at distance 0";
    EyeAt(-5);
    EXPECT_TRUE(Draw(m).empty());
}

} // namespace
