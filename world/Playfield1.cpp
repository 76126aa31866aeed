// The test board: its cells, the conversions between positions and tiles, marks and cursor, and
// its drawing.
#include "world/Playfield1.h"

#include "I3d/Camera.h"
#include "I3d/Math/Mat4Math.h"
#include "I3d/MeshBuf.h"
#include "I3d/Shader.h"
#include "I3d/StateCache.h"
#include "engine/DebugLog.h"
#include "engine/VarTable.h"
#include "world/PlayfieldResources.h"

#include <cmath>
#include <cstring>
#include <new>

namespace {

const WorldClassDef kClass = {"Playfield1", nullptr, WorldMake<Playfield1>,
                              WorldClassFlags<Playfield1>::Reset};

// A side read from a file or a script, held to 0..PLAYFIELD_MAX_DIM.
int32_t HeldDim(const char* who, const char* key, int32_t v) {
    const int32_t held = v < 0 ? 0 : v > PLAYFIELD_MAX_DIM ? PLAYFIELD_MAX_DIM : v;
    if (held != v)
        DbgPrintf(DBG_GENERAL, "Playfield1 %s: %s %d is taken as %d\n", who, key, (int)v,
                  (int)held);
    return held;
}

// A tile coordinate as an int without overflow: far points stay far off the board.
int TileIndex(double d) {
    if (std::isnan(d)) return -1;
    if (d < -1.0e9) d = -1.0e9;
    if (d > 1.0e9) d = 1.0e9;
    return (int)d; // toward zero
}

// Scale (sx, 1, sz) with the translation t.
Mat4 Placed(float sx, float sz, float tx, float ty, float tz) {
    Mat4 m;
    Mat4Identity(&m);
    m.m[0] = sx;
    m.m[10] = sz;
    m.m[12] = tx;
    m.m[13] = ty;
    m.m[14] = tz;
    return m;
}

void DrawQuad(Shader* shader, MeshBuf* quad, const Mat4& world) {
    I3dSetWorld(&world);
    for (int i = 0; i < shader->NumPasses(); ++i) {
        shader->CallPass(i);
        quad->Draw();
    }
    shader->EndPass();
}

} // namespace

// ---- class ----

VarTable* PlayfieldVars() {
    return PlayfieldRes().vars;
}

int PlayfieldTextureSlot(int which) {
    return which >= 0 && which < PFTEX_COUNT ? PlayfieldRes().textures[which] : -1;
}

int PlayfieldShaderCount() {
    const PlayfieldResources& r = PlayfieldRes();
    return (r.board != nullptr) + (r.tileOverlay != nullptr) + (r.flatOverlay != nullptr) +
           (r.solid != nullptr);
}

intptr_t EcPlayfield1Proc(EntNode* node, int message, intptr_t a, intptr_t b, intptr_t c) {
    if (message == ENT_CLASS_MSG_BUILD_DB) PlayfieldMakeResources();
    if (message == ENT_CLASS_MSG_UNREGISTER) PlayfieldFreeResources();
    return WorldClassProc(kClass, node, message, a, b, c);
}

int Playfield1::CopyClassName(char* buffer) {
    return WorldCopyClassName("Playfield1", buffer);
}

// ---- life ----

int Playfield1::Create(EntNode*) {
    VarTable* vars = PlayfieldRes().vars;
    if (vars) VarTableInitObject(vars, this);
    instanceVars = vars;
    textureNormal[0] = textureMarked[0] = '\0';
    dimX = dimY = 0;
    cells = nullptr;
    tileSize = 1.0f;
    pos = VECTOR3{0.0f, 0.0f, 0.0f};
    cursor = VECTOR3{0.0f, 0.0f, 0.0f};
    Mat4Identity(&boardMatrix);
    return 1;
}

int Playfield1::Start() {
    VarsChanged();
    return 0;
}

int Playfield1::Destroy() {
    delete[] cells;
    cells = nullptr;
    return ENTBASE::Destroy();
}

