// The avatar of the engine's test board: walks the "Playfield" by pad, analog or one tile-step
// per press, marks tiles and leaves a Marker1 on each, and tells the chase camera which side of
// the "Cube" it stands on.
#pragma once

#include "I3d/Math/MathTypes.h"
#include "engine/Ent3d/Ent3dBase.h"
#include "engine/EntRef.h"
#include "engine/WorldClass.h"
#include "world/AvatarFace.h"

#include <cstdint>

class Cube1;
class Playfield1;

enum Avatar1Mode { AVATAR1_ANALOG, AVATAR1_STEP };

class Avatar1 : public Ent3dBase, public AvatarFaceSource {
  public:
    int CopyClassName(char* buffer) override;
    uint32_t GetClassFlags() override { return WorldClassFlags<Avatar1>::word; }
    const char* GetTypeName() override { return "Avatar1"; }
    int Create(EntNode* node) override; // no pad, board or cube; 1
    // The board and the cube by name, the face, still and unturned; 0.
    int Start() override;
    int Update(float dt) override; // the step of its mode, then X flips the mode; 1
    int DrawPre() override;        // the class mesh at its position; 1
    // Tab flips the mode, mouse motion turns, the movement events set and clear flags; 0.
    int OnMessage(const SlEvent* event) override;
    int GetCamera(CameraDesc* out) override; // a first-person view along +z; 1
    // Pads 0..3, or -1 for none; any other index means none, with a log line.
    void SetLocalPlayer(intptr_t word) override;
    void SetClassFlags(uint32_t flags) override { WorldClassFlags<Avatar1>::word = flags; }
    void SetYaw(float value) override { yaw = value; }
    float GetYaw() override { return yaw; }
    void SetPitch(float value) override { pitch = value; }
    float GetPitch() override { return pitch; }
    int AvatarFaceIndex() override { return face; }

    Playfield1* Board() const;
    Cube1* Cube() const;

    // ---- value table ----
    float accel = 80.0f, maxVel = 250.0f, trackSpeed = 0.1f; // stored; no movement reads them
    float pitch = 0.0f, yaw = 0.0f;

    // ---- run-time state ----
    int32_t pad = -1;
    EntRef board, cube;
    int32_t face = 4;
    int32_t mode = AVATAR1_ANALOG;
    VECTOR3 velocity = {0.0f, 0.0f, 0.0f};
    float fov = 1.04718f;
    int32_t inputFlags[4] = {0, 0, 0, 0}; // set and cleared by events; nothing reads them
    int32_t toggles[2] = {0, 0};          // never both 1

  private:
    void AnalogStep(float dt);
    void DigitalStep();
    void Refresh();
    void MarkAndCursor(uint32_t pressed);
};

// Marks or clears the tile under (x, z); a newly marked tile gets a Marker1 under "Markers" (the
// avatar's parent when there is none) at its centre. Nothing without a board.
void Avatar1Mark(Avatar1* avatar, float x, float z);

// Class "Avatar1". ENT_CLASS_MSG_BUILD_DB makes the value table, mesh and shader,
// ENT_CLASS_MSG_UNREGISTER frees them.
intptr_t EcAvatar1Proc(EntNode* node, int message, intptr_t a, intptr_t b, intptr_t c);
