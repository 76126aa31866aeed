// A light entity: one kernel light (point, spot or directional) placed and aimed like any world
// entity. It can also stand in as a camera, looking down its own Z axis.
#pragma once

#include "engine/Ent3d/Ent3dBase.h"
#include "engine/WorldClass.h"

#include <cstdint>

class EntLight : public Ent3dBase {
  public:
    int CopyClassName(char* buffer) override;
    const char* GetTypeName() override { return "Light"; }
    uint32_t GetClassFlags() override { return WorldClassFlags<EntLight>::word; }
    void SetClassFlags(uint32_t flags) override { WorldClassFlags<EntLight>::word = flags; }

    // Bounds of half-size 2, no kernel light, type 1, range 1000, ENT_FLAG_PASSABLE; 0.
    int Create(EntNode* node) override;
    // The base start, then VarsChanged; 0.
    int Start() override;
    // The properties into the kernel light; 0.
    int VarsChanged() override;
    // Fov 1.57077, the rigid inverse of the world matrix, the position; 1.
    int GetCamera(CameraDesc* out) override;
    // The accessors store the values only; VarsChanged applies them.
    void SetYaw(float value) override { yaw = value; }
    float GetYaw() override { return yaw; }
    void SetType(int value) override { type = value; }
    void SetPitch(float value) override { pitch = value; }
    float GetPitch() override { return pitch; }
    // Frees the kernel light when one is held.
    int Destroy() override;

    int32_t type = 1;
    float color[3] = {1.0f, 1.0f, 1.0f};
    float pitch = 0.0f;
    float yaw = 0.0f;
    float theta = 0.0f;
    float range = 1000.0f;
    int light = -1;

  private:
    float m_rangeInUse = 1000.0f;
};

// Class "Light".
intptr_t EcLightProc(EntNode* node, int message, intptr_t a, intptr_t b, intptr_t c);
