// The player's career: name, saved cash, which venues and attraction types are unlocked, the
// difficulty and the days played. Saved with the career (section "Career").
#pragma once

#include "game/RecordDb.h"

#include <cstdint>

class Career : public Record<Career> {
  public:
    static constexpr const char* kTypeName = "Career";

    static void BuildDb(PropDb* db);

    Career() { InitFields(this); }

    // A new profile: "Player 1", 1,000,000 cash, medium difficulty, the first three venues and
    // the starting attraction types unlocked.
    void Reset();

    char name[261]; // also the name of the career's save folder
    int32_t cash;   // cash at the end of the last day
    int32_t cashSave;
    char venueUnlock[129]; // one character per venue index: '+' unlocked, '-' locked
    char attrUnlock[129];  // one character per attraction-type index
    int32_t difficulty;    // 0 easy, 1 medium, 2 hard
    int32_t daysRun;
};
