// The game's global tuning: patron happiness changes, money by difficulty, opening hours,
// marketing costs and the career ranks. Read once from section "GameVals" of "Data.ini".
#pragma once

#include "game/RecordDb.h"

#include <cstdint>

// Slots of the values kept per difficulty: hard first, the reverse of the key order.
enum GameValsLevel { GV_HARD, GV_MEDIUM, GV_EASY, GV_LEVELS };

class GameVals : public Record<GameVals> {
  public:
    static constexpr const char* kTypeName = "GameVals";

    static void BuildDb(PropDb* db);

    GameVals() { InitFields(this); }

    // Reads the section (missing keys, section or file give the defaults), then widens the
    // rank titles.
    void Load(const char* iniPath, const char* section);
    // The rank a value stands for and the value of the next rank (0 at the top rank). The first
    // threshold is not consulted: anything below the second rank is the first.
    void GetTier(int value, const char16_t** title, int* next) const;
    void Dump() const;

    float hapAttrFact;
    float hapRideAborted;
    float hapBootedQueue;
    float hapQueueFull;
    float hapAttrOOS;
    float hapMaxDesire;
    float hapExtraTickets;
    float hapWinGame;
    float hapLoseGame;
    float maxPayout;
    float iconDesireDelay;
    int32_t hapRubeMod;
    float hapFreeTicket;
    int32_t randAttempts;
    int32_t wanderRangeMin;
    int32_t wanderRangeMax;
    int32_t cashMult[GV_LEVELS];
    int32_t cashStart[GV_LEVELS];
    float maintFactEasy;
    float maintFactMed;
    float maintFactHard;
    float openingTime;
    float closingTime;
    float speedDeltaMax;
    float deltaXZMax;
    float carnyRepairRate;
    float hapNoAttr;
    int32_t surveyCost;
    int32_t billsCost;
    int32_t paperCost;
    int32_t radioCost;
    int32_t tvCost;
    int32_t tierAchievement[4];
    char16_t tierName[4][256];
};
