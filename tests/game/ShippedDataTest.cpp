// The shipped "Data.ini" and "Venue.ini" load through the real loaders and hold what a new
// career needs.
#include "engine/IniFile.h"
#include "game/AttrInfo.h"
#include "game/Career.h"
#include "game/GameVals.h"
#include "game/VenueInfo.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>

TEST(ShippedData, CatalogueVenuesAndRanks) {
    const std::string data = std::string(FAIRLARK_SOURCE_DIR) + "/data/";
    std::unique_ptr<AttrInfoList> attrs(AttrInfoList::Load((data + "Data.ini").c_str()));
    Career career;
    career.Reset();
    ASSERT_GE(attrs->Count(), 58) << "every type a new career unlocks must exist";
    for (int i = 0; i < attrs->Count(); ++i) {
        const AttrInfo* a = attrs->Get(i);
        EXPECT_NE(a->name[0], 0) << "type " << i << " has no name";
        EXPECT_NE(a->modelFileName[0], 0) << "type " << i;
        EXPECT_GE(a->footX, 1) << "type " << i;
        EXPECT_GE(a->footZ, 1) << "type " << i;
        EXPECT_GE(a->capacity, 1) << "type " << i;
        if (career.attrUnlock[i] == '+') {
            EXPECT_EQ(a->unlockPrice, 0) << "type " << i << " is open from the start";
        } else if (a->attrType < 6) {
            EXPECT_GT(a->unlockPrice, career.cash) << "type " << i << " would unlock at once";
        }
    }

    std::unique_ptr<VenueInfoList> venues(VenueInfoList::Load((data + "Venue.ini").c_str()));
    ASSERT_GE(venues->Count(), 3);
    for (int i = 0; i < 3; ++i) {
        const VenueInfo* v = venues->Get(i);
        EXPECT_NE(v->scriptFile[0], 0) << "venue " << i;
        EXPECT_GT(v->powerSupply, 0.0f) << "venue " << i;
        EXPECT_GE(v->baseRubes, 5) << "venue " << i;
    }

    GameVals vals;
    vals.Load((data + "Data.ini").c_str(), "GameVals");
    EXPECT_GT(vals.tierAchievement[1], career.cash);
    EXPECT_GT(vals.tierAchievement[2], vals.tierAchievement[1]);
    EXPECT_GT(vals.tierAchievement[3], vals.tierAchievement[2]);
    const char16_t* names[] = {u"Novice", u"Commander", u"Magnate", u"Vantor"};
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(std::u16string(vals.tierName[i]), names[i]);
    IniClose();
}

// Floors let a lost type or swapped venue through: the counts and a few values are pinned, so a
// change of the shipped data is a decision made here too.
TEST(ShippedData, CountsAndKeyValuesArePinned) {
    const std::string data = std::string(FAIRLARK_SOURCE_DIR) + "/data/";
    std::unique_ptr<AttrInfoList> attrs(AttrInfoList::Load((data + "Data.ini").c_str()));
    ASSERT_EQ(attrs->Count(), 62);
    EXPECT_EQ(std::u16string(attrs->Get(0)->name), u"Soda Stand");
    EXPECT_EQ(std::u16string(attrs->Get(23)->name), u"Ticket Booth");
    EXPECT_EQ(attrs->Get(23)->attrType, 4) << "the ticket booth is a utility";
    EXPECT_EQ(attrs->Get(23)->deposit, 40000);
    EXPECT_EQ(std::u16string(attrs->Get(61)->name), u"Spider");

    std::unique_ptr<VenueInfoList> venues(VenueInfoList::Load((data + "Venue.ini").c_str()));
    ASSERT_EQ(venues->Count(), 5);
    EXPECT_EQ(std::u16string(venues->Get(0)->name), u"Cedar County Fairgrounds");
    EXPECT_EQ(venues->Get(0)->rent, 25000) << "venue 0's rent, in cents a day";
    EXPECT_EQ(venues->Get(0)->unlockPrice, 0);
    EXPECT_EQ(std::u16string(venues->Get(4)->name), u"State Fair Midway");
    EXPECT_EQ(venues->Get(4)->rent, 150000);
    EXPECT_EQ(venues->Get(4)->unlockPrice, 10000000);
    IniClose();
}

