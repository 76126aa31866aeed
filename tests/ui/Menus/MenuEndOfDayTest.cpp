// The end-of-day summary: its figures, the three ways on in both game modes, and what a failed
// career save leaves.
#include "tests/ui/Menus/EndOfDayDoubles.h"

#include "engine/EntTree.h"
#include "game/Ents/AttrBase.h"
#include "game/MtGame.h"
#include "game/MtGameSave.h"
#include "ui/Menus/MenuEndOfDay.h"
#include "ui/Menus/MenuYesNo.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>
#include <sys/stat.h>

namespace {
using MenuEndOfDayTest = EndOfDayTest;

std::string CareerFile(const char* career) {
    char path[1024];
    return MtGameCareerPath(path, sizeof path, career) ? std::string(path) : std::string();
}

bool Exists(const std::string& path) {
    struct stat st {};
    return stat(path.c_str(), &st) == 0;
}
} // namespace

TEST_F(MenuEndOfDayTest, TheFiguresShowTheDaysMoney) {
    keepLog = true;
    StartDay(MTGAME_SANDBOX, "Ann", 100000, 85000);
    MenuEndOfDay* eod = OpenSummary();
    ASSERT_NE(eod, nullptr);
    EXPECT_STREQ(eod->GetName(), "MenuEndOfDay");
    std::vector<std::u16string> texts = Texts(eod);
    ASSERT_GE(texts.size(), 5u);
    const size_t first = texts.size() - 5;
    EXPECT_EQ(texts[first], u"Starting Cash: $1000");
    EXPECT_EQ(texts[first + 1], u"Ending Cash: $850");
    EXPECT_EQ(texts[first + 2], u" - deposits: $0");
    EXPECT_EQ(texts[first + 3], u" + deposit returns: $0");
    EXPECT_EQ(texts[first + 4], u" LOSS: $-150") << "a loss prints negative";
    EXPECT_NE(LogText().find("MenuEndOfDay: start 100000 end 85000 deposits 0 returns 0\n"),
              std::string::npos);
    EntDestroyTree(eod);

    // No difference is a loss of 0; cents are cut toward zero.
    Game()->cash = 100000;
    Game()->onDeposit = 199;
    eod = OpenSummary();
    texts = Texts(eod);
    ASSERT_GE(texts.size(), 5u);
    EXPECT_EQ(texts.back(), u" LOSS: $0");
    EXPECT_EQ(texts[texts.size() - 3], u" - deposits: $1");
    EntDestroyTree(eod);

    // An attraction's value comes back: cash = start still makes a profit of it.
    AttrBase* attr = MakeAttr(0, 0.625f);
    ASSERT_NE(attr, nullptr);
    ASSERT_NE(attr->info, nullptr);
    attr->inert = false; // an inert attraction is worth nothing
    int32_t returns = 0;
    MtGameSumAttrValue(app.GetRoot(), &returns);
    EXPECT_EQ(returns, int32_t(attr->info->deposit * 0.75)) << "a quarter worn off";
    ASSERT_GE(returns, 100);
    Game()->onDeposit = 50000;
    eod = OpenSummary();
    texts = Texts(eod);
    ASSERT_GE(texts.size(), 5u);
    const std::u16string dollars = [&] {
        std::u16string s;
        for (char c : std::to_string(returns / 100))
            s += char16_t(c);
        return s;
    }();
    EXPECT_EQ(texts[texts.size() - 2], u" + deposit returns: $" + dollars);
    EXPECT_EQ(texts.back(), u" PROFIT: $" + dollars);
    // Only control events while active.
    eod->ClearActive();
    Press(0);
    EXPECT_EQ(Find<MenuEndOfDay>("MenuEndOfDay"), eod) << "an inactive summary ignores presses";
}

