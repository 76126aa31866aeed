// A placed ride inspected by input: the default venue with the HUD open and a ride placed by the
// game's placing call at the cell under a screen point (the catalogue's choice by input is
// EquipResourceTest's), then only pushed mouse events, and the pixels read back from llvmpipe.
#include "tests/ui/Menus/InspectAttrFixture.h"

#include "I3d/Font.h"
#include "engine/FrameClock.h"
#include "game/AttrInfo.h"
#include "game/Ents/AttrBase.h"
#include "game/GameGridCore.h"
#include "tests/support/PixelChannels.h"
#include "tests/support/TestSupport.h"
#include "ui/GraphicCheckBox.h"
#include "ui/IncDecArt.h"
#include "ui/IncDecButton.h"
#include "ui/Menus/MenuPlayQuestion.h"
#include "ui/Menus/MenuRemoveAttr.h"
#include "ui/MouseCursor1.h"
#include "ui/StaticText.h"
#include "ui/StaticTextBox.h"

#include <SDL.h>

#include <cmath>
#include <cstdlib>

namespace {
// The panel's colour 0xAF8F0000 blended over what is under it.
int Blend(int under, int over) {
    const float a = float(0xAF) / 255.0f;
    return int(std::lround(float(over) * a + float(under) * (1.0f - a)));
}
} // namespace

