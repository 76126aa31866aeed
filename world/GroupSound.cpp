// The group sound: its table and the search that centres it on its crowd.
#include "world/GroupSound.h"

#include "I3d/Math/Vec3.h"
#include "engine/PropDb.h"
#include "engine/WorldClass.h"

// ---- class ----

namespace {
PropDb* Db() {
    static PropDb s_db;
    if (!s_db.first) {
        PropDb* db = &s_db;
        PropDbSetName(db, "GroupSound");
        PropDbAddSeparator(db, "General:");
        PropDbAddStringBlank(db, "name", PROP_OFFSET(GroupSound, name), 32);
        PropDbAddStringBlank(db, "soundFile", PROP_OFFSET(GroupSound, soundFile), 260);
        PropDbAddFloat(db, "volume", PROP_OFFSET(GroupSound, volume), 1.0f);
        PropDbAddStringBlank(db, "searchClass", PROP_OFFSET(GroupSound, searchClass), 64);
        PropDbAddFloat(db, "recalcTime", PROP_OFFSET(GroupSound, recalcTime), 1.0f);
        PropDbAddInt(db, "maxEnts", PROP_OFFSET(GroupSound, maxEnts), 100);
        PropDbAddVector3Zero(db, "pos", PROP_OFFSET(GroupSound, pos));
        PropDbAddFloat(db, "maxDist", PROP_OFFSET(GroupSound, maxDist), 100.0f);
        PropDbAddFloat(db, "minDist", PROP_OFFSET(GroupSound, minDist), 1.0f);
    }
    return &s_db;
}

const WorldClassDef kClass = {"GroupSound", Db, WorldMake<GroupSound>,
                              WorldClassFlags<GroupSound>::Reset};
} // namespace

intptr_t EcGroupSoundProc(EntNode* node, int message, intptr_t a, intptr_t b, intptr_t c) {
    return WorldClassProc(kClass, node, message, a, b, c);
}

int GroupSound::CopyClassName(char* buffer) {
    return WorldCopyClassName("GroupSound", buffer);
}

// ---- life ----

int GroupSound::Create(EntNode* node) {
    EntSound::Create(node);
    if (classDb) PropDbInitObject(classDb, this);
    searchRoot = nullptr;
    countdown = 0.0f;
    return 0;
}

int GroupSound::Start() {
    EntSound::Start();
    if (!searchRoot.Get()) searchRoot = EntGetRoot(this);
    return 0;
}

int GroupSound::Update(float seconds) {
    countdown -= seconds;
    if (!(countdown < 0.0f)) return 1;
    Search();
    // A recalcTime of 0 or less (or not a number) searches on every update; it must not drive
    // the countdown towards minus infinity.
    countdown += recalcTime > 0.0f ? recalcTime : 0.0f;
    return 1;
}

// Entities without a position take no part: there is nothing to centre on.
void GroupSound::Search() {
    if (!searchRoot.Get()) searchRoot = EntGetRoot(this);
    if (!searchClass[0]) return;
    ENTBASE* found[MAX_FOUND];
    const int n = EntFindAllOfType(searchRoot, searchClass, found, MAX_FOUND);
    const VECTOR3* at[MAX_FOUND];
    int count = 0;
    VECTOR3 sum = {0.0f, 0.0f, 0.0f};
    for (int i = 0; i < n; ++i) {
        const VECTOR3* p = found[i]->GetPos();
        if (!p) continue;
        at[count++] = p;
        sum.x += p->x;
        sum.y += p->y;
        sum.z += p->z;
    }
    if (count == 0) return;
    const float inv = 1.0f / (float)count;
    const VECTOR3 centre = {sum.x * inv, sum.y * inv, sum.z * inv};
    float spread = 0.0f;
    for (int i = 0; i < count; ++i)
        spread += Vec3Dist(&centre, at[i]);
    spread *= inv;
    pos = centre;
    minDist = 0.4f * spread + 0.1f;
    maxDist = 2.0f * spread + 0.11f;
    const float gain = count <= maxEnts ? (float)count / (float)maxEnts : volume;
    if (!emitter) return;
    SndEmitterSetPos(emitter, &pos);
    SndEmitterSetRange(emitter, minDist, maxDist);
    SndEmitterSetGain(emitter, gain);
}
