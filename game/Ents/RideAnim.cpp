// The ride animator with its model: the shared extended model of the attraction's type, its box,
// its draw with the attraction's lights and chaser pattern, and the seats it hands to riders.
#include "game/Ents/RideAnim.h"

#include "I3d/Camera.h"
#include "I3d/StateCache.h"
#include "engine/DebugLog.h"
#include "engine/Random.h"
#include "engine/SharedObj.h"
#include "game/AttrInfo.h"
#include "gi/Render/Mdl3Ex.h"

#include <cstdio>

namespace {

void ModelStates() {
    D3dSetZEnable(D3DZB_TRUE);
    D3dSetZWrite(1);
    D3dSetAlphaBlend(0);
    D3dSetFillMode(D3DFILL_SOLID);
    D3dSetCullMode(D3DCULL_CCW);
}

} // namespace

RideAnim::~RideAnim() {
    if (instance) SharedObjRelease(instance);
}

int RideAnim::Init(AttrInfo* type, const char* folder, RideAnimOwner* owner) {
    RideAnimCore::Init(type, folder, owner);
    lightPhase = RandInt(32);

    boxMin = {-0.5f, -0.5f, -0.5f};
    boxMax = {0.5f, 0.5f, 0.5f};
    if (instance) SharedObjRelease(instance); // a second Init loads afresh
    instance = nullptr;
    model = nullptr;

    char path[RIDE_DATA_FOLDER_MAX + sizeof info->modelFileName];
    const char* file = info ? info->modelFileName : "";
    std::snprintf(path, sizeof path, "%s%s", dataFolder, file);
    // An empty name would load the data folder itself.
    if (file[0]) instance = Mdl3ExLoad(path);
    if (!instance) {
        DbgPrintf(DBG_ENTITY, "** WARNING ** could not find %s\n", path);
        return 1;
    }
    model = instance->mdl;
    if (model && model->numNodes > 0) {
        boxMin = model->nodes[0].boundsMin;
        boxMax = model->nodes[0].boundsMax;
    }
    return 1;
}

int RideAnim::SeatCount() {
    if (!instance || !model) return 0;
    // The attraction keeps RIDE_SEAT_MAX seat matrices: riders beyond them would read past the
    // array.
    return instance->attachCount < RIDE_SEAT_MAX ? instance->attachCount : RIDE_SEAT_MAX;
}

void RideAnim::Draw(const Mat4* world) {
    if (!instance || !model || !world) return;
    ModelStates();
    I3dSetWorld(world);
    const bool lights = attraction && attraction->RideLightsOn();
    instance->lightsOn = instance->emissiveOn = lights ? 1 : 0;
    // Counters from outside are taken modulo 32 so that a stray one cannot shift out of range.
    const int chaser = attraction ? attraction->RideChaserA() : 0;
    const int bit = (lightPhase % 32 + chaser % 32 + 64) % 32;
    instance->flashBits = 1u << bit;
    Mdl3ExDraw(instance);
    if (instance->attachCount > 0 && attraction) {
        I3dSetWorld(world);
        Mdl3ExGetAttachMatrices(instance, attraction->RideSeats(), RIDE_SEAT_MAX);
    }
}
