// How every concrete menu is built and opened: the base set-up, the control names its script
// uses, the game object, the script and its Create; and the opener every screen's opener wraps.
#include "engine/DebugLog.h"
#include "engine/Script/ScriptMgr.h"
#include "ui/Menu3Base.h"

#include <string>

namespace {
// The script's Create runs only when this load defined it: every menu script defines the same
// global in the one Lua state, so a stale value would be another menu's function.
void RunMenuScript(Menu3Base* menu, const char* scriptPath) {
    LuaScript* script = LuaScriptNew();
    if (!script) return;
    script->SetAutoDelete(0);
    menu->script = script;
    LuaSetGlobalNil("Create");
    const std::string path = std::string(Ctl3DataFolder()) + (scriptPath ? scriptPath : "");
    if (script->RunFile(path.c_str()) != 1) return;
    if (!LuaGlobalIsFunction("Create")) return;
    script->GetGlobal("Create");
    script->PushPtr(menu);
    script->Call(1, 0);
}
} // namespace

void MenuCreateConcrete(Menu3Base* menu, EntNode* node, const MenuNames& names,
                        const char* scriptPath) {
    if (!menu) return;
    menu->Menu3Base::Create(node);
    if (names.hasStatic) LuaSetGlobalNumber(-1.0, "C_STATIC");
    for (int i = 0; i < names.count && names.names; ++i)
        if (names.names[i]) LuaSetGlobalNumber(double(i), names.names[i]);
    menu->game = EntTreeFindType(EntGetRoot(menu), "MtGame");
    RunMenuScript(menu, scriptPath);
}

void MenuFinishConcrete(Menu3Base* menu, const char* className) {
    if (!menu) return;
    menu->FocusCtl(0);
    menu->SetName(className ? className : "");
    DbgPrintf(DBG_GENERAL, "Menu: %s (%s)\n", menu->GetName(), className ? className : "");
}

Menu3Base* MenuOpen(const char* className, ENTBASE* parent, const MenuOpenArgs* args) {
    ENTBASE* made = EntCreateChild(className, parent);
    if (!made) return nullptr;
    auto* menu = dynamic_cast<Menu3Base*>(made);
    if (!menu) {
        EntDestroyTree(made);
        return nullptr;
    }
    if (args) menu->SetOpenArgs(*args);
    menu->Start();
    return menu;
}