TEST_F(MenuEndOfDayTest, RunAnotherDayGoesOnWithTheEndingCash) {
    StartDay(MTGAME_CAREER, "Ann", 100000, 90000);
    Game()->onDeposit = 20000;
    Game()->career.daysRun = 4;
    MenuEndOfDay* eod = OpenSummary();
    ASSERT_NE(eod, nullptr);
    // The real button, pressed with the pointer.
    Click(eod->FindCtl(0));
    EXPECT_EQ(Find<MenuEndOfDay>("MenuEndOfDay"), nullptr) << "the summary is gone";
    MtGame* game = Game();
    EXPECT_EQ(game->cash, 90000);
    EXPECT_EQ(game->career.cash, 90000) << "start-of-day cash is the ending cash";
    EXPECT_EQ(game->career.daysRun, 5);
    EXPECT_EQ(game->dayOver, 1) << "the day waits for the HUD's Start";
    EXPECT_EQ(hud->activations, 1);
    EXPECT_TRUE(hud->IsActive());
    const std::string saved = ReadText(CareerFile("Ann"));
    EXPECT_NE(saved.find("daysRun=5"), std::string::npos) << saved;
    EXPECT_NE(saved.find("cash=110000"), std::string::npos) << "the deposit counts in the save";
}

TEST_F(MenuEndOfDayTest, ASandboxDayWritesNoCareer) {
    StartDay(MTGAME_SANDBOX, "Bob", 5000, 6000);
    ASSERT_NE(OpenSummary(), nullptr);
    Press(0);
    EXPECT_EQ(Find<MenuEndOfDay>("MenuEndOfDay"), nullptr);
    EXPECT_FALSE(Exists(CareerFile("Bob")));
    EXPECT_EQ(Game()->cash, 6000);
    EXPECT_EQ(Game()->career.cash, 6000);
}

TEST_F(MenuEndOfDayTest, AFailedCareerSaveOnRunAnotherDayIsShownOverTheHud) {
    StartDay(MTGAME_CAREER, "Ann", 1000, 2000);
    // A file where the career's folder must go: the save cannot be written, even by root.
    std::ofstream(std::string(MtGameSaveFolder()) + "Ann") << "sentinel";
    MenuEndOfDay* eod = OpenSummary();
    ASSERT_NE(eod, nullptr);
    Press(0);
    EXPECT_EQ(Find<MenuEndOfDay>("MenuEndOfDay"), nullptr);
    auto* box = Find<MenuYesNo>("MenuYesNo");
    ASSERT_NE(box, nullptr) << "the failure is shown";
    EXPECT_EQ(std::u16string(box->title), u"SAVE FAILED");
    EXPECT_EQ(std::u16string(box->lines[0]), u"Ann");
    EXPECT_EQ(hud->activations, 0) << "the HUD waits for the box";
    EXPECT_EQ(Game()->cash, 2000) << "the day goes on with what is in memory";
    Press(0); // the box's OK
    EXPECT_EQ(Find<MenuYesNo>("MenuYesNo"), nullptr);
    EXPECT_TRUE(hud->IsActive());
    EXPECT_EQ(ReadText(std::string(MtGameSaveFolder()) + "Ann"), "sentinel");
}

TEST_F(MenuEndOfDayTest, CareerSaveAndExitSavesClearsAndShowsTheSummary) {
    StartDay(MTGAME_CAREER, "Ann", 1000, 2000);
    Game()->career.daysRun = 2;
    AttrBase* attr = MakeAttr(0);
    ASSERT_NE(attr, nullptr);
    attr->inert = false;
    int32_t returns = 0;
    MtGameSumAttrValue(app.GetRoot(), &returns);
    ASSERT_NE(EntCreateChild("EntNull", app.GetViewports()), nullptr);
    MenuEndOfDay* eod = OpenSummary();
    ASSERT_NE(eod, nullptr);
    Press(1);
    EXPECT_EQ(Game()->cash, 2000 + returns) << "the attractions' value is returned";
    EXPECT_EQ(Game()->career.daysRun, 3);
    const std::string saved = ReadText(CareerFile("Ann"));
    EXPECT_NE(saved.find("daysRun=3"), std::string::npos) << saved;
    EXPECT_EQ(Children(app.GetWorld()), 0);
    EXPECT_EQ(Children(app.GetViewports()), 0);
    EXPECT_EQ(Children(Menus()), 1) << "nothing but the career summary";
    EXPECT_NE(Find<Menu3Base>("MenuCareerSummary"), nullptr);
}

