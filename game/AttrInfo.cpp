// The attraction type record, its database and its list.
#include "game/AttrInfo.h"

#include "engine/DebugLog.h"
#include "game/RecordRanges.h"
#include "game/WideText.h"

#include <cstddef>

void AttrInfo::BuildDb(PropDb* db) {
    // Text shown to the player is read narrow and widened in place, so one character fewer than
    // the wide field is read: the terminator always fits.
    PropDbAddStringBlank(db, "name", offsetof(AttrInfo, name), 63);
    PropDbAddStringBlank(db, "description", offsetof(AttrInfo, description), 255);
    PropDbAddStringBlank(db, "texFileName", offsetof(AttrInfo, texFileName), 260);
    PropDbAddStringBlank(db, "modelFileName", offsetof(AttrInfo, modelFileName), 260);
    PropDbAddStringBlank(db, "soundFile", offsetof(AttrInfo, soundFile), 260);
    PropDbAddFloat(db, "soundVolume", offsetof(AttrInfo, soundVolume), 1.0f);
    PropDbAddFloat(db, "soundMinDist", offsetof(AttrInfo, soundMinDist), 2.0f);
    PropDbAddFloat(db, "soundMaxDist", offsetof(AttrInfo, soundMaxDist), 6.0f);
    PropDbAddStringBlank(db, "musicFile", offsetof(AttrInfo, musicFile), 260);
    PropDbAddInt(db, "footX", offsetof(AttrInfo, footX), 4);
    PropDbAddInt(db, "footZ", offsetof(AttrInfo, footZ), 3);
    PropDbAddFloat(db, "footOffsetX", offsetof(AttrInfo, footOffsetX), 4.0f);
    PropDbAddFloat(db, "footOffsetZ", offsetof(AttrInfo, footOffsetZ), 3.0f);
    PropDbAddVector3Zero(db, "entryOffset", offsetof(AttrInfo, entryOffset));
    PropDbAddVector3Zero(db, "queueDir", offsetof(AttrInfo, queueDir));
    PropDbAddInt(db, "queueMax", offsetof(AttrInfo, queueMax), 8);
    PropDbAddFloat(db, "queueWaitTime", offsetof(AttrInfo, queueWaitTime), 60.0f);
    PropDbAddFloat(db, "unloadDelay", offsetof(AttrInfo, unloadDelay), 0.25f);
    PropDbAddInt(db, "deposit", offsetof(AttrInfo, deposit), 0);
    PropDbAddFloat(db, "duration", offsetof(AttrInfo, duration), 4.0f);
    PropDbAddInt(db, "winningOdds", offsetof(AttrInfo, winningOdds), 10);
    PropDbAddFloat(db, "avgValue", offsetof(AttrInfo, avgValue), 10.0f);

    // Keys in file order; each stored at its need's slot.
    static const struct {
        const char* key;
        int slot;
    } needKeys[] = {{"eat", NEED_EAT},       {"drink", NEED_DRINK}, {"ride", NEED_RIDE},
                    {"game", NEED_GAME},     {"potty", NEED_POTTY}, {"rest", NEED_REST},
                    {"ticket", NEED_TICKET}, {"trash", NEED_TRASH}};
    for (const auto& k : needKeys)
        PropDbAddFloat(db, k.key, offsetof(AttrInfo, needs) + sizeof(float) * size_t(k.slot), 0.0f);

    PropDbAddFloat(db, "degRateIdle", offsetof(AttrInfo, degRateIdle), 0.0f);
    PropDbAddFloat(db, "degRateRun", offsetof(AttrInfo, degRateRun), 0.0f);
    PropDbAddInt(db, "capacity", offsetof(AttrInfo, capacity), 1);
    // The files spell this key with a trailing blank.
    PropDbAddFloat(db, "auraBaseRange ", offsetof(AttrInfo, auraBaseRange), 0.0f);

    static const struct {
        const char* key;
        int slot;
    } auraKeys[] = {{"auraEatMag", AURA_EAT},     {"auraDrinkMag", AURA_DRINK},
                    {"auraRideMag", AURA_RIDE},   {"auraGameMag", AURA_GAME},
                    {"auraPottyMag", AURA_POTTY}, {"auraTrashMag", AURA_TRASH},
                    {"auraRestMag", AURA_REST},   {"auraTicketMag", AURA_TICKET}};
    for (const auto& k : auraKeys)
        PropDbAddFloat(db, k.key, offsetof(AttrInfo, auraMag) + sizeof(float) * size_t(k.slot),
                       0.0f);

    PropDbAddInt(db, "numBling", offsetof(AttrInfo, numBling), 0);
    PropDbAddFloat(db, "rubeRateFactor", offsetof(AttrInfo, rubeRateFactor), 0.0f);
    PropDbAddInt(db, "attrType", offsetof(AttrInfo, attrType), 0);
    PropDbAddInt(db, "tileWidth", offsetof(AttrInfo, tileWidth), 1);
    PropDbAddInt(db, "tileHeight", offsetof(AttrInfo, tileHeight), 1);
    PropDbAddInt(db, "defTicketPrice", offsetof(AttrInfo, defTicketPrice), 2);
    PropDbAddBool(db, "enabled", offsetof(AttrInfo, enabled), 1);
    PropDbAddFloat(db, "conAtIdlePower", offsetof(AttrInfo, conAtIdlePower), 0.0f);
    PropDbAddFloat(db, "conAtPeakPower", offsetof(AttrInfo, conAtPeakPower), 0.0f);
    PropDbAddFloat(db, "maxPowerGen", offsetof(AttrInfo, maxPowerGen), 0.0f);
    PropDbAddInt(db, "idleCost", offsetof(AttrInfo, idleCost), 0);
    PropDbAddInt(db, "peakCost", offsetof(AttrInfo, peakCost), 0);
    PropDbAddInt(db, "unlockPrice", offsetof(AttrInfo, unlockPrice), 0);
    PropDbAddFloat(db, "initAvgRepair", offsetof(AttrInfo, initAvgRepair), 0.0f);
}

void AttrInfo::WidenText() {
    WideFromNarrowInPlace(name, 64);
    WideFromNarrowInPlace(description, 256);
}

void AttrInfo::Dump() const {
    DbgPrintf(DBG_GENERAL, "AttrInfo \"%s\"\n", WideToUtf8(name).c_str());
    Record::Dump();
}

AttrInfoList* AttrInfoList::Load(const char* iniPath) {
    auto* list = new AttrInfoList;
    list->Read(iniPath, "Attraction", false);
    char section[80];
    for (int i = 0; i < list->Count(); ++i) {
        RecordListSectionName("Attraction", i, section, sizeof section);
        AttrInfoHoldRanges(list->Get(i), section);
    }
    return list;
}
