// The venue record, its database and its list.
#include "game/VenueInfo.h"

#include "engine/DebugLog.h"
#include "game/RecordRanges.h"
#include "game/WideText.h"

#include <cstddef>

void VenueInfo::BuildDb(PropDb* db) {
    constexpr uint32_t f = REC_FIELD_FLAGS;
    // One character fewer than the wide field, so the widened text stays terminated.
    PropDbAddStringBlank(db, "name", offsetof(VenueInfo, name), 63, f);
    PropDbAddStringBlank(db, "description", offsetof(VenueInfo, description), 255, f);
    PropDbAddStringBlank(db, "texFileName", offsetof(VenueInfo, texFileName), 260, f);
    PropDbAddStringBlank(db, "scriptFile", offsetof(VenueInfo, scriptFile), 260, f);
    PropDbAddStringBlank(db, "musicFile", offsetof(VenueInfo, musicFile), 260, f);
    PropDbAddFloat(db, "avgFood", offsetof(VenueInfo, avgFood), 0.0f, f);
    PropDbAddFloat(db, "avgDrink", offsetof(VenueInfo, avgDrink), 0.0f, f);
    PropDbAddFloat(db, "avgRide", offsetof(VenueInfo, avgRide), 0.0f, f);
    PropDbAddFloat(db, "avgGame", offsetof(VenueInfo, avgGame), 0.0f, f);
    PropDbAddFloat(db, "avgPotty", offsetof(VenueInfo, avgPotty), 0.0f, f);
    PropDbAddInt(db, "avgMoney", offsetof(VenueInfo, avgMoney), 50, f);
    PropDbAddFloat(db, "avgFoodSat", offsetof(VenueInfo, avgFoodSat), 0.0f, f);
    PropDbAddFloat(db, "avgDrinkSat", offsetof(VenueInfo, avgDrinkSat), 0.0f, f);
    PropDbAddFloat(db, "avgRideSat", offsetof(VenueInfo, avgRideSat), 0.0f, f);
    PropDbAddFloat(db, "avgGameSat", offsetof(VenueInfo, avgGameSat), 0.0f, f);
    PropDbAddFloat(db, "delayTimer", offsetof(VenueInfo, delayTimer), 5.0f, f);
    PropDbAddInt(db, "baseRubes", offsetof(VenueInfo, baseRubes), 0, f);
    PropDbAddInt(db, "extraRubes", offsetof(VenueInfo, extraRubes), 0, f);
    PropDbAddFloat(db, "powerSupply", offsetof(VenueInfo, powerSupply), 0.0f, f);
    PropDbAddInt(db, "rent", offsetof(VenueInfo, rent), 0, f);
    PropDbAddInt(db, "unlockPrice", offsetof(VenueInfo, unlockPrice), 0, f);
    PropDbAddBool(db, "enabled", offsetof(VenueInfo, enabled), 1, f);
}

void VenueInfo::WidenText() {
    WideFromNarrowInPlace(name, 64);
    WideFromNarrowInPlace(description, 256);
}

void VenueInfo::Dump() const {
    DbgPrintf(DBG_GENERAL, "VenueInfo \"%s\"\n", WideToUtf8(name).c_str());
    Record::Dump();
}

VenueInfoList* VenueInfoList::Load(const char* iniPath) {
    auto* list = new VenueInfoList;
    list->Read(iniPath, "Venue", true);
    char section[80];
    for (int i = 0; i < list->Count(); ++i) {
        RecordListSectionName("Venue", i, section, sizeof section);
        VenueInfoHoldRanges(list->Get(i), section);
    }
    return list;
}
