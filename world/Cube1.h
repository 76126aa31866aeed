// The block of the engine's test board: up to 8 x 8 x 8 sub-cubes that wait, play their appear
// animation, tip over a bottom edge toward "Player1", sink one sub-cube deep and lose their
// bottom layer, for ever. The test avatar asks it on which side of it a point lies.
#pragma once

#include "I3d/Math/MathTypes.h"
#include "engine/Ent3d/Ent3dBase.h"
#include "engine/MathConst.h"
#include "engine/WorldClass.h"
#include "world/CellArray3.h"

#include <cstdint>

class XformAnimSeq;
struct VarTable;

// The roll's quarter turn: its single-precision sine is exactly 1.0, so the frame's y column
// keeps exact +-1.0 entries after any number of rolls (pi/2 rounded to float would not).
constexpr float CUBE1_QUARTER_TURN = kHalfPi6;
constexpr int CUBE1_MAX_DIM = 8;

enum Cube1State { CUBE1_NONE, CUBE1_WAITING, CUBE1_APPEARING, CUBE1_ROLLING, CUBE1_SINKING };
// Roll directions: toward +z, -z, +x, -x, or no target found.
enum Cube1Dir { CUBE1_POS_Z, CUBE1_NEG_Z, CUBE1_POS_X, CUBE1_NEG_X, CUBE1_NO_TARGET = 5 };

class Cube1 : public Ent3dBase {
  public:
    ~Cube1() override;
    int CopyClassName(char* buffer) override;
    uint32_t GetClassFlags() override { return WorldClassFlags<Cube1>::word; }
    const char* GetTypeName() override { return "Cube1"; }
    // The class table as the instance table, size 1, no cells, state 1 with its 4 s; 0.
    int Create(EntNode* node) override;
    // A full cell array, the random bits, the holes, the bounds; 0.
    int Start() override;
    int Destroy() override;        // 0
    int Update(float dt) override; // the state step, then the animation; 1
    int DrawPre() override;        // every present sub-cube and the two markers; 1
    int VarsChanged() override;    // a new, full cell array; 1
    void SetClassFlags(uint32_t flags) override { WorldClassFlags<Cube1>::word = flags; }

    // ---- value table ----
    int32_t dims[3] = {0, 0, 0};
    float size = 1.0f;

    // ---- run-time state ----
    CellArray3* cells = nullptr;
    Mat4 frame; // the rolls so far, and the shift that keeps the cells at the position's side
    XformAnimSeq* anim = nullptr;
    int32_t state = CUBE1_NONE;
    float timer = 0.0f;
    float rollAngle = 0.0f;
    float rollTime = 1.0f;
    float sinkTime = 3.0f;
    float sink = 0.0f;
    VECTOR3 pivot = {0.0f, 0.0f, 0.0f};
    int32_t rollDir = CUBE1_POS_Z;
    VECTOR3 rollAxis = {0.0f, 0.0f, 0.0f};
};

void Cube1SetState(Cube1* cube, int state);
// The layer code (as CellArray3Edit takes it) of the local axis of m pointing straight up, by
// exact comparison of the y column; 1 when none does.
int Cube1UpFace(const Mat4* m);
// The cube's height when the code's axis is vertical: the layers in use times the size.
float Cube1LayerExtent(const Cube1* cube, int code);
// Toward "Player1": a Cube1Dir.
int Cube1DirToPlayer(Cube1* cube);
void Cube1StartRoll(Cube1* cube);
void Cube1DropLayer(Cube1* cube);
// The side, seen from above, on which p lies: 0..3 as the roll directions, 4 near a diagonal.
int Cube1FaceAt(const Cube1* cube, const VECTOR3* p);
// The position plus half the valued size on each axis.
void Cube1GetCentre(const Cube1* cube, VECTOR3* out);

// The class's value table, for the tests; null outside registration.
VarTable* Cube1Vars();

// Class "Cube1". ENT_CLASS_MSG_BUILD_DB makes the class's table, shaders, meshes and textures
// (meshes and textures only with a device), ENT_CLASS_MSG_UNREGISTER frees them.
intptr_t EcCube1Proc(EntNode* node, int message, intptr_t a, intptr_t b, intptr_t c);
