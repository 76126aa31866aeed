// The patrons' arithmetic: see RubeRules.h.
#include "game/RubeRules.h"

#include "engine/DebugLog.h"
#include "engine/Random.h"
#include "game/GameVals.h"
#include "game/VenueInfo.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace {
// Venue averages that are not numbers, or outside 0..1, would push the skewed draw outside the
// levels' range.
float Unit(float value) {
    if (!std::isfinite(value)) return 0.5f;
    return std::clamp(value, 0.0f, 1.0f);
}

float Skew(float middle) {
    return RandBellSkewF(RandGameSource(), Unit(middle));
}

const uint32_t kColours[10] = {0xFFFF0000u, 0xFF00FF00u, 0xFF0000FFu, 0xFFFFFF00u, 0xFFFF00FFu,
                               0xFF00FFFFu, 0xFFFFFFFFu, 0xFFFFFF00u, 0xFF7F0000u, 0xFF00007Fu};

// eat, drink, ride, game, rest, trash, potty, ticket
const int kNeedIcons[RUBE_NEED_COUNT] = {10, 11, 13, 12, 14, 17, 15, 16};
} // namespace

int RubeGenMaxAfterDeparture(int maximum, int ceiling, float happiness, int hapRubeMod) {
    const int64_t n = hapRubeMod;
    const int64_t t = n / 3;
    int64_t change = 0;
    if (happiness <= -1.0f)
        change = -n;
    else if (happiness <= -0.5f)
        change = -(n - t);
    else if (happiness <= -0.15f)
        change = -(n - 2 * t);
    else if (happiness >= 1.0f)
        change = n;
    else if (happiness >= 0.5f)
        change = n - t;
    else if (happiness >= 0.15f)
        change = n - 2 * t;
    int64_t result = (int64_t)maximum + change;
    if (result > ceiling) result = ceiling;
    if (result < RUBE_GEN_MIN_MAX) result = RUBE_GEN_MIN_MAX;
    return (int)result;
}

int RubeGenMaxAfterExtra(int maximum, int ceiling, int extra) {
    const int64_t result = std::min<int64_t>((int64_t)maximum + extra, ceiling);
    return (int)std::max<int64_t>(result, INT32_MIN);
}

float RubeGenDelayAfterAdjust(float delay, float amount, const VenueInfo* venue) {
    if (!venue || !std::isfinite(amount) || !std::isfinite(venue->delayTimer)) return delay;
    return std::clamp(delay - amount * venue->delayTimer, 1.0f, 10.0f);
}

float RubeGenVenueDelay(const VenueInfo* venue) {
    if (!venue) return 5.0f;
    const float delay = venue->delayTimer;
    if (std::isfinite(delay) && delay > 0.0f) return delay;
    DbgPrintf(DBG_GENERAL, "RubeGen: delayTimer %g is no delay; 5.0 s used\n", (double)delay);
    return 5.0f;
}

void RubeGenDrawStart(const VenueInfo* venue, const GameVals* vals, int freeTickets,
                      RubeStart* out) {
    const VenueInfo blank{};
    const VenueInfo& v = venue ? *venue : blank;
    auto avg = [&](float value) { return venue ? value : 0.5f; };
    out->height = Skew(0.5f) * 0.8f + 1.2f;
    out->level[RUBE_EAT] = Skew(avg(v.avgFood));
    out->level[RUBE_DRINK] = Skew(avg(v.avgDrink));
    out->level[RUBE_RIDE] = Skew(avg(v.avgRide));
    out->level[RUBE_GAME] = Skew(avg(v.avgGame));
    out->level[RUBE_POTTY] = Skew(avg(v.avgPotty));
    const double money = std::trunc(2.0 * (double)Skew(0.5f) * (double)std::max(0, v.avgMoney));
    out->money = (int32_t)std::clamp(money, 500.0, (double)INT32_MAX);
    out->multiplier[RUBE_EAT] = Skew(avg(v.avgFoodSat));
    out->multiplier[RUBE_DRINK] = Skew(avg(v.avgDrinkSat));
    out->multiplier[RUBE_RIDE] = Skew(avg(v.avgRideSat));
    out->multiplier[RUBE_GAME] = Skew(avg(v.avgGameSat));
    const float deltaMax = vals && std::isfinite(vals->speedDeltaMax) ? vals->speedDeltaMax : 0.0f;
    out->speedBase = (Skew(0.5f) - 0.5f) * 2.0f * deltaMax;
    out->tickets = RandInt(std::clamp(freeTickets, 0, INT32_MAX - 1) + 1);
    out->happiness = (float)out->tickets * (vals ? vals->hapFreeTicket : 0.0f);
    out->colour = kColours[RandInt(10)];
}

int RubeStrongestNeed(const RubeNeeds& needs, bool leaving) {
    if (leaving) return RUBE_LEAVING;
    int best = 0;
    for (int i = 1; i < RUBE_NEED_COUNT; ++i)
        if (needs.level[i] >= needs.level[best]) best = i;
    return best;
}

int RubeNeedIcon(int need) {
    if (need == RUBE_LEAVING) return RUBE_ICON_LEAVING;
    if (need < 0 || need >= RUBE_NEED_COUNT) return -1;
    return kNeedIcons[need];
}

int RubeWanderOffset(int rangeMin, int rangeMax) {
    const int64_t span = std::llabs((int64_t)rangeMax - rangeMin);
    const int64_t side = std::min<int64_t>(span + 1, 1 << 20); // no grid is wider
    const int64_t draw = RandInt((int)(2 * side)) - side;
    const int64_t offset = draw >= 0 ? draw + rangeMin : draw - ((int64_t)rangeMin + 1);
    return (int)std::clamp<int64_t>(offset, -(1 << 24), 1 << 24);
}

int RubeLeaveTest(RubeNeeds* needs, float* happiness, const RubeLeaveInputs& in) {
    if (in.money < in.ticketCost && needs->level[RUBE_TICKET] > 0.0f) return RUBE_GO;
    if (*happiness <= -1.0f) return RUBE_GO;
    if (in.gameTime > in.closingTime - 0.5f) return RUBE_GO;
    for (int need : {RUBE_EAT, RUBE_DRINK, RUBE_RIDE, RUBE_GAME, RUBE_POTTY}) {
        if (needs->level[need] >= 1.0f) {
            *happiness += in.hapMaxDesire;
            return RUBE_GO;
        }
    }
    if (needs->level[RUBE_REST] >= 1.0f) return RUBE_GO;
    if (needs->level[RUBE_TRASH] >= 1.0f) {
        needs->level[RUBE_TRASH] = 0.0f;
        return RUBE_STAY_DROP_LITTER;
    }
    return RUBE_STAY;
}
