// Skinned characters: loading a character model from its descriptor (part meshes, base vertices
// and textures), and the characters themselves. Every character of a kind shares the model's
// index buffers and textures; each has its own skinned mesh, posed on the application clock
// (held while the game is paused, real time whatever the game speed), skinned into the shared
// dynamic buffer and drawn part by part with the character shader under the caller's world
// matrix.
#pragma once

#include "I3d/CharModel.h"
#include "gi/giPoseMemory.h"

#include <cstdint>

struct MeshBuf;
struct I3dVertexBuffer;
struct giMeshPart;
class giSkinnedMesh;

// Loads the model of the descriptor, whose file names are under `assetFolder`. False, with a
// log line and the model left empty, for a descriptor or model that does not load, more than
// 40 parts, more than the skinning buffer's vertices in all or a part that cannot be made; false
// too for a model already loaded, which then stays as it is.
bool CharModelLoad(CharModel* model, const char* descriptorPath, const char* assetFolder);

// Part i's mesh (null), texture (-1) outside the parts; the part count.
MeshBuf* CharModelMeshBuf(const CharModel* model, int i);
int32_t CharModelTexture(const CharModel* model, int i);
int CharModelMeshCount(const CharModel* model);

class CharModelInst {
  public:
    CharModelInst();
    // Hands the skinned mesh back to the model library.
    ~CharModelInst();
    CharModelInst(const CharModelInst&) = delete;
    CharModelInst& operator=(const CharModelInst&) = delete;

    CharModel* model = nullptr;
    giSkinnedMesh* mesh = nullptr; // null when the descriptor did not load
    // Per part, the texture drawn instead of the model's; -1 for the model's.
    int32_t overrides[CHARMODEL_MAX_PARTS];
};

// A character of that model with a fresh skinned mesh and no overrides; its mesh is null when
// the model is not loaded. Null only when memory runs out.
CharModelInst* CharModelCreateInstance(CharModel* model);
// Advances fades, triggers and the pose from the application clock.
void CharModelInstAnimate(CharModelInst* inst);
// Replaces `memory` with what the character's next animate reads and writes (empty without a
// mesh): noted after an animate, asked for before the next.
void CharModelInstNotePoseMemory(const CharModelInst* inst, giPoseMemory* memory);
// The named clip alone on layer group 0, looping, at full weight at once. An unknown name leaves
// the group empty at the next animate: the character keeps its last pose.
void CharModelInstPlayAnim(CharModelInst* inst, const char* name);
// Draws `slot` on every part that wears part 0's texture (the skin); -1 gives the model's back.
void CharModelInstSetSkin(CharModelInst* inst, int32_t slot);
// Skins every part into one lock of the shared buffer. False, with nothing written, without a
// mesh, a buffer, or when the lock is refused. A part the skeleton does not skin is written in
// its bind pose.
bool CharModelInstSkin(CharModelInst* inst);
// Skins, then draws every part. Nothing is drawn when skinning fails.
void CharModelInstDraw(CharModelInst* inst);
// Draws part i from the last skinning with the model's texture.
void CharModelInstDrawMesh(CharModelInst* inst, int i);

// The part's bind pose (positions, normals, first texture pairs) written at `dst` in the
// buffer's vertex layout.
void CharWriteBindPose(const giMeshPart& part, uint8_t* dst, const I3dVertexBuffer& layout);
