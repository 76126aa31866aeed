// The placement grid entity: the cells over the carnival ground, rebuilt from the entities that
// stand on it, with the pathfinder the walkers route through and the placement screen's debug
// overlay. Its cell arithmetic is GameGridCore's (game/GameGridCore.h).
#pragma once

#include "engine/Ent3d/Ent3dBase.h"
#include "game/GameGridCore.h"

#include <cstdint>

class GameGrid : public Ent3dBase, public GameGridCore {
  public:
    GameGrid() = default;
    ~GameGrid() override;

    int CopyClassName(char* buffer) override;
    const char* GetTypeName() override { return "GameGrid"; }
    uint32_t GetClassFlags() override;
    void SetClassFlags(uint32_t word) override;
    int Create(EntNode* node) override;
    int Start() override;
    int Destroy() override;
    int DrawPre() override;
    int Draw() override;
    int VarsChanged() override;

    // ---- properties (the sizes asked for; GameGridCore holds the sizes in force) ----
    uint8_t agl = 1;
    int32_t gridCols = 128;
    int32_t gridRows = 128;
    float gridTileWidth = 2.0f;
    float gridTileHeight = 2.0f;
};

// Class "GameGrid".
intptr_t EcGameGridProc(EntNode* node, int message, intptr_t a, intptr_t b, intptr_t c);

// Allocates the cells afresh and marks every entity of the tree that stands on the grid. A refused
// size (see GameGridResize) keeps the old cells. False when refused.
bool GameGridRebuild(GameGrid* grid);
// Marks one entity's footprint (attractions by their type's footprint and turn, other entities
// by their world box); entities flagged ENT_FLAG_PASSABLE and the grid itself mark nothing.
void GameGridMarkEntity(GameGrid* grid, ENTBASE* entity);

// The class's white framed texture for the overlay; -1 without a device.
int GameGridWhiteTexture();
// The ground a grid covers (the extent query the application installs for the camera): the
// cells in force once built, else the sizes asked for from its position. False for an entity
// that is not a "GameGrid".
bool GameGridExtent(ENTBASE* entity, GridExtent* out);
