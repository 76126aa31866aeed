// The employee: hired under the patron generator, it repairs closed attractions that asked for
// it, sweeps up litter, patrols the carnival on the grid's routes and now and then sleeps on the
// job. It draws an hourly wage and, once fired, a severance.
#pragma once

#include "I3d/InfoIcon.h"
#include "I3d/Math/SmoothFloat.h"
#include "engine/Ent3d/Ent3dBase.h"
#include "engine/EntRef.h"

#include <cstdint>

class AttrBase;
class CharModelInst;
class Litter;
class MtGame;
struct GameGridCore;
struct WaypointPath;

// The tasks, as stored.
enum CarnyTask {
    CARNY_IDLE = 1,
    CARNY_WALK = 2,
    CARNY_REPAIR = 3,
    CARNY_SWEEP = 4,
    CARNY_WANDER = 5,
    CARNY_SLEEP = 6
};

// The clips a carny plays (the adult set of its kind).
enum CarnyAnim {
    CARNY_ANIM_IDLE = 0,
    CARNY_ANIM_WALK = 1,
    CARNY_ANIM_POUND = 2,
    CARNY_ANIM_WRENCH = 3,
    CARNY_ANIM_SWEEP = 4,
    CARNY_ANIM_NAP = 5,
    CARNY_ANIM_SLEEPY = 6,
    CARNY_ANIM_COUNT = 7
};

// The money a carny costs, in dollars: a wage each hour, severance once when fired.
enum : int32_t { CARNY_WAGE = 800, CARNY_SEVERANCE = 12800 };

class Carny : public Ent3dBase {
  public:
    Carny();
    ~Carny() override;

    int CopyClassName(char* buffer) override;
    const char* GetTypeName() override { return "Carny"; }
    uint32_t GetClassFlags() override;
    void SetClassFlags(uint32_t word) override;
    int Create(EntNode* node) override;
    int Start() override;
    int Destroy() override;
    int OnEntityRemoved(ENTBASE* gone) override;
    int OnGameEvent(int event, intptr_t value) override;
    int Update(float seconds) override;
    int VarsChanged() override;
    int Draw() override;

    // ---- tasks: entering them ----
    void EnterIdle();
    // Walks the route toward `next` (the task taken at its end); false (task unchanged) for an
    // empty route.
    bool EnterWalk(int next);
    void EnterRepair();
    void EnterSweep();
    void EnterSleep();

    // ---- tasks: their steps ----
    // The choice every 4 s of idling: unstick, repair, litter, sleep or patrol.
    void Decide();
    void WalkStep(float seconds);
    void RepairStep(float seconds);
    void SweepStep(float seconds);
    void SleepStep(float seconds);

    // Records the clip (kept as state, so headless runs can check it) and plays it on the
    // character when there is one.
    void PlayAnim(int which);

    // The class-wide grid and game object (null when there is none).
    GameGridCore* Grid();
    MtGame* Game();

    // ---- fields ----
    float height = 1.7f;
    WaypointPath* route = nullptr;
    int32_t number = 0;
    int32_t task = CARNY_IDLE;
    int32_t nextTask = CARNY_IDLE;
    EntRef target;       // the attraction to repair
    EntRef litterTarget; // the litter to sweep
    VECTOR3 direction = {0.0f, 0.0f, 1.0f};
    float speed = 0.0f;
    float taskTimer = 0.0f;
    SmoothFloat heading;
    VECTOR3 home = {0.0f, 0.0f, 0.0f};
    InfoIcon icon;
    float iconTimer = 0.0f;
    int32_t kind = 0; // 0 male, 1 female
    int32_t skin = 0; // 0..2
    int32_t anim = CARNY_ANIM_IDLE;
    uint8_t fireRequest = 0; // set by the interface to dismiss the carny
    uint8_t paidOff = 0;
    uint8_t statusDisplay = 0;
    uint8_t highlighted = 0;
    char16_t statusLine[128] = {};
    CharModelInst* character = nullptr;
    float lastStep = 0.0f; // the frame's seconds, for the icon in the draw

  private:
    void FreeOwned();
};

// Class "Carny".
intptr_t EcCarnyProc(EntNode* node, int message, intptr_t a, intptr_t b, intptr_t c);

// The carny's current activity line into `out` (room for `size` characters with the terminator;
// cut to fit). L" " for a null carny.
const char16_t* CarnyStatusText(const Carny* carny, char16_t* out, int size);

// The clip name of a carny clip (the same for both kinds); "AdultIdle1" outside the list.
const char* CarnyAnimName(int anim);
