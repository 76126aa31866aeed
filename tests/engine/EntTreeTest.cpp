// The class registry, the walks with their gates, deletion during walks, and lookups.
#include "engine/EntTree.h"
#include "engine/DebugLog.h"
#include "engine/EntBase.h"
#include "engine/Memory.h"
#include "tests/engine/EntTestClasses.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

class EntTree : public ::testing::Test {
  protected:
    void SetUp() override {
        blocks = MemLiveBlocks();
        RegisterTestClasses();
        root = MakeEnt("Rider", nullptr, "Root");
    }
    void TearDown() override {
        EntDestroyTree(root);
        EntSystemShutdown();
        DbgSetLevelMask(0);
        DbgSetOutputMask(0);
        EXPECT_EQ(g_entPendingDeletes, 0) << "marked nodes were left after the sweep";
        EXPECT_EQ(MemLiveBlocks(), blocks) << "nodes or class records leaked";
    }
    // Children of parent named by the letters of names ("abc" -> a, b, c).
    void Kids(ENTBASE* parent, const char* names) {
        for (const char* n = names; *n; ++n) {
            char name[2] = {*n, 0};
            MakeEnt("Rider", parent, name);
        }
    }
    TestEnt* Get(const char* name) { return static_cast<TestEnt*>(EntTreeFindName(root, name)); }

    int64_t blocks = 0;
    TestEnt* root = nullptr;
};

// Names "Foo" and "FOO" for the registry tests.
intptr_t FooProc(EntNode*, int message, intptr_t, intptr_t b, intptr_t) {
    if (message == ENT_CLASS_MSG_CLASS_NAME) std::snprintf(reinterpret_cast<char*>(b), 64, "FOO");
    return 0;
}
intptr_t FooLowerProc(EntNode*, int message, intptr_t, intptr_t b, intptr_t) {
    if (message == ENT_CLASS_MSG_CLASS_NAME) std::snprintf(reinterpret_cast<char*>(b), 64, "Foo");
    return 0;
}
intptr_t EmptyProc(EntNode*, int, intptr_t, intptr_t, intptr_t) {
    return 0;
}
intptr_t LongProc(EntNode*, int message, intptr_t, intptr_t b, intptr_t) {
    if (message == ENT_CLASS_MSG_CLASS_NAME)
        std::snprintf(reinterpret_cast<char*>(b), 256, "%s", std::string(70, 'L').c_str());
    return 0;
}
std::string s_resets;
intptr_t ResetAProc(EntNode*, int message, intptr_t, intptr_t b, intptr_t) {
    if (message == ENT_CLASS_MSG_CLASS_NAME)
        std::snprintf(reinterpret_cast<char*>(b), 64, "ResetA");
    if (message == ENT_CLASS_MSG_RESET) s_resets += "A";
    return 0;
}
intptr_t ResetBProc(EntNode*, int message, intptr_t, intptr_t b, intptr_t) {
    if (message == ENT_CLASS_MSG_CLASS_NAME)
        std::snprintf(reinterpret_cast<char*>(b), 64, "ResetB");
    if (message == ENT_CLASS_MSG_RESET) s_resets += "B";
    return 0;
}

} // namespace

