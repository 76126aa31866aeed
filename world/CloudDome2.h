// The cloud dome: a textured, alpha-blended dome of clouds that scrolls and turns, drawn in the
// first walk over the sky and under the world, optionally with a fog of its own.
#pragma once

#include "I3d/MeshBuf.h"
#include "engine/Ent3d/Ent3dBase.h"
#include "engine/WorldClass.h"

#include <cstdint>

class CloudDome2 : public Ent3dBase {
  public:
    int CopyClassName(char* buffer) override;
    const char* GetTypeName() override { return "CloudDome2"; }
    uint32_t GetClassFlags() override { return WorldClassFlags<CloudDome2>::word; }
    void SetClassFlags(uint32_t flags) override { WorldClassFlags<CloudDome2>::word = flags; }

    int Create(EntNode* node) override;
    int Start() override; // VarsChanged; 0
    // Scrolls and turns, each wrapped to one period; 0.
    int Update(float seconds) override;
    // Draws (ENT_CLASS_DRAW, a mesh and a texture); 0.
    int DrawPre() override;
    // The mesh, then the texture again; 0.
    int VarsChanged() override;
    int Destroy() override;

    uint32_t color = 0xFFFFFFFFu;
    VECTOR3 domePos = {0.0f, 0.0f, 0.0f};
    float size = 10000.0f;
    float height = 4000.0f;
    float tileFactor = 5.0f;
    float xRate = 0.0f;
    float yawRate = 0.0f;
    int32_t mLatSegs = 4;
    int32_t mLonSegs = 12;
    char texture[33] = {};
    uint8_t fogOverride = 0;
    float fogStart = 0.0f;
    float fogEnd = 5000.0f;
    uint32_t fogColor = 0xFFFFFFFFu;
    int slot = -1;
    MeshBuf mesh;
    float scroll = 0.0f;
    float yaw = 0.0f;

  private:
    void BuildMesh();
    bool m_sizeLogged = false;
};

// Class "CloudDome2".
intptr_t EcCloudDome2Proc(EntNode* node, int message, intptr_t a, intptr_t b, intptr_t c);
