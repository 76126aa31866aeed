// The test board's block: its cycle of waiting, appearing, rolling and sinking, the side queries
// the avatar asks, and its drawing.
#include "world/Cube1.h"

#include "I3d/Camera.h"
#include "I3d/Math/Mat4Math.h"
#include "I3d/Math/XformAnim.h"
#include "I3d/MeshBuf.h"
#include "I3d/Shader.h"
#include "engine/DebugLog.h"
#include "engine/EntTree.h"
#include "engine/Random.h"
#include "engine/VarTable.h"
#include "world/CubeResources.h"

#include <cmath>
#include <new>

namespace {

const WorldClassDef kClass = {"Cube1", nullptr, WorldMake<Cube1>, WorldClassFlags<Cube1>::Reset,
                              &CubeRes().dataDir};

Mat4 Translation(float x, float y, float z) {
    Mat4 m;
    Mat4Identity(&m);
    m.m[12] = x;
    m.m[13] = y;
    m.m[14] = z;
    return m;
}

// m = m x T(x, y, z): each row gains its w times the offset.
void Translate(Mat4* m, float x, float y, float z) {
    const Mat4 t = Translation(x, y, z);
    Mat4Mul(m, &t, m);
}

// The frame as it will stand after a quarter turn toward d.
Mat4 Turned(const Mat4& frame, int d) {
    Mat4 f = frame;
    switch (d) {
        case CUBE1_POS_Z: Mat4RotateX(&f, CUBE1_QUARTER_TURN); break;
        case CUBE1_NEG_Z: Mat4RotateX(&f, -CUBE1_QUARTER_TURN); break;
        case CUBE1_POS_X: Mat4RotateZ(&f, -CUBE1_QUARTER_TURN); break;
        case CUBE1_NEG_X: Mat4RotateZ(&f, CUBE1_QUARTER_TURN); break;
        default: break;
    }
    return f;
}

// A dimension read from a file or a script, held to 0..8 (0: no cells).
int32_t HeldDim(const char* who, const char* key, int32_t v) {
    const int32_t held = v < 0 ? 0 : v > CUBE1_MAX_DIM ? CUBE1_MAX_DIM : v;
    if (held != v)
        DbgPrintf(DBG_GENERAL, "Cube1 %s: %s %d is taken as %d\n", who, key, (int)v, (int)held);
    return held;
}

void FinishRoll(Cube1* c) {
    const float h = Cube1LayerExtent(c, Cube1UpFace(&c->frame));
    const Mat4 after = Turned(c->frame, c->rollDir);
    const float w = Cube1LayerExtent(c, Cube1UpFace(&after));
    c->rollAxis = VECTOR3{0.0f, 0.0f, 0.0f};
    c->pivot = VECTOR3{0.0f, 0.0f, 0.0f};
    Mat4* f = &c->frame;
    switch (c->rollDir) {
        case CUBE1_POS_Z:
            Translate(f, 0.0f, 0.0f, -w);
            Mat4RotateX(f, CUBE1_QUARTER_TURN);
            c->pos.z += w;
            break;
        case CUBE1_NEG_Z:
            Mat4RotateX(f, -CUBE1_QUARTER_TURN);
            Translate(f, 0.0f, 0.0f, h);
            c->pos.z -= h;
            break;
        case CUBE1_POS_X:
            Translate(f, -w, 0.0f, 0.0f);
            Mat4RotateZ(f, -CUBE1_QUARTER_TURN);
            c->pos.x += w;
            break;
        case CUBE1_NEG_X:
            Mat4RotateZ(f, CUBE1_QUARTER_TURN);
            Translate(f, h, 0.0f, 0.0f);
            c->pos.x -= h;
            break;
        default: break;
    }
    Cube1SetState(c, CUBE1_SINKING);
}

void DrawSphere(MeshBuf* sphere, Shader* solid, uint32_t colour, const VECTOR3& at) {
    ShaderParams.words[0] = colour;
    solid->CallPass(0);
    const Mat4 world = Translation(at.x, at.y, at.z);
    I3dSetWorld(&world);
    sphere->Draw();
}

} // namespace

