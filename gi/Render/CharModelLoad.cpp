// Loading a character model: the template mesh from the descriptor, one mesh buffer per part
// holding its bind pose and its triangles, the parts' base vertices in a skinned frame, and the
// textures from the "Maps" folder beside the descriptor.
#include "engine/DebugLog.h"
#include "engine/Paths.h"
#include "gi/Render/CharModelInst.h"
#include "gi/giGmModel.h"
#include "gi/giModelDefManager.h"
#include "gi/giSkinnedMesh.h"

#include "I3d/Buffers.h"
#include "I3d/MeshBuf.h"
#include "I3d/Textures.h"

#include <cstring>
#include <new>

namespace {

void ReleaseMesh(giSkinnedMesh* mesh) {
    giModelDefManager::Get()->DestroyInstance(mesh);
}

} // namespace

void CharWriteBindPose(const giMeshPart& part, uint8_t* p, const I3dVertexBuffer& vb) {
    for (int v = 0; v < part.vertexCount; ++v, p += vb.stride) {
        const size_t i = (size_t)v;
        const giVec3 pos = i < part.positions.size() ? part.positions[i] : giVec3{};
        const giVec3 nrm = i < part.normals.size() ? part.normals[i] : giVec3{};
        const giVec2 uv = !part.texCoords.empty() && i < part.texCoords[0].size()
                              ? part.texCoords[0][i]
                              : giVec2{};
        const float fp[3] = {pos.x, pos.y, pos.z}, fn[3] = {nrm.x, nrm.y, nrm.z},
                    fu[2] = {uv.x, uv.y};
        if (vb.offPos >= 0) std::memcpy(p + vb.offPos, fp, sizeof fp);
        if (vb.offNormal >= 0) std::memcpy(p + vb.offNormal, fn, sizeof fn);
        if (vb.offUv0 >= 0) std::memcpy(p + vb.offUv0, fu, sizeof fu);
    }
}

namespace {

MeshBuf* MakePartMesh(const giMeshPart& part) {
    auto* mb = new (std::nothrow) MeshBuf();
    if (!mb) return nullptr;
    if (!mb->Create(CHARMODEL_VB_FORMAT, part.vertexCount, part.triangleCount) ||
        part.indices.size() < (size_t)part.triangleCount * 3) {
        mb->Destroy();
        delete mb;
        return nullptr;
    }
    if (mb->LockVerts()) {
        if (uint8_t* p = I3dVbLockedPtr(mb->vb)) CharWriteBindPose(part, p, *mb->vb);
        mb->UnlockVerts();
    }
    if (uint16_t* idx = mb->LockIndices()) {
        std::memcpy(idx, part.indices.data(), (size_t)part.triangleCount * 3 * sizeof(uint16_t));
        mb->UnlockIndices();
    }
    return mb;
}

// Back to an empty model after a load that failed part-way.
void Empty(CharModel* model) {
    for (int i = 0; i < model->partCount; ++i) {
        if (model->partMeshes[i]) {
            model->partMeshes[i]->Destroy();
            delete model->partMeshes[i];
            model->partMeshes[i] = nullptr;
        }
        model->partBaseVertices[i] = 0;
    }
    model->partCount = 0;
    model->vertexTotal = 0;
    giModelDefManager::Get()->DestroyInstance(model->templateMesh);
    model->templateMesh = nullptr;
}

} // namespace

bool CharModelLoad(CharModel* model, const char* descriptorPath, const char* assetFolder) {
    if (!model || !descriptorPath) return false;
    if (model->templateMesh) {
        DbgPrintf(DBG_GENERAL, "CharModelLoad: %s: the model is already loaded\n", descriptorPath);
        return false;
    }
    model->descriptorPath = descriptorPath;
    model->assetFolder = assetFolder ? assetFolder : "";
    if (!model->manager) model->manager = giModelDefManager::Get();
    CharModelSetMeshRelease(ReleaseMesh);

    giSkinnedMesh* mesh = model->manager->CreateFromDescriptor(descriptorPath, assetFolder, true);
    if (!mesh) {
        DbgPrintf(DBG_GENERAL, "CharModelLoad: cannot load %s\n", descriptorPath);
        return false;
    }
    model->templateMesh = mesh;
    const giGmModel& gm = *mesh->Model();
    const int parts = gm.PartCount();
    int64_t total = 0;
    for (int i = 0; i < parts; ++i)
        total += gm.Part(i)->vertexCount;
    if (parts > CHARMODEL_MAX_PARTS || total > CHARMODEL_VB_VERTICES) {
        DbgPrintf(DBG_GENERAL,
                  "CharModelLoad: %s has %d meshes of %lld vertices; at most %d meshes and %d "
                  "vertices are drawn\n",
                  descriptorPath, parts, (long long)total, CHARMODEL_MAX_PARTS,
                  CHARMODEL_VB_VERTICES);
        Empty(model);
        return false;
    }

    char dir[1024];
    PathGetDir(descriptorPath, dir, sizeof dir);
    int32_t base = 0;
    for (int i = 0; i < parts; ++i) {
        const giMeshPart& part = *gm.Part(i);
        model->partCount = i + 1;
        model->partBaseVertices[i] = (uint32_t)base;
        model->partMeshes[i] = MakePartMesh(part);
        if (!model->partMeshes[i]) {
            DbgPrintf(DBG_GENERAL, "CharModelLoad: %s: cannot make the mesh of part %d\n",
                      descriptorPath, i);
            Empty(model);
            return false;
        }
        base += part.vertexCount;
    }
    model->vertexTotal = base;
    for (int i = 0; i < parts; ++i) {
        const std::string& name = gm.Part(i)->textures[GI_TEX_DIFFUSE];
        if (name.empty()) continue;
        const std::string path = std::string(dir) + "Maps\\" + name;
        model->partTextures[i] = I3dTexLoad(path.c_str(), name.c_str(), 1);
    }
    return true;
}

MeshBuf* CharModelMeshBuf(const CharModel* model, int i) {
    if (!model || !model->templateMesh || i < 0 || i >= model->partCount) return nullptr;
    return model->partMeshes[i];
}

int32_t CharModelTexture(const CharModel* model, int i) {
    if (!model || !model->templateMesh || i < 0 || i >= model->partCount) return -1;
    return model->partTextures[i];
}

int CharModelMeshCount(const CharModel* model) {
    return model ? model->partCount : 0;
}
