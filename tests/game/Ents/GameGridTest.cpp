// The placement grid entity: its rebuild against placing and removal at every quarter turn, what
// blocks and what does not, refused sizes, and its removal notice.
#include "game/Ents/GameGrid.h"
#include "engine/DebugLog.h"
#include "engine/WorldClass.h"
#include "game/AttrInfo.h"
#include "game/Ents/Litter.h"
#include "game/Placement.h"
#include "tests/game/Ents/AttrTestSupport.h"
#include "tests/game/Ents/GridPlacing.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace {
// Records every removal it hears of.
class RemovalListener : public ENTBASE {
  public:
    int OnEntityRemoved(ENTBASE* gone) override {
        heard.push_back(gone);
        return 1;
    }
    std::vector<ENTBASE*> heard;
};
const WorldClassDef kListener = {"RemovalListener", nullptr, WorldMake<RemovalListener>, nullptr};

// Writes `height` for every height query and keeps the point asked about; like the real
// terrain, it answers 0.
class FakeTerrain : public ENTBASE {
  public:
    intptr_t Dispatch(int message, intptr_t a, intptr_t b, intptr_t c) override {
        if (message != ENT_MSG_GROUND_HEIGHT) return ENTBASE::Dispatch(message, a, b, c);
        asked = *reinterpret_cast<const VECTOR3*>(b);
        *reinterpret_cast<float*>(c) = height;
        return 0;
    }
    float height = 3.0f;
    VECTOR3 asked = {};
};
const WorldClassDef kTerrain = {"FakeTerrain", nullptr, WorldMake<FakeTerrain>, nullptr};
intptr_t TerrainProc(EntNode* n, int m, intptr_t a, intptr_t b, intptr_t c) {
    return WorldClassProc(kTerrain, n, m, a, b, c);
}
intptr_t ListenerProc(EntNode* n, int m, intptr_t a, intptr_t b, intptr_t c) {
    return WorldClassProc(kListener, n, m, a, b, c);
}
} // namespace

class GameGridTest : public AttrTest {
  protected:
    void SetUp() override {
        AttrTest::SetUp();
        EntCreateClass(EcGameGridProc, 0, 0);
        EntCreateClass(EcLitterProc, 0, 0);
        EntCreateClass(ListenerProc, 0, 0);
        EntCreateClass(TerrainProc, 0, 0);
        grid = static_cast<GameGrid*>(EntCreateChild("GameGrid", root));
        grid->SetName("GameGrid");
        grid->pos = VECTOR3{384.0f, 0.0f, 384.0f};
        grid->Start();
        ASSERT_NE(grid->cells, nullptr);
        // The ride type as a 2 x 3 footprint with its origin off centre.
        AttrInfo* info = game->attrList->Get(T_RIDE);
        info->footX = 2;
        info->footZ = 3;
        info->footOffsetX = 1.3f;
        info->footOffsetZ = 2.7f;
    }
    std::vector<float> Cells() const {
        return std::vector<float>(grid->cells, grid->cells + grid->cols * grid->rows);
    }
    AttrBase* PlaceAt(int type, int cx, int cz, int turn) {
        return AttrPlace(game, grid, world, game->attrList->Get(type), type, cx, cz, turn);
    }
    void Remove(AttrBase* attr) { GridRemove(grid, attr); }
    Litter* Solid(const float box[6]) {
        auto* e = static_cast<Litter*>(EntCreateChild("Litter", world));
        e->flags &= ~(uint32_t)ENT_FLAG_PASSABLE;
        for (int i = 0; i < 6; ++i)
            e->worldBox[i] = box[i];
        return e;
    }
    GameGrid* grid = nullptr;
};

