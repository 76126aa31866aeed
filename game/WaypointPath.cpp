// The waypoint follower: creation, append and the arrival test.
#include "game/WaypointPath.h"

#include "engine/Memory.h"

WaypointPath* WaypointPathCreate(int capacity) {
    if (capacity < 0) capacity = 0;
    auto* path = static_cast<WaypointPath*>(MemAlloc(sizeof(WaypointPath)));
    if (!path) return nullptr;
    path->points = static_cast<VECTOR3*>(MemAlloc(sizeof(VECTOR3) * size_t(capacity)));
    if (!path->points) {
        MemFree(path);
        return nullptr;
    }
    WaypointPathInit(path, path->points, capacity);
    return path;
}

void WaypointPathInit(WaypointPath* path, VECTOR3* points, int capacity) {
    if (capacity < 0) capacity = 0;
    path->points = points;
    MemZero(path->points, sizeof(VECTOR3) * size_t(capacity));
    path->capacity = capacity;
    path->count = 0;
    path->current = 0;
    path->tolerance = VECTOR3{0.1f, 0.1f, 0.1f};
    path->cut = false;
    path->goal = VECTOR3{0.0f, 0.0f, 0.0f};
}

void WaypointPathDestroy(WaypointPath* path) {
    if (!path) return;
    MemFree(path->points);
    MemFree(path);
}

bool WaypointPathAppend(WaypointPath* path, float x, float z) {
    if (path->count >= path->capacity) return false;
    path->points[path->count++] = VECTOR3{x, 0.0f, z};
    return true;
}

int WaypointPathReached(WaypointPath* path, const VECTOR3& position) {
    // The grid refills a route without touching current, so current may point past a shorter
    // new route; reading there would steer toward a stale point.
    if (path->count <= 0 || path->current < 0 || path->current >= path->count) {
        path->current = 0;
        return 2;
    }
    const VECTOR3& p = path->points[path->current];
    const VECTOR3& tol = path->tolerance;
    bool reached = p.x - tol.x <= position.x && position.x <= p.x + tol.x &&
                   p.z - tol.z <= position.z && position.z <= p.z + tol.z;
    if (!reached) return 0;
    if (++path->current < path->count) return 1;
    path->current = 0;
    return 2;
}
