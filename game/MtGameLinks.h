// The operations the game object (and the attractions) need of the attraction and
// patron-generator classes. Those classes draw, so they live above the simulation core; each
// installs its operations when its class registers (ENT_CLASS_MSG_BUILD_DB). Until one does, its
// calls do nothing (0 for a value).
#pragma once

#include "I3d/Math/MathTypes.h"

class ENTBASE;

struct MtGameAttrLinks {
    void (*startOfDay)(ENTBASE* attraction); // empties both queues
    int (*value)(ENTBASE* attraction);       // refund value in cents
};

struct MtGameRubeGenLinks {
    // The day's marketing extras: the maximum rises by `extra`, clamped to its ceiling.
    void (*addExtra)(ENTBASE* generator, int extra);
    // A spawn position for a new patron or carny; false when there is none.
    bool (*spawnPosition)(ENTBASE* generator, VECTOR3* out);
    // An attraction opened (its "rubeRateFactor") or closed (the factor negated): the spawn delay
    // moves by -amount x the venue's "delayTimer".
    void (*adjustDelay)(ENTBASE* generator, float amount);
};

// Null clears the links.
void MtGameSetAttrLinks(const MtGameAttrLinks* links);
void MtGameSetRubeGenLinks(const MtGameRubeGenLinks* links);

void MtGameAttrStartOfDay(ENTBASE* attraction);
int MtGameAttrValue(ENTBASE* attraction);
void MtGameRubeGenAddExtra(ENTBASE* generator, int extra);
bool MtGameRubeGenSpawnPosition(ENTBASE* generator, VECTOR3* out);
void MtGameRubeGenAdjustDelay(ENTBASE* generator, float amount);
