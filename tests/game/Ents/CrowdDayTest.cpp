// Whole days of the shipped venues with a sensible layout and a poor one: patrons present every
// game hour, litter dropped and swept, bins used. The sensible layout (a ticket booth, restrooms,
// two food stands, trash cans, three rides, a game and a carny) keeps its crowd into the evening;
// the poor one (no food, no restrooms, no bins) loses it. Heavy: run in the release build.
#include "engine/EntTree.h"
#include "game/Ents/Litter.h"
#include "game/Ents/Rube1.h"
#include "game/Ents/RubeGen.h"
#include "tests/game/Ents/WholeDay.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <unordered_set>
#include <vector>

namespace {
// The shipped types: all of them open to a new career and within the weakest venue's supply.
constexpr int kTicketBooth = 23, kRestrooms = 24, kHotDogs = 2, kSoda = 0, kTrashCan = 12,
              kHammerSpin = 14, kKiddieTrain = 57, kGhostManor = 26, kRingToss = 45;

struct Layout {
    bool food = true, restrooms = true, bins = true;
    int carnies = 1;
};
const Layout kSensible{};
const Layout kPoor{false, false, false, 1};
const Layout kNoBins{true, true, false, 1};

constexpr int kFirstHour = 10, kLastHour = 22;

struct CrowdDay {
    int present[24] = {}; // patrons present at the stroke of each hour (after opening)
    int maximum[24] = {}; // the generator's maximum then
    int created = 0, littered = 0, swept = 0, binUses = 0, peakPresent = 0;
    std::string log;
};

std::vector<int> Types(const Layout& l) {
    std::vector<int> t = {kTicketBooth, kHammerSpin, kKiddieTrain, kGhostManor, kRingToss};
    if (l.food) t.insert(t.end(), {kHotDogs, kSoda});
    if (l.restrooms) t.push_back(kRestrooms);
    if (l.bins) t.insert(t.end(), {kTrashCan, kTrashCan});
    return t;
}

// Venue `venue` as shipped, the layout placed, its carnies hired, a whole day and the drain.
CrowdDay RunCrowdDay(int venue, const Layout& layout, uint32_t seed) {
    CrowdDay out;
    WholeDay d(seed);
    MtGameSetVenue(d.game, venue);
    // As on the default world: the way in at the grounds' low edge, the stands and rides in a
    // row just inside it.
    d.cx = 40;
    d.cz = 4;
    for (int type : Types(layout))
        EXPECT_NE(d.Place(type), nullptr) << "type " << type;
    EXPECT_LT(d.PeakDemand(), MtGameVenuePower(d.game)) << "venue " << venue;
    d.cw.w.AddSpawnPoint(500.0f, 389.0f);
    d.cw.w.AddSpawnPoint(524.0f, 389.0f);
    MtGameStartDay(d.game);
    for (int i = 0; i < layout.carnies; ++i)
        MtGameHireCarny(d.game);
    d.Open(d.game->career.cash);
    std::vector<AttrBase*> bins;
    for (AttrBase* a : d.attrs)
        if (a->info->needs[NEED_TRASH] > 0.25f) bins.push_back(a);
    std::vector<float> binFill(bins.size(), 0.0f);
    std::unordered_set<uint64_t> litter;
    MtGame* game = d.game;
    RubeGen* gen = d.cw.w.gen;
    int hour = (int)game->gameTime;
    for (int frames = 0; !game->dayOver && frames < 60000; ++frames) {
        d.Frame();
        if ((int)game->gameTime != hour) {
            hour = (int)game->gameTime;
            if (hour >= 0 && hour < 24) {
                out.present[hour] = gen->present;
                out.maximum[hour] = gen->max;
            }
        }
        out.peakPresent = std::max(out.peakPresent, gen->present);
        ENTBASE* pieces[4096];
        const int n = EntFindAllOfType(d.cw.w.h->root, "Litter", pieces, 4096);
        std::unordered_set<uint64_t> now;
        for (int i = 0; i < n; ++i) {
            const uint64_t serial = EntSerialOf(pieces[i]);
            now.insert(serial);
            if (!litter.count(serial)) ++out.littered;
        }
        for (uint64_t serial : litter)
            if (!now.count(serial)) ++out.swept;
        litter.swap(now);
        for (size_t i = 0; i < bins.size(); ++i) {
            if (bins[i]->repair > binFill[i]) ++out.binUses;
            binFill[i] = bins[i]->repair;
        }
    }
    out.created = gen->created;
    out.log = d.cw.w.h->Log();
    return out;
}

std::string Row(const char* name, const CrowdDay& c) {
    std::string s = name;
    char cell[32];
    for (int h = kFirstHour + 1; h <= kLastHour; ++h) {
        std::snprintf(cell, sizeof cell, " %3i/%-3i", c.present[h], c.maximum[h]);
        s += cell;
    }
    std::snprintf(cell, sizeof cell, " | made %i", c.created);
    s += cell;
    std::snprintf(cell, sizeof cell, " litter %i swept %i bins %i", c.littered, c.swept, c.binUses);
    s += cell;
    return s;
}

// The middle of the day's busiest hour, 11:00 to 14:00.
int MiddayPeak(const CrowdDay& c) {
    int peak = 0;
    for (int h = 11; h <= 14; ++h)
        peak = std::max(peak, c.present[h]);
    return peak;
}

} // namespace

