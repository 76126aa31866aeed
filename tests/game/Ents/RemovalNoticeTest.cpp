// Every holder of a reference still hears its removal now that the notice walk passes over
// those who cannot hold one: mid-day in the crowd day, a patron in a line, the litter a carny
// goes after and an attraction patrons walk to are destroyed, and everyone who held them lets go.
#include "engine/EntTree.h"
#include "game/Ents/Litter.h"
#include "game/Ents/Rube1.h"
#include "game/Ents/RubeGen.h"
#include "tests/game/Ents/WholeDay.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

std::vector<Rube1*> Patrons() {
    std::vector<Rube1*> all;
    for (int i = 0; i < RubeLiveCount(); ++i)
        all.push_back(RubeLiveAt(i));
    return all;
}

bool AnyLineHolds(const WholeDay& d, const ENTBASE* e) {
    for (const AttrBase* a : d.attrs)
        if (a->line.Find(e) >= 0 || a->board.Find(e) >= 0) return true;
    return false;
}

} // namespace

TEST(RemovalNotice, EveryHolderLetsGoOfAPatronALitterPieceAndAnAttraction) {
    WholeDay d(1);
    SetUpCrowdDay(&d, 300);
    Rube1* queued = nullptr;
    for (int frame = 0; frame < 4000 && !queued; ++frame) {
        d.Frame();
        for (Rube1* p : Patrons())
            if (p->state == RUBE_IN_LINE && AnyLineHolds(d, p)) queued = p;
    }
    ASSERT_NE(queued, nullptr) << "nobody stood in a line";
    EntDestroyTree(queued);
    EXPECT_FALSE(AnyLineHolds(d, queued)) << "a line kept the destroyed patron";

    // A piece of litter a carny is sent to.
    auto* carny = static_cast<Carny*>(EntTreeFindType(d.cw.w.h->root, "Carny"));
    ASSERT_NE(carny, nullptr);
    Litter* piece = LitterDrop(carny, carny->pos.x, carny->pos.z);
    ASSERT_NE(piece, nullptr);
    carny->litterTarget = EntRef(piece);
    EntDestroyTree(piece);
    EXPECT_EQ(carny->litterTarget.Address(), nullptr) << "the carny kept the swept litter";

    // An attraction someone walks to.
    AttrBase* targeted = nullptr;
    for (int frame = 0; frame < 4000 && !targeted; ++frame) {
        d.Frame();
        for (Rube1* p : Patrons())
            if (p->state == RUBE_WALK_TO && p->target.Get())
                targeted = static_cast<AttrBase*>(p->target.Get());
    }
    ASSERT_NE(targeted, nullptr) << "nobody walked to an attraction";
    std::vector<Rube1*> holders;
    for (Rube1* p : Patrons())
        if (p->target.Address() == targeted) holders.push_back(p);
    EntDestroyTree(targeted);
    for (Rube1* p : holders)
        EXPECT_EQ(p->target.Address(), nullptr) << p->GetName() << " kept the destroyed attraction";
}
