// The sky dome entity: its table, its mesh and its draw.
#include "world/SkyDome.h"

#include "I3d/Camera.h"
#include "I3d/Image.h"
#include "I3d/Math/Mat4Math.h"
#include "I3d/Math/Vec3.h"
#include "I3d/StateCache.h"
#include "engine/MathConst.h"
#include "engine/PropDb.h"

#include <cmath>

namespace {
PropDb* Db() {
    static PropDb s_db;
    if (!s_db.first) {
        PropDb* db = &s_db;
        PropDbSetName(db, "SkyDome");
        PropDbAddSeparator(db, "General");
        PropDbAddStringBlank(db, "name", PROP_OFFSET(SkyDome, name), 32);
        PropDbAddSeparator(db, "Colors");
        PropDbAddSeparator(db, "Sun Highlight Position");
        PropDbAddFloat(db, "sunAzimuth", PROP_OFFSET(SkyDome, sunAzimuth), 0.0f);
        PropDbAddFloat(db, "sunElevation", PROP_OFFSET(SkyDome, sunElevation), 0.0f);
        PropDbAddSeparator(db, "Movement");
        PropDbAddFloat(db, "yawRate", PROP_OFFSET(SkyDome, yawRate), 0.0f);
        PropDbAddFloat(db, "pitchRate", PROP_OFFSET(SkyDome, pitchRate), 0.0f);
        PropDbAddFloat(db, "yOffset", PROP_OFFSET(SkyDome, yOffset), 0.0f);
        PropDbAddSeparator(db, "Underwater Features");
        PropDbAddFloat(db, "waterElv", PROP_OFFSET(SkyDome, waterElv), -10.0f);
    }
    return &s_db;
}

const WorldClassDef kClass = {"SkyDome", Db, WorldMake<SkyDome>, WorldClassFlags<SkyDome>::Reset};

} // namespace

intptr_t EcSkyDomeProc(EntNode* node, int message, intptr_t a, intptr_t b, intptr_t c) {
    return WorldClassProc(kClass, node, message, a, b, c);
}

int SkyDome::CopyClassName(char* buffer) {
    return WorldCopyClassName("SkyDome", buffer);
}

int SkyDome::Create(EntNode*) {
    if (classDb) PropDbInitObject(classDb, this);
    pos = {0.0f, 0.0f, 0.0f};
    yaw = pitch = yawRate = pitchRate = 0.0f;
    sunAzimuth = 0.0f;
    sunElevation = 0.5235987f;
    yOffset = 80.0f;
    zenithColor = 0xFF223B7Bu;
    horizonColor = 0xFFAEC3DEu;
    highlightColor = 0xFFFFFF8Fu;
    floorColor = 0xFF7F7F7Fu;
    belowWater = -1;
    return 0;
}

int SkyDome::Start() {
    VarsChanged();
    return 0;
}

int SkyDome::Update(float seconds) {
    yaw += seconds * yawRate;
    pitch += seconds * pitchRate;
    return 0;
}

uint32_t SkyDome::RingColor(int ring) const {
    const float e = float(ring) * kHalfPi / float(SKYDOME_RINGS);
    return e < 0.785398f ? ColorLerpArgb(horizonColor, zenithColor, e * 1.2732399f) : zenithColor;
}

uint32_t SkyDome::VertexColor(int ring, const VECTOR3& p, const VECTOR3& sun) const {
    const uint32_t base = RingColor(ring);
    if (ring < 1) return base;
    const float dx = p.x - sun.x, dy = p.y - sun.y, dz = p.z - sun.z;
    const float d = std::sqrt(dx * dx + dy * dy + dz * dz);
    return d < 1.0f ? ColorLerpArgb(highlightColor, base, d) : base;
}

