// The panorama ring: its band mesh, shaders and screen-space drawing.
#include "world/OvalDisplay1.h"

#include "I3d/Buffers.h"
#include "I3d/Camera.h"
#include "I3d/Materials.h"
#include "I3d/Math/Mat4Math.h"
#include "I3d/MeshBuf.h"
#include "I3d/Shader.h"
#include "I3d/StateCache.h"
#include "I3d/Textures.h"
#include "engine/DataDir.h"
#include "engine/DebugLog.h"
#include "engine/MathConst.h"
#include "engine/PropDb.h"
#include "engine/VarTable.h"

#include <cmath>
#include <new>

namespace {

VarTable* s_vars = nullptr;
Shader* s_solid = nullptr;
Shader* s_outline = nullptr; // made and held; nothing draws with it
MeshBuf* s_band = nullptr;
int s_texture = -1;
DataDir s_folder;

const WorldClassDef kClass = {"OvalDisplay1", nullptr, WorldMake<OvalDisplay1>,
                              WorldClassFlags<OvalDisplay1>::Reset, &s_folder};

void BandPass() {
    D3dSetAlphaTest(0);
    D3dSetZWrite(0);
    D3dSetZFunc(D3DCMP_ALWAYS);
    D3dSetCullMode(D3DCULL_NONE);
    D3dSetFillMode(D3DFILL_SOLID);
    D3dSetLighting(0);
    D3dSetSpecular(0);
    D3dSetAlphaBlend(1);
    D3dSetSrcBlend(D3DBLEND_SRCALPHA);
    D3dSetDestBlend(D3DBLEND_INVSRCALPHA);
    D3dSetTexCoordIndex(0, 0);
    D3dSetTexTransformFlags(0, D3DTTFF_COUNT2);
    D3dSetAddressU(0, D3DTADDRESS_WRAP);
    D3dSetAddressV(0, D3DTADDRESS_WRAP);
    D3dSetMinFilter(0, D3DTEXF_LINEAR);
    D3dSetMagFilter(0, D3DTEXF_LINEAR);
    D3dSetTexture(0, (int)ShaderParams.words[8]);
    D3dSetTextureFactor(ShaderParams.words[0]);
    D3dSetTextureFactorStages();
}

void OutlinePass() {
    BandPass();
    D3dSetFillMode(D3DFILL_WIREFRAME);
    D3dSetColorOp(0, D3DTOP_SELECTARG1);
    D3dSetColorArg1(0, D3DTA_TFACTOR);
}

Shader* MakeShader(const char* name, ShaderPassFn pass) {
    auto* shader = new (std::nothrow) Shader();
    if (!shader) return nullptr;
    shader->SetName(name);
    shader->SetPassFunc(0, pass);
    if (!shader->Validate())
        DbgPrintf(DBG_RENDER, "OvalDisplay1: the device refuses shader %s\n", name);
    return shader;
}

void AddVars(VarTable* t) {
    using C = OvalDisplay1;
    VarTableAddString(t, "name", PROP_OFFSET(C, name), 32, "!");
    VarTableAddFloat(t, "x", PROP_OFFSET(C, pos.x), 0.0f, 0.0f, 5120.0f);
    VarTableAddFloat(t, "y", PROP_OFFSET(C, pos.y), 0.0f, -200.0f, 3000.0f);
    VarTableAddFloat(t, "z", PROP_OFFSET(C, pos.z), 0.0f, 0.0f, 5120.0f);
}

void SetUpClass() {
    if (!s_vars) s_vars = VarTableBuild(AddVars, 5); // 9 entries in all
    if (!s_solid) s_solid = MakeShader("Solid", BandPass);
    if (!s_outline) s_outline = MakeShader("Outline", OutlinePass);
    if (!s_band) s_band = OvalBandMake(64, 1.0f, 1.0f, 0.4f, 0.3f);
    char path[1024];
    if (s_texture < 0 && DataDirFile(&s_folder, "SamplePanoramaStrip1.dds", path, sizeof path) == 1)
        s_texture = I3dTexLoad(path, nullptr, 1);
}

void ShutDownClass() {
    VarTableDestroy(s_vars);
    s_vars = nullptr;
    for (Shader** s : {&s_solid, &s_outline}) {
        if (*s) SharedObjRelease(*s);
        *s = nullptr;
    }
    if (s_band) s_band->Destroy();
    delete s_band;
    s_band = nullptr;
    if (const I3dTexSlot* t = I3dTexGetSlot(s_texture); s_texture >= 0 && t && t->count > 0)
        I3dTexRelease(s_texture);
    s_texture = -1;
}

} // namespace

