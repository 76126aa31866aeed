// Small entity classes for the framework's tests: each has a property database, loads and saves
// the section named like the entity, and writes what happens to it into one shared journal.
#pragma once

#include "engine/DataDir.h"
#include "engine/EntBase.h"

#include <functional>
#include <string>
#include <vector>

// "Update:A", "Destroy:B", ...: the order in which operations ran.
extern std::vector<std::string> g_journal;
std::string Journal(); // the entries joined with " "

class TestEnt : public ENTBASE {
  public:
    explicit TestEnt(const char* typeName) : type(typeName) {}

    const char* GetTypeName() override { return type; }
    int CopyClassName(char* buffer) override;
    int Start() override;
    int Destroy() override;
    int Update(float seconds) override;
    int DrawPre() override;
    int Draw() override;
    int OnMessage(const SlEvent* event) override;
    int OnGameEvent(int event, intptr_t value) override;
    int OnEntityRemoved(ENTBASE* gone) override; // "Heard:<name>"
    VarTable* GetInstanceVarTable() override { return table; }
    int LoadVars(const char* path, int* outFlag) override;
    int SaveVars(const char* path) override;

    const char* type;
    int32_t score = 0;
    float speed = 0.0f;
    float heading = 0.0f;
    uint8_t flag = 0;
    char title[17] = {};
    VarTable* table = nullptr;

    int updateAnswer = 1, drawPreAnswer = 1, eventAnswer = 1;
    intptr_t messageAnswer = 1;
    std::function<void(TestEnt*)> onUpdate, onMessage, onStart;
    // Runs in every TestEnt's Start (for entities a loader makes and starts itself).
    static std::function<void(TestEnt*)> onAnyStart;
    // Runs in every TestEnt's Destroy, before the entity goes.
    static std::function<void(TestEnt*)> onAnyDestroy;
};

// "Rider", "Booth" and "Lamp": three classes of TestEnt with their own databases ("name",
// "score" int, "speed" float, "heading" angle, "flag" bool, "title" string of 16).
intptr_t RiderProc(EntNode* node, int message, intptr_t a, intptr_t b, intptr_t c);
intptr_t BoothProc(EntNode* node, int message, intptr_t a, intptr_t b, intptr_t c);
intptr_t LampProc(EntNode* node, int message, intptr_t a, intptr_t b, intptr_t c);
const DataDir& RiderDataDir();
// "Refuser": answers -1 to creation.
intptr_t RefuserProc(EntNode* node, int message, intptr_t a, intptr_t b, intptr_t c);

// "Reborn": a TestEnt that is always made in one static slot (one may exist at a time), so an
// entity made after another was destroyed has that one's address, as a reusing allocator may
// give it. Not registered by RegisterTestClasses.
intptr_t RebornProc(EntNode* node, int message, intptr_t a, intptr_t b, intptr_t c);

// Registers the four classes on a fresh registry, empties the source-file table and the journal.
void RegisterTestClasses();
// Creates a TestEnt of the class under parent, named.
TestEnt* MakeEnt(const char* className, ENTBASE* parent, const char* name);
