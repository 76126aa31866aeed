// The record factory: one maker per type id that the factory makes.
#include "gi/GM_Factory.h"

#include "gi/GM_Animation.h"
#include "gi/GM_AttachmentPt.h"
#include "gi/GM_Camera.h"
#include "gi/GM_Collision.h"
#include "gi/GM_DataTag.h"
#include "gi/GM_GeoObject.h"
#include "gi/GM_Light.h"
#include "gi/GM_Primitive.h"
#include "gi/GM_Skeleton.h"
#include "gi/GM_Stream.h"
#include "gi/giDebug.h"

#include <cstdio>
#include <new>

namespace {
template <class T>
GM_Object* Make() {
    return new (std::nothrow) T();
}

struct MakerTable {
    GM_Maker makers[GM_KEYWORD_COUNT];
};

constexpr MakerTable FactoryMakers() {
    MakerTable t{};
    t.makers[GMID_GEOMOBJECT] = Make<GM_GeoObject>;
    t.makers[GMID_CAMERA] = Make<GM_Camera>;
    t.makers[GMID_LIGHT] = Make<GM_Light>;
    t.makers[GMID_ATTACHMENTPT] = Make<GM_AttachmentPt>;
    t.makers[GMID_COLLISION_MESH] = Make<GM_CollisionMesh>;
    t.makers[GMID_COLLISION_BOX] = Make<GM_CollisionBox>;
    t.makers[GMID_COLLISION_SPHERE] = Make<GM_CollisionSphere>;
    t.makers[GMID_COLLISION_CYLINDER] = Make<GM_CollisionCylinder>;
    t.makers[GMID_COLLISION_PLANE] = Make<GM_CollisionPlane>;
    t.makers[GMID_DATA_TAG] = Make<GM_DataTag>;
    t.makers[GMID_ANIMATION] = Make<GM_Animation>;
    t.makers[GMID_SKELETON] = Make<GM_Skeleton>;
    t.makers[GMID_PRIMITIVE] = Make<GM_Primitive>;
    return t;
}

MakerTable s_table = FactoryMakers();
GM_Maker* const s_makers = s_table.makers;
} // namespace

bool GM_IsFactoryId(uint32_t id) {
    switch (id) {
        case GMID_GEOMOBJECT:
        case GMID_CAMERA:
        case GMID_LIGHT:
        case GMID_ATTACHMENTPT:
        case GMID_COLLISION_MESH:
        case GMID_COLLISION_BOX:
        case GMID_COLLISION_SPHERE:
        case GMID_COLLISION_CYLINDER:
        case GMID_COLLISION_PLANE:
        case GMID_DATA_TAG:
        case GMID_ANIMATION:
        case GMID_SKELETON:
        case GMID_PRIMITIVE: return true;
        default: return false;
    }
}

GM_Maker GM_SetMaker(uint32_t typeId, GM_Maker maker) {
    if (!GM_IsFactoryId(typeId)) return nullptr;
    GM_Maker old = s_makers[typeId];
    s_makers[typeId] = maker;
    return old;
}

GM_Object* GM_CreateObject(GM_Stream* s, bool* ended) {
    if (ended) *ended = false;
    uint32_t id = 0;
    if (!s || !s->ReadExact(&id, 4, 1)) {
        if (ended) *ended = true;
        return nullptr;
    }
    GM_Maker maker = GM_IsFactoryId(id) ? s_makers[id] : nullptr;
    if (GM_Object* o = maker ? maker() : nullptr) return o;

    // Skipped by its size word, read whatever the version says. A maker that could not make its
    // record takes this road too: a bare null would leave the payload to be read as type ids.
    giOutputDebugString("**** WARNING **** Encountered Unknown GMF Object Type\n");
    uint32_t version = 0, size = 0;
    if (!s->ReadExact(&version, 4, 1) || !s->ReadExact(&size, 4, 1)) {
        if (ended) *ended = true;
        return nullptr;
    }
    if (!s->Seek((long)size, SEEK_CUR) && ended) *ended = true;
    return nullptr;
}
