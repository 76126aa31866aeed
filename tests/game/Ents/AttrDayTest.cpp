// A whole career day on the shipped data with one attraction of every type, a real power grid
// and fake patrons joining every ten seconds: every open attraction completes cycles, no line or
// board overflows, nobody is left boarding, and the money adds up to the cent.
#include "engine/EntIniLoader.h"
#include "game/Ents/AttrBase.h"
#include "game/MtGameLinks.h"
#include "game/RideAnimCore.h"
#include "tests/game/Ents/AttrTestSupport.h"
#include "tests/sim/DayHarness.h"

#include <algorithm>

TEST(AttrDay, EveryShippedTypeRunsAWholeCareerDay) {
    DayHarness::Options options;
    options.seed = 3;
    options.dt = 0.264f;
    DayHarness h(options);
    RegisterAttrTestClasses();
    EntCreateClass(EcMtPowerGridProc, 0, 0);
    if (EntCreateClass(EcAttrBaseProc, 0, 0) == 0) MtGameSetAttrLinks(AttrBaseLinks());
    MtGame* game = h.game;
    game->mode = MTGAME_CAREER;
    MtGameSetVenue(game, 0);
    ASSERT_NE(game->venue, nullptr);
    // The shipped supply (80) overloads with every type placed, and an overload closes rides.
    game->venue->powerSupply = 1000.0f;
    game->career.cash = 2000000;
    MtGameStartDay(game);

    auto* grid = static_cast<MtPowerGrid*>(EntCreateChild("MtPowerGrid", h.first));
    ASSERT_NE(grid, nullptr);
    grid->Start();

    std::vector<AttrBase*> attrs;
    int64_t idleSum = 0;
    for (int type = 0; type < game->attrList->Count(); ++type) {
        const AttrInfo* info = game->attrList->Get(type);
        idleSum += info->idleCost;
        auto* attr = static_cast<AttrBase*>(EntCreateChild("AttrBase", h.first));
        ASSERT_NE(attr, nullptr);
        attr->SetType(type);
        VECTOR3 pos = {(float)(type % 8) * 20.0f, 0.0f, (float)(type / 8) * 20.0f};
        attr->SetPos(&pos);
        attr->SetYaw(0.0f);
        attr->agl = 0;
        attr->ticketPrice = info->defTicketPrice;
        EntSetSourceFile(attr, ENT_SAVEGAME);
        char name[33];
        attr->SetName(EntMakeAutoName(name));
        attr->Start();
        attrs.push_back(attr);
    }
    ASSERT_FALSE(attrs.empty());

    h.OpenDay();
    h.Frame();
    const int32_t afterDailyCosts = game->cash;
    EXPECT_LT(afterDailyCosts, 2000000) << "the rent was not charged";

    std::vector<int> boardingSeated(attrs.size(), 0); // frames in state 1 with nobody to wait for
    const int joinEvery = (int)(10.0f / options.dt);
    int frame = 0;
    while (!game->dayOver && frame < 200000) {
        if (frame % joinEvery == 0) {
            for (AttrBase* attr : attrs) {
                if (attr->info->attrType >= 6) continue;
                auto* p = static_cast<FakePatron*>(EntCreateChild("FakePatron", h.first));
                AttrBaseJoinQueue(attr, p);
            }
        }
        h.Frame();
        ++frame;
        for (size_t i = 0; i < attrs.size(); ++i) {
            AttrBase* a = attrs[i];
            ASSERT_LE(a->line.Count(), std::max(a->info->queueMax, 0)) << a->name;
            ASSERT_LE(a->board.Count(), std::max(a->info->capacity, 1)) << a->name;
            if (a->attrState == ATTR_BOARDING && a->ridersToBoard == 0)
                ++boardingSeated[i];
            else
                boardingSeated[i] = 0;
            ASSERT_LE(boardingSeated[i], 1)
                << a->name << " stayed boarding after its last rider sat";
        }
    }
    ASSERT_TRUE(game->dayOver) << "the day never ended";
    int open = 0;
    for (AttrBase* a : attrs) {
        if (a->info->attrType >= 6 || a->broken || a->closed) continue;
        ++open;
        int served = 0;
        for (const PatronEvent& e : g_patronEvents)
            served += e.what == 'O' && e.attraction == a;
        EXPECT_GT(served, 0) << a->name << " (type " << a->type << ") never completed a cycle";
    }
    EXPECT_GT(open, 0);
    EXPECT_EQ((int64_t)afterDailyCosts, 2000000 - (int64_t)game->venue->rent)
        << "the day's costs are the rent alone";
    EXPECT_EQ((int64_t)game->cash, (int64_t)afterDailyCosts - 12 * idleSum)
        << "the hourly costs of every attraction, twelve times";
}
