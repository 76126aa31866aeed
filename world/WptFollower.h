// A model that flies a chain of camera waypoints: a Catmull-Rom path through the points'
// positions, facing along a second path through their target points.
#pragma once

#include "I3d/Math/MathTypes.h"
#include "engine/Ent3d/Ent3dBase.h"
#include "engine/EntRef.h"
#include "engine/WorldClass.h"

#include <cstdint>

struct MDL3;
struct VarTable;
class CameraWaypoint;

class WptFollower : public Ent3dBase {
  public:
    ~WptFollower() override;
    int CopyClassName(char* buffer) override;
    uint32_t GetClassFlags() override { return WorldClassFlags<WptFollower>::word; }
    const char* GetTypeName() override { return "WptFollower"; }
    int Create(EntNode* node) override; // 1
    // The model, then the starting waypoint by "initWaypoint"; 0.
    int Start() override;
    int Destroy() override;
    // From the first update on, one step along the path; 1.
    int Update(float dt) override;
    int DrawPre() override; // the model under the world matrix; 1
    // The path's control points and the segment time of the current waypoint; 0.
    int VarsChanged() override;
    void SetPos(const VECTOR3* p) override;
    void SetYaw(float value) override;
    float GetYaw() override { return yaw; }
    int GetOrientation(float* out16) override;
    int BoundsQuery(EntBoundsQuery* query) override;
    bool PickTest(PickQuery* query) override;
    int Hook118(intptr_t hide) override;
    int Spare4(intptr_t outInt) override;
    void ScalePos(const VECTOR3* factors) override;
    void SetClassFlags(uint32_t flags) override { WorldClassFlags<WptFollower>::word = flags; }
    void SetPitch(float value) override;
    float GetPitch() override { return pitch; }

    CameraWaypoint* Current() const;
    CameraWaypoint* NextPoint() const;
    void ReleaseModel(); // its textures and its reference; none held afterwards

    // ---- value table ----
    char modelFile[261] = {};
    float yaw = 0.0f, pitch = 0.0f, roll = 0.0f, scale = 1.0f;
    int32_t agl = 0;
    float visDist = 300.0f; // stored and saved; nothing reads it
    int32_t clsnBox = 0;    // stored and saved; nothing reads it
    char initWaypoint[33] = {};

    // ---- run-time state ----
    MDL3* model = nullptr;
    int32_t hidden = 0;
    EntRef current, next;
    int32_t valid = 0, started = 0;
    float segmentTime = 0.0f, elapsed = 0.0f;
    VECTOR3 points[4] = {};  // previous, current, next, next-but-one positions
    VECTOR3 targets[4] = {}; // their target points
    VECTOR3 eye = {0.0f, 0.0f, 0.0f}, target = {0.0f, 0.0f, 0.0f};
};

VarTable* WptFollowerVars();

// Class "WptFollower". ENT_CLASS_MSG_BUILD_DB makes the value table (and keeps the data folder),
// ENT_CLASS_MSG_UNREGISTER frees it.
intptr_t EcWptFollowerProc(EntNode* node, int message, intptr_t a, intptr_t b, intptr_t c);
