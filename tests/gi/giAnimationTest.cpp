// Animation files into run-time animations: the top-level records, seconds from milliseconds,
// the first animation record, refused tracks, and the trigger list.
#include "gi/giAnimation.h"
#include "gi/GM_Scene.h"
#include "gi/GM_Skeleton.h"

#include "engine/Dirs.h"
#include "tests/gi/GiTestSupport.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

namespace {

// An animation of `bones` tracks of `keys` keys each, key k at k * stepMs.
GM_Animation* Clip(const char* name, int bones, int keys, int32_t stepMs) {
    auto* a = new GM_Animation();
    a->SetName(name);
    a->animName = name;
    a->boneCount = bones;
    a->keyCount = keys;
    a->animLength = stepMs * (keys - 1);
    a->fps = 30;
    for (int b = 0; b < bones; ++b) {
        GM_BoneAnimData& t = a->boneAnims[(uint32_t)b];
        t.name = "Bone" + std::to_string(b);
        t.parent = b ? "Bone0" : "";
        for (int k = 0; k < keys; ++k)
            t.keys.push_back({stepMs * k, {(float)b, (float)k, 0}, {0, 0, 0, 1}});
    }
    return a;
}

std::unique_ptr<GM_ObjectList> ListOf(std::initializer_list<GM_Object*> members) {
    auto list = std::make_unique<GM_ObjectList>();
    for (GM_Object* m : members)
        list->Append(m);
    return list;
}

} // namespace

TEST(giAnimation, LoadsSecondsAndDropsTheScene) {
    TempDir dir;
    const std::string path = dir / "Anims/Wave.gmf";
    auto clip = ListOf({Clip("Stored", 2, 2, 1500)});
    auto* a = static_cast<GM_Animation*>(clip->Head());
    a->boneAnims[0].keys[0].time = 33;
    a->boneAnims[1].keys[0].time = 33;
    GM_Scene scene;
    DirCreateForFile(path.c_str());
    ASSERT_NE(WriteModel(path, {&scene}, {clip.get()}), "");

    giAnimation anim;
    ASSERT_TRUE(anim.Load(path.c_str()));
    EXPECT_EQ(anim.Name(), "Wave") << "the animation is named after its file";
    EXPECT_EQ(anim.FileName(), path);
    EXPECT_FLOAT_EQ(anim.Length(), 1.5f);
    EXPECT_FLOAT_EQ(anim.KeyTimes()[0], 0.033f);
    EXPECT_FLOAT_EQ(anim.KeyTimes()[1], 1.5f);
    EXPECT_EQ(anim.FramesPerSecond(), 30);
    ASSERT_EQ(anim.Tracks().size(), 2u);
    EXPECT_EQ(anim.Tracks()[1].boneName, "Bone1");
    EXPECT_EQ(anim.Tracks()[1].boneIndex, 1);
    EXPECT_EQ(anim.Tracks()[1].keys[1].pos[1], 1.0f);
    EXPECT_EQ(anim.Tracks()[1].keys[1].quat[3], 1.0f);
}

TEST(giAnimation, FileReaderTopLevelRecords) {
    TempDir dir;
    const std::string path = dir / "a.gmf";
    GM_Scene scene;
    auto clip = ListOf({Clip("Walk", 1, 2, 100)});
    struct Case {
        std::string bytes;
        const char* log;
    } failing[] = {
        {WriteModel(path, {&scene, &scene}, {clip.get()}), "Scene already generated\n"},
        {WriteModel(path, {}, {clip.get(), clip.get()}), "Object List already generated\n"},
    };
    for (const Case& c : failing) {
        WriteTextFile(path, c.bytes);
        testing::internal::CaptureStderr();
        EXPECT_EQ(GM_ReadAnimFile(path.c_str()), nullptr) << c.log;
        EXPECT_NE(testing::internal::GetCapturedStderr().find(c.log), std::string::npos) << c.log;
    }

    // A skeleton first and two animations: the first animation, named after the file.
    auto* skel = new GM_Skeleton();
    auto mixed = ListOf({skel, Clip("First", 1, 2, 100), Clip("Second", 1, 3, 100)});
    WriteModel(path, {}, {mixed.get()}, std::string("\x05\0\0\0", 4));
    testing::internal::CaptureStderr();
    std::unique_ptr<GM_Animation> got = GM_ReadAnimFile(path.c_str());
    EXPECT_NE(testing::internal::GetCapturedStderr().find(
                  "\n*********ERRONEOUS DATA IN ANIM FILE********\n"),
              std::string::npos);
    ASSERT_NE(got, nullptr);
    EXPECT_EQ(got->keyCount, 2);
    EXPECT_EQ(got->animName, "a");
    EXPECT_EQ(GM_ReadAnimFile((dir / "missing.gmf").c_str()), nullptr);
    WriteModel(path, {&scene}, {});
    EXPECT_EQ(GM_ReadAnimFile(path.c_str()), nullptr) << "no object list, no animation";
}

