// What scripts may do to the state itself: coroutines the run's limits follow, no __gc
// finalizers, and loading of text chunks only.
#include "engine/Script/ScriptSandbox.h"
#include "engine/Script/ScriptLimits.h"
#include "engine/Script/ScriptMgr.h"
#include "engine/Script/ScriptPatterns.h"

#include <lua.hpp>

#include <sys/stat.h>

namespace {

// ---- coroutines ----
//
// A script's own coroutines run inside its run, so the timer must hook whichever of them is
// executing: the library's resume, wrap and close are replaced by ones that switch the tracked
// thread around the code they run, otherwise as Lua's own.

// Resumes co with `arguments` values from L's top: the results moved to L and their count, or
// -1 with the error value on L.
int ResumeTracked(lua_State* L, lua_State* co, int arguments) {
    if (!lua_checkstack(co, arguments)) {
        lua_pushliteral(L, "too many arguments to resume");
        return -1;
    }
    lua_xmove(L, co, arguments);
    int results = 0;
    const bool tracked = ScriptRunTracked();
    if (tracked) ScriptRunSwitchTo(co);
    const int status = lua_resume(co, L, arguments, &results);
    if (tracked) ScriptRunSwitchTo(L);
    if (status == LUA_OK || status == LUA_YIELD) {
        if (!lua_checkstack(L, results + 1)) {
            lua_pop(co, results);
            lua_pushliteral(L, "too many results to resume");
            return -1;
        }
        lua_xmove(co, L, results);
        return results;
    }
    lua_xmove(co, L, 1);
    return -1;
}

// Closes co's pending to-be-closed variables, whose __close code runs on co.
int ResetTracked(lua_State* L, lua_State* co) {
    const bool tracked = ScriptRunTracked();
    if (tracked) ScriptRunSwitchTo(co);
    const int status = lua_resetthread(co);
    if (tracked) ScriptRunSwitchTo(L);
    return status;
}

int CoResume(lua_State* L) {
    lua_State* co = lua_tothread(L, 1);
    luaL_argexpected(L, co, 1, "coroutine");
    const int results = ResumeTracked(L, co, lua_gettop(L) - 1);
    if (results < 0) {
        lua_pushboolean(L, 0);
        lua_insert(L, -2);
        return 2;
    }
    lua_pushboolean(L, 1);
    lua_insert(L, -(results + 1));
    return results + 1;
}

int CoWrapped(lua_State* L) {
    lua_State* co = lua_tothread(L, lua_upvalueindex(1));
    const int results = ResumeTracked(L, co, lua_gettop(L));
    if (results >= 0) return results;
    int status = lua_status(co);
    if (status != LUA_OK && status != LUA_YIELD) { // the error came from inside: close co
        status = ResetTracked(L, co);
        lua_xmove(co, L, 1);
    }
    if (status != LUA_ERRMEM && lua_type(L, -1) == LUA_TSTRING) {
        luaL_where(L, 1);
        lua_insert(L, -2);
        lua_concat(L, 2);
    }
    return lua_error(L);
}

int CoWrap(lua_State* L) {
    luaL_checktype(L, 1, LUA_TFUNCTION);
    lua_State* co = lua_newthread(L);
    lua_pushvalue(L, 1);
    lua_xmove(L, co, 1);
    lua_pushcclosure(L, CoWrapped, 1);
    return 1;
}

int CoClose(lua_State* L) {
    lua_State* co = lua_tothread(L, 1);
    luaL_argexpected(L, co, 1, "coroutine");
    const char* refused = nullptr;
    if (co == L)
        refused = "running";
    else if (lua_Debug frame; lua_status(co) == LUA_OK && lua_getstack(co, 0, &frame))
        refused = "normal"; // it resumed the caller
    if (refused) return luaL_error(L, "cannot close a %s coroutine", refused);
    if (ResetTracked(L, co) == LUA_OK) {
        lua_pushboolean(L, 1);
        return 1;
    }
    lua_pushboolean(L, 0);
    lua_xmove(co, L, 1);
    return 2;
}

void TrackCoroutines(lua_State* L) {
    lua_getglobal(L, LUA_COLIBNAME);
    lua_pushcfunction(L, CoResume);
    lua_setfield(L, -2, "resume");
    lua_pushcfunction(L, CoWrap);
    lua_setfield(L, -2, "wrap");
    lua_pushcfunction(L, CoClose);
    lua_setfield(L, -2, "close");
    lua_pop(L, 1);
}

// A finalizer (__gc) runs with hooks off, during any allocation or at the state's close: no
// budget or close request could stop one. Lua marks an object for finalization only when its
// metatable has a __gc field as setmetatable sets it, so refusing those keeps scripts from
// having any. Otherwise as the base library's setmetatable, with its messages.
int SetMetatableNoFinalizer(lua_State* L) {
    const int type = lua_type(L, 2);
    luaL_checktype(L, 1, LUA_TTABLE);
    luaL_argexpected(L, type == LUA_TNIL || type == LUA_TTABLE, 2, "nil or table");
    if (luaL_getmetafield(L, 1, "__metatable") != LUA_TNIL)
        return luaL_error(L, "cannot change a protected metatable");
    if (type == LUA_TTABLE) {
        lua_pushliteral(L, "__gc");
        const bool finalizer = lua_rawget(L, 2) != LUA_TNIL;
        lua_pop(L, 1);
        if (finalizer) return luaL_argerror(L, 2, "scripts cannot have __gc finalizers");
    }
    lua_settop(L, 2);
    lua_setmetatable(L, 1);
    return 1;
}

// ---- text-only loading ----
//
// Lua does not verify binary chunks: a crafted one reads and writes anywhere. Every way a script
// has of loading code takes text only.

int TextLoad(lua_State* L) {
    if (lua_gettop(L) < 3) lua_settop(L, 3);
    lua_pushliteral(L, "t");
    lua_replace(L, 3);
    lua_pushvalue(L, lua_upvalueindex(1));
    lua_insert(L, 1);
    lua_call(L, lua_gettop(L) - 1, LUA_MULTRET);
    return lua_gettop(L);
}

// loadfile (name [, mode [, env]]): as Lua's own, text only and only from a regular file.
int TextLoadFile(lua_State* L) {
    const char* name = luaL_optstring(L, 1, nullptr);
    if (LuaLoadTextFile(L, name) != LUA_OK) {
        lua_pushnil(L);
        lua_insert(L, -2);
        return 2; // nil and the message
    }
    if (!lua_isnone(L, 3)) {
        lua_pushvalue(L, 3);
        if (!lua_setupvalue(L, -2, 1)) lua_pop(L, 1);
    }
    return 1;
}

int DoFileResults(lua_State* L, int, lua_KContext) {
    return lua_gettop(L) - 1;
}

int TextDoFile(lua_State* L) {
    const char* name = luaL_optstring(L, 1, nullptr);
    lua_settop(L, 1);
    if (LuaLoadTextFile(L, name) != LUA_OK) return lua_error(L);
    lua_callk(L, 0, LUA_MULTRET, 0, DoFileResults);
    return DoFileResults(L, 0, 0);
}

// Replaces _G[name] by `wrapper`, which reaches the original as its upvalue.
void WrapGlobal(lua_State* L, const char* name, lua_CFunction wrapper) {
    lua_getglobal(L, name);
    lua_pushcclosure(L, wrapper, 1);
    lua_setglobal(L, name);
}

} // namespace

