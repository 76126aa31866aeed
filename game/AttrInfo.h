// An attraction type: its catalogue text, model, footprint, queue, timings, what a visit gives a
// patron, wear, power and costs. The attraction list of "Data.ini" holds one per type; the
// index in the list is the type index of attractions and of the career's unlock string.
#pragma once

#include "I3d/Math/MathTypes.h"
#include "game/RecordDb.h"
#include "game/RecordList.h"

#include <cstdint>

// The patron needs, in the order the record and the patrons keep them.
enum AttrNeed {
    NEED_EAT,
    NEED_DRINK,
    NEED_RIDE,
    NEED_GAME,
    NEED_REST,
    NEED_TRASH,
    NEED_POTTY,
    NEED_TICKET,
    NEED_COUNT
};

// The aura strengths are kept in an order of their own.
enum AttrAura {
    AURA_EAT,
    AURA_DRINK,
    AURA_RIDE,
    AURA_GAME,
    AURA_TRASH,
    AURA_TICKET,
    AURA_POTTY,
    AURA_REST,
    AURA_COUNT
};

// The categories "attrType" holds. The shipped data puts food and drink stands alike under 0; a
// visit's score still counts 1 as a stand. Types from ATTR_TYPE_UNPICKABLE on (scenery, fences)
// are never picked, inspected or listed with the costs and repairs.
enum AttrType {
    ATTR_TYPE_FOOD = 0,
    ATTR_TYPE_DRINK = 1,
    ATTR_TYPE_RIDE = 2,
    ATTR_TYPE_GAME = 3,
    ATTR_TYPE_UTILITY = 4,
    ATTR_TYPE_UNPICKABLE = 6
};

class AttrInfo : public Record<AttrInfo> {
  public:
    static constexpr const char* kTypeName = "AttrInfo";

    static void BuildDb(PropDb* db);

    AttrInfo() { InitFields(this); }

    // Turns the narrow "name" and "description" just read into wide text.
    void WidenText();
    void Dump() const;

    char16_t name[64];
    char16_t description[256];
    char texFileName[261];
    char modelFileName[261];
    char soundFile[261];
    float soundVolume;
    float soundMinDist;
    float soundMaxDist;
    char musicFile[261];
    int32_t footX;
    int32_t footZ;
    float footOffsetX;
    float footOffsetZ;
    VECTOR3 entryOffset;
    VECTOR3 queueDir;
    int32_t queueMax;
    float queueWaitTime;
    float unloadDelay;
    int32_t deposit;
    float duration;
    int32_t winningOdds;
    float avgValue;
    float needs[NEED_COUNT];
    float degRateIdle;
    float degRateRun;
    int32_t capacity;
    float auraBaseRange;
    float auraMag[AURA_COUNT];
    int32_t numBling;
    float rubeRateFactor;
    int32_t attrType;
    int32_t tileWidth;
    int32_t tileHeight;
    int32_t defTicketPrice;
    uint8_t enabled;
    float conAtIdlePower;
    float conAtPeakPower;
    float maxPowerGen;
    int32_t idleCost;
    int32_t peakCost;
    int32_t unlockPrice;
    float initAvgRepair;
};

class AttrInfoList : public RecordList<AttrInfo> {
  public:
    // Reads section "Attraction" and its numbered sections. A missing file, a missing section
    // or a count below 1 give one record of defaults. Never null.
    static AttrInfoList* Load(const char* iniPath);
};
