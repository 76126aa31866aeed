// The new-career screen: the default career, the difficulty, the overwrite question, names that
// cannot name a save and saves that fail.
#include "tests/support/TestSupport.h"
#include "tests/ui/Menus/CareerMenuDoubles.h"

#include "engine/EntTree.h"
#include "game/MtGame.h"
#include "ui/EditLine.h"
#include "ui/Menus/MenuNewCareer.h"
#include "ui/Menus/MenuYesNo.h"
#include "ui/MouseCursor1.h"
#include "ui/StaticText.h"

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <set>
#include <string>

namespace {
using MenuNewCareerTest = CareerMenuTest;

std::set<std::string> Entries(const std::string& folder) {
    std::set<std::string> out;
    if (DIR* dir = opendir(folder.c_str())) {
        while (dirent* e = readdir(dir))
            if (std::strcmp(e->d_name, ".") != 0 && std::strcmp(e->d_name, "..") != 0)
                out.insert(e->d_name);
        closedir(dir);
    }
    return out;
}

MenuNewCareer* NewCareer(Menu3Base* menu) {
    return dynamic_cast<MenuNewCareer*>(menu);
}
} // namespace

TEST_F(MenuNewCareerTest, TheDefaultsMakeAMediumNewPlayerAndShowTheSummary) {
    StartCareerUi();
    ASSERT_TRUE(Open("MenuCareer"));
    Tap(SDL_SCANCODE_RETURN);
    MenuNewCareer* screen = NewCareer(Shown("NewCareer"));
    ASSERT_TRUE(screen) << "Enter on New Career opens the new-career screen";
    EXPECT_EQ(Ctl3GetFocus(), screen->FindCtl(2)) << "the focus starts on the name";
    Tap(SDL_SCANCODE_UP);
    EXPECT_EQ(Ctl3GetFocus(), screen->FindCtl(1)) << "the name's up link is Start";
    // The terms of the last sandbox are not the new career's.
    MtGame* game = screen->Game();
    ASSERT_TRUE(game);
    game->ticketCost = 100;
    game->marketingFlags = 1 | 8;
    game->freeTickets = 12;
    Tap(SDL_SCANCODE_RETURN);
    Step();
    ASSERT_TRUE(Shown("MenuCareerSummary")) << "the summary follows the career's creation";
    EXPECT_EQ(Shown("NewCareer"), nullptr);
    EXPECT_EQ(game->ticketCost, 50);
    EXPECT_EQ(game->marketingFlags, 0u) << "the sandbox's bills came along";
    EXPECT_EQ(game->freeTickets, 0) << "the sandbox's free tickets came along";

    const std::string file = Saves() + "New Player/New Player.car";
    ASSERT_TRUE(PathExistsOnDisk(file));
    const std::string text = ReadTextFile(file);
    EXPECT_NE(text.find("[Career]"), std::string::npos) << text;
    for (const char* key :
         {"name", "cash", "cashSave", "venueUnlock", "attrUnlock", "difficulty", "daysRun"})
        EXPECT_NE(text.find(std::string("\n") + key + "="), std::string::npos) << key;
    ASSERT_EQ(game, Game());
    EXPECT_EQ(game->career.difficulty, 1);
    EXPECT_EQ(game->career.cash, game->gameVals.cashStart[GV_MEDIUM]);
    EXPECT_EQ(game->career.cash, 500000);
    EXPECT_EQ(game->mode, MTGAME_CAREER);
    EXPECT_STREQ(game->career.name, "New Player");

    const char16_t* title = nullptr;
    int next = 0;
    game->gameVals.GetTier(500000, &title, &next);
    const auto texts = Texts(Shown("MenuCareerSummary"));
    auto has = [&](const std::u16string& s) {
        for (const auto& t : texts)
            if (t == s) return true;
        return false;
    };
    EXPECT_TRUE(has(u"New Player"));
    EXPECT_TRUE(has(u"Cash: $5000"));
    EXPECT_TRUE(has(u"Current Rank: " + std::u16string(title)));
    const std::string nextLine = "Next rank at: $" + std::to_string(next / 100);
    EXPECT_TRUE(has(std::u16string(nextLine.begin(), nextLine.end())));
}

