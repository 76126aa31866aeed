// Extended models: the shared list, loading with the model-info file and the specular and emissive
// maps, the module-wide resources the first model makes, attach nodes and node lookups.
#include "gi/Render/Mdl3Ex.h"

#include "I3d/Camera.h"
#include "I3d/Math/Mat4Math.h"
#include "I3d/Mdl3Walk.h"
#include "I3d/Textures.h"
#include "engine/DataDir.h"
#include "engine/DebugLog.h"
#include "engine/Files.h"
#include "engine/Paths.h"
#include "gi/Render/Mdl3ExShaders.h"
#include "platform/PathResolve.h"
#include "world/Particles/ParticleSys.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <new>
#include <string>
#include <strings.h>

static SharedObj* s_models = nullptr;
static int s_sharedRefs = 0;
static ParticleSys* s_particles = nullptr;

SharedObj** Mdl3ExList() {
    return &s_models;
}

ParticleSys* Mdl3ExParticles() {
    return s_particles;
}

// ---- shared resources ----

void Mdl3ExInitSchemas() {
    if (s_sharedRefs++ > 0) return;
    Mdl3ExSchemasAcquire();
    // The texture is found in the data folder; the system is still shared by its title.
    DataDir dir;
    DataDirSetFromFile(&dir, nullptr);
    char path[300];
    DataDirFile(&dir, "Particles", path, sizeof path);
    s_particles = ParticleSysAcquire(path, MDL3EX_MAX_LIGHTS);
    Mdl3ExShadersAcquire();
}

void Mdl3ExFreeSchemas() {
    if (s_sharedRefs <= 0 || --s_sharedRefs > 0) return;
    Mdl3ExShadersRelease();
    if (s_particles) SharedObjRelease(s_particles);
    s_particles = nullptr;
    Mdl3ExSchemasRelease();
}

// ---- the model ----

Mdl3ExModel::Mdl3ExModel() {
    Mdl3ExInitSchemas();
}

Mdl3ExModel::~Mdl3ExModel() {
    for (int32_t slot : specSlots)
        if (slot >= 0) I3dTexRelease(slot);
    for (int32_t slot : emitSlots)
        if (slot >= 0) I3dTexRelease(slot);
    if (mdl) {
        // Another user of the same shared model keeps its textures until its own release.
        if (mdl->refCount <= 1) Mdl3FreeTextures(mdl);
        Mdl3Release(mdl);
    }
    Mdl3ExFreeSchemas();
}

// ---- loading ----

namespace {

// "<diffuse map title><suffix>" beside the model (the texture loader takes a ".tga" of the same
// title when there is no ".dds"); a material without a diffuse map has none. The maps are
// optional: one the model does not have is no fault and is not looked for by the loader, so
// only a map that is there and cannot be read is warned about.
int32_t LoadMap(const std::string& folder, const MDL3MTRL& m, const char* suffix) {
    const std::string name(m.diffuseMap, strnlen(m.diffuseMap, sizeof m.diffuseMap));
    if (name.empty()) return -1;
    char base[64];
    if (PathStripExt(name.c_str(), base, sizeof base) != 1 || !base[0]) return -1;
    const std::string path = folder + base + suffix;
    std::string disk;
    if (PlatPathResolve(path.c_str(), &disk) != 1 &&
        PlatPathResolve(PathWithExt(path.c_str(), "tga").c_str(), &disk) != 1)
        return -1;
    return I3dTexLoad(path.c_str(), nullptr, 1);
}

// A yaw replaces the node's turn and keeps its place. The node draws its matrix only while
// flagged as transformed, so the flag follows the new matrix.
void SetYaw(MDL3NODE* node, float yaw) {
    Mat4 m;
    Mat4RotateY(Mat4Identity(&m), yaw);
    m.m[12] = node->Matrix.m[12];
    m.m[13] = node->Matrix.m[13];
    m.m[14] = node->Matrix.m[14];
    node->Matrix = m;
    if (Mat4IsIdentity(&m))
        node->flags &= ~MDL3_NODETRANSFORM;
    else
        node->flags |= MDL3_NODETRANSFORM;
}

void ReadInfo(Mdl3ExModel* model, const char* iniPath) {
    Mdl3ExInfo info;
    Mdl3ExInfoRead(iniPath, model->attachCount, &info);
    model->numNodes = info.counts.numNodes;
    model->numPointLights = info.counts.numPointLights;
    model->nodes = std::move(info.nodes);
    model->lights = std::move(info.lights);
    if (!model->mdl || model->mdl->numNodes < 1) return;
    char name[32];
    for (size_t i = 0; i < info.attachYaw.size(); ++i) {
        if (std::isnan(info.attachYaw[i])) continue; // no key: the authored matrix stays
        std::snprintf(name, sizeof name, "Attach%02i", (int)i);
        if (MDL3NODE* node = Mdl3FindNode(&model->mdl->nodes[0], name))
            SetYaw(node, info.attachYaw[i]);
    }
}

Mdl3ExModel* MakeModel(const std::string& title, MDL3* mdl) {
    auto* model = new (std::nothrow) Mdl3ExModel();
    if (!model) {
        if (mdl) {
            if (mdl->refCount <= 1) Mdl3FreeTextures(mdl);
            Mdl3Release(mdl);
        }
        return nullptr;
    }
    model->mdl = mdl;
    model->SetName(title.c_str());
    SharedObjLink(model, &s_models);
    return model;
}

} // namespace

