// Lua scripts of any content run by the script manager as the game runs them: started, resumed
// by a few scheduler updates and called as a menu's Create, with a small instruction budget
// (armed after a millisecond of CPU time) and memory ceiling so that a hostile script is stopped
// quickly; then the manager is destroyed.
#include "engine/Script/ScriptMgr.h"
#include "tests/fuzz/FuzzInput.h"

#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const bool s_limits = [] {
        ScriptMgrSetBudget(2000000);
        ScriptMgrSetArmTick(1);
        ScriptMgrSetMemoryCap((size_t)64 << 20);
        return true;
    }();
    (void)s_limits;
    const std::string path = FuzzWriteFile("Fuzz.lua", data, size);
    if (LuaScript* script = LuaScriptNew()) {
        script->RunFile(path.c_str());
        for (int i = 0; i < 3; ++i)
            ScriptMgrUpdate(1.0f);
        script->GetGlobal("Create");
        script->PushPtr(nullptr);
        script->Call(1, 0);
    }
    ScriptMgrDestroy();
    return 0;
}
