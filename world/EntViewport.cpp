// The viewport entity: its property table, its three walks and the set-up of the view.
#include "world/EntViewport.h"

#include "I3d/Camera.h"
#include "I3d/Device.h"
#include "I3d/Math/Mat4Math.h"
#include "I3d/StateCache.h"
#include "engine/PropDb.h"
#include "engine/Sound/Sound.h"
#include "engine/WorldClass.h"
#include "world/CameraDesc.h"

// ---- class ----

namespace {
PropDb* Db() {
    static PropDb s_db;
    if (!s_db.first) {
        PropDb* db = &s_db;
        PropDbSetName(db, "Viewport");
        PropDbAddSeparator(db, "General:");
        PropDbAddStringBlank(db, "name", PROP_OFFSET(EntViewport, name), 32);
        PropDbAddColor3fWhite(db, "color", PROP_OFFSET(EntViewport, color));
        PropDbAddVector3Zero(db, "pos", PROP_OFFSET(EntViewport, pos));
        PropDbAddFloat(db, "x", PROP_OFFSET(EntViewport, x), 0.0f);
        PropDbAddFloat(db, "y", PROP_OFFSET(EntViewport, y), 0.0f);
        PropDbAddFloat(db, "width", PROP_OFFSET(EntViewport, width), 640.0f);
        PropDbAddFloat(db, "height", PROP_OFFSET(EntViewport, height), 480.0f);
        PropDbAddBool(db, "clear", PROP_OFFSET(EntViewport, clear), 0);
        PropDbAddBool(db, "setEarPos", PROP_OFFSET(EntViewport, setEarPos), 0);
        PropDbAddVoid(db, "entDrawRoot", PROP_OFFSET(EntViewport, drawRoot), 0);
        PropDbAddVoid(db, "entCamera", PROP_OFFSET(EntViewport, camera), 0);
    }
    return &s_db;
}

const WorldClassDef kClass = {"Viewport", Db, WorldMake<EntViewport>,
                              WorldClassFlags<EntViewport>::Reset};

// A rectangle value as whole pixels; false for a value no rectangle can hold (and NaN), whose
// conversion to an integer would be undefined.
bool Pixels(float v, int* out) {
    if (!(v > -1.0e9f && v < 1.0e9f)) return false;
    *out = (int)v;
    return true;
}
} // namespace

intptr_t EcViewportProc(EntNode* node, int message, intptr_t a, intptr_t b, intptr_t c) {
    return WorldClassProc(kClass, node, message, a, b, c);
}

int EntViewport::CopyClassName(char* buffer) {
    return WorldCopyClassName("Viewport", buffer);
}

int EntViewport::Create(EntNode*) {
    if (classDb) PropDbInitObject(classDb, this);
    // The back buffer is the window's client area, so the size follows the window.
    int w = 0, h = 0;
    I3dGetScreenSize(&w, &h);
    width = (float)w;
    height = (float)h;
    SetFlag(ENT_FLAG_DRAWPOST);
    return 0;
}

// ---- walks ----

bool EntViewport::SetVoid(const char* field, intptr_t value) {
    bool set = Ent3dBase::SetVoid(field, value);
    const PropField* f = PropDbFindField(classDb, field);
    if (set && f && f == PropDbFindField(classDb, "entDrawRoot")) m_drawRootRef = drawRoot;
    if (set && f && f == PropDbFindField(classDb, "entCamera")) m_cameraRef = camera;
    return set;
}

ENTBASE* EntViewport::Live(ENTBASE** link, EntRef* kept) {
    if (*link != kept->Address()) *kept = *link;
    if (*link && !kept->Get()) *link = nullptr;
    return *link;
}

// A viewport already drawing answers 1 without a second set-up or walk: a draw root that holds
// it ("Root", or its own container) would otherwise recurse until the stack ran out.
int EntViewport::DrawPre() {
    if (!(GetClassFlags() & ENT_CLASS_DRAW) || m_drawing) return 1;
    m_drawing = true;
    SetUpView(true);
    if (ENTBASE* root = Live(&drawRoot, &m_drawRootRef)) EntTreeDrawPre(root);
    // What it drew may have destroyed it.
    if (EntIsLive(this)) m_drawing = false;
    return 1;
}

int EntViewport::Draw() {
    if (m_drawing) return 1;
    m_drawing = true;
    SetUpView(false);
    if (ENTBASE* root = Live(&drawRoot, &m_drawRootRef)) EntTreeDraw(root);
    if (EntIsLive(this)) m_drawing = false;
    return 1;
}

int EntViewport::DrawPost() {
    if (m_drawing || !Live(&drawRoot, &m_drawRootRef)) return 1;
    m_drawing = true;
    SetUpView(false);
    if (ENTBASE* root = Live(&drawRoot, &m_drawRootRef)) EntTreeDrawPost(root);
    if (EntIsLive(this)) m_drawing = false;
    return 1;
}

// ---- the view ----

void EntViewport::SetUpView(bool clearAllowed) {
    // Width 0 asks for the whole back buffer; so does a rectangle with a negative or
    // unrepresentable side, which the device could not take. One that does not fit is left to
    // D3dSetViewport, which falls back to the whole back buffer itself.
    int rx = 0, ry = 0, rw = 0, rh = 0;
    const bool usable = Pixels(x, &rx) && Pixels(y, &ry) && Pixels(width, &rw) &&
                        Pixels(height, &rh) && rx >= 0 && ry >= 0 && rw > 0 && rh >= 0;
    if (!usable) {
        rx = ry = 0;
        I3dGetScreenSize(&rw, &rh);
    }
    D3dSetViewport(rx, ry, rw, rh);

    if (clearAllowed && clear) {
        D3dSetClearZ(1.0f);
        D3dSetClearStencil(0);
        D3dSetClearColor(color.r, color.g, color.b);
        D3dClear(D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER | D3DCLEAR_STENCIL);
    }

    // Only a description the camera answered for and marked valid is used: any other entity
    // given as the camera fills nothing, and its zeros must not reach the device or the ear.
    ENTBASE* cam = Live(&camera, &m_cameraRef);
    if (!cam) return;
    CameraDesc desc{};
    if (cam->GetCamera(&desc) == 0 || desc.valid != 1) return;
    I3dSetView(&desc.view);
    I3dSetEyePos(&desc.eye);
    Mat4 proj;
    I3dSetProj(Mat4Perspective(&proj, desc.fov, I3dGetInvAspect(), 0.1f, 2000.0f));

    if (!setEarPos) return;
    SndSetListenerPosV(&desc.eye);
    // The view's second column as the at-vector and its third as up: with the world
    // left-handed this makes at x up the camera's right axis, which is what the listener needs.
    const float* v = desc.view.m;
    const VECTOR3 at = {v[1], v[5], v[9]};
    const VECTOR3 up = {v[2], v[6], v[10]};
    SndSetListenerOrientAtUp(&at, &up);
}