TEST_F(MenuNewCareerTest, TheDifficultyButtonsAreOneGroupAndSetTheCashAndWear) {
    StartCareerUi();
    MenuNewCareer* screen = NewCareer(Open("MenuNewCareer"));
    ASSERT_TRUE(screen);
    EXPECT_EQ(screen->GetCtlChecked(5), 1) << "Medium is checked at first";
    Click(607 + 20, 460 + 10); // Hard
    Click(309 + 20, 460 + 10); // Easy
    EXPECT_EQ(screen->difficulty, 0);
    EXPECT_EQ(screen->GetCtlChecked(4), 1);
    EXPECT_EQ(screen->GetCtlChecked(5), 0);
    EXPECT_EQ(screen->GetCtlChecked(6), 0);
    Click(560 + 20, 518 + 10); // Start
    Step();
    MtGame* game = Game();
    ASSERT_TRUE(game);
    EXPECT_EQ(game->career.cash, 1000000);
    EXPECT_FLOAT_EQ(game->degRateFact, game->gameVals.maintFactEasy);

    EntDestroyTree(Shown("MenuCareerSummary"));
    screen = NewCareer(Open("MenuNewCareer"));
    ASSERT_TRUE(screen);
    if (auto* field = dynamic_cast<EditLine*>(screen->FindCtl(2))) field->SetText("Hard One");
    Click(607 + 20, 460 + 10);
    Click(560 + 20, 518 + 10);
    Step();
    EXPECT_EQ(game->career.cash, 250000);
    EXPECT_EQ(game->career.difficulty, 2);
    EXPECT_FLOAT_EQ(game->degRateFact, game->gameVals.maintFactHard)
        << "the game's difficulty is set to hard";
}

TEST_F(MenuNewCareerTest, AnExistingCareerIsOverwrittenOnlyAfterYes) {
    StartCareerUi();
    MenuNewCareer* screen = NewCareer(Open("MenuNewCareer"));
    ASSERT_TRUE(screen);
    SlPostEvent(CTL3_EVENT, 1, CTL3_CLICK);
    Step(2);
    const std::string file = Saves() + "New Player/New Player.car";
    ASSERT_TRUE(PathExistsOnDisk(file));
    EntDestroyTree(Shown("MenuCareerSummary"));
    std::string text = ReadTextFile(file);
    const size_t days = text.find("daysRun=0");
    ASSERT_NE(days, std::string::npos) << text;
    text.replace(days, 9, "daysRun=3");
    WriteTextFile(file, text);

    for (const char* name : {"New Player", "new player"}) {
        screen = NewCareer(Open("MenuNewCareer"));
        ASSERT_TRUE(screen);
        auto* field = dynamic_cast<EditLine*>(screen->FindCtl(2));
        ASSERT_TRUE(field);
        field->SetText(name);
        Ctl3SetFocus(screen->FindCtl(1));
        Tap(SDL_SCANCODE_RETURN);
        auto* box = dynamic_cast<MenuYesNo*>(Shown("MenuYesNo"));
        ASSERT_TRUE(box) << name << ": the overwrite question is asked";
        EXPECT_EQ(std::u16string(box->title), u"OVERWRITE?");
        EXPECT_EQ(std::u16string(box->lines[0]), std::u16string(name, name + std::strlen(name)));
        EXPECT_EQ(std::u16string(box->lines[1]), u"This career file already exists.");
        EXPECT_EQ(std::u16string(box->lines[2]), u"Do you want to overwrite?");
        EXPECT_FALSE(screen->IsActive());

        // The inactive screen lets the box hear the pointer and the keys.
        MouseMove(583 + 20, 533 + 10);
        Step();
        EXPECT_EQ(Ctl3GetFocus(), box->FindCtl(0)) << "the pointer on OK focuses it";
        float px = 0, py = 0;
        MouseCursorPointer(&px, &py);
        EXPECT_NEAR(px, 603.0f, 1.0f) << "the cursor follows the pointer over the question";
        EXPECT_NEAR(py, 543.0f, 1.0f);
        MouseMove(5, 5);
        Step();
        Tap(SDL_SCANCODE_RIGHT);
        EXPECT_EQ(Ctl3GetFocus(), box->FindCtl(1)) << "the arrow keys reach the box";

        Tap(SDL_SCANCODE_RETURN); // No
        Step();
        EXPECT_EQ(Shown("MenuYesNo"), nullptr);
        EXPECT_EQ(Shown("NewCareer"), screen);
        EXPECT_TRUE(screen->IsActive());
        EXPECT_STREQ(field->Text(), name);
        EXPECT_EQ(ReadTextFile(file), text) << "No leaves the file byte for byte";
        EntDestroyTree(screen);
        Step();
    }

    screen = NewCareer(Open("MenuNewCareer"));
    ASSERT_TRUE(screen);
    Ctl3SetFocus(screen->FindCtl(1));
    Tap(SDL_SCANCODE_RETURN);
    ASSERT_TRUE(Shown("MenuYesNo"));
    // Yes with the mouse on OK.
    Click(583 + 20, 533 + 10);
    Step();
    EXPECT_TRUE(Shown("MenuCareerSummary")) << "Yes overwrites and goes on";
    EXPECT_NE(ReadTextFile(file).find("daysRun=0"), std::string::npos) << "the file was rewritten";
}

