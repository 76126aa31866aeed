// The shipped "Data.ini" and "Venue.ini" load through the real loaders and hold what a new
// career needs.
#include "engine/IniFile.h"
#include "game/AttrInfo.h"
#include "game/Career.h"
#include "game/GameVals.h"
#include "game/VenueInfo.h"

#include <gtest/gtest.h>

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
