// Run-time skeletons: bones from the stored count, lower-case names, offsets that pose the bind
// pose back, skin vertices matched through the running offset, and the limits of bone indices
// and influences.
#include "gi/giSkeleton.h"
#include "gi/GM_Material.h"
#include "gi/giGmModel.h"

#include "engine/Random.h"
#include "tests/gi/GiTestSupport.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

namespace {

void SetBind(GM_SkelBoneData& b, const giMat44& m) {
    std::memcpy(b.orient, m.m, sizeof b.orient);
}

giMat44 At(float x, float y, float z, const giMat44& turn = giMat44::Identity()) {
    giMat44 m = turn;
    m.m[3][0] = x, m.m[3][1] = y, m.m[3][2] = z;
    return m;
}

GM_SkelBoneData& AddBone(GM_Skeleton& s, const char* name, const char* parent, const giMat44& m) {
    GM_SkelBoneData& b = s.bones[(uint32_t)s.bones.size()];
    b.name = name;
    b.parent = parent;
    SetBind(b, m);
    s.boneCount = (uint32_t)s.bones.size();
    return b;
}

void Weight(GM_SkelBoneData& b, uint32_t vertex, float w) {
    b.weights.push_back({vertex, w});
    b.vertexCount = (uint32_t)b.weights.size();
}

// A part of `count` vertices whose source indices are given (vertex i by default).
std::unique_ptr<giMeshPart> Part(int count, std::vector<uint32_t> source = {},
                                 uint32_t sourceCount = 0) {
    auto p = std::make_unique<giMeshPart>();
    p->vertexCount = count;
    for (int i = 0; i < count; ++i) {
        p->positions.push_back({(float)i, 0, 0});
        p->normals.push_back({0, 1, 0});
        if (source.size() < (size_t)count) p->source.push_back((uint32_t)i);
    }
    if (!source.empty()) p->source = std::move(source);
    p->sourceVertexCount = sourceCount ? sourceCount : (uint32_t)count;
    return p;
}

bool IsIdentity(const giMat44& m, float tol) {
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c)
            if (std::isnan(m.m[r][c]) || std::fabs(m.m[r][c] - (r == c ? 1.0f : 0.0f)) > tol)
                return false;
    return true;
}

} // namespace

TEST(giSkeleton, BonesNamesParentsAndOffsets) {
    GM_Skeleton rec;
    AddBone(rec, "Root", "", At(0, 1, 0));
    AddBone(rec, "Mid", "ROOT", At(0, 2, 0, giMatrixRotationZ(0.5f)));
    AddBone(rec, "TipB", "mid", At(0.3f, 2.9f, 0.2f, giMatrixRotationX(0.3f)));
    AddBone(rec, "TipA", "Mid", At(-0.3f, 2.9f, 0, giMatrixRotationY(1.0f)));
    AddBone(rec, "Self", "self", At(5, 5, 5));
    giGmModel model;
    model.SetName("Guy");
    giSkeleton skel;
    ASSERT_TRUE(skel.BuildFrom(rec, model));
    EXPECT_EQ(skel.ModelName(), "Guy");
    ASSERT_EQ(skel.BoneCount(), 5);
    EXPECT_EQ(skel.Bone(1).name, "mid");
    EXPECT_EQ(skel.Bone(1).parentName, "root");
    EXPECT_EQ(skel.Bone(1).parent, &skel.Bone(0));
    EXPECT_EQ(skel.Bone(2).parentIndex, 1);
    EXPECT_EQ(skel.Bone(1).children, (std::vector<int32_t>{2, 3})) << "children ascending";
    EXPECT_EQ(skel.FindBone("MID"), skel.FindBone("mid"));
    EXPECT_EQ(skel.FindBoneIndex("tipa"), 3);
    EXPECT_EQ(skel.FindBoneIndex("nobody"), -1);
    EXPECT_EQ(skel.GetBoneName(2), "tipb");
    EXPECT_EQ(skel.GetBoneName(5), "");
    EXPECT_EQ(skel.GetBoneName(-1), "");
    EXPECT_EQ(skel.Bone(4).parentIndex, -1) << "a bone cannot be its own parent";
    EXPECT_TRUE(skel.Bone(4).children.empty());

    for (int b = 0; b < skel.BoneCount(); ++b) {
        const giSkeletonBone& bone = skel.Bone(b);
        EXPECT_TRUE(IsIdentity(bone.bind * bone.inverseBind, 1e-5f)) << bone.name;
        if (!bone.parent) continue;
        // Posing the bind pose by the offsets must give the bind pose back.
        giVec3 placed = giVec3TransformCoord(bone.offset, bone.parent->bind);
        EXPECT_NEAR(placed.x, bone.bind.m[3][0], 1e-5f) << bone.name;
        EXPECT_NEAR(placed.y, bone.bind.m[3][1], 1e-5f) << bone.name;
        EXPECT_NEAR(placed.z, bone.bind.m[3][2], 1e-5f) << bone.name;
    }
    EXPECT_NEAR(skel.Bone(1).offset.y, 1.0f, 1e-6f) << "(0,2,0) seen from (0,1,0) is (0,1,0)";
    EXPECT_EQ(skel.Bone(0).offset.y, 0.0f);
}

