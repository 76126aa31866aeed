// Clicks on the world: what the HUD selects, highlights and hands the inspectors, and firing.
#include "tests/ui/Menus/HudFixture.h"

#include "game/Ents/AttrBase.h"
#include "game/Ents/Carny.h"
#include "game/Ents/Rube1.h"
#include "ui/Menus/Hud.h"
#include "ui/Menus/MenuInspectAttr.h"
#include "ui/Menus/MenuInspectPerson.h"

#include <SDL.h>

namespace {

// The middle of the entity's world box.
VECTOR3 BoxCentre(const Ent3dBase* e) {
    return {(e->worldBox[0] + e->worldBox[3]) / 2.0f, (e->worldBox[1] + e->worldBox[4]) / 2.0f,
            (e->worldBox[2] + e->worldBox[5]) / 2.0f};
}

void RightButton(bool down) {
    SDL_Event e{};
    e.type = down ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
    e.button.button = SDL_BUTTON_RIGHT;
    e.button.state = down ? SDL_PRESSED : SDL_RELEASED;
    SDL_PushEvent(&e);
}

} // namespace

TEST_F(HudTest, AClickOnTheWorldSelectsAnInspectableAttractionOnly) {
    keepLog = true;
    StartHud();
    AttrBase* stand = PlaceUnder(0, 420, 470);
    AttrBase* scenery = PlaceUnder(37, 640, 470);
    ASSERT_NE(stand, nullptr) << "no free ground under (420, 470)";
    ASSERT_NE(scenery, nullptr) << "no free ground under (640, 470)";
    ASSERT_LT(stand->info->attrType, 6);
    ASSERT_GE(scenery->info->attrType, 6);
    Step(2);
    float sx, sy, bx, by;
    ASSERT_TRUE(ScreenOf(BoxCentre(stand), &sx, &sy));
    ASSERT_TRUE(ScreenOf(BoxCentre(scenery), &bx, &by));

    // Hover highlights; leaving drops it.
    MouseMove(sx, sy);
    Step();
    EXPECT_EQ(hud->hovered.Get(), stand)
        << "the stand is not under the mouse at " << sx << ", " << sy;
    EXPECT_TRUE(stand->highlighted) << "hover did not highlight";
    MouseMove(bx, by);
    Step();
    EXPECT_FALSE(stand->highlighted) << "the old hover kept its highlight";
    EXPECT_FALSE(scenery->highlighted) << "scenery is never highlighted";

    ClickAt(sx, sy);
    ASSERT_EQ(hud->selected.Get(), stand);
    EXPECT_TRUE(stand->highlighted);
    // The attraction panel shows the stand; the people's panels stay hidden.
    auto* panel = dynamic_cast<MenuInspectAttr*>(hud->Inspector(HUD_KIND_ATTRACTION));
    ASSERT_NE(panel, nullptr);
    EXPECT_EQ(panel->Attraction(), stand);
    EXPECT_TRUE(panel->shown);
    EXPECT_FALSE(hud->Inspector(HUD_KIND_PATRON)->shown);
    EXPECT_FALSE(hud->Inspector(HUD_KIND_EMPLOYEE)->shown);
    EXPECT_NE(LogText().find("Menu: x:" + std::to_string(int(sx)) + "  y:"), std::string::npos)
        << "the world click was not logged";

    // The selection keeps its highlight when the hover moves off it.
    MouseMove(bx, by);
    Step();
    EXPECT_TRUE(stand->highlighted) << "leaving the selection dropped its highlight";

    // Scenery changes nothing.
    ClickAt(bx, by);
    EXPECT_EQ(hud->selected.Get(), stand);
    EXPECT_EQ(panel->Attraction(), stand);
    EXPECT_TRUE(panel->shown);

    // A click on a shown inspector's control or on an enabled HUD control picks nothing.
    ClickAt(700, 420);
    EXPECT_EQ(hud->selected.Get(), stand) << "a click on the inspector reached the world";
    ClickAt(30, 200);
    EXPECT_EQ(hud->selected.Get(), stand) << "a click on a speed box reached the world";
    EXPECT_EQ(panel->Attraction(), stand);

    // With the right button held nothing is picked.
    HudSelect(hud, nullptr);
    MouseMove(sx, sy);
    Step();
    RightButton(true);
    Step();
    ClickAt(sx, sy);
    EXPECT_EQ(hud->selected.Get(), nullptr) << "a click while dragging the view selected";
    RightButton(false);
    Step();
    ClickAt(sx, sy);
    EXPECT_EQ(hud->selected.Get(), stand);

    // While a type is chosen the press places, it does not select.
    HudSelect(hud, nullptr);
    hud->chosenType = Game()->attrList->Get(0);
    ClickAt(sx, sy);
    EXPECT_EQ(hud->selected.Get(), nullptr);
}

