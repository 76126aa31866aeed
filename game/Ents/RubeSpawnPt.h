// A place where the generator's patrons appear: a child of the generator, standing on the
// terrain when "agl" is set. It never blocks the placement grid.
#pragma once

#include "engine/Ent3d/Ent3dBase.h"

#include <cstdint>

class RubeSpawnPt : public Ent3dBase {
  public:
    int CopyClassName(char* buffer) override;
    const char* GetTypeName() override { return "RubeSpawnPt"; }
    uint32_t GetClassFlags() override;
    void SetClassFlags(uint32_t word) override;
    int Create(EntNode* node) override;
    int Start() override;
    int VarsChanged() override;
    // With the class's draw bit: a see-through red ellipsoid of the point's radius.
    int Draw() override;

    // ---- properties ----
    float radius = 1.0f;
    uint8_t agl = 1;

    // ---- fields ----
    float ground = 0.0f;
};

// Class "RubeSpawnPt".
intptr_t EcRubeSpawnPtProc(EntNode* node, int message, intptr_t a, intptr_t b, intptr_t c);