TEST(giSkeleton, StoredCountRulesAndBoneIndicesStayBytes) {
    GM_Skeleton rec;
    for (int i = 0; i < 11; ++i)
        AddBone(rec, ("B" + std::to_string(i)).c_str(), i ? "B0" : "", At(0, (float)i, 0));
    rec.boneCount = 13;
    giGmModel model;
    giSkeleton skel;
    ASSERT_TRUE(skel.BuildFrom(rec, model));
    ASSERT_EQ(skel.BoneCount(), 13);
    for (int b : {11, 12}) {
        const giSkeletonBone& bone = skel.Bone(b);
        EXPECT_EQ(bone.name, "bonename");
        EXPECT_EQ(bone.parentIndex, -1);
        EXPECT_TRUE(IsIdentity(bone.inverseBind, 0)) << "a singular bind keeps the identity";
        EXPECT_EQ(bone.bind.m[3][3], 0.0f);
    }

    // Skin vertices keep bone indices in bytes: bone 300 would be stored as 44.
    GM_Skeleton big;
    for (int i = 0; i < 300; ++i)
        AddBone(big, ("B" + std::to_string(i)).c_str(), "", At(0, 0, 0));
    Weight(big.bones[299], 0, 1.0f);
    model.AddPart(Part(1));
    testing::internal::CaptureStderr();
    EXPECT_FALSE(skel.BuildFrom(big, model));
    EXPECT_NE(testing::internal::GetCapturedStderr().find("300 bones"), std::string::npos);
    big.bones.erase(299);
    for (uint32_t i = 256; i < 299; ++i)
        big.bones.erase(i);
    big.boneCount = 256;
    Weight(big.bones[255], 0, 1.0f);
    ASSERT_TRUE(skel.BuildFrom(big, model));
    EXPECT_EQ(skel.SkinVertices(0)[0].bones[0], 255);
}

TEST(giSkeleton, SkinsThroughTheRunningOffset) {
    GM_Skeleton rec;
    GM_SkelBoneData& a = AddBone(rec, "A", "", At(0, 0, 0));
    GM_SkelBoneData& b = AddBone(rec, "B", "A", At(0, 1, 0));
    // Mesh 0 has 4 source vertices, mesh 1's vertices come from sources 2, 0, 2.
    Weight(a, 1, 1.0f);
    Weight(a, 6, 0.25f);
    Weight(b, 6, 0.75f);
    Weight(b, 99, 1.0f); // no vertex has it: ignored
    giGmModel model;
    model.AddPart(Part(4));
    model.AddPart(Part(3, {2, 0, 2}, 5));
    giSkeleton skel;
    ASSERT_TRUE(skel.BuildFrom(rec, model));
    ASSERT_EQ(skel.MeshCount(), 2);
    EXPECT_EQ(skel.MeshVertexCount(1), 3);
    const giSkinVertex* m0 = skel.SkinVertices(0);
    EXPECT_EQ(m0[1].influenceCount, 1);
    EXPECT_EQ(m0[2].influenceCount, 0);
    const giSkinVertex* m1 = skel.SkinVertices(1);
    for (int v : {0, 2}) {
        ASSERT_EQ(m1[v].influenceCount, 2) << "source 2 of mesh 1 is vertex 4 + 2";
        EXPECT_EQ(m1[v].bones[0], 0);
        EXPECT_EQ(m1[v].weights[0], 0.25f);
        EXPECT_EQ(m1[v].bones[1], 1);
        EXPECT_EQ(m1[v].weights[1], 0.75f);
    }
    EXPECT_EQ(m1[1].influenceCount, 0);
    EXPECT_EQ(m1[2].position.x, 2.0f);

    // The vertex count limits the weights taken.
    rec.bones[0].vertexCount = 0;
    ASSERT_TRUE(skel.BuildFrom(rec, model));
    EXPECT_EQ(skel.SkinVertices(0)[1].influenceCount, 0);
}

