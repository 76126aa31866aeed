// The block's value table, shaders, meshes and textures.
#include "world/CubeResources.h"

#include "I3d/Camera.h"
#include "I3d/Materials.h"
#include "I3d/MeshBuf.h"
#include "I3d/Meshes.h"
#include "I3d/Shader.h"
#include "I3d/StateCache.h"
#include "I3d/Textures.h"
#include "engine/DebugLog.h"
#include "engine/PropDb.h"
#include "engine/VarTable.h"
#include "world/Cube1.h"

#include <new>

namespace {

CubeResources s_res;

void AddVars(VarTable* t) {
    using C = Cube1;
    VarTableAddString(t, "name", PROP_OFFSET(C, name), 32, "!");
    VarTableAddFloat(t, "pos.x", PROP_OFFSET(C, pos.x), 0.0f, 0.0f, 5120.0f);
    VarTableAddFloat(t, "pos.y", PROP_OFFSET(C, pos.y), 0.0f, -200.0f, 3000.0f);
    VarTableAddFloat(t, "pos.z", PROP_OFFSET(C, pos.z), 0.0f, 0.0f, 5120.0f);
    VarTableAddFloat(t, "subcubeSize", PROP_OFFSET(C, size), 0.0f, 0.1f, 20.0f);
    VarTableAddInt(t, "dim.x", PROP_OFFSET(C, dims[0]), 0, 1, CUBE1_MAX_DIM);
    VarTableAddInt(t, "dim.y", PROP_OFFSET(C, dims[1]), 0, 1, CUBE1_MAX_DIM);
    VarTableAddInt(t, "dim.z", PROP_OFFSET(C, dims[2]), 0, 1, CUBE1_MAX_DIM);
}

void MakeVars() {
    if (s_res.vars) return;
    s_res.vars = VarTableBuild(AddVars, 1); // 9 entries in all
}

// ---- shader passes ----

void WhiteMaterial() {
    const float white[4] = {1.0f, 1.0f, 1.0f, 1.0f};
    const float none[4] = {0.0f, 0.0f, 0.0f, 0.0f};
    D3dSetDiffuseMaterialSource(D3DMCS_MATERIAL);
    D3dSetAmbientMaterialSource(D3DMCS_MATERIAL);
    D3dSetEmissiveMaterialSource(D3DMCS_MATERIAL);
    D3dSetMaterialDiffuse(white);
    D3dSetMaterialAmbient(white);
    D3dSetMaterialSpecular(white);
    D3dSetMaterialEmissive(none);
    D3dSetMaterialPower(10.0f);
}

void Stage(int stage, DWORD colourOp, DWORD colourArg1, DWORD colourArg2, DWORD alphaOp,
           DWORD alphaArg1, DWORD alphaArg2) {
    D3dSetColorOp(stage, colourOp);
    D3dSetColorArg1(stage, colourArg1);
    D3dSetColorArg2(stage, colourArg2);
    D3dSetAlphaOp(stage, alphaOp);
    D3dSetAlphaArg1(stage, alphaArg1);
    D3dSetAlphaArg2(stage, alphaArg2);
}

void Sampling(int stage) {
    D3dSetAddressU(stage, D3DTADDRESS_WRAP);
    D3dSetAddressV(stage, D3DTADDRESS_WRAP);
    D3dSetMinFilter(stage, D3DTEXF_LINEAR);
    D3dSetMagFilter(stage, D3DTEXF_LINEAR);
}

void SolidPass() {
    D3dSetAlphaTest(0);
    D3dSetZEnable(1);
    D3dSetZWrite(1);
    D3dSetZFunc(D3DCMP_LESSEQUAL);
    D3dSetCullMode(D3DCULL_CCW);
    D3dSetFillMode(D3DFILL_SOLID);
    D3dSetLighting(1);
    D3dSetSpecular(1);
    D3dSetAlphaBlend(1);
    D3dSetSrcBlend(D3DBLEND_SRCALPHA);
    D3dSetDestBlend(D3DBLEND_INVSRCALPHA);
    WhiteMaterial();
    D3dSetTexCoordIndex(0, 0);
    D3dSetTexTransformFlags(0, D3DTTFF_DISABLE);
    Sampling(0);
    Stage(0, D3DTOP_MODULATE, D3DTA_DIFFUSE, D3DTA_TEXTURE, D3DTOP_MODULATE, D3DTA_DIFFUSE,
          D3DTA_TFACTOR);
    D3dSetTexture(0, (int)ShaderParams.words[8]);
    D3dSetColorOp(1, D3DTOP_DISABLE);
    D3dSetAlphaOp(1, D3DTOP_DISABLE);
    D3dSetTextureFactor(ShaderParams.words[0]);
}

void UnlitSpecularPass() {
    SolidPass();
    D3dSetSpecular(0);
}

void SpecMapSecondPass() {
    D3dSetSpecular(1);
    D3dSetTexCoordIndex(0, 0);
    D3dSetTexTransformFlags(0, D3DTTFF_DISABLE);
    Sampling(0);
    Stage(0, D3DTOP_MODULATE, D3DTA_DIFFUSE, D3DTA_TEXTURE, D3DTOP_MODULATE, D3DTA_DIFFUSE,
          D3DTA_TEXTURE);
    D3dSetTexture(0, (int)ShaderParams.words[8]);
    D3dSetTexCoordIndex(1, 0);
    D3dSetTexTransformFlags(1, D3DTTFF_DISABLE);
    Sampling(1);
    Stage(1, D3DTOP_SELECTARG1, D3DTA_CURRENT, D3DTA_CURRENT, D3DTOP_SELECTARG1, D3DTA_TEXTURE,
          D3DTA_TEXTURE);
    D3dSetTexture(1, (int)ShaderParams.words[9]);
    D3dSetColorOp(2, D3DTOP_DISABLE);
    D3dSetAlphaOp(2, D3DTOP_DISABLE);
    D3dSetTextureFactor(0xFFFF0000u);
}

void EnviroMapSecondPass() {
    D3dSetSpecular(1);
    I3dSetTexMatrix(0, &ShaderParams.matrices[0]);
    D3dSetTexCoordIndex(0, D3DTSS_TCI_CAMERASPACEREFLECTIONVECTOR);
    D3dSetTexTransformFlags(0, D3DTTFF_COUNT3);
    Sampling(0);
    Stage(0, D3DTOP_SELECTARG1, D3DTA_TEXTURE, D3DTA_CURRENT, D3DTOP_SELECTARG1, D3DTA_CURRENT,
          D3DTA_CURRENT);
    D3dSetTexture(0, (int)ShaderParams.words[10]);
    D3dSetTexCoordIndex(1, 0);
    D3dSetTexTransformFlags(1, D3DTTFF_DISABLE);
    Sampling(1);
    Stage(1, D3DTOP_SELECTARG1, D3DTA_CURRENT, D3DTA_CURRENT, D3DTOP_MODULATE, D3DTA_TEXTURE,
          D3DTA_CURRENT);
    D3dSetTexture(1, (int)ShaderParams.words[9]);
    D3dSetColorOp(2, D3DTOP_DISABLE);
    D3dSetAlphaOp(2, D3DTOP_DISABLE);
    D3dSetTextureFactor(0xFFFF0000u);
}

Shader* MakeShader(const char* name, ShaderPassFn first, ShaderPassFn second) {
    auto* shader = new (std::nothrow) Shader();
    if (!shader) return nullptr;
    shader->SetName(name);
    shader->SetPassFunc(0, first);
    if (second) shader->SetPassFunc(1, second);
    if (!shader->Validate()) DbgPrintf(DBG_RENDER, "Cube1: the device refuses shader %s\n", name);
    return shader;
}

void ReleaseShader(Shader** shader) {
    if (*shader) SharedObjRelease(*shader);
    *shader = nullptr;
}

void FreeMesh(MeshBuf** mesh) {
    if (*mesh) (*mesh)->Destroy();
    delete *mesh;
    *mesh = nullptr;
}

int LoadTexture(const char* file, bool cube) {
    char path[1024];
    if (DataDirFile(&s_res.dataDir, file, path, sizeof path) != 1) return -1;
    const int slot = cube ? D3dCubeTexFromFile(0, path, "Enviro") : I3dTexLoad(path, nullptr, 1);
    if (slot < 0) DbgPrintf(DBG_GENERAL, "Cube1: no texture %s\n", path);
    return slot;
}

} // namespace