// ---- class ----

VarTable* Cube1Vars() {
    return CubeRes().vars;
}

intptr_t EcCube1Proc(EntNode* node, int message, intptr_t a, intptr_t b, intptr_t c) {
    // The data folder is set by the shared procedure before the textures are looked for. Its
    // reset (ENT_CLASS_MSG_RESET) clears the entity source files as every world class's does;
    // nothing reads the count it answers.
    const intptr_t result = WorldClassProc(kClass, node, message, a, b, c);
    if (message == ENT_CLASS_MSG_BUILD_DB) CubeMakeResources();
    if (message == ENT_CLASS_MSG_UNREGISTER) CubeFreeResources();
    return result;
}

int Cube1::CopyClassName(char* buffer) {
    return WorldCopyClassName("Cube1", buffer);
}

// ---- life ----

Cube1::~Cube1() {
    delete anim;
    if (cells) CellArray3Free(cells);
    delete cells;
}

int Cube1::Create(EntNode*) {
    VarTable* vars = CubeRes().vars;
    if (vars) VarTableInitObject(vars, this);
    instanceVars = vars;
    dims[0] = dims[1] = dims[2] = 0;
    size = 1.0f;
    pos = VECTOR3{0.0f, 0.0f, 0.0f};
    cells = nullptr;
    anim = new (std::nothrow) XformAnimSeq();
    state = CUBE1_NONE;
    Cube1SetState(this, CUBE1_WAITING);
    rollAngle = 0.0f;
    rollTime = 1.0f;
    sink = 0.0f;
    pivot = rollAxis = VECTOR3{0.0f, 0.0f, 0.0f};
    Mat4Identity(&frame);
    return 0;
}

int Cube1::Start() {
    VarsChanged();
    if (!cells || !cells->cells) return 0;
    for (uint32_t i = 0; i < cells->count; ++i)
        for (uint32_t bit : {2u, 4u, 8u})
            if (RandInt(2)) cells->cells[i] ^= bit;
    static const int kHoles[4][3] = {{0, 0, 0}, {1, 1, 0}, {2, 1, 0}, {3, 3, 3}};
    for (const auto& h : kHoles)
        if (CellArray3Inside(cells, h[0], h[1], h[2])) CellArray3At(cells, h[0], h[1], h[2]) ^= 1u;
    CellArray3Bounds(cells);
    return 0;
}

int Cube1::Destroy() {
    delete anim;
    anim = nullptr;
    if (cells) CellArray3Free(cells);
    delete cells;
    cells = nullptr;
    return ENTBASE::Destroy();
}

int Cube1::VarsChanged() {
    for (int i = 0; i < 3; ++i)
        dims[i] = HeldDim(name, i == 0 ? "dim.x" : i == 1 ? "dim.y" : "dim.z", dims[i]);
    if (cells) CellArray3Free(cells);
    delete cells;
    cells = new (std::nothrow) CellArray3();
    if (cells && CellArray3Init(cells, dims[0], dims[1], dims[2]) != 1) {
        DbgPrintf(DBG_GENERAL, "Cube1 %s: no memory for its cells\n", name);
        delete cells;
        cells = nullptr;
    }
    return 1;
}

// ---- cycle ----

void Cube1SetState(Cube1* c, int s) {
    if (c->state == CUBE1_ROLLING) c->rollAngle = 0.0f;
    if (c->state == CUBE1_SINKING) Cube1DropLayer(c);
    c->state = s;
    switch (s) {
        case CUBE1_WAITING: c->timer = 4.0f; break;
        case CUBE1_APPEARING:
            if (c->anim) c->anim->Reset();
            break;
        case CUBE1_ROLLING:
            c->rollAngle = 0.0f;
            c->rollTime = 1.1f;
            c->timer = 1.1f;
            break;
        case CUBE1_SINKING:
            c->sink = 0.0f;
            c->sinkTime = 3.0f;
            c->timer = 3.0f;
            break;
        default: break;
    }
}

