// The records' keys, defaults and storage: ini key order and spelling, where needs, auras and
// the per-difficulty values land, wide text, ranks and a new career.
#include "engine/IniFile.h"
#include "game/AttrInfo.h"
#include "game/Career.h"
#include "game/GameVals.h"
#include "game/VenueInfo.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <memory>
#include <sstream>
#include <string>
#include <vector>

namespace {

std::vector<std::string> KeysOf(const std::string& text) {
    std::vector<std::string> keys;
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line))
        if (!line.empty() && line[0] != '[') keys.push_back(line.substr(0, line.find('=')));
    return keys;
}

std::unique_ptr<AttrInfoList> LoadOne(const TempDir& dir, const std::string& body) {
    std::string path = dir / "Data.ini";
    WriteTextFile(path, "[Attraction]\nnum=1\n[Attraction00]\n" + body);
    return std::unique_ptr<AttrInfoList>(AttrInfoList::Load(path.c_str()));
}

} // namespace

TEST(RecordFields, AttractionKeysAreWrittenInFileOrder) {
    TempDir dir;
    AttrInfo info;
    std::string path = dir / "Out.ini";
    VarDbSaveIni(AttrInfo::Db(), &info, path.c_str(), "Attraction00");
    const std::vector<std::string> expected = {"name",           "description",    "texFileName",
                                               "modelFileName",  "soundFile",      "soundVolume",
                                               "soundMinDist",   "soundMaxDist",   "musicFile",
                                               "footX",          "footZ",          "footOffsetX",
                                               "footOffsetZ",    "entryOffset.x",  "entryOffset.y",
                                               "entryOffset.z",  "queueDir.x",     "queueDir.y",
                                               "queueDir.z",     "queueMax",       "queueWaitTime",
                                               "unloadDelay",    "deposit",        "duration",
                                               "winningOdds",    "avgValue",       "eat",
                                               "drink",          "ride",           "game",
                                               "potty",          "rest",           "ticket",
                                               "trash",          "degRateIdle",    "degRateRun",
                                               "capacity",       "auraBaseRange ", "auraEatMag",
                                               "auraDrinkMag",   "auraRideMag",    "auraGameMag",
                                               "auraPottyMag",   "auraTrashMag",   "auraRestMag",
                                               "auraTicketMag",  "numBling",       "rubeRateFactor",
                                               "attrType",       "tileWidth",      "tileHeight",
                                               "defTicketPrice", "enabled",        "conAtIdlePower",
                                               "conAtPeakPower", "maxPowerGen",    "idleCost",
                                               "peakCost",       "unlockPrice",    "initAvgRepair"};
    EXPECT_EQ(KeysOf(ReadTextFile(path)), expected)
        << "the ini order of the keys is the file format other tools write";
}

TEST(RecordFields, NeedsAurasAndSpellingsLandInTheirSlots) {
    TempDir dir;
    auto list = LoadOne(dir, "eat=0.1\ndrink=0.2\nride=0.3\ngame=0.4\npotty=0.5\nrest=0.6\n"
                             "ticket=0.7\ntrash=0.8\nauraEatMag=1\nauraDrinkMag=2\nauraRideMag=3\n"
                             "auraGameMag=4\nauraPottyMag=5\nauraTrashMag=6\nauraRestMag=7\n"
                             "auraTicketMag=8\nauraBaseRange=9\n");
    const AttrInfo* a = list->Get(0);
    const float needs[NEED_COUNT] = {0.1f, 0.2f, 0.3f, 0.4f, 0.6f, 0.8f, 0.5f, 0.7f};
    for (int i = 0; i < NEED_COUNT; ++i)
        EXPECT_FLOAT_EQ(a->needs[i], needs[i]) << "need slot " << i;
    const float auras[AURA_COUNT] = {1, 2, 3, 4, 6, 8, 5, 7};
    for (int i = 0; i < AURA_COUNT; ++i)
        EXPECT_FLOAT_EQ(a->auraMag[i], auras[i]) << "aura slot " << i;
    EXPECT_FLOAT_EQ(a->auraBaseRange, 0.0f) << "the key is spelt with a trailing blank";

    list = LoadOne(dir, "auraBaseRange =2.5\r\nfootX = 7\r\nfootZ=5   \r\nqueueMax=[x]\r\n"
                        "capacity=3\r\n");
    a = list->Get(0);
    EXPECT_FLOAT_EQ(a->auraBaseRange, 2.5f);
    EXPECT_EQ(a->footX, 4) << "a blank before '=' is another key";
    EXPECT_EQ(a->footZ, 5) << "CR LF and trailing blanks are not part of the value";
    EXPECT_EQ(a->capacity, 3) << "a bracketed value must not end the section";
}

