// The physics layer: one shared ODE world (world, quadtree collision space and contact group),
// counted by its holders, and physics objects that own an optional body and up to ten geoms.
// Nothing steps the world or asks it for collisions: it keeps the terrain's collision geometry
// ready for what may.
#pragma once

#include <ode/ode.h>

#include <cstdint>
#include <vector>

struct PhysWorld {
    dWorldID world = nullptr;
    dSpaceID space = nullptr;
    dJointGroupID contacts = nullptr;
    float scale[2] = {1.0f, 1.0f};
    int counter = 0;
    // Height data of geoms that no object recorded: they stay in the space, whose cleanup
    // destroys them, so their data must live until the world goes.
    std::vector<dHeightfieldDataID> strayData;
};

enum { PHYS_OBJ_MAX_GEOMS = 10 };

struct PhysContact {
    uint32_t flags = 0;
    struct PhysObj* partner = nullptr;
    float pos[3] = {0.0f, 0.0f, 0.0f};
    float dir[3] = {0.0f, 0.0f, 0.0f};
};

struct PhysObj {
    dBodyID body = nullptr; // none for a static object
    int groupId = 0;        // equal nonzero ids never collide
    float friction = 0.0f;  // primary friction coefficient
    float friction2 = 0.0f; // second friction coefficient
    PhysContact contact;    // cleared
    const char* name = "Unnamed";
    PhysWorld* world = nullptr;
    dGeomID geoms[PHYS_OBJ_MAX_GEOMS] = {};
    dHeightfieldDataID geomData[PHYS_OBJ_MAX_GEOMS] = {}; // a height field's data, else null
    int geomCount = 0;
    int categoryBits = -1; // given to each new geom
    int collideBits = -1;
};

// The shared world, made when no one holds it; one more holder.
PhysWorld* PhysWorldAcquire();
// One holder fewer; the last one destroys the contact group, the space with its geoms and the
// world. Nothing without a holder.
void PhysWorldRelease();
// The shared world, or null while no one holds it.
PhysWorld* PhysWorldGet();
// The number of the inert geom class (registered once per process), or -1 before the first world.
int PhysInertGeomClass();

// A new object of `world`: static flag 1 gives no body, anything else a body in the world.
// Null when memory fails.
PhysObj* PhysObjCreate(PhysWorld* world, int staticFlag);
// A terrain height field in the world's space from `samples` (sampleRows rows of cellsX + 1
// floats, row index z), cells of `cellSize` in x and z, heights in the same unit, `extentX` =
// cellsX x cellSize. The data is copied. The geom gets the object as its user data and the
// object's bits; the object records it unless it already holds ten. The geom, or null when the
// values make no field (fewer than two samples a side, a cell size that is not positive).
dGeomID PhysObjAddTerrainGeom(PhysObj* obj, const float* samples, int sampleRows, float cellSize,
                              float extentX, int cellsX);
// Disables the body, when there is one.
void PhysObjDisable(PhysObj* obj);
// Destroys every recorded geom (and its height data) and the body; the owner deletes the object.
void PhysObjDestroy(PhysObj* obj);
