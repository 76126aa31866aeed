// Out-of-range record values held (see RecordRanges.h).
#include "game/RecordRanges.h"

#include "engine/DebugLog.h"
#include "game/AttrInfo.h"
#include "game/GameVals.h"
#include "game/VenueInfo.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>

namespace {
// What one record had held, gathered for its one log line.
struct Notes {
    std::string text;

    void Float(float* value, float lo, float hi, float otherwise, const char* key) {
        const float was = *value;
        float now = was;
        if (std::isnan(was))
            now = otherwise;
        else if (was < lo)
            now = lo;
        else if (was > hi)
            now = hi;
        if (now == was) return;
        *value = now;
        Add(key, (double)was, (double)now);
    }

    void Int(int32_t* value, int32_t lo, int32_t hi, const char* key) {
        const int32_t was = *value;
        const int32_t now = was < lo ? lo : was > hi ? hi : was;
        if (now == was) return;
        *value = now;
        Add(key, (double)was, (double)now);
    }

    void Add(const char* key, double was, double now) {
        char item[96];
        std::snprintf(item, sizeof item, "%s%s %g -> %g", text.empty() ? "" : ", ", key, was, now);
        text += item;
    }

    bool Log(const char* kind, const char* section) const {
        if (text.empty()) return false;
        DbgPrintf(DBG_GENERAL, "%s [%s]: out of range, held: %s\n", kind,
                  section ? section : "(none)", text.c_str());
        return true;
    }
};

const char* const kNeedKeys[NEED_COUNT] = {"eat",  "drink", "ride",  "game",
                                           "rest", "trash", "potty", "ticket"};
} // namespace

bool AttrInfoHoldRanges(AttrInfo* info, const char* section) {
    if (!info) return false;
    Notes notes;
    // A negative value adds to a need (a meal leaves its wrapper); beyond 1 it moves a level
    // no further.
    for (int i = 0; i < NEED_COUNT; ++i)
        notes.Float(&info->needs[i], -1.0f, 1.0f, 0.0f, kNeedKeys[i]);
    notes.Float(&info->rubeRateFactor, 0.0f, 1.0f, 0.0f, "rubeRateFactor");
    return notes.Log("AttrInfo", section);
}

bool VenueInfoHoldRanges(VenueInfo* venue, const char* section) {
    if (!venue) return false;
    Notes notes;
    notes.Float(&venue->avgFood, 0.0f, 1.0f, 0.0f, "avgFood");
    notes.Float(&venue->avgDrink, 0.0f, 1.0f, 0.0f, "avgDrink");
    notes.Float(&venue->avgRide, 0.0f, 1.0f, 0.0f, "avgRide");
    notes.Float(&venue->avgGame, 0.0f, 1.0f, 0.0f, "avgGame");
    notes.Float(&venue->avgPotty, 0.0f, 1.0f, 0.0f, "avgPotty");
    notes.Float(&venue->avgFoodSat, 0.0f, 1.0f, 0.0f, "avgFoodSat");
    notes.Float(&venue->avgDrinkSat, 0.0f, 1.0f, 0.0f, "avgDrinkSat");
    notes.Float(&venue->avgRideSat, 0.0f, 1.0f, 0.0f, "avgRideSat");
    notes.Float(&venue->avgGameSat, 0.0f, 1.0f, 0.0f, "avgGameSat");
    notes.Int(&venue->avgMoney, 0, INT32_MAX, "avgMoney");
    // No delay at all is no number of seconds: the default, rather than the shortest.
    if (!(venue->delayTimer > 0.0f)) {
        notes.Add("delayTimer", (double)venue->delayTimer, 5.0);
        venue->delayTimer = 5.0f;
    }
    notes.Float(&venue->delayTimer, 1.0f, 10.0f, 5.0f, "delayTimer");
    notes.Int(&venue->baseRubes, 0, REC_CROWD_MAX, "baseRubes");
    notes.Int(&venue->extraRubes, 0, REC_CROWD_MAX, "extraRubes");
    return notes.Log("VenueInfo", section);
}

bool GameValsHoldRanges(GameVals* vals, const char* section) {
    if (!vals) return false;
    Notes notes;
    const GameVals defaults;
    const struct {
        float GameVals::*field;
        const char* key;
    } haps[] = {
        {&GameVals::hapAttrFact, "hapAttrFact"},
        {&GameVals::hapRideAborted, "hapRideAborted"},
        {&GameVals::hapBootedQueue, "hapBootedQueue"},
        {&GameVals::hapQueueFull, "hapQueueFull"},
        {&GameVals::hapAttrOOS, "hapAttrOOS"},
        {&GameVals::hapMaxDesire, "hapMaxDesire"},
        {&GameVals::hapExtraTickets, "hapExtraTickets"},
        {&GameVals::hapWinGame, "hapWinGame"},
        {&GameVals::hapLoseGame, "hapLoseGame"},
        {&GameVals::hapFreeTicket, "hapFreeTicket"},
        {&GameVals::hapNoAttr, "hapNoAttr"},
    };
    for (const auto& h : haps)
        notes.Float(&(vals->*h.field), -1.0f, 1.0f, defaults.*h.field, h.key);
    notes.Int(&vals->hapRubeMod, 0, REC_CROWD_MAX, "hapRubeMod");
    notes.Float(&vals->carnyRepairRate, 0.0f, 1.0f, defaults.carnyRepairRate, "carnyRepairRate");
    return notes.Log("GameVals", section);
}