bool SkyDome::WriteVertices() {
    if (!mesh.LockVerts()) return false;
    VECTOR3 sun;
    const VECTOR3 origin = {0.0f, 0.0f, 0.0f};
    Vec3PointOnSphere(&sun, &origin, sunAzimuth, sunElevation, 1.0f);
    for (int r = 0; r < SKYDOME_RINGS; ++r) {
        const float e = float(r) * kHalfPi / float(SKYDOME_RINGS);
        for (int s = 0; s < SKYDOME_SEGMENTS; ++s) {
            const float a = float(s) * kTwoPi / float(SKYDOME_SEGMENTS);
            const VECTOR3 p = {std::sin(a) * std::cos(e), std::sin(e), std::cos(a) * std::cos(e)};
            I3dVbPosV(&p);
            I3dVbColor(VertexColor(r, p, sun));
            I3dVbNext();
        }
    }
    const VECTOR3 cap = {0.0f, 1.0f, 0.0f};
    I3dVbPosV(&cap);
    I3dVbColor(VertexColor(SKYDOME_RINGS - 1, cap, sun));
    I3dVbNext();
    I3dVbPos(0.0f, 0.0f, 0.0f);
    I3dVbColor(floorColor);
    I3dVbNext();
    mesh.UnlockVerts();
    return true;
}

bool SkyDome::WriteIndices() {
    uint16_t* out = mesh.LockIndices();
    if (!out) return false;
    const int L = SKYDOME_SEGMENTS;
    auto tri = [&out](int a, int b, int c) {
        *out++ = uint16_t(a);
        *out++ = uint16_t(b);
        *out++ = uint16_t(c);
    };
    for (int r = 0; r < SKYDOME_RINGS - 1; ++r) {
        for (int s = 0; s < L - 1; ++s) {
            const int i = r * L + s;
            tri(i, i + L, i + L + 1);
            tri(i, i + L + 1, i + 1);
        }
        tri(r * L + 15, r * L + 31, r * L + 16);
        tri(r * L + 15, r * L + 16, r * L);
    }
    const int top = (SKYDOME_RINGS - 1) * L;
    for (int j = top; j < top + L - 1; ++j)
        tri(128, j + 1, j);
    tri(128, top, top + L - 1);
    for (int s = 0; s < L - 1; ++s)
        tri(129, s + 1, s);
    tri(129, 0, L - 1);
    mesh.UnlockIndices();
    return true;
}

int SkyDome::VarsChanged() {
    // TimeOfDay asks every frame: the same counts keep the buffers and rewrite the colours.
    if (mesh.vb && mesh.vertexCount == uint32_t(SKYDOME_VERTICES) &&
        mesh.triangleCount == uint32_t(SKYDOME_TRIANGLES)) {
        WriteVertices();
        return 0;
    }
    if (!mesh.Create(71, SKYDOME_VERTICES, SKYDOME_TRIANGLES)) return 0;
    if (!WriteVertices() || !WriteIndices()) mesh.Destroy();
    return 0;
}

void SkyDome::SetPos(const VECTOR3* p) {
    Ent3dBase::SetPos(p);
    const int below = pos.y < waterElv ? 1 : 0;
    if (below == belowWater) return;
    belowWater = below;
    VarsChanged();
}

int SkyDome::DrawPre() {
    if (!(GetClassFlags() & ENT_CLASS_DRAW) || !mesh.vb) return 0;
    Mat4 world;
    Mat4Identity(&world);
    world.m[0] = world.m[5] = world.m[10] = 1000.0f;
    Mat4RotateY(&world, yaw);
    Mat4RotateX(&world, pitch);
    world.m[12] = pos.x;
    world.m[13] = pos.y - yOffset;
    world.m[14] = pos.z;
    I3dSetWorld(&world);
    const DWORD fog = D3dGetRenderState(D3DRS_FOGENABLE);
    D3dSetFillMode(D3DFILL_SOLID);
    D3dSetFogEnable(0);
    D3dSetLighting(0);
    D3dSetAlphaBlend(0);
    D3dSetZFunc(D3DCMP_ALWAYS);
    D3dSetZWrite(0);
    D3dSetAlphaTest(0);
    D3dSetColorOp(0, D3DTOP_SELECTARG1);
    D3dSetColorArg1(0, D3DTA_DIFFUSE);
    D3dSetAlphaOp(0, D3DTOP_DISABLE);
    D3dSetColorOp(1, D3DTOP_DISABLE);
    D3dSetAlphaOp(1, D3DTOP_DISABLE);
    mesh.Draw();
    D3dSetCullMode(D3DCULL_NONE);
    D3dSetFogEnable(fog);
    D3dSetZWrite(1);
    return 0;
}

int SkyDome::Destroy() {
    mesh.Destroy();
    return ENTBASE::Destroy();
}
