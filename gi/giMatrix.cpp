// 4x4 and 3x3 matrices, rotations, inverse and transforms of the model library's maths.
#include "gi/giMath.h"

#include <algorithm>
#include <cmath>

giMat44::giMat44(float m00, float m01, float m02, float m03, float m10, float m11, float m12,
                 float m13, float m20, float m21, float m22, float m23, float m30, float m31,
                 float m32, float m33)
    : m{{m00, m01, m02, m03}, {m10, m11, m12, m13}, {m20, m21, m22, m23}, {m30, m31, m32, m33}} {}

giMat44 giMat44::Identity() {
    return giMat44(1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1);
}

void giMat44::Fill(float v) {
    for (auto& row : m)
        for (float& e : row)
            e = v;
}

giMat44 giMat44::operator+(const giMat44& b) const {
    giMat44 r;
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j)
            r.m[i][j] = (float)((double)m[i][j] + b.m[i][j]);
    return r;
}
giMat44 giMat44::operator-(const giMat44& b) const {
    giMat44 r;
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j)
            r.m[i][j] = (float)((double)m[i][j] - b.m[i][j]);
    return r;
}
giMat44 giMat44::operator*(float s) const {
    giMat44 r;
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j)
            r.m[i][j] = (float)((double)m[i][j] * s);
    return r;
}
giMat44 giMat44::operator-() const {
    giMat44 r;
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j)
            r.m[i][j] = -m[i][j];
    return r;
}
giMat44 giMat44::operator*(const giMat44& b) const {
    giMat44 r;
    giMatrixMultiply(&r, *this, b);
    return r;
}

giVec3 giMat44::TransformPoint(const giVec3& p) const {
    return {
        (float)(p.x * (double)m[0][0] + p.y * (double)m[1][0] + p.z * (double)m[2][0] + m[3][0]),
        (float)(p.x * (double)m[0][1] + p.y * (double)m[1][1] + p.z * (double)m[2][1] + m[3][1]),
        (float)(p.x * (double)m[0][2] + p.y * (double)m[1][2] + p.z * (double)m[2][2] + m[3][2])};
}

giVec3 giMat44::TransformDirection(const giVec3& d) const {
    return giVec3TransformNormal(d, *this);
}

void giMatrixMultiply(giMat44* out, const giMat44& a, const giMat44& b) {
    giMat44 r; // formed apart, so that out may be a or b
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j)
            r.m[i][j] = (float)((double)a.m[i][0] * b.m[0][j] + (double)a.m[i][1] * b.m[1][j] +
                                (double)a.m[i][2] * b.m[2][j] + (double)a.m[i][3] * b.m[3][j]);
    *out = r;
}

giMat33 giMat33::Identity() {
    giMat33 r;
    r.m[0][0] = r.m[1][1] = r.m[2][2] = 1.0f;
    return r;
}

void giMat33Mul(giMat33* out, const giMat33& a, const giMat33& b) {
    giMat33 r;
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            r.m[i][j] = (float)((double)a.m[i][0] * b.m[0][j] + (double)a.m[i][1] * b.m[1][j] +
                                (double)a.m[i][2] * b.m[2][j]);
    *out = r;
}

giMat44 giMatrixRotationX(float angle) {
    float c = (float)std::cos((double)angle), s = (float)std::sin((double)angle);
    return giMat44(1, 0, 0, 0, 0, c, s, 0, 0, -s, c, 0, 0, 0, 0, 1);
}
giMat44 giMatrixRotationY(float angle) {
    float c = (float)std::cos((double)angle), s = (float)std::sin((double)angle);
    return giMat44(c, 0, -s, 0, 0, 1, 0, 0, s, 0, c, 0, 0, 0, 0, 1);
}
giMat44 giMatrixRotationZ(float angle) {
    float c = (float)std::cos((double)angle), s = (float)std::sin((double)angle);
    return giMat44(c, s, 0, 0, -s, c, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1);
}

