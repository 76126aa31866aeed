// The numbered record lists: which sections a count reads, the default record, empty venue
// lists, capped and malformed counts, and when the load closes the ini file.
#include "engine/IniFile.h"
#include "engine/Memory.h"
#include "game/AttrInfo.h"
#include "game/VenueInfo.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace {

class RecordLists : public ::testing::Test {
  protected:
    void TearDown() override { IniClose(); }

    std::string Write(const char* name, const std::string& text) {
        std::string path = dir / name;
        WriteTextFile(path, text);
        return path;
    }
    TempDir dir;
};

// Sections 00..n-1 with footX = 10 + index, so a record shows which section it came from.
std::string Numbered(const char* base, int num, int sections) {
    std::string text = "[" + std::string(base) + "]\nnum=" + std::to_string(num) + "\n";
    for (int i = 0; i < sections; ++i) {
        char header[64];
        std::snprintf(header, sizeof header, "[%s%02i]\n", base, i);
        text += header;
        text += "footX=" + std::to_string(10 + i) + "\nbaseRubes=" + std::to_string(10 + i) +
                "\nname=Item " + std::to_string(i) + "\n";
    }
    return text;
}

void ExpectDefaultAttraction(const AttrInfo* a) {
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(a->footX, 4);
    EXPECT_EQ(a->footZ, 3);
    EXPECT_EQ(a->queueMax, 8);
    EXPECT_EQ(a->capacity, 1);
    EXPECT_EQ(a->defTicketPrice, 2);
    EXPECT_FLOAT_EQ(a->duration, 4.0f);
    EXPECT_EQ(a->enabled, 1);
    EXPECT_EQ(a->name[0], 0);
}

} // namespace

TEST_F(RecordLists, CountReadsExactlyItsSections) {
    std::string path = Write("Data.ini", Numbered("Attraction", 3, 5));
    std::unique_ptr<AttrInfoList> list(AttrInfoList::Load(path.c_str()));
    ASSERT_EQ(list->Count(), 3);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(list->Get(i)->footX, 10 + i) << "record " << i << " came from another section";
    EXPECT_EQ(list->Get(2)->name[5], u'2');
    EXPECT_EQ(list->Get(-1), nullptr);
    EXPECT_EQ(list->Get(3), nullptr);
    EXPECT_EQ(list->IndexOf(list->Get(2)), 2);

    std::unique_ptr<AttrInfoList> other(AttrInfoList::Load(path.c_str()));
    EXPECT_EQ(list->IndexOf(other->Get(1)), -1) << "a record of another list is not in this one";
    EXPECT_EQ(list->IndexOf(nullptr), -1);
}

TEST_F(RecordLists, NoUsableCountGivesOneDefaultAttraction) {
    const std::pair<const char*, std::string> cases[] = {
        {"num 0", Numbered("Attraction", 0, 2)},
        {"num -5", Numbered("Attraction", -5, 2)},
        {"no Attraction section", "[Attraction00]\nfootX=9\n"},
        {"empty file", ""},
    };
    for (const auto& [label, text] : cases) {
        std::string path = Write("Data.ini", text);
        std::unique_ptr<AttrInfoList> list(AttrInfoList::Load(path.c_str()));
        ASSERT_EQ(list->Count(), 1) << label;
        ExpectDefaultAttraction(list->Get(0));
    }
    std::unique_ptr<AttrInfoList> missing(AttrInfoList::Load((dir / "none.ini").c_str()));
    ASSERT_EQ(missing->Count(), 1) << "a missing Data.ini is not an error";
    ExpectDefaultAttraction(missing->Get(0));
    std::unique_ptr<AttrInfoList> noPath(AttrInfoList::Load(nullptr));
    EXPECT_EQ(noPath->Count(), 1);
}

