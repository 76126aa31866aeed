// The venue record, its database and its list.
#include "game/VenueInfo.h"

#include "engine/DebugLog.h"
#include "game/RecordRanges.h"
#include "game/WideText.h"

#include <cstddef>

void VenueInfo::BuildDb(PropDb* db) {
    // One character fewer than the wide field, so the widened text stays terminated.
    PropDbAddStringBlank(db, "name", offsetof(VenueInfo, name), 63);
    PropDbAddStringBlank(db, "description", offsetof(VenueInfo, description), 255);
    PropDbAddStringBlank(db, "texFileName", offsetof(VenueInfo, texFileName), 260);
    PropDbAddStringBlank(db, "scriptFile", offsetof(VenueInfo, scriptFile), 260);
    PropDbAddStringBlank(db, "musicFile", offsetof(VenueInfo, musicFile), 260);
    PropDbAddFloat(db, "avgFood", offsetof(VenueInfo, avgFood), 0.0f);
    PropDbAddFloat(db, "avgDrink", offsetof(VenueInfo, avgDrink), 0.0f);
    PropDbAddFloat(db, "avgRide", offsetof(VenueInfo, avgRide), 0.0f);
    PropDbAddFloat(db, "avgGame", offsetof(VenueInfo, avgGame), 0.0f);
    PropDbAddFloat(db, "avgPotty", offsetof(VenueInfo, avgPotty), 0.0f);
    PropDbAddInt(db, "avgMoney", offsetof(VenueInfo, avgMoney), 50);
    PropDbAddFloat(db, "avgFoodSat", offsetof(VenueInfo, avgFoodSat), 0.0f);
    PropDbAddFloat(db, "avgDrinkSat", offsetof(VenueInfo, avgDrinkSat), 0.0f);
    PropDbAddFloat(db, "avgRideSat", offsetof(VenueInfo, avgRideSat), 0.0f);
    PropDbAddFloat(db, "avgGameSat", offsetof(VenueInfo, avgGameSat), 0.0f);
    PropDbAddFloat(db, "delayTimer", offsetof(VenueInfo, delayTimer), 5.0f);
    PropDbAddInt(db, "baseRubes", offsetof(VenueInfo, baseRubes), 0);
    PropDbAddInt(db, "extraRubes", offsetof(VenueInfo, extraRubes), 0);
    PropDbAddFloat(db, "powerSupply", offsetof(VenueInfo, powerSupply), 0.0f);
    PropDbAddInt(db, "rent", offsetof(VenueInfo, rent), 0);
    PropDbAddInt(db, "unlockPrice", offsetof(VenueInfo, unlockPrice), 0);
    PropDbAddBool(db, "enabled", offsetof(VenueInfo, enabled), 1);
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
