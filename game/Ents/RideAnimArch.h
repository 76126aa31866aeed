// The entrance arch's animator: no moving parts, and its idle update does nothing, so it never
// follows its attraction into broken or closed from idle.
#pragma once

#include "game/Ents/RideAnim.h"

class RideAnimArch : public RideAnim {
  public:
    void IdleUpdate(float) override {}
};
