// The light entity: its table, the kernel light it holds and its camera.
#include "world/EntLight.h"

#include "I3d/Lights.h"
#include "I3d/Math/Geometry.h"
#include "I3d/Math/Mat4Math.h"
#include "engine/DebugLog.h"
#include "engine/PropDb.h"
#include "world/CameraDesc.h"

#include <cmath>
#include <cstring>

namespace {
PropDb* Db() {
    static PropDb s_db;
    if (!s_db.first) {
        PropDb* db = &s_db;
        PropDbSetName(db, "Light");
        PropDbAddStringBlank(db, "name", PROP_OFFSET(EntLight, name), 32);
        PropDbAddVector3Zero(db, "pos", PROP_OFFSET(EntLight, pos));
        PropDbAddInt(db, "type", PROP_OFFSET(EntLight, type), 1);
        PropDbAddColor3fWhite(db, "color", PROP_OFFSET(EntLight, color));
        PropDbAddFloat(db, "pitch", PROP_OFFSET(EntLight, pitch), 0.0f);
        PropDbAddFloat(db, "yaw", PROP_OFFSET(EntLight, yaw), 0.0f);
        PropDbAddFloat(db, "theta", PROP_OFFSET(EntLight, theta), 0.0f);
        PropDbAddFloat(db, "range", PROP_OFFSET(EntLight, range), 0.0f);
    }
    return &s_db;
}

const WorldClassDef kClass = {"Light", Db, WorldMake<EntLight>, WorldClassFlags<EntLight>::Reset};
} // namespace

intptr_t EcLightProc(EntNode* node, int message, intptr_t a, intptr_t b, intptr_t c) {
    return WorldClassProc(kClass, node, message, a, b, c);
}

int EntLight::CopyClassName(char* buffer) {
    return WorldCopyClassName("Light", buffer);
}

int EntLight::Create(EntNode*) {
    if (classDb) PropDbInitObject(classDb, this);
    Mat4Identity(&matrix);
    const float box[6] = {-2.0f, -2.0f, -2.0f, 2.0f, 2.0f, 2.0f};
    std::memcpy(localBox, box, sizeof localBox);
    BoxXform(localBox, &matrix, worldBox);
    light = -1;
    type = 1;
    range = 1000.0f;
    m_rangeInUse = 1000.0f;
    pitch = 0.0f;
    yaw = 0.0f;
    SetFlag(ENT_FLAG_PASSABLE);
    pos = {0.0f, 0.0f, 0.0f};
    return 0;
}

int EntLight::Start() {
    Ent3dBase::Start();
    VarsChanged();
    return 0;
}

int EntLight::VarsChanged() {
    if (type < 1) {
        if (light >= 0) I3dLightFree(light);
        light = -1;
    } else if (light < 0) {
        light = I3dLightAlloc();
    }
    Mat4Identity(&matrix);
    Mat4RotateY(&matrix, yaw);
    Mat4RotateX(&matrix, pitch);
    matrix.m[12] = pos.x;
    matrix.m[13] = pos.y;
    matrix.m[14] = pos.z;
    BoxXform(localBox, &matrix, worldBox);
    // A range of 0 or less would put an infinite attenuation on the device.
    if (range > 0.0f && std::isfinite(range)) {
        m_rangeInUse = range;
    } else {
        DbgPrintf(1, "Light: range %g refused, %g kept\n", double(range), double(m_rangeInUse));
        range = m_rangeInUse;
    }
    if (light < 0) return 0;
    I3dLightSetType(light, type);
    I3dLightSetDiffuse(light, color[0], color[1], color[2]);
    I3dLightSetSpecular(light, color[0], color[1], color[2]);
    I3dLightSetPosition(light, pos.x, pos.y, pos.z);
    I3dLightSetSpotAngle(light, theta);
    I3dLightSetDirection(light, matrix.m[8], matrix.m[9], matrix.m[10]);
    I3dLightSetRange(light, range);
    if (type == 1) {
        I3dLightSetAttenuation(light, 1);
        I3dLightSetAttenuation(light, 0);
    }
    return 0;
}

int EntLight::GetCamera(CameraDesc* out) {
    if (!out) return 1;
    out->fov = 1.57077f;
    Mat4InverseRigid(&matrix, &out->view);
    out->eye = pos;
    out->valid = 1;
    return 1;
}

int EntLight::Destroy() {
    if (light >= 0) I3dLightFree(light);
    light = -1;
    return ENTBASE::Destroy();
}
