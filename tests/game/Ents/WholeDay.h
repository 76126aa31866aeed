// A whole carnival day on the shipped data with no kernel: the patrons' carnival (a 128 x 128
// grid at (384, 0, 384), a power grid, the generator under "First" with two spawn points on free
// cells), career mode on venue 0, attractions placed as the placing screen does, carnies hired
// through the game object, and the application's frame (the light chasers, the scripts, the tree
// from "Root") at a fixed step. The whole-day tests and the simulation benchmarks run it.
#pragma once

#include "engine/EntIniLoader.h"
#include "engine/EntTree.h"
#include "game/AttrInfo.h"
#include "game/Ents/AttrBase.h"
#include "game/Ents/AttrPlace.h"
#include "game/Ents/Carny.h"
#include "game/GameGridCore.h"
#include "game/MtGame.h"
#include "game/MtPowerGrid.h"
#include "game/Placement.h"
#include "tests/game/Ents/CarnyWorld.h"

#include <algorithm>
#include <string>
#include <vector>

// Set in a sanitizer build: whole venues' days run in the release build only.
#if defined(__SANITIZE_ADDRESS__)
#define FL_SANITIZED 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define FL_SANITIZED 1
#endif
#endif

struct WholeDay {
    explicit WholeDay(uint32_t seed = 1, const std::string& data = {}) : cw(seed, true, data) {
        game = cw.w.game;
        game->mode = MTGAME_CAREER;
        game->career.Reset();
        grid = cw.w.grid;
        grid->agl = 0;
        // Automatic names count on from the tree, as in a fresh session: every run names alike.
        EntAutoNameResync(cw.w.h->root);
    }

    // The type at the next place of the rows that fits, placed as the placing screen places it;
    // null when no place is left. Rows run along x from cell 2 with a cell between rings.
    AttrBase* Place(int type) {
        const AttrInfo* info = game->attrList->Get(type);
        if (!info) return nullptr;
        const int turn = placed % 4;
        int w, d;
        PlacementFootprint(info, turn, &w, &d);
        for (;;) {
            if (cx + w + 2 > grid->cols - 2) {
                cx = 2;
                cz += rowDepth + 1;
                rowDepth = 0;
            }
            if (cz + d + 2 > kLastRow) return nullptr;
            AttrBase* attr = AttrPlace(game, grid, cw.w.h->first, info, type, cx, cz, turn);
            cx += w + 2;
            rowDepth = std::max(rowDepth, d + 2);
            if (!attr) continue;
            attrs.push_back(attr);
            ++placed;
            return attr;
        }
    }

    // The two spawn points, on free cells below the rows.
    void AddSpawnPoints() {
        cw.w.AddSpawnPoint(cw.Cell(40, kSpawnRow).x, cw.Cell(40, kSpawnRow).z);
        cw.w.AddSpawnPoint(cw.Cell(90, kSpawnRow).x, cw.Cell(90, kSpawnRow).z);
    }

    // Career cash, then the game object's start of day and the in-game screen's opening.
    void Open(int32_t careerCash) {
        game->career.cash = careerCash;
        MtGameStartDay(game);
        cw.w.h->OpenDay();
    }

    void Frame() {
        AttrFlashTick(cw.w.h->options.dt);
        cw.w.h->Frame();
        seconds += cw.w.h->options.dt;
    }

    int Patrons() const { return cw.CountOf("Rube1"); }

    // The peak power demand of the placed attractions.
    float PeakDemand() const {
        float sum = 0.0f;
        for (const AttrBase* a : attrs)
            if (a->info) sum += a->info->conAtPeakPower;
        return sum;
    }

    int IdleCostSum() const {
        int sum = 0;
        for (const AttrBase* a : attrs)
            if (a->info) sum += a->info->idleCost;
        return sum;
    }

    static constexpr int kLastRow = 110;
    static constexpr int kSpawnRow = 120;

    CarnyWorld cw;
    MtGame* game = nullptr;
    GameGrid* grid = nullptr;
    std::vector<AttrBase*> attrs;
    int placed = 0, cx = 2, cz = 2, rowDepth = 0;
    double seconds = 0.0;
};

// The shipped set of about 60: six ticket booths, food and drink, rides, restrooms, bins,
// benches, a tent, fountains and a game.
inline std::vector<int> CrowdDayTypes() {
    std::vector<int> types;
    for (int i = 0; i < 6; ++i)
        types.push_back(23);
    for (int t = 0; t <= 11; ++t)
        types.push_back(t);
    for (int t : {14, 15, 16, 17, 18, 19, 20, 21, 26, 32, 33, 34, 38, 39, 40, 41, 50, 53, 54, 60})
        types.push_back(t);
    for (int t : {24, 24, 28, 28, 12, 12, 12, 12, 12, 12, 29, 29, 13, 13, 13, 13, 30, 25, 25, 42})
        types.push_back(t);
    return types;
}

// A day for a crowd of `patrons`: venue 0 with "baseRubes" that many, "extraRubes" 0,
// "delayTimer" 0.25 and a supply far above the demand, the set above placed, the spawn points,
// ten carnies hired and the gates opened with cash to spare.
inline void SetUpCrowdDay(WholeDay* d, int patrons) {
    VenueInfo* venue = d->game->venue;
    venue->baseRubes = patrons;
    venue->extraRubes = 0;
    venue->delayTimer = 0.25f;
    venue->powerSupply = 100000.0f;
    for (int type : CrowdDayTypes())
        d->Place(type);
    d->AddSpawnPoints();
    MtGameStartDay(d->game);
    for (int i = 0; i < 10; ++i)
        MtGameHireCarny(d->game);
    // The power grid took the venue's supply at its start: the game object's slot again.
    if (auto* grid = static_cast<MtPowerGrid*>(EntTreeFindType(d->cw.w.h->root, "MtPowerGrid")))
        MtPowerGridUse(grid, d->game, venue->powerSupply, 0.0f);
    d->Open(100000000);
}
