// The shared selection highlight and ground marker.
#include "game/Ents/GameEntHighlight.h"

#include "I3d/Camera.h"
#include "I3d/Math/Mat4Math.h"
#include "I3d/Primitives.h"
#include "I3d/Shader.h"
#include "engine/MathConst.h"

#include <cmath>

namespace {
constexpr float kEnlarge = 0.2f;
constexpr float kLift = 0.05f; // above the floor, so the ground does not hide it
constexpr uint32_t kGreen = 0x0000FF00u;

int s_refs = 0;
Shader* s_shader = nullptr;

// The quads are drawn in their own x, y plane; this turns that plane onto the ground (x, z).
void GroundPlane(Mat4* out, float height) {
    *out = Mat4{{1.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 1.0f, 0.0f, 0.0f, 1.0f, 0.0f, 0.0f, 0.0f,
                 height, 0.0f, 1.0f}};
}

void DrawFlat(const Mat4* world, float x0, float z0, float x1, float z1, uint32_t argb) {
    if (s_refs <= 0) return;
    if (!s_shader) s_shader = ShaderSolidColorAcquire();
    if (!s_shader) return;
    I3dSetWorld(world);
    ShaderParams.words[0] = argb;
    const int passes = s_shader->NumPasses();
    // The ground plane swaps two axes, a mirror that turns the quad's front face downwards,
    // where the solid-colour pass's culling drops it under a camera looking down: the corners
    // go round the other way so that the face looks up.
    for (int i = 0; i < passes; ++i) {
        s_shader->CallPass(i);
        I3dDrawQuad(x0, z1, x1, z0, 0.0f);
    }
    s_shader->EndPass();
}
} // namespace

void GameEntHighlightAcquire() {
    ++s_refs;
}

void GameEntHighlightRelease() {
    if (s_refs <= 0) return;
    // The solid-colour shader is the kernel's and lives to the end of the program; the last
    // holder only lets go of the pointer.
    if (--s_refs == 0) s_shader = nullptr;
}

int GameEntHighlightAlpha(float phase) {
    const double s = std::sin(2.0 * kPiD * (double)phase);
    return (int)std::trunc(((s + 1.0) * 0.1 + 0.1) * 255.0);
}

void GameEntDrawHighlight(float phase, const float box[6], const Mat4* world) {
    if (!box || !world) return;
    Mat4 plane, combined;
    GroundPlane(&plane, box[1] + kLift);
    Mat4Mul(&plane, world, &combined);
    const uint32_t argb = ((uint32_t)GameEntHighlightAlpha(phase) << 24) | kGreen;
    DrawFlat(&combined, box[0] - kEnlarge, box[2] - kEnlarge, box[3] + kEnlarge, box[5] + kEnlarge,
             argb);
}

void GameEntDrawMarker(const VECTOR3* at, float half, uint32_t argb) {
    if (!at) return;
    Mat4 plane;
    GroundPlane(&plane, at->y + kLift);
    plane.m[12] = at->x;
    plane.m[14] = at->z;
    DrawFlat(&plane, -half, -half, half, half, argb);
}
