// Skeleton and animation records: exact sizes and bytes, names, counts kept as given.
#include "gi/GM_Animation.h"
#include "gi/GM_List.h"
#include "gi/GM_Skeleton.h"

#include "tests/gi/GiTestSupport.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

GM_Animation Walk() {
    GM_Animation a;
    a.SetName("AdultWalk");
    a.animName = "AdultWalk";
    a.boneCount = 2;
    a.animLength = 1000;
    a.fps = 30;
    a.keyCount = 2;
    for (const char* bone : {"Root", "Spine"}) {
        GM_BoneAnimData& b = a.boneAnims[(uint32_t)a.boneAnims.size()];
        b.name = bone;
        b.parent = std::strcmp(bone, "Root") == 0 ? "" : "Root";
        b.keys = {{0, {0, 0, 0}, {0, 0, 0, 1}}, {1000, {0, 1, 0}, {0, 0, 0, 1}}};
    }
    return a;
}

GmfBytes& KeyBytes(GmfBytes& g, int32_t time, float py) {
    uint32_t y, one;
    std::memcpy(&y, &py, 4);
    float f1 = 1.0f;
    std::memcpy(&one, &f1, 4);
    return g.U32((uint32_t)time).U32(0).U32(y).U32(0).U32(0).U32(0).U32(0).U32(one);
}

} // namespace

TEST(GM_SkelAnim, SkeletonSizesNamesAndCounts) {
    TempDir dir;
    GM_Skeleton k;
    k.SetName("Skel");
    k.boneCount = 1000; // stored as given: the run-time skeleton decides what it means
    GM_SkelBoneData& root = k.bones[0];
    root.name = "Root";
    root.orient[0] = root.orient[5] = root.orient[10] = root.orient[15] = 1;
    root.weights = {{0, 1.0f}, {3, 0.5f}};
    std::string first = WriteRecord(k, dir / "k.gmf");
    EXPECT_EQ(k.PayloadSize(), 123u);
    ASSERT_EQ(first.size(), 12u + 123u);
    auto back = ReadRecord<GM_Skeleton>(dir / "k.gmf", ReadBy::Factory);
    ASSERT_TRUE(back);
    EXPECT_EQ(WriteRecord(*back, dir / "k2.gmf"), first);
    EXPECT_EQ(back->boneCount, 1000u);
    ASSERT_EQ(back->bones.size(), 1u);
    EXPECT_EQ(back->bones[0].parent, "");

    GM_Skeleton tabs;
    tabs.bones[0].name = "Bip01\tSpine";
    tabs.bones[0].parent = "Bip01\tPelvis";
    WriteRecord(tabs, dir / "t.gmf");
    back = ReadRecord<GM_Skeleton>(dir / "t.gmf", ReadBy::Factory);
    ASSERT_TRUE(back);
    EXPECT_EQ(back->bones[0].name, "Bip01Spine");
    EXPECT_EQ(back->bones[0].parent, "Bip01Pelvis");

    GM_Skeleton none;
    none.boneCount = 7;
    WriteRecord(none, dir / "n.gmf");
    back = ReadRecord<GM_Skeleton>(dir / "n.gmf", ReadBy::Factory);
    ASSERT_TRUE(back);
    EXPECT_TRUE(back->bones.empty());
    EXPECT_EQ(back->boneCount, 7u);

    // A weight count far beyond the payload fails before anything is allocated.
    std::string bytes = first;
    size_t count = bytes.size() - 16 - 4;
    bytes.replace(count, 4, GmfBytes().U32(0x20000000).b);
    WriteTextFile(dir / "bad.gmf", bytes);
    EXPECT_EQ(ReadRecord<GM_Skeleton>(dir / "bad.gmf", ReadBy::Factory), nullptr);
}