// Every venue, both layouts: the hour-by-hour table (present / maximum). The sensible layout
// keeps at 20:00 at least half its midday peak; the poor one has lost more than half of its.
TEST(HeavyCrowdDay, EveryVenueKeepsASensibleLayoutsCrowdAndLosesAPoorOnes) {
#ifdef FL_SANITIZED
    GTEST_SKIP() << "whole venues' days: run in the release build";
#endif
    std::printf("%-22s", "venue/layout");
    for (int h = kFirstHour + 1; h <= kLastHour; ++h)
        std::printf("  %2i:00 ", h);
    std::printf("\n");
    for (int venue = 0; venue < 5; ++venue) {
        const CrowdDay good = RunCrowdDay(venue, kSensible, 1);
        const CrowdDay poor = RunCrowdDay(venue, kPoor, 1);
        std::printf("%s\n%s\n",
                    Row((std::to_string(venue) + " sensible            ").c_str(), good).c_str(),
                    Row((std::to_string(venue) + " poor                ").c_str(), poor).c_str());
        EXPECT_GE(2 * good.present[20], MiddayPeak(good)) << "venue " << venue << " sensible";
        EXPECT_LT(2 * poor.present[20], MiddayPeak(poor)) << "venue " << venue << " poor";
        EXPECT_GT(good.present[20], poor.present[20]) << "venue " << venue;
    }
}

// The default venue: the sensible layout's crowd at 20:00 is at least half its midday peak.
TEST(HeavyCrowdDay, TheDefaultVenuesSensibleLayoutHasHalfItsMiddayPeakAtEight) {
#ifdef FL_SANITIZED
    GTEST_SKIP() << "a whole venue's day: run in the release build";
#endif
    const CrowdDay day = RunCrowdDay(0, kSensible, 1);
    ASSERT_GE(MiddayPeak(day), 5);
    EXPECT_GE(2 * day.present[20], MiddayPeak(day)) << Row("0 sensible", day);
}

// Food stands hand out wrappers: without bins they end up on the ground and the hired carny
// sweeps them; with bins patrons use them and less falls.
TEST(HeavyCrowdDay, FoodLittersWithoutBinsACarnySweepsAndBinsTakeItIn) {
#ifdef FL_SANITIZED
    GTEST_SKIP() << "whole venues' days: run in the release build";
#endif
    const CrowdDay bare = RunCrowdDay(0, kNoBins, 1);
    const CrowdDay binned = RunCrowdDay(0, kSensible, 1);
    std::printf("%s\n%s\n", Row("no bins ", bare).c_str(), Row("bins    ", binned).c_str());
    EXPECT_GT(bare.littered, 0) << "no litter fell";
    EXPECT_GT(bare.swept, 0) << "no litter was swept";
    EXPECT_NE(bare.log.find("is about to destroy Litter"), std::string::npos)
        << "litter went without a carny sweeping it";
    EXPECT_EQ(bare.binUses, 0);
    EXPECT_GT(binned.binUses, 0) << "nobody used a bin";
    EXPECT_LT(binned.littered, bare.littered) << "bins took in none of the litter";
}

