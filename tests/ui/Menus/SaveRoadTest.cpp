// A sandbox day saved and played again on the default venue through the real screens: placed
// through the HUD, ended from its debug row, saved from the end of the day under a typed name,
// loaded from the main menu's sandbox road, and saved once more from the pause menu; the two
// files must hold the same entities.
#include "tests/ui/Menus/HudFixture.h"

#include "engine/EntTree.h"
#include "game/AttrInfo.h"
#include "game/Ents/AttrBase.h"
#include "game/GameGridCore.h"
#include "game/MtGameSave.h"
#include "tests/support/TestSupport.h"
#include "ui/EditLine.h"
#include "ui/GraphicButton.h"
#include "ui/Menus/HudPlacement.h"
#include "ui/Menus/MenuClearScene.h"
#include "ui/Menus/MenuEndOfDay.h"
#include "ui/Menus/MenuGameRunningOpen.h"
#include "ui/Menus/MenuInGame.h"
#include "ui/Menus/MenuLoadList.h"
#include "ui/Menus/MenuMain.h"
#include "ui/Menus/MenuSandbox.h"
#include "ui/Menus/MenuSaveDialog.h"

#include <SDL.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace {

// What a placed attraction is, as far as a save keeps it.
struct Placed {
    int32_t type;
    float yaw;
    int cx, cz;
    bool operator==(const Placed& o) const {
        return type == o.type && std::fabs(yaw - o.yaw) < 1e-4f && cx == o.cx && cz == o.cz;
    }
    bool operator<(const Placed& o) const { return cx != o.cx ? cx < o.cx : cz < o.cz; }
};

std::ostream& operator<<(std::ostream& out, const Placed& p) {
    return out << "{type " << p.type << ", yaw " << p.yaw << ", cell " << p.cx << "," << p.cz
               << "}";
}

// Every section of an ini text but the named one, as (section, its lines in order).
std::map<std::string, std::vector<std::string>> SectionsBut(const std::string& text,
                                                            const std::string& skipped) {
    std::map<std::string, std::vector<std::string>> out;
    std::istringstream in(text);
    std::string line, section;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty()) continue;
        if (line.front() == '[') {
            section = line;
            if (section != "[" + skipped + "]") out[section];
            continue;
        }
        if (section != "[" + skipped + "]") out[section].push_back(line);
    }
    return out;
}

class SaveRoadTest : public HudTest {
  protected:
    void SetUp() override {
        HudTest::SetUp();
        // The real game object and every real screen: no stand-in for what the HUD opens.
        registerFirst = [] { EntCreateClass(EcMtGameProc, 0, 0); };
    }

    Menu3Base* Shown(const char* name) { return ShownMenu(name); }

    void Click(Ctl3Base* control) { ClickOn(control); }

    // The HUD after its venue intro, which Enter closes.
    void PassIntro() {
        for (int i = 0; i < 4 && !Shown("MenuVenueIntro"); ++i)
            Step();
        ASSERT_NE(Shown("MenuVenueIntro"), nullptr) << "the HUD showed no venue intro";
        Tap(SDL_SCANCODE_RETURN);
        ASSERT_EQ(Shown("MenuVenueIntro"), nullptr) << "Enter did not close the intro";
        hud = dynamic_cast<MenuGameRunning*>(Shown("MenuGameRunning"));
        ASSERT_NE(hud, nullptr);
        ASSERT_TRUE(hud->active);
    }

    // The name typed into the dialog's field as the player types it, then OK clicked.
    void TypeAndSave(const char* className, const char* name) {
        auto* dialog = dynamic_cast<MenuSaveDialog*>(Shown(className));
        ASSERT_NE(dialog, nullptr) << className << " is not open";
        ASSERT_TRUE(dialog->field && dialog->field->Editing() == false);
        Tap(SDL_SCANCODE_RETURN); // the field has the focus: Enter edits it
        ASSERT_TRUE(dialog->field->Editing()) << "Enter did not edit the name";
        TypeText(name);
        Step();
        Tap(SDL_SCANCODE_RETURN);
        ASSERT_STREQ(dialog->field->Text(), name);
        Click(dialog->FindCtl(SAVE_OK));
        Step();
    }

