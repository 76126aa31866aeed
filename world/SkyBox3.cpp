// The strip sky box: its table, the class's walls and shader, and its draw.
#include "world/SkyBox3.h"

#include "I3d/Camera.h"
#include "I3d/Materials.h"
#include "I3d/MeshBuf.h"
#include "I3d/Shader.h"
#include "I3d/StateCache.h"
#include "I3d/Textures.h"
#include "engine/DebugLog.h"
#include "engine/PropDb.h"
#include "engine/System.h"

#include <new>

namespace {
PropDb* Db() {
    static PropDb s_db;
    if (!s_db.first) {
        PropDb* db = &s_db;
        PropDbSetName(db, "SkyBox3");
        PropDbAddSeparator(db, "General:");
        PropDbAddStringBlank(db, "name", PROP_OFFSET(SkyBox3, name), 32);
        PropDbAddVector3Zero(db, "pos", PROP_OFFSET(SkyBox3, pos));
        PropDbAddVector3Zero(db, "scale", PROP_OFFSET(SkyBox3, scale));
        PropDbAddStringBlank(db, "texName", PROP_OFFSET(SkyBox3, texName), 260);
        PropDbAddBool(db, "fogEnable", PROP_OFFSET(SkyBox3, fogEnable), 1);
    }
    return &s_db;
}

const WorldClassDef kClass = {"SkyBox3", Db, WorldMake<SkyBox3>, WorldClassFlags<SkyBox3>::Reset};

MeshBuf* s_mesh = nullptr;
Shader* s_shader = nullptr;

// The walls z = +1, z = -1, x = +1, x = -1, each seen from inside with u running left to right
// and its band of the strip from top to bottom.
void FillWalls(MeshBuf* mesh) {
    struct Corner {
        float x, z;
    };
    static const Corner kLeftRight[4][2] = {
        {{-1.0f, 1.0f}, {1.0f, 1.0f}},
        {{1.0f, -1.0f}, {-1.0f, -1.0f}},
        {{1.0f, 1.0f}, {1.0f, -1.0f}},
        {{-1.0f, -1.0f}, {-1.0f, 1.0f}},
    };
    static const float kBand[4][2] = {
        {0.005f, 0.25f}, {0.255f, 0.5f}, {0.505f, 0.75f}, {0.755f, 1.0f}};
    for (int w = 0; w < 4; ++w) {
        const Corner l = kLeftRight[w][0], r = kLeftRight[w][1];
        const float top = kBand[w][0], bottom = kBand[w][1];
        const float corners[4][5] = {{l.x, 1.0f, l.z, 0.0f, top},
                                     {r.x, 1.0f, r.z, 1.0f, top},
                                     {r.x, -1.0f, r.z, 1.0f, bottom},
                                     {l.x, -1.0f, l.z, 0.0f, bottom}};
        for (const auto& c : corners) {
            I3dVbPos(c[0], c[1], c[2]);
            I3dVbNormal(0.0f, 1.0f, 0.0f);
            I3dVbColor(0xFFFFFFFFu);
            I3dVbUv(c[3], c[4]);
            I3dVbNext();
        }
    }
    mesh->UnlockVerts();
    uint16_t* idx = mesh->LockIndices();
    if (!idx) return;
    for (int w = 0; w < 4; ++w) {
        const uint16_t v = uint16_t(4 * w);
        const uint16_t tri[6] = {v, uint16_t(v + 1), uint16_t(v + 2),
                                 v, uint16_t(v + 2), uint16_t(v + 3)};
        for (uint16_t i : tri)
            *idx++ = i;
    }
    mesh->UnlockIndices();
}

// Self-lit: whatever lights are on, the lit colour is white and the strip shows as painted.
void SkyBox3Pass() {
    D3dSetAlphaTest(0);
    D3dSetZWrite(0);
    D3dSetZFunc(D3DCMP_ALWAYS);
    D3dSetCullMode(D3DCULL_NONE);
    D3dSetFillMode(D3DFILL_SOLID);
    D3dSetLighting(1);
    D3dSetAmbientMaterialSource(D3DMCS_MATERIAL);
    D3dSetDiffuseMaterialSource(D3DMCS_MATERIAL);
    D3dSetSpecularMaterialSource(D3DMCS_MATERIAL);
    D3dSetEmissiveMaterialSource(D3DMCS_MATERIAL);
    static const float kWhite[4] = {1.0f, 1.0f, 1.0f, 1.0f};
    static const float kNone[4] = {0.0f, 0.0f, 0.0f, 1.0f};
    D3dSetMaterialDiffuse(kWhite);
    D3dSetMaterialAmbient(kNone);
    D3dSetMaterialSpecular(kNone);
    D3dSetMaterialEmissive(kWhite);
    D3dSetSpecular(0);
    D3dSetAlphaBlend(1);
    D3dSetSrcBlend(D3DBLEND_SRCALPHA);
    D3dSetDestBlend(D3DBLEND_INVSRCALPHA);
    D3dSetTexCoordIndex(0, 0);
    D3dSetTexTransformFlags(0, D3DTTFF_DISABLE);
    D3dSetAddressU(0, D3DTADDRESS_CLAMP);
    D3dSetAddressV(0, D3DTADDRESS_CLAMP);
    D3dSetMinFilter(0, D3DTEXF_LINEAR);
    D3dSetMagFilter(0, D3DTEXF_LINEAR);
    D3dSetColorOp(0, D3DTOP_MODULATE);
    D3dSetColorArg1(0, D3DTA_TEXTURE);
    D3dSetColorArg2(0, D3DTA_DIFFUSE);
    D3dSetAlphaOp(0, D3DTOP_MODULATE);
    D3dSetAlphaArg1(0, D3DTA_TEXTURE);
    D3dSetAlphaArg2(0, D3DTA_DIFFUSE);
    D3dSetTexture(0, int(ShaderParams.words[8]));
    D3dSetColorOp(1, D3DTOP_DISABLE);
    D3dSetAlphaOp(1, D3DTOP_DISABLE);
}

void MakeClassResources() {
    if (!s_shader) {
        s_shader = new (std::nothrow) Shader();
        if (s_shader) {
            s_shader->SetName("SkyCube");
            s_shader->SetPassFunc(0, SkyBox3Pass);
        }
    }
    if (!s_mesh) {
        s_mesh = new (std::nothrow) MeshBuf();
        if (s_mesh && s_mesh->Create(71, 16, 8) && s_mesh->LockVerts()) {
            FillWalls(s_mesh);
        } else if (s_mesh) {
            DbgPrintf(1, "SkyBox3: no walls made\n");
            s_mesh->Destroy();
        }
    }
}

void FreeClassResources() {
    if (s_shader) SharedObjRelease(s_shader);
    s_shader = nullptr;
    if (s_mesh) s_mesh->Destroy();
    delete s_mesh;
    s_mesh = nullptr;
}
} // namespace