TEST_F(GameGridTest, TheRebuildMarksTurnedAttractionsWherePlacingDid) {
    const std::vector<float> empty = Cells();
    AttrBase* placed[4];
    for (int q = 0; q < 4; ++q) {
        placed[q] = PlaceAt(T_RIDE, 10 + 10 * q, 20 + 5 * q, q);
        ASSERT_NE(placed[q], nullptr) << "turn " << q;
    }
    const std::vector<float> marked = Cells();
    EXPECT_EQ(GameGridBlockedCount(grid), 4 * 6);
    ASSERT_TRUE(GameGridRebuild(grid));
    EXPECT_EQ(Cells(), marked)
        << "after a rebuild a turned attraction must block the cells placing blocked, or patrons "
           "walk through rides and routes change after each load";
    grid->VarsChanged();
    EXPECT_EQ(Cells(), marked) << "Recalc";

    for (int q = 0; q < 4; ++q)
        Remove(placed[q]);
    EXPECT_EQ(Cells(), empty) << "removal frees exactly the cells placing blocked";
    GameGridRebuild(grid);
    EXPECT_EQ(Cells(), empty);
}

TEST_F(GameGridTest, NeighboursShareRingsAndRemovalLeavesTheOtherBlocked) {
    AttrBase* a = PlaceAt(T_RIDE, 10, 10, 0); // footprint x 11..12, z 11..13
    AttrBase* b = PlaceAt(T_RIDE, 13, 10, 1); // ring at x 13 shared; footprint x 14..16
    ASSERT_NE(a, nullptr);
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(PlaceAt(T_RIDE, 12, 10, 0), nullptr) << "overlaps a's footprint";
    const std::vector<float> both = Cells();
    Remove(a);
    for (int z = 11; z <= 12; ++z)
        for (int x = 14; x <= 16; ++x)
            EXPECT_TRUE(GameGridCellBlocked(grid, x, z)) << x << "," << z;
    GameGridRebuild(grid);
    EXPECT_EQ(GameGridBlockedCount(grid), 6);
}

TEST_F(GameGridTest, WhatBlocksAndWhatDoesNot) {
    // A piece of litter (passable), an attraction with no type record, and an entity with no
    // box mark nothing.
    LitterDrop(root, 400.0f, 400.0f);
    AttrBase* inert = Make(99);
    inert->pos = VECTOR3{400.0f, 0.0f, 400.0f};
    inert->Start();
    ASSERT_EQ(inert->info, nullptr);
    EntCreateChild("TestNull", world);
    // The default box at the world origin, an inverted box and one of NaNs.
    Litter* origin = Solid(Litter().worldBox);
    const float inverted[6] = {401.0f, 0.0f, 401.0f, 400.5f, 1.0f, 402.0f};
    const float nan[6] = {NAN, 0.0f, 400.0f, 401.0f, 1.0f, 401.0f};
    Solid(inverted);
    Solid(nan);
    GameGridRebuild(grid);
    EXPECT_EQ(GameGridBlockedCount(grid), 0);
    (void)origin;

    // A box over the grid's low corner blocks its cells inside the grid.
    const float corner[6] = {380.0f, 0.0f, 383.0f, 387.0f, 2.0f, 385.0f};
    Litter* solid = Solid(corner);
    GameGridRebuild(grid);
    EXPECT_EQ(GameGridBlockedCount(grid), 2 * 1) << "cells x 0..1 of row 0";
    EXPECT_TRUE(GameGridCellBlocked(grid, 1, 0));
    EntDestroyTree(solid);

    // A box far past both ends blocks everything, with no overflow.
    const float huge[6] = {-1e30f, 0.0f, -INFINITY, 1e30f, 1.0f, INFINITY};
    Solid(huge);
    GameGridRebuild(grid);
    EXPECT_EQ(GameGridBlockedCount(grid), 128 * 128);
}

