// The sky dome: a vertex-coloured hemisphere around the eye with a horizon-to-zenith gradient and
// a sun highlight, drawn first and without depth so that the world draws over it. TimeOfDay
// writes its colours and asks for a rebuild every frame, so a rebuild rewrites the vertices of
// the mesh it has rather than making a new one.
#pragma once

#include "I3d/MeshBuf.h"
#include "engine/Ent3d/Ent3dBase.h"
#include "engine/WorldClass.h"

#include <cstdint>

constexpr int SKYDOME_RINGS = 8;
constexpr int SKYDOME_SEGMENTS = 16;
constexpr int SKYDOME_VERTICES = SKYDOME_RINGS * SKYDOME_SEGMENTS + 2;
constexpr int SKYDOME_TRIANGLES = SKYDOME_RINGS * SKYDOME_SEGMENTS * 2;

class SkyDome : public Ent3dBase {
  public:
    int CopyClassName(char* buffer) override;
    const char* GetTypeName() override { return "SkyDome"; }
    uint32_t GetClassFlags() override { return WorldClassFlags<SkyDome>::word; }
    void SetClassFlags(uint32_t flags) override { WorldClassFlags<SkyDome>::word = flags; }

    int Create(EntNode* node) override;
    int Start() override; // VarsChanged; 0
    // Turns the dome by its rates; 0.
    int Update(float seconds) override;
    // Draws the dome (with ENT_CLASS_DRAW); 0.
    int DrawPre() override;
    // Rebuilds the mesh (its vertices only when it already has one); 0.
    int VarsChanged() override;
    // Stores the position; crossing "waterElv" rebuilds.
    void SetPos(const VECTOR3* p) override;
    int Destroy() override;

    // The colours of ring r (0 on the horizon) and of a vertex at `p` on it.
    uint32_t RingColor(int ring) const;
    uint32_t VertexColor(int ring, const VECTOR3& p, const VECTOR3& sun) const;

    float sunAzimuth = 0.0f;
    float sunElevation = 0.5235987f;
    float yawRate = 0.0f;
    float pitchRate = 0.0f;
    float yOffset = 80.0f;
    float waterElv = -10.0f;
    float yaw = 0.0f;
    float pitch = 0.0f;
    uint32_t zenithColor = 0xFF223B7Bu;
    uint32_t horizonColor = 0xFFAEC3DEu;
    uint32_t highlightColor = 0xFFFFFF8Fu;
    uint32_t floorColor = 0xFF7F7F7Fu;
    int belowWater = -1; // not yet known
    MeshBuf mesh;

  private:
    bool WriteVertices();
    bool WriteIndices();
};

// Class "SkyDome".
intptr_t EcSkyDomeProc(EntNode* node, int message, intptr_t a, intptr_t b, intptr_t c);
