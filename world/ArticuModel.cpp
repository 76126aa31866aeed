// Articulated models: their value table, the node and material records, the turning and
// scrolling, and the draw of the plain model.
#include "world/ArticuModel.h"

#include "I3d/Camera.h"
#include "I3d/Materials.h"
#include "I3d/Math/Mat4Math.h"
#include "I3d/Mdl3.h"
#include "I3d/Mdl3Draw.h"
#include "I3d/StateCache.h"
#include "engine/PropDb.h"
#include "engine/VarTable.h"
#include "gi/Render/Mdl3Ex.h"

#include <cstring>

// ---- class ----

namespace {
DataDir s_folder;
VarTable* s_vars = nullptr;
// One per material record: the records of every instance scroll through these in turn, each
// setting its own offsets just before its draw.
Mat4 s_texMatrix[ARTICU_MATERIALS];

void AddVars(VarTable* t) {
    VarTableAddString(t, "name", PROP_OFFSET(ArticuModel, name), 32, "!");
    VarTableAddString(t, "modelFile", PROP_OFFSET(ArticuModel, modelFile), 260, "!");
    VarTableAddFloat(t, "x", PROP_OFFSET(ArticuModel, pos.x), 0.0f, 0.0f, 5120.0f);
    // Bound to "pos" y, which the world matrix reads, so that the height in a file moves it.
    VarTableAddFloat(t, "y", PROP_OFFSET(ArticuModel, pos.y), 0.0f, -200.0f, 3000.0f);
    VarTableAddFloat(t, "z", PROP_OFFSET(ArticuModel, pos.z), 0.0f, 0.0f, 5120.0f);
    VarTableAddFloat(t, "yaw", PROP_OFFSET(ArticuModel, yaw), 0.0f, 0.0f, 6.28319f);
    VarTableAddFloat(t, "pitch", PROP_OFFSET(ArticuModel, pitch), 0.0f, 0.0f, 6.28319f);
    VarTableAddFloat(t, "roll", PROP_OFFSET(ArticuModel, roll), 0.0f, 0.0f, 6.28319f);
    VarTableAddFloat(t, "scale", PROP_OFFSET(ArticuModel, scale.x), 1.0f, 0.1f, 20.0f);
    VarTableAddBool(t, "agl", PROP_OFFSET(ArticuModel, agl), 0);
    VarTableAddFloat(t, "visFactor", PROP_OFFSET(ArticuModel, visFactor), 1.0f, 0.2f, 4.0f);
    VarTableAddBool(t, "clsnBox", PROP_OFFSET(ArticuModel, clsnBox), 0);
    VarTableAddString(t, "node0Name", PROP_OFFSET(ArticuModel, nodes[0].name), 32, "!");
    VarTableAddInt(t, "node0Axis", PROP_OFFSET(ArticuModel, nodes[0].axis), 0, 0, 2);
    VarTableAddFloat(t, "node0Rate", PROP_OFFSET(ArticuModel, nodes[0].rate), 1.0f, 0.0f, 3.0f);
    VarTableAddString(t, "node1Name", PROP_OFFSET(ArticuModel, nodes[1].name), 32, "!");
    VarTableAddInt(t, "node1Axis", PROP_OFFSET(ArticuModel, nodes[1].axis), 0, 0, 2);
    VarTableAddFloat(t, "node1Rate", PROP_OFFSET(ArticuModel, nodes[1].rate), 1.0f, 0.0f, 3.0f);
    VarTableAddString(t, "material0Name", PROP_OFFSET(ArticuModel, materials[0].name), 32, "!");
    VarTableAddFloat(t, "material0X", PROP_OFFSET(ArticuModel, materials[0].rateU), 0.1f, 0.0f,
                     5.0f);
    VarTableAddFloat(t, "material0Y", PROP_OFFSET(ArticuModel, materials[0].rateV), 0.1f, 0.0f,
                     5.0f);
}

void MakeVars() {
    if (s_vars) return;
    s_vars = VarTableBuild(AddVars);
}

void Registered() {
    WorldClassFlags<ArticuModel>::Reset();
    for (Mat4& m : s_texMatrix)
        Mat4Identity(&m);
    MakeVars();
}

void ResetClass() {
    Ent3dForgetTerrain();
}

void Unregistered() {
    VarTableDestroy(s_vars);
    s_vars = nullptr;
}

const WorldClassDef kClass = {"ArticuModel", nullptr,   WorldMake<ArticuModel>,
                              Registered,    &s_folder, ResetClass,
                              Unregistered};

// The turn of a node about its axis.
Mat4 AxisRotation(int32_t axis, float angle) {
    Mat4 m;
    Mat4Identity(&m);
    if (axis == 0) return *Mat4RotateX(&m, angle);
    if (axis == 1) return *Mat4RotateY(&m, angle);
    return *Mat4RotateZ(&m, angle);
}
} // namespace

