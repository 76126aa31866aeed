// The "Script" library: script variables and the wait functions that suspend the calling script
// until the scheduler resumes it.
#include "engine/DebugLog.h"
#include "engine/Script/ScriptArgs.h"
#include "engine/Script/ScriptLibs.h"
#include "engine/Script/ScriptMgr.h"
#include "engine/System.h"

#include <lua.hpp>

// The calling script; a thread that is not a script's raises a Lua error naming the function.
static LuaScript* CallingScript(lua_State* L, const char* function) {
    LuaScript* script = LuaGetScript(L);
    if (!script) luaL_error(L, "%s: not called from a script", function);
    return script;
}

// Suspends the script; the number given to Resume becomes the wait call's result. The caller
// checks that L can yield before it changes the wait mode, so a wait inside a protected call
// fails with Lua's own message and leaves the script running.
static int Suspend(lua_State* L) {
    return lua_yield(L, 0);
}

// ---- svars ----

static int Script_ClearSvar(lua_State* L) {
    if (int32_t* v = LuaScriptSvar(CallingScript(L, "ClearSvar"), LuaArgInt(L, 1))) *v = 0;
    return 0;
}

static int Script_SetSvar(lua_State* L) {
    if (int32_t* v = LuaScriptSvar(CallingScript(L, "SetSvar"), LuaArgInt(L, 1)))
        *v = LuaArgInt(L, 2);
    return 0;
}

static int Script_GetSvar(lua_State* L) {
    int32_t* v = LuaScriptSvar(CallingScript(L, "GetSvar"), LuaArgInt(L, 1));
    lua_pushinteger(L, v ? *v : 0);
    return 1;
}

// Wrapping, as the 32-bit counters always have, without signed overflow.
static int Script_IncSvar(lua_State* L) {
    if (int32_t* v = LuaScriptSvar(CallingScript(L, "IncSvar"), LuaArgInt(L, 1)))
        *v = static_cast<int32_t>(static_cast<uint32_t>(*v) + 1u);
    return 0;
}

static int Script_DecSvar(lua_State* L) {
    if (int32_t* v = LuaScriptSvar(CallingScript(L, "DecSvar"), LuaArgInt(L, 1)))
        *v = static_cast<int32_t>(static_cast<uint32_t>(*v) - 1u);
    return 0;
}

// ---- waits ----

static int Script_WaitFrame(lua_State* L) {
    LuaScript* script = CallingScript(L, "WaitFrame");
    if (!lua_isyieldable(L)) return Suspend(L);
    int32_t frames = LuaArgInt(L, 1);
    // A count below 1 would wrap the unsigned counter into a wait of years: it waits one frame.
    script->framesLeft = frames < 1 ? 1u : static_cast<uint32_t>(frames);
    script->mode = SCRIPT_WAIT_FRAMES;
    return Suspend(L);
}

static int Script_WaitTime(lua_State* L) {
    LuaScript* script = CallingScript(L, "WaitTime");
    if (!lua_isyieldable(L)) return Suspend(L);
    script->targetTime = LuaArgFloat(L, 1);
    script->mode = SCRIPT_WAIT_TIME;
    return Suspend(L);
}

static int Script_WaitSec(lua_State* L) {
    LuaScript* script = CallingScript(L, "WaitSec");
    if (!lua_isyieldable(L)) return Suspend(L);
    script->targetTime = script->scriptTime + LuaArgFloat(L, 1);
    script->mode = SCRIPT_WAIT_TIME;
    return Suspend(L);
}

static int Script_WaitSvarTrue(lua_State* L) {
    LuaScript* script = CallingScript(L, "WaitSvarTrue");
    int index = LuaArgInt(L, 1);
    int32_t* v = LuaScriptSvar(script, index);
    if (!v) {
        // No svar there can ever become true: the wait is ignored like any other use of it.
        DbgPrintf(DBG_ENTITY, "SCRIPT::%s: WaitSvarTrue on svar %d ignored\n",
                  script->fileName.c_str(), index);
        return 0;
    }
    if (!lua_isyieldable(L)) return Suspend(L);
    script->watched = v;
    script->mode = SCRIPT_WAIT_SVAR;
    return Suspend(L);
}

// ---- the rest ----

static int Script_Beep(lua_State* L) {
    SysBeep(LuaArgInt(L, 1), LuaArgInt(L, 2));
    return 0;
}

// Runs an empty chunk with the arguments in a protected call: it returns at once and the caller
// goes on.
static int Script_Return(lua_State* L) {
    int arguments = lua_gettop(L);
    static const char chunk[] = "do return end";
    if (luaL_loadbufferx(L, chunk, sizeof chunk - 1, "Temp", "t") != LUA_OK) return 0;
    lua_insert(L, 1);
    if (lua_pcall(L, arguments, 0, 0) != LUA_OK) lua_pop(L, 1);
    return 0;
}

static int Script_MakeAbortable(lua_State* L) {
    LuaScript* script = CallingScript(L, "MakeAbortable");
    script->mgr->abortable = script;
    return 0;
}

static const luaL_Reg s_scriptFunctions[] = {
    {"Beep", Script_Beep},
    {"ClearSvar", Script_ClearSvar},
    {"SetSvar", Script_SetSvar},
    {"GetSvar", Script_GetSvar},
    {"IncSvar", Script_IncSvar},
    {"DecSvar", Script_DecSvar},
    {"WaitFrame", Script_WaitFrame},
    {"WaitTime", Script_WaitTime},
    {"WaitSec", Script_WaitSec},
    // Registered with DecSvar's behaviour: it counts the svar down and does not wait.
    {"WaitSeconds", Script_DecSvar},
    {"WaitSvarTrue", Script_WaitSvarTrue},
    {"Return", Script_Return},
    {"MakeAbortable", Script_MakeAbortable},
    {nullptr, nullptr},
};

void LuaOpenLibTable(lua_State* L, const char* name, const luaL_Reg* functions) {
    lua_newtable(L);
    luaL_setfuncs(L, functions, 0);
    lua_setglobal(L, name);
}

void LuaOpenScriptLib(lua_State* L) {
    LuaOpenLibTable(L, "Script", s_scriptFunctions);
    for (const luaL_Reg* f = s_scriptFunctions; f->name; ++f) {
        lua_pushcfunction(L, f->func);
        lua_setglobal(L, f->name);
    }
}
