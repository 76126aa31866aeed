// The engine's test board: a flat rectangle of dim.x by dim.y square tiles centred on its
// position, each tile carrying one mark bit, drawn as a tiled floor with the marked tiles
// highlighted and one cursor tile framed. The test avatar walks over it, marks tiles and moves
// the cursor.
#pragma once

#include "I3d/Math/MathTypes.h"
#include "engine/Ent3d/Ent3dBase.h"
#include "engine/WorldClass.h"

#include <cstdint>

struct VarTable;

class Playfield1 : public Ent3dBase {
  public:
    ~Playfield1() override { delete[] cells; }
    int CopyClassName(char* buffer) override;
    const char* GetTypeName() override { return "Playfield1"; }
    uint32_t GetClassFlags() override { return WorldClassFlags<Playfield1>::word; }
    void SetClassFlags(uint32_t flags) override { WorldClassFlags<Playfield1>::word = flags; }
    // No texture names, an empty board, "tileSize" 1, the origin, the cursor at 0; 1.
    int Create(EntNode* node) override;
    int Start() override; // VarsChanged; 0
    int Destroy() override;
    int Update(float) override { return 1; }
    // The board, the marked tiles and the cursor frame; 1.
    int DrawPre() override;
    // A fresh, unmarked board of the values' size and the board matrix; 1.
    int VarsChanged() override;

    // True when the board has tiles to draw and touch: cells, and a tile size above 0.
    bool Usable() const;

    // ---- value table ----
    float tileSize = 1.0f;
    int32_t dimX = 0, dimY = 0;
    char textureNormal[261] = {}; // stored and saved, not read
    char textureMarked[261] = {};

    // ---- run-time state ----
    uint32_t* cells = nullptr; // dimY rows of dimX words; bit 0 the mark
    Mat4 boardMatrix;
    VECTOR3 cursor = {0.0f, 0.0f, 0.0f}; // the cursor tile's corner in x and z
};

// The largest side, in tiles.
constexpr int PLAYFIELD_MAX_DIM = 256;

// The cell (i, j) holding the point (x, z), by truncation toward zero as the avatar has always
// counted. 1 when the point lies on the board, else 0 (the cell is then outside the array, or
// the board has no tiles or no tile size).
int PlayfieldWorldToCell(const Playfield1* field, float x, float z, int* i, int* j);
// The centre of cell (i, j).
void PlayfieldCellCentre(const Playfield1* field, float* x, float* z, int i, int j);
// Flips the mark of the cell holding (x, z) and returns the new bit; a point off the board
// changes nothing and answers 0.
int PlayfieldToggleMarkAt(Playfield1* field, float x, float z);
// The cursor to the cell holding (x, z); a point off the board leaves it where it is.
void PlayfieldSetCursorAt(Playfield1* field, float x, float z);

// The class's resources, for the tests: the value table, the textures by their use (board,
// marked, cursor, the two spare fills, "Blender"; -1 when not made) and the shader count.
VarTable* PlayfieldVars();
enum PlayfieldTexture {
    PFTEX_BOARD,
    PFTEX_MARKED,
    PFTEX_CURSOR,
    PFTEX_SPARE1,
    PFTEX_SPARE2,
    PFTEX_BLENDER,
    PFTEX_COUNT
};
int PlayfieldTextureSlot(int which);
int PlayfieldShaderCount();

// Class "Playfield1". ENT_CLASS_MSG_BUILD_DB makes the class's table, shaders, meshes and textures
// (the textures and meshes only with a device), ENT_CLASS_MSG_UNREGISTER frees them.
intptr_t EcPlayfield1Proc(EntNode* node, int message, intptr_t a, intptr_t b, intptr_t c);