// What the per-model animators and the attraction need of each type record: seats for every
// rider of a seated ride (counted on its generated model by the attraction tests), generators
// that generate, and initial repair averages that are fractions.
TEST(ShippedData, CapacitiesGeneratorsAndRepairAverages) {
    const std::string data = std::string(FAIRLARK_SOURCE_DIR) + "/data/";
    std::unique_ptr<AttrInfoList> attrs(AttrInfoList::Load((data + "Data.ini").c_str()));
    ASSERT_EQ(attrs->Count(), 62);
    for (int i = 0; i < attrs->Count(); ++i) {
        const AttrInfo* a = attrs->Get(i);
        EXPECT_LE(a->capacity, 70) << "type " << i << ": an attraction has 70 seats at most";
        EXPECT_GE(a->initAvgRepair, 0.0f) << "type " << i;
        EXPECT_LE(a->initAvgRepair, 1.0f) << "type " << i;
    }
    for (int i : {22, 27})
        EXPECT_GT(attrs->Get(i)->maxPowerGen, 0.0f) << "generator " << i << " supplies nothing";
    IniClose();
}

// What the patrons' visits need of the types they visit: sellers a patron without tickets can
// enter, bins that fill, games that can be won and rated, free restrooms and seats, and a line
// that runs away from the footprint.
TEST(ShippedData, VisitedTypesCanBeVisited) {
    const std::string data = std::string(FAIRLARK_SOURCE_DIR) + "/data/";
    std::unique_ptr<AttrInfoList> attrs(AttrInfoList::Load((data + "Data.ini").c_str()));
    ASSERT_EQ(attrs->Count(), 62);
    for (int i : {23, 31}) {
        const AttrInfo* a = attrs->Get(i);
        EXPECT_GE(a->needs[NEED_TICKET], 1.0f) << "seller " << i;
        EXPECT_EQ(a->defTicketPrice, 0) << "seller " << i << ": a patron without tickets could "
                                        << "never go in";
    }
    for (int i : {12, 29}) {
        const AttrInfo* a = attrs->Get(i);
        EXPECT_GT(a->needs[NEED_TRASH], 0.25f) << "bin " << i;
        EXPECT_GT(a->winningOdds, 0) << "bin " << i << ": its size divides the rubbish";
        EXPECT_EQ(a->defTicketPrice, 0) << "bin " << i;
    }
    for (int i = 42; i <= 49; ++i) {
        const AttrInfo* a = attrs->Get(i);
        EXPECT_EQ(a->attrType, 3) << "game " << i;
        EXPECT_GE(a->winningOdds, 1) << "game " << i;
        EXPECT_GT(a->avgValue, 0.0f) << "game " << i;
    }
    for (int i : {24, 28}) {
        EXPECT_GT(attrs->Get(i)->needs[NEED_POTTY], 0.0f) << "restroom " << i;
        EXPECT_EQ(attrs->Get(i)->defTicketPrice, 0) << "restroom " << i;
    }
    for (int i : {13, 30}) {
        EXPECT_GT(attrs->Get(i)->needs[NEED_REST], 0.25f) << "seat " << i;
        EXPECT_EQ(attrs->Get(i)->defTicketPrice, 0) << "seat " << i;
    }
    for (int i = 0; i < attrs->Count(); ++i) {
        const AttrInfo* a = attrs->Get(i);
        bool visited = false;
        for (float v : a->needs)
            if (v > 0.0f) visited = true;
        if (!visited) continue;
        const VECTOR3& d = a->queueDir;
        EXPECT_NEAR(d.x * d.x + d.y * d.y + d.z * d.z, 1.0f, 1e-4f) << "type " << i;
        // The entry lies outside the footprint centred on the attraction's origin (half of it
        // is footX by footZ world units on the 2-unit cells of the shipped grids); the line
        // runs on away from it.
        const VECTOR3& e = a->entryOffset;
        EXPECT_GT(d.x * e.x + d.z * e.z, 0.0f)
            << "type " << i << ": the line runs into the attraction";
        EXPECT_TRUE(std::fabs(e.x) > (float)a->footX || std::fabs(e.z) > (float)a->footZ)
            << "type " << i << ": the entry lies inside the footprint";
    }
    GameVals vals;
    vals.Load((data + "Data.ini").c_str(), "GameVals");
    EXPECT_GE(vals.maxPayout, 100.0f) << "maxPayout is in cents: a prize worth winning";
    IniClose();
}
