// Records read with need values and rates out of range: held as they load, one log line for
// each record that had any, and the values in range (a negative need value among them) kept.
#include "game/RecordRanges.h"
#include "engine/IniFile.h"
#include "game/AttrInfo.h"
#include "game/GameVals.h"
#include "game/VenueInfo.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>

namespace {
int Lines(const std::string& log, const std::string& what) {
    int n = 0;
    for (size_t at = log.find(what); at != std::string::npos; at = log.find(what, at + 1))
        ++n;
    return n;
}
} // namespace

TEST(RecordRanges, OutOfRangeValuesAreHeldAsTheyLoadWithOneLineARecord) {
    TempDir dir;
    const std::string data = dir / "Data.ini", venues = dir / "Venue.ini";
    WriteTextFile(data, "[Attraction]\nnum=2\n"
                        "[Attraction00]\neat=nan\ndrink=1e30\ntrash=-5\npotty=-inf\n"
                        "rubeRateFactor=-2\n"
                        "[Attraction01]\neat=0.6\ntrash=-0.4\nrubeRateFactor=0.1\n"
                        "[GameVals]\nhapNoAttr=nan\nhapAttrFact=40\nhapRubeMod=-7\n"
                        "carnyRepairRate=-1\n");
    WriteTextFile(venues, "[Venue]\nnum=2\n"
                          "[Venue00]\navgFood=-3\navgDrink=nan\navgRideSat=inf\ndelayTimer=0\n"
                          "baseRubes=1000000000\nextraRubes=-4\navgMoney=-10\n"
                          "[Venue01]\navgFood=0.4\ndelayTimer=4.5\nbaseRubes=30\n");
    LogCapture log;
    std::unique_ptr<AttrInfoList> attrs(AttrInfoList::Load(data.c_str()));
    std::unique_ptr<VenueInfoList> list(VenueInfoList::Load(venues.c_str()));
    GameVals vals;
    vals.Load(data.c_str(), "GameVals");
    IniClose();

    const AttrInfo* bad = attrs->Get(0);
    EXPECT_EQ(bad->needs[NEED_EAT], 0.0f);
    EXPECT_EQ(bad->needs[NEED_DRINK], 1.0f);
    EXPECT_EQ(bad->needs[NEED_TRASH], -1.0f);
    EXPECT_EQ(bad->needs[NEED_POTTY], -1.0f);
    EXPECT_EQ(bad->rubeRateFactor, 0.0f);
    const AttrInfo* good = attrs->Get(1);
    EXPECT_FLOAT_EQ(good->needs[NEED_TRASH], -0.4f) << "a meal's wrapper is in range";
    EXPECT_FLOAT_EQ(good->rubeRateFactor, 0.1f);

    const VenueInfo* v = list->Get(0);
    EXPECT_EQ(v->avgFood, 0.0f);
    EXPECT_EQ(v->avgDrink, 0.0f) << "not a number: the field's default";
    EXPECT_EQ(v->avgRideSat, 1.0f);
    EXPECT_EQ(v->delayTimer, 5.0f) << "no delay: the default, not a patron every frame";
    EXPECT_EQ(v->baseRubes, REC_CROWD_MAX);
    EXPECT_EQ(v->extraRubes, 0);
    EXPECT_EQ(v->avgMoney, 0);
    EXPECT_FLOAT_EQ(list->Get(1)->delayTimer, 4.5f);

    EXPECT_FLOAT_EQ(vals.hapNoAttr, -0.25f) << "not a number: the default";
    EXPECT_EQ(vals.hapAttrFact, 1.0f);
    EXPECT_EQ(vals.hapRubeMod, 0);
    EXPECT_EQ(vals.carnyRepairRate, 0.0f);

    const std::string text = log.Text();
    EXPECT_EQ(Lines(text, "out of range"), 3) << text;
    EXPECT_EQ(Lines(text, "[Attraction00]: out of range"), 1) << text;
    EXPECT_EQ(Lines(text, "[Venue00]: out of range"), 1) << text;
    EXPECT_EQ(Lines(text, "[GameVals]: out of range"), 1) << text;
    EXPECT_NE(text.find("baseRubes 1e+09 -> 5000"), std::string::npos) << text;
}