void ScriptSandboxOpenLibs(lua_State* L) {
    luaL_requiref(L, LUA_GNAME, luaopen_base, 1);
    lua_pushcfunction(L, SetMetatableNoFinalizer);
    lua_setglobal(L, "setmetatable");
    WrapGlobal(L, "load", TextLoad);
    lua_pushcfunction(L, TextLoadFile);
    lua_setglobal(L, "loadfile");
    lua_pushcfunction(L, TextDoFile);
    lua_setglobal(L, "dofile");
    luaL_requiref(L, LUA_COLIBNAME, luaopen_coroutine, 1);
    TrackCoroutines(L);
    luaL_requiref(L, LUA_STRLIBNAME, luaopen_string, 1);
    LuaCapStringPatterns(L);
}

int LuaLoadTextFile(lua_State* L, const char* diskPath) {
    // Standard input, a pipe or a device could keep the game waiting for ever.
    struct stat st;
    if (!diskPath) {
        lua_pushliteral(L, "scripts cannot read standard input");
        return LUA_ERRFILE;
    }
    if (stat(diskPath, &st) == 0 && !S_ISREG(st.st_mode)) {
        lua_pushfstring(L, "cannot open %s: not a regular file", diskPath);
        return LUA_ERRFILE;
    }
    return luaL_loadfilex(L, diskPath, "t");
}
