// The carnival's people in the game's own frame: a day on the default venue with a crowd and a
// hired carny, drawn by the application's render. Every entity is visited once by each walk
// that reaches it, the people once by the second walk, and they show in the pixels.
#include "engine/EntDrawWalk.h"
#include "engine/EntTree.h"
#include "game/Ents/Carny.h"
#include "game/Ents/GameGrid.h"
#include "game/Ents/Rube1.h"
#include "game/Ents/RubeGen.h"
#include "platform/d3d8/D3d8.h"
#include "tests/support/TexturedQuad.h"
#include "tests/venue/VenueFixture.h"
#include "tests/venue/VenuePixels.h"

#include <gtest/gtest.h>

#include <map>
#include <vector>

namespace {

struct Visits {
    int walks[4] = {};
};

void CountVisit(ENTBASE* entity, int walk, void* context) {
    auto* counts = static_cast<std::map<ENTBASE*, Visits>*>(context);
    if (walk >= 0 && walk < 4) ++(*counts)[entity].walks[walk];
}

class VenuePeople : public VenueTest {
  protected:
    // The default venue open with a ticket booth and a soda stand by the way in, a crowd of at
    // least `patrons` and one carny hired.
    void OpenWithCrowd(int patrons) {
        StartGame();
        ASSERT_TRUE(venue.Load(0, MTGAME_SANDBOX));
        auto* grid = static_cast<GameGrid*>(EntTreeFindType(app.world.Get(), "GameGrid"));
        ASSERT_NE(grid, nullptr);
        int cx = 0, cz = 0;
        VenueDriver::CellAt(grid, 470.0f, 410.0f, &cx, &cz);
        venue.Place(23, cx, cz);
        venue.Place(0, cx + 10, cz);
        venue.OpenDay();
        venue.Speed(4.0f);
        gen = static_cast<RubeGen*>(EntTreeFindType(app.world.Get(), "RubeGen"));
        ASSERT_NE(gen, nullptr);
        for (int i = 0; i < 6000 && gen->present < patrons; ++i)
            venue.frame();
        ASSERT_GE(gen->present, patrons) << "the crowd never gathered";
        MtGameHireCarny(venue.Game());
        Frames(2);
        carny = static_cast<Carny*>(EntTreeFindType(app.world.Get(), "Carny"));
        ASSERT_NE(carny, nullptr) << "the carny was not hired";
    }
    // One application render, with the pixels it left.
    std::vector<uint32_t> Rendered() {
        app.Render();
        return TexQuadReadBack(D3dDevice());
    }
    RubeGen* gen = nullptr;
    Carny* carny = nullptr;
};

TEST_F(VenuePeople, EachEntityIsVisitedOnceByEachWalkAndThePeopleByTheSecond) {
    OpenWithCrowd(8);
    std::map<ENTBASE*, Visits> counts;
    EntSetDrawVisitHook(CountVisit, &counts);
    app.Render();
    EntSetDrawVisitHook(nullptr, nullptr);
    ASSERT_FALSE(counts.empty());
    for (const auto& [entity, v] : counts) {
        EXPECT_LE(v.walks[ENT_WALK_DRAWPRE], 1) << entity->GetName() << " drawn twice";
        EXPECT_LE(v.walks[ENT_WALK_DRAW], 1) << entity->GetName() << " drawn twice";
        EXPECT_EQ(v.walks[ENT_WALK_DRAWPOST], 0) << "no editor, no third walk";
    }
    // The menus draw in their first walk alone: a second would draw their debug outlines.
    for (const auto& [entity, v] : counts) {
        ENTBASE* up = entity;
        while (up && up != app.menuRoot.Get())
            up = up->node && up->node->parent ? up->node->parent->object : nullptr;
        if (up) {
            EXPECT_EQ(v.walks[ENT_WALK_DRAW], 0) << entity->GetName() << " of the menus";
        }
    }
    int patrons = 0;
    for (int i = 0; i < RubeLiveCount(); ++i) {
        Rube1* p = RubeLiveAt(i);
        EXPECT_EQ(counts[p].walks[ENT_WALK_DRAW], 1) << p->GetName() << " never drawn";
        ++patrons;
    }
    EXPECT_GE(patrons, 8);
    EXPECT_EQ(counts[carny].walks[ENT_WALK_DRAW], 1) << "the carny is never drawn";
    EXPECT_EQ(counts[app.world.Get()].walks[ENT_WALK_DRAWPRE], 1);
    EXPECT_EQ(counts[app.world.Get()].walks[ENT_WALK_DRAW], 1);
}

// The share of a window round (px, py), `half` pixels each way, that differs by 30 levels.
double ChangedAround(const std::vector<uint32_t>& a, const std::vector<uint32_t>& b, float px,
                     float py, int half) {
    int changed = 0, total = 0;
    for (int y = int(py) - half; y < int(py) + half; ++y)
        for (int x = int(px) - half; x < int(px) + half; ++x) {
            if (x < 0 || y < 0 || x >= kVenueW || y >= kVenueH) continue;
            ++total;
            changed += PixelDiff(a[size_t(y) * kVenueW + size_t(x)],
                                 b[size_t(y) * kVenueW + size_t(x)]) >= 30;
        }
    return total ? double(changed) / total : 0.0;
}

TEST_F(VenuePeople, PatronsAndTheCarnyShowInTheFrameTheGameRenders) {
    OpenWithCrowd(6);
    ENTBASE* camera = EntTreeFindName(app.world.Get(), "Camera2");
    ASSERT_NE(camera, nullptr);
    // Close over the carny; the crowd that has gathered round the gate is in view with it.
    const VECTOR3 at = *carny->GetPos();
    ASSERT_TRUE(venue.Fly(at.x, at.y, at.z, 0.0f, 0.6f, 25.0f));
    venue.Speed(0.0f);
    Frames(150);
    for (int i = 0; i < RubeLiveCount(); ++i)
        RubeLiveAt(i)->icon.cell = -1;
    carny->icon.cell = -1;

    const std::vector<uint32_t> seen = Rendered();
    const uint32_t rubeFlags = RubeLiveAt(0)->GetClassFlags();
    const uint32_t carnyFlags = carny->GetClassFlags();
    RubeLiveAt(0)->SetClassFlags(rubeFlags & ~ENT_CLASS_DRAW);
    carny->SetClassFlags(carnyFlags & ~ENT_CLASS_DRAW);
    const std::vector<uint32_t> hidden = Rendered();
    RubeLiveAt(0)->SetClassFlags(rubeFlags);
    carny->SetClassFlags(carnyFlags);
    ASSERT_EQ(seen.size(), size_t(kVenueW) * kVenueH);
    ASSERT_EQ(hidden.size(), seen.size());

    // A character about 1.7 units high, 25 units away: its middle covers a few pixels round
    // the projection of its waist.
    auto showsAt = [&](const VECTOR3& feet, float height, double* share) {
        float px = 0, py = 0;
        const VECTOR3 waist = {feet.x, feet.y + height * 0.5f, feet.z};
        if (!VenueProject(camera, waist, &px, &py)) return false;
        if (px < 8 || py < 8 || px >= kVenueW - 8 || py >= kVenueH - 8) return false;
        *share = ChangedAround(seen, hidden, px, py, 4);
        return true;
    };
    double share = 0;
    ASSERT_TRUE(showsAt(carny->pos, carny->height, &share)) << "the carny is off screen";
    std::printf("carny: %.0f %% of its middle drawn\n", share * 100.0);
    EXPECT_GE(share, 0.25) << "the hired carny is not seen";

    int onScreen = 0, shown = 0;
    for (int i = 0; i < RubeLiveCount(); ++i) {
        Rube1* p = RubeLiveAt(i);
        if (p->animMode != 0 || !showsAt(p->pos, p->height, &share)) continue;
        ++onScreen;
        shown += share >= 0.25;
    }
    std::printf("patrons: %i of %i on screen seen\n", shown, onScreen);
    ASSERT_GE(onScreen, 1) << "no patron in view";
    // One in front of another hides it; most are seen.
    EXPECT_GE(shown * 2, onScreen) << "patrons in view are not drawn";
}

} // namespace
