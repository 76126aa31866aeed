// Character models: the shared resource of one kind of skinned character (up to 40 parts, each
// a mesh with its texture), and what every character shares: one lit, textured shader and one
// dynamic vertex buffer the model library skins into. The buffer lives in the default pool: the
// application frees it when the device is lost and makes it again after a reset.
#pragma once

#include "engine/SharedObj.h"

#include <cstdint>
#include <string>

struct MeshBuf;
struct I3dVertexBuffer;
class Shader;
class giSkinnedMesh;
class giModelDefManager;

constexpr int CHARMODEL_MAX_PARTS = 40;
// The skinning buffer: vertex format 35 (position, normal, one uv pair).
constexpr int CHARMODEL_VB_FORMAT = 35;
constexpr int CHARMODEL_VB_VERTICES = 10000;

class CharModel : public SharedObj {
  public:
    // Empty name, one reference, shareable; acquires the shared shader and buffer; every part
    // slot empty (no mesh, base vertex 0, texture -1).
    CharModel();
    // Hands the template mesh back to the model library, destroys and frees the meshes of the
    // parts in use, releases their textures, then drops the acquisition: the last model frees
    // the shared shader and buffer.
    ~CharModel() override;

    giSkinnedMesh* templateMesh = nullptr; // the model library's, made when the model loads
    MeshBuf* partMeshes[CHARMODEL_MAX_PARTS];
    uint32_t partBaseVertices[CHARMODEL_MAX_PARTS];
    int32_t partTextures[CHARMODEL_MAX_PARTS];
    int32_t partCount = 0;
    // Vertices skinned per character: the sum of the parts' vertex counts.
    int32_t vertexTotal = 0;
    giModelDefManager* manager = nullptr;
    std::string descriptorPath;
    std::string assetFolder;
    // Where the characters' carried items sit, set by the character classes.
    float attachOffset[3] = {0, 0, 0};
};

// The model library's release of a skinned mesh it made (it sits above the kernel, so it hands
// the function down when it fills a model). Null for none.
void CharModelSetMeshRelease(void (*release)(giSkinnedMesh*));
void CharModelReleaseMesh(giSkinnedMesh* mesh);

// One more acquisition; the first makes the character shader (pass 0 = the lit texture pass)
// and, when there is none, the skinning buffer.
void CharModelShaderAcquire();
// Frees the skinning buffer when there is one (device lost).
void CharModelVbRelease();
// Makes the skinning buffer when there is none (device reset) and returns it; a buffer that
// already exists is kept, never made twice. Null when the device refuses.
I3dVertexBuffer* CharModelVbCreate();

// The shared pair, null while absent.
Shader* CharModelShader();
I3dVertexBuffer* CharModelVb();
// Character models alive.
int CharModelAcquisitions();
