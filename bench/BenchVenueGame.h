// The default venue chosen as the world loader chooses a venue, for benchmarks that run the game
// application on the headless device.
#pragma once

#include "engine/EntTree.h"
#include "engine/GameApp/GameApp.h"
#include "game/MtGame.h"
#include "game/VenueInfo.h"

#include <cstdio>

// Sandbox mode on venue 0 with that venue's script: false when the venue has no record.
inline bool BenchPickDefaultVenue(MtGame* mt) {
    if (!mt) return false;
    mt->mode = MTGAME_SANDBOX;
    MtGameSetVenue(mt, 0);
    const VenueInfo* venue = MtGameVenue(mt);
    std::snprintf(mt->scriptPath, sizeof mt->scriptPath, "%.259s", venue ? venue->scriptFile : "");
    return venue != nullptr;
}

// The default venue picked and its world built by the game's own new-game step.
inline bool BenchNewDefaultVenue(MtGame* mt) {
    return BenchPickDefaultVenue(mt) && MtGameNewGame(mt);
}

// The started game's object with the default venue built and three frames lived, as the HUD
// finds it; null when any step fails.
inline MtGame* BenchOpenDefaultVenue(GameApp& game) {
    auto* mt = static_cast<MtGame*>(EntTreeFindType(game.GetRoot(), "MtGame"));
    if (!BenchNewDefaultVenue(mt)) return nullptr;
    for (int i = 0; i < 3; ++i) {
        game.Update();
        game.Render();
    }
    return mt;
}