TEST_F(MenuNewCareerTest, NamesThatCannotNameASaveAreToldAndNothingIsWritten) {
    StartCareerUi();
    const std::string sentinelBeside = m_documents + "sentinel.txt";
    const std::string sentinelAbove = std::string(m_dir / "sentinel-above.txt");
    WriteTextFile(sentinelBeside, "beside");
    WriteTextFile(sentinelAbove, "above");
    WriteTextFile(Saves() + "inside.txt", "inside");
    const std::set<std::string> before = Entries(Saves()), docsBefore = Entries(m_documents);
    const std::set<std::string> aboveBefore = Entries(m_dir.Path());
    MenuNewCareer* screen = NewCareer(Open("MenuNewCareer"));
    ASSERT_TRUE(screen);
    auto* field = dynamic_cast<EditLine*>(screen->FindCtl(2));
    ASSERT_TRUE(field);
    const std::string longName(129, 'a');
    for (const char* name :
         {"", "..", "../x", "a/b", "a\\b", "c:", "x.", "x ", " x", longName.c_str()}) {
        field->SetText(name);
        SlPostEvent(CTL3_EVENT, 1, CTL3_CLICK);
        Step(2);
        auto* box = dynamic_cast<MenuYesNo*>(Shown("MenuYesNo"));
        ASSERT_TRUE(box) << "\"" << name << "\" should be refused";
        EXPECT_EQ(std::u16string(box->title), u"NAME NOT ALLOWED");
        const std::string shown = std::string(name).substr(0, 40);
        EXPECT_EQ(std::u16string(box->lines[0]), std::u16string(shown.begin(), shown.end()));
        EXPECT_EQ(std::u16string(box->lines[1]),
                  u"A name cannot hold / \\ : or control characters,");
        EXPECT_EQ(std::u16string(box->lines[2]),
                  u"nor start with a blank, nor end in a dot or blank.");
        EXPECT_FALSE(screen->IsActive());
        SlPostEvent(CTL3_EVENT, 0, CTL3_CLICK);
        Step();
        EXPECT_EQ(Shown("MenuYesNo"), nullptr);
        EXPECT_TRUE(screen->IsActive()) << "the screen comes back";
        EXPECT_STREQ(field->Text(), name) << "with the text kept";
        EXPECT_EQ(Entries(Saves()), before) << name;
        EXPECT_EQ(Entries(m_documents), docsBefore) << name;
        EXPECT_EQ(Entries(m_dir.Path()), aboveBefore) << name;
    }
    EXPECT_EQ(ReadTextFile(sentinelBeside), "beside");
    EXPECT_EQ(ReadTextFile(sentinelAbove), "above");
    EXPECT_EQ(ReadTextFile(Saves() + "inside.txt"), "inside");
    EXPECT_EQ(Shown("MenuCareerSummary"), nullptr);

    field->SetText("Bob's Fair 2");
    SlPostEvent(CTL3_EVENT, 1, CTL3_CLICK);
    Step(2);
    EXPECT_TRUE(Shown("MenuCareerSummary"));
    EXPECT_TRUE(PathExistsOnDisk(Saves() + "Bob's Fair 2/Bob's Fair 2.car"));
}

