// The loop ride: the cars go round a vertical loop, faster at its bottom, and a stopping ride
// creeps on until the turn completes, resting with its angle back at 0.
#pragma once

#include "game/Ents/RideAnimSpin.h"

class RideAnimLoop : public RideAnimSpin {
  public:
    RideAnimLoop();

  protected:
    // (cos(angle) x 0.75 + 2.0) x pi/2.
    float StepRate(float at) const override;
    float MaxStepRate() const override;
};
