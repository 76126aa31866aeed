// The load screens: what they list from the save folder, the list's handling, deleting, and
// loading with its failures.
#include "tests/ui/Menus/LoadListFixture.h"

#include "engine/EntTree.h"
#include "game/MtGame.h"
#include "game/MtGameSave.h"
#include "ui/Menus/MenuLoadList.h"
#include "ui/Menus/MenuWorldLoader.h"
#include "ui/Menus/MenuYesNo.h"
#include "ui/StaticGraphic.h"

#include <sys/stat.h>
#include <unistd.h>

namespace {
using MenuLoadListTest = LoadListTest;

std::string CareerText(int cash, int days) {
    return "[Career]\ncash=" + std::to_string(cash) + "\ndaysRun=" + std::to_string(days) + "\n";
}

ReportCellReader Cells(MenuLoadList* list) {
    ReportCellReader reader;
    if (list) list->ListCells(reader);
    return reader;
}

// The y of a row's cells.
float RowAt(const MenuLoadList* list, int row) {
    return 280.0f + float(row) * list->list.rowHeight;
}
} // namespace

TEST_F(MenuLoadListTest, AnEmptySaveFolderListsNothingButTheNewLayout) {
    StartLists();
    for (const char* cls : {"MenuLoadCareer", "MenuLoadSandbox"}) {
        MenuLoadList* list = OpenList(cls);
        ASSERT_NE(list, nullptr) << cls;
        EXPECT_STREQ(list->GetName(), cls);
        EXPECT_TRUE(list->entries.empty());
        EXPECT_TRUE(Cells(list).cells.empty()) << cls << ": not even the headers";
        Press(LOAD_START);
        Press(LOAD_DELETE);
        EXPECT_EQ(Find<MenuLoadList>(cls), list) << cls << ": Start and Delete do nothing";
        EXPECT_EQ(Find<MenuYesNo>("MenuYesNo"), nullptr);
        EntDestroyTree(list);
        Step();
    }
    MenuLoadList* layouts = OpenList("MenuLoadLayout");
    ASSERT_NE(layouts, nullptr);
    ASSERT_EQ(Names(layouts), std::vector<std::string>{"NEW LAYOUT"});
    EXPECT_EQ(layouts->entries[0].first, -1);
    const ReportCellReader cells = Cells(layouts);
    EXPECT_EQ(cells.At(160, 240), u"Save File");
    EXPECT_EQ(cells.At(160, RowAt(layouts, 0)), u"NEW LAYOUT");
    EXPECT_EQ(cells.At(340, RowAt(layouts, 0)), u"Start a new carnival with an empty layout.");
    EXPECT_EQ(cells.cells.size(), 3u);
    Press(LOAD_DELETE);
    EXPECT_EQ(Find<MenuYesNo>("MenuYesNo"), nullptr) << "the new layout cannot be deleted";
    EXPECT_TRUE(layouts->IsActive());
}

