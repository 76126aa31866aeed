// A free-flying observer of the engine's test levels, steered by pad, mouse or movement events,
// that a viewport can look through. It also bakes a ground shadow map: one grid point per
// frame, looking from each point in one fixed direction, it records whether the frame's centre
// shows opaque magenta, and writes the grey image "ShadowMap.tga" beside "Config.ini".
#pragma once

#include "I3d/Math/MathTypes.h"
#include "I3d/Math/SmoothFloat.h"
#include "engine/Ent3d/Ent3dBase.h"
#include "engine/WorldClass.h"

#include <cstdint>
#include <string>

struct I3dImage;

class Observer2 : public Ent3dBase {
  public:
    ~Observer2() override;
    int CopyClassName(char* buffer) override;
    uint32_t GetClassFlags() override { return WorldClassFlags<Observer2>::word; }
    const char* GetTypeName() override { return "Observer2"; }
    int Create(EntNode* node) override;           // no pad, no bake; 0
    int Start() override;                         // unturned, still, fov 1.0471799; 0
    int Destroy() override;                       // a running bake is written first; 0
    int Update(float dt) override;                // 1
    int OnMessage(const SlEvent* event) override; // 0
    float GetYaw() override { return yaw; }
    int GetOrientation(float* out16) override;
    int Hook40(intptr_t outVector) override;     // the velocity; 0
    int Hook136(intptr_t outWord) override;      // 0 into the word; 0
    int GetCamera(CameraDesc* out) override;     // its own view, or the bake camera while baking; 1
    void SetLocalPlayer(intptr_t word) override; // 0..3 or -1; others mean none, logged
    void SetClassFlags(uint32_t flags) override { WorldClassFlags<Observer2>::word = flags; }
    float GetPitch() override { return pitch; }

    // ---- value table ----
    float accel = 80.0f, maxVel = 250.0f, trackSpeed = 0.1f; // stored; nothing reads them
    float pitch = 0.0f, yaw = 0.0f;

    // ---- run-time state ----
    enum { FORWARD, BACK, RIGHT, LEFT, DOWN, UP, TOGGLE1, TOGGLE2 };
    int32_t input[8] = {};
    Mat4 rotation;
    VECTOR3 velocity = {0.0f, 0.0f, 0.0f};
    int32_t pad = -1;
    float fov = 1.0471799f;
    SmoothFloat lateral, vertical, forward;
    uint8_t capturing = 0;
    int32_t column = 0, row = 0;
    int32_t gridWidth = 4092, gridHeight = 4092;
    float stepX = 0.25024438f, stepZ = 0.25024438f;
    I3dImage* image = nullptr;
};

void Observer2CaptureStart(Observer2* observer);
// One grid point: the centre pixel of the frame last drawn, then the next point; the bake ends
// after the last row.
void Observer2CaptureStep(Observer2* observer);
// Writes what the bake holds so far and frees it.
void Observer2CaptureStop(Observer2* observer);
// Where the bake is written: "ShadowMap.tga" in the folder of "Config.ini".
std::string Observer2ShadowMapPath();

// The bake grid of the next starts: side, first row and step. The game bakes 4092 points a
// side from row 2048 (some 39 hours at 60 frames a second); tests shrink it.
void Observer2SetBakeGrid(int side, int startRow, float step);

// Class "Observer2". ENT_CLASS_MSG_BUILD_DB makes the value table, ENT_CLASS_MSG_UNREGISTER frees
// it.
intptr_t EcObserver2Proc(EntNode* node, int message, intptr_t a, intptr_t b, intptr_t c);
