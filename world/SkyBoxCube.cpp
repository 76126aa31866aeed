// The cube sky box: its value table, the class's box, shader and cube map, and its draw.
#include "world/SkyBoxCube.h"

#include "I3d/Camera.h"
#include "I3d/Math/Mat4Math.h"
#include "I3d/Meshes.h"
#include "I3d/Shader.h"
#include "I3d/StateCache.h"
#include "I3d/Textures.h"
#include "engine/DebugLog.h"
#include "engine/PropDb.h"
#include "engine/System.h"
#include "engine/VarTable.h"

#include <cstring>
#include <new>

namespace {
const WorldClassDef kClass = {"SkyBoxCube", nullptr, WorldMake<SkyBoxCube>,
                              WorldClassFlags<SkyBoxCube>::Reset};

VarTable* s_vars = nullptr;
MeshBuf* s_mesh = nullptr;
Shader* s_shader = nullptr;
int s_cube = -1;

void SkyBoxCubePass() {
    D3dSetAlphaTest(0);
    D3dSetZWrite(1);
    D3dSetZFunc(D3DCMP_ALWAYS);
    D3dSetCullMode(D3DCULL_NONE);
    D3dSetFillMode(D3DFILL_SOLID);
    D3dSetLighting(0);
    D3dSetSpecular(0);
    D3dSetAlphaBlend(0);
    D3dSetFogEnable(0);
    Mat4 identity;
    I3dSetTexMatrix(0, Mat4Identity(&identity));
    D3dSetTexCoordIndex(0, D3DTSS_TCI_CAMERASPACENORMAL);
    D3dSetTexTransformFlags(0, D3DTTFF_COUNT3);
    D3dSetAddressU(0, D3DTADDRESS_WRAP);
    D3dSetAddressV(0, D3DTADDRESS_WRAP);
    D3dSetMinFilter(0, D3DTEXF_LINEAR);
    D3dSetMagFilter(0, D3DTEXF_LINEAR);
    D3dSetColorOp(0, D3DTOP_SELECTARG1);
    D3dSetColorArg1(0, D3DTA_TEXTURE);
    D3dSetAlphaOp(0, D3DTOP_DISABLE);
    D3dSetTexture(0, s_cube);
    D3dSetColorOp(1, D3DTOP_DISABLE);
    D3dSetAlphaOp(1, D3DTOP_DISABLE);
}

void AddVars(VarTable* t) {
    VarTableAddString(t, "name", PROP_OFFSET(SkyBoxCube, name), 32, "!");
    VarTableAddFloat(t, "x", PROP_OFFSET(SkyBoxCube, pos.x), 0.0f, 0.0f, 5120.0f);
    VarTableAddFloat(t, "y", PROP_OFFSET(SkyBoxCube, pos.y), 0.0f, -200.0f, 3000.0f);
    VarTableAddFloat(t, "z", PROP_OFFSET(SkyBoxCube, pos.z), 0.0f, 0.0f, 5120.0f);
}

void MakeVars() {
    if (s_vars) return;
    s_vars = VarTableBuild(AddVars);
}

void MakeClassResources() {
    MakeVars();
    if (!s_shader) {
        s_shader = new (std::nothrow) Shader();
        if (s_shader) {
            s_shader->SetName("SkyCube");
            s_shader->SetPassFunc(0, SkyBoxCubePass);
        }
    }
    if (!s_mesh) s_mesh = MeshMakeBox();
    if (s_cube < 0) {
        // A bare class texture name: the data folder's.
        char path[600];
        if (SysProgramPath(path, sizeof path, "Data/Enviro.dds") == 1)
            s_cube = D3dCubeTexFromFile(0, path, "Enviro");
        if (s_cube < 0) DbgPrintf(1, "SkyBoxCube: no cube map \"Enviro.dds\", not drawn\n");
    }
}

void FreeClassResources() {
    if (s_shader) SharedObjRelease(s_shader);
    s_shader = nullptr;
    if (s_mesh) s_mesh->Destroy();
    delete s_mesh;
    s_mesh = nullptr;
    // The kernel may have stopped first and taken its table with it.
    const I3dTexSlot* slot = I3dTexGetSlot(s_cube);
    if (s_cube >= 0 && slot && slot->count > 0) I3dTexRelease(s_cube);
    s_cube = -1;
    VarTableDestroy(s_vars);
    s_vars = nullptr;
}
} // namespace

MeshBuf* SkyBoxCubeMesh() {
    return s_mesh;
}
Shader* SkyBoxCubeShader() {
    return s_shader;
}
int SkyBoxCubeTexture() {
    return s_cube;
}
VarTable* SkyBoxCubeVars() {
    return s_vars;
}

intptr_t EcSkyBoxCubeProc(EntNode* node, int message, intptr_t a, intptr_t b, intptr_t c) {
    if (message == ENT_CLASS_MSG_BUILD_DB) MakeClassResources();
    if (message == ENT_CLASS_MSG_UNREGISTER) FreeClassResources();
    return WorldClassProc(kClass, node, message, a, b, c);
}

int SkyBoxCube::CopyClassName(char* buffer) {
    return WorldCopyClassName("SkyBoxCube", buffer);
}

int SkyBoxCube::Create(EntNode*) {
    pos = {0.0f, 0.0f, 0.0f};
    std::strcpy(name, "!");
    instanceVars = s_vars;
    return 0;
}

int SkyBoxCube::Start() {
    elapsed = 0.0f;
    VarsChanged();
    return 0;
}

int SkyBoxCube::Update(float seconds) {
    elapsed += seconds;
    return 1;
}

int SkyBoxCube::DrawPre() {
    // Without the cube map the box would draw untextured: one flat colour all round.
    if (!(GetClassFlags() & ENT_CLASS_DRAW) || s_cube < 0 || !s_shader || !s_mesh) return 1;
    Mat4 world = {};
    world.m[0] = world.m[5] = world.m[10] = 10.0f;
    world.m[15] = 1.0f;
    I3dSetWorld(&world);
    for (int i = 0; i < s_shader->NumPasses(); ++i) {
        s_shader->CallPass(i);
        s_mesh->Draw();
    }
    s_shader->EndPass();
    // Draws that follow and set no coordinate source of their own (the clouds, text, sprites)
    // would otherwise take generated normals for their texture coordinates.
    D3dSetTexCoordIndex(0, 0);
    D3dSetTexTransformFlags(0, D3DTTFF_DISABLE);
    return 1;
}
