// Clicks on what stands in the grass: the ground under it and the grass itself never take the
// pick from what the player sees.
#include "tests/ui/Menus/HudFixture.h"

#include "game/AttrInfo.h"
#include "game/Ents/AttrBase.h"
#include "game/Ents/GameGrid.h"
#include "game/Ents/Rube1.h"
#include "game/Ents/RubeVisit.h"
#include "ui/Menus/Hud.h"
#include "ui/Menus/MenuInspectAttr.h"
#include "ui/Menus/MenuInspectPerson.h"

#include <string>

namespace {
constexpr int kTicketBooth = 23;

// The point at `height` (0 floor .. 1 roof) on the vertical line through the box's middle.
VECTOR3 BodyPoint(const Ent3dBase* e, float height) {
    const float* b = e->worldBox;
    return {(b[0] + b[3]) / 2.0f, b[1] + (b[4] - b[1]) * height, (b[2] + b[5]) / 2.0f};
}
} // namespace

TEST_F(HudTest, ClicksOnABoothInTheGrassAndOnAPatronInItsLineOpenTheirPanels) {
    StartHud();
    ENTBASE* blocks[256] = {};
    const int count = EntFindAllOfType(venue.root, "GrassMesh", blocks, 256);
    ASSERT_GT(count, 0) << "the venue grows no grass";
    auto* grid = static_cast<GameGrid*>(hud->grid.Get());
    ASSERT_NE(grid, nullptr);
    // A booth in the middle of a grass block.
    AttrBase* booth = nullptr;
    for (int i = 0; i < count && i < 256 && !booth; ++i) {
        const float* b = blocks[i]->GetBounds();
        if (!b) continue;
        int cx = 0, cz = 0;
        VenueDriver::CellAt(grid, (b[0] + b[3]) / 2.0f, (b[2] + b[5]) / 2.0f, &cx, &cz);
        booth = venue.Place(kTicketBooth, cx, cz);
    }
    ASSERT_NE(booth, nullptr) << "no grass block has room for a booth";
    ASSERT_EQ(std::u16string(booth->info->name), u"Ticket Booth");
    ASSERT_TRUE(venue.Fly(booth->pos.x, booth->pos.y, booth->pos.z, 0.0f, 0.5f, 30.0f));
    Step(60);

    auto* attrPanel = dynamic_cast<MenuInspectAttr*>(hud->Inspector(HUD_KIND_ATTRACTION));
    auto* rubePanel = dynamic_cast<MenuInspectPerson*>(hud->Inspector(HUD_KIND_PATRON));
    ASSERT_NE(attrPanel, nullptr);
    ASSERT_NE(rubePanel, nullptr);
    // Low on the body, where the ground just behind the front wall is nearer than the middle
    // of the booth's floor, and up to the roof.
    for (float height : {0.15f, 0.35f, 0.6f, 0.85f}) {
        float sx = 0, sy = 0;
        ASSERT_TRUE(ScreenOf(BodyPoint(booth, height), &sx, &sy));
        HudSelect(hud, nullptr);
        ClickAt(sx, sy);
        EXPECT_EQ(hud->selected.Get(), booth)
            << "the booth at " << height << " of its height, " << sx << ", " << sy;
        EXPECT_TRUE(attrPanel->shown);
        EXPECT_EQ(attrPanel->Attraction(), booth);
    }
    // A patron waiting in its line.
    auto* patron = dynamic_cast<Rube1*>(EntCreateChild("Rube1", hud->rubeGen.Get()));
    ASSERT_NE(patron, nullptr);
    patron->Start();
    AttrBaseEntryPoint(booth, &patron->pos);
    patron->VarsChanged();
    patron->target = EntRef(booth);
    RubeVisitJoinLine(patron);
    ASSERT_EQ(patron->state, RUBE_IN_LINE);
    ASSERT_EQ(AttrBaseQueueCount(booth), 1);
    Step(2);

    for (float height : {0.25f, 0.5f, 0.75f}) {
        float sx = 0, sy = 0;
        ASSERT_TRUE(ScreenOf(BodyPoint(patron, height), &sx, &sy));
        HudSelect(hud, nullptr);
        ClickAt(sx, sy);
        EXPECT_EQ(hud->selected.Get(), patron)
            << "the patron at " << height << " of its height, " << sx << ", " << sy;
        EXPECT_TRUE(rubePanel->shown);
        EXPECT_EQ(rubePanel->Person(), patron);
    }
}