TEST_F(MenuLoadListTest, TheListsShowWhatTheFolderHoldsSortedAndChecked) {
    keepLog = true;
    StartLists();
    const std::string s = Saves();
    mkdir((s + "Ann").c_str(), 0755);
    mkdir((s + "bob").c_str(), 0755);
    mkdir((s + "Old").c_str(), 0755);
    mkdir((s + "elsewhere").c_str(), 0755);
    WriteTextFile(s + "Ann/Ann.car", CareerText(500000, 3));
    WriteTextFile(s + "bob/bob.car", "[Career]\ncash=abc\n");
    WriteTextFile(s + "elsewhere/elsewhere.car", CareerText(1, 1));
    ASSERT_EQ(symlink((s + "elsewhere").c_str(), (s + "linked").c_str()), 0);
    WriteTextFile(s + "x.car", "x");
    WriteTextFile(s + "a.sbx", "[Sandbox]\nvenueId=0\n");
    WriteTextFile(s + "B.SBX", "[Sandbox]\nvenueId=77\n");
    WriteTextFile(s + ".sbx", "[Sandbox]\n");
    // Names no save can have are not listed; a name beyond the fonts' range is, and draws.
    WriteTextFile(s + "back\\slash.sbx", "[Sandbox]\n");
    WriteTextFile(s + "ctl\x01.sbx", "[Sandbox]\n");
    WriteTextFile(s + "caf\xC3\xA9.sbx", "[Sandbox]\nvenueId=0\n");
    // Sorted by the listed name: "a" before "a b", though "a b.sbx" comes before "a.sbx".
    WriteTextFile(s + "a b.sbx", "[Sandbox]\n");
    WriteTextFile(s + "c.txt", "x");
    WriteTextFile(s + "Ann/Layout03_Fair.lay", "x");
    WriteTextFile(s + "Ann/Layout04_X.lay", "x");
    WriteTextFile(s + "Ann/Layout100_Big.lay", "x");

    MenuLoadList* careers = OpenList("MenuLoadCareer");
    ASSERT_NE(careers, nullptr);
    EXPECT_EQ(Names(careers), (std::vector<std::string>{"Ann", "bob", "elsewhere", "Old"}))
        << "folders only, never the link, sorted without regard to case";
    ASSERT_EQ(careers->entries.size(), 4u);
    EXPECT_EQ(careers->entries[0].first, 500000);
    EXPECT_EQ(careers->entries[0].second, 3);
    EXPECT_EQ(careers->entries[1].first, 0) << "\"abc\" reads as the ini reader reads it";
    EXPECT_EQ(careers->entries[3].first, 999) << "no career file: the defaults";
    EXPECT_EQ(careers->entries[3].second, 0);
    const ReportCellReader careerCells = Cells(careers);
    for (auto [x, header] : {std::pair{160.0f, u"Save File"},
                             {340.0f, u"Cash"},
                             {480.0f, u"Rank"},
                             {680.0f, u"Total Days"}})
        EXPECT_EQ(careerCells.At(x, 240), header);
    const float ann = RowAt(careers, 0), old = RowAt(careers, 3);
    EXPECT_EQ(careerCells.At(160, ann), u"Ann");
    EXPECT_EQ(careerCells.At(340, ann), u"$5000");
    EXPECT_EQ(careerCells.At(680, ann), u"3");
    EXPECT_EQ(careerCells.At(160, old), u"Old");
    EXPECT_EQ(careerCells.At(340, old), u"$9");
    EXPECT_EQ(careerCells.At(680, old), u"0");
    const char16_t* rank = nullptr;
    int next = 0;
    Game()->gameVals.GetTier(500000, &rank, &next);
    ASSERT_NE(rank, nullptr);
    EXPECT_EQ(careerCells.At(480, ann), std::u16string(rank));
    for (const auto& cell : careerCells.cells) {
        EXPECT_EQ(cell.colour, cell.y == 240 ? 0xFFFFFFFFu : 0xFFFFFF00u) << Narrow(cell.text);
    }
    EntDestroyTree(careers);

    MenuLoadList* sandboxes = OpenList("MenuLoadSandbox");
    ASSERT_NE(sandboxes, nullptr);
    EXPECT_EQ(Names(sandboxes), (std::vector<std::string>{"a", "a b", "B", "caf\xC3\xA9"}));
    EXPECT_NE(LogText().find("\"back\\slash.sbx\" is no save's name"), std::string::npos);
    EXPECT_NE(LogText().find("\"ctl?.sbx\" is no save's name"), std::string::npos)
        << "the control character is not written to the log";
    ASSERT_EQ(sandboxes->entries.size(), 4u);
    Step(2); // drawn
    EXPECT_EQ(sandboxes->entries[2].first, 77);
    const ReportCellReader sandboxCells = Cells(sandboxes);
    EXPECT_EQ(sandboxCells.At(160, 240), u"Sandbox Name");
    EXPECT_EQ(sandboxCells.At(420, 240), u"Venue");
    ASSERT_NE(Game()->venueList->Get(0), nullptr);
    EXPECT_EQ(sandboxCells.At(420, RowAt(sandboxes, 0)),
              std::u16string(Game()->venueList->Get(0)->name));
    EXPECT_EQ(sandboxCells.At(160, RowAt(sandboxes, 2)), u"B");
    EXPECT_EQ(sandboxCells.At(420, RowAt(sandboxes, 2)), u"?") << "venue 77 has no record";
    EntDestroyTree(sandboxes);

    MtGame* game = Game();
    std::snprintf(game->career.name, sizeof game->career.name, "%s", "Ann");
    game->venueId = 3;
    MenuLoadList* layouts = OpenList("MenuLoadLayout");
    ASSERT_NE(layouts, nullptr);
    EXPECT_EQ(Names(layouts), (std::vector<std::string>{"NEW LAYOUT", "Fair"}));
    game->venueId = 100;
    layouts->Fill();
    EXPECT_EQ(Names(layouts), (std::vector<std::string>{"NEW LAYOUT", "Big"}))
        << "the prefix grows with the venue id";
    // A career name holding pattern characters is a folder name, never a pattern.
    std::snprintf(game->career.name, sizeof game->career.name, "%s", "A*");
    layouts->Fill();
    EXPECT_EQ(Names(layouts), std::vector<std::string>{"NEW LAYOUT"});
    EntDestroyTree(layouts);
    Step();

    // More files than the table holds: 500 rows and one log line.
    for (int i = 0; i < 600; ++i)
        WriteTextFile(s + "many" + std::to_string(1000 + i) + ".sbx", "");
    sandboxes = OpenList("MenuLoadSandbox");
    ASSERT_NE(sandboxes, nullptr);
    EXPECT_EQ(sandboxes->entries.size(), size_t(LOAD_ROWS_MAX));
    const std::string log = LogText();
    const std::string line = "MenuLoadSandbox: more than 500 files, list cut\n";
    ASSERT_NE(log.find(line), std::string::npos);
    EXPECT_EQ(log.find(line, log.find(line) + 1), std::string::npos) << "one line";
}

