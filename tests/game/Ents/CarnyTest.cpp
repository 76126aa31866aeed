// The carny on the patrons' carnival: its choice every 4 s (unstick, repair, litter, sleep or
// patrol), its walk, repair and sweep, the removal notices that cut them short, its wage and
// severance, its status lines and the clips it plays.
#include "engine/DebugLog.h"
#include "engine/EntTree.h"
#include "game/AttrInfo.h"
#include "game/Ents/AttrBase.h"
#include "game/Ents/Litter.h"
#include "game/GameGridCore.h"
#include "game/WaypointPath.h"
#include "tests/game/Ents/CarnyWorld.h"
#include "tests/game/Ents/GridPlacing.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {
constexpr float kDt = 0.25f;

// Updates the carny alone until its task is `task`; false when maxFrames were not enough.
bool UntilTask(Carny* c, int task, int maxFrames = 4000) {
    for (int i = 0; i < maxFrames; ++i) {
        if (c->task == task) return true;
        c->Update(kDt);
    }
    return c->task == task;
}

// The first shipped type whose need value `need` is above 0.25 (a bin for trash, a seat for
// rest), or the first ride that serves neither when `need` is -1.
int TypeFor(MtGame* game, int need) {
    for (int t = 0; t < game->attrList->Count(); ++t) {
        const AttrInfo* info = game->attrList->Get(t);
        const bool bin = info->needs[NEED_TRASH] > 0.25f, seat = info->needs[NEED_REST] > 0.25f;
        if (need >= 0 && info->needs[need] > 0.25f) return t;
        if (need < 0 && !bin && !seat && info->needs[NEED_RIDE] > 0.04f) return t;
    }
    return -1;
}

// An attraction of that type at cell (cx, cz), closed and asking for repair at `wear`.
AttrBase* Asking(CarnyWorld& cw, int type, int cx, int cz, float wear) {
    AttrBase* a = AttrPlace(cw.w.game, cw.w.grid, cw.w.h->first, cw.w.game->attrList->Get(type),
                            type, cx, cz, 0);
    if (!a) return nullptr;
    AttrBaseSetClosed(a, true);
    a->repairMe = 1;
    a->repair = wear;
    return a;
}

std::u16string Status(const Carny* c) {
    char16_t line[128];
    return CarnyStatusText(c, line, 128);
}
} // namespace

// ---- the choice ----

TEST(Carny, WithNothingToDoSevenEightOrNineSleepsEightSecondsAndTheRestPatrol) {
    CarnyWorld cw(3);
    for (int r = 0; r < 10; ++r) {
        Carny* c = cw.AddCarny(cw.Cell(60, 60).x, cw.Cell(60, 60).z);
        ASSERT_EQ(c->task, CARNY_IDLE);
        EXPECT_EQ(c->anim, CARNY_ANIM_IDLE);
        CrtSrand(SeedForDraw(10, r));
        c->Update(kDt); // the timer starts at 0: the first frame decides
        if (r >= 7) {
            EXPECT_EQ(c->task, CARNY_SLEEP) << "r = " << r;
            EXPECT_FLOAT_EQ(c->taskTimer, 8.0f);
            EXPECT_TRUE(c->anim == CARNY_ANIM_NAP || c->anim == CARNY_ANIM_SLEEPY);
            EXPECT_EQ(c->icon.cell, 29);
            EXPECT_EQ(Status(c), u"Sleeping on the job.");
            for (int i = 0; i < 32; ++i)
                c->Update(kDt);
            EXPECT_EQ(c->task, CARNY_SLEEP) << "8.0 s of sleep are not over after 8.0 s";
            c->Update(kDt);
            EXPECT_EQ(c->task, CARNY_IDLE) << "the sleep outlasted 8.0 s";
        } else {
            EXPECT_EQ(c->task, CARNY_WALK) << "r = " << r << ": an open grid has free cells";
            EXPECT_EQ(c->nextTask, CARNY_IDLE);
            EXPECT_FLOAT_EQ(c->speed, 2.0f);
            EXPECT_EQ(c->anim, CARNY_ANIM_WALK);
            EXPECT_EQ(c->icon.cell, 30);
            EXPECT_EQ(Status(c), u"Patrolling.");
            ASSERT_GT(c->route->count, 0);
            const VECTOR3 end = c->route->points[c->route->count - 1];
            int ex, ez;
            ASSERT_TRUE(GameGridWorldToCell(cw.w.grid, end.x, end.z, &ex, &ez));
            EXPECT_FALSE(GameGridCellBlocked(cw.w.grid, ex, ez));
            EXPECT_TRUE(UntilTask(c, CARNY_IDLE)) << "the patrol never ended";
        }
        EntDestroyTree(c);
    }
}

