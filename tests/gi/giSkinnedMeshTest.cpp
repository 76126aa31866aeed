// Skinned meshes on hand-built skeletons: skinning by the stored weights, children placed by
// their parents' rotation, attachments through the parent's placement, bounds and bad input.
#include "gi/giSkinnedMesh.h"

#include "tests/gi/SkinTestSupport.h"

#include "engine/Random.h"

#include <gtest/gtest.h>

#include <array>

namespace {

struct Vtx32 {
    float pos[3], nrm[3], uv[2];
};
static_assert(sizeof(Vtx32) == 32);

// Two roots at the origin with identity binds and one part of three vertices: vertex 0 all on
// bone A, vertex 1 half on each, vertex 2 on A with 0.8 only.
struct TwoRoots {
    GM_Skeleton rec;
    giGmModel model;
    giSkeleton skel;
    giSkinnedMesh mesh;

    TwoRoots() {
        GM_SkelBoneData& a = AddSkelBone(rec, "A", "", giMat44::Identity());
        AddWeight(a, 0, 1.0f);
        AddWeight(a, 1, 0.5f);
        AddWeight(a, 2, 0.8f);
        AddWeight(AddSkelBone(rec, "B", "", giMat44::Identity()), 1, 0.5f);
        model.AddPart(PointPart({{1, 2, 3}, {2, 3, 4}, {-1, 5, 2}}));
        model.ComputeBounds();
        EXPECT_TRUE(skel.BuildFrom(rec, model));
        mesh.SetModel(&model);
        mesh.SetSkeleton(&skel);
    }
    std::array<Vtx32, 3> Skin() const {
        std::array<Vtx32, 3> v{};
        mesh.SkinVertices(0, v[0].pos, 32, v[0].nrm, 32, v[0].uv, 32, nullptr, 0, nullptr, 0);
        return v;
    }
};

giVec3 V(const float* f) {
    return {f[0], f[1], f[2]};
}

// The literal formula: each influence carried through the inverse bind and the bone matrix.
giVec3 LiteralPoint(const giSkinnedMesh& mesh, const giSkeleton& skel, const giSkinVertex& s) {
    giVec3 p;
    for (int i = 0; i < s.influenceCount; ++i) {
        const int b = s.bones[i];
        p += giVec3TransformCoord(giVec3TransformCoord(s.position, skel.Bone(b).inverseBind),
                                  *mesh.BoneMatrix(b)) *
             s.weights[i];
    }
    return p;
}

} // namespace

TEST(giSkinnedMesh, ConstructionAndBindPose) {
    giSkinnedMesh mesh;
    EXPECT_EQ(mesh.speed, 1.0f);
    EXPECT_TRUE(mesh.updateOnLayerChange);
    EXPECT_FALSE(mesh.hasBoxes);
    EXPECT_EQ(mesh.orientation.w, 0.0f) << "orientation starts all zero";
    EXPECT_EQ(mesh.BoneCount(), 0);

    GM_Skeleton rec;
    AddSkelBone(rec, "Root", "", BindAt(0, 1, 0, giMatrixRotationY(0.7f)));
    AddSkelBone(rec, "Arm", "root", BindAt(1, 1, 0, giMatrixRotationZ(-0.4f)));
    giGmModel model;
    giSkeleton skel;
    ASSERT_TRUE(skel.BuildFrom(rec, model));
    mesh.SetSkeleton(&skel);
    ASSERT_EQ(mesh.BoneCount(), 2);
    EXPECT_EQ(mesh.BoneMatrix(2), nullptr);
    EXPECT_EQ(mesh.BoneMatrix(-1), nullptr);
    for (int b = 0; b < 2; ++b) {
        const giMat44& m = *mesh.BoneMatrix(b);
        for (int r = 0; r < 4; ++r)
            for (int c = 0; c < 4; ++c)
                EXPECT_NEAR(m.m[r][c], skel.Bone(b).bind.m[r][c], 1e-6f)
                    << "a bone starts at its bind pose";
        EXPECT_TRUE(Near(mesh.bonePos[(size_t)b], V(m.m[3]), 1e-6f));
    }
    EXPECT_TRUE(SameTurn(mesh.boneRot[0], AxisTurn({0, 1, 0}, 0.7f), 1e-6f));
    // The pose given back as it is rebuilds the same matrices.
    mesh.BuildBoneMatrices();
    EXPECT_NEAR(mesh.BoneMatrix(1)->m[3][0], 1.0f, 1e-5f);
    EXPECT_NEAR(mesh.BoneMatrix(1)->m[0][1], skel.Bone(1).bind.m[0][1], 1e-5f);
}

