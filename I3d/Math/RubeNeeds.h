// A patron's eight need levels, their growth over time and their relief by an attraction. The
// order is that of an attraction record's need values, so Satisfy takes those eight directly.
#pragma once

enum RubeNeed : int {
    NEED_EAT = 0,
    NEED_DRINK,
    NEED_RIDE,
    NEED_GAME,
    NEED_REST,
    NEED_TRASH,
    NEED_POTTY,
    NEED_TICKET,
    NEED_COUNT
};

// Growth per second of each need, one table for every patron (the ticket need does not grow).
extern const float g_rubeNeedRates[NEED_COUNT];

struct RubeNeeds {
    // Levels 0, multipliers 1.0.
    RubeNeeds();
    // level += rate x multiplier x dt, held in 0..1; a result that is not a number leaves the
    // level as it was.
    void Update(float dt);
    // level -= value for each of the eight values (an attraction's, in this order), held in
    // 0..1; a value that is not a number changes nothing.
    void Satisfy(const float values[NEED_COUNT]);

    float level[NEED_COUNT];
    float multiplier[NEED_COUNT];
};
