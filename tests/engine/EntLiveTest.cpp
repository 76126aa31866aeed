// The live-entity set: kept pointers can be checked after their entity is gone.
#include "engine/EntRef.h"
#include "engine/EntTree.h"
#include "tests/engine/EntTestClasses.h"

#include <gtest/gtest.h>

#include <vector>

TEST(EntLive, EntitiesLeaveTheSetHoweverTheyGo) {
    RegisterTestClasses();
    TestEnt* root = MakeEnt("Rider", nullptr, "Root");
    TestEnt* a = MakeEnt("Rider", root, "A");
    TestEnt* kid = MakeEnt("Rider", a, "Kid");
    TestEnt* b = MakeEnt("Rider", root, "B");
    EXPECT_TRUE(EntIsLive(root) && EntIsLive(a) && EntIsLive(kid) && EntIsLive(b));
    EXPECT_FALSE(EntIsLive(nullptr));

    a->Destroy();
    EXPECT_FALSE(EntIsLive(a));
    EXPECT_FALSE(EntIsLive(kid)) << "the sweep destroys what lived below";

    {
        EntWalkGuard guard; // a walk holds the node: the entity must be dead at once anyway
        EntNode* node = b->node;
        EntDeferDelete(node);
        EXPECT_FALSE(EntIsLive(b)) << "a marked node's entity is no longer live";
        delete b; // the caller of EntDeferDelete frees the object
    }
    EXPECT_EQ(EntCreateChild("Refuser", root), nullptr);
    EXPECT_TRUE(EntIsLive(root));
    EntDestroyTree(root);
    EXPECT_FALSE(EntIsLive(root));
    EntSystemShutdown();
}

// The allocator hands a destroyed entity's address to the next entity made (at once with the
// sanitizer's quarantine off, as one of the registered runs has it). A kept link must still
// never reach the newcomer.
TEST(EntLive, ALinkKeptAcrossDestroyAndRecreateNeverReachesTheNewEntity) {
    RegisterTestClasses();
    TestEnt* root = MakeEnt("Rider", nullptr, "Root");
    int reused = 0, aliased = 0;
    uint64_t lastSerial = 0;
    for (int round = 0; round < 10000; ++round) {
        TestEnt* old = MakeEnt("Rider", root, "Old");
        EntRef kept = old;
        const uint64_t serial = old->serial;
        if (serial <= lastSerial) ADD_FAILURE() << "serial numbers must only grow";
        old->Destroy();
        TestEnt* fresh = MakeEnt("Rider", root, "New");
        lastSerial = fresh->serial;
        if (fresh == old) ++reused;
        if (kept.Get() || EntIsLiveSerial(old, serial)) ++aliased;
        if (kept.Address() != old) ++aliased;
        fresh->Destroy();
    }
    EXPECT_EQ(aliased, 0) << "a kept link reached an entity made after its own was destroyed";
    ::testing::Test::RecordProperty("addressesReused", reused);
    EntRef none;
    EXPECT_EQ(none.Get(), nullptr);
    EntRef rootRef = root;
    EXPECT_EQ(rootRef.Get(), root);
    EXPECT_EQ(EntSerialOf(root), root->serial);
    EntDestroyTree(root);
    EXPECT_EQ(rootRef.Get(), nullptr);
    EXPECT_EQ(EntSerialOf(root), 0u) << "a dead entity has no serial number";
    EntSystemShutdown();
}

// The address alone cannot tell an entity from the next one made where it was: the serial
// number can.
TEST(EntLive, ALinkNeverFollowsItsAddressToALaterEntity) {
    RegisterTestClasses();
    ASSERT_EQ(EntCreateClass(RebornProc, 0, 0), 0);
    ENTBASE* old = EntCreateChild("Reborn", nullptr);
    EntRef kept = old;
    const uint64_t serial = old->serial;
    old->Destroy();
    ENTBASE* next = EntCreateChild("Reborn", nullptr);
    ASSERT_EQ(next, old) << "the test class must reuse the address";
    EXPECT_TRUE(EntIsLive(old)) << "by address the old link looks alive";
    EXPECT_FALSE(EntIsLiveSerial(old, serial));
    EXPECT_EQ(kept.Get(), nullptr) << "a kept link reached the entity made after its own";
    EXPECT_EQ(EntRef(next).Get(), next);
    next->Destroy();
    EntSystemShutdown();
}

// The removal hook hears each entity once, as it leaves, however it goes; never one that was
// not live.
TEST(EntLive, TheRemovalHookHearsEachEntityOnceAsItLeaves) {
    RegisterTestClasses();
    static std::vector<const ENTBASE*> gone;
    gone.clear();
    TestEnt* root = MakeEnt("Rider", nullptr, "Root");
    TestEnt* a = MakeEnt("Rider", root, "A");
    TestEnt* b = MakeEnt("Rider", root, "B");
    int context = 0;
    EntSetRemovalHook(
        [](const ENTBASE* entity, void* ctx) {
            EXPECT_NE(ctx, nullptr);
            gone.push_back(entity);
        },
        &context);
    {
        EntWalkGuard guard;
        EntDeferDelete(b->node);
        delete b; // leaves the set a second time: not heard again
    }
    a->Destroy();
    EntSetRemovalHook(nullptr, &context);
    EntDestroyTree(root);
    EXPECT_EQ(gone, (std::vector<const ENTBASE*>{b, a}));
    EXPECT_NE(ENT_FLAG_CHANGED, ENT_FLAG_ACTIVE) << "the editor's mark is not the menus' flag";
    EXPECT_EQ(ENT_FLAG_CHANGED & (ENT_FLAGS_INITIAL | ENT_FLAG_DRAWPOST | ENT_FLAG_PASSABLE), 0u);
    EntSystemShutdown();
}
