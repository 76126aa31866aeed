// A patron's eight need levels, their growth over time and their relief by an attraction. The
// order is that of an attraction record's need values, so Satisfy takes those eight directly.
#pragma once

// Eat, drink, ride, game, rest, trash, potty, ticket: the order of the game's NEED_ constants
// (game/AttrInfo.h), which this library must not include.
constexpr int RUBE_NEED_COUNT = 8;

// Growth per second of each need, one table for every patron (the ticket need does not grow).
extern const float g_rubeNeedRates[RUBE_NEED_COUNT];

struct RubeNeeds {
    // Levels 0, multipliers 1.0.
    RubeNeeds();
    // level += rate x multiplier x dt, held in 0..1; a result that is not a number leaves the
    // level as it was.
    void Update(float dt);
    // level -= value for each of the eight values (an attraction's, in this order), held in
    // 0..1; a value that is not a number changes nothing.
    void Satisfy(const float values[RUBE_NEED_COUNT]);

    float level[RUBE_NEED_COUNT];
    float multiplier[RUBE_NEED_COUNT];
};
