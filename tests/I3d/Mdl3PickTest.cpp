// Picking models with segments: front faces only, the segment's own length, the nearest of
// several hits, collision flags, world and override matrices.
#include "I3d/Math/Mat4Math.h"
#include "I3d/Mdl3Draw.h"
#include "tests/I3d/ModelFiles.h"

namespace {

class Mdl3Picking : public ::testing::Test {
  protected:
    void TearDown() override {
        for (MDL3* m : m_models)
            Mdl3Release(m);
    }
    MDL3* Load(const std::string& description) {
        MDL3* m = Mdl3Read(WriteScene(m_dir, description).c_str(), 0);
        EXPECT_NE(m, nullptr);
        if (m) m_models.push_back(m);
        return m;
    }
    // Picks from `a` to `b`; the hit point is left at (-99, -99, -99) when untouched.
    int Pick(MDL3* m, VECTOR3 a, VECTOR3 b, const Mat4& world = kIdentity) {
        m_hit = {-99, -99, -99};
        return Mdl3Pick(m, &m->nodes[0], &a, &b, &m_hit, &world);
    }

    TempDir m_dir;
    std::vector<MDL3*> m_models;
    VECTOR3 m_hit{};
};

// A 2 x 2 quad facing -z at z = 5.
const char* const kWall = "model Wall\nnode Root\nnode Wall parent Root translate 0 0 5 quad 2 2\n";

TEST_F(Mdl3Picking, AFrontFaceOfACollisionNodeGivesTheWorldPointAndEverythingElseMisses) {
    MDL3* m = Load(kWall);
    EXPECT_EQ(Pick(m, {10.5f, 0.5f, -10}, {10.5f, 0.5f, 10}, Translation(10, 0, 0)), 1);
    EXPECT_NEAR(m_hit.x, 10.5f, 1e-4f);
    EXPECT_NEAR(m_hit.y, 0.5f, 1e-4f);
    EXPECT_NEAR(m_hit.z, 5.0f, 1e-4f) << "the hit is reported in world space";

    EXPECT_EQ(Pick(m, {0, 0, 10}, {0, 0, -10}), 0) << "the back face";
    EXPECT_EQ(Pick(m, {-5, 0, 5}, {5, 0, 5}), 0) << "edge-on, along the quad's plane";
    EXPECT_EQ(Pick(m, {0, 0, -10}, {0, 0, 4.9f}), 0) << "the segment ends before the quad";
    EXPECT_EQ(Pick(m, {0, 0, -10}, {0, 0, 5}), 0) << "t = len is not a hit";
    EXPECT_EQ(Pick(m, {3, 0, -10}, {3, 0, 10}), 0) << "beside the quad";
    EXPECT_EQ(Pick(m, {0, 0, -10}, {0, 0, -10}), 0) << "start = end is no segment";
    EXPECT_EQ(m_hit.x, -99.0f) << "a miss leaves the out point untouched";
    EXPECT_EQ(Mdl3Pick(nullptr, nullptr, nullptr, nullptr, nullptr, nullptr), 0);

    MDL3* ghost = Load("model Ghost\nnode Root\nnode Wall parent Root translate 0 0 5 quad 2 2 "
                       "nocollision\n");
    EXPECT_EQ(Pick(ghost, {0, 0, -10}, {0, 0, 10}), 0) << "only COLLISION nodes are picked";
    EXPECT_EQ(m_hit.x, -99.0f);
}

TEST_F(Mdl3Picking, TheNearestHitIsReportedWhateverTheWalkOrder) {
    for (const char* order : {"Far Near", "Near Far"}) {
        SCOPED_TRACE(order);
        const bool farFirst = order[0] == 'F';
        const std::string farNode = "node Far parent Root translate 0 0 5 quad 2 2\n";
        const std::string nearNode = "node Near parent Root translate 0 0 3 quad 2 2\n";
        MDL3* m = Load(std::string("model Two\nnode Root\n") + (farFirst ? farNode : nearNode) +
                       (farFirst ? nearNode : farNode));
        EXPECT_EQ(Pick(m, {0, 0, -10}, {0, 0, 10}), farFirst ? 2 : 1)
            << "the count is of the nodes that found a nearer hit";
        EXPECT_NEAR(m_hit.z, 3.0f, 1e-4f);
    }
}

// An override turns its node and every child, in the node's own frame before its Matrix.
TEST_F(Mdl3Picking, AnOverrideTurnsItsNodeAndItsChildren) {
    MDL3* m = Load(R"(
model Arm
node Root
node Arm parent Root translate 0 1 0
node Tip parent Arm translate 2 0 0 quad 1 1
)");
    Mat4 turn = kIdentity;
    Mat4RotateZ(&turn, 3.141592653f / 2);
    EXPECT_EQ(Pick(m, {2, 1, -5}, {2, 1, 5}), 1) << "unturned, the tip is at (2, 1)";
    Mdl3NodeSetOverride(Mdl3FindNode(&m->nodes[0], "Arm"), &turn);
    EXPECT_EQ(Pick(m, {2, 1, -5}, {2, 1, 5}), 0);
    EXPECT_EQ(Pick(m, {0, 3, -5}, {0, 3, 5}), 1) << "turned a quarter, the tip is above the arm";
    EXPECT_NEAR(m_hit.x, 0.0f, 1e-4f);
    EXPECT_NEAR(m_hit.y, 3.0f, 1e-4f);
    Mdl3NodeClearOverride(Mdl3FindNode(&m->nodes[0], "Arm"));
}

} // namespace
