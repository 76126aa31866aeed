// Characters: one skinned mesh each over the shared model, skinned into the shared buffer and
// drawn with the character shader.
#include "gi/Render/CharModelInst.h"

#include "gi/giGmModel.h"
#include "gi/giModelDefManager.h"
#include "gi/giSkeleton.h"
#include "gi/giSkinnedMesh.h"

#include "I3d/Buffers.h"
#include "I3d/MeshBuf.h"
#include "I3d/Shader.h"

#include <new>

CharModelInst::CharModelInst() {
    for (int32_t& o : overrides)
        o = -1;
}

CharModelInst::~CharModelInst() {
    if (mesh) giModelDefManager::Get()->DestroyInstance(mesh);
    mesh = nullptr;
}

CharModelInst* CharModelCreateInstance(CharModel* model) {
    auto* inst = new (std::nothrow) CharModelInst();
    if (!inst) return nullptr;
    inst->model = model;
    if (model && model->templateMesh) {
        if (!model->manager) model->manager = giModelDefManager::Get();
        inst->mesh = model->manager->CreateFromDescriptor(
            model->descriptorPath.c_str(),
            model->assetFolder.empty() ? nullptr : model->assetFolder.c_str(), true);
    }
    return inst;
}

void CharModelInstAnimate(CharModelInst* inst) {
    if (inst && inst->mesh) inst->mesh->Animate(false);
}

void CharModelInstNotePoseMemory(const CharModelInst* inst, giPoseMemory* memory) {
    if (!memory) return;
    memory->Clear();
    if (!inst || !inst->mesh) return;
    memory->Add(inst, sizeof *inst);
    inst->mesh->NotePoseMemory(memory);
}

void CharModelInstPlayAnim(CharModelInst* inst, const char* name) {
    if (!inst || !inst->mesh || !name) return;
    inst->mesh->PlayExclusive(name, true, 0.0f, 1.0f, 0);
}

void CharModelInstSetSkin(CharModelInst* inst, int32_t slot) {
    if (!inst || !inst->mesh || !inst->model || inst->model->partCount < 1) return;
    const CharModel& m = *inst->model;
    for (int i = 0; i < m.partCount && i < CHARMODEL_MAX_PARTS; ++i)
        if (m.partTextures[i] == m.partTextures[0]) inst->overrides[i] = slot;
}

namespace {

// The parts fit the buffer and the model is whole: what loading checked, asked again because
// a model's fields are public.
bool Drawable(const CharModelInst* inst) {
    return inst && inst->mesh && inst->model && inst->model->templateMesh &&
           inst->model->partCount <= CHARMODEL_MAX_PARTS &&
           inst->model->vertexTotal <= CHARMODEL_VB_VERTICES && CharModelVb() && CharModelShader();
}

} // namespace

bool CharModelInstSkin(CharModelInst* inst) {
    if (!Drawable(inst)) return false;
    const CharModel& m = *inst->model;
    const giSkinnedMesh& mesh = *inst->mesh;
    const giGmModel* gm = mesh.Model();
    const giSkeleton* skel = mesh.Skeleton();
    I3dVertexBuffer* vb = CharModelVb();
    if (!gm || m.vertexTotal < 1 || I3dVbLock(vb, m.vertexTotal) != 0) return false;
    uint8_t* p = I3dVbLockedPtr(vb);
    if (!p) {
        I3dVbUnlock(vb);
        return false;
    }
    const int parts = gm->PartCount() < m.partCount ? gm->PartCount() : m.partCount;
    for (int i = 0; i < parts; ++i) {
        const giMeshPart& part = *gm->Part(i);
        uint8_t* dst = p + (size_t)m.partBaseVertices[i] * (size_t)vb->stride;
        // Without skin records of the part's size skinning writes nothing: the part stands in
        // its bind pose instead of showing what the ring held before.
        if (skel && i < skel->MeshCount() && skel->MeshVertexCount(i) == part.vertexCount)
            mesh.SkinVertices(i, dst + vb->offPos, vb->stride, dst + vb->offNormal, vb->stride,
                              dst + vb->offUv0, vb->stride, nullptr, 0, nullptr, 0);
        else
            CharWriteBindPose(part, dst, *vb);
    }
    I3dVbUnlock(vb);
    return true;
}

namespace {

void DrawPart(const CharModel& m, int i, int32_t texture) {
    const MeshBuf* mb = m.partMeshes[i];
    if (!mb || !mb->ib) return;
    ShaderParams.words[8] = (uint32_t)texture;
    CharModelShader()->CallPass(0);
    I3dVbSelect(CharModelVb());
    I3dIbSelectBase(mb->ib, (int)m.partBaseVertices[i]);
    I3dVbDrawIndexedFrom(D3DPT_TRIANGLELIST, (int)mb->triangleCount, (int)mb->vertexCount, 0);
}

} // namespace

void CharModelInstDraw(CharModelInst* inst) {
    if (!CharModelInstSkin(inst)) return;
    const CharModel& m = *inst->model;
    Shader* shader = CharModelShader();
    ShaderParams.words[0] = 0xFFFFFFFFu;
    for (int i = 0; i < m.partCount; ++i) {
        const int32_t o = inst->overrides[i];
        DrawPart(m, i, o >= 0 ? o : m.partTextures[i]);
    }
    shader->EndPass();
}

void CharModelInstDrawMesh(CharModelInst* inst, int i) {
    if (!Drawable(inst) || i < 0 || i >= inst->model->partCount) return;
    ShaderParams.words[0] = 0xFFFFFFFFu;
    DrawPart(*inst->model, i, inst->model->partTextures[i]);
    CharModelShader()->EndPass();
}