TEST_F(EntTree, RegistryFindsNamesWithoutCaseAndTheNewestFirst) {
    EntDestroyTree(root);
    EntSystemShutdown();
    EntSystemInit();
    TempDir dir;
    DbgSetLogFile((dir / "log.txt").c_str());
    DbgSetOutputMask(DBG_OUT_FILE);
    DbgSetLevelMask(DBG_ENTITY);
    EXPECT_EQ(EntCreateClass(FooProc, 0, 0), 0);
    EXPECT_EQ(EntCreateClass(FooLowerProc, 0, 0), -1) << "class names compare without case";
    EXPECT_EQ(EntClassFind("foo")->proc, FooProc);
    EXPECT_EQ(EntCreateClass(EmptyProc, 0, 0), -1);
    EXPECT_EQ(EntCreateClass(LongProc, 0, 0), -1) << "a 70-character class string is refused";
    EXPECT_EQ(ReadTextFile(dir / "log.txt"), "EntCreateClass(FOO)... ok.\n");

    s_resets.clear();
    EntCreateClass(ResetAProc, 0, 0);
    EntCreateClass(ResetBProc, 0, 0);
    EntResetClasses();
    EXPECT_EQ(s_resets.substr(0, 2), "BA") << "the class registered last is reset first";

    EntCreateClass(RiderProc, (intptr_t) "Data\\Rides\\Ferris.ini", 0);
    EXPECT_EQ(RiderDataDir().path, "Data\\Rides\\") << "message 0 got the registration's b";
    EntSystemShutdown();
    RegisterTestClasses();
    root = MakeEnt("Rider", nullptr, "Root");
}

TEST_F(EntTree, UpdateAndDrawWalksFollowTheirGates) {
    Kids(root, "ab");
    Kids(Get("a"), "xy");
    Kids(Get("b"), "z");
    Get("a")->updateAnswer = 0;
    g_journal.clear();
    EntTreeUpdate(root, 0.1f);
    EXPECT_EQ(Journal(), "Update:Root Update:a Update:b Update:z")
        << "an Update answering 0 freezes its subtree only";

    Get("a")->drawPreAnswer = 0;
    g_journal.clear();
    EntTreeDrawPre(root);
    EntTreeDraw(root);
    EXPECT_EQ(Journal(), "DrawPre:Root DrawPre:a DrawPre:b DrawPre:z "
                         "Draw:Root Draw:a Draw:x Draw:y Draw:b Draw:z");

    Get("x")->SetFlag(ENT_FLAG_DRAWPOST);
    Get("b")->SetFlag(ENT_FLAG_DRAWPOST);
    g_journal.clear();
    EntTreeDrawPost(root);
    EXPECT_EQ(Journal(), "Draw:x Draw:b") << "only 0x8 entities, below unflagged ones too";
}

// A class's look-ahead hears of the next sibling once the one before has updated, never of one
// marked meanwhile, and only for its own class.
TEST_F(EntTree, TheUpdateWalkAsksAheadOnlyForTheLiveNextSiblingOfAHookedClass) {
    MakeEnt("Booth", root, "a");
    MakeEnt("Booth", root, "b");
    MakeEnt("Booth", root, "c");
    MakeEnt("Rider", root, "r");
    MakeEnt("Booth", root, "d");
    ASSERT_EQ(EntClassSetUpdateAhead("Booth",
                                     [](const ENTBASE* e) {
                                         g_journal.push_back(std::string("Ahead:") +
                                                             const_cast<ENTBASE*>(e)->GetName());
                                     }),
              0);
    EXPECT_EQ(EntClassSetUpdateAhead("NoSuchClass", nullptr), -1);
    Get("b")->onUpdate = [&](TestEnt*) { EntDestroyTree(Get("c")); };
    g_journal.clear();
    EntTreeUpdate(root, 0.1f);
    EXPECT_EQ(Journal(), "Update:Root Update:a Ahead:b Update:b Destroy:c Update:r Ahead:d "
                         "Update:d")
        << "a look-ahead out of turn, on a marked entity or on another class";
}

TEST_F(EntTree, EventAndMessageWalksStopWhereAnswered) {
    Kids(root, "ab");
    Kids(Get("a"), "xy");
    Kids(Get("b"), "z");
    Get("a")->eventAnswer = 0;
    g_journal.clear();
    EXPECT_EQ(root->GameEventPre(27, 0), 0) << "the last child's answer: z, which has none";
    EXPECT_EQ(Journal(), "Event:Root Event:a Event:b Event:z");

    Get("a")->messageAnswer = 2;
    g_journal.clear();
    EXPECT_EQ(EntTreeSendMessage(root, nullptr), 1);
    EXPECT_EQ(Journal(), "Message:Root Message:a Message:b Message:z")
        << "an answer other than 1 keeps the message from the children";
    EXPECT_EQ(EntTreeSendMessage(Get("a"), nullptr), 2);

    Get("a")->messageAnswer = 0;
    g_journal.clear();
    EXPECT_EQ(EntTreeMessage(root, nullptr), 0);
    EXPECT_EQ(Journal(), "Message:Root Message:a") << "a child's 0 ends the whole walk";
}

