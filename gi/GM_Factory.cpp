// The record factory: one maker per type id that the factory makes.
#include "gi/GM_Factory.h"

#include "gi/GM_Object.h"
#include "gi/GM_Stream.h"
#include "gi/giDebug.h"

#include <cstdio>

namespace {
GM_Maker s_makers[GM_KEYWORD_COUNT] = {};
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

    // Skipped by its size word, read whatever the version says.
    giOutputDebugString("**** WARNING **** Encountered Unknown GMF Object Type\n");
    uint32_t version = 0, size = 0;
    if (!s->ReadExact(&version, 4, 1) || !s->ReadExact(&size, 4, 1)) {
        if (ended) *ended = true;
        return nullptr;
    }
    if (!s->Seek((long)size, SEEK_CUR) && ended) *ended = true;
    return nullptr;
}
