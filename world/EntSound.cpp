// The sound entity: its table, its buffer and emitter, and the debug draw of its ranges.
#include "world/EntSound.h"

#include "I3d/Camera.h"
#include "I3d/Primitives.h"
#include "I3d/StateCache.h"
#include "engine/EntDrawWalk.h"
#include "engine/PropDb.h"
#include "engine/Sound/Sound.h"
#include "engine/WorldClass.h"

// ---- class ----

namespace {
PropDb* Db() {
    static PropDb s_db;
    if (!s_db.first) {
        PropDb* db = &s_db;
        PropDbSetName(db, "Sound");
        PropDbAddSeparator(db, "General:");
        PropDbAddStringBlank(db, "name", PROP_OFFSET(EntSound, name), 32);
        PropDbAddStringBlank(db, "soundFile", PROP_OFFSET(EntSound, soundFile), 260);
        PropDbAddBool(db, "eEnable", PROP_OFFSET(EntSound, eEnable), 1);
        PropDbAddVector3Zero(db, "pos", PROP_OFFSET(EntSound, pos));
        PropDbAddFloat(db, "volume", PROP_OFFSET(EntSound, volume), 1.0f);
        PropDbAddFloat(db, "maxDist", PROP_OFFSET(EntSound, maxDist), 100.0f);
        PropDbAddFloat(db, "minDist", PROP_OFFSET(EntSound, minDist), 1.0f);
    }
    return &s_db;
}

const WorldClassDef kClass = {"Sound", Db, WorldMake<EntSound>, WorldClassFlags<EntSound>::Reset};
} // namespace

intptr_t EcSoundProc(EntNode* node, int message, intptr_t a, intptr_t b, intptr_t c) {
    return WorldClassProc(kClass, node, message, a, b, c);
}

int EntSound::CopyClassName(char* buffer) {
    return WorldCopyClassName("Sound", buffer);
}

// ---- life ----

int EntSound::Create(EntNode*) {
    if (classDb) PropDbInitObject(classDb, this);
    soundFile[0] = '\0';
    eEnable = 1;
    pos = VECTOR3{0.0f, 0.0f, 0.0f};
    volume = 1.0f;
    maxDist = 200.0f;
    minDist = 4.0f;
    SetFlag(ENT_FLAG_PASSABLE);
    return 0;
}

int EntSound::Start() {
    ReleaseSound();
    buffer = SndLoadBuffer(soundFile);
    if (buffer) {
        emitter = new (std::nothrow) SndEmitter;
        if (emitter) {
            SndEmitterInit(emitter);
            SndEmitterSetBuffer(emitter, buffer);
        }
    }
    VarsChanged();
    return 0;
}

int EntSound::VarsChanged() {
    if (!emitter) return 1;
    SndEmitterSetGain(emitter, volume);
    SndEmitterSetRange(emitter, minDist, maxDist);
    SndEmitterSetPos(emitter, &pos);
    return 1;
}

void EntSound::ReleaseSound() {
    if (emitter) {
        SndEmitterRelease(emitter);
        delete emitter;
        emitter = nullptr;
    }
    if (buffer) {
        SharedObjRelease(buffer);
        buffer = nullptr;
    }
}

int EntSound::Destroy() {
    ReleaseSound();
    return ENTBASE::Destroy();
}

// ---- debug draw ----

int EntSound::Draw() {
    // Not in the game's second walk, which runs every frame: the ranges would hang a red and a
    // cyan sphere round every sound in play. The editor's pass draws them.
    if (!EntDebugDrawAllowed()) return 1;
    SoundDrawRanges(&pos, minDist, maxDist);
    return 1;
}

static void DrawSphere(const VECTOR3* centre, float radius, uint32_t colour) {
    Mat4 world = {
        {radius, 0, 0, 0, 0, radius, 0, 0, 0, 0, radius, 0, centre->x, centre->y, centre->z, 1}};
    I3dSetWorld(&world);
    D3dSetTextureFactor(colour);
    I3dDrawDebugSphere();
}

void SoundDrawRanges(const VECTOR3* pos, float minDist, float maxDist) {
    D3dSetFogEnable(1);
    D3dSetLighting(0);
    D3dSetSpecular(0);
    D3dSetAlphaBlend(1);
    D3dSetZFunc(D3DCMP_LESSEQUAL);
    D3dSetZWrite(0);
    D3dSetCullMode(D3DCULL_NONE);
    D3dSetFactorStages();
    D3dSetAlphaTest(0);
    DrawSphere(pos, minDist, 0x50FF0000u);
    DrawSphere(pos, maxDist, 0x5000FFFFu);
}
