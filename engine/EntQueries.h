// The query records that tree walks hand to entities: a box or line query against world bounds
// (ENT_MSG_BOUNDS_QUERY) and a pick ray with the best entity found so far (ENT_MSG_PICK_TEST).
// Every pointer and word is pointer-sized.
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

// A line sent down a subtree (ENT_MSG_RAY_QUERY). The sun and the lens flare send kind 3 (a ray
// from `origin` along `direction`) with `result` 0 and test it only for 0 afterwards; kind 4 is the
// segment from `origin` to `end`. A class the line meets sets `result` to its tree node.
enum : int32_t {
    ENT_RAY_QUERY_RAY = 3,
    ENT_RAY_QUERY_SEGMENT = 4,
};

struct EntRayQuery {
    intptr_t sender; // the asking entity's tree node, or the sun's glare value
    VECTOR3 origin;
    VECTOR3 direction;
    int32_t kind;
    VECTOR3 end;
    EntNode* result;
};

// The walk keeps in `best` the pickable entity whose position is nearest the ray's origin among
// those whose box the ray meets, and that distance in `bestDistance` (start it large: 1000000).
struct PickQuery {
    VECTOR3 origin;
    VECTOR3 dir; // need not be unit length
    ENTBASE* best;
    float bestDistance;
};

// ---- the ground under a point (the terrain's messages, ENT_MSG_GROUND_ and ENT_MSG_TERRAIN_) ----
// ENT_MSG_GROUND_HEIGHT: b = const VECTOR3* position, c = float* height.
// ENT_MSG_GROUND_SURFACE: b = const VECTOR3* position, c = EntSurfaceQuery*.
// ENT_MSG_GROUND_RECORD: b = const VECTOR3* position, c = EntGroundRecord* with `want` set.
// ENT_MSG_TERRAIN_OBJECT: b = the terrain object's pointer out. ENT_MSG_TERRAIN_LOD: a float in
// the low 32 bits of b.

enum : int32_t {
    ENT_SURFACE_GROUND = 1,
    ENT_SURFACE_WATER = 2,
};

// The ground height, or the water level where that is higher.
struct EntSurfaceQuery {
    float height;
    int32_t surface; // ENT_SURFACE_GROUND or ENT_SURFACE_WATER
};

enum : int32_t {
    ENT_GROUND_POINT = 0x1,  // fill point, waterLevel and surface
    ENT_GROUND_NORMAL = 0x2, // fill normal
};

struct EntGroundRecord {
    int32_t want;  // ENT_GROUND_ bits
    VECTOR3 point; // x, the height as ENT_MSG_GROUND_SURFACE gives it, z
    float waterLevel;
    int32_t surface;
    VECTOR3 normal; // unit normal of the triangle under the point
};
