// The HUD as it is built: its controls, its first state, its music and its inspectors.
#include "tests/ui/Menus/HudFixture.h"

#include "I3d/Font.h"
#include "engine/EntTree.h"
#include "ui/Ctl3StatBar3Color.h"
#include "ui/GraphicButton.h"
#include "ui/GraphicCheckBox.h"
#include "ui/Menus/HudInspector.h"
#include "ui/Menus/MenuGameRunningOpen.h"
#include "ui/StaticGraphic.h"
#include "ui/StaticText.h"
#include "world/CursorFrame.h"
#include "world/EntMusic.h"

#include <cstring>
#include <string>

namespace {

// The static graphic of that entity name under the HUD, the n-th of its name.
StaticGraphic* Picture(ENTBASE* hud, const char* name, int nth = 0) {
    for (EntNode* c = hud->node->firstChild; c; c = c->next)
        if (auto* g = dynamic_cast<StaticGraphic*>(c->object))
            if (std::strcmp(g->GetName(), name) == 0 && nth-- == 0) return g;
    return nullptr;
}

} // namespace

TEST_F(HudTest, CreateBuildsTheTableAndStartsWithTheVenueIntro) {
    StartHud(false);
    MtGame* game = Game();
    ASSERT_NE(game, nullptr);
    game->cash = 777700;
    game->chargeCostsPending = 1;
    auto* made = dynamic_cast<MenuGameRunning*>(MenuGameRunningOpen(app.GetMenus()));
    ASSERT_NE(made, nullptr);
    hud = made;

    // Start handed over to the venue intro at once.
    ASSERT_EQ(g_hudOpened.size(), 1u);
    EXPECT_EQ(g_hudOpened[0].className, "MenuVenueIntro");
    EXPECT_EQ(g_hudOpened[0].returnMenu, hud) << "the intro must come back to the HUD";
    EXPECT_FALSE(hud->active) << "the HUD takes no input while the intro is up";
    EXPECT_EQ(game->chargeCostsPending, 0) << "Start clears the day-running flag";

    EXPECT_STREQ(hud->GetName(), "MenuGameRunning");
    EXPECT_EQ(g_cursorFrameIndex, 1);
    EXPECT_EQ(hud->shownCash, 777700) << "the cash roll starts on the cash";
    EXPECT_EQ(hud->moodCell, 20);
    EXPECT_EQ(hud->chosenIndex, -1);
    EXPECT_EQ(hud->chosenType, nullptr);

    // Graphic buttons: id, position, cell and untextured size, texture.
    struct ButtonRow {
        int32_t id;
        float x, y;
        int w, h;
        const char* texture;
    };
    const ButtonRow buttons[] = {{1, 610, 9, 93, 49, "Menu\\Hud\\ButtonBusinessReport.dds"},
                                 {0, 723, 6, 93, 59, "Menu\\Hud\\ButtonFairReport.dds"},
                                 {3, 843, 4, 70, 68, "Menu\\Hud\\ButtonManage.dds"},
                                 {15, 942, 6, 63, 52, "Menu\\Hud\\ButtonHelp.dds"},
                                 {14, 8, 282, 119, 63, "Menu\\Common\\ZobButtonStart.dds"}};
    for (const ButtonRow& row : buttons) {
        auto* b = dynamic_cast<GraphicButton*>(hud->FindCtl(row.id));
        ASSERT_NE(b, nullptr) << "button " << row.id;
        EXPECT_EQ(b->pos.x, row.x) << row.id;
        EXPECT_EQ(b->pos.y, row.y) << row.id;
        EXPECT_EQ(b->image.CellWidth(), row.w) << row.id;
        EXPECT_EQ(b->image.CellHeight(), row.h) << row.id;
        EXPECT_STREQ(b->image.textureName, row.texture) << row.id;
        EXPECT_GE(b->image.slot, 0) << row.texture << " did not load";
        if (row.id != 14) {
            EXPECT_EQ(b->width, float(row.w)) << "the size without a texture";
        }
    }
    EXPECT_EQ(hud->startButton, hud->FindCtl(14));

    // Check boxes: the speeds one radio group with 1X checked.
    const char16_t* speeds[] = {u"1/2 Time", u"1X Time", u"2X Time", u"8X Time", u"Show Grid"};
    for (int32_t id = 4; id <= 16; ++id) {
        if (id > 7 && id < 16) continue;
        auto* box = dynamic_cast<GraphicCheckBox*>(hud->FindCtl(id));
        ASSERT_NE(box, nullptr) << id;
        EXPECT_EQ(box->pos.x, 16.0f);
        EXPECT_EQ(box->pos.y, id == 16 ? 255.0f : 175.0f + 20.0f * float(id - 4)) << id;
        EXPECT_EQ(Narrow(box->label), Narrow(speeds[id == 16 ? 4 : id - 4]));
        EXPECT_EQ(box->radioGroup, id == 16 ? -1 : 0) << id;
        EXPECT_EQ(box->checked, id == 5 ? 1 : 0) << id;
        EXPECT_EQ(box->font, FontFind("Georgia_14")) << id;
    }

    // The debug row: hidden and disabled, the two draw boxes checked.
    const char* debugNames[] = {"drawPaths", "viewNormal", "drawRubes", "drawFlyups"};
    for (int32_t id = 17; id <= 22; ++id) {
        Ctl3Base* c = hud->FindCtl(id);
        ASSERT_NE(c, nullptr) << id;
        EXPECT_FALSE(c->visible) << id;
        EXPECT_FALSE(c->enabled) << id;
        if (id <= 20) {
            EXPECT_EQ(Narrow(c->label), debugNames[id - 17]);
            EXPECT_EQ(c->pos.y, 500.0f + 14.0f * float(id - 17));
            EXPECT_EQ(c->checked, id >= 19 ? 1 : 0) << debugNames[id - 17];
            EXPECT_EQ(c->font, FontFind("CourierNew9o"));
        }
    }
    EXPECT_EQ(Narrow(hud->FindCtl(22)->label), "endDay");
    EXPECT_EQ(hud->FindCtl(22)->pos.x, 10.0f);
    EXPECT_EQ(hud->FindCtl(21)->pos.y, 570.0f);
    EXPECT_EQ(hud->FindCtl(21)->liveText, hud->fpsText) << "the FPS text shows the HUD's buffer";

    // Texts: position and font.
    struct TextRow {
        int32_t id;
        float x, y;
        const char* font;
    };
    const TextRow texts[] = {{8, 210, 9, "Georgia_20"},
                             {11, 42, 78, "Georgia_16"},
                             {12, 70, 108, "Georgia_20"},
                             {21, 10, 570, "CourierNew9o"}};
    for (const TextRow& row : texts) {
        auto* t = dynamic_cast<StaticText*>(hud->FindCtl(row.id));
        ASSERT_NE(t, nullptr) << row.id;
        EXPECT_EQ(t->pos.x, row.x) << row.id;
        EXPECT_EQ(t->pos.y, row.y) << row.id;
        EXPECT_NE(t->font, nullptr) << row.font << " is not loaded";
        EXPECT_EQ(t->font, FontFind(row.font)) << row.id;
        EXPECT_EQ(t->colour, 0xFFFFFFFFu) << row.id;
    }
    ASSERT_NE(hud->hint, nullptr);
    EXPECT_EQ(Narrow(hud->hint->label),
              "place: left-click        rotate:[Space]        cancel:[Esc]");
    EXPECT_EQ(hud->hint->pos.y, 720.0f);
    EXPECT_EQ(hud->hint->font, FontFind("Georgia_14"));

    auto* bar = dynamic_cast<Ctl3StatBar3Color*>(hud->FindCtl(10));
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(std::make_tuple(bar->pos.x, bar->pos.y, bar->width, bar->height),
              std::make_tuple(382.0f, 12.0f, 124.0f, 28.0f));
    EXPECT_EQ(bar->font, FontFind("Georgia_20"));

    // Pictures: centred rectangles, uv, colour, texture.
    struct PictureRow {
        const char* name;
        int nth;
        float x, y, w, h, u1, v1;
        uint32_t colour;
        const char* texture;
    };
    const PictureRow pictures[] = {
        {"Background", 0, 512, 89, 1024, 178, 1.0f, 0.6953125f, 0xBFFFFFFFu,
         "Menu\\Hud\\ZobHudBackground.dds"},
        {"ClockFace", 0, 70, 45, 56, 56, 0.875f, 0.875f, 0xFFFFFFFFu,
         "Menu\\Hud\\ZobTimeOfDayDisc.dds"},
        {"ClockFrame", 0, 70, 45, 104, 87, 0.8125f, 0.6796875f, 0xFFFFFFFFu,
         "Menu\\Hud\\ZobTimeOfDayIconFrame.dds"},
    };
    for (const PictureRow& row : pictures) {
        StaticGraphic* g = Picture(hud, row.name, row.nth);
        ASSERT_NE(g, nullptr) << row.name;
        EXPECT_EQ(g->id, -1);
        EXPECT_EQ(std::make_tuple(g->pos.x, g->pos.y, g->width, g->height),
                  std::make_tuple(row.x, row.y, row.w, row.h))
            << row.name;
        EXPECT_EQ(g->rect.left, row.x - row.w / 2) << row.name << " is not centred";
        EXPECT_EQ(std::make_tuple(g->uv.left, g->uv.top, g->uv.right, g->uv.bottom),
                  std::make_tuple(0.0f, 0.0f, row.u1, row.v1))
            << row.name;
        EXPECT_EQ(g->colour, row.colour) << row.name;
        EXPECT_STREQ(g->textureName, row.texture);
        EXPECT_GE(g->slot, 0) << row.texture << " did not load";
    }
    ASSERT_NE(hud->moodIcon, nullptr);
    EXPECT_EQ(hud->moodIcon->id, 13);
    EXPECT_STREQ(hud->moodIcon->GetName(), "Background");
    EXPECT_EQ(std::make_tuple(hud->moodIcon->pos.x, hud->moodIcon->pos.y, hud->moodIcon->width,
                              hud->moodIcon->height),
              std::make_tuple(47.0f, 130.0f, 32.0f, 32.0f));
    EXPECT_STREQ(hud->moodIcon->textureName, "Menu\\InfoIcons");
    EXPECT_GE(hud->moodIcon->slot, 0) << "the shared icon sheet did not load";
    // Cell 20 is column 5, row 0 of the 8 x 4 sheet.
    EXPECT_EQ(std::make_tuple(hud->moodIcon->uv.left, hud->moodIcon->uv.top,
                              hud->moodIcon->uv.right, hud->moodIcon->uv.bottom),
              std::make_tuple(0.625f, 0.0f, 0.75f, 0.25f));

    // The venue's music plays.
    auto* music = dynamic_cast<EntMusic*>(EntTreeFindName(app.GetRoot(), "Music"));
    ASSERT_NE(music, nullptr);
    ASSERT_NE(game->venue, nullptr);
    EXPECT_EQ(music->playing, game->venue->musicFile);
    EXPECT_FALSE(music->playing.empty());

    // The three inspectors live hidden beside the HUD, each told to close.
    for (int kind = 0; kind < 3; ++kind) {
        Menu3Base* inspector = hud->Inspector(kind);
        ASSERT_NE(inspector, nullptr) << kHudInspectorClasses[kind];
        EXPECT_EQ(EntGetParent(inspector), app.GetMenus());
        EXPECT_FALSE(inspector->shown) << kHudInspectorClasses[kind];
    }
    EXPECT_EQ(hud->selected.Get(), nullptr);
}

TEST_F(HudTest, AVenueWithoutMusicOrWorldStillBuildsTheHud) {
    StartHud(false);
    MtGame* game = Game();
    game->venueId = 99; // no such venue
    game->venue = nullptr;
    for (const char* type : {"MtPowerGrid", "RubeGen", "GameGrid"})
        if (ENTBASE* e = EntTreeFindType(app.GetRoot(), type)) EntDestroyTree(e);
    auto* music = dynamic_cast<EntMusic*>(EntTreeFindName(app.GetRoot(), "Music"));
    ASSERT_NE(music, nullptr);
    const std::string before = music->playing;
    hud = OpenHud();
    ASSERT_NE(hud, nullptr);
    EXPECT_EQ(hud->venue, nullptr);
    EXPECT_EQ(music->playing, before) << "no venue, no new song";
    EXPECT_EQ(hud->powerGrid.Get(), nullptr);
    EXPECT_EQ(hud->rubeGen.Get(), nullptr);
    Step(3);
    EXPECT_TRUE(hud->active);
}