TEST_F(MenuEndOfDayTest, AFailedCareerSaveAndExitRestoresTheGameAndKeepsTheWorld) {
    StartDay(MTGAME_CAREER, "Ann", 1000, 2000);
    MtGame* game = Game();
    game->onDeposit = 700;
    game->career.daysRun = 6;
    ASSERT_NE(MakeAttr(0), nullptr);
    std::ofstream(std::string(MtGameSaveFolder()) + "Ann") << "sentinel";
    MenuEndOfDay* eod = OpenSummary();
    ASSERT_NE(eod, nullptr);
    Press(1);
    EXPECT_EQ(game->cash, 2000);
    EXPECT_EQ(game->onDeposit, 700);
    EXPECT_EQ(game->career.cash, 1000);
    EXPECT_EQ(game->career.daysRun, 6);
    EXPECT_EQ(Children(app.GetWorld()), 1) << "the world stays";
    ASSERT_EQ(Find<MenuEndOfDay>("MenuEndOfDay"), eod);
    EXPECT_FALSE(eod->IsActive());
    auto* box = Find<MenuYesNo>("MenuYesNo");
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(std::u16string(box->title), u"SAVE FAILED");
    EXPECT_EQ(std::u16string(box->lines[1]), u"The file could not be written.");
    EXPECT_EQ(Narrow(box->lines[2]), std::strerror(EEXIST)) << "the system's reason";
    Press(1); // the box's Cancel gives the summary back
    EXPECT_TRUE(eod->IsActive());
    EXPECT_EQ(ReadText(std::string(MtGameSaveFolder()) + "Ann"), "sentinel");
}

TEST_F(MenuEndOfDayTest, SandboxSaveAndExitAndExitWithoutSavingOpenTheirDialogs) {
    StartDay(MTGAME_SANDBOX, "Ann", 1000, 2000);
    MenuEndOfDay* eod = OpenSummary();
    ASSERT_NE(eod, nullptr);
    Press(1);
    EXPECT_EQ(Find<MenuEndOfDay>("MenuEndOfDay"), nullptr);
    ASSERT_EQ(Opened().size(), 1u);
    EndOfDayStandIn* save = Opened()[0];
    EXPECT_STREQ(save->GetName(), "MenuSandboxSave");
    EXPECT_EQ(save->returnClass, "MenuEndOfDay") << "the dialog comes back to the summary";
    EXPECT_EQ(save->returnMenu.Get(), hud) << "with the summary's opener";
    EXPECT_EQ(Children(app.GetWorld()), 0);
    EntDestroyTree(save);

    eod = OpenSummary();
    ASSERT_NE(eod, nullptr);
    Press(2);
    ASSERT_EQ(Opened().size(), 2u);
    EndOfDayStandIn* confirm = Opened()[1];
    EXPECT_STREQ(confirm->GetName(), "MenuInGameConfirm");
    EXPECT_EQ(confirm->returnClass, "MenuInGame");
    EXPECT_EQ(confirm->returnMenu.Get(), eod);
    EXPECT_FALSE(eod->IsActive()) << "the summary waits behind the confirmation";
    confirm->Cancel();
    Step();
    EXPECT_TRUE(eod->IsActive());
    EXPECT_EQ(Find<MenuEndOfDay>("MenuEndOfDay"), eod);
}

TEST_F(MenuEndOfDayTest, EquipmentStandingSinceTheMorningIsNoProfitOfTheDay) {
    StartDay(MTGAME_CAREER, "Ann", 100000, 100000);
    AttrBase* attr = MakeAttr(0);
    ASSERT_NE(attr, nullptr);
    attr->inert = false;
    MtGame* game = Game();
    // Bought on an earlier day: standing when this one starts, then a day of $100 of costs.
    MtGameStartDay(game);
    ASSERT_EQ(game->cash, 100000);
    game->cash = 90000;
    MtGameEndOfDay(game);
    MenuEndOfDay* eod = OpenSummary();
    ASSERT_NE(eod, nullptr);
    const std::vector<std::u16string> texts = Texts(eod);
    ASSERT_GE(texts.size(), 5u);
    EXPECT_EQ(texts.back(), u" LOSS: $-100") << "the morning's equipment was counted as a return";
}
