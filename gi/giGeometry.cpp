// Geometric measures and tests of the model library's maths.
#include "gi/giMath.h"

#include <algorithm>

float giTriangleArea(const giVec3& p0, const giVec3& p1, const giVec3& p2) {
    return 0.5f * (p2 - p0).Cross(p1 - p0).Length();
}

int giRayTriangle(const giVec3& origin, const giVec3& dir, const giVec3& p0, const giVec3& p1,
                  const giVec3& p2, float* t, float* u, float* v) {
    giVec3 e1 = p1 - p0, e2 = p2 - p0;
    giVec3 p = dir.Cross(e2);
    double det = e1.Dot(p);
    if (det < 0.001) return 0;
    giVec3 s = origin - p0;
    double uu = s.Dot(p);
    if (uu < 0.0 || uu > det) return 0;
    giVec3 q = s.Cross(e1);
    double vv = dir.Dot(q);
    if (vv < 0.0 || uu + vv > det) return 0;
    if (t) *t = (float)(e2.Dot(q) / det);
    if (u) *u = (float)(uu / det);
    if (v) *v = (float)(vv / det);
    return 1;
}

void giTriangleProject(const giVec3& axis, const giVec3& p0, const giVec3& p1, const giVec3& p2,
                       float* lo, float* hi) {
    float a = axis.Dot(p0), b = axis.Dot(p1), c = axis.Dot(p2);
    if (lo) *lo = std::min({a, b, c});
    if (hi) *hi = std::max({a, b, c});
}

float giSquareMetresToAcres(float sqm) {
    return (float)(sqm * 0.000247105);
}

float giAcresToSquareMetres(float acres) {
    return (float)(acres * 4046.8564);
}
