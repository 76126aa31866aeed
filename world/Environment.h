// The environment: the scene's ambient light, its distance fog and the second fog used while
// the eye is under water, the cube map reflective materials use, and a slowly wandering wind.
// Ambient and fog are sent in every frame's first walk, because TimeOfDay rewrites the colours
// each update without telling the entity.
#pragma once

#include "engine/Ent3d/Ent3dBase.h"
#include "engine/WorldClass.h"

#include <cstdint>

class Environment : public Ent3dBase {
  public:
    int CopyClassName(char* buffer) override;
    const char* GetTypeName() override { return "Environment"; }
    uint32_t GetClassFlags() override { return WorldClassFlags<Environment>::word; }
    void SetClassFlags(uint32_t flags) override { WorldClassFlags<Environment>::word = flags; }

    // Position 0, no cube map, ENT_FLAG_PASSABLE; 0.
    int Create(EntNode* node) override;
    // The cube map of "environTexName", once, made the kernel's environment map; 0.
    int Start() override;
    // The wind step; 0, so the update walk does not descend.
    int Update(float seconds) override;
    // Ambient and fog (with ENT_CLASS_DRAW); 1.
    int DrawPre() override;
    int Draw() override { return 1; }
    // Releases the cube map (and takes it back from the kernel when it is still in use there).
    int Destroy() override;

    // Ambient, then the normal or the underwater fog set by the eye height.
    void Apply();
    void WindStep();

    char environTexName[261] = {};
    float ambient[3] = {1.0f, 1.0f, 1.0f};
    uint8_t fogEnable = 1;
    float fogStart = 4.0f;
    float fogEnd = 5.0f;
    float fogClr[3] = {1.0f, 1.0f, 1.0f};
    uint8_t uwFogEnable = 1;
    float uwFogStart = -10.0f;
    float uwFogEnd = 20.0f;
    float uwFogClr[3] = {1.0f, 1.0f, 1.0f};
    float uwFogElv = 10.0f;
    float windMag = 10.0f;
    float windDir = 11.0f;
    VECTOR3 wind = {0.0f, 0.0f, 0.0f};
    int cubeMap = -1;
};

// Class "Environment".
intptr_t EcEnvironmentProc(EntNode* node, int message, intptr_t a, intptr_t b, intptr_t c);
