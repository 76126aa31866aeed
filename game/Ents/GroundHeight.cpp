#include "game/Ents/GroundHeight.h"

#include "engine/Ent3d/Ent3dBase.h"

#include <cmath>

float GameEntGroundHeight(ENTBASE* from, const VECTOR3* at) {
    return GameEntGroundHeightOr(from, at, 0.0f);
}

float GameEntGroundHeightOr(ENTBASE* from, const VECTOR3* at, float without) {
    ENTBASE* terrain = Ent3dGetTerrain(from);
    if (!terrain || !at) return without;
    VECTOR3 point = *at;
    float h = 0.0f;
    // The terrain's height query answers 0 whatever it finds: only the height it writes counts.
    terrain->Dispatch(ENT_MSG_GROUND_HEIGHT, 0, reinterpret_cast<intptr_t>(&point),
                      reinterpret_cast<intptr_t>(&h));
    return std::isfinite(h) ? h : 0.0f;
}