TEST(GM_SkelAnim, AnimationFileBytesExactly) {
    TempDir dir;
    GM_ObjectList list;
    GM_Animation* a = new GM_Animation(Walk());
    list.Append(a);
    std::string path = dir / "walk.gmf";
    GM_Stream s;
    ASSERT_EQ(s.OpenWrite(path.c_str(), GM_STREAM_BINARY), 1);
    ASSERT_EQ(s.WriteHeader(nullptr, GM_MODEL_BASIC), 1);
    ASSERT_EQ(list.Write(&s), 1);
    s.Close();

    GmfBytes g;
    g.Raw("GMI").U32(3).U32(1).U32(0).U32(15);              // header
    g.U32(GMID_OBJECT_LIST).U32(2).U32(237).U32(1);         // list
    g.U32(GMID_ANIMATION).U32(2).U32(221).Str("AdultWalk"); // record
    g.U32(0).Str("AdultWalk").U32(2).U32(1000).U32(30).U32(2).U32(2);
    g.Str("Root").Str("").U32(2);
    KeyBytes(g, 0, 0);
    KeyBytes(g, 1000, 1);
    g.Str("Spine").Str("Root").U32(2);
    KeyBytes(g, 0, 0);
    KeyBytes(g, 1000, 1);
    std::string bytes = FileBytes(path);
    EXPECT_EQ(bytes.size(), 268u);
    EXPECT_EQ(bytes, g.b) << "the character generator relies on these exact bytes";

    GM_Stream in;
    ASSERT_EQ(in.OpenRead(path.c_str(), GM_STREAM_BINARY), 1);
    ASSERT_EQ(in.ReadBinaryHeader(), 1);
    uint32_t id = 0;
    in.Read(&id, 4, 1);
    GM_ObjectList back;
    ASSERT_EQ(back.Read(&in), 1);
    auto* b = dynamic_cast<GM_Animation*>(back.Head());
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(b->boneAnims.at(1).parent, "Root");
    EXPECT_EQ(b->boneAnims.at(1).keys[1].time, 1000);
    EXPECT_EQ(b->fps, 30);
}

TEST(GM_SkelAnim, AnimationNamesAndEmptyTracks) {
    TempDir dir;
    EXPECT_EQ(GM_AnimationNameFromFile("X:\\anims\\walk.ext"), "walk");
    EXPECT_EQ(GM_AnimationNameFromFile("anims/run.ext"), "run");
    EXPECT_EQ(GM_AnimationNameFromFile("idle"), "idle");

    GM_Animation unnamed;
    unnamed.boneCount = 3;
    std::string path = dir.Path() + "anims/run.ext";
    WriteTextFile(path, "");
    WriteRecord(unnamed, path);
    EXPECT_EQ(unnamed.animName, "run") << "named after the file it is written to";
    auto back = ReadRecord<GM_Animation>(path, ReadBy::Factory);
    ASSERT_TRUE(back);
    EXPECT_EQ(back->animName, "run");
    EXPECT_TRUE(back->boneAnims.empty());
    EXPECT_EQ(back->boneCount, 3);

    GM_Animation tabs = Walk();
    tabs.animName = "Adult\tWalk";
    tabs.boneAnims[0].name = "Bip01\tPelvis";
    WriteRecord(tabs, dir / "t.gmf");
    back = ReadRecord<GM_Animation>(dir / "t.gmf", ReadBy::Factory);
    ASSERT_TRUE(back);
    EXPECT_EQ(back->animName, "Adult\tWalk") << "the clip name keeps its TAB";
    EXPECT_EQ(back->boneAnims[0].name, "Bip01Pelvis") << "bone names drop theirs";

    std::string bytes = FileBytes(dir / "t.gmf");
    size_t keys = bytes.find(GmfBytes().Str("Spine").Str("Root").b) + 10 + 9;
    bytes.replace(keys, 4, GmfBytes().U32(0x40000000).b); // a key count far beyond the file
    WriteTextFile(dir / "bad.gmf", bytes);
    EXPECT_EQ(ReadRecord<GM_Animation>(dir / "bad.gmf", ReadBy::Factory), nullptr);
}
