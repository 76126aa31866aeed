// What an attraction tells the patrons in its lines. The patron entity implements it (the fake
// patrons of the tests do too); the attraction keeps the patron and its entity side by side, so
// that a removal notice can be matched without asking the patron anything.
#pragma once

#include "I3d/Math/MathTypes.h"

class AttrBase;
class ENTBASE;

// The place that means "walk to your seat".
enum { ATTR_PLACE_BOARD = -2 };

class AttrPatron {
  public:
    virtual ~AttrPatron() = default;

    // The entity that is the patron (the removal notices name it).
    virtual ENTBASE* PatronEntity() = 0;
    // Its place in the waiting line (0 = front), or ATTR_PLACE_BOARD, and where to enter.
    virtual void PatronPlace(AttrBase* attraction, int place, const VECTOR3* entry) = 0;
    // Turned away: the attraction closed or broke down with the patron still in line.
    virtual void PatronSentAway(AttrBase* attraction) = 0;
    // Unloaded after the ride.
    virtual void PatronRideOver(AttrBase* attraction) = 0;
    // Sits on seat `seat`, whose world matrix is `seatMatrix` (it moves with the ride).
    virtual void PatronSit(AttrBase* attraction, int seat, const Mat4* seatMatrix) = 0;
};
