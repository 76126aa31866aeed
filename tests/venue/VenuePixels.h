// What the venue's pixel tests read off a 1024 × 768 frame: sky-like and ground-like colours,
// how far two pixels differ, and where the camera shows a world point.
#pragma once

#include "I3d/Math/Mat4Math.h"
#include "engine/EntBase.h"
#include "tests/support/PixelChannels.h"
#include "world/CameraDesc.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>

constexpr int kVenueW = 1024, kVenueH = 768;

inline bool SkyLike(uint32_t c) {
    return Blue(c) >= Red(c) + 15 && Blue(c) >= Green(c) && (Red(c) + Green(c) + Blue(c)) > 0;
}
inline bool GroundLike(uint32_t c) {
    return Blue(c) <= std::max(Red(c), Green(c)) + 5 && Red(c) + Green(c) + Blue(c) > 90;
}
// The sum of the three channels' differences.
inline int PixelDiff(uint32_t a, uint32_t b) {
    return std::abs(Red(a) - Red(b)) + std::abs(Green(a) - Green(b)) + std::abs(Blue(a) - Blue(b));
}

// Where the camera shows a world point: pixel (x, y), false behind the eye.
inline bool VenueProject(ENTBASE* camera, const VECTOR3& p, float* x, float* y) {
    CameraDesc desc = {};
    camera->GetCamera(&desc);
    VECTOR3 v;
    Mat4XformPoint(&p, &desc.view, &v);
    if (v.z <= 0.1f) return false;
    const float f = (kVenueH / 2.0f) / std::tan(desc.fov / 2.0f);
    *x = kVenueW / 2.0f + v.x / v.z * f;
    *y = kVenueH / 2.0f - v.y / v.z * f;
    return true;
}
