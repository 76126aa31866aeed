// A sandbox saved after half a day of play on the shipped data and loaded into a cleared world:
// every placed attraction comes back with its place, type, state, prices and wear, the money is
// exact, and a further day runs on the loaded carnival.
#include "engine/EntIniLoader.h"
#include "engine/IniFile.h"
#include "game/Ents/AttrBase.h"
#include "game/Money.h"
#include "game/MtGameLinks.h"
#include "game/MtGameSave.h"
#include "tests/game/Ents/AttrTestSupport.h"
#include "tests/sim/DayHarness.h"

#include <dirent.h>
#include <unistd.h>

#include <algorithm>
#include <clocale>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

// The shipped data folder with one venue script more: every entry of the build's Data/ linked
// into a scratch folder, so the test writes nothing into the build.
std::string LinkedData(const TempDir& dir) {
    const std::string shipped = FAIRLARK_BUILD_DATA_DIR;
    const std::string data = dir / "data/";
    WriteTextFile(data + "SaveVenue.lua",
                  "local first = Entity.Create('EntNull', Game.GetWorldEntity())\n"
                  "Entity.SetString(first, 'name', 'First')\n"
                  "local grid = Entity.Create('MtPowerGrid', first)\n"
                  "Entity.SetString(grid, 'name', 'Grid')\n"
                  "Entity.Start(grid)\n");
    if (DIR* d = opendir(shipped.c_str())) {
        while (dirent* e = readdir(d)) {
            const std::string name = e->d_name;
            if (name == "." || name == "..") continue;
            if (symlink((shipped + name).c_str(), (data + name).c_str()) != 0) break;
        }
        closedir(d);
    }
    return data;
}

struct Saved {
    std::string name;
    int type;
    VECTOR3 pos;
    float yaw, repair;
    uint8_t closed, repairMe;
    int32_t ticketPrice;
};

std::vector<AttrBase*> Attractions(ENTBASE* root) {
    ENTBASE* found[64];
    int n = EntFindAllOfType(root, "AttrBase", found, 64);
    std::vector<AttrBase*> out;
    for (int i = 0; i < n; ++i)
        out.push_back(static_cast<AttrBase*>(found[i]));
    return out;
}

class SaveRoundTrip : public ::testing::Test {
  protected:
    void SetUp() override {
        DayHarness::Options options;
        options.seed = 11;
        options.dt = 0.264f;
        options.data = LinkedData(m_data);
        h = std::make_unique<DayHarness>(options);
        RegisterAttrTestClasses();
        EntCreateClass(EcMtPowerGridProc, 0, 0);
        if (EntCreateClass(EcAttrBaseProc, 0, 0) == 0) MtGameSetAttrLinks(AttrBaseLinks());
        game = h->game;
        game->mode = MTGAME_SANDBOX;
        MtGameSetVenue(game, 0);
        ASSERT_NE(game->venue, nullptr);
        std::strcpy(game->venue->scriptFile, "SaveVenue.lua");
        std::strcpy(game->scriptPath, "SaveVenue.lua"); // as the venue selector copies it
        // The shipped supply overloads with a dozen rides, and an overload closes them.
        game->venue->powerSupply = 1000.0f;
        ClearScene();
        ASSERT_TRUE(MtGameNewGame(game));
        first = EntTreeFindName(h->root, "First");
        ASSERT_NE(first, nullptr) << "the venue script made no First";
        ASSERT_NE(EntTreeFindType(h->root, "MtPowerGrid"), nullptr);
    }
    void TearDown() override { std::setlocale(LC_NUMERIC, "C"); }

    // What the application does before it loads a game.
    void ClearScene() {
        EntDestroyChildren(h->world);
        h->Frame();
        EntResetClasses();
    }

    // As the placing screen does: type, place, quarter-turn yaw, default price, stamp, name,
    // deposit.
    AttrBase* Place(int type, int index) {
        const AttrInfo* info = game->attrList->Get(type);
        auto* attr = static_cast<AttrBase*>(EntCreateChild("AttrBase", first));
        attr->SetType(type);
        VECTOR3 pos = {(float)(index % 4) * 24.0f + 0.25f, 0.0f, (float)(index / 4) * 24.0f};
        attr->SetPos(&pos);
        attr->SetYaw((float)(index % 4) * 1.5707964f);
        attr->agl = 0;
        attr->ticketPrice = info->defTicketPrice;
        EntSetSourceFile(attr, ENT_SAVEGAME);
        char name[33];
        attr->SetName(EntMakeAutoName(name));
        attr->Start();
        game->cash = MoneyCharge(game->cash, info->deposit);
        game->onDeposit = MoneyAdd(game->onDeposit, info->deposit);
        return attr;
    }

    TempDir m_data;
    std::unique_ptr<DayHarness> h;
    MtGame* game = nullptr;
    ENTBASE* first = nullptr;
};

} // namespace

