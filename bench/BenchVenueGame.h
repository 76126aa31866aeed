// The default venue chosen as the world loader chooses a venue, for benchmarks that run the game
// application on the headless device.
#pragma once

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
