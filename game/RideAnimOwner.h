// What a ride animator needs of the attraction that owns it. The attraction implements it; the
// animator's tests implement it with a small stand-in, so that the run states can be driven
// without a whole attraction.
#pragma once

#include "I3d/Math/MathTypes.h"

class ENTBASE;
class MtGame;
class MtPowerGrid;

// The seat matrices an attraction keeps: riders sit on the first of them.
enum { RIDE_SEAT_MAX = 70 };

class RideAnimOwner {
  public:
    virtual ~RideAnimOwner() = default;

    // The entity that holds the power slot.
    virtual ENTBASE* RideEntity() = 0;
    virtual bool RideClosed() = 0;
    virtual bool RideBroken() = 0;
    // The attraction is in its riding state (the running wear applies).
    virtual bool RideRiding() = 0;
    virtual float RideWear() = 0;
    // Writes the wear ("repair"); `initial` also makes it the attraction's initial wear.
    virtual void RideSetWear(float wear, bool initial) = 0;
    // The attraction's wear step for dt seconds (the animator's UpdateWear calls it).
    virtual void RideStepWear(float dt) = 0;
    // Breaks the attraction (a generator's own failure test).
    virtual void RideBreak() = 0;
    // The volume of the attraction's running sound (a generator silences it when it stops).
    virtual void RideSetSoundVolume(float volume) = 0;
    virtual bool RideLightsOn() = 0;
    // The light-chaser counter A (0..31) shared by all attractions.
    virtual int RideChaserA() = 0;
    // RIDE_SEAT_MAX matrices.
    virtual Mat4* RideSeats() = 0;
    // The game object and the power grid, or null when there is none (or it has gone).
    virtual MtGame* RideGame() = 0;
    virtual MtPowerGrid* RidePowerGrid() = 0;
};