int Cube1::Update(float dt) {
    switch (state) {
        case CUBE1_WAITING:
            timer -= dt;
            if (timer < 0.0f) Cube1SetState(this, CUBE1_APPEARING);
            break;
        case CUBE1_APPEARING:
            // The animation advances here and again below: twice per update while appearing.
            if (anim) anim->Update(dt);
            if (!anim || anim->IsDone()) Cube1StartRoll(this);
            break;
        case CUBE1_ROLLING:
            timer -= dt;
            rollAngle = (rollTime - timer) / rollTime * CUBE1_QUARTER_TURN;
            if (timer < 0.0f) FinishRoll(this);
            break;
        case CUBE1_SINKING:
            timer -= dt;
            sink = (sinkTime - timer) / sinkTime;
            if (timer < 0.0f) {
                sink = 0.0f;
                Cube1SetState(this, CUBE1_WAITING);
            }
            break;
        default: break;
    }
    if (anim) anim->Update(dt);
    return 1;
}

int Cube1UpFace(const Mat4* m) {
    const float xy = m->m[1], yy = m->m[5], zy = m->m[9];
    if (yy == 1.0f) return 8;
    if (yy == -1.0f) return 4;
    if (xy == 1.0f) return 2;
    if (xy == -1.0f) return 1;
    if (zy == 1.0f) return 32;
    if (zy == -1.0f) return 16;
    return 1;
}

float Cube1LayerExtent(const Cube1* c, int code) {
    if (!c->cells) return 0.0f;
    switch (code) {
        case 1:
        case 2: return (float)c->cells->extX * c->size;
        case 4:
        case 8: return (float)c->cells->extY * c->size;
        case 16:
        case 32: return (float)c->cells->extZ * c->size;
        default: return 0.0f;
    }
}

void Cube1GetCentre(const Cube1* c, VECTOR3* out) {
    out->x = c->pos.x + (float)c->dims[0] * c->size * 0.5f;
    out->y = c->pos.y + (float)c->dims[1] * c->size * 0.5f;
    out->z = c->pos.z + (float)c->dims[2] * c->size * 0.5f;
}

int Cube1DirToPlayer(Cube1* c) {
    ENTBASE* player = EntTreeFindName(EntGetRoot(c), "Player1");
    const VECTOR3* at = player ? player->GetPos() : nullptr;
    if (!at) return CUBE1_NO_TARGET;
    VECTOR3 centre;
    Cube1GetCentre(c, &centre);
    const float dx = at->x - centre.x, dz = at->z - centre.z;
    // Truncated to whole units, so a near-diagonal player is rolled toward along z.
    if (std::trunc(std::fabs(dx)) > std::trunc(std::fabs(dz)))
        return dx > 0.0f ? CUBE1_POS_X : CUBE1_NEG_X;
    return dz > 0.0f ? CUBE1_POS_Z : CUBE1_NEG_Z;
}

void Cube1StartRoll(Cube1* c) {
    const int d = Cube1DirToPlayer(c);
    if (d == CUBE1_NO_TARGET) {
        c->rollDir = CUBE1_NO_TARGET;
        return;
    }
    const Mat4 after = Turned(c->frame, d);
    const float w = Cube1LayerExtent(c, Cube1UpFace(&after));
    static const VECTOR3 kAxes[4] = {{1, 0, 0}, {-1, 0, 0}, {0, 0, -1}, {0, 0, 1}};
    c->rollAxis = kAxes[d];
    c->pivot = d == CUBE1_POS_Z   ? VECTOR3{0.0f, 0.0f, w}
               : d == CUBE1_POS_X ? VECTOR3{w, 0.0f, 0.0f}
                                  : VECTOR3{0.0f, 0.0f, 0.0f};
    c->rollDir = d;
    Cube1SetState(c, CUBE1_ROLLING);
}

