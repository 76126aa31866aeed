// The menu root: its table and its screen projection.
#include "ui/MenuRoot.h"

#include "I3d/Camera.h"
#include "I3d/Device.h"
#include "I3d/Math/Mat4Math.h"
#include "engine/PropDb.h"

namespace {
constexpr int32_t kMaxSide = 10000;

PropDb* Db() {
    static PropDb s_db;
    if (!s_db.first) {
        PropDbSetName(&s_db, "MenuRoot");
        PropDbAddStringBlank(&s_db, "name", PROP_OFFSET(MenuRoot, name), 32);
        PropDbAddInt(&s_db, "width", PROP_OFFSET(MenuRoot, width), kMenuUnitsWide);
        PropDbAddInt(&s_db, "height", PROP_OFFSET(MenuRoot, height), kMenuUnitsHigh);
    }
    return &s_db;
}

const WorldClassDef kClass = {"MenuRoot", Db, WorldMake<MenuRoot>,
                              WorldClassFlags<MenuRoot>::Reset};

int32_t Side(int32_t v) {
    return v < 0 ? 0 : v > kMaxSide ? kMaxSide : v;
}
} // namespace

intptr_t EcMenuRootProc(EntNode* node, int message, intptr_t a, intptr_t b, intptr_t c) {
    return WorldClassProc(kClass, node, message, a, b, c);
}

int MenuRoot::CopyClassName(char* buffer) {
    return WorldCopyClassName("MenuRoot", buffer);
}

int MenuRoot::Create(EntNode*) {
    if (classDb) PropDbInitObject(classDb, this);
    width = kMenuUnitsWide;
    height = kMenuUnitsHigh;
    // The editor's pass draws the menus' outlines and names.
    SetFlag(ENT_FLAG_DRAWPOST);
    return 0;
}

int MenuRoot::VarsChanged() {
    width = Side(width);
    height = Side(height);
    return 1;
}

void MenuRoot::SetScreenProjection() {
    Mat4 identity, ortho;
    Mat4Identity(&identity);
    I3dSetWorld(&identity);
    I3dSetView(&identity);
    // A side written straight into the field is held to the table's range here as well, and a
    // side of 0 projects as 1 rather than dividing by it.
    const int32_t w = Side(width), h = Side(height);
    I3dSetProj(Mat4OrthoScreen(&ortho, w > 0 ? w : 1, h > 0 ? h : 1));
}

int MenuRoot::DrawPre() {
    if (g_i3dRenderOptions & I3D_OPT_MENU_PROJECTION) SetScreenProjection();
    return 1;
}

int MenuRoot::Draw() {
    SetScreenProjection();
    return 1;
}
