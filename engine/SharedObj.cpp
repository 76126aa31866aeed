// Shared-object lists.
#include "engine/SharedObj.h"

#include <cstring>

static void UpperCopy31(char* dst, const char* src) {
    size_t i = 0;
    for (; i < 31 && src[i]; ++i) {
        char c = src[i];
        dst[i] = (c >= 'a' && c <= 'z') ? (char)(c - 'a' + 'A') : c;
    }
    dst[i] = 0;
}

void SharedObj::SetName(const char* n) {
    UpperCopy31(name, n ? n : "");
}

SharedObj* SharedObjFind(const char* name, SharedObj* first) {
    if (!name || !*name) return nullptr;
    char key[32];
    UpperCopy31(key, name);
    for (SharedObj* o = first; o; o = o->next)
        if (o->shareable && std::strcmp(o->name, key) == 0) return o;
    return nullptr;
}

SharedObj* SharedObjAcquire(const char* name, SharedObj* first) {
    SharedObj* o = SharedObjFind(name, first);
    if (o) ++o->refCount;
    return o;
}

void SharedObjLink(SharedObj* obj, SharedObj** head) {
    obj->list = head;
    obj->next = *head;
    *head = obj;
}

static void Unlink(SharedObj* obj) {
    if (!obj->list) return;
    for (SharedObj** link = obj->list; *link; link = &(*link)->next) {
        if (*link == obj) {
            *link = obj->next;
            break;
        }
    }
    obj->list = nullptr;
    obj->next = nullptr;
}

SharedObj::~SharedObj() {
    Unlink(this);
}

int SharedObjRelease(SharedObj* obj) {
    if (!obj) return 0;
    int count = --obj->refCount;
    if (count != 0) return count;
    Unlink(obj);
    delete obj;
    return 0;
}
