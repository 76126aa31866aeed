// The chase camera of the engine's test board: follows the player from behind the side of the
// block it stands on, eye and look-at point gliding on springs.
#pragma once

#include "I3d/Math/MathTypes.h"
#include "I3d/Math/SmoothVector3.h"
#include "engine/Ent3d/Ent3dBase.h"
#include "engine/EntRef.h"
#include "engine/WorldClass.h"

#include <cstdint>

struct VarTable;

class CameraAvatar1 : public Ent3dBase {
  public:
    int CopyClassName(char* buffer) override;
    const char* GetTypeName() override { return "CameraAvatar1"; }
    uint32_t GetClassFlags() override { return WorldClassFlags<CameraAvatar1>::word; }
    void SetClassFlags(uint32_t flags) override { WorldClassFlags<CameraAvatar1>::word = flags; }
    // "trackSpeed" 0.1, "accel" 80, "maxVel" 250, no references, the smoothers' times; 1.
    int Create(EntNode* node) override;
    int Start() override; // 0
    // With both references: the goals from the player's position and face, then both
    // smoothers over the step handed in; 1.
    int Update(float seconds) override;
    // Looks from the smoothed eye at the smoothed point with both references, else from the
    // fixed overview; 1.
    int GetCamera(CameraDesc* out) override;
    // Takes the serial number of an entity given as "entPlayer" or "entCube" at once.
    bool SetVoid(const char* name, intptr_t value) override;

    // The player, or null; a reference to an entity that is gone is dropped.
    ENTBASE* Player();
    ENTBASE* Cube();

    // ---- value table ----
    float accel = 80.0f, maxVel = 250.0f, trackSpeed = 0.1f; // edited and saved, not read
    ENTBASE* entPlayer = nullptr;
    ENTBASE* entCube = nullptr;

    // ---- run-time state ----
    VECTOR3 eyeGoal = {0.0f, 0.0f, 0.0f};
    VECTOR3 lookGoal = {0.0f, 0.0f, 0.0f};
    SmoothVector3 eyeSmooth, lookSmooth;

  private:
    EntRef m_playerRef, m_cubeRef;
};

// The class's value table; null before registration and after shut-down.
VarTable* CameraAvatar1Vars();

// Class "CameraAvatar1". ENT_CLASS_MSG_BUILD_DB makes the value table, ENT_CLASS_MSG_UNREGISTER
// frees it.
intptr_t EcCameraAvatar1Proc(EntNode* node, int message, intptr_t a, intptr_t b, intptr_t c);
