// Placing and removing attractions on the grid as the placement and removal screens do: the
// footprint and its ring tested free at the cursor, the position by the quarter-turn table, the
// footprint (not the ring) marked; removal by the inverse, freeing the footprint and its far ring.
#pragma once

#include "engine/EntTree.h"
#include "game/AttrInfo.h"
#include "game/Ents/AttrBase.h"
#include "game/Ents/GameGrid.h"
#include "game/MtGame.h"
#include "game/Placement.h"

#include <algorithm>
#include <vector>

// Null when the rectangle is not free or the attraction cannot be made.
inline AttrBase* GridPlace(GameGrid* grid, ENTBASE* parent, const AttrInfo* info, int type, int cx,
                           int cz, int turn) {
    int w, d;
    PlacementFootprint(info, turn, &w, &d);
    GameGridSetCursor(grid, cx, cz);
    GameGridSetFootprint(grid, w + 2, d + 2);
    if (!GameGridRectFree(grid)) return nullptr;
    float ax, az, x, z;
    GameGridCellToWorld(grid, cx + 1, cz + 1, &ax, &az);
    PlacementPosition(info, turn, grid->tileWidth, grid->tileHeight, ax, az, &x, &z);
    auto* attr = static_cast<AttrBase*>(EntCreateChild("AttrBase", parent));
    if (!attr) return nullptr;
    attr->SetType(type);
    attr->agl = 0;
    attr->pos = VECTOR3{x, 0.0f, z};
    attr->yaw = QuarterTurnYaw(turn);
    attr->ticketPrice = info->defTicketPrice;
    attr->Start();
    GameGridMarkRect(grid, cx + 1, cx + w, cz + 1, cz + d, -1.0f);
    return attr;
}

inline void GridRemove(GameGrid* grid, AttrBase* attr) {
    int fx, fz, w, d;
    PlacementFirstCell(grid, attr->info, &attr->pos, attr->yaw, &fx, &fz);
    PlacementFootprint(attr->info, YawToQuarterTurn(attr->yaw), &w, &d);
    GameGridMarkRect(grid, fx, fx + w, fz, fz + d, 1.0f);
    EntDestroyTree(attr);
}

// One attraction of every type of the game's list, left to right in rows from cell (0, 0) with
// turns cycling 0..3, neighbours sharing a ring column. Stops at the first that does not fit.
inline std::vector<AttrBase*> GridPlaceEveryType(GameGrid* grid, ENTBASE* parent, MtGame* game) {
    std::vector<AttrBase*> placed;
    int cx = 0, cz = 0, rowDepth = 0;
    for (int type = 0; type < game->attrList->Count(); ++type) {
        const AttrInfo* info = game->attrList->Get(type);
        int w, d;
        PlacementFootprint(info, type % 4, &w, &d);
        if (cx + w + 2 > grid->cols) {
            cx = 0;
            cz += rowDepth + 1;
            rowDepth = 0;
        }
        AttrBase* attr = GridPlace(grid, parent, info, type, cx, cz, type % 4);
        if (!attr) break;
        placed.push_back(attr);
        cx += w + 1;
        rowDepth = std::max(rowDepth, d + 1);
    }
    return placed;
}
