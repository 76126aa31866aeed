// The mouse cursor: its table, the class's shader and set-up hook, the pointer and the drawing.
#include "ui/MouseCursor1.h"

#include "I3d/Primitives.h"
#include "I3d/Shader.h"
#include "I3d/Textures.h"
#include "engine/DebugLog.h"
#include "engine/Input/SlInput.h"
#include "engine/PropDb.h"
#include "ui/Ctl3Base.h"
#include "ui/Ctl3Draw.h"
#include "ui/MouseCursorSetup.h"

#include <cmath>
#include <cstdio>
#include <new>

namespace {
Shader* s_shader = nullptr;
float s_pointerX = 0.0f, s_pointerY = 0.0f;
bool s_pointerKnown = false;

PropDb* Db() {
    static PropDb s_db;
    if (!s_db.first) {
        PropDb* db = &s_db;
        PropDbSetName(db, "MouseCursor1");
        PropDbAddStringBlank(db, "name", PROP_OFFSET(MouseCursor1, name), 32);
        PropDbAddFloat(db, "xRate", PROP_OFFSET(MouseCursor1, xRate), 1.0f);
        PropDbAddFloat(db, "yRate", PROP_OFFSET(MouseCursor1, yRate), 1.0f);
        PropDbAddFloat(db, "cursorWidth", PROP_OFFSET(MouseCursor1, cursorWidth), 32.0f);
        PropDbAddFloat(db, "cursorHeight", PROP_OFFSET(MouseCursor1, cursorHeight), 32.0f);
        PropDbAddFloat(db, "minX", PROP_OFFSET(MouseCursor1, minX), 0.0f);
        PropDbAddFloat(db, "maxX", PROP_OFFSET(MouseCursor1, maxX), 100.0f);
        PropDbAddFloat(db, "minY", PROP_OFFSET(MouseCursor1, minY), 0.0f);
        PropDbAddFloat(db, "maxY", PROP_OFFSET(MouseCursor1, maxY), 100.0f);
    }
    return &s_db;
}

const WorldClassDef kClass = {"MouseCursor1", Db, WorldMake<MouseCursor1>,
                              WorldClassFlags<MouseCursor1>::Reset};

// The cursor texture on stage 0 (word 8), blended, as every 2D control draws.
void SolidPass() {
    Ctl3Set2DStates(int(ShaderParams.words[8]), 0xFFFFFFFFu);
}

void ApplySetup(ENTBASE* entity, const MouseCursorSetup& setup) {
    auto* cursor = dynamic_cast<MouseCursor1*>(entity);
    if (!cursor) return;
    std::snprintf(cursor->texName, sizeof cursor->texName, "%s", setup.image ? setup.image : "");
    cursor->cellTop = setup.cellTop;
    cursor->cellLeft = setup.cellLeft;
    cursor->cellBottom = setup.cellBottom;
    cursor->cellRight = setup.cellRight;
    cursor->minX = setup.minX;
    cursor->maxX = setup.maxX;
    cursor->minY = setup.minY;
    cursor->maxY = setup.maxY;
    cursor->mode = setup.mode;
    cursor->enabled = 1;
}

void MakeClassResources() {
    s_pointerX = s_pointerY = 0.0f;
    s_pointerKnown = false;
    if (!s_shader && (s_shader = new (std::nothrow) Shader())) {
        s_shader->SetName("Solid");
        s_shader->SetPassFunc(0, SolidPass);
    }
    MouseCursorSetSetupHook(ApplySetup);
}

void FreeClassResources() {
    // Without the cursor's class no pointer is known: a control pressed later must not take a
    // place the last cursor saw.
    s_pointerKnown = false;
    MouseCursorSetSetupHook(nullptr);
    if (s_shader) SharedObjRelease(s_shader);
    s_shader = nullptr;
}

float Clamp(float v, float lo, float hi) {
    if (std::isnan(v)) v = lo;
    if (v > hi) v = hi;
    if (v < lo) v = lo;
    // Limits that are not numbers themselves leave nothing to clamp to.
    return std::isnan(v) ? 0.0f : v;
}
} // namespace

