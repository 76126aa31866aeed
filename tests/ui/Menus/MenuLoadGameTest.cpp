// The fixed load screen: its controls, its keys, and CANCEL back to the main menu.
#include "tests/ui/Menus/CareerMenuDoubles.h"

#include "engine/EntTree.h"
#include "ui/GraphicButton.h"
#include "ui/Menus/MenuLoadGame.h"
#include "ui/StaticGraphic.h"

#include <cstring>

namespace {
using MenuLoadGameTest = CareerMenuTest;
} // namespace

TEST_F(MenuLoadGameTest, CancelGoesToTheMainMenuAndLoadDoesNothing) {
    StartCareerUi();
    MenuLoadGame* screen = MenuLoadGameOpen(app.GetMenus());
    ASSERT_NE(screen, nullptr);
    Step();
    EXPECT_STREQ(screen->GetName(), "LoadGame");
    auto* background = dynamic_cast<StaticGraphic*>(EntTreeFindName(screen, "Background"));
    ASSERT_NE(background, nullptr);
    auto* load = dynamic_cast<GraphicButton*>(screen->FindCtl(0));
    auto* cancel = dynamic_cast<GraphicButton*>(screen->FindCtl(1));
    ASSERT_NE(load, nullptr);
    ASSERT_NE(cancel, nullptr);
    EXPECT_STREQ(load->image.textureName, "Menu\\LoadGame\\buttonLoad.dds");
    EXPECT_EQ(load->image.right, 197);
    EXPECT_EQ(cancel->image.bottom, 55);

    // The focus starts on CANCEL; Left moves it to LOAD, which does nothing.
    Tap(SDL_SCANCODE_LEFT);
    Tap(SDL_SCANCODE_RETURN);
    EXPECT_TRUE(Opened().empty());
    EXPECT_EQ(Shown("LoadGame"), screen);
    Tap(SDL_SCANCODE_RIGHT);
    Tap(SDL_SCANCODE_RETURN);
    ASSERT_EQ(Opened().size(), 1u);
    EXPECT_EQ(Opened()[0].className, "MenuMain");
    EXPECT_EQ(Shown("LoadGame"), nullptr) << "the screen has gone";
}
