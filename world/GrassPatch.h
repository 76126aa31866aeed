// The grass patch: grass and small plants of up to 12 layers over the terrain. Its plants come
// from a foliage file written by its "Compile" command, or, when that file cannot be read, from
// the layers' grey-scale grass maps; each block of them becomes a GrassMesh under "Last".
#pragma once

#include "engine/Ent3d/Ent3dBase.h"
#include "engine/EntRef.h"
#include "engine/WorldClass.h"
#include "world/Foliage.h"

#include <cstdint>
#include <vector>

class GrassPatch : public Ent3dBase {
  public:
    ~GrassPatch() override;
    int CopyClassName(char* buffer) override;
    const char* GetTypeName() override { return "GrassPatch"; }
    uint32_t GetClassFlags() override { return WorldClassFlags<GrassPatch>::word; }
    void SetClassFlags(uint32_t flags) override { WorldClassFlags<GrassPatch>::word = flags; }
    // Position 0, no texture, no map names; the other values the table's defaults. 1.
    int Create(EntNode* node) override;
    int Start() override; // VarsChanged; 0
    // The texture and every block again. 1.
    int VarsChanged() override;
    // The texture and the blocks this patch made; then the entity. 0.
    int Destroy() override;

    // Writes "<name>.fol" into the class data folder; the record count or -1.
    int Compile();
    // The settings the foliage functions take (texture ratio, ground heights from "Terrain").
    FoliageSettings Settings();

    char textureFile[261] = {};
    char posFile[261] = {};
    float scale = 1.0f;
    int32_t blockSize = 16;
    float visDist = 80.0f;
    FoliageLayer layers[FOLIAGE_LAYERS];

    int32_t texture = -1;
    int32_t texRatio = 0;
    int32_t changed = 0;
    int32_t goodBlockSize = 16;
    std::vector<EntRef> meshes;

  private:
    void ReleaseTexture();
    void DestroyMeshes();
    void AddMeshes(const std::vector<GrassChunk>& chunks);
};

// Class "GrassPatch".
intptr_t EcGrassPatchProc(EntNode* node, int message, intptr_t a, intptr_t b, intptr_t c);
