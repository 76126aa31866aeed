// The attraction's wear, failures, repair and value, its power checks, its status icon, closing
// and opening, and the class-wide light-chaser counters and highlight phase.
#include "game/Ents/AttrBase.h"

#include "engine/Random.h"
#include "game/AttrInfo.h"
#include "game/Ents/AttrClass.h"
#include "game/MtGame.h"
#include "game/MtGameLinks.h"
#include "game/MtPowerGrid.h"

#include <cmath>

namespace {
constexpr float kFailureRollSeconds = 30.0f;
constexpr float kBinFailedWear = 0.99f;
constexpr float kChaserAStep = 0.0625f;
constexpr float kChaserBStep = 1.0f / 60.0f;
constexpr int kChaserSteps = 32;

int s_chaserA = 0;
int s_chaserB = 0;
float s_chaserATime = 0.0f;
float s_chaserBTime = 0.0f;
uint32_t s_chaserMask = 1;
float s_highlightPhase = 0.0f;

bool IsBin(const AttrInfo* info) {
    return info->needs[NEED_TRASH] > 0.25f;
}
} // namespace

// ---- wear, repair, value ----

void AttrBase::RideStepWear(float seconds) {
    if (broken || !info) return;
    const MtGame* game = AttrClassGame();
    const float fact = game ? game->degRateFact : 1.0f;
    const float threshold = game ? game->degFailThresh : 0.75f;
    repair += info->degRateIdle * fact * seconds / 3600.0f;
    if (attrState == ATTR_RIDING) repair += info->degRateRun * fact * seconds / 3600.0f;
    // Negative rates in a type must not make an attraction better than new.
    if (!(repair > 0.0f)) repair = 0.0f;

    // Checked apart from the threshold, so that a threshold at or above 1 still breaks a worn
    // out attraction (and only that).
    if (repair >= 1.0f) {
        broken = true;
        repair = 1.0f;
        return;
    }
    if (repair < threshold) return;
    failureTimer -= seconds;
    if (failureTimer > 0.0f) return;
    const float roll = (float)CrtRand() / (float)(kCrtRandMax + 1);
    failureTimer = kFailureRollSeconds;
    if (roll >= repair - threshold) return;
    if (IsBin(info)) {
        // A full bin is closed for emptying instead of breaking for good.
        repair = kBinFailedWear;
        AttrBaseSetClosed(this, true);
        repairMe = 1;
        return;
    }
    repair = 1.0f;
    broken = true;
}

void AttrBase::RideBreak() {
    repair = 1.0f;
    broken = true;
}

void AttrBase::RideSetSoundVolume(float volume) {
    if (ENTBASE* running = sound.Get()) running->SetFloat("volume", volume);
}

bool AttrBaseRepairStep(AttrBase* attr, float amount) {
    if (!attr || attr->repair >= 1.0f) return false;
    attr->repair -= amount;
    if (attr->repair > 0.0f) return true;
    attr->repair = 0.0f;
    return false;
}

int AttrBaseValue(const AttrBase* attr) {
    if (!attr || attr->inert || !attr->info) return 0;
    const float wear = attr->repair;
    float factor;
    if (wear >= 1.0f)
        factor = 0.0f;
    else if (wear <= 0.5f)
        factor = 1.0f;
    else
        factor = 1.0f - 2.0f * (wear - 0.5f);
    return (int)std::trunc((double)attr->info->deposit * (double)factor);
}

// ---- closing and opening ----

void AttrBaseSetClosed(AttrBase* attr, bool closed) {
    if (!attr) return;
    attr->closed = closed ? 1 : 0;
    ENTBASE* generator = AttrClassRubeGen();
    if (!generator || !attr->info) return;
    // The generator scales the factor by its venue's delay: an open attraction draws patrons
    // faster, a closed one slower.
    const float factor = attr->info->rubeRateFactor;
    MtGameRubeGenAdjustDelay(generator, closed ? -factor : factor);
}

// ---- power and the run check ----

void AttrPowerCheck(AttrBase* attr, float seconds) {
    const MtPowerGrid* grid = AttrClassGrid();
    if (!MtPowerGridOverloaded(grid)) {
        attr->powerFailure = false;
        return;
    }
    attr->powerCheckTimer -= seconds;
    if (attr->powerCheckTimer > 0.0f) return;
    attr->powerCheckTimer += RandFloat(10.0f) + 2.0f;
    const AttrInfo* info = attr->info;
    if (info->conAtPeakPower < 0.01f) {
        attr->powerFailure = false;
    } else if (info->conAtPeakPower >= 2.01f || info->maxPowerGen >= 0.01f) {
        // Big consumers and generators trip; the spawn delay is left as it is.
        attr->powerFailure = true;
        attr->closed = 1;
    } else {
        attr->powerFailure = true;
    }
}

bool AttrRunCheck(AttrBase* attr) {
    if (attr->attrState == ATTR_BROKEN || attr->attrState == ATTR_CLOSED) return false;
    if (MtPowerGridOverloaded(AttrClassGrid()) || attr->powerFailure) return RandInt(100) < 50;
    if (attr->repair < 0.5f) return true;
    return RandInt(100) >= (int)std::trunc((attr->repair - 0.5f) * 200.0f);
}

// ---- the status icon ----

int AttrBaseStatusIcon(const AttrBase* attr) {
    if (!attr) return ATTR_ICON_NONE;
    if (attr->broken) return ATTR_ICON_BROKEN;
    if (attr->closed && attr->repairMe) return ATTR_ICON_REPAIR;
    if (!attr->closed && attr->powerFailure) return ATTR_ICON_POWER;
    if (attr->closed && attr->powerFailure) return ATTR_ICON_CLOSED_POWER;
    if (attr->closed) return ATTR_ICON_CLOSED;
    if (attr->repair > 0.5f) return ATTR_ICON_WORN;
    return ATTR_ICON_NONE;
}

// ---- class-wide counters ----

namespace {
// Whole steps out of the time kept plus this frame's; a long frame moves by several at once.
int Steps(float* kept, float seconds, float step) {
    *kept += seconds;
    const double steps = std::floor((double)*kept / (double)step);
    *kept -= (float)(steps * (double)step);
    if (*kept < 0.0f) *kept = 0.0f;
    return (int)std::fmod(steps, (double)kChaserSteps);
}
} // namespace

void AttrFlashTick(float seconds) {
    if (!std::isfinite(seconds) || seconds <= 0.0f) return;
    s_chaserA = (s_chaserA + Steps(&s_chaserATime, seconds, kChaserAStep)) % kChaserSteps;
    s_chaserB = (s_chaserB + Steps(&s_chaserBTime, seconds, kChaserBStep)) % kChaserSteps;
    s_chaserMask = 1u << s_chaserB;
    // Once per frame here, not once per attraction in their updates: with fifty attractions the
    // highlight would otherwise pulse fifty times a second.
    s_highlightPhase = std::fmod(s_highlightPhase + seconds, 1.0f);
}

int AttrFlashCounterA() {
    return s_chaserA;
}

int AttrFlashCounterB() {
    return s_chaserB;
}

uint32_t AttrFlashMask() {
    return s_chaserMask;
}

float AttrHighlightPhase() {
    return s_highlightPhase;
}

void AttrClassReset() {
    AttrClassForget();
    s_chaserA = s_chaserB = 0;
    s_chaserATime = s_chaserBTime = 0.0f;
    s_chaserMask = 1;
    s_highlightPhase = 0.0f;
}