TEST_F(HudTest, PeopleAreSelectedByKindAndAFiredEmployeeCostsTheFee) {
    StartHud();
    MtGame* game = Game();
    MtGameHireCarny(game);
    auto* carny = dynamic_cast<Carny*>(EntTreeFindType(app.GetRoot(), "Carny"));
    ASSERT_NE(carny, nullptr);
    auto* patron = dynamic_cast<Rube1*>(EntCreateChild("Rube1", hud->rubeGen.Get()));
    ASSERT_NE(patron, nullptr);

    EXPECT_EQ(HudEntityKind(patron), HUD_KIND_PATRON);
    EXPECT_EQ(HudEntityKind(carny), HUD_KIND_EMPLOYEE);
    EXPECT_EQ(HudEntityKind(hud->grid.Get()), HUD_KIND_OTHER);
    EXPECT_EQ(HudEntityKind(nullptr), HUD_KIND_OTHER);

    // The people's panels are the real ones: each shows its own kind only.
    auto* rubePanel = dynamic_cast<MenuInspectPerson*>(hud->Inspector(HUD_KIND_PATRON));
    auto* carnyPanel = dynamic_cast<MenuInspectPerson*>(hud->Inspector(HUD_KIND_EMPLOYEE));
    ASSERT_NE(rubePanel, nullptr);
    ASSERT_NE(carnyPanel, nullptr);
    EXPECT_TRUE(HudSelect(hud, patron));
    EXPECT_TRUE(patron->highlighted);
    EXPECT_EQ(rubePanel->Person(), patron);
    EXPECT_TRUE(rubePanel->shown);
    EXPECT_EQ(carnyPanel->Person(), nullptr);
    EXPECT_TRUE(HudSelect(hud, carny));
    EXPECT_FALSE(patron->highlighted) << "the old selection kept its highlight";
    EXPECT_TRUE(carny->highlighted);
    EXPECT_EQ(carnyPanel->Person(), carny);
    EXPECT_TRUE(carnyPanel->shown);
    EXPECT_EQ(rubePanel->Person(), nullptr);
    EXPECT_FALSE(rubePanel->shown);
    EXPECT_FALSE(hud->Inspector(HUD_KIND_ATTRACTION)->shown)
        << "the attraction inspector opened for a person";
    EXPECT_FALSE(HudSelect(hud, hud->grid.Get()));
    EXPECT_EQ(hud->selected.Get(), carny) << "kind 3 changed the selection";

    game->cash = 20000;
    const int64_t costsBefore = game->day.costs;
    EXPECT_EQ(HudFireEmployee(hud, carny), 1);
    EXPECT_EQ(EntTreeFindType(app.GetRoot(), "Carny"), nullptr) << "the employee is still there";
    EXPECT_EQ(game->cash, 12000);
    EXPECT_EQ(game->day.costs - costsBefore, 8000) << "the fee is not among the day's costs";
    EXPECT_EQ(hud->selected.Get(), nullptr);
    for (int k = 0; k < 3; ++k)
        EXPECT_FALSE(hud->Inspector(k)->shown) << "inspector " << k << " stayed open";

    MtGameHireCarny(game);
    auto* second = EntTreeFindType(app.GetRoot(), "Carny");
    game->cash = 5000;
    EXPECT_EQ(HudFireEmployee(hud, second), 1);
    EXPECT_EQ(game->cash, 0) << "the fee took the cash below 0";
    EXPECT_EQ(HudFireEmployee(hud, nullptr), 0);
    Step(2);
}
