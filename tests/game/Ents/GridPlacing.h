// Placing and removing attractions on the grid as the placement and removal screens do: the
// footprint and its ring tested free at the cursor, the position by the quarter-turn table, the
// footprint (not the ring) marked; removal by the inverse, freeing the footprint and its far ring.
#pragma once

#include "engine/EntTree.h"
#include "game/AttrInfo.h"
#include "game/Ents/AttrBase.h"
#include "game/Ents/GameGrid.h"
#include "game/Placement.h"

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
