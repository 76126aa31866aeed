// Model-info files: the ".ini" beside an extended model, holding its point lights (positions,
// colours, glow sizes and blink patterns), the count of its node records and the yaw of each of
// its attach points. Reading them needs no render kernel.
#pragma once

#include "I3d/Math/MathTypes.h"

#include <cstdint>
#include <vector>

class PropDb;

// A node record: allocated from the count in the file, filled by no one yet.
struct Mdl3ExNodeRec {
    char name[32];
    int32_t numPointLights;
    int32_t firstPointLight;
};
static_assert(sizeof(Mdl3ExNodeRec) == 40, "node records are 40 bytes");

struct Mdl3ExPtLight {
    VECTOR3 pos;        // model space
    uint32_t color;     // ARGB
    float radius;       // glow size
    uint32_t flashMask; // shown when it shares a bit with the model's flash bits
};

// The particle system shows at most this many glows a frame, so more lights could never show;
// node records beyond this many are refused as well. A count outside the range is clamped.
constexpr int32_t MDL3EX_MAX_LIGHTS = 400;
constexpr int32_t MDL3EX_MAX_NODES = 1024;

// The counts of section "ModelInfo", the "Mdl3Ex" schema's fields.
struct Mdl3ExCounts {
    int32_t numNodes;
    int32_t numPointLights;
};

struct Mdl3ExInfo {
    Mdl3ExCounts counts = {0, 0};
    std::vector<Mdl3ExNodeRec> nodes;  // counts.numNodes records, zeroed
    std::vector<Mdl3ExPtLight> lights; // counts.numPointLights records
    std::vector<float> attachYaw;      // per attach index asked for; NaN when the key is missing
};

// ---- schemas ----
// The "Mdl3Ex", "Mdl3ExNode" and "Mdl3ExPtLight" property databases, made on the first call and
// counted; the last release deletes them. Null while none is made.
void Mdl3ExSchemasAcquire();
void Mdl3ExSchemasRelease();
PropDb* Mdl3ExSchema();
PropDb* Mdl3ExNodeSchema();
PropDb* Mdl3ExPtLightSchema();

// ---- reading ----
// Reads the file into `out` (emptied first), the yaws of attach indices 0 .. attachCount - 1
// included ("attachYaw%02i"; a missing or non-finite value gives NaN). Missing sections and keys
// give the schema defaults; counts outside their range are clamped with one log line naming the
// file. The schemas must be made. 1 read; 0 the file cannot be opened (`out` stays empty).
int Mdl3ExInfoRead(const char* path, int attachCount, Mdl3ExInfo* out);