giMat44 giMatrixRotationAxis(const giVec3& axis, float angle) {
    double len =
        std::sqrt((double)axis.x * axis.x + (double)axis.y * axis.y + (double)axis.z * axis.z);
    if (len == 0.0) return giMat44::Identity();
    double x = axis.x / len, y = axis.y / len, z = axis.z / len;
    double c = std::cos((double)angle), s = std::sin((double)angle), t = 1.0 - c;
    return giMat44((float)(t * x * x + c), (float)(t * x * y + s * z), (float)(t * x * z - s * y),
                   0, (float)(t * x * y - s * z), (float)(t * y * y + c),
                   (float)(t * y * z + s * x), 0, (float)(t * x * z + s * y),
                   (float)(t * y * z - s * x), (float)(t * z * z + c), 0, 0, 0, 0, 1);
}

void giMatrixToAngles(giMat44& m, float* x, float* y, float* z) {
    m.m[0][2] = std::clamp(m.m[0][2], -1.0f, 1.0f);
    double ay = -std::asin((double)m.m[0][2]);
    double c = std::cos(ay);
    double ax, az;
    if (std::fabs(c) > 0.005) {
        ax = std::atan2(-m.m[1][2] / c, m.m[2][2] / c);
        az = std::atan2(-m.m[0][1] / c, m.m[0][0] / c);
    } else {
        ax = 0.0;
        az = std::atan2((double)m.m[1][0], (double)m.m[1][1]);
    }
    if (x) *x = (float)ax;
    if (y) *y = (float)ay;
    if (z) *z = (float)az;
}

