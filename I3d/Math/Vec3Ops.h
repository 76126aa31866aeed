// Small inline vector operations the maths library builds on (component-wise, exact).
#pragma once

#include "I3d/Math/MathTypes.h"

#include <cmath>

namespace v3 {

inline VECTOR3 Add(const VECTOR3& a, const VECTOR3& b) {
    return {a.x + b.x, a.y + b.y, a.z + b.z};
}
inline VECTOR3 Sub(const VECTOR3& a, const VECTOR3& b) {
    return {a.x - b.x, a.y - b.y, a.z - b.z};
}
inline VECTOR3 Scale(const VECTOR3& a, float s) {
    return {a.x * s, a.y * s, a.z * s};
}
inline float Dot(const VECTOR3& a, const VECTOR3& b) {
    return a.x * b.x + a.y * b.y + a.z * b.z;
}
inline VECTOR3 Cross(const VECTOR3& a, const VECTOR3& b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
inline float Length(const VECTOR3& a) {
    return std::sqrt(Dot(a, a));
}

} // namespace v3