TEST_F(MenuLoadListTest, TheSelectionFollowsKeysAndThePointerAndTheBarPulses) {
    StartLists();
    for (const char* name : {"a", "b", "c"})
        WriteTextFile(Saves() + name + ".sbx", "[Sandbox]\nvenueId=0\n");
    MenuLoadList* list = OpenList("MenuLoadSandbox");
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->list.selected, 0);
    Press(LOAD_DOWN);
    Press(LOAD_DOWN);
    EXPECT_EQ(list->list.selected, 2);
    Press(LOAD_DOWN);
    EXPECT_EQ(list->list.selected, 2) << "the last row stays";
    Press(LOAD_UP);
    EXPECT_EQ(list->list.selected, 1);

    // A press over row 0 selects it; a press below the last row selects nothing.
    const float rowH = list->list.rowHeight;
    MouseMove(400.0f, 280.0f + rowH * 0.5f);
    Step();
    MouseButton(true);
    Step();
    MouseButton(false);
    Step();
    EXPECT_EQ(list->list.selected, 0);
    MouseMove(400.0f, 280.0f + rowH * 5.5f);
    Step();
    MouseButton(true);
    Step();
    MouseButton(false);
    Step();
    EXPECT_EQ(list->list.selected, 0);

    // The bar glides to the selected row while its alpha pulses within 89..114.
    Press(LOAD_DOWN);
    auto* bar = dynamic_cast<StaticGraphic*>(list->FindCtl(LOAD_HIGHLIGHT));
    ASSERT_NE(bar, nullptr);
    const float start = bar->pos.y;
    for (int i = 0; i < 60; ++i) {
        Step();
        const uint32_t a = bar->colour >> 24;
        EXPECT_GE(a, 89u);
        EXPECT_LE(a, 114u);
    }
    EXPECT_NEAR(list->list.bar.value, 280.0f + rowH * 1.5f, 0.5f);
    EXPECT_NEAR(bar->pos.y, 280.0f + rowH * 1.5f, 0.5f);
    EXPECT_NE(bar->pos.y, start) << "the bar glided";
}

