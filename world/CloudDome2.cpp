// The cloud dome entity: its table, its mesh, its texture and its draw.
#include "world/CloudDome2.h"

#include "I3d/Camera.h"
#include "I3d/Math/Mat4Math.h"
#include "I3d/StateCache.h"
#include "I3d/Textures.h"
#include "engine/DebugLog.h"
#include "engine/MathConst.h"
#include "engine/PropDb.h"
#include "engine/System.h"

#include <cmath>
#include <cstring>

namespace {
PropDb* Db() {
    static PropDb s_db;
    if (!s_db.first) {
        PropDb* db = &s_db;
        PropDbSetName(db, "CloudDome2");
        PropDbAddStringBlank(db, "name", PROP_OFFSET(CloudDome2, name), 32);
        PropDbAddColor4bWhite(db, "color", PROP_OFFSET(CloudDome2, color));
        PropDbAddVector3Zero(db, "pos", PROP_OFFSET(CloudDome2, domePos));
        PropDbAddFloat(db, "size", PROP_OFFSET(CloudDome2, size), 100.0f);
        PropField* f = PropDbAddFloat(db, "height", PROP_OFFSET(CloudDome2, height), 100.0f);
        if (f) f->SetRangeFloat(0.0f, 1000.0f, 10.0f);
        f = PropDbAddFloat(db, "tileFactor", PROP_OFFSET(CloudDome2, tileFactor), 1.0f);
        if (f) f->SetRangeFloat(0.1f, 10.0f, 0.1f);
        PropDbAddFloat(db, "xRate", PROP_OFFSET(CloudDome2, xRate), 0.0f);
        PropDbAddFloat(db, "yawRate", PROP_OFFSET(CloudDome2, yawRate), 0.0f);
        PropDbAddInt(db, "mLatSegs", PROP_OFFSET(CloudDome2, mLatSegs), 8);
        PropDbAddInt(db, "mLonSegs", PROP_OFFSET(CloudDome2, mLonSegs), 16);
        PropDbAddStringBlank(db, "texture", PROP_OFFSET(CloudDome2, texture), 32);
        PropDbAddBool(db, "fogOverride", PROP_OFFSET(CloudDome2, fogOverride), 1);
        f = PropDbAddFloat(db, "fogStart", PROP_OFFSET(CloudDome2, fogStart), 0.0f);
        if (f) f->SetRangeFloat(-1000.0f, 5000.0f, 100.0f);
        f = PropDbAddFloat(db, "fogEnd", PROP_OFFSET(CloudDome2, fogEnd), 5000.0f);
        if (f) f->SetRangeFloat(-1000.0f, 5000.0f, 100.0f);
        PropDbAddColor4bWhite(db, "fogColor", PROP_OFFSET(CloudDome2, fogColor));
    }
    return &s_db;
}

const WorldClassDef kClass = {"CloudDome2", Db, WorldMake<CloudDome2>,
                              WorldClassFlags<CloudDome2>::Reset};

float Wrap(float value, float period) {
    const float w = std::fmod(value, period);
    return w < 0.0f ? w + period : w;
}

float FromBits(DWORD bits) {
    float f;
    std::memcpy(&f, &bits, sizeof f);
    return f;
}
} // namespace

intptr_t EcCloudDome2Proc(EntNode* node, int message, intptr_t a, intptr_t b, intptr_t c) {
    return WorldClassProc(kClass, node, message, a, b, c);
}

int CloudDome2::CopyClassName(char* buffer) {
    return WorldCopyClassName("CloudDome2", buffer);
}

int CloudDome2::Create(EntNode*) {
    if (classDb) PropDbInitObject(classDb, this);
    color = 0xFFFFFFFFu;
    domePos = {0.0f, 0.0f, 0.0f};
    size = 10000.0f;
    height = 4000.0f;
    tileFactor = 5.0f;
    xRate = yawRate = 0.0f;
    mLatSegs = 4;
    mLonSegs = 12;
    texture[0] = '\0';
    fogOverride = 0;
    fogStart = 0.0f;
    fogEnd = 5000.0f;
    slot = -1;
    return 0;
}

int CloudDome2::Start() {
    VarsChanged();
    return 0;
}

int CloudDome2::Update(float seconds) {
    // Both are periodic under wrap addressing and rotation; wrapped they keep their precision.
    scroll = Wrap(scroll + seconds * xRate, 1.0f);
    yaw = Wrap(yaw + seconds * yawRate, kTwoPi);
    if (!std::isfinite(scroll)) scroll = 0.0f;
    if (!std::isfinite(yaw)) yaw = 0.0f;
    return 0;
}