    // Start opens the day; Ctrl+C shows the debug row, whose endDay ends it.
    void EndADay() {
        MouseMove(700, 600);
        Step();
        Click(hud->startButton);
        ASSERT_EQ(Game()->dayOver, 0) << "Start did not open the day";
        Key(SDL_SCANCODE_LCTRL, true);
        Step();
        Tap(SDL_SCANCODE_C);
        Key(SDL_SCANCODE_LCTRL, false);
        Step();
        Click(hud->FindCtl(HUD_END_DAY));
        Step();
        ASSERT_EQ(Game()->dayOver, 1);
    }

    // The type chosen as the catalogue hands it to the HUD, turned by Space, and placed by a
    // click on the first screen point with room for it. False when no point had room.
    bool PlaceByClick(int type, int turns) {
        static const float kPoints[][2] = {{560, 470}, {700, 470}, {420, 470}, {560, 560},
                                           {700, 380}, {420, 380}, {560, 380}, {700, 560}};
        for (const auto& point : kPoints) {
            hud->chosenType = Game()->attrList->Get(type);
            hud->chosenIndex = type;
            MouseMove(point[0], point[1]);
            Step();
            for (int i = 0; i < turns; ++i) {
                Key(SDL_SCANCODE_SPACE, true);
                Key(SDL_SCANCODE_SPACE, false);
                Step();
            }
            ClickAt(point[0], point[1]);
            if (!hud->chosenType) return true;
        }
        HudEndPlacement(hud);
        return false;
    }

    // The attractions under "First", as the grid holds them.
    std::vector<Placed> Attractions() {
        std::vector<Placed> out;
        ENTBASE* first = EntTreeFindName(app.GetRoot(), "First");
        GameGridCore* grid = GameGridFrom(EntTreeFindType(app.GetRoot(), "GameGrid"));
        if (!first || !grid) return out;
        for (EntNode* c = first->node->firstChild; c; c = c->next) {
            auto* a = c->deleteCount == 0 ? dynamic_cast<AttrBase*>(c->object) : nullptr;
            if (!a) continue;
            Placed p{a->type, a->yaw, 0, 0};
            GameGridWorldToCell(grid, a->pos.x, a->pos.z, &p.cx, &p.cz);
            EXPECT_TRUE(GameGridCellBlocked(grid, p.cx, p.cz)) << "the grid does not hold " << p;
            out.push_back(p);
        }
        std::sort(out.begin(), out.end());
        return out;
    }
};

} // namespace

TEST_F(SaveRoadTest, ASandboxDayIsSavedLoadedAndSavedAgainThroughTheScreens) {
    StartHud(false);
    ASSERT_FALSE(HasFatalFailure());
    MtGame* game = Game();
    ASSERT_NE(MenuGameRunningOpen(app.GetMenus()), nullptr);
    PassIntro();
    ASSERT_FALSE(HasFatalFailure());
    const std::vector<Placed> none = Attractions();

    // The catalogue's choice handed to the HUD (the catalogue has its own road), then a click
    // on free ground places it.
    const int32_t cash = game->cash;
    ASSERT_TRUE(PlaceByClick(2, 0)) << "the click placed nothing";
    EXPECT_EQ(game->cash, cash - game->attrList->Get(2)->deposit);
    const std::vector<Placed> placed = Attractions();
    ASSERT_EQ(placed.size(), none.size() + 1);

    EndADay();
    ASSERT_FALSE(HasFatalFailure());
    auto* summary = dynamic_cast<MenuEndOfDay*>(Shown("MenuEndOfDay"));
    ASSERT_NE(summary, nullptr) << "the day ended on no summary";

    // Save and Exit in a sandbox asks for a name; the save goes to the main menu.
    Click(summary->FindCtl(1));
    ASSERT_EQ(Shown("MenuEndOfDay"), nullptr);
    TypeAndSave("MenuSandboxSave", "Fair");
    ASSERT_FALSE(HasFatalFailure());
    const std::string saves = MtGameSaveFolder();
    ASSERT_TRUE(PathExistsOnDisk(saves + "Fair.sbx"));
    Menu3Base* main = Shown("MainMenu");
    ASSERT_NE(main, nullptr) << "the save did not go on to the main menu";
    EXPECT_EQ(EntTreeFindName(app.GetRoot(), "First"), nullptr) << "the scene was not cleared";

    // Sandbox, Load, Start on the one row.
    Click(main->FindCtl(MAIN_SANDBOX));
    Menu3Base* sandbox = Shown("MenuSandbox");
    ASSERT_NE(sandbox, nullptr);
    Click(sandbox->FindCtl(SANDBOX_LOAD));
    auto* list = dynamic_cast<MenuLoadList*>(Shown("MenuLoadSandbox"));
    ASSERT_NE(list, nullptr);
    ASSERT_EQ(list->entries.size(), 1u);
    EXPECT_STREQ(list->entries[0].name, "Fair");
    Click(list->FindCtl(LOAD_START));
    ASSERT_EQ(Shown("MenuLoadSandbox"), nullptr) << "Start did not load the sandbox";
    PassIntro();
    ASSERT_FALSE(HasFatalFailure());
    EXPECT_EQ(Attractions(), placed) << "the HUD holds another carnival than was saved";

    // Escape pauses; Save Layout opens the sandbox dialog, which returns to the pause menu.
    MouseMove(700, 600);
    Tap(SDL_SCANCODE_ESCAPE);
    Menu3Base* pause = Shown("InGameMenu");
    ASSERT_NE(pause, nullptr) << "Escape opened no pause menu";
    Click(pause->FindCtl(INGAME_SAVE));
    TypeAndSave("MenuSandboxSave", "Fair2");
    ASSERT_FALSE(HasFatalFailure());
    EXPECT_EQ(Shown("MenuSandboxSave"), nullptr);
    EXPECT_TRUE(pause->IsActive()) << "the pause menu is not back";
    ASSERT_TRUE(PathExistsOnDisk(saves + "Fair2.sbx"));
    const auto before = SectionsBut(ReadTextFile(saves + "Fair.sbx"), "Sandbox");
    const auto after = SectionsBut(ReadTextFile(saves + "Fair2.sbx"), "Sandbox");
    EXPECT_FALSE(before.empty()) << "the first save holds no entity";
    EXPECT_EQ(before, after) << "the carnival saved again differs from the one loaded";
}