TEST(Carny, OnABlockedCellItUnsticksFirstAndOffTheGridItNeverDoes) {
    CarnyWorld cw(4);
    Carny* c = cw.AddCarny(cw.Cell(40, 40).x, cw.Cell(40, 40).z);
    // Free again 4 cells along +z, 5 along -z, 3 along +x and 3 along -x.
    GameGridMarkRect(cw.w.grid, 38, 42, 36, 43, -1.0f);
    const VECTOR3 before = c->pos;
    c->Update(kDt);
    EXPECT_EQ(c->task, CARNY_IDLE);
    EXPECT_FLOAT_EQ(c->pos.x, before.x + 3.0f * 2.0f) << "3 along +x, the first of the ties";
    EXPECT_FLOAT_EQ(c->pos.z, before.z);
    EXPECT_FLOAT_EQ(c->taskTimer, 4.0f - kDt) << "it decides again 4 s later";

    // Hired at a spawn point off the grid: the checked test finds nothing blocked there, so the
    // choice goes on (sleep or an unroutable patrol) and the carny stays where it is.
    EntDestroyTree(c);
    MtGameStartDay(cw.w.game);
    cw.w.AddSpawnPoint(-50.0f, -50.0f);
    MtGameHireCarny(cw.w.game);
    auto* off = static_cast<Carny*>(EntTreeFindName(cw.w.h->root, "Carny 0"));
    ASSERT_NE(off, nullptr) << "the game object hires under the generator";
    EXPECT_FLOAT_EQ(off->pos.x, -50.0f);
    for (int i = 0; i < 200; ++i)
        off->Update(kDt);
    EXPECT_FLOAT_EQ(off->pos.x, -50.0f) << "no unstick and no walk off the grid";
    EXPECT_FLOAT_EQ(off->pos.z, -50.0f);
    EXPECT_NE(off->task, CARNY_WALK);
}

TEST(Carny, HiredAtAGeneratorWithoutSpawnPointsStartsWhereItStandsAndWalks) {
    CarnyWorld cw(6);
    MtGameStartDay(cw.w.game);
    MtGameHireCarny(cw.w.game);
    auto* c = static_cast<Carny*>(EntTreeFindName(cw.w.h->root, "Carny 0"));
    ASSERT_NE(c, nullptr);
    EXPECT_FLOAT_EQ(c->pos.x, cw.w.gen->pos.x) << "hired at the origin, off the grid";
    EXPECT_FLOAT_EQ(c->pos.z, cw.w.gen->pos.z);
    EXPECT_FLOAT_EQ(c->home.x, cw.w.gen->pos.x) << "its home is where it was hired";
    bool walked = false;
    for (int i = 0; i < 400 && !walked; ++i) {
        c->Update(kDt);
        walked = c->task == CARNY_WALK;
    }
    EXPECT_TRUE(walked) << "a carny on the grid patrols sooner or later";
}

// ---- repair ----

TEST(Carny, RepairsABinAtTheRepairRateReopensItAndIdles) {
    CarnyWorld cw(5);
    const int binType = TypeFor(cw.w.game, NEED_TRASH);
    ASSERT_GE(binType, 0) << "the shipped data has a bin";
    AttrBase* bin = Asking(cw, binType, 50, 50, 0.5f);
    ASSERT_NE(bin, nullptr);
    Carny* c = cw.AddCarny(cw.Cell(30, 30).x, cw.Cell(30, 30).z);
    c->Update(kDt);
    ASSERT_EQ(c->task, CARNY_WALK);
    EXPECT_EQ(c->target.Get(), bin);
    EXPECT_EQ(c->nextTask, CARNY_REPAIR);
    EXPECT_EQ(Status(c), u"Walking to " + std::u16string(bin->info->name) + u".");
    ASSERT_TRUE(UntilTask(c, CARNY_REPAIR)) << "the walk to the bin never ended";
    VECTOR3 entry;
    AttrBaseEntryPoint(bin, &entry);
    EXPECT_NEAR(c->pos.x, entry.x, 1.5f);
    EXPECT_NEAR(c->pos.z, entry.z, 1.5f);
    EXPECT_TRUE(c->anim == CARNY_ANIM_POUND || c->anim == CARNY_ANIM_WRENCH);
    EXPECT_EQ(c->icon.cell, 28);
    EXPECT_EQ(Status(c), u"Repairing the " + std::u16string(bin->info->name) + u".");
    const float rate = cw.w.game->gameVals.carnyRepairRate;
    const float wear = bin->repair;
    c->Update(kDt);
    EXPECT_FLOAT_EQ(bin->repair, wear - kDt * rate) << "repair runs at carnyRepairRate a second";
    ASSERT_TRUE(UntilTask(c, CARNY_IDLE, 100000));
    EXPECT_EQ(bin->repair, 0.0f);
    EXPECT_EQ(bin->closed, 0) << "an emptied bin opens again";
    EXPECT_EQ(bin->repairMe, 0);
    EXPECT_EQ(c->target.Get(), nullptr);
}