TEST_F(EntTree, GatedSendSkipsMarkedNodes) {
    Kids(root, "ab");
    EntNode* bNode = Get("b")->node;
    {
        EntWalkGuard walking; // keeps the marked node in the tree while we look
        Get("b")->Destroy();
        EXPECT_EQ(bNode->deleteCount, 1);
        g_journal.clear();
        EXPECT_EQ(EntTreeSendGated(root->node, 7, 0, 0, 0), 1);
        EXPECT_EQ(Journal(), "Start:Root Start:a");
        EXPECT_EQ(EntTreeSendGated(bNode, 7, 0, 0, 0), 0);
        EXPECT_EQ(EntTreeFindName(root, "b"), nullptr);
        EXPECT_EQ(g_entPendingDeletes, 1);
    }
    EXPECT_EQ(g_entPendingDeletes, 0);
    EXPECT_EQ(root->node->firstChild->next, nullptr) << "the sweep unlinked the node";
}

// A refused creation leaves no node: every sibling stays reachable wherever it stood.
TEST_F(EntTree, RefusedCreationLeavesNothingBehind) {
    EXPECT_EQ(EntCreateChild("Refuser", root), nullptr);
    Kids(root, "a");
    EXPECT_EQ(EntCreateChild("Refuser", root), nullptr);
    Kids(root, "b");
    EXPECT_EQ(EntCreateChild("Refuser", root), nullptr);
    EXPECT_EQ(EntCreateChild("NoSuchClass", root), nullptr);
    g_journal.clear();
    EntTreeUpdate(root, 0.1f);
    EXPECT_EQ(Journal(), "Update:Root Update:a Update:b");
    EXPECT_EQ(EntTreeCount(root), 3);
    EXPECT_EQ(root->node->firstChild->object, Get("a"));
}

TEST_F(EntTree, EntitiesMayDestroyThemselvesTheirSiblingOrParentInAWalk) {
    Kids(root, "pq");
    Kids(Get("p"), "abc");
    Kids(Get("b"), "x");
    Get("a")->onUpdate = [](TestEnt* e) { e->Destroy(); };
    Get("b")->onUpdate = [&](TestEnt*) { EntDestroyTree(Get("c")); };
    g_journal.clear();
    EntTreeUpdate(root, 0.1f);
    EXPECT_EQ(Journal(), "Update:Root Update:p Update:a Destroy:a Update:b Destroy:c Update:x "
                         "Update:q");
    EXPECT_EQ(EntTreeCount(root), 5);

    Get("b")->onUpdate = [&](TestEnt*) { EntDestroyTree(Get("p")); };
    g_journal.clear();
    EntTreeUpdate(root, 0.1f);
    EXPECT_EQ(Journal(), "Update:Root Update:p Update:b Destroy:x Destroy:b Destroy:p Update:q")
        << "destroying the parent mid-walk: children first, and the walk goes on";
    EXPECT_EQ(EntTreeCount(root), 2);

    Kids(Get("q"), "mn");
    Get("m")->onMessage = [&](TestEnt*) { EntDestroyTree(Get("q")); };
    g_journal.clear();
    EXPECT_EQ(EntTreeSendMessage(root, nullptr), 1);
    EXPECT_EQ(Journal(), "Message:Root Message:q Message:m Destroy:m Destroy:n Destroy:q");
    EXPECT_EQ(EntTreeCount(root), 1);
}

