// The System library: debugger output, asserts and running another Lua file inside a script.
#include "engine/DebugLog.h"
#include "engine/Script/ScriptArgs.h"
#include "engine/Script/ScriptLibs.h"
#include "engine/Script/ScriptMgr.h"
#include "engine/System.h"
#include "platform/PathResolve.h"

#include <lua.hpp>

#include <string>

static int System_OutputDebugString(lua_State* L) {
    // Script text is never a format: "%s" or "%n" in it is printed as it stands.
    DbgOut("%s", LuaArgString(L, 1));
    return 0;
}

static int System_ConsoleBeep(lua_State* L) {
    SysBeep(LuaArgInt(L, 1), LuaArgInt(L, 2));
    return 0;
}

// Only nil fails: false passes, as it always has for these scripts.
static int System_Assert(lua_State* L) {
    if (!lua_isnoneornil(L, 1)) return 0;
    const char* message =
        lua_isnoneornil(L, 2) ? "No error message specified." : LuaArgString(L, 2);
    // The text is kept as the script's error text, cut to its size; a call from outside a
    // script cuts it the same way.
    char outside[SCRIPT_ERROR_MAX];
    LuaScript* script = LuaGetScript(L);
    char* text = script ? script->errorText : outside;
    LuaErrorTextCopy(text, message, false);
    SysMessageBox(text, "LUA Assert Triggered");
    return 0;
}

// Runs the file at once on the calling thread; it cannot wait (no yield crosses the protected
// call), and any failure is shown while the caller goes on.
static int System_DoFile(lua_State* L) {
    std::string diskPath;
    PlatPathResolve(LuaArgString(L, 1), &diskPath);
    int top = lua_gettop(L);
    if (LuaLoadTextFile(L, diskPath.c_str()) != LUA_OK || lua_pcall(L, 0, 0, 0) != LUA_OK)
        SysMessageBox(LuaErrorMessage(L), "LuaScript Compile/Load Error");
    lua_settop(L, top);
    return 0;
}

static const luaL_Reg s_systemFunctions[] = {
    {"OutputDebugString", System_OutputDebugString},
    {"ConsoleBeep", System_ConsoleBeep},
    {"Assert", System_Assert},
    {"DoFile", System_DoFile},
    {nullptr, nullptr},
};

void LuaOpenSystemLib(lua_State* L) {
    LuaOpenLibTable(L, "System", s_systemFunctions);
}