MeshBuf* SkyBox3Mesh() {
    return s_mesh;
}
Shader* SkyBox3Shader() {
    return s_shader;
}

intptr_t EcSkyBox3Proc(EntNode* node, int message, intptr_t a, intptr_t b, intptr_t c) {
    if (message == ENT_CLASS_MSG_BUILD_DB) MakeClassResources();
    if (message == ENT_CLASS_MSG_UNREGISTER) FreeClassResources();
    return WorldClassProc(kClass, node, message, a, b, c);
}

int SkyBox3::CopyClassName(char* buffer) {
    return WorldCopyClassName("SkyBox3", buffer);
}

int SkyBox3::Create(EntNode*) {
    if (classDb) PropDbInitObject(classDb, this);
    scale = {1.0f, 1.0f, 1.0f};
    slot = -1;
    return 0;
}

int SkyBox3::Start() {
    if (slot >= 0) I3dTexRelease(slot);
    slot = -1;
    if (texName[0]) {
        char path[600];
        if (SysDataFilePath(path, sizeof path, texName) == 1) slot = I3dTexLoad(path, nullptr, 1);
        if (slot < 0) DbgPrintf(1, "SkyBox3: no texture \"%s\", not drawn\n", texName);
    }
    VarsChanged();
    return 0;
}

int SkyBox3::DrawPre() {
    // Without its texture the box would draw untextured: one flat colour all round.
    if (!(GetClassFlags() & ENT_CLASS_DRAW) || slot < 0 || !s_shader || !s_mesh || !s_mesh->vb)
        return 1;
    Mat4 world = {};
    world.m[0] = scale.x;
    world.m[5] = scale.y;
    world.m[10] = scale.z;
    world.m[12] = pos.x;
    world.m[13] = pos.y;
    world.m[14] = pos.z;
    world.m[15] = 1.0f;
    I3dSetWorld(&world);
    const DWORD fog = D3dGetRenderState(D3DRS_FOGENABLE);
    D3dSetFogEnable(fogEnable ? 1 : 0);
    ShaderParams.words[8] = uint32_t(slot);
    for (int i = 0; i < s_shader->NumPasses(); ++i) {
        s_shader->CallPass(i);
        s_mesh->Draw();
    }
    s_shader->EndPass();
    D3dSetFogEnable(fog);
    return 1;
}

int SkyBox3::Destroy() {
    if (slot >= 0) I3dTexRelease(slot);
    slot = -1;
    return ENTBASE::Destroy();
}