TEST_F(EntTree, DestroyingAParentDestroysChildrenFirstInOrder) {
    Kids(root, "p");
    Kids(Get("p"), "abc");
    Kids(Get("a"), "x");
    g_journal.clear();
    EntDestroyChildren(root);
    EXPECT_EQ(Journal(), "Destroy:x Destroy:a Destroy:b Destroy:c Destroy:p");
    EXPECT_EQ(root->node->firstChild, nullptr);

    // A parent's own Destroy alone leaves its children to the sweep, which destroys them.
    Kids(root, "p");
    Kids(Get("p"), "ab");
    g_journal.clear();
    Get("p")->Destroy();
    EXPECT_EQ(Journal(), "Destroy:p Destroy:a Destroy:b");
    EXPECT_EQ(EntTreeCount(root), 1);
}

// A class whose Destroy makes something under itself (debris, say) needs more passes of the
// sweep than any fixed number; nothing it made may stay alive in a subtree whose nodes are freed.
TEST_F(EntTree, TheSweepGoesOnWhileDestroyKeepsMakingEntities) {
    Kids(root, "p");
    int budget = 150;
    std::vector<TestEnt*> made;
    TestEnt::onAnyDestroy = [&](TestEnt* e) {
        if (budget > 0) {
            --budget;
            made.push_back(MakeEnt("Rider", e, "debris"));
        }
    };
    LogCapture log(DBG_ENTITY);
    Get("p")->Destroy();
    TestEnt::onAnyDestroy = nullptr;
    EXPECT_EQ(budget, 0);
    int stillLive = 0;
    for (TestEnt* e : made)
        stillLive += EntIsLive(e) ? 1 : 0;
    EXPECT_EQ(stillLive, 0) << "entities were left alive below freed nodes";
    EXPECT_EQ(EntTreeCount(root), 1);
    EXPECT_NE(log.Text().find("after 100 passes"), std::string::npos) << log.Text();
}

TEST_F(EntTree, LinkingMovesAndRefusesCycles) {
    Kids(root, "abc");
    Kids(Get("a"), "x");
    EXPECT_EQ(EntLinkUnder(Get("b"), Get("x")), 0);
    EXPECT_EQ(EntGetParent(Get("b")), Get("x"));
    EXPECT_EQ(root->node->firstChild->next->object, Get("c")) << "the old list closed its gap";
    EXPECT_EQ(Get("c")->node->prev->object, Get("a"));
    EXPECT_EQ(EntLinkUnder(Get("a"), Get("b")), -1) << "an entity below itself";
    EXPECT_EQ(EntLinkUnder(Get("a"), Get("a")), -1);
    EXPECT_EQ(EntGetRoot(Get("b")), root);
    EXPECT_EQ(EntGetParent(root), nullptr);
    EXPECT_EQ(EntGetRoot(root), root);
    EXPECT_EQ(EntTreeCount(root), 5);
}

TEST_F(EntTree, LookupsSearchPreOrderAndSkipDestroyed) {
    Kids(root, "ab");
    Kids(Get("a"), "x");
    TestEnt* lamp1 = MakeEnt("Lamp", Get("a"), "lamp1");
    TestEnt* lamp2 = MakeEnt("Lamp", root, "lamp2");
    EXPECT_EQ(EntTreeFindName(root, "root"), nullptr) << "names compare with case";
    EXPECT_EQ(EntTreeFindName(nullptr, "Root"), nullptr);
    EXPECT_EQ(EntTreeFindName(root, nullptr), nullptr);
    EXPECT_EQ(EntTreeFindType(root, "Lamp"), lamp1);
    EXPECT_EQ(EntTreeFindType(root, "lamp"), nullptr);
    EXPECT_TRUE(EntIsType(lamp1, "lamp"));
    ENTBASE base;
    EXPECT_TRUE(EntIsType(&base, "entbase"));
    EXPECT_FALSE(EntIsType(nullptr, "Lamp"));
    ENTBASE* found[4];
    EXPECT_EQ(EntFindAllOfType(root, "Lamp", found, 1), 1);
    EXPECT_EQ(found[0], lamp1) << "max 1 gives the first in pre-order";
    EXPECT_EQ(EntFindAllOfType(root, "Lamp", found, 4), 2);
    EXPECT_EQ(EntTreeFindByClass(root->node, "lamp")->object, lamp1);
    {
        EntWalkGuard walking;
        lamp1->Destroy();
        EXPECT_EQ(EntTreeFindType(root, "Lamp"), lamp2);
        EXPECT_EQ(EntTreeFindByClass(root->node, "LAMP")->object, lamp2);
        EXPECT_EQ(EntTreeFindName(root, "lamp1"), nullptr);
        EXPECT_EQ(EntTreeCount(root), 5);
    }
}