TEST(RecordFields, ShownTextIsCutTerminatedAndWidened) {
    TempDir dir;
    std::string longName(70, 'N');
    auto list = LoadOne(dir, "name=" + longName + "\ndescription=Caf\xC3\xA9 \xE9t\xE9\n");
    const AttrInfo* a = list->Get(0);
    EXPECT_EQ(std::u16string(a->name), std::u16string(63, u'N'))
        << "a full-length name must keep room for its terminator";
    EXPECT_EQ(std::u16string(a->description), u"Caf\u00E9 \u00E9t\u00E9")
        << "UTF-8 widens to one character per code point, a stray byte to its own code";

    std::string path = dir / "Venue.ini";
    WriteTextFile(path, "[Venue]\nnum=1\n[Venue00]\nname=" + std::string(300, 'v') +
                            "\ndescription=" + std::string(300, 'd') + "\n");
    std::unique_ptr<VenueInfoList> venues(VenueInfoList::Load(path.c_str()));
    EXPECT_EQ(std::u16string(venues->Get(0)->name).size(), 63u);
    EXPECT_EQ(std::u16string(venues->Get(0)->description).size(), 255u);
}

TEST(RecordFields, GameValsStorageAndRanks) {
    TempDir dir;
    std::string path = dir / "Data.ini";
    WriteTextFile(path, "[GameVals]\ncashMultEasy=21\ncashMultMed=22\ncashMultHard=23\n"
                        "cashStartHard=7\ntier2Name=Comm\xC3\xA4nder\n");
    GameVals vals;
    vals.Load(path.c_str(), "GameVals");
    EXPECT_EQ(vals.cashMult[GV_HARD], 23);
    EXPECT_EQ(vals.cashMult[GV_MEDIUM], 22);
    EXPECT_EQ(vals.cashMult[GV_EASY], 21);
    EXPECT_EQ(vals.cashStart[GV_HARD], 7);
    EXPECT_EQ(vals.cashStart[GV_EASY], 1000000);
    EXPECT_EQ(std::u16string(vals.tierName[1]), u"Comm\u00E4nder");
    EXPECT_EQ(vals.tierAchievement[3], 100000);
    EXPECT_FLOAT_EQ(vals.closingTime, 22.5f);

    for (int i = 0; i < 4; ++i)
        vals.tierName[i][0] = char16_t(u'1' + i), vals.tierName[i][1] = 0;
    const struct {
        int value;
        char16_t tier;
        int next;
    } cases[] = {{19999, u'1', 20000},
                 {20000, u'2', 50000},
                 {50000, u'3', 100000},
                 {100000, u'4', 0},
                 {-5, u'1', 20000}};
    for (const auto& c : cases) {
        const char16_t* title = nullptr;
        int next = -1;
        vals.GetTier(c.value, &title, &next);
        ASSERT_NE(title, nullptr);
        EXPECT_EQ(title[0], c.tier) << "value " << c.value;
        EXPECT_EQ(next, c.next) << "value " << c.value;
    }
}

TEST(RecordFields, NewCareer) {
    Career career;
    EXPECT_STREQ(career.venueUnlock, "+++---------");
    career.Reset();
    EXPECT_STREQ(career.name, "Player 1");
    EXPECT_EQ(career.cash, 1000000);
    EXPECT_EQ(career.cashSave, 1000000);
    EXPECT_EQ(career.difficulty, 1);
    EXPECT_EQ(career.daysRun, 0);
    EXPECT_EQ(std::string(career.venueUnlock), "+++" + std::string(124, '-'));
    std::string expected(127, '-');
    for (int i : {0,  2,  7,  8,  12, 13, 14, 15, 17, 19, 22, 23,
                  24, 25, 26, 32, 34, 36, 40, 45, 48, 54, 55, 57})
        expected[size_t(i)] = '+';
    EXPECT_EQ(std::string(career.attrUnlock), expected);
}
