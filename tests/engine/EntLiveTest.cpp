// The live-entity set: kept pointers can be checked after their entity is gone.
#include "engine/EntTree.h"
#include "tests/engine/EntTestClasses.h"

#include <gtest/gtest.h>

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