Mdl3ExModel* Mdl3ExLoad(const char* path) {
    const std::string title = PathFileTitle(path ? path : "");
    if (title.empty()) return nullptr;
    if (SharedObj* found = SharedObjAcquire(title.c_str(), s_models))
        return static_cast<Mdl3ExModel*>(found);

    const std::string md3 = PathWithExt(path, "md3");
    MDL3* mdl = Mdl3Load(md3.c_str(), 1);
    if (!mdl)
        DbgPrintf(DBG_ENTITY, "** WARNING ** could not find %s\n", path);
    else if (mdl->refCount == 1) // a model shared already has its textures
        Mdl3LoadTextures(mdl, md3.c_str());
    const std::string ini = PathWithExt(path, "ini");
    if (!mdl && !FileExists(ini.c_str())) return nullptr;

    Mdl3ExModel* model = MakeModel(title, mdl);
    if (!model) return nullptr;
    if (mdl) {
        const std::string folder = PathDir(md3);
        model->specSlots.assign((size_t)mdl->numMaterials, -1);
        model->emitSlots.assign((size_t)mdl->numMaterials, -1);
        static const char* const specularSuffix = "Spec.dds";
        static const char* const emissiveSuffix = "Emit.dds";
        for (int32_t i = 0; i < mdl->numMaterials; ++i) {
            model->specSlots[(size_t)i] = LoadMap(folder, mdl->materials[i], specularSuffix);
            model->emitSlots[(size_t)i] = LoadMap(folder, mdl->materials[i], emissiveSuffix);
        }
    }
    Mdl3ExRecountAttach(model);
    ReadInfo(model, ini.c_str());
    return model;
}

Mdl3ExModel* Mdl3ExLoadInfoOnly(const char* path) {
    const std::string title = PathFileTitle(path ? path : "");
    if (title.empty()) return nullptr;
    if (SharedObj* found = SharedObjAcquire(title.c_str(), s_models))
        return static_cast<Mdl3ExModel*>(found);
    if (!FileExists(path)) return nullptr;
    Mdl3ExModel* model = MakeModel(title, nullptr);
    if (model) ReadInfo(model, path);
    return model;
}

// ---- attach nodes and lookups ----

void Mdl3ExRecountAttach(Mdl3ExModel* model) {
    if (!model) return;
    model->attachCount = 0;
    model->attach.clear();
    if (!model->mdl) return;
    model->attach.assign((size_t)model->mdl->numNodes, 0);
    for (int32_t i = 0; i < model->mdl->numNodes; ++i) {
        if (strncasecmp(model->mdl->nodes[i].name, "Attach", 6) != 0) continue;
        model->attach[(size_t)i] = 1;
        ++model->attachCount;
    }
}

MDL3NODE* ModelFindNode(Mdl3ExModel* model, const char* name) {
    if (!model || !model->mdl || model->mdl->numNodes < 1) return nullptr;
    return Mdl3FindNode(&model->mdl->nodes[0], name);
}

int Mdl3ExGetAttachMatrices(Mdl3ExModel* model, Mat4* out, int capacity) {
    if (!model || !model->mdl || model->mdl->numNodes < 1 || !out || capacity < 1) return 0;
    if (model->attachCount < 1 || model->attach.size() != (size_t)model->mdl->numNodes) return 0;
    static std::vector<Mat4> s_parents;
    Mat4 world;
    I3dGetWorldMatrix(&world);
    const MDL3NODE* nodes = model->mdl->nodes;
    int count = 0;
    Mdl3Walk(&nodes[0], world, 1, s_parents, [&](const MDL3NODE& n, const Mat4& m) {
        if (count < capacity && model->attach[(size_t)(&n - nodes)]) out[count++] = m;
        return count < capacity;
    });
    return count;
}
