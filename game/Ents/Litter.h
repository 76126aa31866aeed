// A piece of litter a patron dropped: a small model lying where it fell, a little off the spot
// and turned at random, until a carny sweeps it up. It never blocks the placement grid.
#pragma once

#include "engine/Ent3d/Ent3dBase.h"

#include <cstdint>

class Mdl3ExModel;

class Litter : public Ent3dBase {
  public:
    ~Litter() override;

    int CopyClassName(char* buffer) override;
    const char* GetTypeName() override { return "Litter"; }
    uint32_t GetClassFlags() override;
    void SetClassFlags(uint32_t word) override;
    int Create(EntNode* node) override;
    int Start() override;
    int Destroy() override;
    int DrawPre() override;
    int VarsChanged() override;

    // ---- properties ----
    uint8_t agl = 1;
    char modelFile[261] = {};

    // ---- fields ----
    Mdl3ExModel* model = nullptr;
    float offsetX = 0.0f;
    float offsetZ = 0.0f;
    float turn = 0.0f; // the random yaw
};

// Class "Litter".
intptr_t EcLitterProc(EntNode* node, int message, intptr_t a, intptr_t b, intptr_t c);

// A piece dropped at (x, 0, z) under the entity named "First" (under the root when there is
// none), started; null when it cannot be made.
Litter* LitterDrop(ENTBASE* from, float x, float z);
// The first entity named "First" in root's tree (pre-order), or null. Found once and kept,
// none found included, until an entity may have been named "First" or moved between parents
// (EntNameChanges): the generator comes before "First" in the default world, so a search walks
// every patron.
ENTBASE* LitterFirst(ENTBASE* root);