TEST_F(InspectAttrTest, APlacedRideIsInspectedRepairedPricedQuestionedAndRemovedByInput) {
    keepLog = true;
    StartPanel(Removal::Real);
    MenuInspectAttr* panel = Panel();
    AttrBase* ride = PlaceUnder(14, 520, 470);
    ASSERT_NE(ride, nullptr) << "no free ground under (520, 470)";
    auto* cursor = dynamic_cast<MouseCursor1*>(EntTreeFindType(app.GetRoot(), "MouseCursor1"));
    ASSERT_NE(cursor, nullptr);
    cursor->enabled = 0;
    MtGame* game = Game();
    ClickAt(60, 310); // Start
    ASSERT_EQ(game->dayOver, 0) << "Start did not open the day";
    Step(2);

    // The world stands still for the frames compared.
    MtGamePause(game);
    const VECTOR3 middle = {(ride->worldBox[0] + ride->worldBox[3]) / 2.0f,
                            (ride->worldBox[1] + ride->worldBox[4]) / 2.0f,
                            (ride->worldBox[2] + ride->worldBox[5]) / 2.0f};
    float sx = 0, sy = 0;
    ASSERT_TRUE(ScreenOf(middle, &sx, &sy));
    MouseMove(sx, sy);
    Step(2);
    const std::vector<uint32_t> plain = ReadPixels();
    ClickAt(sx, sy);
    ASSERT_EQ(panel->Attraction(), ride) << "the click at " << sx << ", " << sy;
    ASSERT_TRUE(panel->shown);
    const std::vector<uint32_t> shown = ReadPixels();

    // Over an empty part of (672, 376)-(992, 736) the panel is its colour over the world (right
    // of the number boxes and the margin that takes their clicks).
    int blended = 0, other = 0;
    const int emptyLeft = int(panel->price->rect.right + kIncDecArrowMarginX) + 2;
    for (int y = 420; y < 600; ++y)
        for (int x = emptyLeft; x < 984; ++x) {
            const uint32_t under = PixelAt(plain, x, y), got = PixelAt(shown, x, y);
            const bool ok = std::abs(Red(got) - Blend(Red(under), 0x8F)) <= 3 &&
                            std::abs(Green(got) - Blend(Green(under), 0)) <= 3 &&
                            std::abs(Blue(got) - Blend(Blue(under), 0)) <= 3;
            ++(ok ? blended : other);
        }
    EXPECT_EQ(other, 0) << blended << " pixels are the panel over the world";
    // Outside it the world is as it was, but for the ride's highlight.
    int outside = 0;
    for (int y = 376; y < 736; ++y)
        for (int x = 620; x < 672; ++x)
            outside += PixelAt(plain, x, y) != PixelAt(shown, x, y);
    EXPECT_EQ(outside, 0) << "the panel reaches left of x 672";

    // The title is the type's name, as FontDraw draws it.
    auto* title = static_cast<StaticText*>(panel->FindCtl(INSPECT_ATTR_TITLE));
    ASSERT_NE(title, nullptr);
    ASSERT_NE(title->font, nullptr);
    auto* probe = static_cast<DrawProbe*>(EntCreateChild("DrawProbe", panel));
    ASSERT_NE(probe, nullptr);
    Font* font = title->font;
    const char16_t* name = ride->info->name;
    probe->draw = [&] { DrawPlainText(font, 680.0f, 384.0f, name, 0xFFFFFFFFu); };
    title->visible = 0;
    Step();
    const std::vector<uint32_t> reference = ReadPixels();
    int differ = 0, inked = 0;
    for (int y = 384; y < 416; ++y)
        for (int x = 680; x < 984; ++x) {
            differ += PixelAt(shown, x, y) != PixelAt(reference, x, y);
            inked += Green(PixelAt(shown, x, y)) > 200;
        }
    EXPECT_EQ(differ, 0) << "the title differs from the type's name drawn by hand";
    EXPECT_GT(inked, 20) << "no title was drawn";
    EntDestroyTree(probe);
    title->visible = 1;

    // Repair, then the upper half of the price.
    ClickAt(panel->repairBox->rect.left + 8,
            (panel->repairBox->rect.top + panel->repairBox->rect.bottom) / 2);
    EXPECT_EQ(ride->repairMe, 1) << "the Repair click did not ask for repair";
    const int32_t price = ride->ticketPrice;
    ClickAt(panel->price->rect.left + 20, panel->price->rect.top + 4);
    EXPECT_EQ(ride->ticketPrice, price + 1) << "the upper half did not raise the price";

    // Delete shows the removal question with the game stopped under it; the HUD and the panel
    // wait for the answer.
    game->RestoreClockSpeed();
    ASSERT_GT(app.clock->scale, 0);
    const Ctl3Base* remove = panel->FindCtl(INSPECT_ATTR_REMOVE);
    ASSERT_NE(remove, nullptr);
    const float removeX = remove->rect.left + 40, removeY = remove->rect.top + 28;
    ClickAt(removeX, removeY);
    EXPECT_NE(LogText().find("Menu: MenuRemoveAttr (MenuRemoveAttr)"), std::string::npos);
    auto* question = dynamic_cast<Menu3Base*>(EntTreeFindName(app.GetMenus(), "MenuRemoveAttr"));
    ASSERT_NE(question, nullptr);
    EXPECT_EQ(app.clock->scale, 0) << "the question did not stop the clock";
    EXPECT_FALSE(hud->active || panel->active || panel->shown);
    auto* box = dynamic_cast<StaticTextBox*>(question->FindCtl(MENU_REMOVE_MESSAGE));
    ASSERT_NE(box, nullptr);
    char16_t expected[192];
    MenuRemoveAttrMessage(AttrBaseValue(ride), ride->info->deposit, expected, 192);
    EXPECT_EQ(Narrow(box->Shown().text), Narrow(expected));

    // Enter answers Cancel: the same ride is shown again and the day goes on.
    Tap(SDL_SCANCODE_RETURN);
    Step();
    EXPECT_EQ(EntTreeFindName(app.GetMenus(), "MenuRemoveAttr"), nullptr) << "Enter did not answer";
    ASSERT_TRUE(EntIsLive(ride));
    EXPECT_TRUE(hud->active);
    EXPECT_EQ(panel->Attraction(), ride);
    EXPECT_TRUE(panel->shown);
    EXPECT_GT(app.clock->scale, 0);

    // Delete, then OK: refunded, its cells free, gone.
    auto* grid = GameGridFrom(hud->grid.Get());
    ASSERT_NE(grid, nullptr);
    const int blocked = GameGridBlockedCount(grid);
    const int32_t cash = game->cash, value = AttrBaseValue(ride);
    ClickAt(removeX, removeY);
    question = dynamic_cast<Menu3Base*>(EntTreeFindName(app.GetMenus(), "MenuRemoveAttr"));
    ASSERT_NE(question, nullptr);
    const Ctl3Base* ok = question->FindCtl(MENU_QUESTION_OK);
    ASSERT_NE(ok, nullptr);
    ClickAt((ok->rect.left + ok->rect.right) / 2, (ok->rect.top + ok->rect.bottom) / 2);
    Step();
    EXPECT_FALSE(EntIsLive(ride)) << "OK did not remove the ride";
    EXPECT_EQ(game->cash, cash + value);
    EXPECT_LT(GameGridBlockedCount(grid), blocked) << "the ride's cells are still blocked";
    EXPECT_FALSE(panel->shown);
    EXPECT_TRUE(hud->active);
}
