// The grass block entity: its class, its mesh and its faded draw.
#include "world/GrassMesh.h"

#include "I3d/Camera.h"
#include "I3d/DebugDraw.h"
#include "I3d/Frustum.h"
#include "I3d/Lights.h"
#include "I3d/Math/Geometry.h"
#include "I3d/Math/Mat4Math.h"
#include "I3d/StateCache.h"
#include "I3d/Textures.h"
#include "engine/PropDb.h"
#include "engine/VarTable.h"

#include <cmath>
#include <cstring>

namespace {
VarTable* s_table = nullptr;

void AddVars(VarTable* t) {
    VarTableAddInt(t, "texture", PROP_OFFSET(GrassMesh, texture), 0, 0, 1000);
}

VarTable* Table() {
    if (!s_table) s_table = VarTableBuild(AddVars);
    return s_table;
}

void Registered() {
    WorldClassFlags<GrassMesh>::Reset();
    Table();
}

void Unregister() {
    VarTableDestroy(s_table);
    s_table = nullptr;
}

const WorldClassDef kClass = {"GrassMesh", nullptr,   WorldMake<GrassMesh>, Registered, nullptr,
                              nullptr,     Unregister};

uint32_t Byte(float v) {
    if (!(v > 0.0f)) return 0;
    return v >= 255.0f ? 255u : uint32_t(v);
}
} // namespace

intptr_t EcGrassMeshProc(EntNode* node, int message, intptr_t a, intptr_t b, intptr_t c) {
    return WorldClassProc(kClass, node, message, a, b, c);
}

int GrassMesh::CopyClassName(char* buffer) {
    return WorldCopyClassName("GrassMesh", buffer);
}

GrassMesh::~GrassMesh() {
    if (block) {
        block->mesh.Destroy();
        delete block;
    }
}

int GrassMesh::Create(EntNode*) {
    instanceVars = s_table; // the ini loader and the named setters go through it
    block = nullptr;
    texture = -1;
    return 0;
}

int GrassMesh::Destroy() {
    if (block) {
        block->mesh.Destroy();
        delete block;
        block = nullptr;
    }
    return ENTBASE::Destroy();
}

void GrassMesh::SetBlock(GrassBlock* b) {
    if (block && block != b) {
        block->mesh.Destroy();
        delete block;
    }
    block = b;
    VarsChanged();
}

int GrassMesh::VarsChanged() {
    if (block) BoxCenter(block->box, &pos);
    return 0;
}

int GrassMesh::CopyName(char* out) {
    std::strcpy(out, "GrassMesh");
    return 1;
}

int GrassMesh::CopyBounds(float* out6) {
    for (int i = 0; i < 6; ++i)
        out6[i] = block ? block->box[i] : 0.0f;
    return 1;
}

float* GrassMesh::GetBounds() {
    return block ? block->box : nullptr;
}

int GrassMesh::DrawWorldBounds(uint32_t colour) {
    if (!block) return 0;
    if (!I3dBoxVisible(block->box)) return 0;
    DbgDrawAabb(block->box, nullptr, colour);
    return 1;
}

float GrassMesh::Fade(float d, float limit) {
    if (d <= 0.9f * limit) return 1.0f;
    return (limit - d) / (0.1f * limit);
}

int GrassMesh::DrawPre() {
    if (!(GetClassFlags() & ENT_CLASS_DRAW) || !block) return 1;
    Mat4 identity;
    I3dSetWorld(Mat4Identity(&identity));
    if (!BoxOutcodeTest(block->box, nullptr)) return 1;
    VECTOR3 eye;
    I3dGetEyePos(&eye);
    const float dx = pos.x - eye.x, dy = pos.y - eye.y, dz = pos.z - eye.z;
    const float d = std::sqrt(dx * dx + dy * dy + dz * dz);
    const float limit = I3dGetViewDistScale() * visDist;
    // A distance of 0 or less, or NaN, draws nothing and divides by nothing.
    if (!(limit > 0.0f) || !(d <= limit)) return 1;
    const float fade = Fade(d, limit);

    D3dSetLighting(0);
    D3dSetSpecular(0);
    D3dSetAlphaBlend(1);
    D3dSetSrcBlend(D3DBLEND_SRCALPHA);
    D3dSetDestBlend(D3DBLEND_INVSRCALPHA);
    D3dSetAlphaTest(1);
    D3dSetAlphaFunc(D3DCMP_GREATER);
    D3dSetAlphaRef(Byte(fade * 150.0f));
    D3dSetZEnable(1);
    D3dSetZFunc(D3DCMP_LESSEQUAL);
    D3dSetZWrite(1);
    D3dSetCullMode(D3DCULL_NONE);
    D3dSetTexTransformFlags(0, D3DTTFF_DISABLE);
    float shade[3] = {1.0f, 1.0f, 1.0f};
    const VECTOR3 up{0.0f, 1.0f, 0.0f};
    I3dLightShadeNormal(shade, &pos, &up);
    D3dSetTextureFactor(Byte(fade * 255.0f) << 24 | Byte(shade[0] * 255.0f) << 16 |
                        Byte(shade[1] * 255.0f) << 8 | Byte(shade[2] * 255.0f));
    D3dSetTextureFactorStages();
    D3dSetTexture(0, texture);
    block->mesh.Draw();
    return 1;
}
