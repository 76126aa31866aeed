// Physics objects: a body or none, and the geoms they own.
#include "world/Physics.h"

#include <algorithm>
#include <new>

PhysObj* PhysObjCreate(PhysWorld* world, int staticFlag) {
    if (!world) return nullptr;
    auto* obj = new (std::nothrow) PhysObj;
    if (!obj) return nullptr;
    obj->world = world;
    if (staticFlag != 1) obj->body = dBodyCreate(world->world);
    return obj;
}

// ODE centres a height field on its origin, so a static field is placed at its own centre to
// cover 0..width and 0..depth as the terrain's grid does. The two creation flags are read as
// "placeable" (1) and "not wrapped" (0): the field is finite.
dGeomID PhysObjAddTerrainGeom(PhysObj* obj, const float* samples, int sampleRows, float cellSize,
                              float extentX, int cellsX) {
    if (!obj || !samples || sampleRows < 2 || cellsX < 1 || !(cellSize > 0.0f)) return nullptr;
    const int cols = cellsX + 1;
    const size_t count = size_t(cols) * size_t(sampleRows);
    auto [lo, hi] = std::minmax_element(samples, samples + count);
    const dReal depth = dReal(sampleRows - 1) * cellSize;
    dHeightfieldDataID data = dGeomHeightfieldDataCreate();
    // ODE reads sample [z x (cellsX + 1) + x], the terrain's own row order; copied, because
    // the terrain frees its samples before its physics object.
    dGeomHeightfieldDataBuildSingle(data, samples, 1, extentX, depth, cols, sampleRows, cellSize, 0,
                                    1.0, 0);
    dGeomHeightfieldDataSetBounds(data, dReal(*lo) * cellSize, dReal(*hi) * cellSize);
    dGeomID geom = dCreateHeightfield(obj->world->space, data, 1);
    if (obj->body) {
        dGeomSetPosition(geom, 0, 0, 0);
        dGeomSetBody(geom, obj->body);
    } else {
        dGeomSetPosition(geom, extentX / 2, 0, depth / 2);
    }
    dGeomSetData(geom, obj);
    dGeomSetCategoryBits(geom, (unsigned long)(long)obj->categoryBits);
    dGeomSetCollideBits(geom, (unsigned long)(long)obj->collideBits);
    dGeomMoved(geom);
    if (obj->geomCount < PHYS_OBJ_MAX_GEOMS) {
        obj->geomData[obj->geomCount] = data;
        obj->geoms[obj->geomCount++] = geom;
    } else {
        obj->world->strayData.push_back(data);
    }
    return geom;
}

void PhysObjDisable(PhysObj* obj) {
    if (obj && obj->body) dBodyDisable(obj->body);
}

void PhysObjDestroy(PhysObj* obj) {
    if (!obj) return;
    for (int i = 0; i < obj->geomCount; ++i) {
        dGeomDestroy(obj->geoms[i]);
        if (obj->geomData[i]) dGeomHeightfieldDataDestroy(obj->geomData[i]);
        obj->geoms[i] = nullptr;
        obj->geomData[i] = nullptr;
    }
    obj->geomCount = 0;
    if (obj->body) dBodyDestroy(obj->body);
    obj->body = nullptr;
}
