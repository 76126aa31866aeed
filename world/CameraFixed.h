// A camera placed in the world with a position, pitch, yaw and field of view; a viewport or the
// editor looks through it.
#pragma once

#include "I3d/Math/MathTypes.h"
#include "engine/Ent3d/Ent3dBase.h"
#include "engine/WorldClass.h"

#include <cstdint>

struct VarTable;

class CameraFixed : public Ent3dBase {
  public:
    int CopyClassName(char* buffer) override;
    const char* GetTypeName() override { return "CameraFixed"; }
    uint32_t GetClassFlags() override { return WorldClassFlags<CameraFixed>::word; }
    void SetClassFlags(uint32_t flags) override { WorldClassFlags<CameraFixed>::word = flags; }
    // Angles 0, "fov" 1.04718, the origin and the local box from -1 to 1; 1.
    int Create(EntNode* node) override;
    int Start() override; // VarsChanged; 1
    // The marker while ENT_CLASS_DEBUG_DRAW is set, then the base's name tag; the base's result.
    int Draw() override;
    // The view matrix and the world box from the values; 0.
    int VarsChanged() override;
    void SetYaw(float value) override { yaw = value; }
    float GetYaw() override { return yaw; }
    int GetCamera(CameraDesc* out) override; // 1
    void SetPitch(float value) override { pitch = value; }
    float GetPitch() override { return pitch; }

    float pitch = 0.0f, yaw = 0.0f, fov = 1.04718f;
    Mat4 view;
};

// The class's value table; null before registration and after shut-down.
VarTable* CameraFixedVars();

// Class "CameraFixed". ENT_CLASS_MSG_BUILD_DB makes the value table, ENT_CLASS_MSG_UNREGISTER frees
// it.
intptr_t EcCameraFixedProc(EntNode* node, int message, intptr_t a, intptr_t b, intptr_t c);
