// Entity classes for the world entity tests: the world classes registered on a fresh registry
// beside a test camera and a probe that journals its draw walks.
#pragma once

#include "engine/Ent3d/Ent3dBase.h"
#include "world/CameraDesc.h"

#include <cstddef>
#include <string>
#include <vector>

// "DrawPre:A", "Draw:A", "DrawPost:A": the walks that reached probes, in order.
extern std::vector<std::string> g_drawJournal;
std::string DrawJournal(); // the entries joined with " "

// Class "Probe": a world entity whose type name can be changed (the group sound searches by
// type) and which journals its walks. Flag 0x8 is set, so the third walk reaches it too.
class Probe : public Ent3dBase {
  public:
    int CopyClassName(char* buffer) override;
    const char* GetTypeName() override { return type; }
    int Create(EntNode* node) override;
    int DrawPre() override;
    int Draw() override;
    int DrawPost() override;

    const char* type = "Probe";
};

// Class "TestCamera": answers GetCamera with its description when `answer` is set.
class TestCamera : public Ent3dBase {
  public:
    int CopyClassName(char* buffer) override;
    const char* GetTypeName() override { return "TestCamera"; }
    int GetCamera(CameraDesc* out) override;

    CameraDesc desc{};
    bool answer = true;
};

// Class "SlotProbe": a Probe always made in one static slot (one may exist at a time), so one
// made after another was destroyed has that one's address, as a reusing allocator may give it.
class SlotProbe : public Probe {
  public:
    int CopyClassName(char* buffer) override;
    static void* operator new(size_t size);
    static void operator delete(void*);
};

// A fresh registry holding "EntNull", "Viewport", "Sound", "GroupSound", "Music", "Particles",
// "Terrain2", "Environment", "Light", "SkyDome",
// "CloudDome2",
// "Probe", "SlotProbe" and "TestCamera"; the journal emptied.
void RegisterWorldTestClasses();
// An entity of the class under parent (or without one), named; null when creation fails.
template <class T = ENTBASE>
T* Make(const char* className, ENTBASE* parent, const char* name) {
    ENTBASE* e = EntCreateChild(className, parent);
    if (e) e->SetName(name);
    return static_cast<T*>(e);
}
// A camera at eye looking at `at` (up +y), with that field of view.
TestCamera* MakeCamera(ENTBASE* parent, const char* name, VECTOR3 eye, VECTOR3 at, float fov);