TEST_F(EntTree, RemovalNoticesReachEveryoneWhoHearsTheKindInPreOrder) {
    // Lamps are of kind 0x2 and hear only kind 0x1; booths are of kind 0x4 and hear nothing;
    // riders are of the default kind and hear everything.
    ASSERT_EQ(EntClassSetRemoval("Lamp", 0x2, ENT_REMOVAL_KIND_DEFAULT), 0);
    ASSERT_EQ(EntClassSetRemoval("Booth", 0x4, 0), 0);
    EXPECT_EQ(EntClassSetRemoval("NoSuchClass", 0x2, 0), -1);
    TestEnt* a = MakeEnt("Rider", root, "a");
    TestEnt* l1 = MakeEnt("Lamp", a, "l1");
    MakeEnt("Rider", l1, "x");
    MakeEnt("Lamp", a, "l2");
    TestEnt* b = MakeEnt("Booth", root, "b");
    MakeEnt("Rider", b, "y");
    MakeEnt("Booth", b, "q");
    auto heard = [&](ENTBASE* gone) {
        g_journal.clear();
        EntTreeNotifyRemoved(root, gone);
        return Journal();
    };
    EXPECT_EQ(heard(Get("l2")), "Heard:Root Heard:a Heard:x Heard:y")
        << "below an entity deaf to the kind, its children still hear it";
    EXPECT_EQ(heard(Get("x")), "Heard:Root Heard:a Heard:l1 Heard:x Heard:l2 Heard:y");
    EXPECT_EQ(heard(Get("q")), "Heard:Root Heard:a Heard:x Heard:y");
    EXPECT_EQ(heard(nullptr), "Heard:Root Heard:a Heard:l1 Heard:x Heard:l2 Heard:y");

    // Moves and removals keep the counts of who hears what true.
    ASSERT_EQ(EntLinkUnder(Get("y"), l1), 0);
    EXPECT_EQ(heard(Get("l2")), "Heard:Root Heard:a Heard:x Heard:y");
    EntDestroyTree(Get("x"));
    EntDestroyTree(Get("y"));
    EXPECT_EQ(heard(Get("l2")), "Heard:Root Heard:a");
    ASSERT_EQ(EntLinkUnder(l1, b), 0);
    MakeEnt("Rider", b, "z");
    EXPECT_EQ(heard(Get("q")), "Heard:Root Heard:a Heard:z");
    EXPECT_EQ(heard(Get("z")), "Heard:Root Heard:a Heard:l2 Heard:l1 Heard:z");
}

TEST_F(EntTree, LinkingLastAfterTheLastChildWasRemovedOrMoved) {
    Kids(root, "abc");
    EntDestroyTree(Get("c"));
    Kids(root, "d");
    EntDestroyTree(Get("a"));
    Kids(root, "e");
    ASSERT_EQ(EntLinkUnder(Get("b"), root), 0);
    ASSERT_EQ(EntLinkUnder(Get("e"), Get("d")), 0);
    Kids(root, "f");
    g_journal.clear();
    EntTreeDraw(root);
    EXPECT_EQ(Journal(), "Draw:Root Draw:d Draw:e Draw:b Draw:f");
}
