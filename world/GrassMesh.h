// One block of a grass patch: its quads in a static mesh, drawn with the patch's texture and
// faded out toward the patch's visibility distance. The patch makes these; nothing else does.
#pragma once

#include "I3d/MeshBuf.h"
#include "engine/Ent3d/Ent3dBase.h"
#include "engine/WorldClass.h"

#include <cstdint>

// The block's mesh and its box, minimum corner then maximum corner.
struct GrassBlock {
    MeshBuf mesh;
    float box[6] = {};
};

class GrassMesh : public Ent3dBase {
  public:
    ~GrassMesh() override;
    int CopyClassName(char* buffer) override;
    const char* GetTypeName() override { return "GrassMesh"; }
    uint32_t GetClassFlags() override { return WorldClassFlags<GrassMesh>::word; }
    void SetClassFlags(uint32_t flags) override { WorldClassFlags<GrassMesh>::word = flags; }
    int Create(EntNode* node) override; // no mesh, texture -1; 0
    int Start() override { return 0; }
    int Destroy() override;
    // The block, within the view and the fade distance, with the class flag ENT_CLASS_DRAW; 1.
    int DrawPre() override;
    int DrawWorldBounds(uint32_t colour) override;
    // With a mesh: the position becomes its box's centre. 0.
    int VarsChanged() override;
    int CopyName(char* out) override;
    int CopyBounds(float* out6) override;
    float* GetBounds() override;
    int BoundsQuery(EntBoundsQuery*) override { return 1; }

    // Takes the block (owned from here on) and recentres.
    void SetBlock(GrassBlock* b);
    // The fade factor at distance d for the limit L: 1 to 0.9 L, then down to 0 at L.
    static float Fade(float d, float limit);

    GrassBlock* block = nullptr;
    int32_t texture = -1;
    float visDist = 80.0f;
};

// Class "GrassMesh".
intptr_t EcGrassMeshProc(EntNode* node, int message, intptr_t a, intptr_t b, intptr_t c);