TEST(giSkinnedMesh, SkinsByTheStoredWeights) {
    TwoRoots r;
    std::array<Vtx32, 3> v = r.Skin();
    EXPECT_TRUE(Near(V(v[0].pos), {1, 2, 3}, 1e-6f)) << "one full influence at bind keeps it";
    EXPECT_TRUE(Near(V(v[1].pos), {2, 3, 4}, 1e-6f));
    EXPECT_TRUE(Near(V(v[2].pos), {-0.8f, 4, 1.6f}, 1e-6f))
        << "weights summing to 0.8 shrink towards the origin: they are not renormalised";
    EXPECT_TRUE(Near(V(v[2].nrm), {0, 0.8f, 0}, 1e-6f)) << "nor are normals";
    EXPECT_EQ(v[2].uv[0], 2.0f);
    EXPECT_EQ(v[2].uv[1], 4.0f);

    r.mesh.bonePos[0] = {1, 0, 0};
    r.mesh.bonePos[1] = {-1, 0, 0};
    r.mesh.BuildBoneMatrices();
    v = r.Skin();
    EXPECT_TRUE(Near(V(v[1].pos), {2, 3, 4}, 1e-6f)) << "+1 and -1 at half weight cancel";
    EXPECT_TRUE(Near(V(v[0].pos), {2, 2, 3}, 1e-6f));

    // Separate arrays with 12-byte strides give the same.
    float pos[9], nrm[9], uv[6];
    r.mesh.SkinVertices(0, pos, 12, nrm, 12, uv, 8, nullptr, 0, nullptr, 0);
    for (int i = 0; i < 3; ++i) {
        EXPECT_TRUE(Near(V(pos + 3 * i), V(v[(size_t)i].pos), 0)) << i;
        EXPECT_TRUE(Near(V(nrm + 3 * i), V(v[(size_t)i].nrm), 0)) << i;
        EXPECT_EQ(uv[2 * i + 1], v[(size_t)i].uv[1]) << i;
    }

    // With tangent outputs the texture pairs are left alone.
    float tan[9], bin[9];
    float untouched[6] = {7, 7, 7, 7, 7, 7};
    r.mesh.SkinVertices(0, pos, 12, nrm, 12, untouched, 8, tan, 12, bin, 12);
    EXPECT_EQ(untouched[2], 7.0f);
    EXPECT_EQ(tan[0], 0.0f) << "the parts carry no tangents";
}

