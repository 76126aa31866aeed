// The walkers' route arrows: see GameEntRoute.h.
#include "game/Ents/GameEntRoute.h"

#include "I3d/Camera.h"
#include "I3d/Math/Mat4Math.h"
#include "I3d/Primitives.h"
#include "I3d/Shader.h"
#include "game/WaypointPath.h"

#include <cmath>

namespace {
constexpr float kLift = 0.1f;

int s_refs = 0;
Shader* s_shader = nullptr;
} // namespace

void GameEntRouteAcquire() {
    ++s_refs;
}

void GameEntRouteRelease() {
    if (s_refs <= 0) return;
    // The solid-colour shader is the kernel's and lives to the end of the program; the last
    // holder only lets go of the pointer.
    if (--s_refs == 0) s_shader = nullptr;
}

void GameEntDrawRoute(const WaypointPath* route, const VECTOR3* from, uint32_t argb) {
    if (s_refs <= 0 || !route || !from || route->count <= 0) return;
    if (!s_shader) s_shader = ShaderSolidColorAcquire();
    if (!s_shader) return;
    ShaderParams.words[0] = argb;
    VECTOR3 last = *from;
    const int first = route->current >= 0 && route->current < route->count ? route->current : 0;
    for (int i = first; i < route->count; ++i) {
        const VECTOR3& at = route->points[i];
        const float dx = at.x - last.x, dz = at.z - last.z;
        // The arrow mesh points along +z: turned about y toward the step it ends.
        Mat4 world;
        Mat4Identity(&world);
        Mat4RotateY(&world, std::atan2(dx, dz));
        world.m[12] = at.x;
        world.m[13] = at.y + kLift;
        world.m[14] = at.z;
        I3dSetWorld(&world);
        const int passes = s_shader->NumPasses();
        for (int p = 0; p < passes; ++p) {
            s_shader->CallPass(p);
            I3dDrawPrimArrow();
        }
        s_shader->EndPass();
        last = at;
    }
}