void Cube1DropLayer(Cube1* c) {
    c->sink = 0.0f;
    const int code = Cube1UpFace(&c->frame);
    if (!c->cells) return;
    CellArray3Edit(c->cells, code);
    // The last layer along its axis went and nothing moved: lower the rest onto the ground.
    if (code == 1 || code == 4 || code == 16) Translate(&c->frame, 0.0f, -c->size, 0.0f);
}

int Cube1FaceAt(const Cube1* c, const VECTOR3* p) {
    VECTOR3 centre;
    Cube1GetCentre(c, &centre);
    const float dx = p->x - centre.x, dz = p->z - centre.z;
    if (std::fabs(dx) > 1.2f * std::fabs(dz)) return dx > 0.0f ? CUBE1_POS_X : CUBE1_NEG_X;
    if (std::fabs(dz) > 1.2f * std::fabs(dx)) return dz > 0.0f ? CUBE1_POS_Z : CUBE1_NEG_Z;
    return 4;
}

// ---- drawing ----

int Cube1::DrawPre() {
    const CubeResources& r = CubeRes();
    if (!r.solid || !r.box || !r.sphere) return 1;

    Mat4 view, eyeTurn;
    I3dGetViewMatrix(&view);
    Mat4InverseRigid(&view, &eyeTurn);
    eyeTurn.m[3] = eyeTurn.m[7] = eyeTurn.m[11] = 0.0f;
    eyeTurn.m[12] = eyeTurn.m[13] = eyeTurn.m[14] = 0.0f;
    eyeTurn.m[15] = 1.0f;
    ShaderParams.matrices[0] = eyeTurn;

    Mat4 roll = Translation(-pivot.x, -pivot.y, -pivot.z);
    Mat4RotateX(&roll, rollAxis.x * rollAngle);
    Mat4RotateZ(&roll, rollAxis.z * rollAngle);
    Translate(&roll, pivot.x, pivot.y, pivot.z);
    // The part of the chain every sub-cube shares.
    Mat4 placed = frame;
    Mat4Mul(&placed, &roll, &placed);
    Translate(&placed, pos.x, pos.y - sink * size, pos.z);

    ShaderParams.words[0] = 0xFFFFFFFFu;
    ShaderParams.words[8] = (uint32_t)r.textures[CUBETEX_XYZ];
    ShaderParams.words[9] = (uint32_t)r.textures[CUBETEX_SPECMAP];
    ShaderParams.words[10] = (uint32_t)r.textures[CUBETEX_ENVIRO];

    Mat4 scaled;
    Mat4Identity(&scaled);
    if (anim) scaled = *anim->GetMatrix();
    Mat4 s;
    Mat4Identity(&s);
    s.m[0] = s.m[5] = s.m[10] = 0.95f * size;
    Mat4Mul(&scaled, &s, &scaled);

    for (int i = 0; i < r.solid->NumPasses(); ++i) {
        r.solid->CallPass(i);
        if (!cells || !cells->cells) continue;
        for (int x = 0; x < cells->dimX; ++x)
            for (int y = 0; y < cells->dimY; ++y)
                for (int z = 0; z < cells->dimZ; ++z) {
                    if (!(CellArray3At(cells, x, y, z) & 1u)) continue;
                    Mat4 world = scaled;
                    Translate(&world, ((float)x + 0.5f) * size, ((float)y + 0.5f) * size,
                              ((float)z + 0.5f) * size);
                    Mat4Mul(&world, &placed, &world);
                    I3dSetWorld(&world);
                    r.box->Draw();
                }
    }
    r.solid->EndPass();

    VECTOR3 centre;
    Cube1GetCentre(this, &centre);
    DrawSphere(r.sphere, r.solid, 0xFF0000FFu, pos);
    DrawSphere(r.sphere, r.solid, 0xFFFF0000u, centre);
    r.solid->EndPass();
    return 1;
}