TEST(giSkeleton, ANinthInfluenceReplacesOnlyAWeakerOne) {
    GM_Skeleton rec;
    for (int i = 0; i < 10; ++i) {
        GM_SkelBoneData& b = AddBone(rec, ("B" + std::to_string(i)).c_str(), "", At(0, 0, 0));
        // Eight influences 0.1 .. 0.8 (the weakest second), then 0.5, then 0.05.
        const float w[10] = {0.2f, 0.1f, 0.3f, 0.4f, 0.5f, 0.6f, 0.7f, 0.8f, 0.5f, 0.05f};
        Weight(b, 0, w[i]);
    }
    giGmModel model;
    model.AddPart(Part(1));
    giSkeleton skel;
    ASSERT_TRUE(skel.BuildFrom(rec, model));
    const giSkinVertex& v = skel.SkinVertices(0)[0];
    EXPECT_EQ(v.influenceCount, 8);
    EXPECT_EQ(v.bones[1], 8) << "0.5 takes the place of the weakest, 0.1";
    EXPECT_EQ(v.weights[1], 0.5f);
    EXPECT_EQ(v.bones[0], 0) << "0.05 must not push out a stronger influence";
    for (int i = 0; i < 8; ++i)
        EXPECT_NE(v.bones[i], 9);
}

TEST(giSkeleton, BuildEdges) {
    GM_Skeleton rec;
    AddBone(rec, "A", "", At(0, 0, 0));
    giGmModel model;
    model.AddPart(Part(3));
    giSkeleton skel;
    ASSERT_TRUE(skel.BuildFrom(rec, model)) << "no weights, nothing to skin";
    EXPECT_EQ(skel.MeshCount(), 0);

    Weight(rec.bones[0], 0, 1.0f);
    model.AddPart(Part(0));
    EXPECT_FALSE(skel.BuildFrom(rec, model)) << "a mesh without vertices";
    EXPECT_EQ(skel.BoneCount(), 1) << "what was built stays";
    EXPECT_EQ(skel.MeshCount(), 1);
}

TEST(giSkeleton, SourceLookupMatchesTheTripleLoop) {
    MsSeed(1234);
    GM_Skeleton rec;
    for (int i = 0; i < 12; ++i) {
        GM_SkelBoneData& b = AddBone(rec, ("B" + std::to_string(i)).c_str(), "", At(0, 0, 0));
        for (int k = 0; k < 40; ++k)
            Weight(b, (uint32_t)(MsRand() % 70), (float)(MsRand() % 100) / 100.0f);
    }
    giGmModel model;
    for (int m = 0; m < 3; ++m) {
        std::vector<uint32_t> source;
        for (int v = 0; v < 30; ++v)
            source.push_back((uint32_t)(MsRand() % 25));
        model.AddPart(Part(30, source, 25));
    }
    giSkeleton fast, slow;
    ASSERT_TRUE(fast.BuildFrom(rec, model));
    ASSERT_TRUE(slow.BuildFrom(rec, model, true));
    ASSERT_EQ(fast.MeshCount(), 3);
    int influenced = 0;
    for (int m = 0; m < 3; ++m)
        for (int v = 0; v < 30; ++v) {
            const giSkinVertex &a = fast.SkinVertices(m)[v], &b = slow.SkinVertices(m)[v];
            ASSERT_EQ(a.influenceCount, b.influenceCount);
            ASSERT_EQ(std::memcmp(a.weights, b.weights, sizeof a.weights), 0);
            ASSERT_EQ(std::memcmp(a.bones, b.bones, sizeof a.bones), 0);
            influenced += a.influenceCount > 0;
        }
    EXPECT_GT(influenced, 40);
}