TEST_F(MenuNewCareerTest, ASaveThatFailsLeavesTheGameAsItWasAndSaysSo) {
    StartCareerUi();
    MtGame* game = Game();
    ASSERT_TRUE(game);
    std::snprintf(game->career.name, sizeof game->career.name, "%s", "Before");
    game->career.cash = 1234;
    game->career.difficulty = 2;
    game->mode = MTGAME_SANDBOX;
    game->degRateFact = 7.0f;
    const std::string keptUnlocks = game->career.venueUnlock;
    MenuNewCareer* screen = NewCareer(Open("MenuNewCareer"));
    ASSERT_TRUE(screen);
    // A read-only save folder; root writes into one anyway, so a file also stands where the
    // career's folder would go.
    ASSERT_EQ(chmod(Saves().c_str(), 0555), 0);
    if (geteuid() == 0) WriteTextFile(Saves() + "New Player", "in the way");
    SlPostEvent(CTL3_EVENT, 1, CTL3_CLICK);
    Step(2);
    chmod(Saves().c_str(), 0755);
    auto* box = dynamic_cast<MenuYesNo*>(Shown("MenuYesNo"));
    ASSERT_TRUE(box) << "the failure is told";
    EXPECT_EQ(std::u16string(box->title), u"CANNOT SAVE");
    EXPECT_EQ(std::u16string(box->lines[0]), u"New Player");
    EXPECT_EQ(std::u16string(box->lines[1]), u"The career file could not be written.");
    EXPECT_EQ(Narrow(box->lines[2]), std::strerror(geteuid() == 0 ? EEXIST : EACCES))
        << "the system's reason";
    EXPECT_EQ(Shown("MenuCareerSummary"), nullptr) << "no career to summarise";
    EXPECT_STREQ(game->career.name, "Before") << "the career is as before";
    EXPECT_EQ(game->career.cash, 1234);
    EXPECT_EQ(game->career.difficulty, 2);
    EXPECT_EQ(game->career.venueUnlock, keptUnlocks);
    EXPECT_EQ(game->mode, MTGAME_SANDBOX);
    EXPECT_FLOAT_EQ(game->degRateFact, 7.0f);
    EXPECT_FALSE(PathExistsOnDisk(Saves() + "New Player/New Player.car"));
}

TEST_F(MenuNewCareerTest, AFolderWithoutItsCareerFileIsNoCareer) {
    StartCareerUi();
    ASSERT_EQ(mkdir((Saves() + "New Player").c_str(), 0755), 0);
    ASSERT_TRUE(Open("MenuNewCareer"));
    SlPostEvent(CTL3_EVENT, 1, CTL3_CLICK);
    Step(2);
    EXPECT_EQ(Shown("MenuYesNo"), nullptr) << "no question for a folder with no career in it";
    EXPECT_TRUE(Shown("MenuCareerSummary"));
    EXPECT_TRUE(PathExistsOnDisk(Saves() + "New Player/New Player.car"));
}

TEST_F(MenuNewCareerTest, BackReturnsToTheCareerMenu) {
    StartCareerUi();
    ASSERT_TRUE(Open("MenuNewCareer"));
    Tap(SDL_SCANCODE_UP);   // from the name to Start
    Tap(SDL_SCANCODE_LEFT); // and Back
    Tap(SDL_SCANCODE_RETURN);
    EXPECT_EQ(Shown("NewCareer"), nullptr);
    EXPECT_TRUE(Shown("MenuCareer"));
    EXPECT_FALSE(PathExistsOnDisk(Saves() + "New Player")) << "Back makes no career";
}

// The highlighted name takes what is typed without a click or Enter first; both choices carry
// a label.
TEST_F(MenuNewCareerTest, TypingIntoTheHighlightedNameEditsItAndTheChoicesAreLabelled) {
    StartCareerUi();
    MenuNewCareer* screen = NewCareer(Open("MenuNewCareer"));
    ASSERT_TRUE(screen);
    auto* field = dynamic_cast<EditLine*>(screen->FindCtl(2));
    ASSERT_TRUE(field);
    ASSERT_FALSE(field->Editing());
    TypeText("s");
    Step();
    EXPECT_TRUE(field->Editing()) << "a typed character did not start editing";
    EXPECT_STREQ(field->Text(), "New Players") << "the character was lost";
    Tap(SDL_SCANCODE_RETURN);
    EXPECT_FALSE(field->Editing());
    int labels = 0;
    for (EntNode* n = screen->node->firstChild; n; n = n->next)
        if (auto* text = dynamic_cast<StaticText*>(n->object)) {
            const std::string shown = Narrow(text->label);
            labels += shown == "Name" || shown == "Difficulty";
        }
    EXPECT_EQ(labels, 2) << "the name and the difficulty are not labelled";
}