MeshBuf* OvalBandMake(int n, float a, float b, float c, float d) {
    if (n < 1) return nullptr;
    auto* mesh = new (std::nothrow) MeshBuf;
    if (!mesh) return nullptr;
    if (!mesh->Create(I3DVF_XYZ | I3DVF_TEX1, 2 * n + 2, 2 * n) || !mesh->LockVerts()) {
        mesh->Destroy();
        delete mesh;
        return nullptr;
    }
    float t = 0.0f; // accumulated in single precision, as the strip was laid out
    for (int i = 0; i <= n; ++i) {
        const VECTOR3 outer = {std::sin(t) * a, std::cos(t) * b, 0.0f};
        I3dVbPosV(&outer);
        I3dVbUv(t / kTwoPi + 0.5f, 0.0f);
        I3dVbNext();
        const VECTOR3 inner = {std::sin(t) * c, std::cos(t) * d - 0.4f, 0.0f};
        I3dVbPosV(&inner);
        I3dVbUv(t / kTwoPi + 0.5f, 1.0f);
        I3dVbNext();
        t += kTwoPi / (float)n;
    }
    mesh->UnlockVerts();
    uint16_t* index = mesh->LockIndices();
    if (!index) {
        mesh->Destroy();
        delete mesh;
        return nullptr;
    }
    for (int k = 0; k < 2 * n; k += 2) {
        const uint16_t q[6] = {(uint16_t)k, (uint16_t)(k + 1), (uint16_t)(k + 3),
                               (uint16_t)k, (uint16_t)(k + 3), (uint16_t)(k + 2)};
        for (uint16_t v : q)
            *index++ = v;
    }
    mesh->UnlockIndices();
    return mesh;
}

MeshBuf* OvalDisplayBand() {
    return s_band;
}

intptr_t EcOvalDisplay1Proc(EntNode* node, int message, intptr_t a, intptr_t b, intptr_t c) {
    const intptr_t result = WorldClassProc(kClass, node, message, a, b, c);
    if (message == ENT_CLASS_MSG_BUILD_DB) SetUpClass();
    if (message == ENT_CLASS_MSG_UNREGISTER) ShutDownClass();
    return result;
}

int OvalDisplay1::CopyClassName(char* buffer) {
    return WorldCopyClassName("OvalDisplay1", buffer);
}

int OvalDisplay1::Create(EntNode*) {
    if (s_vars) VarTableInitObject(s_vars, this);
    instanceVars = s_vars;
    offset = 0.0f;
    return 1;
}

int OvalDisplay1::Start() {
    VarsChanged();
    return 0;
}

int OvalDisplay1::DrawPre() {
    if (!s_band || !s_solid) return 1;
    Mat4 identity, world, tex;
    Mat4Identity(&identity);
    I3dSetProj(&identity);
    I3dSetView(&identity);
    Mat4Identity(&world);
    world.m[14] = 0.1f;
    I3dSetWorld(&world);
    Mat4Identity(&tex);
    tex.m[8] = offset; // a 2D texture matrix takes its translation from the third row
    I3dSetTexMatrix(0, &tex);
    ShaderParams.words[0] = 0xFFFFFFFFu;
    ShaderParams.words[8] = (uint32_t)s_texture;
    for (int i = 0; i < s_solid->NumPasses(); ++i) {
        s_solid->CallPass(i);
        s_band->Draw();
    }
    s_solid->EndPass();
    return 1;
}