TEST_F(MenuLoadListTest, DeleteAsksAndRemovesOnlyTheChosenCareer) {
    StartLists();
    const std::string s = Saves();
    for (const char* name : {"Ann", "bob"}) {
        mkdir((s + name).c_str(), 0755);
        WriteTextFile(s + name + "/" + name + ".car", CareerText(100, 1));
    }
    // Outside the career, reached through a link inside it.
    mkdir((s + "../outside").c_str(), 0755);
    WriteTextFile(s + "../outside/keep.txt", "keep");
    ASSERT_EQ(symlink((s + "../outside").c_str(), (s + "bob/out").c_str()), 0);

    MenuLoadList* list = OpenList("MenuLoadCareer");
    ASSERT_NE(list, nullptr);
    Press(LOAD_DOWN);
    Press(LOAD_DELETE);
    auto* box = Find<MenuYesNo>("MenuYesNo");
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(std::u16string(box->title), u"DELETE?");
    EXPECT_EQ(std::u16string(box->lines[0]), u"Are you sure you want to delete");
    EXPECT_EQ(std::u16string(box->lines[1]), u"bob");
    EXPECT_EQ(std::u16string(box->lines[2]), u"");
    EXPECT_FALSE(list->IsActive());
    Tap(SDL_SCANCODE_UP);
    EXPECT_EQ(list->list.selected, 1) << "the list heard a key meant for the box";
    Press(1); // No
    EXPECT_TRUE(list->IsActive());
    EXPECT_TRUE(PathExistsOnDisk(s + "bob/bob.car"));
    EXPECT_EQ(list->entries.size(), 2u);

    Press(LOAD_DELETE);
    ASSERT_NE(Find<MenuYesNo>("MenuYesNo"), nullptr);
    Press(0); // Yes
    EXPECT_TRUE(list->IsActive());
    EXPECT_FALSE(PathExistsOnDisk(s + "bob"));
    EXPECT_TRUE(PathExistsOnDisk(s + "Ann/Ann.car"));
    EXPECT_TRUE(PathExistsOnDisk(s + "../outside/keep.txt")) << "the link was not followed";
    EXPECT_EQ(Names(list), std::vector<std::string>{"Ann"});
    EXPECT_EQ(list->list.selected, 0);
}

TEST_F(MenuLoadListTest, SandboxAndLayoutRowsDeleteTheirOneFile) {
    StartLists();
    const std::string s = Saves();
    WriteTextFile(s + "a.sbx", "[Sandbox]\n");
    WriteTextFile(s + "b.sbx", "[Sandbox]\n");
    MenuLoadList* list = OpenList("MenuLoadSandbox");
    ASSERT_NE(list, nullptr);
    Press(LOAD_DELETE);
    Press(0);
    EXPECT_FALSE(PathExistsOnDisk(s + "a.sbx"));
    EXPECT_TRUE(PathExistsOnDisk(s + "b.sbx"));
    EntDestroyTree(list);
    Step();

    MtGame* game = Game();
    std::snprintf(game->career.name, sizeof game->career.name, "%s", "Ann");
    game->venueId = 3;
    mkdir((s + "Ann").c_str(), 0755);
    WriteTextFile(s + "Ann/Layout03_Fair.lay", "x");
    WriteTextFile(s + "Ann/Layout03_Keep.lay", "x");
    list = OpenList("MenuLoadLayout");
    ASSERT_NE(list, nullptr);
    Press(LOAD_DOWN);
    Press(LOAD_DELETE);
    Press(0);
    EXPECT_FALSE(PathExistsOnDisk(s + "Ann/Layout03_Fair.lay"));
    EXPECT_TRUE(PathExistsOnDisk(s + "Ann/Layout03_Keep.lay"));
    EXPECT_EQ(Names(list), (std::vector<std::string>{"NEW LAYOUT", "Keep"}));
}

TEST_F(MenuLoadListTest, ADottedSandboxIsListedAsTypedAndDeletesItsOwnFile) {
    StartLists();
    const std::string s = Saves();
    WriteTextFile(s + "A.sbx", "[Sandbox]\n");
    ASSERT_TRUE(MtGameSaveSandbox(Game(), "A.B"));
    MenuLoadList* list = OpenList("MenuLoadSandbox");
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(Names(list), (std::vector<std::string>{"A", "A.B"}));
    Press(LOAD_DOWN);
    Press(LOAD_DELETE);
    Press(0);
    EXPECT_FALSE(PathExistsOnDisk(s + "A.B.sbx"));
    EXPECT_TRUE(PathExistsOnDisk(s + "A.sbx")) << "deleting \"A.B\" took the sandbox \"A\"";
}

