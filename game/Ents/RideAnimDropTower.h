// The drop tower: the trolley is hauled up to the top over the ride's "duration" (less 3 s, at
// least 10 s), held there 3 s, dropped in free fall and braked over its last 5 units; the ride
// stops when it is down or its 8 s countdown ends, and the stopping state lasts 3 s.
#pragma once

#include "game/Ents/RideAnim.h"

struct MDL3NODE;

class RideAnimDropTower : public RideAnim {
  public:
    int Init(AttrInfo* info, const char* dataFolder, RideAnimOwner* owner) override;
    void Draw(const Mat4* world) override;

    void IdleEnter() override;
    void StartEnter() override;
    void StartUpdate(float seconds) override;
    void RunningEnter() override;
    void RunningUpdate(float seconds) override;
    void StoppingEnter() override;
    void StoppingUpdate(float seconds) override;

    MDL3NODE* trolley = nullptr; // "Trolley"
    Mat4 trolleyMatrix = {};
    float height = 0.0f;    // of the trolley above its rest
    float fallSpeed = 0.0f; // units per second
    float fallen = 0.0f;    // from the top
    float hold = 0.0f;      // seconds left at the top
    float stopTimer = 0.0f; // seconds left of the stopping state
    float stopFrom = 0.0f;  // the height the stopping state lowers from
};

// The top of the tower.
constexpr float kDropTop = 37.2f;
