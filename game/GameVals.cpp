// The global tuning record and its ranks.
#include "game/GameVals.h"

#include "engine/DebugLog.h"
#include "game/RecordRanges.h"
#include "game/WideText.h"

#include <cstddef>
#include <cstdio>

void GameVals::BuildDb(PropDb* db) {
    static const struct {
        const char* key;
        size_t offset;
        float def;
    } floats1[] = {
        {"hapAttrFact", offsetof(GameVals, hapAttrFact), 0.1f},
        {"hapRideAborted", offsetof(GameVals, hapRideAborted), -0.3f},
        {"hapBootedQueue", offsetof(GameVals, hapBootedQueue), -0.2f},
        {"hapQueueFull", offsetof(GameVals, hapQueueFull), -0.1f},
        {"hapAttrOOS", offsetof(GameVals, hapAttrOOS), -0.1f},
        {"hapMaxDesire", offsetof(GameVals, hapMaxDesire), -0.25f},
        {"hapExtraTickets", offsetof(GameVals, hapExtraTickets), -0.015f},
        {"hapWinGame", offsetof(GameVals, hapWinGame), 0.2f},
        {"hapLoseGame", offsetof(GameVals, hapLoseGame), -0.02f},
        {"maxPayout", offsetof(GameVals, maxPayout), 5.0f},
        {"iconDesireDelay", offsetof(GameVals, iconDesireDelay), 10.0f},
    };
    for (const auto& v : floats1)
        PropDbAddFloat(db, v.key, intptr_t(v.offset), v.def);
    PropDbAddInt(db, "hapRubeMod", offsetof(GameVals, hapRubeMod), 3);
    PropDbAddFloat(db, "hapFreeTicket", offsetof(GameVals, hapFreeTicket), 0.025f);
    PropDbAddInt(db, "randAttempts", offsetof(GameVals, randAttempts), 3);
    PropDbAddInt(db, "wanderRangeMin", offsetof(GameVals, wanderRangeMin), 5);
    PropDbAddInt(db, "wanderRangeMax", offsetof(GameVals, wanderRangeMax), 10);

    // Keys easy, medium, hard; slots hard, medium, easy.
    const size_t mult = offsetof(GameVals, cashMult), start = offsetof(GameVals, cashStart);
    PropDbAddInt(db, "cashMultEasy", intptr_t(mult + sizeof(int32_t) * GV_EASY), 12);
    PropDbAddInt(db, "cashMultMed", intptr_t(mult + sizeof(int32_t) * GV_MEDIUM), 10);
    PropDbAddInt(db, "cashMultHard", intptr_t(mult + sizeof(int32_t) * GV_HARD), 8);
    PropDbAddInt(db, "cashStartEasy", intptr_t(start + sizeof(int32_t) * GV_EASY), 1000000);
    PropDbAddInt(db, "cashStartMed", intptr_t(start + sizeof(int32_t) * GV_MEDIUM), 500000);
    PropDbAddInt(db, "cashStartHard", intptr_t(start + sizeof(int32_t) * GV_HARD), 250000);

    static const struct {
        const char* key;
        size_t offset;
        float def;
    } floats2[] = {
        {"maintFactEasy", offsetof(GameVals, maintFactEasy), 1.0f},
        {"maintFactMed", offsetof(GameVals, maintFactMed), 1.0f},
        {"maintFactHard", offsetof(GameVals, maintFactHard), 1.0f},
        {"openingTime", offsetof(GameVals, openingTime), 10.0f},
        {"closingTime", offsetof(GameVals, closingTime), 22.5f},
        {"speedDeltaMax", offsetof(GameVals, speedDeltaMax), 0.0f},
        {"deltaXZMax", offsetof(GameVals, deltaXZMax), 0.0f},
        {"carnyRepairRate", offsetof(GameVals, carnyRepairRate), 0.01f},
        {"hapNoAttr", offsetof(GameVals, hapNoAttr), -0.25f},
    };
    for (const auto& v : floats2)
        PropDbAddFloat(db, v.key, intptr_t(v.offset), v.def);

    PropDbAddInt(db, "surveyCost", offsetof(GameVals, surveyCost), 20000);
    PropDbAddInt(db, "billsCost", offsetof(GameVals, billsCost), 20000);
    PropDbAddInt(db, "paperCost", offsetof(GameVals, paperCost), 50000);
    PropDbAddInt(db, "radioCost", offsetof(GameVals, radioCost), 150000);
    PropDbAddInt(db, "tvCost", offsetof(GameVals, tvCost), 250000);

    static const int tierDefaults[4] = {0, 20000, 50000, 100000};
    char key[32];
    for (int i = 0; i < 4; ++i) {
        std::snprintf(key, sizeof key, "tier%iAchievement", i + 1);
        PropDbAddInt(db, key,
                     intptr_t(offsetof(GameVals, tierAchievement) + sizeof(int32_t) * size_t(i)),
                     tierDefaults[i]);
    }
    // One character fewer than the wide field, so the widened title stays terminated.
    for (int i = 0; i < 4; ++i) {
        std::snprintf(key, sizeof key, "tier%iName", i + 1);
        PropDbAddStringBlank(
            db, key,
            intptr_t(offsetof(GameVals, tierName) + sizeof(GameVals::tierName[0]) * size_t(i)),
            255);
    }
}

void GameVals::Load(const char* iniPath, const char* section) {
    VarDbLoadIni(Db(), this, iniPath, section);
    GameValsHoldRanges(this, section);
    for (auto& title : tierName)
        WideFromNarrowInPlace(title, 256);
}

void GameVals::GetTier(int value, const char16_t** title, int* next) const {
    int tier, nextValue;
    if (value >= tierAchievement[3]) {
        tier = 3, nextValue = 0;
    } else if (value >= tierAchievement[2]) {
        tier = 2, nextValue = tierAchievement[3];
    } else if (value < tierAchievement[1]) {
        tier = 0, nextValue = tierAchievement[1];
    } else {
        tier = 1, nextValue = tierAchievement[2];
    }
    if (title) *title = tierName[tier];
    if (next) *next = nextValue;
}

void GameVals::Dump() const {
    DbgPrintf(DBG_GENERAL, "GameVals ranks \"%s\", \"%s\", \"%s\", \"%s\"\n",
              WideToUtf8(tierName[0]).c_str(), WideToUtf8(tierName[1]).c_str(),
              WideToUtf8(tierName[2]).c_str(), WideToUtf8(tierName[3]).c_str());
    Record::Dump();
}