TEST(giAnimation, RefusesTracksThatDoNotCoverTheCounts) {
    TempDir dir;
    const std::string path = dir / "a.gmf";
    auto shortTrack = [](GM_Animation& a) { a.boneAnims[1].keys.pop_back(); };
    auto missingIndex = [](GM_Animation& a) { a.boneAnims.erase(1); };
    auto noBones = [](GM_Animation& a) { a.boneCount = 0; };
    auto noKeys = [](GM_Animation& a) { a.keyCount = 0; };
    auto tooManyBones = [](GM_Animation& a) { a.boneCount = 3; };
    for (void (*tamper)(GM_Animation&) :
         {+shortTrack, +missingIndex, +noBones, +noKeys, +tooManyBones}) {
        auto list = ListOf({Clip("Walk", 2, 3, 100)});
        tamper(*static_cast<GM_Animation*>(list->Head()));
        WriteModel(path, {}, {list.get()});
        giAnimation anim;
        EXPECT_FALSE(anim.Load(path.c_str()));
        EXPECT_EQ(anim.BoneCount(), 0);
        EXPECT_TRUE(anim.Tracks().empty());
        EXPECT_TRUE(anim.KeyTimes().empty());
    }
}

TEST(giAnimation, OddButReadableClips) {
    TempDir dir;
    const std::string path = dir / "a.gmf";
    // One key at 0 and a length of 0: a clip of one pose.
    auto still = ListOf({Clip("Still", 2, 1, 0)});
    WriteModel(path, {}, {still.get()});
    giAnimation one;
    ASSERT_TRUE(one.Load(path.c_str()));
    EXPECT_EQ(one.KeyCount(), 1);
    EXPECT_EQ(one.Length(), 0.0f);

    // Tracks disagreeing on their times: the last track's times, and one line saying so.
    auto odd = ListOf({Clip("Odd", 3, 2, 100)});
    static_cast<GM_Animation*>(odd->Head())->boneAnims[2].keys[1].time = 250;
    WriteModel(path, {}, {odd.get()});
    giAnimation anim;
    testing::internal::CaptureStderr();
    ASSERT_TRUE(anim.Load(path.c_str()));
    const std::string log = testing::internal::GetCapturedStderr();
    EXPECT_FLOAT_EQ(anim.KeyTimes()[1], 0.25f);
    EXPECT_NE(log.find("different key times"), std::string::npos);
    EXPECT_EQ(log.find("different key times"), log.rfind("different key times"));
}

TEST(giAnimation, TriggerList) {
    giAnimation anim;
    auto trigger = [](const char* name, float time) {
        auto t = std::make_unique<giAnimTrigger>();
        t->name = name;
        t->time = time;
        return t;
    };
    EXPECT_TRUE(anim.AddTrigger(trigger("Step", 0.25f)));
    EXPECT_FALSE(anim.AddTrigger(trigger("Step", 0.25f))) << "an equal trigger is refused";
    EXPECT_TRUE(anim.AddTrigger(trigger("Step", 0.75f))) << "a different time is a new trigger";
    auto withParam = trigger("Step", 0.25f);
    withParam->param1 = "left";
    EXPECT_TRUE(anim.AddTrigger(std::move(withParam)));
    EXPECT_FALSE(anim.AddTrigger(nullptr));
    ASSERT_EQ(anim.TriggerCount(), 3);
    EXPECT_EQ(anim.GetTrigger(3), nullptr);
    EXPECT_EQ(anim.GetTrigger(-1), nullptr);
    EXPECT_FLOAT_EQ(anim.GetTrigger(1)->time, 0.75f);

    anim.RemoveTrigger("step");
    EXPECT_EQ(anim.TriggerCount(), 3) << "names are compared exactly";
    anim.RemoveTrigger("Step");
    ASSERT_EQ(anim.TriggerCount(), 2);
    EXPECT_FLOAT_EQ(anim.GetTrigger(0)->time, 0.75f) << "the first match goes";
    anim.ClearTriggers();
    EXPECT_EQ(anim.TriggerCount(), 0);
}
