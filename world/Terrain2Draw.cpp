// The terrain entity's drawing, its patch LOD overlay, its pick test and its line queries.
#include "I3d/Camera.h"
#include "I3d/StateCache.h"
#include "world/Terrain2.h"
#include "world/TerrainDraw.h"

#include <cmath>

int Terrain2::DrawPre() {
    if (!(GetClassFlags() & ENT_CLASS_DRAW) || !draw) return 0;
    if (!terrain) return 1;
    I3dGetEyePos(&terrain->eye);
    terrain->detailMap = drawDetailMap;
    float ambient[3] = {0.0f, 0.0f, 0.0f};
    if (fullAmbient) {
        D3dGetAmbient(ambient);
        D3dSetAmbient(1.0f, 1.0f, 1.0f);
    }
    terrain->doubleDetail = test;
    // The detail rings keep their width: the view-distance scale reaches the models, not the
    // terrain's levels.
    terrain->lodUnit = 32.0f;
    TerrainDraw(terrain);
    if (fullAmbient) D3dSetAmbient(ambient[0], ambient[1], ambient[2]);
    return 1;
}

int Terrain2::Hook15() {
    TerrainDrawLodMap(terrain);
    return 1;
}

bool Terrain2::PickTest(PickQuery* query) {
    if (!query || !terrain || !(GetClassFlags() & ENT_CLASS_PICKABLE)) return false;
    VECTOR3 hit;
    if (TerrainRayTest(terrain, &query->origin, &query->dir, &hit) != 1) return false;
    const float dx = hit.x - query->origin.x, dy = hit.y - query->origin.y,
                dz = hit.z - query->origin.z;
    const float d = std::sqrt(dx * dx + dy * dy + dz * dz);
    if (!(d < query->bestDistance)) return false;
    query->best = this;
    query->bestDistance = d;
    return true;
}

int Terrain2::RayQuery(EntRayQuery* query) {
    if (!query) return 0;
    if (!terrain) return 0;
    VECTOR3 hit;
    int answer;
    if (query->kind == ENT_RAY_QUERY_RAY)
        answer = TerrainRayTest(terrain, &query->origin, &query->direction, &hit);
    else if (query->kind == ENT_RAY_QUERY_SEGMENT)
        answer = TerrainSegmentTest(terrain, &query->origin, &query->end, &hit);
    else
        return -1;
    // Only a hit counts: a start outside the grid (-1, -2) meets no ground, so an eye beyond the
    // terrain does not hide the lens flare as if it stood under the ground.
    if (answer == 1) query->result = node;
    return 1;
}
