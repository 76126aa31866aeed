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

#include "I3d/Math/Pick.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace {
constexpr int kTicketBooth = 23;

// The point at `height` (0 floor .. 1 roof) on the box's side that faces the camera, below its
// middle: where the player sees the entity's front.
VECTOR3 FrontPoint(const Ent3dBase* e, float height) {
    const float* b = e->worldBox;
    VECTOR3 eye{}, dir{};
    PickRay(0.0f, 0.0f, &eye, &dir);
    const float cx = (b[0] + b[3]) / 2.0f, cz = (b[2] + b[5]) / 2.0f;
    float dx = eye.x - cx, dz = eye.z - cz;
    const float len = std::sqrt(dx * dx + dz * dz);
    dx /= len;
    dz /= len;
    // To the box's side, a little inside it.
    const float tx = std::fabs(dx) > 1e-6f ? (b[3] - b[0]) / 2.0f / std::fabs(dx) : 1e30f;
    const float tz = std::fabs(dz) > 1e-6f ? (b[5] - b[2]) / 2.0f / std::fabs(dz) : 1e30f;
    const float t = 0.95f * std::min(tx, tz);
    return {cx + dx * t, b[1] + (b[4] - b[1]) * height, cz + dz * t};
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
    // Low on its front wall, where the ground just behind the wall is nearer than the middle of
    // the booth's floor, and up to the roof.
    for (float height : {0.1f, 0.25f, 0.5f, 0.85f}) {
        float sx = 0, sy = 0;
        ASSERT_TRUE(ScreenOf(FrontPoint(booth, height), &sx, &sy));
        HudSelect(hud, nullptr);
        ClickAt(sx, sy);
        EXPECT_EQ(hud->selected.Get(), booth)
            << "the booth at " << height << " of its height, " << sx << ", " << sy << ": "
            << (hud->hovered.Get() ? hud->hovered.Get()->GetTypeName() : "nothing") << " picked";
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
        ASSERT_TRUE(ScreenOf(FrontPoint(patron, height), &sx, &sy));
        HudSelect(hud, nullptr);
        ClickAt(sx, sy);
        EXPECT_EQ(hud->selected.Get(), patron)
            << "the patron at " << height << " of its height, " << sx << ", " << sy;
        EXPECT_TRUE(rubePanel->shown);
        EXPECT_EQ(rubePanel->Person(), patron);
    }
}