TEST(giSkinnedMesh, SkinningWritesNothingForBadArguments) {
    TwoRoots r;
    std::array<Vtx32, 3> v;
    for (Vtx32& x : v)
        x = Vtx32{{-9, -9, -9}, {-9, -9, -9}, {-9, -9}};
    auto untouched = [&] {
        for (const Vtx32& x : v)
            if (!Near(V(x.pos), {-9, -9, -9}, 0) || !Near(V(x.nrm), {-9, -9, -9}, 0) ||
                x.uv[0] != -9 || x.uv[1] != -9)
                return false;
        return true;
    };
    r.mesh.SkinVertices(0, nullptr, 32, v[0].nrm, 32, v[0].uv, 32, nullptr, 0, nullptr, 0);
    r.mesh.SkinVertices(0, v[0].pos, 32, nullptr, 32, v[0].uv, 32, nullptr, 0, nullptr, 0);
    r.mesh.SkinVertices(-1, v[0].pos, 32, v[0].nrm, 32, v[0].uv, 32, nullptr, 0, nullptr, 0);
    r.mesh.SkinVertices(1, v[0].pos, 32, v[0].nrm, 32, v[0].uv, 32, nullptr, 0, nullptr, 0);
    EXPECT_TRUE(untouched());

    giSkinnedMesh bare;
    bare.SetModel(&r.model);
    bare.SkinVertices(0, v[0].pos, 32, v[0].nrm, 32, v[0].uv, 32, nullptr, 0, nullptr, 0);
    EXPECT_TRUE(untouched()) << "a mesh without a skeleton skins nothing";

    // A skeleton built on a model of another vertex count has no records for this one.
    giGmModel other;
    other.AddPart(PointPart({{0, 0, 0}, {1, 1, 1}}));
    giSkeleton otherSkel;
    ASSERT_TRUE(otherSkel.BuildFrom(r.rec, other));
    giSkinnedMesh wrong;
    wrong.SetModel(&r.model);
    wrong.SetSkeleton(&otherSkel);
    wrong.SkinVertices(0, v[0].pos, 32, v[0].nrm, 32, v[0].uv, 32, nullptr, 0, nullptr, 0);
    EXPECT_TRUE(untouched()) << "records of another vertex count are no records";

    // A null uv is skipped; positions and normals are still written.
    r.mesh.SkinVertices(0, v[0].pos, 32, v[0].nrm, 32, nullptr, 32, nullptr, 0, nullptr, 0);
    EXPECT_EQ(v[1].pos[0], 2.0f);
    EXPECT_EQ(v[1].uv[0], -9.0f);
}

TEST(giSkinnedMesh, CachedSkinMatricesMatchTheLiteralFormula) {
    // A three-bone chain with turned binds, posed at random.
    GM_Skeleton rec;
    GM_SkelBoneData& a = AddSkelBone(rec, "A", "", BindAt(0, 1, 0, giMatrixRotationX(0.3f)));
    GM_SkelBoneData& b = AddSkelBone(rec, "B", "a", BindAt(0, 2, 0.5f, giMatrixRotationZ(1.1f)));
    GM_SkelBoneData& c = AddSkelBone(rec, "C", "b", BindAt(1, 2.5f, 0, giMatrixRotationY(-0.6f)));
    AddWeight(a, 0, 1.0f);
    AddWeight(a, 1, 0.3f);
    AddWeight(b, 1, 0.7f);
    AddWeight(b, 2, 0.2f);
    AddWeight(c, 2, 0.5f);
    AddWeight(a, 2, 0.3f);
    giGmModel model;
    model.AddPart(PointPart({{0.1f, 1.2f, 0.3f}, {0.2f, 2.1f, 0.4f}, {0.9f, 2.6f, -0.2f}}));
    giSkeleton skel;
    ASSERT_TRUE(skel.BuildFrom(rec, model));
    giSkinnedMesh mesh;
    mesh.SetModel(&model);
    mesh.SetSkeleton(&skel);
    CrtSrand(46);
    auto unit = [] { return RandFloatRange(-1, 1); };
    for (int pose = 0; pose < 50; ++pose) {
        for (int i = 0; i < 3; ++i) {
            mesh.boneRot[(size_t)i] = AxisTurn({unit(), unit(), unit()}, 3 * unit());
            mesh.bonePos[(size_t)i] = {unit(), unit(), unit()};
        }
        mesh.BuildBoneMatrices();
        Vtx32 v[3];
        mesh.SkinVertices(0, v[0].pos, 32, v[0].nrm, 32, v[0].uv, 32, nullptr, 0, nullptr, 0);
        for (int i = 0; i < 3; ++i)
            ASSERT_TRUE(Near(V(v[i].pos), LiteralPoint(mesh, skel, skel.SkinVertices(0)[i]), 1e-5f))
                << "pose " << pose << " vertex " << i;
    }
}

