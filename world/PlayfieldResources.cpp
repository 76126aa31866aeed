// The test board's value table, shaders, meshes and textures.
#include "world/PlayfieldResources.h"

#include "I3d/Camera.h"
#include "I3d/Image.h"
#include "I3d/Materials.h"
#include "I3d/MeshBuf.h"
#include "I3d/Meshes.h"
#include "I3d/Shader.h"
#include "I3d/StateCache.h"
#include "I3d/Textures.h"
#include "engine/PropDb.h"
#include "engine/VarTable.h"
#include "world/Playfield1.h"

#include <new>

namespace {

PlayfieldResources s_res;

struct Framed {
    uint32_t fill;
    int border;
    uint32_t borderColour;
};
// Board, marked, cursor, then two fills of our own that nothing draws with.
const Framed kFramed[5] = {
    {0xFF406040, 4, 0xFF606060}, {0x40FFFF00, 8, 0xC0FFFF00}, {0x00000000, 16, 0xFFFFFFFF},
    {0xFF404080, 4, 0xFF202040}, {0x80FFFFFF, 2, 0xFF000000},
};
constexpr int kFramedSide = 256;
constexpr int kBlenderSide = 32;

void AddVars(VarTable* t) {
    using C = Playfield1;
    VarTableAddString(t, "name", PROP_OFFSET(C, name), 32, "!");
    VarTableAddFloat(t, "pos.x", PROP_OFFSET(C, pos.x), 0.0f, 0.0f, 5120.0f);
    VarTableAddFloat(t, "pos.y", PROP_OFFSET(C, pos.y), 0.0f, -200.0f, 3000.0f);
    VarTableAddFloat(t, "pos.z", PROP_OFFSET(C, pos.z), 0.0f, 0.0f, 5120.0f);
    VarTableAddFloat(t, "tileSize", PROP_OFFSET(C, tileSize), 0.0f, 0.0f, 20.0f);
    VarTableAddInt(t, "dim.x", PROP_OFFSET(C, dimX), 0, 1, PLAYFIELD_MAX_DIM);
    VarTableAddInt(t, "dim.y", PROP_OFFSET(C, dimY), 0, 1, PLAYFIELD_MAX_DIM);
    VarTableAddString(t, "textureNormal", PROP_OFFSET(C, textureNormal), 260, "!");
    VarTableAddString(t, "textureMarked", PROP_OFFSET(C, textureMarked), 260, "!");
}

void MakeVars() {
    if (s_res.vars) return;
    s_res.vars = VarTableBuild(AddVars);
}

// ---- shader passes ----

void SetWhiteMaterial() {
    const float white[4] = {1.0f, 1.0f, 1.0f, 1.0f};
    const float black[4] = {0.0f, 0.0f, 0.0f, 1.0f};
    D3dSetDiffuseMaterialSource(D3DMCS_MATERIAL);
    D3dSetAmbientMaterialSource(D3DMCS_MATERIAL);
    D3dSetSpecularMaterialSource(D3DMCS_MATERIAL);
    D3dSetEmissiveMaterialSource(D3DMCS_MATERIAL);
    D3dSetMaterialDiffuse(white);
    D3dSetMaterialAmbient(white);
    D3dSetMaterialSpecular(white);
    D3dSetMaterialEmissive(black);
    D3dSetMaterialPower(10.0f);
}

// What the board and overlay passes share: blended, depth-tested, two-sided, the texture of
// word 8 times the factor of word 0.
void CommonStates() {
    D3dSetZEnable(1);
    D3dSetZFunc(D3DCMP_LESSEQUAL);
    D3dSetZWrite(1);
    D3dSetCullMode(D3DCULL_NONE);
    D3dSetFillMode(D3DFILL_SOLID);
    D3dSetAlphaTest(0);
    D3dSetAlphaBlend(1);
    D3dSetSrcBlend(D3DBLEND_SRCALPHA);
    D3dSetDestBlend(D3DBLEND_INVSRCALPHA);
    SetWhiteMaterial();
    D3dSetTexCoordIndex(0, 0);
    D3dSetAddressU(0, D3DTADDRESS_WRAP);
    D3dSetAddressV(0, D3DTADDRESS_WRAP);
    D3dSetMinFilter(0, D3DTEXF_LINEAR);
    D3dSetMagFilter(0, D3DTEXF_LINEAR);
    D3dSetTexture(0, (int)ShaderParams.words[8]);
    D3dSetTextureFactor(ShaderParams.words[0]);
    D3dSetTextureFactorStages();
}

// The floor: lit, the tile texture repeated by the texture matrix in matrix 0.
void BoardPass() {
    CommonStates();
    D3dSetZBias(0);
    D3dSetLighting(1);
    D3dSetSpecular(1);
    I3dSetTexMatrix(0, &ShaderParams.matrices[0]);
    D3dSetTexTransformFlags(0, D3DTTFF_COUNT2);
}

// Marks and cursor: drawn just above the floor and pulled toward the eye so that they win.
void TileOverlayPass() {
    CommonStates();
    D3dSetZBias(2);
    D3dSetLighting(0);
    D3dSetSpecular(0);
    D3dSetTexTransformFlags(0, D3DTTFF_DISABLE);
}

void FlatOverlayPass() {
    TileOverlayPass();
    D3dSetColorOp(0, D3DTOP_SELECTARG1);
    D3dSetColorArg1(0, D3DTA_TFACTOR);
    D3dSetAlphaOp(0, D3DTOP_SELECTARG1);
    D3dSetAlphaArg1(0, D3DTA_TFACTOR);
}

Shader* MakeShader(const char* name, ShaderPassFn pass) {
    auto* shader = new (std::nothrow) Shader();
    if (!shader) return nullptr;
    shader->SetName(name);
    shader->SetPassFunc(0, pass);
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

// ---- textures ----

// A checker of 4-texel squares, opaque white and clear.
int MakeBlender() {
    I3dImage* img = ImgAlloc(kBlenderSide, kBlenderSide, IMG_A8R8G8B8);
    if (!img) return -1;
    for (int y = 0; y < kBlenderSide; ++y) {
        auto* row = reinterpret_cast<uint32_t*>(img->pixels + (size_t)y * img->pitch);
        for (int x = 0; x < kBlenderSide; ++x)
            row[x] = ((x / 4 + y / 4) & 1) ? 0xFFFFFFFFu : 0x00FFFFFFu;
    }
    int slot = D3dTexCreate(kBlenderSide, kBlenderSide, I3DTEX_A8R8G8B8, 1, "Blender", 0);
    if (slot >= 0) {
        I3dImage locked;
        if (I3dTexLockImage(slot, 0, &locked) == 0) {
            ImgBlitConvert(&locked, 0, 0, kBlenderSide, kBlenderSide, img, 0, 0);
            D3dTextureUnlock(slot, 0);
        } else {
            I3dTexFreeSlot(slot);
            slot = -1;
        }
    }
    ImgFree(img);
    return slot;
}

} // namespace

PlayfieldResources& PlayfieldRes() {
    return s_res;
}

void PlayfieldMakeResources() {
    MakeVars();
    if (!s_res.board) s_res.board = MakeShader("PlayfieldBoard", BoardPass);
    if (!s_res.tileOverlay) s_res.tileOverlay = MakeShader("PlayfieldTile", TileOverlayPass);
    if (!s_res.flatOverlay) s_res.flatOverlay = MakeShader("PlayfieldFlat", FlatOverlayPass);
    if (!s_res.solid) s_res.solid = MakeShader("PlayfieldSolid", ShaderLitTexturePass);
    if (!s_res.sphere) s_res.sphere = MeshMakeSphere(12, 24);
    if (!s_res.boardQuad) s_res.boardQuad = MeshMakeQuadXZ();
    if (!s_res.tileQuad) s_res.tileQuad = MeshMakeQuadXZ();
    for (int i = 0; i < 5; ++i)
        if (s_res.textures[i] < 0)
            s_res.textures[i] = TexMakeFramed(kFramedSide, kFramedSide, kFramed[i].fill,
                                              kFramed[i].border, kFramed[i].borderColour);
    if (s_res.textures[PFTEX_BLENDER] < 0) s_res.textures[PFTEX_BLENDER] = MakeBlender();
}

void PlayfieldFreeResources() {
    ReleaseShader(&s_res.board);
    ReleaseShader(&s_res.tileOverlay);
    ReleaseShader(&s_res.flatOverlay);
    ReleaseShader(&s_res.solid);
    FreeMesh(&s_res.sphere);
    FreeMesh(&s_res.boardQuad);
    FreeMesh(&s_res.tileQuad);
    for (int& slot : s_res.textures)
        I3dTexForget(&slot);
    VarTableDestroy(s_res.vars);
    s_res.vars = nullptr;
}