namespace {
// `key`=`value` in section `section` of an ini text (the key must be there).
void SetKey(std::string* text, const std::string& section, const std::string& key,
            const std::string& value) {
    const size_t at = text->find("[" + section + "]");
    ASSERT_NE(at, std::string::npos) << section;
    const size_t line = text->find("\n" + key + "=", at);
    ASSERT_NE(line, std::string::npos) << section << " " << key;
    const size_t end = text->find('\n', line + 1);
    text->replace(line + 1, end - line - 1, key + "=" + value);
}

std::string ReadText(const std::filesystem::path& path) {
    std::ifstream in(path);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}
} // namespace

// The shipped data with need values and rates out of range in four records: each is held as it
// loads with one log line, and the day runs on with its crowd inside the venue's ceiling and
// every patron's happiness and needs numbers.
TEST(CrowdDay, NeedValuesAndRatesOutOfRangeKeepTheDaySane) {
    TempDir dir;
    const std::filesystem::path shipped = BuildProgramFolder() + "Data";
    for (const auto& entry : std::filesystem::directory_iterator(shipped)) {
        const std::string name = entry.path().filename().string();
        if (name != "Data.ini" && name != "Venue.ini")
            std::filesystem::create_symlink(entry.path(), dir / name);
    }
    std::string data = ReadText(shipped / "Data.ini"), venues = ReadText(shipped / "Venue.ini");
    SetKey(&data, "Attraction02", "eat", "nan");
    SetKey(&data, "Attraction02", "trash", "-1e30");
    SetKey(&data, "Attraction00", "drink", "1e30");
    SetKey(&data, "Attraction14", "rubeRateFactor", "-1e9");
    SetKey(&data, "GameVals", "hapRubeMod", "1000000000");
    SetKey(&data, "GameVals", "hapAttrFact", "inf");
    SetKey(&data, "GameVals", "hapNoAttr", "nan");
    SetKey(&venues, "Venue00", "delayTimer", "-3");
    SetKey(&venues, "Venue00", "avgFoodSat", "1e30");
    SetKey(&venues, "Venue00", "avgRide", "nan");
    SetKey(&venues, "Venue00", "avgPotty", "-2");
    WriteTextFile(dir / "Data.ini", data);
    WriteTextFile(dir / "Venue.ini", venues);

    WholeDay d(1, dir.Path());
    const std::string loaded = d.cw.w.h->Log();
    for (const char* record :
         {"[Attraction00]", "[Attraction02]", "[Attraction14]", "[GameVals]", "[Venue00]"}) {
        const std::string line = std::string(record) + ": out of range";
        const size_t at = loaded.find(line);
        EXPECT_NE(at, std::string::npos) << line;
        EXPECT_EQ(loaded.find(line, at + 1), std::string::npos) << "two lines for " << record;
    }
    MtGameSetVenue(d.game, 0);
    const VenueInfo* venue = d.game->venue;
    ASSERT_NE(venue, nullptr);
    EXPECT_EQ(venue->delayTimer, 5.0f);
    const int ceiling = venue->baseRubes + venue->extraRubes;
    for (int type : Types(kSensible))
        ASSERT_NE(d.Place(type), nullptr);
    d.AddSpawnPoints();
    MtGameStartDay(d.game);
    MtGameHireCarny(d.game);
    d.Open(d.game->career.cash);
    int peak = 0;
    for (int frames = 0; d.game->gameTime < 16.0f && frames < 60000; ++frames) {
        d.Frame();
        peak = std::max(peak, d.cw.w.gen->present);
        ASSERT_LE(d.cw.w.gen->present, ceiling) << "the crowd passed the venue's ceiling";
        ASSERT_GE(d.cw.w.gen->delay, 1.0f);
        for (int i = 0; i < RubeLiveCount(); ++i) {
            Rube1* p = RubeLiveAt(i);
            ASSERT_TRUE(std::isfinite(p->happiness)) << p->GetName();
            for (float level : p->needs.level)
                ASSERT_TRUE(level >= 0.0f && level <= 1.0f) << p->GetName();
        }
    }
    EXPECT_GE(d.game->gameTime, 16.0f) << "the clock stopped";
    EXPECT_GE(peak, 5) << "nobody came";
}
