// An entity whose class database declares every field type, for the params pane's rows, and
// an optional instance variable table.
#pragma once

#include "engine/Ent3d/Ent3dBase.h"
#include "engine/PropDb.h"

class VarTestEnt : public Ent3dBase {
  public:
    VarTestEnt();
    int VarsChanged() override;
    VarTable* GetInstanceVarTable() override { return table; }

    int32_t count = 50; // int 0..100
    float speed = 0.0f; // float 0..10
    float turn = 0.0f;  // angle
    char label[16] = {};
    uint8_t on = 0;
    float tint[3] = {};
    uint32_t c4 = 0;
    intptr_t word = 0;
    float far = 0.0f; // float 0..1000
    char notes[300] = {};
    int32_t small = 0; // int 0..5
    int32_t back = 0;  // int 5..0
    VarTable* table = nullptr;

    int varsChanged = 0;
    void (*onVarsChanged)(VarTestEnt*) = nullptr;
    static int s_commands;
    static void* s_commandArg;
};

PropDb* VarTestDb();

// Registers "VarTest" on the current registry (after RegisterEditTestClasses).
void RegisterVarTestClass();
// A "VarTest" entity under parent, named.
VarTestEnt* MakeVarTestEnt(ENTBASE* parent, const char* name);