TEST_F(RecordLists, VenueCountsZeroNegativeAndMissing) {
    std::string path = Write("Venue.ini", Numbered("Venue", 0, 2));
    std::unique_ptr<VenueInfoList> list(VenueInfoList::Load(path.c_str()));
    EXPECT_EQ(list->Count(), 0) << "a venue count of 0 is an empty list";
    EXPECT_EQ(list->Get(0), nullptr);

    Write("Venue.ini", Numbered("Venue", -5, 2));
    list.reset(VenueInfoList::Load(path.c_str()));
    ASSERT_EQ(list->Count(), 1);
    EXPECT_EQ(list->Get(0)->baseRubes, 0) << "a negative count gives one venue of defaults";
    EXPECT_EQ(list->Get(0)->avgMoney, 50);
    EXPECT_FLOAT_EQ(list->Get(0)->delayTimer, 5.0f);

    list.reset(VenueInfoList::Load((dir / "Missing.ini").c_str()));
    EXPECT_EQ(list->Count(), 1) << "a missing Venue.ini gives one default venue";

    Write("Venue.ini", Numbered("Venue", 2, 2));
    list.reset(VenueInfoList::Load(path.c_str()));
    ASSERT_EQ(list->Count(), 2);
    EXPECT_EQ(list->Get(1)->baseRubes, 11);
}

TEST_F(RecordLists, OddCountsAndMissingSections) {
    // Hexadecimal count; sections 03 and 07 are missing and keep their defaults.
    std::string text = "[Attraction]\nnum=0x10\n";
    for (int i = 0; i < 16; ++i) {
        if (i == 3 || i == 7) continue;
        char header[32];
        std::snprintf(header, sizeof header, "[Attraction%02i]\nfootX=%i\n", i, 20 + i);
        text += header;
    }
    std::string path = Write("Data.ini", text);
    std::unique_ptr<AttrInfoList> list(AttrInfoList::Load(path.c_str()));
    ASSERT_EQ(list->Count(), 16);
    EXPECT_EQ(list->Get(15)->footX, 35);
    EXPECT_EQ(list->Get(3)->footX, 4) << "a missing section leaves its record at the defaults";
    EXPECT_EQ(list->Get(7)->footX, 4);
    EXPECT_EQ(list->Get(8)->footX, 28) << "the next section must not be taken for the missing one";

    Write("Data.ini", "[Attraction]\nnum=100000\n[Attraction999]\nfootX=77\n");
    list.reset(AttrInfoList::Load(path.c_str()));
    ASSERT_EQ(list->Count(), 1000) << "a huge count is capped, not allocated";
    EXPECT_EQ(list->Get(999)->footX, 77) << "three-digit indices follow two-digit ones";
}

TEST_F(RecordLists, ClosesTheFileOnlyWhenItOpenedIt) {
    std::string path = Write("Data.ini", Numbered("Attraction", 2, 2) + "[GameVals]\n");
    std::unique_ptr<AttrInfoList> list(AttrInfoList::Load(path.c_str()));
    EXPECT_EQ(IniSetSection("GameVals"), -1) << "the load opened the file, so it closes it";

    ASSERT_EQ(IniOpen(path.c_str()), 0);
    list.reset(AttrInfoList::Load(path.c_str()));
    EXPECT_EQ(list->Count(), 2);
    EXPECT_EQ(IniSetSection("GameVals"), 0) << "a file the caller opened must stay open";
}

TEST_F(RecordLists, DatabaseLivesWithTheRecords) {
    int64_t live = MemLiveBlocks();
    ASSERT_EQ(AttrInfo::Db(), nullptr);
    {
        std::unique_ptr<AttrInfoList> a(AttrInfoList::Load(nullptr));
        std::unique_ptr<AttrInfoList> b(AttrInfoList::Load(nullptr));
        ASSERT_NE(AttrInfo::Db(), nullptr);
        EXPECT_STREQ(AttrInfo::Db()->name, "AttrInfo");
        a.reset();
        EXPECT_NE(AttrInfo::Db(), nullptr) << "freed while a record still uses it";
    }
    EXPECT_EQ(AttrInfo::Db(), nullptr) << "the last record frees the database";
    EXPECT_EQ(MemLiveBlocks(), live);
}
