// One point of a camera path: a position with a view direction, a target distance, a timing and
// links to the previous and next point. The waypoint follower flies the chain; a viewport or
// the editor can also look through a single point.
#pragma once

#include "I3d/Math/MathTypes.h"
#include "engine/Ent3d/Ent3dBase.h"
#include "engine/EntRef.h"
#include "engine/WorldClass.h"

#include <cstdint>

struct VarTable;

class CameraWaypoint : public Ent3dBase {
  public:
    int CopyClassName(char* buffer) override;
    const char* GetTypeName() override { return "CameraWaypoint"; }
    uint32_t GetClassFlags() override { return WorldClassFlags<CameraWaypoint>::word; }
    void SetClassFlags(uint32_t flags) override { WorldClassFlags<CameraWaypoint>::word = flags; }
    // "fov" 1.04718, "targetDist" 40, "transTime" 4, no links, the local box from -1 to 1; 1.
    int Create(EntNode* node) override;
    // Resolves "next" and "prev" once by exact name from the root, makes a "transTime" of 0
    // 1.0, then VarsChanged; 0.
    int Start() override;
    // The marker, the target sphere and the path to the next point while ENT_CLASS_DEBUG_DRAW is
    // set, then the base's name tag; the base's result.
    int Draw() override;
    // The world matrix, the target point and the world box from the values; 0.
    int VarsChanged() override;
    void SetYaw(float value) override;
    float GetYaw() override { return yaw; }
    // The view from this point, as a placed camera gives it; 1.
    int GetCamera(CameraDesc* out) override;
    void SetPitch(float value) override;
    float GetPitch() override { return pitch; }

    // The linked points while they live; NextNext is the next point's next.
    CameraWaypoint* Next();
    CameraWaypoint* Prev();
    CameraWaypoint* NextNext();

    float fov = 1.04718f, pitch = 0.0f, yaw = 0.0f, targetDist = 40.0f;
    float speed = 0.0f, transTime = 4.0f;
    char nextName[33] = {};
    char prevName[33] = {};
    VECTOR3 target = {0.0f, 0.0f, 0.0f};

  private:
    EntRef m_next, m_prev;
};

// The editor's "Calculate transTime": the length of the path to the next point over "speed".
// -1 with nothing changed for a speed below the smallest normal float, or a path of no length
// (logged); 0 with nothing changed when the previous, next or next-but-one point is missing;
// else 0 with the new time, a beep and the changed mark.
int CameraWaypointCalcTransTime(CameraWaypoint* point);

// The Catmull-Rom point at t on the path from `point` to its next (all four points exist).
VECTOR3 CameraWaypointPathPoint(CameraWaypoint* point, float t);

// The class's value table; null before registration and after shut-down.
VarTable* CameraWaypointVars();

// Class "CameraWaypoint". ENT_CLASS_MSG_BUILD_DB makes the value table, ENT_CLASS_MSG_UNREGISTER
// frees it.
intptr_t EcCameraWaypointProc(EntNode* node, int message, intptr_t a, intptr_t b, intptr_t c);
