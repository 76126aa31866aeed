// The screen clear entity.
#include "world/EcClear.h"

#include "I3d/Device.h"
#include "I3d/StateCache.h"
#include "engine/PropDb.h"
#include "engine/VarTable.h"

namespace {

VarTable* s_vars = nullptr;

const WorldClassDef kClass = {"Clear", nullptr, WorldMake<EcClear>,
                              WorldClassFlags<EcClear>::Reset};

void AddVars(VarTable* t) {
    VarTableAddSeparator(t, "General:");
    VarTableAddColor4fArgb(t, "color", PROP_OFFSET(EcClear, color), 0xFFFFFFFFu);
}

void MakeVars() {
    if (s_vars) return;
    s_vars = VarTableBuild(AddVars);
}

} // namespace

VarTable* ClearVars() {
    return s_vars;
}

intptr_t EcClearProc(EntNode* node, int message, intptr_t a, intptr_t b, intptr_t c) {
    if (message == 0) MakeVars();
    if (message == 2) {
        VarTableDestroy(s_vars);
        s_vars = nullptr;
    }
    return WorldClassProc(kClass, node, message, a, b, c);
}

int EcClear::CopyClassName(char* buffer) {
    return WorldCopyClassName("Clear", buffer);
}

int EcClear::Create(EntNode*) {
    if (s_vars) VarTableInitObject(s_vars, this);
    instanceVars = s_vars;
    color[0] = color[1] = color[2] = 1.0f;
    return 1;
}

int EcClear::DrawPre() {
    if (!(GetClassFlags() & 0x2u)) return 1;
    D3dSetClearColor(color[0], color[1], color[2]);
    D3dSetClearZ(1.0f);
    D3dSetClearStencil(0);
    D3dClear(7);
    return 1;
}