TEST(Carny, ARideIsNotReopenedAndATargetBrokenForGoodIsLeft) {
    CarnyWorld cw(6);
    const int rideType = TypeFor(cw.w.game, -1);
    ASSERT_GE(rideType, 0);
    AttrBase* ride = Asking(cw, rideType, 50, 50, 0.02f);
    ASSERT_NE(ride, nullptr);
    Carny* c = cw.AddCarny(cw.Cell(30, 30).x, cw.Cell(30, 30).z);
    c->Update(kDt);
    ASSERT_TRUE(UntilTask(c, CARNY_REPAIR));
    ASSERT_TRUE(UntilTask(c, CARNY_IDLE));
    EXPECT_EQ(ride->repairMe, 0);
    EXPECT_EQ(ride->closed, 1) << "only bins and seats are opened by a carny";

    // Worn out while the carny works on it: the step answers false, nothing is reopened.
    const int binType = TypeFor(cw.w.game, NEED_TRASH);
    AttrBase* bin = Asking(cw, binType, 70, 50, 0.5f);
    ASSERT_NE(bin, nullptr);
    ride->repairMe = 0;
    c->taskTimer = 0.0f;
    c->Update(kDt);
    ASSERT_TRUE(UntilTask(c, CARNY_REPAIR));
    bin->repair = 1.0f;
    bin->broken = true;
    c->Update(kDt);
    EXPECT_EQ(c->task, CARNY_IDLE);
    EXPECT_EQ(bin->repairMe, 0);
    EXPECT_EQ(bin->closed, 1) << "a bin broken for good stays closed";
}

TEST(Carny, ATargetReopenedOrRemovedOnTheWaySendsItBackToIdle) {
    CarnyWorld cw(7);
    const int binType = TypeFor(cw.w.game, NEED_TRASH);
    AttrBase* bin = Asking(cw, binType, 60, 60, 0.5f);
    ASSERT_NE(bin, nullptr);
    Carny* c = cw.AddCarny(cw.Cell(20, 20).x, cw.Cell(20, 20).z);
    c->Update(kDt);
    ASSERT_EQ(c->task, CARNY_WALK);
    AttrBaseSetClosed(bin, false); // someone else opened it
    ASSERT_TRUE(UntilTask(c, CARNY_REPAIR));
    c->Update(kDt);
    EXPECT_EQ(c->task, CARNY_IDLE) << "an open target needs no repair";
    EXPECT_FLOAT_EQ(bin->repair, 0.5f);

    AttrBaseSetClosed(bin, true);
    c->taskTimer = 0.0f;
    c->Update(kDt);
    ASSERT_EQ(c->task, CARNY_WALK);
    GridRemove(cw.w.grid, bin);
    EXPECT_EQ(c->task, CARNY_IDLE) << "the removal notice stops the walk";
    EXPECT_EQ(c->target.Get(), nullptr);
    EXPECT_EQ(Status(c), u" ");
}

// ---- litter ----

