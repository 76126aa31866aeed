// The ride animator's run-state machine: idle, start, running, stopping, broken and closed, each
// with its power request, plus the wear and the hourly cost it drives. Not an entity: every
// attraction owns one. RideAnim adds the model.
#pragma once

#include "game/RideAnimOwner.h"

#include <cstdint>

class AttrInfo;

enum RideRunState {
    RIDE_IDLE = 1,
    RIDE_START = 2,
    RIDE_RUNNING = 3,
    RIDE_STOPPING = 4,
    RIDE_BROKEN = 5,
    RIDE_CLOSED = 6
};

enum { RIDE_DATA_FOLDER_MAX = 260 };

class RideAnimCore {
  public:
    RideAnimCore() = default;
    RideAnimCore(const RideAnimCore&) = delete;
    RideAnimCore& operator=(const RideAnimCore&) = delete;

    virtual ~RideAnimCore() = default;
    // Stores the owner and type, enters idle (requesting idle power) and draws the initial wear.
    virtual int Init(AttrInfo* info, const char* dataFolder, RideAnimOwner* owner);
    virtual int Reserved() { return 0; }
    // State time (not in broken or closed), the state's update, then the wear.
    virtual void Tick(float seconds);
    virtual void Draw(const Mat4* world);
    virtual void UpdateWear(float seconds);
    // The type's "idleCost" from the game object's cash, not below 0.
    virtual void HourlyCost();
    virtual int SeatCount() { return 0; }

    virtual void IdleEnter();
    virtual void IdleUpdate(float seconds);
    virtual void IdleExit() {}
    virtual void StartEnter();
    virtual void StartUpdate(float seconds);
    virtual void StartExit() {}
    virtual void RunningEnter();
    virtual void RunningUpdate(float seconds);
    virtual void RunningExit() {}
    virtual void StoppingEnter();
    virtual void StoppingUpdate(float seconds);
    virtual void StoppingExit() {}
    virtual void BrokenEnter();
    virtual void BrokenUpdate(float) {}
    virtual void BrokenExit() {}
    virtual void ClosedEnter();
    virtual void ClosedUpdate(float) {}
    virtual void ClosedExit() {}

    AttrInfo* info = nullptr;
    VECTOR3 boxMin = {-0.5f, -0.5f, -0.5f};
    VECTOR3 boxMax = {0.5f, 0.5f, 0.5f};
    float stateTime = 0.0f;
    float countdown = 0.0f;
    RideAnimOwner* attraction = nullptr;
    int32_t runState = RIDE_IDLE;
    char dataFolder[RIDE_DATA_FOLDER_MAX] = {};
};

// The current state's Exit (for 1..6), the new state, then its Enter (for 1..6).
void RideAnimSetState(RideAnimCore* anim, int state);
// The current state's Update when the state is 1..6.
void RideAnimStateUpdate(RideAnimCore* anim, float seconds);
// Puts this supply and demand into the owner's slot of the owner's grid (nothing without one).
void RideAnimRequestPower(RideAnimCore* anim, float supply, float demand);