int Playfield1::VarsChanged() {
    dimX = HeldDim(name, "dim.x", dimX);
    dimY = HeldDim(name, "dim.y", dimY);
    delete[] cells;
    cells = nullptr;
    if (dimX > 0 && dimY > 0) {
        cells = new (std::nothrow) uint32_t[(size_t)dimX * (size_t)dimY]();
        if (!cells) DbgPrintf(DBG_GENERAL, "Playfield1 %s: no memory for its cells\n", name);
    }
    boardMatrix = Placed((float)dimX * tileSize, (float)dimY * tileSize, pos.x, pos.y, pos.z);
    return 1;
}

bool Playfield1::Usable() const {
    return cells && tileSize > 0.0f && std::isfinite(tileSize);
}

// ---- tiles ----

int PlayfieldWorldToCell(const Playfield1* field, float x, float z, int* i, int* j) {
    *i = *j = -1;
    if (!field || !field->Usable()) return 0;
    const double ts = field->tileSize;
    const double di = ((double)x - field->pos.x + field->dimX * ts * 0.5) / ts;
    const double dj = ((double)z - field->pos.z + field->dimY * ts * 0.5) / ts;
    *i = TileIndex(di);
    *j = TileIndex(dj);
    return di >= 0.0 && di < field->dimX && dj >= 0.0 && dj < field->dimY;
}

void PlayfieldCellCentre(const Playfield1* field, float* x, float* z, int i, int j) {
    const float ts = field->tileSize;
    *x = (float)i * ts + field->pos.x - (float)field->dimX * ts * 0.5f + ts * 0.5f;
    *z = (float)j * ts + field->pos.z - (float)field->dimY * ts * 0.5f + ts * 0.5f;
}

int PlayfieldToggleMarkAt(Playfield1* field, float x, float z) {
    int i, j;
    if (!PlayfieldWorldToCell(field, x, z, &i, &j)) return 0;
    uint32_t& cell = field->cells[(size_t)j * field->dimX + i];
    cell ^= 1u;
    return (int)(cell & 1u);
}

void PlayfieldSetCursorAt(Playfield1* field, float x, float z) {
    int i, j;
    if (!PlayfieldWorldToCell(field, x, z, &i, &j)) return;
    field->cursor.x = (float)(i - field->dimX / 2) * field->tileSize + field->pos.x;
    field->cursor.z = (float)(j - field->dimY / 2) * field->tileSize + field->pos.z;
    field->cursor.y = 0.0f;
}

// ---- drawing ----

int Playfield1::DrawPre() {
    const PlayfieldResources& r = PlayfieldRes();
    if (!Usable() || !r.board || !r.tileOverlay || !r.boardQuad || !r.tileQuad) return 1;
    const float ts = tileSize;

    ShaderParams.words[0] = 0xFFFFFFFFu;
    ShaderParams.words[8] = (uint32_t)r.textures[PFTEX_BOARD];
    // One repeat of the tile texture per tile.
    ShaderParams.matrices[0] = Placed((float)dimX, 1.0f, 0.0f, 0.0f, 0.0f);
    ShaderParams.matrices[0].m[5] = (float)dimY;
    ShaderParams.matrices[0].m[10] = 1.0f;
    DrawQuad(r.board, r.boardQuad, boardMatrix);

    // The marks stand 0.1 and the cursor 0.2 above the board wherever the board stands: at the
    // world heights 0.1 and 0.2 a raised board would hide them and a lowered one leave them afloat.
    ShaderParams.words[8] = (uint32_t)r.textures[PFTEX_MARKED];
    for (int x = 0; x < dimX; ++x)
        for (int y = 0; y < dimY; ++y) {
            if (!(cells[(size_t)y * dimX + x] & 1u)) continue;
            float cx, cz;
            PlayfieldCellCentre(this, &cx, &cz, x, y);
            DrawQuad(r.tileOverlay, r.tileQuad, Placed(ts, ts, cx, pos.y + 0.1f, cz));
        }

    ShaderParams.words[8] = (uint32_t)r.textures[PFTEX_CURSOR];
    DrawQuad(r.tileOverlay, r.tileQuad,
             Placed(ts, ts, cursor.x + ts * 0.5f, pos.y + 0.2f, cursor.z + ts * 0.5f));
    // Later draws that set no bias of their own must not be pulled toward the eye.
    D3dSetZBias(0);
    return 1;
}