TEST(Carny, SweepsTheNearestLitterAfterTwoSeconds) {
    CarnyWorld cw(8);
    Carny* c = cw.AddCarny(cw.Cell(20, 20).x, cw.Cell(20, 20).z);
    Litter* far = LitterDrop(cw.w.gen, cw.Cell(80, 80).x, cw.Cell(80, 80).z);
    far->SetName("Far");
    Litter* near = LitterDrop(cw.w.gen, cw.Cell(30, 25).x, cw.Cell(30, 25).z);
    near->SetName("Near");
    c->Update(kDt);
    ASSERT_EQ(c->task, CARNY_WALK);
    EXPECT_EQ(c->litterTarget.Get(), near);
    EXPECT_EQ(c->nextTask, CARNY_SWEEP);
    ASSERT_TRUE(UntilTask(c, CARNY_SWEEP));
    EXPECT_EQ(c->anim, CARNY_ANIM_SWEEP);
    EXPECT_EQ(Status(c), u"Picking up trash.");
    for (int i = 0; i < 8; ++i)
        c->Update(kDt);
    EXPECT_TRUE(EntIsLive(near)) << "swept before 2 s were up";
    c->Update(kDt);
    EXPECT_FALSE(EntIsLive(near));
    EXPECT_EQ(c->task, CARNY_IDLE);
    EXPECT_NE(cw.w.h->Log().find("Carny 0 is about to destroy Litter: Near:\n"), std::string::npos);
    EXPECT_TRUE(EntIsLive(far));
}

TEST(Carny, LitterRemovedOnTheWayIsForgottenAndTheWalkEndsInIdle) {
    CarnyWorld cw(9);
    Carny* a = cw.AddCarny(cw.Cell(20, 20).x, cw.Cell(20, 20).z);
    Carny* b = cw.AddCarny(cw.Cell(21, 20).x, cw.Cell(21, 20).z);
    Litter* piece = LitterDrop(cw.w.gen, cw.Cell(30, 20).x, cw.Cell(30, 20).z);
    piece->SetName("Cup");
    a->Update(kDt);
    b->Update(kDt);
    ASSERT_EQ(a->litterTarget.Get(), piece);
    ASSERT_EQ(b->litterTarget.Get(), piece) << "both go for the one piece";
    ASSERT_TRUE(UntilTask(b, CARNY_SWEEP));
    for (int i = 0; i < 9; ++i)
        b->Update(kDt);
    ASSERT_FALSE(EntIsLive(piece));
    const std::string log = cw.w.h->Log();
    EXPECT_NE(log.find("Carny 0 received EntDestroyed from Cup:and I was going after that "
                       "litter!\n"),
              std::string::npos)
        << log;
    EXPECT_EQ(a->litterTarget.Get(), nullptr);
    EXPECT_EQ(a->task, CARNY_WALK) << "the walk goes on";
    ASSERT_TRUE(UntilTask(a, CARNY_IDLE));

    // Two at one piece: the second's target is cleared by the notice, it sweeps nothing.
    Litter* cup = LitterDrop(cw.w.gen, cw.Cell(40, 40).x, cw.Cell(40, 40).z);
    a->litterTarget = EntRef(cup);
    b->litterTarget = EntRef(cup);
    a->EnterSweep();
    b->EnterSweep();
    for (int i = 0; i < 9; ++i) {
        a->Update(kDt);
        b->Update(kDt);
    }
    EXPECT_FALSE(EntIsLive(cup));
    EXPECT_EQ(a->task, CARNY_IDLE);
    EXPECT_EQ(b->task, CARNY_IDLE);
}

TEST(Carny, OnlyTheFirstHundredPiecesInTreeOrderAreConsidered) {
    CarnyWorld cw(10);
    Carny* c = cw.AddCarny(cw.Cell(10, 10).x, cw.Cell(10, 10).z);
    std::vector<Litter*> pieces;
    for (int i = 0; i < 100; ++i)
        pieces.push_back(LitterDrop(cw.w.gen, cw.Cell(100 + i % 20, 100).x, cw.Cell(0, 100).z));
    for (int i = 0; i < 50; ++i)
        LitterDrop(cw.w.gen, cw.Cell(12, 10).x, cw.Cell(12, 10).z); // nearer, but later
    c->Update(kDt);
    ASSERT_EQ(c->task, CARNY_WALK);
    EXPECT_EQ(c->litterTarget.Get(), pieces[0]) << "the nearest of the first 100, ties first";
}

// ---- money ----

