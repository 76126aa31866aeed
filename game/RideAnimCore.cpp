// The ride animator's run states: what each asks of the power grid, how each moves on, the state
// time, the wear it drives through its attraction and the hourly running cost.
#include "game/RideAnimCore.h"

#include "engine/EntTree.h"
#include "engine/Random.h"
#include "game/AttrInfo.h"
#include "game/Money.h"
#include "game/MtGame.h"
#include "game/MtPowerGrid.h"

#include <cmath>
#include <cstdio>

namespace {

// The new wear is never above this, whatever the type's average asks for.
constexpr float kInitialWearMax = 0.2f;

float IdlePower(const RideAnimCore* anim) {
    return anim->info ? anim->info->conAtIdlePower : 0.0f;
}

float PeakPower(const RideAnimCore* anim) {
    return anim->info ? anim->info->conAtPeakPower : 0.0f;
}

bool Broken(RideAnimCore* anim) {
    return anim->attraction && anim->attraction->RideBroken();
}

bool Closed(RideAnimCore* anim) {
    return anim->attraction && anim->attraction->RideClosed();
}

} // namespace

// ---- the machine ----

void RideAnimSetState(RideAnimCore* anim, int state) {
    if (!anim) return;
    switch (anim->runState) {
        case RIDE_IDLE: anim->IdleExit(); break;
        case RIDE_START: anim->StartExit(); break;
        case RIDE_RUNNING: anim->RunningExit(); break;
        case RIDE_STOPPING: anim->StoppingExit(); break;
        case RIDE_BROKEN: anim->BrokenExit(); break;
        case RIDE_CLOSED: anim->ClosedExit(); break;
        default: break;
    }
    anim->runState = state;
    switch (state) {
        case RIDE_IDLE: anim->IdleEnter(); break;
        case RIDE_START: anim->StartEnter(); break;
        case RIDE_RUNNING: anim->RunningEnter(); break;
        case RIDE_STOPPING: anim->StoppingEnter(); break;
        case RIDE_BROKEN: anim->BrokenEnter(); break;
        case RIDE_CLOSED: anim->ClosedEnter(); break;
        default: break;
    }
}

void RideAnimStateUpdate(RideAnimCore* anim, float seconds) {
    if (!anim) return;
    switch (anim->runState) {
        case RIDE_IDLE: anim->IdleUpdate(seconds); break;
        case RIDE_START: anim->StartUpdate(seconds); break;
        case RIDE_RUNNING: anim->RunningUpdate(seconds); break;
        case RIDE_STOPPING: anim->StoppingUpdate(seconds); break;
        case RIDE_BROKEN: anim->BrokenUpdate(seconds); break;
        case RIDE_CLOSED: anim->ClosedUpdate(seconds); break;
        default: break;
    }
}

void RideAnimRequestPower(RideAnimCore* anim, float supply, float demand) {
    if (!anim || !anim->attraction) return;
    ENTBASE* entity = anim->attraction->RideEntity();
    MtPowerGrid* grid = anim->attraction->RidePowerGrid();
    // The owner's cache forgets a destroyed grid; this guards an owner that asks too late.
    if (!entity || !grid || !EntIsLive(grid)) return;
    MtPowerGridUse(grid, entity, supply, demand);
}

// ---- lifecycle ----

int RideAnimCore::Init(AttrInfo* type, const char* folder, RideAnimOwner* owner) {
    attraction = owner;
    info = type;
    std::snprintf(dataFolder, sizeof dataFolder, "%s", folder ? folder : "");
    stateTime = 0.0f;
    runState = RIDE_IDLE;
    RideAnimSetState(this, RIDE_IDLE);

    float wear = RandBellSkewF(RandGameSource(), info ? info->initAvgRepair : 0.0f);
    // An average outside 0..1 (or NaN) in the type's record still gives a new ride's wear.
    if (!(wear > 0.0f)) wear = 0.0f;
    if (wear > kInitialWearMax) wear = kInitialWearMax;
    if (attraction) attraction->RideSetWear(wear, true);
    return 1;
}

void RideAnimCore::Tick(float seconds) {
    if (runState != RIDE_BROKEN && runState != RIDE_CLOSED) stateTime += seconds;
    RideAnimStateUpdate(this, seconds);
    UpdateWear(seconds);
}

void RideAnimCore::Draw(const Mat4*) {}

void RideAnimCore::UpdateWear(float seconds) {
    if (attraction) attraction->RideStepWear(seconds);
}

void RideAnimCore::HourlyCost() {
    if (!info || !attraction) return;
    MtGame* game = attraction->RideGame();
    if (!game) return;
    MtGameBook(game, MONEY_COST, info->idleCost);
}

// ---- the run states ----

void RideAnimCore::IdleEnter() {
    RideAnimRequestPower(this, 0.0f, IdlePower(this));
}

void RideAnimCore::IdleUpdate(float) {
    // Broken and closed at once stays broken: states 5 and 6 are left only by the attraction's
    // RideAnimSetState (1).
    if (Broken(this))
        RideAnimSetState(this, RIDE_BROKEN);
    else if (Closed(this))
        RideAnimSetState(this, RIDE_CLOSED);
}

void RideAnimCore::StartEnter() {
    RideAnimRequestPower(this, 0.0f, PeakPower(this));
}

void RideAnimCore::StartUpdate(float) {
    RideAnimSetState(this, RIDE_RUNNING);
}

void RideAnimCore::RunningEnter() {
    RideAnimRequestPower(this, 0.0f, PeakPower(this));
    countdown = info ? info->duration : 0.0f;
}

void RideAnimCore::RunningUpdate(float seconds) {
    countdown -= seconds;
    // Written as "not above 0" so that a NaN duration ends the ride instead of running it for
    // ever.
    if (!(countdown > 0.0f) || Broken(this) || Closed(this)) RideAnimSetState(this, RIDE_STOPPING);
}

void RideAnimCore::StoppingEnter() {
    RideAnimRequestPower(this, 0.0f, PeakPower(this));
}

void RideAnimCore::StoppingUpdate(float) {
    if (Broken(this))
        RideAnimSetState(this, RIDE_BROKEN);
    else if (!Closed(this))
        RideAnimSetState(this, RIDE_IDLE);
    else
        RideAnimSetState(this, RIDE_CLOSED);
}

void RideAnimCore::BrokenEnter() {
    RideAnimRequestPower(this, 0.0f, 0.0f);
}

void RideAnimCore::ClosedEnter() {
    RideAnimRequestPower(this, 0.0f, 0.0f);
}