TEST_F(MenuLoadListTest, StartLoadsAndAFailedLoadKeepsTheList) {
    StartLists();
    const std::string s = Saves();
    WriteTextFile(s + "far.sbx", "[Sandbox]\nvenueId=99\ncash=5\n");
    MtGame* game = Game();
    const int32_t cash = game->cash;
    MenuLoadList* list = OpenList("MenuLoadSandbox");
    ASSERT_NE(list, nullptr);
    Press(LOAD_START);
    auto* box = Find<MenuYesNo>("MenuYesNo");
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(std::u16string(box->title), u"LOAD FAILED");
    EXPECT_EQ(std::u16string(box->lines[0]), u"far");
    EXPECT_EQ(Find<MenuLoadList>("MenuLoadSandbox"), list) << "the list stays";
    EXPECT_EQ(Find<Menu3Base>("MenuGameRunning"), nullptr);
    EXPECT_EQ(game->cash, cash) << "the game is unchanged";
    Press(0);
    EXPECT_TRUE(list->IsActive());
    EntDestroyTree(list);
    Step();

    // A career loads and its summary opens.
    mkdir((s + "Ann").c_str(), 0755);
    WriteTextFile(s + "Ann/Ann.car", "[Career]\nname=Ann\ncash=4200\ndaysRun=8\n");
    list = OpenList("MenuLoadCareer");
    ASSERT_NE(list, nullptr);
    Press(LOAD_START);
    EXPECT_EQ(Find<MenuLoadList>("MenuLoadCareer"), nullptr);
    EXPECT_NE(Find<Menu3Base>("MenuCareerSummary"), nullptr);
    EXPECT_EQ(game->career.daysRun, 8);
    EXPECT_EQ(game->career.cash, 4200);
}

TEST_F(MenuLoadListTest, BackOpensEachScreensOwnMenu) {
    StartLists();
    MtGameSetVenue(Game(), 0); // the venue set-up shows the current venue
    const char* const pairs[][2] = {{"MenuLoadCareer", "MenuCareer"},
                                    {"MenuLoadSandbox", "MenuSandbox"},
                                    {"MenuLoadLayout", "MenuVenueSetup"}};
    for (const auto& pair : pairs) {
        ASSERT_NE(OpenList(pair[0]), nullptr) << pair[0];
        Press(LOAD_BACK);
        EXPECT_EQ(Find<Menu3Base>(pair[0]), nullptr) << pair[0];
        Menu3Base* back = Find<Menu3Base>(pair[1]);
        ASSERT_NE(back, nullptr) << pair[1];
        EntDestroyTree(back);
        Step();
    }
}

TEST_F(MenuLoadListTest, LayoutStartBuildsTheVenueEmptyOrLoadsTheLayout) {
    StartLists();
    MtGame* game = Game();
    MtGameSetVenue(game, 0);
    std::snprintf(game->career.name, sizeof game->career.name, "%s", "Ann");
    mkdir((Saves() + "Ann").c_str(), 0755);
    WriteTextFile(Saves() + "Ann/Layout00_Fair.lay", "[Sandbox]\nvenueId=0\nonDeposit=0\ncash=0\n");

    MenuLoadList* list = OpenList("MenuLoadLayout");
    ASSERT_NE(list, nullptr);
    Press(LOAD_START);
    EXPECT_EQ(Find<MenuLoadList>("MenuLoadLayout"), nullptr);
    Menu3Base* loader = Find<Menu3Base>("WorldLoader");
    ASSERT_NE(loader, nullptr) << "NEW LAYOUT builds the venue through the world loader";
    auto* worldLoader = dynamic_cast<MenuWorldLoader*>(loader);
    ASSERT_NE(worldLoader, nullptr);
    EXPECT_STREQ(worldLoader->scriptFileName, game->scriptPath);
    EntDestroyTree(loader);
    Step();

    list = OpenList("MenuLoadLayout");
    ASSERT_NE(list, nullptr);
    ASSERT_EQ(Names(list), (std::vector<std::string>{"NEW LAYOUT", "Fair"}));
    Press(LOAD_DOWN);
    Press(LOAD_START);
    EXPECT_EQ(Find<MenuLoadList>("MenuLoadLayout"), nullptr);
    EXPECT_NE(Find<Menu3Base>("MenuGameRunning"), nullptr) << "the layout loads into play";
}

