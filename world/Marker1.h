// A marker the test avatar leaves on a tile it marks: the class's sand-dollar model, flattened
// to its size in x and z.
#pragma once

#include "engine/Ent3d/Ent3dBase.h"
#include "engine/WorldClass.h"

#include <cstdint>

struct MDL3;

class Marker1 : public Ent3dBase {
  public:
    int CopyClassName(char* buffer) override;
    uint32_t GetClassFlags() override { return WorldClassFlags<Marker1>::word; }
    const char* GetTypeName() override { return "Marker1"; }
    int Create(EntNode* node) override; // the origin, size 1.5, no tile; 1
    int Start() override;               // age 0, VarsChanged; 0
    int Update(float dt) override;      // the age grows; 1
    int DrawPre() override;             // the class model; 1
    int VarsChanged() override { return 0; }
    void SetClassFlags(uint32_t flags) override { WorldClassFlags<Marker1>::word = flags; }

    float size = 1.5f;
    int32_t tileX = -1, tileZ = -1; // the board tile it marks
    float age = 0.0f;               // seconds since its start
};

// The class model, or null when "SandDollar.md3" was not found.
MDL3* Marker1Model();

// Class "Marker1". ENT_CLASS_MSG_BUILD_DB makes the value table and loads the model with its
// textures, ENT_CLASS_MSG_UNREGISTER frees them.
intptr_t EcMarker1Proc(EntNode* node, int message, intptr_t a, intptr_t b, intptr_t c);
