// Placing an attraction as a player buys it.
#include "game/Ents/AttrPlace.h"

#include "engine/EntIniLoader.h"
#include "engine/EntTree.h"
#include "game/AttrInfo.h"
#include "game/Ents/AttrBase.h"
#include "game/GameGridCore.h"
#include "game/Money.h"
#include "game/MtGame.h"
#include "game/MtGameMoney.h"
#include "game/Placement.h"

#include <algorithm>

void AttrPlacePosition(const GameGridCore* grid, const AttrInfo* info, int turn, int cx, int cz,
                       float* x, float* z) {
    float ax, az;
    GameGridCellToWorld(grid, cx + 1, cz + 1, &ax, &az);
    PlacementPosition(info, turn, grid->tileWidth, grid->tileHeight, ax, az, x, z);
}

AttrBase* AttrPlace(MtGame* game, GameGridCore* grid, ENTBASE* parent, const AttrInfo* info,
                    int type, int cx, int cz, int turn, int* result) {
    int unused;
    int& outcome = result ? *result : unused;
    outcome = 0;
    // A footprint of no cells would test only the grid's bounds and block nothing: such a type is
    // never placed.
    if (!grid || !info || info->footX < 1 || info->footZ < 1) return nullptr;
    // A closed day's money is settled: nothing is bought after it.
    if (game && game->dayClosed) return nullptr;
    int w, d;
    PlacementFootprint(info, turn, &w, &d);
    // The rectangle tested is the one about to be marked, whatever the grid was last told.
    GameGridSetCursor(grid, cx, cz);
    GameGridSetFootprint(grid, w + 2, d + 2);
    if (!GameGridRectFree(grid)) return nullptr;

    auto* attr = dynamic_cast<AttrBase*>(EntCreateChild("AttrBase", parent));
    if (!attr) {
        // No entity would ever free the cells or give the deposit back: nothing is taken. The
        // caller logs it under its own name.
        outcome = -1;
        return nullptr;
    }
    attr->SetType(type);
    // Start stands it on the ground under its position.
    attr->agl = 1;
    float x, z;
    AttrPlacePosition(grid, info, turn, cx, cz, &x, &z);
    attr->SetPosXYZ(x, 0.0f, z);
    attr->SetYaw(QuarterTurnYaw(turn));
    // The saved game writes only the entities stamped with its name.
    EntSetSourceFile(attr, ENT_SAVEGAME);
    char name[33];
    attr->SetName(EntMakeAutoName(name, sizeof name));
    attr->ticketPrice = info->defTicketPrice;
    attr->Start();

    GameGridMarkRect(grid, cx + 1, cx + w, cz + 1, cz + d, -1.0f);
    if (game) {
        // The deposit on hand counts in full even when the cash could not cover it.
        MtGameBook(game, MONEY_DEPOSIT, info->deposit);
        game->onDeposit = MoneyAdd(game->onDeposit, std::max(info->deposit, 0));
    }
    outcome = 1;
    return attr;
}
