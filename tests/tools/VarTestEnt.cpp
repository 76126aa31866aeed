#include "tests/tools/VarTestEnt.h"

#include <cstdio>

int VarTestEnt::s_commands = 0;
void* VarTestEnt::s_commandArg = nullptr;

VarTestEnt::VarTestEnt() {
    classDb = VarTestDb();
    PropDbInitObject(classDb, this);
}

int VarTestEnt::VarsChanged() {
    ++varsChanged;
    if (onVarsChanged) onVarsChanged(this);
    return 1;
}

static void Fire(void* object) {
    ++VarTestEnt::s_commands;
    VarTestEnt::s_commandArg = object;
}

PropDb* VarTestDb() {
    static PropDb s_db;
    if (s_db.first) return &s_db;
    PropDbSetName(&s_db, "VarTest");
    PropDbAddInt(&s_db, "count", PROP_OFFSET(VarTestEnt, count), 50);
    PropDbAddFloat(&s_db, "speed", PROP_OFFSET(VarTestEnt, speed), 0.0f)
        ->SetRangeFloat(0.0f, 10.0f, 0.5f);
    PropDbAddAngle(&s_db, "turn", PROP_OFFSET(VarTestEnt, turn), 0.0f);
    PropDbAddStringBlank(&s_db, "label", PROP_OFFSET(VarTestEnt, label), 15);
    PropDbAddBool(&s_db, "on", PROP_OFFSET(VarTestEnt, on), 0);
    PropDbAddColor3f(&s_db, "tint", PROP_OFFSET(VarTestEnt, tint), 0.5f, 0.5f, 0.5f);
    PropDbAddVector3(&s_db, "pos", PROP_OFFSET(VarTestEnt, pos), 0, 0, 0);
    PropDbAddCommand(&s_db, "Fire", Fire);
    PropDbAddSeparator(&s_db, "Looks");
    PropDbAddColor4b(&s_db, "c4", PROP_OFFSET(VarTestEnt, c4), 0xFFFFFFFF);
    PropDbAddVoid(&s_db, "word", PROP_OFFSET(VarTestEnt, word), 0);
    PropDbAddFloat(&s_db, "far", PROP_OFFSET(VarTestEnt, far), 0.0f);
    PropDbAddStringBlank(&s_db, "notes", PROP_OFFSET(VarTestEnt, notes), 299);
    PropDbAddInt(&s_db, "small", PROP_OFFSET(VarTestEnt, small), 0)->SetRangeInt(0, 5, 1);
    PropDbAddInt(&s_db, "back", PROP_OFFSET(VarTestEnt, back), 0)->SetRangeInt(5, 0, 1);
    return &s_db;
}

static intptr_t VarTestProc(EntNode* node, int message, intptr_t a, intptr_t b, intptr_t c) {
    switch (message) {
        case ENT_CLASS_MSG_BUILD_DB: VarTestDb(); return 0;
        case ENT_CLASS_MSG_RESET:
        case ENT_CLASS_MSG_UNREGISTER: return 0;
        case ENT_CLASS_MSG_CLASS_NAME:
            std::snprintf(reinterpret_cast<char*>(b), 64, "%s", "VarTest");
            return 0;
        case ENT_CLASS_MSG_CREATE: return EntProcCreate(node, new VarTestEnt, VarTestDb());
        default: return EntProcForward(node, message, a, b, c);
    }
}

void RegisterVarTestClass() {
    EntCreateClass(VarTestProc, 0, 0);
}

VarTestEnt* MakeVarTestEnt(ENTBASE* parent, const char* name) {
    EntNode* node = EntCreate("VarTest", parent ? parent->node : nullptr, 0, 0, 0);
    auto* e = node ? static_cast<VarTestEnt*>(node->object) : nullptr;
    if (e) e->SetName(name);
    return e;
}