VarTable* ArticuModelVars() {
    return s_vars;
}

const Mat4* ArticuModelTexMatrix(int record) {
    return record >= 0 && record < ARTICU_MATERIALS ? &s_texMatrix[record] : nullptr;
}

intptr_t EcArticuModelProc(EntNode* node, int message, intptr_t a, intptr_t b, intptr_t c) {
    return WorldClassProc(kClass, node, message, a, b, c);
}

int ArticuModel::CopyClassName(char* buffer) {
    return WorldCopyClassName("ArticuModel", buffer);
}

// ---- life ----

int ArticuModel::Create(EntNode* n) {
    // A script-made model gets the table's values, as one read from a file without them would.
    VarTableInitObject(s_vars, this);
    StaticObject::Create(n);
    folder = &s_folder;
    instanceVars = s_vars;
    nodeCount = ARTICU_NODES;
    for (ArticuNode& r : nodes)
        r.node = nullptr, r.rate = 0.0f, r.angle = 0.0f;
    for (ArticuMaterial& r : materials)
        r.material = nullptr, r.rateU = r.rateV = r.offsetU = r.offsetV = 0.0f;
    return 0;
}

int ArticuModel::Start() {
    StaticObject::Start();
    MDL3* mdl = instance ? instance->mdl : nullptr;
    for (ArticuNode& r : nodes)
        r.node = mdl ? Mdl3FindNode(&mdl->nodes[0], r.name) : nullptr;
    for (ArticuMaterial& r : materials)
        r.material = mdl ? Mdl3FindMaterial(mdl, r.name) : nullptr;
    VarsChanged();
    return 0;
}

int ArticuModel::Update(float seconds) {
    for (ArticuNode& r : nodes)
        r.angle += seconds * r.rate;
    materials[0].offsetU += seconds * materials[0].rateU;
    materials[0].offsetV += seconds * materials[0].rateV;
    return 1;
}

// ---- drawing ----

int ArticuModel::DrawPre() {
    if (hidden || !instance) return 1;
    D3dSetZEnable(D3DZB_TRUE);
    D3dSetZWrite(1);
    D3dSetZFunc(D3DCMP_LESSEQUAL);
    Mat4 turns[ARTICU_NODES];
    for (int i = 0; i < ARTICU_NODES; ++i) {
        if (!nodes[i].node) continue;
        turns[i] = AxisRotation(nodes[i].axis, nodes[i].angle);
        Mdl3NodeSetOverride(nodes[i].node, &turns[i]);
    }
    for (int i = 0; i < ARTICU_MATERIALS; ++i) {
        if (!materials[i].material) continue;
        // Two-coordinate texture transforms take their translation from the third row.
        s_texMatrix[i].m[8] = materials[i].offsetU;
        s_texMatrix[i].m[9] = materials[i].offsetV;
        I3dMaterialSetTexMatrix(materials[i].material, &s_texMatrix[i]);
    }
    const float lod = Mdl3GetLodScale();
    Mdl3SetLodScale(I3dGetViewDistScale() * visFactor);
    Mdl3Draw(instance->mdl, &matrix);
    Mdl3SetLodScale(lod);
    // The model is shared: another object drawing it must see it unturned and unscrolled, and
    // the turns above live on this stack.
    for (ArticuNode& r : nodes)
        if (r.node) Mdl3NodeClearOverride(r.node);
    for (ArticuMaterial& r : materials)
        if (r.material) I3dMaterialSetTexMatrix(r.material, nullptr);
    return 1;
}