TEST_F(SaveRoadTest, ASavedSandboxLoadsByStartWithEveryAttractionAtItsCell) {
    StartHud(false);
    ASSERT_FALSE(HasFatalFailure());
    ASSERT_NE(MenuGameRunningOpen(app.GetMenus()), nullptr);
    PassIntro();
    ASSERT_FALSE(HasFatalFailure());
    ASSERT_TRUE(PlaceByClick(2, 0));
    ASSERT_TRUE(PlaceByClick(3, 1)) << "no free ground for a second attraction";
    const std::vector<Placed> saved = Attractions();
    ASSERT_EQ(saved.size(), 2u);
    ASSERT_NE(saved[0].yaw, saved[1].yaw);
    ASSERT_TRUE(MtGameSaveSandbox(Game(), "Two"));
    // Left as the end of the day leaves it: the scene cleared and the HUD gone.
    MenuClearScene();
    EntDestroyTree(hud);
    Step();
    ASSERT_TRUE(Attractions().empty());

    auto* list = dynamic_cast<MenuLoadList*>(MenuOpen("MenuLoadSandbox", app.GetMenus(), nullptr));
    ASSERT_NE(list, nullptr);
    Step();
    Click(list->FindCtl(LOAD_START));
    ASSERT_EQ(Shown("MenuLoadSandbox"), nullptr) << "Start did not load the sandbox";
    PassIntro();
    ASSERT_FALSE(HasFatalFailure());
    EXPECT_EQ(Attractions(), saved);
}

TEST_F(SaveRoadTest, RunAnotherDayGivesTheHudBackWithStartOfferedAndTheDayWaiting) {
    StartHud(false);
    ASSERT_FALSE(HasFatalFailure());
    ASSERT_NE(MenuGameRunningOpen(app.GetMenus()), nullptr);
    PassIntro();
    ASSERT_FALSE(HasFatalFailure());
    EndADay();
    ASSERT_FALSE(HasFatalFailure());
    auto* summary = dynamic_cast<MenuEndOfDay*>(Shown("MenuEndOfDay"));
    ASSERT_NE(summary, nullptr);
    EXPECT_FALSE(hud->IsActive());
    MtGame* game = Game();
    const int32_t ending = game->cash;
    Click(summary->FindCtl(0));
    EXPECT_EQ(Shown("MenuEndOfDay"), nullptr);
    EXPECT_TRUE(hud->IsActive());
    EXPECT_TRUE(hud->startButton->enabled) << "Start is not offered";
    EXPECT_EQ(game->cash, ending);
    EXPECT_EQ(game->career.cash, ending) << "start-of-day cash";
    Step(10);
    EXPECT_EQ(game->dayOver, 1) << "the day runs before Start";
    MouseMove(700, 600);
    Step();
    Click(hud->startButton);
    EXPECT_EQ(game->dayOver, 0) << "Start did not open the next day";
}
