// The values of the records that the patrons' and carnies' arithmetic leans on, held inside the
// ranges that arithmetic has a meaning for: a need value moves a level of 0..1 by at most 1
// either way, a venue's averages centre levels and rate multipliers of 0..1, the generator's
// delay lies in 1..10 s, a share of it in 0..1, a single happening moves happiness by at most 1.
// A value that is not a number takes the field's default. Each record that had one out of range
// writes one log line naming its section and what was held.
#pragma once

class AttrInfo;
class GameVals;
class VenueInfo;

// The largest crowd a venue may send ("baseRubes" and "extraRubes" each).
constexpr int REC_CROWD_MAX = 5000;

// True when a value was held. `section` names the record in the log line.
bool AttrInfoHoldRanges(AttrInfo* info, const char* section);
bool VenueInfoHoldRanges(VenueInfo* venue, const char* section);
bool GameValsHoldRanges(GameVals* vals, const char* section);
