// Named, reference-counted resources loaded once and shared: sound buffers, fonts, shaders,
// character models and particle systems. Each kind keeps its own singly linked list.
#pragma once

#include <cstdint>

class SharedObj {
  public:
    SharedObj() = default;
    // An object deleted without SharedObjRelease (or made on the stack) still leaves its list,
    // so the list never holds a dead object.
    virtual ~SharedObj();
    SharedObj(const SharedObj&) = delete;
    SharedObj& operator=(const SharedObj&) = delete;

    // Stores the name as loaders do: cut to 31 characters and upper-cased.
    void SetName(const char* name);

    char name[32] = {};
    int32_t refCount = 1;
    int32_t reserved = 0;  // sound buffers keep their byte size here
    int32_t shareable = 1; // 0: never found by name
    SharedObj** list = nullptr;
    SharedObj* next = nullptr;
};

// Upper-cases the searched name (cut to 31 characters) and compares it exactly with the stored
// names, from `first` on, skipping unshareable objects. The count is unchanged. Null or "": null.
SharedObj* SharedObjFind(const char* name, SharedObj* first);
// SharedObjFind, then one more reference.
SharedObj* SharedObjAcquire(const char* name, SharedObj* first);
// Pushes the object at the front of the list and remembers the list.
void SharedObjLink(SharedObj* obj, SharedObj** head);
// One reference less; at 0 the object leaves its list and is deleted. Returns the new count.
int SharedObjRelease(SharedObj* obj);
