// The patron: a walking character with eight needs, happiness, money and tickets, made by the
// generator while the carnival is open. It thinks, wanders, chooses where to go, walks there and
// goes home; what it does at an attraction is its visit (RubeVisit.h).
#pragma once

#include "I3d/InfoIcon.h"
#include "I3d/Math/RubeNeeds.h"
#include "I3d/Math/SmoothFloat.h"
#include "engine/Ent3d/Ent3dBase.h"
#include "engine/EntRef.h"
#include "game/Ents/AttrPatron.h"
#include "game/Ents/GameEntStand.h"
#include "game/Ents/RubePose.h"
#include "game/GameGridCore.h"
#include "game/WaypointPath.h"
#include "gi/giPoseMemory.h"

#include <cstdint>

class AttrBase;
class CharModelInst;
struct GameGridCore;
class MtGame;
struct WaypointPath;

// The behaviour states, as stored.
enum RubeState {
    RUBE_STATE_NONE0 = 0, // before Start
    RUBE_IDLE = 1,
    RUBE_PICK_ANY = 2,
    RUBE_WALK_TO = 3,
    RUBE_IN_LINE = 4,
    RUBE_INSIDE = 5,
    RUBE_NO_BEHAVIOUR = 6,
    RUBE_THINK = 7,
    RUBE_WANDER = 8,
    RUBE_CHOOSE = 9,
    RUBE_LEAVE = 10
};

// The clips a patron plays; the character's kind picks the adult or child set.
enum RubeAnim {
    RUBE_ANIM_IDLE = 0,
    RUBE_ANIM_WALK = 1,
    RUBE_ANIM_RUN = 2,
    RUBE_ANIM_PAY = 3,
    RUBE_ANIM_SIT = 4
};

// The path-drawing switch the patrons and the employees share.
extern uint8_t g_rubeDrawPaths;

class Rube1 : public Ent3dBase, public AttrPatron {
  public:
    Rube1();
    ~Rube1() override;

    int CopyClassName(char* buffer) override;
    const char* GetTypeName() override { return "Rube1"; }
    uint32_t GetClassFlags() override;
    void SetClassFlags(uint32_t word) override;
    int Create(EntNode* node) override;
    int Start() override;
    int Destroy() override;
    int OnEntityRemoved(ENTBASE* gone) override;
    int Update(float seconds) override;
    int VarsChanged() override;
    int Draw() override;
    bool PickTest(PickQuery* query) override;

    // ---- what the attractions call ----
    ENTBASE* PatronEntity() override { return this; }
    void PatronPlace(AttrBase* attraction, int place, const VECTOR3* entry) override;
    void PatronSentAway(AttrBase* attraction) override;
    void PatronRideOver(AttrBase* attraction) override;
    void PatronSit(AttrBase* attraction, int seat, const Mat4* seatMatrix) override;

    // ---- state changes ----
    void EnterThink();
    void EnterChoose();
    void EnterPickAny();
    void EnterLeave();
    // Faces the route's first point and walks; false (state unchanged) for an empty route.
    bool EnterWander();
    bool EnterWalkTo(AttrBase* attraction);
    // Turned out of the target's line or seat: hapBootedQueue, stopped, state 7, no target.
    void Boot();
    // Every change of state out of state 5 runs the ride exit first, with the target.
    void LeaveInside();

    // Records the clip the patron plays (kept as state, so headless runs can check it) and
    // starts it on the character, in the kind's adult or child set.
    void PlayAnim(int which);

    // ---- steps ----
    // Moves along the route; true on arrival at its end.
    bool WalkStep(float seconds);
    void ThinkStep(float seconds);
    void ChooseStep();
    // Any attraction at random; routed, it walks there.
    void PickAnyStep();
    // Steps off a blocked cell toward the nearest free one; nothing outside the grid.
    void Unstick();
    void DropLitter();

    // The class-wide grid and game object (null when there is none).
    GameGridCore* Grid();
    MtGame* Game();

    // ---- fields ----
    RubeNeeds needs;
    float happiness = 0.0f;
    int32_t money = 0;
    int32_t tickets = 0;
    float height = 1.6f;
    float speedBase = 0.0f;
    int32_t state = RUBE_STATE_NONE0;
    EntRef target;
    WaypointPath* route = nullptr;
    VECTOR3 direction = {0.0f, 0.0f, 1.0f};
    // The heading of the last direction walked: a walk keeps one direction between its points,
    // so atan2 is worked out only when it changes.
    bool aimKnown = false;
    float aimX = 0.0f, aimZ = 0.0f, aimYaw = 0.0f;
    GameEntStandMemo stand; // the matrix and box of the last frame, kept while nothing moved
    float speed = 0.0f;
    SmoothFloat heading;
    float personalX = 0.0f;
    float personalZ = 0.0f;
    float placeX = 0.0f;
    float placeZ = 0.0f;
    int32_t queuePlace = 0;
    VECTOR3 exitPoint = {0.0f, 0.0f, 0.0f};
    float thinkTimer = 0.0f;
    int32_t wanderTries = 0;
    float iconTimer = 0.0f;
    InfoIcon icon;
    int32_t kind = 0;
    int32_t skin = 1;
    int32_t animMode = RUBE_MODE_FREE; // a RubeAnimMode
    int32_t anim = RUBE_ANIM_IDLE;
    bool running = false; // the run animation of this walk
    EntRef generator;
    bool done = false;
    bool ticketBought = false;
    uint32_t colour = 0xFFFF0000u;
    int32_t number = 0;
    uint8_t highlighted = 0;
    uint8_t showNeeds = 0;              // the needs display over the head
    CharModelInst* character = nullptr; // null without a loaded character of the kind
    float lastStep = 0.0f;              // the frame's seconds, for the icon in the draw
    // Where the character's next pose lies, noted after each: the frame's walk asks for it
    // while the patron before this one updates.
    giPoseMemory poseMemory;
    // What `route` points at: kept in the patron rather than in allocations of their own, so
    // that a frame's step reaches its route without two more misses of the cache per patron.
    WaypointPath routeStore = {};
    VECTOR3 routePoints[kGridPathPoints] = {};
};

// Class "Rube1".
intptr_t EcRube1Proc(EntNode* node, int message, intptr_t a, intptr_t b, intptr_t c);

// The strongest need (0..7), or 8 while leaving; 0 for a null patron.
int RubeChooseNeed(const Rube1* patron);

// The live patrons in the order they were made.
int RubeLiveCount();
Rube1* RubeLiveAt(int index);
// The sum of their happiness, added in that order as doubles: one pass over the list, no call
// per patron (the generator sums it every update).
double RubeLiveHappinessSum();