void MouseCursorPointer(float* x, float* y) {
    if (x) *x = s_pointerX;
    if (y) *y = s_pointerY;
}

bool MouseCursorPointerKnown() {
    return s_pointerKnown;
}

Shader* MouseCursorShader() {
    return s_shader;
}

intptr_t EcMouseCursor1Proc(EntNode* node, int message, intptr_t a, intptr_t b, intptr_t c) {
    if (message == ENT_CLASS_MSG_BUILD_DB) MakeClassResources();
    if (message == ENT_CLASS_MSG_UNREGISTER) FreeClassResources();
    return WorldClassProc(kClass, node, message, a, b, c);
}

int MouseCursor1::CopyClassName(char* buffer) {
    return WorldCopyClassName("MouseCursor1", buffer);
}

int MouseCursor1::Create(EntNode*) {
    if (classDb) PropDbInitObject(classDb, this);
    slot = -1;
    current = -1;
    return 0;
}

int MouseCursor1::Start() {
    if (slot >= 0) I3dTexRelease(slot);
    slot = Ctl3LoadTexture(texName);
    shapeCount = 0;
    const I3dTexSlot* tex = slot >= 0 ? I3dTexGetSlot(slot) : nullptr;
    const int32_t cellHeight = cellBottom - cellTop + 1;
    // Whole shapes only; without a texture there are none and nothing is ever divided by its
    // size.
    if (tex && tex->width > 0 && tex->height > 0 && cellHeight > 0)
        shapeCount = int32_t(tex->height / cellHeight);
    else if (texName[0])
        DbgPrintf(DBG_GENERAL, "MouseCursor1: no shapes in \"%s\", the cursor is hidden\n",
                  texName);
    current = -1;
    SelectShape(g_cursorFrameIndex);
    return 0;
}

int MouseCursor1::Destroy() {
    if (slot >= 0) I3dTexRelease(slot);
    slot = -1;
    return ENTBASE::Destroy();
}

void MouseCursor1::SelectShape(int32_t index) {
    // Any index outside the shapes hides the cursor: a negative one would otherwise sample the
    // rows above the first cell.
    current = index >= 0 && index < shapeCount ? index : -1;
    if (current < 0) return;
    const I3dTexSlot* tex = I3dTexGetSlot(slot);
    if (!tex || tex->width <= 0 || tex->height <= 0) {
        current = -1;
        return;
    }
    const float w = float(tex->width), h = float(tex->height);
    const float step = float(current) * float(cellBottom - cellTop + 1);
    uv[0] = (float(cellLeft) + 0.5f) / w;
    uv[1] = (float(cellTop) + step + 0.5f) / h;
    uv[2] = (float(cellRight) + 0.5f) / w;
    uv[3] = (float(cellBottom) + step + 0.5f) / h;
}

void MouseCursor1::MoveTo(float px, float py) {
    x = Clamp(px, minX, maxX);
    y = Clamp(py, minY, maxY);
    s_pointerX = x;
    s_pointerY = y;
    s_pointerKnown = true;
}

int MouseCursor1::OnMessage(const SlEvent* event) {
    if (event && event->type == SL_MOUSEPOS)
        MoveTo(SlUnpackFloat(event->a), SlUnpackFloat(event->b));
    return 1;
}

int MouseCursor1::DrawPre() {
    if (g_cursorFrameIndex != current) SelectShape(g_cursorFrameIndex);
    if (current < 0 || !enabled || !s_shader || slot < 0) return 1;
    const float w = float(cellRight - cellLeft + 1), h = float(cellBottom - cellTop + 1);
    ShaderParams.words[8] = uint32_t(slot);
    for (int i = 0; i < s_shader->NumPasses(); ++i) {
        s_shader->CallPass(i);
        I3dDrawQuadUv(x, y, x + w, y + h, uv[0], uv[1], uv[2], uv[3], 0);
    }
    s_shader->EndPass();
    return 1;
}
