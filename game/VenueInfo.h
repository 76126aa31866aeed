// A venue: where a carnival sets up, the script that builds its world, the patrons it sends, its
// power, rent and unlock price. The venue list of "Venue.ini" holds one per venue; the index in
// the list is the venue index of the game and of the career's unlock string.
#pragma once

#include "game/RecordDb.h"
#include "game/RecordList.h"

#include <cstdint>

class VenueInfo : public Record<VenueInfo> {
  public:
    static constexpr const char* kTypeName = "VenueInfo";

    static void BuildDb(PropDb* db);

    VenueInfo() { InitFields(this); }

    // Turns the narrow "name" and "description" just read into wide text.
    void WidenText();
    void Dump() const;

    char16_t name[64];
    char16_t description[256];
    char texFileName[261];
    char scriptFile[261];
    char musicFile[261];
    float avgFood;
    float avgDrink;
    float avgRide;
    float avgGame;
    float avgPotty;
    int32_t avgMoney;
    float avgFoodSat;
    float avgDrinkSat;
    float avgRideSat;
    float avgGameSat;
    float delayTimer;
    int32_t baseRubes;
    int32_t extraRubes;
    float powerSupply;
    int32_t rent;
    int32_t unlockPrice;
    uint8_t enabled;
};

class VenueInfoList : public RecordList<VenueInfo> {
  public:
    // Reads section "Venue" and its numbered sections. A count of 0 gives an empty list; a
    // missing file, a missing section or a negative count give one venue of defaults. Never null.
    static VenueInfoList* Load(const char* iniPath);
};
