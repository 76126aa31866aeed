// Top-level reading of skeleton and animation files.
#include "gi/GM_ObjectFile.h"

#include "gi/GM_Object.h"
#include "gi/GM_Scene.h"
#include "gi/GM_Stream.h"
#include "gi/giDebug.h"

// Reads the one record of its kind that a file may hold.
template <class T>
static bool ReadOnce(std::unique_ptr<T>& slot, GM_Stream& s, const char* again,
                     const char* failed) {
    if (slot) {
        giOutputDebugString(again);
        return false;
    }
    slot = std::make_unique<T>();
    if (!slot->Read(&s)) {
        giOutputDebugString(failed);
        return false;
    }
    return true;
}

GM_ObjectFileRead GM_ReadObjectFile(const char* fileName, const char* strayLine, bool idReadFails) {
    GM_ObjectFileRead out;
    GM_Stream s;
    if (!s.OpenRead(fileName, GM_STREAM_BINARY)) return out;
    out.opened = true;
    // A refused header (a text file, a later version) is not crawled as if it were records.
    if (!s.ReadBinaryHeader()) return out;
    std::unique_ptr<GM_Scene> scene;
    std::unique_ptr<GM_ObjectList> list;
    for (;;) {
        uint32_t id = 0;
        if (!s.Read(&id, 4, 1)) {
            if (idReadFails) return out;
            break;
        }
        if (s.AtEnd()) break;
        if (id == GMID_SCENE) {
            if (!ReadOnce(scene, s, "Scene already generated\n", "ERROR READING GM_SCENE\n"))
                return out;
        } else if (id == GMID_OBJECT_LIST) {
            if (!ReadOnce(list, s, "Object List already generated\n",
                          "ERROR READING GMOBJECTLIST\n"))
                return out;
        } else {
            // Nothing is skipped: the next word is read as the next type id.
            giOutputDebugString(strayLine);
        }
    }
    out.objects = std::move(list);
    return out;
}

GM_Object* GM_FindObject(const GM_ObjectList& list, uint32_t typeId) {
    for (GM_Object* o = list.Head(); o; o = o->Next())
        if (o->TypeId() == typeId) return o;
    return nullptr;
}