// The list by keyboard alone: the arrows move the row, Enter presses Start (which holds the
// focus) and loads the row; after a question the focus is on Start again.
TEST_F(MenuLoadListTest, TheArrowKeysMoveTheRowAndEnterLoadsIt) {
    StartLists();
    mkdir((Saves() + "Ann").c_str(), 0755);
    mkdir((Saves() + "Bea").c_str(), 0755);
    WriteTextFile(Saves() + "Ann/Ann.car", "[Career]\nname=Ann\ncash=100\n");
    WriteTextFile(Saves() + "Bea/Bea.car", "[Career]\nname=Bea\ncash=4200\ndaysRun=8\n");
    MenuLoadList* list = OpenList("MenuLoadCareer");
    ASSERT_NE(list, nullptr);
    Tap(SDL_SCANCODE_DOWN);
    EXPECT_EQ(list->list.selected, 1);
    Tap(SDL_SCANCODE_DOWN);
    EXPECT_EQ(list->list.selected, 1) << "the last row stays";
    Tap(SDL_SCANCODE_UP);
    EXPECT_EQ(list->list.selected, 0);
    Tap(SDL_SCANCODE_DOWN);
    // A question and its No give the focus back to Start.
    Press(LOAD_DELETE);
    ASSERT_NE(Find<MenuYesNo>("MenuYesNo"), nullptr);
    Tap(SDL_SCANCODE_ESCAPE);
    Step();
    ASSERT_EQ(Find<MenuYesNo>("MenuYesNo"), nullptr);
    ASSERT_TRUE(list->IsActive());
    ASSERT_NE(Ctl3GetFocus(), nullptr);
    EXPECT_EQ(Ctl3GetFocus(), list->FindCtl(LOAD_START));
    Tap(SDL_SCANCODE_RETURN);
    Step();
    EXPECT_EQ(Find<MenuLoadList>("MenuLoadCareer"), nullptr);
    EXPECT_NE(Find<Menu3Base>("MenuCareerSummary"), nullptr);
    EXPECT_EQ(Game()->career.daysRun, 8) << "not the chosen row's career";
}

// A long name is cut short before the venue column, which is drawn as for a short one; a UTF-8
// name shows its characters.
TEST_F(MenuLoadListTest, LongAndUtf8NamesStayInTheirColumn) {
    StartLists();
    WriteTextFile(Saves() + "caf\xC3\xA9.sbx", "[Sandbox]\nvenueId=0\n");
    MenuLoadList* list = OpenList("MenuLoadSandbox");
    ASSERT_NE(list, nullptr);
    const float y = RowAt(list, 0);
    EXPECT_EQ(Cells(list).At(160, y), u"caf\u00E9");
    EntDestroyTree(list);
    Step();
    unlink((Saves() + "caf\xC3\xA9.sbx").c_str());

    std::vector<uint32_t> shots[2];
    const std::string names[2] = {"W", std::string(120, 'W')};
    for (int i = 0; i < 2; ++i) {
        WriteTextFile(Saves() + names[i] + ".sbx", "[Sandbox]\nvenueId=0\n");
        list = OpenList("MenuLoadSandbox");
        ASSERT_NE(list, nullptr);
        ASSERT_EQ(list->entries.size(), 1u);
        Step(30); // the bar settles
        shots[i] = ReadPixels();
        EntDestroyTree(list);
        Step();
        unlink((Saves() + names[i] + ".sbx").c_str());
    }
    int across = 0, name = 0;
    for (int py = int(y); py < int(y) + 14; ++py) {
        for (int px = 0; px < 1024; ++px) {
            const bool differs = PixelAt(shots[0], px, py) != PixelAt(shots[1], px, py);
            if (!differs) continue;
            if (px >= 412)
                ++across;
            else
                ++name;
        }
    }
    EXPECT_GT(name, 50) << "the long name does not show";
    EXPECT_EQ(across, 0) << "the long name runs into the venue column";
}
