// The screen clear entity.
#include "world/EntClear.h"

#include "I3d/Device.h"
#include "I3d/StateCache.h"
#include "engine/PropDb.h"
#include "engine/VarTable.h"

namespace {

VarTable* s_vars = nullptr;

const WorldClassDef kClass = {"Clear", nullptr, WorldMake<EntClear>,
                              WorldClassFlags<EntClear>::Reset};

void AddVars(VarTable* t) {
    VarTableAddSeparator(t, "General:");
    VarTableAddColor4fArgb(t, "color", PROP_OFFSET(EntClear, color), 0xFFFFFFFFu);
}

void MakeVars() {
    if (s_vars) return;
    s_vars = VarTableBuild(AddVars);
}

} // namespace

intptr_t EcClearProc(EntNode* node, int message, intptr_t a, intptr_t b, intptr_t c) {
    if (message == ENT_CLASS_MSG_BUILD_DB) MakeVars();
    if (message == ENT_CLASS_MSG_UNREGISTER) {
        VarTableDestroy(s_vars);
        s_vars = nullptr;
    }
    return WorldClassProc(kClass, node, message, a, b, c);
}

int EntClear::CopyClassName(char* buffer) {
    return WorldCopyClassName("Clear", buffer);
}

int EntClear::Create(EntNode*) {
    if (s_vars) VarTableInitObject(s_vars, this);
    instanceVars = s_vars;
    color[0] = color[1] = color[2] = 1.0f;
    return 1;
}

int EntClear::DrawPre() {
    if (!(GetClassFlags() & ENT_CLASS_DRAW)) return 1;
    D3dSetClearColor(color[0], color[1], color[2]);
    D3dSetClearZ(1.0f);
    D3dSetClearStencil(0);
    D3dClear(7);
    return 1;
}
