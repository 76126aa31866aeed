// 2D and 3D vectors of the model library's maths.
#include "gi/giMath.h"

#include <cmath>

giVec2 giVec2::operator+(const giVec2& b) const {
    return {(float)((double)x + b.x), (float)((double)y + b.y)};
}
giVec2 giVec2::operator-(const giVec2& b) const {
    return {(float)((double)x - b.x), (float)((double)y - b.y)};
}
giVec2 giVec2::operator*(float s) const {
    return {(float)((double)x * s), (float)((double)y * s)};
}
float giVec2::Dot(const giVec2& b) const {
    return (float)((double)x * b.x + (double)y * b.y);
}
float giVec2::Length() const {
    return (float)std::sqrt((double)x * x + (double)y * y);
}
void giVec2::Normalize() {
    double len = std::sqrt((double)x * x + (double)y * y);
    if (len == 0.0) return;
    x = (float)(x / len);
    y = (float)(y / len);
}

giVec3 giVec3::operator+(const giVec3& b) const {
    return {(float)((double)x + b.x), (float)((double)y + b.y), (float)((double)z + b.z)};
}
giVec3 giVec3::operator-(const giVec3& b) const {
    return {(float)((double)x - b.x), (float)((double)y - b.y), (float)((double)z - b.z)};
}
giVec3 giVec3::operator*(float s) const {
    return {(float)((double)x * s), (float)((double)y * s), (float)((double)z * s)};
}
giVec3& giVec3::operator+=(const giVec3& b) {
    return *this = *this + b;
}
float giVec3::Dot(const giVec3& b) const {
    return (float)((double)x * b.x + (double)y * b.y + (double)z * b.z);
}
giVec3 giVec3::Cross(const giVec3& b) const {
    return {(float)((double)y * b.z - (double)z * b.y), (float)((double)z * b.x - (double)x * b.z),
            (float)((double)x * b.y - (double)y * b.x)};
}
float giVec3::LengthSq() const {
    return (float)((double)x * x + (double)y * y + (double)z * z);
}
float giVec3::Length() const {
    return (float)std::sqrt((double)x * x + (double)y * y + (double)z * z);
}
void giVec3::Normalize() {
    double len = std::sqrt((double)x * x + (double)y * y + (double)z * z);
    if (len == 0.0) return;
    x = (float)(x / len);
    y = (float)(y / len);
    z = (float)(z / len);
}

float giDistance(const giVec3& a, const giVec3& b) {
    double dx = (double)a.x - b.x, dy = (double)a.y - b.y, dz = (double)a.z - b.z;
    return (float)std::sqrt(dx * dx + dy * dy + dz * dz);
}
float giDistanceXZ(const giVec3& a, const giVec3& b) {
    double dx = (double)a.x - b.x, dz = (double)a.z - b.z;
    return (float)std::sqrt(dx * dx + dz * dz);
}
