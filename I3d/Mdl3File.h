// The ".md3" file layout, shared by the loader and the model tool: little-endian fixed-width
// fields at fixed offsets. Links, buffers and the override are run-time only: a file holds
// zeros there (and -1 in the texture slots).
#pragma once

#include <cstdint>
#include <cstring>

namespace md3 {

// ---- header (96 bytes) ----
constexpr uint32_t kHeaderSize = 96;
constexpr uint32_t kHdrName = 0; // char[32]
constexpr uint32_t kHdrStorage = 32;
constexpr uint32_t kHdrNumMaterials = 36;
constexpr uint32_t kHdrMaterials = 40; // byte offsets of the arrays from the file start
constexpr uint32_t kHdrNumNodes = 44;
constexpr uint32_t kHdrNodes = 48;
constexpr uint32_t kHdrNumVerts = 52;
constexpr uint32_t kHdrVerts = 56;
constexpr uint32_t kHdrNumIndices = 60;
constexpr uint32_t kHdrIndices = 64;
// 68..95: run-time words (buffers, managed, count, two cleared words, next).

// The storage value of a file whose flags and bounds are already prepared.
constexpr uint32_t kStoragePrepared = 2;

// ---- node (420 bytes) ----
constexpr uint32_t kNodeSize = 420;
constexpr uint32_t kNodeName = 0; // char[32]; 32..47 run-time links
constexpr uint32_t kNodeNumChildren = 48;
constexpr uint32_t kNodeMinVertIdx = 52;
constexpr uint32_t kNodeMaxVertIdx = 56;
constexpr uint32_t kNodeFirstIdx = 60;
constexpr uint32_t kNodeFlags = 72;
constexpr uint32_t kNodeMatrix = 76; // float[16]; 140 run-time override
constexpr uint32_t kNodeNumTris = 252;
constexpr uint32_t kNodeBoundsMin = 256; // float[3]
constexpr uint32_t kNodeBoundsMax = 268;
constexpr uint32_t kNodeMaterialId = 284; // 288 run-time material
constexpr uint32_t kNodeSphereCentre = 304;
constexpr uint32_t kNodeRadius = 316;
constexpr uint32_t kNodeMaxDist = 320;
constexpr uint32_t kNodeFadeRange = 324;
constexpr uint32_t kNodeMinDist = 328;

// ---- material (276 bytes) ----
constexpr uint32_t kMtrlSize = 276;
constexpr uint32_t kMtrlName = 0;
constexpr uint32_t kMtrlAmbient = 32; // float[4] each
constexpr uint32_t kMtrlDiffuse = 48;
constexpr uint32_t kMtrlSpecular = 64;
constexpr uint32_t kMtrlEmissive = 80;
constexpr uint32_t kMtrlShininess = 96;
constexpr uint32_t kMtrlDoubleSided = 100;
constexpr uint32_t kMtrlDiffuseMap = 104; // char[32], then the run-time slot at 136
constexpr uint32_t kMtrlDiffuseSlot = 136;
constexpr uint32_t kMtrlBumpMap = 140; // the second map: DOT3 bump
constexpr uint32_t kMtrlBumpSlot = 172;
constexpr uint32_t kMtrlDetailMap = 176; // the third map: signed-add detail
constexpr uint32_t kMtrlDetailSlot = 208;
constexpr uint32_t kMtrlBumpTile = 212; // float u, v; a stored 0 reads as 1.0
constexpr uint32_t kMtrlReflective = 220;
constexpr uint32_t kMtrlDetailTile = 224; // float u, v; a stored 0 reads as 1.0

// ---- vertex (40 bytes) and index (2 bytes) ----
constexpr uint32_t kVertexSize = 40;
constexpr uint32_t kVtxPos = 0;
constexpr uint32_t kVtxNormal = 12;
constexpr uint32_t kVtxUv = 24;
constexpr uint32_t kVtxSpare = 32; // two words carried, never read
constexpr uint32_t kIndexSize = 2;

// ---- little-endian fields ----
inline uint32_t GetU32(const uint8_t* p) {
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}
inline int32_t GetI32(const uint8_t* p) {
    return int32_t(GetU32(p));
}
inline uint16_t GetU16(const uint8_t* p) {
    return uint16_t(p[0] | p[1] << 8);
}
inline float GetF32(const uint8_t* p) {
    uint32_t bits = GetU32(p);
    float f;
    std::memcpy(&f, &bits, sizeof f);
    return f;
}
inline void PutU32(uint8_t* p, uint32_t v) {
    p[0] = uint8_t(v), p[1] = uint8_t(v >> 8), p[2] = uint8_t(v >> 16), p[3] = uint8_t(v >> 24);
}
inline void PutI32(uint8_t* p, int32_t v) {
    PutU32(p, uint32_t(v));
}
inline void PutU16(uint8_t* p, uint16_t v) {
    p[0] = uint8_t(v), p[1] = uint8_t(v >> 8);
}
inline void PutF32(uint8_t* p, float f) {
    uint32_t bits;
    std::memcpy(&bits, &f, sizeof bits);
    PutU32(p, bits);
}

} // namespace md3
