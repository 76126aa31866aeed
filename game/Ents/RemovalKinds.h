// The carnival's kinds of removed entity, for the removal notice walk: the patrons and the
// litter come and go by the thousand, and only a few entities can hold one, so those that cannot
// say so and are passed over.
#pragma once

#include "engine/EntTree.h"

inline constexpr uint8_t GAME_REMOVAL_PATRON = 0x2;
inline constexpr uint8_t GAME_REMOVAL_LITTER = 0x4;
