// Extended models: an MDL3 model with its model-info file, shared by file title. They draw with
// their own material shaders, fade with distance, show their point lights as blinking glows in
// the shared "Particles" system and hand out the world matrices of their attach nodes (nodes
// whose names begin with "Attach", such as ride seats).
#pragma once

#include "I3d/Mdl3.h"
#include "engine/SharedObj.h"
#include "gi/Mdl3ExInfo.h"

#include <cstdint>
#include <vector>

class Shader;
class ParticleSys;

class Mdl3ExModel : public SharedObj {
  public:
    // The first model makes the shared schemas, particle system and shaders.
    Mdl3ExModel();
    // Frees the model's textures (its specular and emissive maps too), releases the MDL3 model, and
    // with the last model the shared schemas, particle system and shaders.
    ~Mdl3ExModel() override;

    MDL3* mdl = nullptr; // null for a model made from its info file alone
    int32_t numPointLights = 0;
    int32_t numNodes = 0;
    int32_t attachCount = 0;
    std::vector<Mdl3ExNodeRec> nodes;
    std::vector<Mdl3ExPtLight> lights;
    std::vector<uint8_t> attach;      // per MDL3 node (pre-order index): an attach node
    std::vector<int32_t> specSlots;   // per material: the specular map beside it, -1 when none
    std::vector<int32_t> emitSlots;   // per material: the emissive map beside it, -1 when none
    uint8_t lightsOn = 1;             // set by the owner before each draw
    uint8_t emissiveOn = 1;           //
    int32_t envTexture = -1;          // environment map of the two-pass shaders; -1 none
    uint32_t flashBits = 0xFFFFFFFFu; // a light shows when its flashMask shares a bit
};

// The shared models, newest first.
SharedObj** Mdl3ExList();

// ---- loading ----
// The shared model of the path's file title (one more reference), else a new one from the
// ".md3" and its ".ini". A missing ".md3" logs "** WARNING ** could not find %s" and gives a
// model of the info file alone; null when neither file exists. Release with SharedObjRelease.
Mdl3ExModel* Mdl3ExLoad(const char* path);
// The same for the info file alone: made only when `path` exists; null otherwise.
Mdl3ExModel* Mdl3ExLoadInfoOnly(const char* path);
// Counts the nodes whose names begin with "Attach" (any case) and marks them.
void Mdl3ExRecountAttach(Mdl3ExModel* model);
// The node of that name (exact) from the root; null for a null or info-only model.
MDL3NODE* ModelFindNode(Mdl3ExModel* model, const char* name);

// ---- drawing ----
// Draws the model under the kernel's current world matrix: faded by distance, its nodes in
// range drawn with the material shaders, then its lights when lightsOn. Nothing for a null or
// info-only model.
void Mdl3ExDraw(Mdl3ExModel* model);
// Mdl3Draw of the MDL3 model under `world`; nothing without one.
void Mdl3ExDrawPlain(Mdl3ExModel* model, const Mat4* world);
// Mdl3ExDrawPlain, then the lights under `world` with those flash bits (an info-only model
// emits its lights too).
void Mdl3ExDrawWithLights(Mdl3ExModel* model, const Mat4* world, uint32_t flashBits);
// Emits a glow for each light sharing a bit with `flashBits`, at its position under the
// current world matrix; lights that find the system full, and lights at a non-finite position,
// are dropped. The number emitted.
int Mdl3ExEmitLights(Mdl3ExModel* model, uint32_t flashBits);

// The shader a material draws with: "TexEnv" with a diffuse texture and a specular map, else
// "DifEmi" with an Emit map while emissiveOn, else "Dif". Null outside the materials.
Shader* Mdl3ExShaderOf(const Mdl3ExModel* model, int material);

// ---- attach nodes ----
// The world matrix (under the current world matrix, node overrides honoured) of every attach
// node in depth-first order, at most `capacity` of them; the count written. 0 for a null or
// info-only model, a null array or a capacity below 1.
int Mdl3ExGetAttachMatrices(Mdl3ExModel* model, Mat4* out, int capacity);

// ---- shared state ----
// The shared schemas, "Particles" system (400) and shaders, counted: the models call these.
void Mdl3ExInitSchemas();
void Mdl3ExFreeSchemas();
// The "Particles" system the lights go to; null while no model exists.
ParticleSys* Mdl3ExParticles();
