// The query records that tree walks hand to entities: a box or line query against world bounds
// (message 68) and a pick ray with the best entity found so far (message 149). Every pointer and
// word is pointer-sized.
#pragma once

#include "I3d/Math/MathTypes.h"

#include <cstdint>

class ENTBASE;
struct EntNode;

// Query types of EntBoundsQuery.
enum : int32_t {
    ENT_QUERY_LINE = 0, // the segment from start to end against the world box
    ENT_QUERY_BOX = 8,  // `box` against the world box
};

struct EntBoundsQuery {
    EntNode* sender; // never hits itself
    VECTOR3 start;
    VECTOR3 end;
    int32_t type;
    EntNode* hit; // set by an entity that is hit
    float box[6]; // min x, y, z then max x, y, z
};

// The walk keeps in `best` the pickable entity whose position is nearest the ray's origin among
// those whose box the ray meets, and that distance in `bestDistance` (start it large: 1000000).
struct PickQuery {
    VECTOR3 origin;
    VECTOR3 dir; // need not be unit length
    ENTBASE* best;
    float bestDistance;
};
