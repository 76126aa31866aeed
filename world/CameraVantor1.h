// The management camera: orbits a target point on the carnival ground with yaw, pitch and
// distance under the player's mouse, keys and pad, glides there on springs, and keeps the target
// inside the placement grid's rectangle.
#pragma once

#include "I3d/Math/MathTypes.h"
#include "I3d/Math/SmoothFloat.h"
#include "I3d/Math/SmoothVector3.h"
#include "engine/Ent3d/Ent3dBase.h"
#include "engine/WorldClass.h"

#include <cstdint>

// What the camera asks of the application it runs in. The application installs one; without
// it the camera locks no cursor and takes input as always reaching it with the pointer inside.
class CameraVantorHost {
  public:
    virtual ~CameraVantorHost() = default;
    // Holds the system cursor where it is (absolute cursor events stop) or lets it go. Called
    // every update; only a change should act.
    virtual void SetCursorLock(int on) = 0;
    // True while `camera` is the keyboard entity of an active window: otherwise releases of
    // held keys and buttons may never reach it.
    virtual bool HearsInput(ENTBASE* camera) = 0;
    // True while the pointer is over the window.
    virtual bool PointerInside() = 0;
};
// Null removes it.
void CameraVantorSetHost(CameraVantorHost* host);
CameraVantorHost* CameraVantorGetHost();

// The key flags, in their fixed order.
enum CameraVantorKey {
    CAMKEY_FORWARD,
    CAMKEY_BACK,
    CAMKEY_LEFT,
    CAMKEY_RIGHT,
    CAMKEY_TURN_LEFT,
    CAMKEY_TURN_RIGHT,
    CAMKEY_ZOOM_IN,
    CAMKEY_ZOOM_OUT,
    CAMKEY_COUNT
};

class CameraVantor1 : public Ent3dBase {
  public:
    int CopyClassName(char* buffer) override;
    const char* GetTypeName() override { return "CameraVantor1"; }
    uint32_t GetClassFlags() override { return WorldClassFlags<CameraVantor1>::word; }
    void SetClassFlags(uint32_t flags) override { WorldClassFlags<CameraVantor1>::word = flags; }
    // The run-time state after the table's defaults; 1.
    int Create(EntNode* node) override;
    // Fits the bounds to the "GameGrid" of the tree, sets the smoothers and builds the view; 1.
    int Start() override;
    // One frame of input, springs and view, over the real frame time (the step handed in is the
    // game's, which runs faster or stops with the game speed); 1.
    int Update(float seconds) override;
    // Input events; 0 for all.
    int OnMessage(const SlEvent* event) override;
    // The view through the camera, also handed to the pick ray; 1.
    int GetCamera(CameraDesc* out) override;
    // Lets the cursor go when a drag held it.
    int Destroy() override;

    // Builds the camera matrix from the smoothed values and places the eye.
    void BuildView();

    // ---- properties ----
    float minPitch = 0.4f, maxPitch = 1.4f;
    float fov = 1.04718f;
    uint8_t mouseEnabled = 1;
    float trackRate = 0.1f, yawRate = 0.01f, tiltRate = 0.01f, zoomRate = 0.03f;
    float minX = 384.0f, maxX = 640.0f, minZ = 384.0f, maxZ = 640.0f;
    float scrollSpeedX = 200.0f, scrollSpeedZ = 200.0f;
    float scrollZonePct = 0.015f;
    uint8_t edgeScrollEnable = 1;
    float minZoom = 2.0f, maxZoom = 100.0f;

    // ---- run-time state ----
    // The pointer starts at the screen's centre: at 0, 0 it would sit in the corner zone and
    // scroll the view before the user ever touched the mouse.
    float mouseX = 512.0f, mouseY = 384.0f;
    float pitch = 0.785398f, yaw = 0.0f;
    float mouseDx = 0.0f, mouseDy = 0.0f, wheel = 0.0f;
    int32_t dragMode = 0;
    uint8_t leftHeld = 0, middleHeld = 0, rightHeld = 0;
    SmoothFloat yawSmooth, pitchSmooth;
    SmoothVector3 targetSmooth;
    Mat4 cameraMatrix;
    VECTOR3 targetPoint = {0.0f, 0.0f, 0.0f};
    float distance = 40.0f;
    uint8_t keys[CAMKEY_COUNT] = {};
    // No edge scrolling until the first cursor position is known.
    bool cursorKnown = false;

  private:
    void ClearHeld();
};

// Sets the target point (all three components); only with yaw above -1.0 also the yaw, pitch
// and distance. A null camera, or a target or angle that is not a finite number, changes nothing.
void CameraVantorFlyTo(ENTBASE* camera, const VECTOR3* target, float yaw, float pitch,
                       float distance);

// Class "CameraVantor1". The application hands CameraVantorFlyTo to the focusing of the 3D entity
// base (CameraVantorSetFlyTo); shutting the class down takes it back.
intptr_t EcCameraVantor1Proc(EntNode* node, int message, intptr_t a, intptr_t b, intptr_t c);
