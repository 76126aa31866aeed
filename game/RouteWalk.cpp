// The shared walking step and unsticking: see RouteWalk.h.
#include "game/RouteWalk.h"

#include "game/GameGridCore.h"
#include "game/WaypointPath.h"

#include <cmath>
#include <cstddef>

bool RouteWalkHasPoints(const WaypointPath* route) {
    return route && route->count > 0;
}

int RouteWalkTo(GameGridCore* grid, WaypointPath* route, const VECTOR3& from, float x, float z) {
    if (!grid || !route) return 0;
    const VECTOR3 to = {x, 0.0f, z};
    const int n = GameGridRoute(grid, route, &from, &to);
    route->current = 0;
    return n;
}

void RouteWalkAim(const WaypointPath* route, const VECTOR3& from, VECTOR3* direction) {
    if (!route || !direction || route->current < 0 || route->current >= route->count) return;
    const VECTOR3& at = route->points[route->current];
    const float dx = at.x - from.x;
    const float dz = at.z - from.z;
    const float len = std::sqrt(dx * dx + dz * dz);
    if (!(len > 1e-6f)) return;
    *direction = VECTOR3{dx / len, 0.0f, dz / len};
}

bool RouteWalkStep(GameGridCore* grid, WaypointPath* route, VECTOR3* pos, VECTOR3* direction,
                   float speed, float seconds) {
    if (!route || !pos || !direction) return true;
    pos->x += direction->x * speed * seconds;
    pos->z += direction->z * speed * seconds;

    const bool hadPoint = route->current >= 0 && route->current < route->count;
    const VECTOR3 point = hadPoint ? route->points[route->current] : *pos;
    int reached = WaypointPathReached(route, *pos);
    if (reached == 0 && hadPoint) {
        const float ahead = (point.x - pos->x) * direction->x + (point.z - pos->z) * direction->z;
        if (ahead < 0.0f) {
            if (route->current + 1 >= route->count) {
                route->current = 0;
                reached = 2;
            } else {
                ++route->current;
                reached = 1;
            }
        }
    }
    if (reached == 1) RouteWalkAim(route, *pos, direction);
    if (reached != 2) return false;
    if (route->cut) {
        const VECTOR3 goal = route->goal;
        if (RouteWalkTo(grid, route, *pos, goal.x, goal.z) > 0) {
            RouteWalkAim(route, *pos, direction);
            return false;
        }
    }
    return true;
}

bool RouteWalkUnstick(const GameGridCore* grid, VECTOR3* pos) {
    if (!grid || !grid->cells || !pos) return false;
    int cx = 0, cz = 0;
    // Outside the grid nothing is blocked, and nothing may be read.
    if (!GameGridWorldToCell(grid, pos->x, pos->z, &cx, &cz)) return false;
    // Only a cell below 0 holds a walker fast: one of exactly 0 is free to step off, as it is
    // free to step onto below.
    auto cellFree = [&](int x, int z) {
        return grid->cells[(size_t)z * (size_t)grid->cols + (size_t)x] >= 0.0f;
    };
    if (cellFree(cx, cz)) return false;
    const int steps[4][2] = {{0, 1}, {0, -1}, {1, 0}, {-1, 0}}; // +z, -z, +x, -x
    int best = -1, bestDistance = 0;
    for (int d = 0; d < 4; ++d) {
        int x = cx, z = cz;
        for (int distance = 1;; ++distance) {
            x += steps[d][0];
            z += steps[d][1];
            if (x < 0 || z < 0 || x >= grid->cols || z >= grid->rows) break;
            if (cellFree(x, z)) {
                if (best < 0 || distance < bestDistance) {
                    best = d;
                    bestDistance = distance;
                }
                break;
            }
        }
    }
    if (best < 0) return false;
    pos->x += (float)(steps[best][0] * bestDistance * (int)grid->tileWidth);
    pos->z += (float)(steps[best][1] * bestDistance * (int)grid->tileHeight);
    return true;
}
