// A carnival for the patron tests on the day harness: the shipped venue 0 and Data.ini, a
// 128 x 128 grid at (384, 0, 384), a power grid and a generator named "RubeGen" under "First".
#pragma once

#include "engine/EntTree.h"
#include "game/Ents/AttrBase.h"
#include "game/Ents/GameGrid.h"
#include "game/Ents/Litter.h"
#include "game/Ents/Rube1.h"
#include "game/Ents/RubeGen.h"
#include "game/Ents/RubeSpawnPt.h"
#include "game/MtGame.h"
#include "game/MtGameLinks.h"
#include "game/MtPowerGrid.h"
#include "tests/sim/DayHarness.h"

#include <memory>
#include <string>

struct PatronWorld {
    // `data`: the data folder (ending in "/"); the build's generated Data/ when empty.
    explicit PatronWorld(uint32_t seed = 1, bool withGrid = true, const std::string& data = {}) {
        DayHarness::Options options;
        options.seed = seed;
        options.data = data;
        h = std::make_unique<DayHarness>(options);
        EntCreateClass(EcMtPowerGridProc, 0, 0);
        if (EntCreateClass(EcAttrBaseProc, 0, 0) == 0) MtGameSetAttrLinks(AttrBaseLinks());
        EntCreateClass(EcGameGridProc, 0, 0);
        EntCreateClass(EcLitterProc, 0, 0);
        EntCreateClass(EcRube1Proc, 0, 0);
        if (EntCreateClass(EcRubeGenProc, 0, 0) == 0) MtGameSetRubeGenLinks(RubeGenLinks());
        EntCreateClass(EcRubeSpawnPtProc, 0, 0);
        game = h->game;
        MtGameSetVenue(game, 0);
        EntCreateChild("MtPowerGrid", h->world)->Start();
        if (withGrid) {
            grid = static_cast<GameGrid*>(EntCreateChild("GameGrid", h->world));
            grid->pos = VECTOR3{384.0f, 0.0f, 384.0f};
            grid->Start();
        }
        gen = static_cast<RubeGen*>(EntCreateChild("RubeGen", h->first));
        gen->SetName("RubeGen");
        gen->pos = VECTOR3{500.0f, 0.0f, 500.0f};
    }

    RubeSpawnPt* AddSpawnPoint(float x, float z) {
        auto* pt = static_cast<RubeSpawnPt*>(EntCreateChild("RubeSpawnPt", gen));
        pt->pos = VECTOR3{x, 0.0f, z};
        pt->Start();
        return pt;
    }

    // The game object's start of day (which starts the generator), then the clock running.
    void OpenDay() {
        MtGameStartDay(game);
        h->OpenDay();
    }

    // A started patron under the generator at (x, z), with money and tickets enough to stay.
    Rube1* AddPatron(float x, float z) {
        auto* p = static_cast<Rube1*>(EntCreateChild("Rube1", gen));
        p->pos = VECTOR3{x, 0.0f, z};
        p->generator = EntRef(gen);
        p->money = 100000;
        p->tickets = 5;
        ++gen->present;
        p->Start();
        return p;
    }

    int PatronsInTree() const {
        ENTBASE* all[4096];
        return EntFindAllOfType(h->root, "Rube1", all, 4096);
    }

    std::unique_ptr<DayHarness> h;
    MtGame* game = nullptr;
    GameGrid* grid = nullptr;
    RubeGen* gen = nullptr;
};
