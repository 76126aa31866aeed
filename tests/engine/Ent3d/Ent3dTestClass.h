// A world entity class for the Ent3dBase tests: "Prop3d", with its own class-wide flag word and
// a property database of "name", "pos" and "size"; and "CameraVantor1", a stand-in of the
// management camera's type.
#pragma once

#include "engine/Ent3d/Ent3dBase.h"

class Prop3d : public Ent3dBase {
  public:
    int CopyClassName(char* buffer) override;
    const char* GetTypeName() override { return type; }
    uint32_t GetClassFlags() override { return s_classFlags; }
    void SetClassFlags(uint32_t flags) override { s_classFlags = flags; }

    const char* type = "Prop3d";
    float size = 0.0f;
    float spin = 0.0f;            // in no database: the instance-table tests add it
    static uint32_t s_classFlags; // 0x1F after registration
};

// Registers "Prop3d" and "CameraVantor1" on a fresh registry and resets the class flags.
void RegisterProp3d();
// A Prop3d under parent (or without one), named.
Prop3d* MakeProp(ENTBASE* parent, const char* name, const char* className = "Prop3d");
