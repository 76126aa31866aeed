// The environment entity: its table, the cube map, the per-frame ambient and fog, the wind.
#include "world/Environment.h"

#include "I3d/Camera.h"
#include "I3d/Device.h"
#include "I3d/Materials.h"
#include "I3d/StateCache.h"
#include "I3d/Textures.h"
#include "engine/DebugLog.h"
#include "engine/MathConst.h"
#include "engine/PropDb.h"
#include "engine/Random.h"
#include "engine/System.h"

#include <algorithm>

namespace {
PropDb* Db() {
    static PropDb s_db;
    if (!s_db.first) {
        PropDb* db = &s_db;
        PropDbSetName(db, "Environment");
        PropDbAddSeparator(db, "General:");
        PropDbAddString(db, "name", PROP_OFFSET(Environment, name), "test", 32);
        PropDbAddStringBlank(db, "environTexName", PROP_OFFSET(Environment, environTexName), 260);
        PropDbAddColor3fWhite(db, "ambient", PROP_OFFSET(Environment, ambient));
        PropDbAddSeparator(db, "Fog:");
        PropDbAddBool(db, "fogEnable", PROP_OFFSET(Environment, fogEnable), 1);
        // The editor help texts ("Distance from camera at which the fog effect begins." and
        // "... is solid.") wait for the fields to carry help strings.
        PropField* f = PropDbAddFloat(db, "fogStart", PROP_OFFSET(Environment, fogStart), 4);
        if (f) f->SetRangeFloat(-500.0f, 2000.0f, 1.0f);
        f = PropDbAddFloat(db, "fogEnd", PROP_OFFSET(Environment, fogEnd), 5);
        if (f) f->SetRangeFloat(-500.0f, 2000.0f, 1.0f);
        PropDbAddColor3fWhite(db, "fogClr", PROP_OFFSET(Environment, fogClr));
        PropDbAddSeparator(db, "Underwater Fog:");
        PropDbAddBool(db, "uwFogEnable", PROP_OFFSET(Environment, uwFogEnable), 1);
        PropDbAddFloat(db, "uwFogStart", PROP_OFFSET(Environment, uwFogStart), -10.0f);
        PropDbAddFloat(db, "uwFogEnd", PROP_OFFSET(Environment, uwFogEnd), 20.0f);
        PropDbAddColor3fWhite(db, "uwFogClr", PROP_OFFSET(Environment, uwFogClr));
        PropDbAddFloat(db, "uwFogElv", PROP_OFFSET(Environment, uwFogElv), 10.0f);
        PropDbAddSeparator(db, "Wind:");
        PropDbAddFloat(db, "windMag", PROP_OFFSET(Environment, windMag), 10.0f);
        PropDbAddFloat(db, "windDir", PROP_OFFSET(Environment, windDir), 11.0f);
        PropDbAddVector3Zero(db, "wind", PROP_OFFSET(Environment, wind));
    }
    return &s_db;
}

const WorldClassDef kClass = {"Environment", Db, WorldMake<Environment>,
                              WorldClassFlags<Environment>::Reset};

constexpr float kWindMagMin = 1.1920929e-7f;
} // namespace

intptr_t EcEnvironmentProc(EntNode* node, int message, intptr_t a, intptr_t b, intptr_t c) {
    return WorldClassProc(kClass, node, message, a, b, c);
}

int Environment::CopyClassName(char* buffer) {
    return WorldCopyClassName("Environment", buffer);
}

int Environment::Create(EntNode*) {
    if (classDb) PropDbInitObject(classDb, this);
    pos = {0.0f, 0.0f, 0.0f};
    environTexName[0] = '\0';
    cubeMap = -1;
    SetFlag(ENT_FLAG_PASSABLE);
    return 0;
}

int Environment::Start() {
    if (cubeMap >= 0) return 0;
    char path[600];
    if (SysDataFilePath(path, sizeof path, environTexName) != 1) path[0] = '\0';
    // An empty name asks for no map; the loader also refuses a 2-D file or a folder.
    cubeMap = environTexName[0] ? D3dCubeTexFromFile(0, path, "ENVIRON") : -1;
    if (environTexName[0] && cubeMap < 0)
        DbgPrintf(1, "Environment: no cube map from \"%s\"\n", environTexName);
    I3dSetEnvMapTexture(cubeMap);
    return 0;
}

void Environment::WindStep() {
    windMag += RandFloatRange(-0.1f, 0.1f);
    // A NaN from a file would stay NaN through the clamps below: it counts as calm.
    if (!(windMag >= kWindMagMin)) windMag = kWindMagMin;
    if (windMag > 1.0f) windMag = 1.0f;
    const float limit = std::min(0.0087f / windMag, kPi6);
    windDir += RandFloatRange(-limit, limit);
}

int Environment::Update(float) {
    WindStep();
    return 0;
}

void Environment::Apply() {
    D3dSetAmbient(ambient[0], ambient[1], ambient[2]);
    VECTOR3 eye;
    I3dGetEyePos(&eye);
    const bool under = eye.y < uwFogElv;
    const float* clr = under ? uwFogClr : fogClr;
    D3dSetFogMode(3);
    D3dSetFogEnable(under ? uwFogEnable : fogEnable);
    D3dSetFogStart(under ? uwFogStart : fogStart);
    D3dSetFogEnd(std::min(under ? uwFogEnd : fogEnd, I3dGetFarDistance()));
    D3dSetFogColor(clr[0], clr[1], clr[2]);
}

int Environment::DrawPre() {
    if (GetClassFlags() & ENT_CLASS_DRAW) Apply();
    return 1;
}

int Environment::Destroy() {
    if (cubeMap >= 0) {
        // Reflective materials would otherwise bind a freed slot, or whatever reuses it.
        if (I3dGetEnvMapTexture() == cubeMap) I3dSetEnvMapTexture(-1);
        I3dTexRelease(cubeMap);
        cubeMap = -1;
    }
    return ENTBASE::Destroy();
}