bool giMatrixInverse(giMat44* out, const giMat44& m) {
    double a[16];
    for (int i = 0; i < 16; ++i)
        a[i] = m.m[i / 4][i % 4];
    // Cofactors of the transposed layout, as the classic 4x4 expansion forms them.
    double inv[16];
    inv[0] = a[5] * a[10] * a[15] - a[5] * a[11] * a[14] - a[9] * a[6] * a[15] +
             a[9] * a[7] * a[14] + a[13] * a[6] * a[11] - a[13] * a[7] * a[10];
    inv[4] = -a[4] * a[10] * a[15] + a[4] * a[11] * a[14] + a[8] * a[6] * a[15] -
             a[8] * a[7] * a[14] - a[12] * a[6] * a[11] + a[12] * a[7] * a[10];
    inv[8] = a[4] * a[9] * a[15] - a[4] * a[11] * a[13] - a[8] * a[5] * a[15] +
             a[8] * a[7] * a[13] + a[12] * a[5] * a[11] - a[12] * a[7] * a[9];
    inv[12] = -a[4] * a[9] * a[14] + a[4] * a[10] * a[13] + a[8] * a[5] * a[14] -
              a[8] * a[6] * a[13] - a[12] * a[5] * a[10] + a[12] * a[6] * a[9];
    inv[1] = -a[1] * a[10] * a[15] + a[1] * a[11] * a[14] + a[9] * a[2] * a[15] -
             a[9] * a[3] * a[14] - a[13] * a[2] * a[11] + a[13] * a[3] * a[10];
    inv[5] = a[0] * a[10] * a[15] - a[0] * a[11] * a[14] - a[8] * a[2] * a[15] +
             a[8] * a[3] * a[14] + a[12] * a[2] * a[11] - a[12] * a[3] * a[10];
    inv[9] = -a[0] * a[9] * a[15] + a[0] * a[11] * a[13] + a[8] * a[1] * a[15] -
             a[8] * a[3] * a[13] - a[12] * a[1] * a[11] + a[12] * a[3] * a[9];
    inv[13] = a[0] * a[9] * a[14] - a[0] * a[10] * a[13] - a[8] * a[1] * a[14] +
              a[8] * a[2] * a[13] + a[12] * a[1] * a[10] - a[12] * a[2] * a[9];
    inv[2] = a[1] * a[6] * a[15] - a[1] * a[7] * a[14] - a[5] * a[2] * a[15] + a[5] * a[3] * a[14] +
             a[13] * a[2] * a[7] - a[13] * a[3] * a[6];
    inv[6] = -a[0] * a[6] * a[15] + a[0] * a[7] * a[14] + a[4] * a[2] * a[15] -
             a[4] * a[3] * a[14] - a[12] * a[2] * a[7] + a[12] * a[3] * a[6];
    inv[10] = a[0] * a[5] * a[15] - a[0] * a[7] * a[13] - a[4] * a[1] * a[15] +
              a[4] * a[3] * a[13] + a[12] * a[1] * a[7] - a[12] * a[3] * a[5];
    inv[14] = -a[0] * a[5] * a[14] + a[0] * a[6] * a[13] + a[4] * a[1] * a[14] -
              a[4] * a[2] * a[13] - a[12] * a[1] * a[6] + a[12] * a[2] * a[5];
    inv[3] = -a[1] * a[6] * a[11] + a[1] * a[7] * a[10] + a[5] * a[2] * a[11] -
             a[5] * a[3] * a[10] - a[9] * a[2] * a[7] + a[9] * a[3] * a[6];
    inv[7] = a[0] * a[6] * a[11] - a[0] * a[7] * a[10] - a[4] * a[2] * a[11] + a[4] * a[3] * a[10] +
             a[8] * a[2] * a[7] - a[8] * a[3] * a[6];
    inv[11] = -a[0] * a[5] * a[11] + a[0] * a[7] * a[9] + a[4] * a[1] * a[11] - a[4] * a[3] * a[9] -
              a[8] * a[1] * a[7] + a[8] * a[3] * a[5];
    inv[15] = a[0] * a[5] * a[10] - a[0] * a[6] * a[9] - a[4] * a[1] * a[10] + a[4] * a[2] * a[9] +
              a[8] * a[1] * a[6] - a[8] * a[2] * a[5];
    double det = a[0] * inv[0] + a[1] * inv[4] + a[2] * inv[8] + a[3] * inv[12];
    // Singular within the rounding of the expansion: a rank-deficient float matrix rarely gives
    // an exact zero, so the test is relative to the size of the elements.
    double big = 0.0;
    for (double e : a)
        big = std::max(big, std::fabs(e));
    if (!std::isfinite(det) || std::fabs(det) <= 1e-14 * big * big * big * big) return false;
    double r = 1.0 / det;
    giMat44 res;
    for (int i = 0; i < 16; ++i)
        res.m[i / 4][i % 4] = (float)(inv[i] * r);
    *out = res;
    return true;
}

giVec3 giVec3TransformCoord(const giVec3& v, const giMat44& m) {
    double x =
        v.x * (double)m.m[0][0] + v.y * (double)m.m[1][0] + v.z * (double)m.m[2][0] + m.m[3][0];
    double y =
        v.x * (double)m.m[0][1] + v.y * (double)m.m[1][1] + v.z * (double)m.m[2][1] + m.m[3][1];
    double z =
        v.x * (double)m.m[0][2] + v.y * (double)m.m[1][2] + v.z * (double)m.m[2][2] + m.m[3][2];
    double w =
        v.x * (double)m.m[0][3] + v.y * (double)m.m[1][3] + v.z * (double)m.m[2][3] + m.m[3][3];
    if (w == 0.0) return {(float)x, (float)y, (float)z};
    return {(float)(x / w), (float)(y / w), (float)(z / w)};
}

giVec3 giVec3TransformNormal(const giVec3& v, const giMat44& m) {
    return {(float)(v.x * (double)m.m[0][0] + v.y * (double)m.m[1][0] + v.z * (double)m.m[2][0]),
            (float)(v.x * (double)m.m[0][1] + v.y * (double)m.m[1][1] + v.z * (double)m.m[2][1]),
            (float)(v.x * (double)m.m[0][2] + v.y * (double)m.m[1][2] + v.z * (double)m.m[2][2])};
}
