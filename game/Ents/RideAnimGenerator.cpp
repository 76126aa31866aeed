// The generators: power supplied while generating, none once broken or closed, and the wear that
// grows with the square of the grid's load.
#include "game/Ents/RideAnimGenerator.h"

#include "engine/Random.h"
#include "game/AttrInfo.h"
#include "game/MtGame.h"
#include "game/MtPowerGrid.h"

namespace {
constexpr float kBrokenTimer = 30.0f;
constexpr float kFailureRollSeconds = 30.0f;
// The running sound's volume, as the attraction made it.
constexpr float kSoundShare = 0.8f;

float MaxGen(const RideAnimCore* anim) {
    return anim->info ? anim->info->maxPowerGen : 0.0f;
}
} // namespace

void RideAnimGenerator::IdleEnter() {
    RideAnimRequestPower(this, MaxGen(this), info ? info->conAtIdlePower : 0.0f);
    genState = GEN_GENERATING;
}

void RideAnimGenerator::IdleUpdate(float seconds) {
    if (!attraction) return;
    const bool broken = attraction->RideBroken();
    const bool closed = attraction->RideClosed();
    const float volume = info ? info->soundVolume * kSoundShare : 0.0f;
    switch (genState) {
        case GEN_OFF:
            if (!closed) {
                RideAnimRequestPower(this, MaxGen(this), info ? info->conAtIdlePower : 0.0f);
                // Back on, it is heard again (it was silenced when it stopped).
                attraction->RideSetSoundVolume(volume);
                genState = GEN_GENERATING;
            }
            break;
        case GEN_GENERATING:
            if (broken || closed) {
                RideAnimRequestPower(this, 0.0f, 0.0f);
                attraction->RideSetSoundVolume(0.0f);
                genState = broken ? GEN_BROKEN : GEN_OFF;
            }
            break;
        case GEN_BROKEN:
            brokenTimer -= seconds;
            if (broken) break;
            if (!closed) {
                RideAnimRequestPower(this, MaxGen(this), info ? info->conAtPeakPower : 0.0f);
                attraction->RideSetSoundVolume(volume);
                brokenTimer = kBrokenTimer;
                genState = GEN_GENERATING;
            } else {
                genState = GEN_OFF;
            }
            break;
        default: genState = GEN_OFF; break;
    }
}

void RideAnimGenerator::UpdateWear(float seconds) {
    if (!attraction || !info || attraction->RideBroken()) return;
    float load = MtPowerGridLoad(attraction->RidePowerGrid());
    if (!(load > 0.0f)) load = 0.0f;
    if (load > 1.0f) load = 1.0f;
    const MtGame* game = attraction->RideGame();
    const float fact = game ? game->degRateFact : 1.0f;
    const float threshold = game ? game->degFailThresh : 0.75f;
    float wear = attraction->RideWear();
    if (!attraction->RideClosed())
        wear += info->degRateRun * fact * seconds * load * load / 3600.0f;
    if (!(wear > 0.0f)) wear = 0.0f;
    if (wear >= 1.0f) {
        attraction->RideSetWear(1.0f, false);
        attraction->RideBreak();
        return;
    }
    attraction->RideSetWear(wear, false);
    if (wear < threshold) return;
    failureTimer -= seconds;
    if (failureTimer > 0.0f) return;
    failureTimer = kFailureRollSeconds;
    const float roll = (float)CrtRand() / (float)(kCrtRandMax + 1);
    if (roll < wear - threshold) {
        attraction->RideSetWear(1.0f, false);
        attraction->RideBreak();
    }
}
