// A panorama ring drawn in screen space: an oval band touching the screen's edges with its
// inner edge lowered, textured with a strip that scrolls sideways by the heading it is given.
#pragma once

#include "engine/Ent3d/Ent3dBase.h"
#include "engine/WorldClass.h"

#include <cstdint>

struct MeshBuf;

class OvalDisplay1 : public Ent3dBase {
  public:
    int CopyClassName(char* buffer) override;
    uint32_t GetClassFlags() override { return WorldClassFlags<OvalDisplay1>::word; }
    const char* GetTypeName() override { return "OvalDisplay1"; }
    int Create(EntNode* node) override; // offset 0; 1
    int Start() override;               // VarsChanged; 0
    int Update(float) override { return 1; }
    // The band over the whole screen; 1. Projection and view are left at identity.
    int DrawPre() override;
    int VarsChanged() override { return 1; }
    void SetHeading(float heading) override { offset = heading; }
    void SetClassFlags(uint32_t flags) override { WorldClassFlags<OvalDisplay1>::word = flags; }

    float offset = 0.0f; // the strip's sideways scroll
};

// The band of n segments between the outer oval (radii a, b) and the inner one (c, d, lowered
// by 0.4): 2n + 2 vertices and 2n triangles; null for n < 1 or no device.
MeshBuf* OvalBandMake(int n, float a, float b, float c, float d);
// The class band, for the tests.
MeshBuf* OvalDisplayBand();

// Class "OvalDisplay1". ENT_CLASS_MSG_BUILD_DB makes the table, shaders, band and texture;
// ENT_CLASS_MSG_UNREGISTER frees them.
intptr_t EcOvalDisplay1Proc(EntNode* node, int message, intptr_t a, intptr_t b, intptr_t c);
