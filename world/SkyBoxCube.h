// The cube sky box: a box around the origin textured with the environment cube map
// "Enviro.dds", its coordinates taken from camera-space normals. The box, its "SkyCube" shader,
// the cube texture and the value table are the class's: made when its table is built and freed
// when the class is removed.
#pragma once

#include "engine/Ent3d/Ent3dBase.h"
#include "engine/WorldClass.h"

#include <cstdint>

struct MeshBuf;
class Shader;
struct VarTable;

class SkyBoxCube : public Ent3dBase {
  public:
    int CopyClassName(char* buffer) override;
    const char* GetTypeName() override { return "SkyBoxCube"; }
    uint32_t GetClassFlags() override { return WorldClassFlags<SkyBoxCube>::word; }
    void SetClassFlags(uint32_t flags) override { WorldClassFlags<SkyBoxCube>::word = flags; }

    // Position 0, the name "!", the class's value table; 0.
    int Create(EntNode* node) override;
    int Start() override;               // the accumulator 0; 0
    int Update(float seconds) override; // 1
    // Draws the box at the origin with scale 10 (ENT_CLASS_DRAW, and only with the cube map); 1.
    int DrawPre() override;

    float elapsed = 0.0f; // kept, read by nothing
};

// The class's box, shader, cube texture (-1 for none) and value table; null (-1) before the
// table is built and after the class is removed.
MeshBuf* SkyBoxCubeMesh();
Shader* SkyBoxCubeShader();
int SkyBoxCubeTexture();
VarTable* SkyBoxCubeVars();

// Class "SkyBoxCube". ENT_CLASS_MSG_BUILD_DB also makes the class's resources,
// ENT_CLASS_MSG_UNREGISTER frees them.
intptr_t EcSkyBoxCubeProc(EntNode* node, int message, intptr_t a, intptr_t b, intptr_t c);
