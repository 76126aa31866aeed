// The ride camera: rides on a transform another entity owns (a seat of an attraction, as the
// inspection menu's ride view sets it) while the player looks around with the right mouse
// button held, within limits, gliding on springs.
#pragma once

#include "I3d/Math/MathTypes.h"
#include "I3d/Math/SmoothFloat.h"
#include "engine/Ent3d/Ent3dBase.h"
#include "engine/EntRef.h"
#include "engine/WorldClass.h"

#include <cstdint>

class CameraAttach : public Ent3dBase {
  public:
    int CopyClassName(char* buffer) override;
    const char* GetTypeName() override { return "CameraAttach"; }
    uint32_t GetClassFlags() override { return WorldClassFlags<CameraAttach>::word; }
    void SetClassFlags(uint32_t flags) override { WorldClassFlags<CameraAttach>::word = flags; }
    // No matrix, the eye offset (0, 0.85, 0.2), goals 0; 1.
    int Create(EntNode* node) override;
    // The smoothers at their goals, 0.1 s each; 0.
    int Start() override;
    // Forgets the owner's matrix when the owner is the entity reported gone; 1.
    int OnEntityRemoved(ENTBASE* gone) override;
    // The smoothers toward the goals over the step handed in; 1.
    int Update(float seconds) override;
    // The right button and mouse look; 0 for all.
    int OnMessage(const SlEvent* event) override;
    // The view from the eye offset in the attached frame; without a matrix the identity at the
    // origin. 1.
    int GetCamera(CameraDesc* out) override;

    // ---- properties ----
    float fov = 1.04718f;
    float yawRate = 0.01f; // radians per mouse count, for pitch too
    float maxPitch = 1.0471975f, minPitch = -1.0471975f;
    float maxYaw = 1.0471975f, minYaw = -1.0471975f;

    // ---- run-time state ----
    const Mat4* attached = nullptr; // owned by `owner`
    EntRef owner;
    VECTOR3 eyeOffset = {0.0f, 0.85f, 0.2f};
    float mouseDx = 0.0f, mouseDy = 0.0f;
    uint8_t rightHeld = 0;
    float pitch = 0.0f, yaw = 0.0f;
    SmoothFloat yawSmooth, pitchSmooth;
    // Whether the bad matrix of this attachment was logged already.
    bool badLogged = false;

  private:
    // The attached matrix while its owner lives; else forgets both (logging once) and null.
    const Mat4* LiveMatrix();
    void Forget(const char* why);
};

// The inspection menu's write: rides on `matrix`, owned by `owner` (the camera forgets the
// matrix once the owner is gone), with the look goals and the right button back at rest. A null
// matrix detaches. Nothing for a null camera or one of another type.
void CameraAttachSetMatrix(ENTBASE* camera, ENTBASE* owner, const Mat4* matrix);

// Class "CameraAttach".
intptr_t EcCameraAttachProc(EntNode* node, int message, intptr_t a, intptr_t b, intptr_t c);
