// World entities for the editor's tests: "Prop" (pickable, turnable, saves "pos" and "yaw" to
// its section), and "Terrain2" and "GameGrid" stand-ins with class words of their own.
#pragma once

#include "engine/Ent3d/Ent3dBase.h"

class EditProp : public Ent3dBase {
  public:
    int CopyClassName(char* buffer) override;
    const char* GetTypeName() override { return type; }
    uint32_t GetClassFlags() override { return *classFlags; }
    void SetClassFlags(uint32_t flags) override { *classFlags = flags; }
    void SetYaw(float value) override { yaw = value; }
    float GetYaw() override { return yaw; }
    int Start() override;
    int VarsChanged() override;
    void SetPos(const VECTOR3* p) override;

    const char* type = "Prop";
    uint32_t* classFlags = nullptr;
    float yaw = 0.0f;
    int starts = 0, varsChanged = 0;
    // Runs in VarsChanged (a test destroys entities there).
    void (*onVarsChanged)(EditProp*) = nullptr;

    static uint32_t s_propFlags, s_terrainFlags, s_gridFlags;
    // While set, creating a "Prop" is refused.
    static bool s_refuse;
};

// Registers the three classes on a fresh registry; every class word becomes 0xF.
void RegisterEditTestClasses();
// An entity of the class under parent, named, at pos with a box of half-size 1 around it.
EditProp* MakeEditProp(ENTBASE* parent, const char* name, VECTOR3 pos = {0, 0, 0},
                       const char* className = "Prop");