TEST_F(GameGridTest, AttractionsAtTheEdgeOrNowhereMarkOnlyInside) {
    AttrBase* edge = Make(T_RIDE);
    edge->pos = VECTOR3{384.0f + 255.0f, 0.0f, 383.2f}; // first cell (127, -1)
    edge->Start();
    GameGridRebuild(grid);
    EXPECT_EQ(GameGridBlockedCount(grid), 2) << "only the footprint's cells inside the grid";

    edge->pos = VECTOR3{NAN, 0.0f, 390.0f};
    AttrBase* far = Make(T_RIDE);
    far->pos = VECTOR3{1e30f, 0.0f, -1e30f};
    far->Start();
    AttrInfo* info = game->attrList->Get(T_SOLO);
    info->footX = 0x7FFFFFFF; // a data file's size must not overflow the marking
    info->footZ = 0x7FFFFFFF;
    AttrBase* wide = Make(T_SOLO);
    wide->pos = VECTOR3{384.0f + 200.0f, 0.0f, 384.0f + 200.0f};
    wide->Start();
    GameGridRebuild(grid);
    int fx, fz;
    ASSERT_TRUE(PlacementFirstCell(grid, info, &wide->pos, wide->yaw, &fx, &fz));
    EXPECT_EQ(GameGridBlockedCount(grid), (128 - fx) * (128 - fz))
        << "only the wide one, from its first cell to the grid's far edges";
}

TEST_F(GameGridTest, ARefusedSizeKeepsTheCells) {
    GameGridMarkRect(grid, 5, 5, 5, 5, -1.0f);
    const std::vector<float> before = Cells();
    grid->gridCols = 0;
    grid->VarsChanged();
    grid->gridCols = 128;
    grid->gridTileHeight = NAN;
    grid->Start();
    EXPECT_EQ(Cells(), before) << "Recalc and Start with a refused size keep the old grid";
}

TEST_F(GameGridTest, PosKeepsItsHeightOffsetAcrossRebuilds) {
    grid->pos.y = 1.5f;
    GameGridRebuild(grid);
    GameGridRebuild(grid);
    EXPECT_FLOAT_EQ(grid->originY, 1.5f);
    EXPECT_FLOAT_EQ(grid->pos.y, 1.5f) << "the offset must not grow with every rebuild";
    EXPECT_FLOAT_EQ(grid->extent[4], 1.6f);
    EXPECT_FLOAT_EQ(grid->matrix.m[13], 1.5f);
}

TEST_F(GameGridTest, GridAndLitterStandOnTheTerrain) {
    auto* terrain = static_cast<FakeTerrain*>(EntCreateChild("FakeTerrain", root));
    terrain->SetName("Terrain");
    grid->pos.y = 0.5f;
    GameGridRebuild(grid);
    EXPECT_FLOAT_EQ(grid->originY, 3.5f) << "terrain height at the centre plus the offset";
    EXPECT_FLOAT_EQ(terrain->asked.x, 384.0f + 128.0f);
    EXPECT_FLOAT_EQ(terrain->asked.z, 384.0f + 128.0f);
    Litter* litter = LitterDrop(root, 400.0f, 410.0f);
    EXPECT_FLOAT_EQ(litter->matrix.m[13], 3.0f);
    EXPECT_FLOAT_EQ(terrain->asked.z, 410.0f);

    terrain->height = NAN;
    GameGridRebuild(grid);
    EXPECT_FLOAT_EQ(grid->originY, 0.5f) << "a height that is not a number counts as 0";
    grid->agl = 0;
    terrain->height = 7.0f;
    GameGridRebuild(grid);
    EXPECT_FLOAT_EQ(grid->originY, 0.5f) << "without agl the terrain is not asked";
}

TEST_F(GameGridTest, DestroyAnnouncesItselfAndIsFoundByType) {
    EXPECT_EQ(GameGridFrom(EntTreeFindType(root, "GameGrid")), static_cast<GameGridCore*>(grid));
    EXPECT_EQ(GameGridFrom(game), nullptr);
    grid->SetName("SomethingElse");
    EXPECT_EQ(EntTreeFindType(root, "GameGrid"), grid) << "found by type, never by name";
    auto* listener = static_cast<RemovalListener*>(EntCreateChild("RemovalListener", world));
    EntDestroyTree(grid);
    ASSERT_EQ(listener->heard.size(), 1u) << "walkers keep the grid in caches and must hear it go";
    EXPECT_EQ(listener->heard[0], static_cast<ENTBASE*>(grid));
    grid = nullptr;
}
