// The grid on the shipped data with no kernel: one attraction of every shipped type placed as
// the placing screen does, turns cycling, then rebuilt; every visited type's entry reachable, and
// thousands of seeded routes that keep to free cells; a saved and loaded sandbox rebuilds the same.
#include "engine/EntIniLoader.h"
#include "engine/Random.h"
#include "game/Ents/AttrBase.h"
#include "game/MtGameLinks.h"
#include "game/MtGameSave.h"
#include "game/MtPowerGrid.h"
#include "game/WaypointPath.h"
#include "tests/game/Ents/GridPlacing.h"
#include "tests/sim/DayHarness.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <vector>

namespace {
struct Cell {
    int x, z;
};

Cell CellAt(const GameGrid* g, const VECTOR3& p) {
    Cell c;
    GameGridWorldToCell(g, p.x, p.z, &c.x, &c.z);
    return c;
}

VECTOR3 Centre(const GameGrid* g, Cell c) {
    float x, z;
    GameGridCellToWorld(g, c.x, c.z, &x, &z);
    return VECTOR3{x + g->tileWidth * 0.5f, 0.0f, z + g->tileHeight * 0.5f};
}

Cell RandomFreeCell(const GameGrid* g) {
    for (;;) {
        const Cell c = {RandInt(g->cols), RandInt(g->rows)};
        if (!GameGridCellBlocked(g, c.x, c.z)) return c;
    }
}
} // namespace

TEST(GridDay, EveryShippedTypePlacedRebuildsAsPlacedAndRoutesKeepToFreeCells) {
    DayHarness::Options options;
    options.seed = 13;
    DayHarness h(options);
    EntCreateClass(EcMtPowerGridProc, 0, 0);
    if (EntCreateClass(EcAttrBaseProc, 0, 0) == 0) MtGameSetAttrLinks(AttrBaseLinks());
    EntCreateClass(EcGameGridProc, 0, 0);
    MtGame* game = h.game;
    MtGameSetVenue(game, 0);
    ASSERT_NE(game->attrList, nullptr);

    auto* grid = static_cast<GameGrid*>(EntCreateChild("GameGrid", h.world));
    grid->pos = VECTOR3{384.0f, 0.0f, 384.0f};
    grid->Start();
    ASSERT_EQ(grid->cols, 128);
    ASSERT_EQ(GameGridBlockedCount(grid), 0) << "nothing of the bare world stands on the grid";

    const std::vector<AttrBase*> placed = AttrPlaceEveryType(grid, h.first, game);
    ASSERT_EQ((int)placed.size(), game->attrList->Count()) << "every shipped type fits the grid";
    int footSum = 0;
    for (AttrBase* attr : placed)
        footSum += attr->info->footX * attr->info->footZ;
    ASSERT_GT(footSum, 0) << "the shipped types have footprints";
    const std::vector<float> marked(grid->cells, grid->cells + 128 * 128);
    EXPECT_EQ(GameGridBlockedCount(grid), footSum);
    ASSERT_TRUE(GameGridRebuild(grid));
    EXPECT_EQ(GameGridBlockedCount(grid), footSum);
    EXPECT_TRUE(std::equal(marked.begin(), marked.end(), grid->cells))
        << "the rebuilt cells differ from those placing marked";

    WaypointPath* route = WaypointPathCreate(kGridPathPoints);
    for (AttrBase* attr : placed) {
        bool visited = false;
        for (float need : attr->info->needs)
            visited |= need > 0.0f;
        if (!visited) continue;
        const Cell entry = CellAt(grid, attr->entry);
        ASSERT_FALSE(GameGridCellBlocked(grid, entry.x, entry.z))
            << "type " << attr->type << ": its entry lies on a blocked cell";
        const VECTOR3 from = Centre(grid, entry);
        for (int i = 0; i < 1000; ++i) {
            const VECTOR3 to = Centre(grid, RandomFreeCell(grid));
            ASSERT_GT(GameGridRoute(grid, route, &from, &to), 0)
                << "type " << attr->type << ": a free cell cannot be reached from its entry";
        }
    }

    for (int i = 0; i < 10000; ++i) {
        const Cell a = RandomFreeCell(grid), b = RandomFreeCell(grid);
        const VECTOR3 from = Centre(grid, a), to = Centre(grid, b);
        const int n = GameGridRoute(grid, route, &from, &to);
        ASSERT_GT(n, 0);
        ASSERT_EQ(route->count, n);
        const Cell start = CellAt(grid, route->points[0]);
        ASSERT_TRUE(start.x == a.x && start.z == a.z) << "a route starts at its start cell";
        Cell prev = start;
        for (int k = 0; k < route->count; ++k) {
            const Cell c = CellAt(grid, route->points[k]);
            ASSERT_FALSE(GameGridCellBlocked(grid, c.x, c.z))
                << "route " << i << " crossed a blocked cell";
            if (k > 0) {
                ASSERT_TRUE(std::abs(c.x - prev.x) <= 1 && std::abs(c.z - prev.z) <= 1 &&
                            (c.x != prev.x || c.z != prev.z))
                    << "route " << i << " jumps between cells that are not neighbours";
            }
            prev = c;
        }
    }
    WaypointPathDestroy(route);

    // A sandbox saved and loaded into a world cleared of its attractions: the load restarts the
    // grid, which must block what placing blocked, from positions that went through text.
    for (AttrBase* attr : placed) {
        EntSetSourceFile(attr, ENT_SAVEGAME);
        char name[33];
        attr->SetName(EntMakeAutoName(name));
    }
    game->venue->scriptFile[0] = 0;
    ASSERT_TRUE(MtGameSaveSandbox(game, "Grid"));
    for (AttrBase* attr : placed)
        EntDestroyTree(attr);
    h.Frame();
    GameGridRebuild(grid);
    ASSERT_EQ(GameGridBlockedCount(grid), 0);
    ASSERT_TRUE(MtGameLoadSandbox(game, "Grid"));
    EXPECT_TRUE(std::equal(marked.begin(), marked.end(), grid->cells))
        << "a loaded sandbox blocks other cells than placing did";
}