TEST(Carny, EachHourCostsTheWageAndFiringPaysTheSeveranceOnce) {
    CarnyWorld cw(11);
    Carny* a = cw.AddCarny(cw.Cell(10, 10).x, cw.Cell(10, 10).z);
    cw.AddCarny(cw.Cell(12, 10).x, cw.Cell(12, 10).z);
    cw.w.game->cash = 10000;
    cw.w.h->root->GameEventPre(GE_HOURLY, 0);
    EXPECT_EQ(cw.w.game->cash, 10000 - 2 * 800);
    cw.w.game->cash = 5000;
    a->fireRequest = 1;
    a->fireRequest = 1; // asked twice before it runs
    cw.w.h->Frame();
    EXPECT_EQ(cw.w.game->cash, 0) << "the severance never drives cash below 0";
    EXPECT_EQ(cw.CountOf("Carny"), 1) << "gone after its next update";
    cw.w.h->root->GameEventPre(GE_HOURLY, 0);
    EXPECT_EQ(cw.w.game->cash, 0);

    Carny* b = static_cast<Carny*>(EntTreeFindType(cw.w.h->root, "Carny"));
    cw.w.game->cash = 20000;
    b->paidOff = 1; // paid already: just goes
    b->fireRequest = 1;
    cw.w.h->Frame();
    EXPECT_EQ(cw.w.game->cash, 20000);
    EXPECT_EQ(cw.CountOf("Carny"), 0);

    Carny* broke = cw.AddCarny(cw.Cell(14, 10).x, cw.Cell(14, 10).z);
    cw.w.game->cash = 0;
    broke->fireRequest = 1;
    cw.w.h->Frame();
    EXPECT_EQ(cw.w.game->cash, 0) << "fired with no cash: nothing to take";
    EXPECT_EQ(cw.CountOf("Carny"), 0);
    EXPECT_NE(cw.w.h->Log().find("Destroying: Carny 0 (Carny)\n"), std::string::npos);
}

// ---- status lines and class ----

TEST(Carny, StatusLinesForEveryTaskAndATargetWithoutItsRecord) {
    CarnyWorld cw(12);
    Carny* c = cw.AddCarny(cw.Cell(10, 10).x, cw.Cell(10, 10).z);
    const std::pair<int, std::u16string> lines[] = {{CARNY_IDLE, u" "},
                                                    {CARNY_WALK, u"Patrolling."},
                                                    {CARNY_REPAIR, u"Repairing the ."},
                                                    {CARNY_SWEEP, u"Picking up trash."},
                                                    {CARNY_WANDER, u"Wandering around."},
                                                    {CARNY_SLEEP, u"Sleeping on the job."},
                                                    {0, u"Unknown State"},
                                                    {7, u"Unknown State"}};
    for (const auto& [task, line] : lines) {
        c->task = task;
        EXPECT_EQ(Status(c), line) << task;
    }
    // An attraction whose type is outside the list has no record: not named, and not read.
    auto* inert = static_cast<AttrBase*>(EntCreateChild("AttrBase", cw.w.h->first));
    inert->SetType(100000);
    inert->Start();
    ASSERT_EQ(inert->info, nullptr);
    c->target = EntRef(inert);
    c->task = CARNY_WALK;
    EXPECT_EQ(Status(c), u"Patrolling.");
    c->task = CARNY_REPAIR;
    EXPECT_EQ(Status(c), u"Repairing the .");
    char16_t small[6];
    c->task = CARNY_SLEEP;
    EXPECT_EQ(std::u16string(CarnyStatusText(c, small, 6)), u"Sleep") << "cut to fit";
    EXPECT_EQ(Status(nullptr), u" ");

    c->statusDisplay = 1;
    c->task = CARNY_SLEEP;
    c->taskTimer = 100.0f;
    c->Update(kDt);
    EXPECT_EQ(std::u16string(c->statusLine), u"Sleeping on the job.");
    EXPECT_NE(c->flags & ENT_FLAG_PASSABLE, 0u) << "carnies never block grid cells";
    EXPECT_EQ(c->character, nullptr) << "headless no character is made";
    EXPECT_STREQ(CarnyAnimName(CARNY_ANIM_SWEEP), "AdultSweeping");
    EXPECT_STREQ(CarnyAnimName(99), "AdultIdle1");
}

// With no terrain in the tree a patron and a carny stand where they were put, not at height 0.
TEST(Carny, WithoutATerrainWalkersKeepTheirOwnHeight) {
    CarnyWorld cw;
    auto* p = static_cast<Rube1*>(EntCreateChild("Rube1", cw.w.gen));
    p->pos = VECTOR3{600.0f, 2.5f, 600.0f};
    p->generator = EntRef(cw.w.gen);
    ++cw.w.gen->present;
    p->Start();
    EXPECT_EQ(p->pos.y, 2.5f);
    EXPECT_EQ(p->exitPoint.y, 2.5f) << "the way home ends where the patron came in";
    Carny* c = cw.AddCarny(600.0f, 600.0f);
    c->pos.y = 2.5f;
    c->VarsChanged();
    EXPECT_EQ(c->pos.y, 2.5f);
    EXPECT_EQ(c->home.y, 2.5f);
}
