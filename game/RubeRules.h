// The patrons' arithmetic apart from their entities: the generator's maximum, delay and start
// draws, the strongest need and its icon, the wander offset and the test that sends a patron
// home. The entities (game/Ents) call these; the tests reach them without a tree.
#pragma once

#include "I3d/Math/RubeNeeds.h"

#include <cstdint>

class GameVals;
class VenueInfo;

// The need codes of RubeNeeds, and the ninth answer of a patron that is leaving.
enum RubeNeed {
    RUBE_EAT = 0,
    RUBE_DRINK = 1,
    RUBE_RIDE = 2,
    RUBE_GAME = 3,
    RUBE_REST = 4,
    RUBE_TRASH = 5,
    RUBE_POTTY = 6,
    RUBE_TICKET = 7,
    RUBE_LEAVING = 8
};

// The icon a patron leaving shows.
enum { RUBE_ICON_LEAVING = 23 };

// ---- the generator ----

// No patron has fewer than this many places at once, whatever the departures.
enum { RUBE_GEN_MIN_MAX = 5 };

// The maximum after a patron left with `happiness`: moved by hapRubeMod (n) or n - n/3 or
// n - 2(n/3) by how happy or unhappy it was, then no higher than the ceiling and no lower
// than 5.
int RubeGenMaxAfterDeparture(int maximum, int ceiling, float happiness, int hapRubeMod);
// The marketing extras: maximum + extra, no higher than the ceiling.
int RubeGenMaxAfterExtra(int maximum, int ceiling, int extra);
// delay - amount x the venue's delayTimer, held in 1..10 s; unchanged without a venue or for an
// amount that is not a number.
float RubeGenDelayAfterAdjust(float delay, float amount, const VenueInfo* venue);
// The venue's delayTimer as the spawn delay: one log line and 5.0 for a value that is not a
// positive number (it would otherwise make a patron every frame).
float RubeGenVenueDelay(const VenueInfo* venue);

// What the generator draws for a new patron, in the order of its draws.
struct RubeStart {
    float height = 1.6f;
    float level[RUBE_NEED_COUNT] = {};
    float multiplier[RUBE_NEED_COUNT] = {1, 1, 1, 1, 1, 1, 1, 1};
    int32_t money = 500;
    float speedBase = 0.0f;
    int32_t tickets = 0;
    float happiness = 0.0f;
    uint32_t colour = 0xFFFF0000u;
};

// The draws on the run-time generator. Venue averages are held in 0..1 (money at least 0) and
// the money is at least 500; a null venue gives the middle of every range.
void RubeGenDrawStart(const VenueInfo* venue, const GameVals* vals, int freeTickets,
                      RubeStart* out);

// ---- the patron ----

// The largest level, ties to the later need; RUBE_LEAVING while leaving.
int RubeStrongestNeed(const RubeNeeds& needs, bool leaving);
// The info-icon cell of a need code (RUBE_LEAVING gives the leaving icon); -1 for no code.
int RubeNeedIcon(int need);
// A wander offset in cells: |max - min| + 1 values on each side, pushed away from zero by min
// (5 and 10 give 5..10 or -12..-7). One draw on the run-time generator.
int RubeWanderOffset(int rangeMin, int rangeMax);

// What the leave test decided.
struct RubeLeaveInputs {
    int32_t money = 0;
    int32_t ticketCost = 0;
    float gameTime = 0.0f;
    float closingTime = 24.0f;
    float hapMaxDesire = 0.0f;
};
enum RubeLeaveAnswer { RUBE_STAY = 0, RUBE_GO = 1, RUBE_STAY_DROP_LITTER = 2 };
// Money, misery, the closing hour, a full need (happiness += hapMaxDesire), rest, then trash:
// a full trash need is emptied and the patron stays, dropping a piece of litter.
int RubeLeaveTest(RubeNeeds* needs, float* happiness, const RubeLeaveInputs& in);