CubeResources& CubeRes() {
    return s_res;
}

void CubeMakeResources() {
    MakeVars();
    if (!s_res.solid) s_res.solid = MakeShader("Solid", SolidPass, nullptr);
    if (!s_res.specMap) s_res.specMap = MakeShader("SpecMap", UnlitSpecularPass, SpecMapSecondPass);
    if (!s_res.enviroMap)
        s_res.enviroMap = MakeShader("EnviroMap", UnlitSpecularPass, EnviroMapSecondPass);
    if (!s_res.box) s_res.box = MeshMakeBoxStrip();
    if (!s_res.sphere) s_res.sphere = MeshMakeSphere(6, 12);
    int* t = s_res.textures;
    if (t[CUBETEX_FRAMED] < 0)
        t[CUBETEX_FRAMED] = TexMakeFramed(256, 256, 0xFF3C3C00u, 5, 0xFF808080u);
    if (t[CUBETEX_XYZ] < 0) t[CUBETEX_XYZ] = LoadTexture("xyz.dds", false);
    if (t[CUBETEX_DIFFUSE] < 0) t[CUBETEX_DIFFUSE] = LoadTexture("Diffuse.dds", false);
    if (t[CUBETEX_SPECMAP] < 0) t[CUBETEX_SPECMAP] = LoadTexture("SpecMapAlt.dds", false);
    if (t[CUBETEX_ENVIRO] < 0) t[CUBETEX_ENVIRO] = LoadTexture("Enviro.dds", true);
}

void CubeFreeResources() {
    ReleaseShader(&s_res.solid);
    ReleaseShader(&s_res.specMap);
    ReleaseShader(&s_res.enviroMap);
    FreeMesh(&s_res.box);
    FreeMesh(&s_res.sphere);
    for (int& slot : s_res.textures)
        I3dTexForget(&slot);
    VarTableDestroy(s_res.vars);
    s_res.vars = nullptr;
}
