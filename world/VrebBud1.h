// A test character that turns slowly on the spot, drawn twice its size from the class model.
#pragma once

#include "engine/Ent3d/Ent3dBase.h"
#include "engine/WorldClass.h"

#include <cstdint>

struct MDL3;

class VrebBud1 : public Ent3dBase {
  public:
    int CopyClassName(char* buffer) override;
    uint32_t GetClassFlags() override { return WorldClassFlags<VrebBud1>::word; }
    const char* GetTypeName() override { return "VrebBud1"; }
    int Create(EntNode* node) override; // state 1 with its 4 s; 1
    int Start() override;               // unturned, VarsChanged; 0
    int Update(float dt) override;      // turns 0.25 rad a second; 1
    int DrawPre() override;             // the class model; nothing without one; 1
    int VarsChanged() override { return 1; }
    void SetClassFlags(uint32_t flags) override { WorldClassFlags<VrebBud1>::word = flags; }

    float runTime = 0.0f;
    int32_t state = 0;
    float stateTimer = 0.0f;
    float turn = 0.0f;
};

MDL3* VrebBudModel();

// Class "VrebBud1". ENT_CLASS_MSG_BUILD_DB makes the table, loads "VrebGuy.md3" and a shader;
// ENT_CLASS_MSG_UNREGISTER frees them.
intptr_t EcVrebBud1Proc(EntNode* node, int message, intptr_t a, intptr_t b, intptr_t c);
