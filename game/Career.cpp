// The career record and a new career's profile.
#include "game/Career.h"

#include <cstddef>
#include <cstring>

void Career::BuildDb(PropDb* db) {
    PropDbAddStringBlank(db, "name", offsetof(Career, name), 260);
    PropDbAddInt(db, "cash", offsetof(Career, cash), 0);
    PropDbAddInt(db, "cashSave", offsetof(Career, cashSave), 0);
    PropDbAddString(db, "venueUnlock", offsetof(Career, venueUnlock), "+++---------", 128);
    PropDbAddString(db, "attrUnlock", offsetof(Career, attrUnlock), "+++---------", 128);
    PropDbAddInt(db, "difficulty", offsetof(Career, difficulty), 1);
    PropDbAddInt(db, "daysRun", offsetof(Career, daysRun), 0);
}

void Career::Reset() {
    // The attraction types a new career may place: the cheap stands, the utilities, the first
    // rides and games and three kiddie rides.
    static const int kStartTypes[] = {0,  2,  7,  8,  12, 13, 14, 15, 17, 19, 22, 23,
                                      24, 25, 26, 32, 34, 36, 40, 45, 48, 54, 55, 57};
    constexpr int kUnlockLength = 127;
    std::strcpy(name, "Player 1");
    cash = 1000000;
    cashSave = 1000000;
    difficulty = 1;
    daysRun = 0;
    std::memset(venueUnlock, '-', kUnlockLength);
    std::memset(venueUnlock, '+', 3);
    venueUnlock[kUnlockLength] = 0;
    std::memset(attrUnlock, '-', kUnlockLength);
    for (int type : kStartTypes)
        attrUnlock[type] = '+';
    attrUnlock[kUnlockLength] = 0;
}
