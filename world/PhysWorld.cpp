// The shared physics world and the inert geom class.
#include "world/Physics.h"

#include <cstdlib>

namespace {
PhysWorld* s_world = nullptr;
int s_holders = 0;
bool s_odeStarted = false;
// ODE keeps user geom classes for the whole process and takes only four: registering one per
// world aborted the program at the fifth venue of a run. One class serves every world.
int s_inertClass = -1;

int NoContact(dGeomID, dGeomID, int, dContactGeom*, int) {
    return 0;
}
dColliderFn* InertCollider(int otherClass) {
    switch (otherClass) {
        case dSphereClass:
        case dBoxClass:
        case dCapsuleClass: return NoContact;
        default: return nullptr;
    }
}
void InertAabb(dGeomID, dReal aabb[6]) {
    for (int i = 0; i < 6; i += 2) {
        aabb[i] = -1e6;
        aabb[i + 1] = 1e6;
    }
}

void CloseOde() {
    dCloseODE();
}

// ODE's collision calls abort unless it was started; it is closed once, at program end.
void StartOde() {
    if (s_odeStarted) return;
    dInitODE2(0);
    std::atexit(CloseOde);
    s_odeStarted = true;
}
} // namespace

PhysWorld* PhysWorldAcquire() {
    if (s_holders == 0) {
        StartOde();
        s_world = new PhysWorld;
        PhysWorld* w = s_world;
        w->world = dWorldCreate();
        dWorldSetGravity(w->world, 0, -9.8, 0);
        const dVector3 centre = {512, 0, 512, 0};
        const dVector3 extents = {256, 80, 256, 0};
        w->space = dQuadTreeSpaceCreate(nullptr, centre, extents, 5);
        dSpaceSetCleanup(w->space, 1);
        w->contacts = dJointGroupCreate(0);
        dWorldSetAutoDisableFlag(w->world, 1);
        dWorldSetAutoDisableLinearThreshold(w->world, 0.01);
        dWorldSetAutoDisableAngularThreshold(w->world, 0.01);
        dWorldSetAutoDisableSteps(w->world, 10);
        dWorldSetAutoDisableTime(w->world, 0);
        if (s_inertClass < 0) {
            dGeomClass inert = {8, InertCollider, InertAabb, nullptr, nullptr};
            s_inertClass = dCreateGeomClass(&inert);
        }
    }
    ++s_holders;
    return s_world;
}

void PhysWorldRelease() {
    if (s_holders == 0) return;
    if (--s_holders > 0) return;
    PhysWorld* w = s_world;
    dJointGroupDestroy(w->contacts);
    dGeomDestroy(reinterpret_cast<dGeomID>(w->space));
    dWorldDestroy(w->world);
    for (dHeightfieldDataID data : w->strayData)
        dGeomHeightfieldDataDestroy(data);
    delete w;
    s_world = nullptr;
}

PhysWorld* PhysWorldGet() {
    return s_world;
}

int PhysInertGeomClass() {
    return s_inertClass;
}
