// The placement steps: the cursor cell and model that follow the mouse while a type is chosen,
// placing the chosen type with its deposit, and removing a placed attraction with its refund.
// The grid's arithmetic and the quarter-turn table are the simulation's own (game/Placement.h),
// so placing, removing and the grid's rebuild from a saved game always agree on the cells.
#include "ui/Menus/HudPlacement.h"

#include "I3d/Math/Pick.h"
#include "engine/DebugLog.h"
#include "game/AttrInfo.h"
#include "game/Ents/AttrBase.h"
#include "game/Ents/AttrPlace.h"
#include "game/Ents/GroundHeight.h"
#include "game/GameGridCore.h"
#include "game/Money.h"
#include "game/MtGame.h"
#include "game/Placement.h"
#include "ui/Menus/Hud.h"
#include "ui/Menus/MenuGameRunning.h"

#include <algorithm>
#include <cmath>

namespace {

// A footprint of no cells would test only the grid's bounds and block nothing: such a type is
// never placed.
bool FootprintUsable(const AttrInfo* info) {
    return info && info->footX >= 1 && info->footZ >= 1;
}

} // namespace

void HudUpdateCursorCell(MenuGameRunning* hud) {
    if (!hud) return;
    GameGridCore* grid = GameGridFrom(hud->grid.Get());
    if (!grid) return;
    float nx, ny;
    hud->MouseNdc(&nx, &ny);
    VECTOR3 origin, direction;
    if (!PickRay(nx, ny, &origin, &direction)) return;
    int cx = 0, cz = 0;
    // A ray that misses the grid's plane, or meets it outside the grid, keeps the last cell.
    if (!GameGridPick(grid, &origin, &direction, &cx, &cz)) return;
    if (!GameGridWorldToCell(grid, grid->picked.x, grid->picked.z, &cx, &cz)) return;
    // The plane lies at the ground's height in the grid's middle: where the ground stands
    // higher or lower the pointer meets it elsewhere. A few steps along the ray find that point,
    // rather than taking the plane's hit: on a hill that lay under another cell than the one
    // drawn under the pointer.
    VECTOR3 ground = grid->picked;
    for (int i = 0; i < 3 && direction.y != 0.0f; ++i) {
        const float t = (GameEntGroundHeight(hud->grid.Get(), &ground) - origin.y) / direction.y;
        if (!std::isfinite(t) || t < 0.0f) break;
        ground = {origin.x + direction.x * t, ground.y, origin.z + direction.z * t};
        ground.y = GameEntGroundHeight(hud->grid.Get(), &ground);
    }
    if (!GameGridWorldToCell(grid, ground.x, ground.z, &cx, &cz)) return;
    grid->picked = ground;
    // The cursor cell is the first corner of the footprint and its ring. With a type chosen it is
    // not the pointed cell itself but shifted so that the model stands centred on the point
    // under the pointer, not up and to the right of it; a shift off the grid is refused by the
    // free test as any cell outside is.
    if (const AttrInfo* info = hud->chosenType; FootprintUsable(info)) {
        int w, d;
        PlacementFootprint(info, hud->rotation, &w, &d);
        const float fx = (ground.x - grid->originX) / grid->tileWidth;
        const float fz = (ground.z - grid->originZ) / grid->tileHeight;
        cx = int(std::floor(fx - float(w) * 0.5f + 0.5f)) - 1;
        cz = int(std::floor(fz - float(d) * 0.5f + 0.5f)) - 1;
    }
    hud->cursorCellX = cx;
    hud->cursorCellZ = cz;
    GameGridSetCursor(grid, cx, cz);
}

void HudRefreshCursor(MenuGameRunning* hud) {
    if (!hud) return;
    ENTBASE* cursor = hud->attrCursor.Get();
    if (!cursor) return;
    GameGridCore* grid = GameGridFrom(hud->grid.Get());
    const AttrInfo* info = hud->chosenType;
    if (!info) {
        cursor->SetString("modelFile", "");
        if (grid) GameGridShowFootprint(grid, false);
    } else {
        cursor->SetString("modelFile", info->modelFileName);
        if (grid) {
            int w, d;
            PlacementFootprint(info, hud->rotation, &w, &d);
            GameGridShowFootprint(grid, true);
            GameGridSetFootprint(grid, w + 2, d + 2);
        }
    }
    // Start loads the named model afresh; an empty name loads none.
    cursor->Start();
}

void HudPositionCursor(MenuGameRunning* hud) {
    if (!hud || !hud->chosenType) return;
    ENTBASE* cursor = hud->attrCursor.Get();
    const GameGridCore* grid = GameGridFrom(hud->grid.Get());
    if (!cursor || !grid) return;
    float x, z;
    AttrPlacePosition(grid, hud->chosenType, hud->rotation, hud->cursorCellX, hud->cursorCellZ, &x,
                      &z);
    cursor->SetYaw(QuarterTurnYaw(hud->rotation));
    const VECTOR3 position = {x, 0.0f, z};
    cursor->SetPos(&position);
}

void HudPlaceAttraction(MenuGameRunning* hud) {
    if (!hud || !hud->chosenType) return;
    int placed = 0;
    AttrPlace(hud->Game(), GameGridFrom(hud->grid.Get()), hud->first.Get(), hud->chosenType,
              hud->chosenIndex, hud->cursorCellX, hud->cursorCellZ, hud->rotation, &placed);
    // Nothing taken: the placement goes on unless the attraction could not be made at all.
    if (placed == 0) return;
    if (placed == 1)
        hud->rotation = 0;
    else
        DbgPrintf(DBG_GENERAL, "HudPlaceAttraction: cannot create AttrBase\n");
    HudEndPlacement(hud);
}

void HudEndPlacement(MenuGameRunning* hud) {
    if (!hud) return;
    hud->chosenType = nullptr;
    hud->chosenIndex = -1;
    HudRefreshCursor(hud);
}

int HudRemoveAttraction(MenuGameRunning* hud, ENTBASE* attraction) {
    if (!EntIsLive(attraction)) return 0;
    auto* attr = dynamic_cast<AttrBase*>(attraction);
    // A type outside the list has no value and no cells of its own to free.
    const AttrInfo* info = attr && !attr->inert ? attr->info : nullptr;
    MtGame* game = hud ? hud->Game() : nullptr;
    // A closed day's money is settled: nothing is sold back after it, and a live attraction is
    // then left standing with 0, not 1.
    if (game && game->dayClosed) {
        DbgPrintf(DBG_GENERAL, "HudRemoveAttraction: the day is closed, %s stays\n",
                  attraction->GetName());
        return 0;
    }
    if (game && info) {
        MtGameBook(game, MONEY_REFUND, AttrBaseValue(attr));
        game->onDeposit = std::max(MoneyAdd(game->onDeposit, -std::max(info->deposit, 0)), 0);
    }
    GameGridCore* grid = hud ? GameGridFrom(hud->grid.Get()) : nullptr;
    int fx, fz;
    if (grid && info && PlacementFirstCell(grid, info, &attr->pos, attr->yaw, &fx, &fz)) {
        int w, d;
        PlacementFootprint(info, YawToQuarterTurn(attr->yaw), &w, &d);
        // One column and one row more than the footprint: its ring along the far sides too.
        GameGridMarkRect(grid, fx, fx + w, fz, fz + d, 1.0f);
    }
    // The selection goes first: the inspectors are closed once, not again by the HUD hearing
    // its selected entity leave.
    if (hud) HudSelect(hud, nullptr);
    HudSetHighlight(attraction, false);
    EntDestroyTree(attraction);
    return 1;
}