TEST(giSkinnedMesh, ChildrenFollowTheirParentsRotationNotTheirTracks) {
    TempDir dir;
    SkinClock clock;
    GM_Skeleton rec;
    AddSkelBone(rec, "Root", "", giMat44::Identity());
    AddSkelBone(rec, "Child", "root", BindAt(1, 0, 0));
    giGmModel model;
    giSkeleton skel;
    ASSERT_TRUE(skel.BuildFrom(rec, model));
    const giQuat quarter = AxisTurn({0, 1, 0}, (float)M_PI / 2);
    auto clip = WriteClip(dir, "Turn",
                          {{{0, {0, 0, 0}, quarter}, {1000, {0, 0, 0}, quarter}},
                           {{0, {5, 5, 5}, {0, 0, 0, 1}}, {1000, {5, 5, 5}, {0, 0, 0, 1}}}},
                          1000);
    ASSERT_TRUE(clip);
    giSkinnedMesh mesh;
    mesh.SetSkeleton(&skel);
    mesh.AddAnimation(clip.get());
    mesh.AddLayer("Turn", true, 0, 1, 0);
    clock.Advance(0.5);
    mesh.Animate(false);
    EXPECT_TRUE(Near(V(mesh.BoneMatrix(1)->m[3]), {0, 0, -1}, 1e-6f))
        << "a quarter turn about y carries the child's offset (1, 0, 0) to (0, 0, -1)";
    EXPECT_TRUE(Near(mesh.bonePos[1], {0, 0, -1}, 1e-6f));
}

TEST(giSkinnedMesh, ParentsThatLoopStillPose) {
    GM_Skeleton rec;
    AddSkelBone(rec, "Root", "", giMat44::Identity());
    AddSkelBone(rec, "P", "q", BindAt(1, 0, 0));
    AddSkelBone(rec, "Q", "p", BindAt(2, 0, 0));
    giGmModel model;
    giSkeleton skel;
    ASSERT_TRUE(skel.BuildFrom(rec, model));
    giSkinnedMesh mesh;
    mesh.SetSkeleton(&skel);
    mesh.boneRot[1] = AxisTurn({0, 0, 1}, 0.5f);
    mesh.BuildBoneMatrices(); // returns
    for (int b = 0; b < 3; ++b)
        for (int i = 0; i < 16; ++i)
            EXPECT_TRUE(std::isfinite(mesh.BoneMatrix(b)->m[i / 4][i % 4]));
}

TEST(giSkinnedMesh, PlacementBoundsAndBoneQueries) {
    TwoRoots r;
    r.mesh.bonePos[1] = {0, 2, 0};
    r.mesh.BuildBoneMatrices();
    const giQuat quarter = AxisTurn({0, 1, 0}, (float)M_PI / 2);
    r.mesh.SetTransform({5, 0, 2}, quarter);
    const giMat44 expect = BindAt(5, 0, 2, giMatrixRotationQuaternion(quarter));
    for (int i = 0; i < 16; ++i)
        EXPECT_NEAR(r.mesh.world.m[i / 4][i % 4], expect.m[i / 4][i % 4], 1e-6f);
    // Model box (-1, 2, 2)..(2, 5, 4); a quarter turn about y sends x to -z and z to x.
    EXPECT_TRUE(Near(r.mesh.worldMin, {7, 2, 0}, 1e-5f));
    EXPECT_TRUE(Near(r.mesh.worldMax, {9, 5, 3}, 1e-5f));
    EXPECT_TRUE(Near(r.mesh.GetBoneWorldPosition("b"), {5, 2, 2}, 1e-6f));
    EXPECT_TRUE(SameTurn(r.mesh.GetBoneWorldRotation("B"), quarter, 1e-6f));
    EXPECT_TRUE(Near(r.mesh.GetBoneWorldPosition("nobody"), {0, 0, 0}, 0));
    const giQuat none = r.mesh.GetBoneWorldRotation("nobody");
    EXPECT_EQ(none.x + none.y + none.z + none.w, 0.0f) << "an unknown bone has the zero quaternion";
    r.mesh.SetPosition({0, 0, 0});
    EXPECT_TRUE(Near(r.mesh.worldMin, {2, 2, -2}, 1e-5f));
    EXPECT_EQ(r.mesh.FindBox("Walk"), nullptr);

    giSkinnedMesh bare;
    EXPECT_TRUE(Near(bare.GetBoneWorldPosition("a"), {0, 0, 0}, 0));
}

