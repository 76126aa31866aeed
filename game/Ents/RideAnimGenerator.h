// A generator's animator: while idle it runs its own off, generating and broken machine,
// supplying "maxPowerGen" to the grid while generating, and it wears with the grid's load
// squared instead of the attraction's idle and running wear.
#pragma once

#include "game/Ents/RideAnim.h"

enum GeneratorState { GEN_OFF = 0, GEN_GENERATING = 1, GEN_BROKEN = 2 };

class RideAnimGenerator : public RideAnim {
  public:
    // Once per frame, from Tick: the idle update does not wear the generator a second time.
    void UpdateWear(float seconds) override;
    void IdleEnter() override;
    void IdleUpdate(float seconds) override;

    int32_t genState = GEN_GENERATING;
    float brokenTimer = 0.0f;  // counts down while broken
    float failureTimer = 0.0f; // the next failure roll
};