TEST(giSkeleton, ReadsTheFirstSkeletonOfAFile) {
    TempDir dir;
    const std::string path = dir / "Skel.gmf";
    GM_ObjectList objects;
    auto* first = new GM_Skeleton();
    AddBone(*first, "Pelvis", "", At(0, 1, 0));
    auto* second = new GM_Skeleton();
    AddBone(*second, "Other", "", At(0, 1, 0));
    objects.Append(first);
    objects.Append(second);
    // Two stray words before the list: one line each, and the reading goes on.
    const std::string header = WriteModel(path, {}, {});
    const std::string full = WriteModel(path, {}, {&objects});
    WriteTextFile(path,
                  header + std::string("\x63\0\0\0\x64\0\0\0", 8) + full.substr(header.size()));

    giGmModel model;
    giSkeleton skel;
    testing::internal::CaptureStderr();
    ASSERT_TRUE(skel.Build(path, model));
    const std::string log = testing::internal::GetCapturedStderr();
    const std::string line = "\n*********ERRONEOUS DATA IN MODEL FILE********\n";
    size_t n = 0;
    for (size_t at = log.find(line); at != std::string::npos; at = log.find(line, at + 1))
        ++n;
    EXPECT_EQ(n, 2u);
    EXPECT_EQ(skel.FileName(), path);
    ASSERT_EQ(skel.BoneCount(), 1);
    EXPECT_EQ(skel.Bone(0).name, "pelvis");

    giSkeleton none;
    EXPECT_FALSE(none.Build(dir / "missing.gmf", model));
    EXPECT_EQ(none.FileName(), "");
    // A file whose skeleton sits behind a material list: the list's words are crawled as type
    // ids and the read gives up without a crash.
    GM_MaterialList materials;
    auto* paint = new GM_Material();
    paint->SetName("Paint");
    materials.Append(paint);
    GM_ObjectList again;
    auto* third = new GM_Skeleton();
    AddBone(*third, "Pelvis", "", At(0, 1, 0));
    again.Append(third);
    WriteModel(path, {}, {&materials, &again});
    giSkeleton crawled;
    testing::internal::CaptureStderr();
    EXPECT_FALSE(crawled.Build(path, model));
    testing::internal::GetCapturedStderr();

    // The skeleton's own file behind a spoiled header ("GM" then no "I"): nothing is crawled.
    const std::string good = WriteModel(path, {}, {&again});
    WriteTextFile(path, "GMX" + good.substr(3));
    giSkeleton refused;
    EXPECT_EQ(refused.GM_ReadModelFile(path.c_str()), nullptr);
    EXPECT_FALSE(refused.Build(path, model));
}

TEST(giSkeleton, BoundingBoxCorners) {
    giBoundingBox box;
    box.Set({-1, 0, 2}, {1, 4, 3});
    const giVec3 expect[8] = {{-1, 0, 2}, {-1, 4, 2}, {1, 0, 2}, {1, 4, 2},
                              {-1, 0, 3}, {-1, 4, 3}, {1, 0, 3}, {1, 4, 3}};
    for (int i = 0; i < 8; ++i) {
        EXPECT_EQ(box.corners[i].x, expect[i].x) << i;
        EXPECT_EQ(box.corners[i].y, expect[i].y) << i;
        EXPECT_EQ(box.corners[i].z, expect[i].z) << i;
    }
    EXPECT_EQ(box.centre.y, 2.0f);
    EXPECT_FLOAT_EQ(box.radius, std::sqrt(4.0f + 16.0f + 1.0f) / 2);
    EXPECT_EQ(box.box[4], 4.0f);
}
