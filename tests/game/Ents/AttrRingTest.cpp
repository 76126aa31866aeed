// The ring queue: wrapping, refusals, positions and removal from the middle.
#include "game/Ents/AttrRing.h"

#include <gtest/gtest.h>

namespace {
ENTBASE* Fake(intptr_t i) {
    return reinterpret_cast<ENTBASE*>(i * 16);
}
AttrRingEntry E(intptr_t i) {
    AttrRingEntry e;
    e.entity = Fake(i);
    e.patron = reinterpret_cast<AttrPatron*>(i * 16);
    return e;
}
} // namespace

TEST(AttrRing, WrapsAroundKeepingOrderAndRefusesWhenFull) {
    AttrRing ring;
    ASSERT_TRUE(ring.Init(3));
    EXPECT_TRUE(ring.Push(E(1)));
    EXPECT_TRUE(ring.Push(E(2)));
    EXPECT_TRUE(ring.Push(E(3)));
    EXPECT_FALSE(ring.Push(E(4))) << "a full line took a fourth patron";
    EXPECT_EQ(ring.Pop().entity, Fake(1));
    EXPECT_TRUE(ring.Push(E(4))); // written at the wrapped slot
    EXPECT_EQ(ring.Find(Fake(4)), 2);
    EXPECT_EQ(ring.Find(Fake(2)), 0);
    EXPECT_EQ(ring.Find(Fake(9)), -1);
    EXPECT_EQ(ring.Pop().entity, Fake(2));
    EXPECT_EQ(ring.Pop().entity, Fake(3));
    EXPECT_EQ(ring.Pop().entity, Fake(4));
    EXPECT_EQ(ring.Pop().patron, nullptr) << "an empty ring must give a null patron";
    EXPECT_EQ(ring.Count(), 0);
}

TEST(AttrRing, RemovingFromTheMiddleOfAWrappedRingKeepsTheOthersInOrder) {
    AttrRing ring;
    ASSERT_TRUE(ring.Init(4));
    for (int i = 1; i <= 4; ++i)
        ring.Push(E(i));
    ring.Pop();
    ring.Pop();
    ring.Push(E(5));
    ring.Push(E(6)); // ring now 3 4 5 6, head at slot 2
    EXPECT_EQ(ring.RemoveAt(1).entity, Fake(4));
    ASSERT_EQ(ring.Count(), 3);
    EXPECT_EQ(ring.At(0).entity, Fake(3));
    EXPECT_EQ(ring.At(1).entity, Fake(5));
    EXPECT_EQ(ring.At(2).entity, Fake(6));
    EXPECT_TRUE(ring.Push(E(7)));
    EXPECT_EQ(ring.At(3).entity, Fake(7));
}

TEST(AttrRing, CapacityZeroRefusesEverything) {
    AttrRing ring;
    ASSERT_TRUE(ring.Init(0));
    EXPECT_FALSE(ring.Push(E(1)));
    EXPECT_EQ(ring.Pop().patron, nullptr);
    EXPECT_EQ(ring.Find(Fake(1)), -1);
    ASSERT_TRUE(ring.Init(-5)) << "a negative capacity counts as 0";
    EXPECT_FALSE(ring.Push(E(1)));
}
