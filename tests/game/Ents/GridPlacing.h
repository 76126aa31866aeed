// Removing attractions from the grid by the inverse of placing (the footprint and its far ring
// freed, no refund), and a grid filled with one of every type placed as a player buys them.
#pragma once

#include "engine/EntTree.h"
#include "game/AttrInfo.h"
#include "game/Ents/AttrBase.h"
#include "game/Ents/AttrPlace.h"
#include "game/Ents/GameGrid.h"
#include "game/MtGame.h"
#include "game/Placement.h"

#include <algorithm>
#include <vector>

inline void GridRemove(GameGrid* grid, AttrBase* attr) {
    int fx, fz, w, d;
    PlacementFirstCell(grid, attr->info, &attr->pos, attr->yaw, &fx, &fz);
    PlacementFootprint(attr->info, YawToQuarterTurn(attr->yaw), &w, &d);
    GameGridMarkRect(grid, fx, fx + w, fz, fz + d, 1.0f);
    EntDestroyTree(attr);
}

// One attraction of every type of the game's list, left to right in rows from cell (0, 0) with
// turns cycling 0..3, neighbours sharing a ring column. Stops at the first that does not fit.
inline std::vector<AttrBase*> AttrPlaceEveryType(GameGrid* grid, ENTBASE* parent, MtGame* game) {
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
        AttrBase* attr = AttrPlace(game, grid, parent, info, type, cx, cz, type % 4);
        if (!attr) break;
        placed.push_back(attr);
        cx += w + 1;
        rowDepth = std::max(rowDepth, d + 1);
    }
    return placed;
}