TEST(giSkinnedMesh, AttachedMeshesRideTheParentsBoneWhereverItIs) {
    TwoRoots parent, child, grandchild;
    parent.mesh.bonePos[1] = {0, 1.5f, 0.5f};
    parent.mesh.boneRot[1] = AxisTurn({1, 0, 0}, 0.4f);
    parent.mesh.BuildBoneMatrices();
    child.mesh.bonePos[0] = {0.2f, 0, 0};
    child.mesh.BuildBoneMatrices();
    child.mesh.hasBoxes = true;
    giAttachment* rec = parent.mesh.Attach(&child.mesh, "A", "b");
    ASSERT_NE(rec, nullptr);
    EXPECT_FALSE(child.mesh.hasBoxes) << "an attached mesh's box flags are cleared";
    EXPECT_FALSE(child.mesh.updateOnLayerChange);
    EXPECT_EQ(parent.mesh.Attach(&child.mesh, "B", "a"), rec) << "one record per child";

    auto onBone = [&](const char* why) {
        EXPECT_TRUE(Near(child.mesh.GetBoneWorldPosition("a"),
                         parent.mesh.GetBoneWorldPosition("b"), 1e-5f))
            << why;
        EXPECT_TRUE(SameTurn(child.mesh.GetBoneWorldRotation("a"),
                             parent.mesh.GetBoneWorldRotation("b"), 1e-5f))
            << why;
    };
    onBone("the child's root sits on the parent's bone");
    parent.mesh.SetTransform({10, 0, 0}, AxisTurn({0, 1, 0}, 1.0f));
    onBone("the child follows the parent's placement");
    EXPECT_GE(parent.mesh.worldMax.x, child.mesh.worldMax.x) << "bounds take in the children";

    // Refused: null, itself, a mesh that carries it, unknown bones.
    EXPECT_EQ(parent.mesh.Attach(nullptr, "a", "a"), nullptr);
    EXPECT_EQ(parent.mesh.Attach(&parent.mesh, "a", "a"), nullptr);
    ASSERT_NE(child.mesh.Attach(&grandchild.mesh, "a", "b"), nullptr);
    EXPECT_EQ(grandchild.mesh.Attach(&parent.mesh, "a", "a"), nullptr)
        << "a mesh carrying its own carrier would update for ever";
    EXPECT_EQ(grandchild.mesh.Attach(&child.mesh, "a", "a"), nullptr);
    TwoRoots other;
    EXPECT_EQ(parent.mesh.Attach(&other.mesh, "a", "nobody"), nullptr);
    EXPECT_EQ(parent.mesh.Attach(&other.mesh, "nobody", "a"), nullptr);
    EXPECT_EQ(parent.mesh.attachments.size(), 1u);
    parent.mesh.SetPosition({-3, 1, 0});
    EXPECT_TRUE(Near(grandchild.mesh.GetBoneWorldPosition("a"),
                     child.mesh.GetBoneWorldPosition("b"), 1e-5f))
        << "placement reaches the grandchild";

    parent.mesh.Detach(&child.mesh);
    EXPECT_TRUE(parent.mesh.attachments.empty());
    giSkinnedMesh bare;
    EXPECT_EQ(bare.Attach(&other.mesh, "a", "a"), nullptr) << "no skeleton, no bones";
}
