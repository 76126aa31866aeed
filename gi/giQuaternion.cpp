// Quaternions of the model library's maths (x, y, z, w; unit length for rotations).
#include "gi/giMath.h"

#include <cmath>

giQuat giQuaternionIdentity() {
    return giQuat{};
}

giMat44 giMatrixRotationQuaternion(const giQuat& q) {
    double x = q.x, y = q.y, z = q.z, w = q.w;
    return giMat44((float)(1 - 2 * (y * y + z * z)), (float)(2 * (x * y + z * w)),
                   (float)(2 * (x * z - y * w)), 0, (float)(2 * (x * y - z * w)),
                   (float)(1 - 2 * (x * x + z * z)), (float)(2 * (y * z + x * w)), 0,
                   (float)(2 * (x * z + y * w)), (float)(2 * (y * z - x * w)),
                   (float)(1 - 2 * (x * x + y * y)), 0, 0, 0, 0, 1);
}

giQuat giQuaternionRotationMatrix(const giMat44& mat) {
    // The largest of w, x, y, z is found first and the others divided by it, which keeps the
    // square root away from zero for every rotation.
    const auto& m = mat.m;
    double trace = (double)m[0][0] + m[1][1] + m[2][2];
    double x, y, z, w;
    if (trace > 0.0) {
        double s = std::sqrt(trace + 1.0) * 2.0;
        w = 0.25 * s;
        x = ((double)m[1][2] - m[2][1]) / s;
        y = ((double)m[2][0] - m[0][2]) / s;
        z = ((double)m[0][1] - m[1][0]) / s;
    } else if (m[0][0] > m[1][1] && m[0][0] > m[2][2]) {
        double s = std::sqrt(1.0 + m[0][0] - m[1][1] - m[2][2]) * 2.0;
        w = ((double)m[1][2] - m[2][1]) / s;
        x = 0.25 * s;
        y = ((double)m[0][1] + m[1][0]) / s;
        z = ((double)m[2][0] + m[0][2]) / s;
    } else if (m[1][1] > m[2][2]) {
        double s = std::sqrt(1.0 + m[1][1] - m[0][0] - m[2][2]) * 2.0;
        w = ((double)m[2][0] - m[0][2]) / s;
        x = ((double)m[0][1] + m[1][0]) / s;
        y = 0.25 * s;
        z = ((double)m[1][2] + m[2][1]) / s;
    } else {
        double s = std::sqrt(1.0 + m[2][2] - m[0][0] - m[1][1]) * 2.0;
        w = ((double)m[0][1] - m[1][0]) / s;
        x = ((double)m[2][0] + m[0][2]) / s;
        y = ((double)m[1][2] + m[2][1]) / s;
        z = 0.25 * s;
    }
    return giQuat{(float)x, (float)y, (float)z, (float)w};
}

giSlerpArc giQuaternionSlerpArc(const giQuat& a, const giQuat& b) {
    giSlerpArc arc;
    double cosom = (double)a.x * b.x + (double)a.y * b.y + (double)a.z * b.z + (double)a.w * b.w;
    if (cosom < 0.0) { // q and -q are one rotation: go the short way
        cosom = -cosom;
        arc.sign = -1.0;
    }
    // Nearly equal: the sine would divide by almost zero; a straight blend is exact enough there.
    arc.straight = cosom > 0.9999;
    if (!arc.straight) {
        arc.omega = std::acos(cosom);
        // sin(acos(c)): omega lies in 0..pi/2 here, where that sine is never negative.
        arc.sinom = std::sqrt(1.0 - cosom * cosom);
    }
    return arc;
}

giQuat giQuaternionSlerpAlong(const giQuat& a, const giQuat& b, const giSlerpArc& arc, float t) {
    double k0, k1;
    if (arc.straight) {
        k0 = 1.0 - t;
        k1 = t;
    } else {
        k0 = std::sin((1.0 - t) * arc.omega) / arc.sinom;
        k1 = std::sin((double)t * arc.omega) / arc.sinom;
    }
    k1 *= arc.sign;
    return giQuat{(float)(k0 * a.x + k1 * b.x), (float)(k0 * a.y + k1 * b.y),
                  (float)(k0 * a.z + k1 * b.z), (float)(k0 * a.w + k1 * b.w)};
}

giQuat giQuaternionSlerp(const giQuat& a, const giQuat& b, float t) {
    return giQuaternionSlerpAlong(a, b, giQuaternionSlerpArc(a, b), t);
}