TEST_F(SaveRoundTrip, HalfADayOfPlaySavedAndLoadedComesBackWhole) {
    std::vector<AttrBase*> attrs;
    for (int type = 0, index = 0; type < game->attrList->Count() && index < 12; ++type) {
        if (game->attrList->Get(type)->attrType >= 6) continue; // scenery
        attrs.push_back(Place(type, index++));
    }
    ASSERT_EQ(attrs.size(), 12u);

    MtGameStartDay(game);
    h->OpenDay();
    const int joinEvery = (int)(10.0f / h->options.dt);
    const float halfDay = (game->gameVals.openingTime + game->gameVals.closingTime) * 0.5f;
    for (int frame = 0; game->gameTime < halfDay && frame < 100000; ++frame) {
        if (frame % joinEvery == 0)
            for (AttrBase* attr : attrs)
                AttrBaseJoinQueue(attr,
                                  static_cast<FakePatron*>(EntCreateChild("FakePatron", first)));
        h->Frame();
    }
    ASSERT_FALSE(game->dayOver);
    AttrBaseSetClosed(attrs[1], true);
    attrs[2]->repairMe = 1;
    attrs[3]->ticketPrice = 75;
    attrs[4]->ticketPrice = 0;
    int worn = 0;
    for (AttrBase* attr : attrs)
        worn += attr->repair > 0.0f;
    ASSERT_GT(worn, 0) << "half a day wore nothing: the wear would not be tested";

    std::vector<Saved> saved;
    for (AttrBase* a : attrs)
        saved.push_back({a->GetName(), a->type, a->pos, a->yaw, a->repair, a->closed, a->repairMe,
                         a->ticketPrice});
    const int32_t cash = game->cash, onDeposit = game->onDeposit;
    ASSERT_TRUE(MtGameSaveSandbox(game, "Played"));

    // The section of an attraction, key by key.
    const std::string text = ReadTextFile(std::string(MtGameSaveFolder()) + "Played.sbx");
    const size_t at = text.find("[" + saved[0].name + "]\n");
    ASSERT_NE(at, std::string::npos) << text;
    std::vector<std::string> keys;
    for (size_t line = text.find('\n', at) + 1; line < text.size() && text[line] != '[';) {
        const size_t end = text.find('\n', line);
        keys.push_back(text.substr(line, text.find('=', line) - line));
        line = end + 1;
    }
    EXPECT_EQ(keys, (std::vector<std::string>{"class", "parent", "name", "pos.x", "pos.y", "pos.z",
                                              "type", "agl", "closed", "repairMe", "repair", "yaw",
                                              "ticketPrice"}));

    ClearScene();
    game->cash = 1;
    game->onDeposit = 1;
    ASSERT_TRUE(MtGameLoadSandbox(game, "Played"));
    EXPECT_EQ(game->cash, cash);
    EXPECT_EQ(game->onDeposit, onDeposit);
    first = EntTreeFindName(h->root, "First");
    ASSERT_NE(first, nullptr);
    std::vector<AttrBase*> loaded = Attractions(h->root);
    ASSERT_EQ(loaded.size(), saved.size());
    for (const Saved& s : saved) {
        SCOPED_TRACE(s.name);
        auto* a = static_cast<AttrBase*>(EntTreeFindName(first, s.name.c_str()));
        ASSERT_NE(a, nullptr) << "not back under First";
        EXPECT_EQ(EntGetParent(a), first);
        EXPECT_EQ(a->type, s.type);
        EXPECT_NEAR(a->pos.x, s.pos.x, 1e-4f);
        EXPECT_NEAR(a->pos.y, s.pos.y, 1e-4f);
        EXPECT_NEAR(a->pos.z, s.pos.z, 1e-4f);
        EXPECT_NEAR(a->yaw, s.yaw, 1e-5f);
        EXPECT_EQ(a->closed, s.closed);
        EXPECT_EQ(a->repairMe, s.repairMe);
        EXPECT_EQ(a->ticketPrice, s.ticketPrice);
        EXPECT_NEAR(a->repair, s.repair, 1e-5f) << "the loaded wear must survive its Start";
        EXPECT_STREQ(a->sourceFile, ENT_SAVEGAME);
    }
    int last = 0;
    for (const Saved& s : saved)
        last = std::max(last, std::atoi(s.name.c_str() + 4));
    char name[33];
    EXPECT_EQ(std::string(EntMakeAutoName(name)), "ENT~" + std::to_string(last + 1))
        << "the counter follows the loaded names";

    // A further day on the loaded carnival.
    MtGameStartDay(game);
    h->OpenDay();
    EXPECT_GT(h->RunToDayOver(), 0) << "the day on the loaded carnival never ended";
    EXPECT_EQ(Attractions(h->root).size(), saved.size());
}

TEST_F(SaveRoundTrip, NumbersAreWrittenWithADecimalPointInAnyLocale) {
    Place(0, 0); // pos.x 0.25
    // Machines without such a locale still check the "C" case.
    for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8", "nl_NL.UTF-8"})
        if (std::setlocale(LC_NUMERIC, name)) break;
    ASSERT_TRUE(MtGameSaveSandbox(game, "Locale"));
    std::setlocale(LC_NUMERIC, "C");
    const std::string text = ReadTextFile(std::string(MtGameSaveFolder()) + "Locale.sbx");
    EXPECT_NE(text.find("pos.x=0.25\n"), std::string::npos) << text;
    EXPECT_EQ(text.find("0,25"), std::string::npos);
}
