// Character models and the shader and skinning buffer every character shares.
#include "I3d/CharModel.h"

#include "I3d/Buffers.h"
#include "I3d/MeshBuf.h"
#include "I3d/Shader.h"
#include "I3d/Textures.h"

#include <new>

static int s_acquisitions = 0;
static Shader* s_shader = nullptr;
static I3dVertexBuffer* s_vb = nullptr;
static void (*s_releaseMesh)(giSkinnedMesh*) = nullptr;

void CharModelSetMeshRelease(void (*release)(giSkinnedMesh*)) {
    s_releaseMesh = release;
}

void CharModelReleaseMesh(giSkinnedMesh* mesh) {
    if (mesh && s_releaseMesh) s_releaseMesh(mesh);
}

Shader* CharModelShader() {
    return s_shader;
}

I3dVertexBuffer* CharModelVb() {
    return s_vb;
}

int CharModelAcquisitions() {
    return s_acquisitions;
}

// Made only when there is none: a reset with no character alive makes the buffer, and the next
// character's acquisition must not make a second one over it.
I3dVertexBuffer* CharModelVbCreate() {
    if (!s_vb) s_vb = I3dVbCreate(0, CHARMODEL_VB_FORMAT, CHARMODEL_VB_VERTICES);
    return s_vb;
}

void CharModelVbRelease() {
    if (!s_vb) return;
    I3dVbFree(s_vb);
    s_vb = nullptr;
}

void CharModelShaderAcquire() {
    if (s_acquisitions++ > 0) return;
    s_shader = new (std::nothrow) Shader();
    if (s_shader) {
        s_shader->SetPassFunc(0, ShaderLitTexturePass);
        s_shader->Validate(); // asked once; the answer is not acted on
    }
    CharModelVbCreate();
}

CharModel::CharModel() {
    CharModelShaderAcquire();
    for (int i = 0; i < CHARMODEL_MAX_PARTS; ++i) {
        partMeshes[i] = nullptr;
        partBaseVertices[i] = 0;
        partTextures[i] = -1;
    }
}

CharModel::~CharModel() {
    CharModelReleaseMesh(templateMesh);
    templateMesh = nullptr;
    for (int i = 0; i < partCount && i < CHARMODEL_MAX_PARTS; ++i) {
        if (partMeshes[i]) {
            partMeshes[i]->Destroy();
            delete partMeshes[i];
            partMeshes[i] = nullptr;
        }
        if (partTextures[i] != -1) I3dTexRelease(partTextures[i]);
        partTextures[i] = -1;
    }
    partCount = 0;
    if (--s_acquisitions > 0) return;
    s_acquisitions = 0;
    if (s_shader) SharedObjRelease(s_shader);
    s_shader = nullptr;
    CharModelVbRelease();
}