void CloudDome2::BuildMesh() {
    mesh.Destroy();
    const int64_t n = mLatSegs, m = mLonSegs;
    // No rings or no segments ask for a negative triangle count; more than 65536 vertices wrap
    // the 16-bit indices.
    if (n < 1 || m < 1 || n * m + 2 > MESHBUF_MAX_VERTICES) {
        if (!m_sizeLogged)
            DbgPrintf(1, "CloudDome2: %i x %i segments cannot be drawn, no mesh\n", mLatSegs,
                      mLonSegs);
        m_sizeLogged = true;
        return;
    }
    const int N = int(n), M = int(m);
    if (!mesh.Create(71, N * M + 2, (2 * N - 1) * M) || !mesh.LockVerts()) {
        mesh.Destroy();
        return;
    }
    for (int r = 0; r < N; ++r) {
        const float e = float(r) * kHalfPi / float(N);
        for (int s = 0; s < M; ++s) {
            const float a = float(s) * kTwoPi / float(M);
            const VECTOR3 p = {std::sin(a) * std::cos(e), std::sin(e), std::cos(a) * std::cos(e)};
            I3dVbPosV(&p);
            I3dVbColor(0xFFFFFFFFu);
            I3dVbUv(p.x, p.z);
            I3dVbNext();
        }
    }
    I3dVbPos(0.0f, 1.0f, 0.0f);
    I3dVbColor(0xFFFFFFFFu);
    I3dVbUv(0.0f, 0.0f);
    I3dVbNext();
    mesh.UnlockVerts();
    uint16_t* out = mesh.LockIndices();
    if (!out) {
        mesh.Destroy();
        return;
    }
    auto tri = [&out](int a, int b, int c) {
        *out++ = uint16_t(a);
        *out++ = uint16_t(b);
        *out++ = uint16_t(c);
    };
    const int L = M;
    for (int r = 0; r < N - 1; ++r) {
        for (int s = 0; s < L - 1; ++s) {
            const int i = r * L + s;
            tri(i, i + L, i + L + 1);
            tri(i, i + L + 1, i + 1);
        }
        tri(r * L + L - 1, r * L + 2 * L - 1, r * L + L);
        tri(r * L + L - 1, r * L + L, r * L);
    }
    const int cap = N * M, top = (N - 1) * L;
    for (int j = top; j < top + L - 1; ++j)
        tri(cap, j + 1, j);
    tri(cap, top, top + L - 1);
    mesh.UnlockIndices();
}

int CloudDome2::VarsChanged() {
    BuildMesh();
    // The first rebuild, and one after a failed load, hold no slot.
    if (slot >= 0) I3dTexRelease(slot);
    slot = -1;
    if (texture[0]) {
        char path[600];
        if (SysDataFilePath(path, sizeof path, texture) == 1) slot = I3dTexLoad(path, nullptr, 1);
        if (slot < 0) DbgPrintf(1, "CloudDome2: no texture \"%s\", not drawn\n", texture);
    }
    return 0;
}

int CloudDome2::DrawPre() {
    // Without its texture the dome would draw untextured: one flat sheet over the whole sky.
    if (!(GetClassFlags() & ENT_CLASS_DRAW) || !mesh.vb || slot < 0) return 0;
    Mat4 world;
    Mat4Identity(&world);
    world.m[0] = size;
    world.m[5] = height;
    world.m[10] = size;
    Mat4RotateY(&world, yaw);
    world.m[12] = domePos.x;
    world.m[13] = domePos.y;
    world.m[14] = domePos.z;
    I3dSetWorld(&world);
    const DWORD fog[5] = {D3dGetRenderState(D3DRS_FOGENABLE), D3dGetRenderState(D3DRS_FOGTABLEMODE),
                          D3dGetRenderState(D3DRS_FOGSTART), D3dGetRenderState(D3DRS_FOGEND),
                          D3dGetRenderState(D3DRS_FOGCOLOR)};
    if (fogOverride) {
        D3dSetFogEnable(1);
        D3dSetFogMode(D3DFOG_LINEAR);
        D3dSetFogStart(fogStart);
        D3dSetFogEnd(fogEnd);
        D3dSetFogColorArgb(fogColor);
    }
    D3dSetLighting(0);
    D3dSetAlphaBlend(1);
    D3dSetZFunc(D3DCMP_LESSEQUAL);
    D3dSetZWrite(0);
    D3dSetCullMode(D3DCULL_NONE);
    Mat4 tex;
    Mat4Identity(&tex);
    tex.m[0] = tileFactor;
    tex.m[5] = tileFactor;
    tex.m[8] = scroll; // the offset row of a two-coordinate transform
    I3dSetTexMatrix(0, &tex);
    D3dSetTexCoordIndex(0, 0); // its own coordinates, whatever source the last draw used
    D3dSetTexTransformFlags(0, D3DTTFF_COUNT2);
    D3dSetAddressU(0, D3DTADDRESS_WRAP);
    D3dSetAddressV(0, D3DTADDRESS_WRAP);
    D3dSetColorOp(0, D3DTOP_SELECTARG2);
    D3dSetColorArg1(0, D3DTA_TEXTURE);
    D3dSetColorArg2(0, D3DTA_TFACTOR);
    D3dSetAlphaOp(0, D3DTOP_MODULATE);
    D3dSetAlphaArg1(0, D3DTA_TEXTURE);
    D3dSetAlphaArg2(0, D3DTA_TFACTOR);
    D3dSetTexture(0, slot);
    D3dSetColorOp(1, D3DTOP_DISABLE);
    D3dSetAlphaOp(1, D3DTOP_DISABLE);
    D3dSetTextureFactor(color);
    mesh.Draw();
    if (fogOverride) {
        D3dSetFogEnable(fog[0]);
        D3dSetFogMode(fog[1]);
        D3dSetFogStart(FromBits(fog[2]));
        D3dSetFogEnd(FromBits(fog[3]));
        D3dSetFogColorArgb(fog[4]);
    }
    D3dSetZWrite(1);
    D3dSetCullMode(D3DCULL_CCW);
    return 0;
}

int CloudDome2::Destroy() {
    mesh.Destroy();
    if (slot >= 0) I3dTexRelease(slot);
    slot = -1;
    return ENTBASE::Destroy();
}
