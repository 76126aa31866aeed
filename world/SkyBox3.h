// The strip sky box: four textured walls around the eye, each cut from one band of a vertical
// texture strip, drawn first without depth so that the world draws over it. The walls' mesh and
// their "SkyCube" shader are the class's, made when its table is built and freed with the class.
#pragma once

#include "engine/Ent3d/Ent3dBase.h"
#include "engine/WorldClass.h"

#include <cstdint>

struct MeshBuf;
class Shader;

class SkyBox3 : public Ent3dBase {
  public:
    int CopyClassName(char* buffer) override;
    const char* GetTypeName() override { return "SkyBox3"; }
    uint32_t GetClassFlags() override { return WorldClassFlags<SkyBox3>::word; }
    void SetClassFlags(uint32_t flags) override { WorldClassFlags<SkyBox3>::word = flags; }

    int Create(EntNode* node) override; // the table defaults, scale 1, 1, 1; 0
    // Loads "texName" (a slot held before is given back first); 0.
    int Start() override;
    // Draws the walls (ENT_CLASS_DRAW, and only with the texture); 1.
    int DrawPre() override;
    int Destroy() override;

    VECTOR3 scale = {1.0f, 1.0f, 1.0f};
    char texName[261] = {};
    uint8_t fogEnable = 1;
    int slot = -1;
};

// The class's walls (16 vertices, 8 triangles) and shader; null before the table is built and
// after the class is removed.
MeshBuf* SkyBox3Mesh();
Shader* SkyBox3Shader();

// Class "SkyBox3". ENT_CLASS_MSG_BUILD_DB also makes the walls and the shader,
// ENT_CLASS_MSG_UNREGISTER frees them.
intptr_t EcSkyBox3Proc(EntNode* node, int message, intptr_t a, intptr_t b, intptr_t c);
