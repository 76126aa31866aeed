// The attraction entity: one placed ride, game, stand or utility. It keeps a waiting line and an
// on-board list of patrons, runs the load, ride and unload cycle, wears out, breaks down, closes
// and opens, charges its hourly cost through its ride animator and draws its model, status icon,
// selection highlight and entry marker.
#pragma once

#include "I3d/InfoIcon.h"
#include "I3d/Math/MathTypes.h"
#include "engine/Ent3d/Ent3dBase.h"
#include "engine/EntRef.h"
#include "game/Ents/AttrRing.h"
#include "game/RideAnimOwner.h"

#include <cstdint>

class AttrInfo;
class AttrPatron;
class Mdl3ExModel;
struct MtGameAttrLinks;
class RideAnimCore;

// The cycle states (attrState).
enum AttrState {
    ATTR_LOADING = 0,
    ATTR_BOARDING = 1,
    ATTR_RIDING = 2,
    ATTR_UNLOADING = 3,
    ATTR_BROKEN = 4,
    ATTR_CLOSED = 5
};

// Status icon cells; -1 shows none.
enum AttrIcon {
    ATTR_ICON_NONE = -1,
    ATTR_ICON_POWER = 0,
    ATTR_ICON_WORN = 1,
    ATTR_ICON_BROKEN = 2,
    ATTR_ICON_CLOSED = 3,
    ATTR_ICON_CLOSED_POWER = 4,
    ATTR_ICON_REPAIR = 5
};

class AttrBase : public Ent3dBase, public RideAnimOwner {
  public:
    AttrBase();
    ~AttrBase() override;

    int CopyClassName(char* buffer) override;
    const char* GetTypeName() override { return "AttrBase"; }
    uint32_t GetClassFlags() override;
    void SetClassFlags(uint32_t word) override;
    int Create(EntNode* node) override;
    int Start() override;
    int Destroy() override;
    // Forgets a class-wide entity that goes, and drops a patron that goes from both lines.
    int OnEntityRemoved(ENTBASE* gone) override;
    int Update(float seconds) override;
    int DrawPre() override;
    int Draw() override;
    int VarsChanged() override;
    void SetYaw(float value) override { yaw = value; }
    float GetYaw() override { return yaw; }
    void SetType(int value) override { type = value; }
    bool PickTest(PickQuery* query) override;
    int OnGameEvent(int event, intptr_t value) override;
    void SetPosXYZ(float x, float y, float z) override;
    // Remembers a loaded "repair", which the first Start re-applies over the animator's draw.
    int LoadVars(const char* path, int* outFlag) override;

    // ---- what the ride animator needs ----
    ENTBASE* RideEntity() override { return this; }
    bool RideClosed() override { return closed != 0; }
    bool RideBroken() override { return broken; }
    bool RideRiding() override { return attrState == ATTR_RIDING; }
    float RideWear() override { return repair; }
    void RideSetWear(float wear, bool initial) override;
    void RideStepWear(float seconds) override;
    void RideBreak() override;
    void RideSetSoundVolume(float volume) override;
    bool RideLightsOn() override { return lightsOn; }
    int RideChaserA() override;
    Mat4* RideSeats() override { return seats; }
    MtGame* RideGame() override;
    MtPowerGrid* RidePowerGrid() override;

    // ---- properties ----
    int32_t type = 0;
    uint8_t agl = 1;
    uint8_t closed = 0;
    uint8_t repairMe = 0;
    float repair = 0.0f; // the wear: 0 new, 1 worn out
    float yaw = 0.0f;
    int32_t ticketPrice = 999;

    // ---- fields ----
    Mat4 seats[RIDE_SEAT_MAX];
    float terrainHeight = 0.0f;
    AttrInfo* info = nullptr;
    ENTBASE* infoOwner = nullptr; // the game object whose list holds info (compared only)
    VECTOR3 entry = {0.0f, 0.0f, 0.0f};
    AttrRing line;
    AttrRing board;
    float cycleTimer = 0.0f;
    int32_t attrState = ATTR_LOADING;
    int32_t ridersToBoard = 0;
    bool powerFailure = false;
    float powerCheckTimer = 0.0f;
    RideAnimCore* animator = nullptr;
    uint8_t highlighted = 0;
    EntRef sound;
    EntRef music;
    float initialWear = 0.0f;
    bool broken = false;
    float failureTimer = 0.0f;
    bool lightsOn = false;
    InfoIcon icon;
    int32_t takings = 0; // tickets taken
    uint8_t winFlag = 0; // the last game played was won

    // A type outside the attraction list: the attraction serves nobody and costs nothing.
    bool inert = false;
    bool queuesMade = false;
    bool loadedWearSet = false;
    float loadedWear = 0.0f;
    bool badMatrixLogged = false;
};

// Class "AttrBase".
intptr_t EcAttrBaseProc(EntNode* node, int message, intptr_t a, intptr_t b, intptr_t c);
// The game object's attraction links, which the application installs (MtGameSetAttrLinks).
const MtGameAttrLinks* AttrBaseLinks();

// ---- operations for patrons, carnies, menus and the game object ----

// Puts the patron at the back of the waiting line and tells it its place and the entry point;
// false when the line is full, the attraction is closed or broken, or it is inert. A patron already
// in the line is told its place again and answered true.
bool AttrBaseJoinQueue(AttrBase* attr, AttrPatron* patron);
// The patron has reached its seat: one rider fewer to wait for (once per patron and ride).
void AttrBaseRiderSeated(AttrBase* attr, AttrPatron* patron);
int AttrBaseQueueCount(const AttrBase* attr);
int AttrBaseRiderCount(const AttrBase* attr);
void AttrBaseEntryPoint(const AttrBase* attr, VECTOR3* out);
// Stores "closed" and hands the patron generator "rubeRateFactor" (opening) or its negation
// (closing); the generator moves its spawn delay by -amount x the venue's "delayTimer".
void AttrBaseSetClosed(AttrBase* attr, bool closed);
// The refund value in cents: "deposit" scaled by the wear.
int AttrBaseValue(const AttrBase* attr);
// The animator's model, null without one.
Mdl3ExModel* AttrBaseGetModel(const AttrBase* attr);
// How many ride cameras the inspector may step through: the animator's seats, 0 without one.
int AttrBaseRideCamCount(const AttrBase* attr);
// A carny's repair of `amount`: false when broken or when the wear reaches 0.
bool AttrBaseRepairStep(AttrBase* attr, float amount);
// The game object's start of day: empties both lines (the patrons are destroyed next) and puts
// the cycle back at its start.
void AttrBaseStartOfDay(AttrBase* attr);
// Builds and starts the ride animator of that type index (not of the model file): the stands,
// rides, generators and static types of the ride table, a plain RideAnim for any other index.
// Null without a type record.
RideAnimCore* AttrBaseBuildAnimator(int type, AttrInfo* info, const char* dataFolder,
                                    RideAnimOwner* attraction);
// The status icon the attraction shows now (-1 none).
int AttrBaseStatusIcon(const AttrBase* attr);

// ---- class-wide state ----

// The light-chaser counters and the highlight phase, advanced once per frame by the application.
void AttrFlashTick(float seconds);
int AttrFlashCounterA();
int AttrFlashCounterB();
uint32_t AttrFlashMask();
// The selection highlight's phase (seconds, 0..1).
float AttrHighlightPhase();
// Everything class-wide back to its start (class reset).
void AttrClassReset();
