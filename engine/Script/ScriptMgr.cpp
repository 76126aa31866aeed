// The script manager: the Lua state, script creation, starting, resuming, menu calls and the
// per-frame scheduler.
#include "engine/Script/ScriptMgr.h"

#include "engine/DebugLog.h"
#include "engine/Script/ScriptArgs.h"
#include "engine/Script/ScriptLibs.h"
#include "engine/Script/ScriptLimits.h"
#include "engine/Script/ScriptSandbox.h"
#include "engine/System.h"
#include "platform/PathResolve.h"

#include <lua.hpp>

#include <cstdio>
#include <cstring>
#include <set>
#include <string>
#include <utility>

static ScriptMgr* s_mgr = nullptr;
// The load failures already reported, as path and message: a menu opened again and again would
// otherwise show the same box each time for one missing or broken file.
static std::set<std::pair<std::string, std::string>> s_loadFailures;

namespace {

int Panic(lua_State* L) {
    std::fprintf(stderr, "SCRIPT::Unprotected Lua error: %s\n", LuaErrorMessage(L));
    return 0; // Lua aborts
}

} // namespace

// ---- the thread-to-script link ----

// Each thread's extra space holds its script. Scripts cannot reach it, and coroutines a script
// makes itself copy the main state's, which is null.
static void SetThreadScript(lua_State* L, LuaScript* script) {
    std::memcpy(lua_getextraspace(L), &script, sizeof script);
}

LuaScript* LuaGetScript(lua_State* L) {
    LuaScript* script = nullptr;
    if (L) std::memcpy(&script, lua_getextraspace(L), sizeof script);
    return script;
}

// ---- error text ----

void LuaErrorTextCopy(char* out, const char* text, bool lineFeed) {
    size_t room = SCRIPT_ERROR_MAX - 1 - (lineFeed ? 1 : 0);
    size_t n = text ? std::strlen(text) : 0;
    if (n > room) n = room;
    if (n) std::memcpy(out, text, n);
    if (lineFeed) out[n++] = '\n';
    out[n] = 0;
}

const char* LuaErrorMessage(lua_State* L) {
    int type = lua_type(L, -1);
    if (type == LUA_TSTRING || type == LUA_TNUMBER) return lua_tostring(L, -1);
    return "(error with no message)";
}

// Records a run-time error (the value on top of L) and shows it; the value stays.
static void ReportRuntimeError(LuaScript* script, lua_State* L) {
    const char* message = LuaErrorMessage(L);
    LuaErrorTextCopy(script->errorText, message, true);
    if (ScriptMgrClosing()) {
        // Nobody is left to read a box while the game closes.
        DbgPrintf(DBG_GENERAL, "SCRIPT::%s: %s\n", script->fileName.c_str(), message);
        return;
    }
    std::string text = std::string(message) + "\n";
    SysMessageBox(text.c_str(), "LuaScript Runtime Error");
}

// A thread that failed or was left suspended goes back to a clean, callable state. Its pending
// to-be-closed variables' __close code runs here: as a run, so that it has a budget too.
static void ResetThread(lua_State* thread) {
    lua_State* outer = ScriptRunBegin(thread);
    lua_resetthread(thread);
    ScriptRunEnd(outer);
    lua_settop(thread, 0);
}

// ---- the manager ----

ScriptMgr* ScriptMgrGet() {
    if (s_mgr) return s_mgr;
    lua_State* L = ScriptLimitsNewState();
    if (!L) {
        DbgPrintf(DBG_GENERAL, "SCRIPT::Cannot create the Lua state\n");
        return nullptr;
    }
    lua_atpanic(L, Panic);
    SetThreadScript(L, nullptr);
    ScriptSandboxOpenLibs(L);
    lua_settop(L, 0);
    s_mgr = new ScriptMgr;
    s_mgr->L = L;
    LuaOpenScriptLib(L);
    lua_settop(L, 0);
    return s_mgr;
}

LuaScript* ScriptMgrNewScript() {
    ScriptMgr* mgr = ScriptMgrGet();
    if (!mgr) return nullptr;
    auto* script = new LuaScript;
    script->mgr = mgr;
    std::strcpy(script->errorText, "No error.\n");
    script->thread = lua_newthread(mgr->L);
    SetThreadScript(script->thread, script);
    script->threadRef = luaL_ref(mgr->L, LUA_REGISTRYINDEX);
    script->next = mgr->scripts;
    mgr->scripts = script;
    ++mgr->count;
    return script;
}

LuaScript* LuaScriptNew() {
    return ScriptMgrNewScript();
}

static void ReleaseCallThread(LuaScript* script) {
    if (script->callThreadRef != -1) {
        SetThreadScript(script->callThread, nullptr);
        luaL_unref(script->mgr->L, LUA_REGISTRYINDEX, script->callThreadRef);
    }
    script->callThreadRef = -1;
    script->callThread = nullptr;
}

static void FreeScript(ScriptMgr* mgr, LuaScript* script) {
    for (LuaScript** link = &mgr->scripts; *link; link = &(*link)->next) {
        if (*link == script) {
            *link = script->next;
            --mgr->count;
            break;
        }
    }
    if (mgr->abortable == script) mgr->abortable = nullptr;
    ReleaseCallThread(script);
    // A script may have kept its own thread (coroutine.running) somewhere: it must no longer
    // lead to the freed record.
    SetThreadScript(script->thread, nullptr);
    luaL_unref(mgr->L, LUA_REGISTRYINDEX, script->threadRef);
    if (script->chunkRef != -1) luaL_unref(mgr->L, LUA_REGISTRYINDEX, script->chunkRef);
    delete script;
}

void ScriptMgrUpdate(float seconds) {
    ScriptMgr* mgr = s_mgr;
    if (!mgr) return;
    LuaScript* next = nullptr;
    for (LuaScript* script = mgr->scripts; script; script = next) {
        next = script->next;
        script->scriptTime += seconds;
        switch (script->mode) {
            case SCRIPT_WAIT_FRAMES:
                if (script->framesLeft > 1) {
                    --script->framesLeft;
                } else {
                    script->framesLeft = 0;
                    script->Resume(0);
                }
                break;
            case SCRIPT_WAIT_TIME:
                if (script->scriptTime >= script->targetTime) script->Resume(0);
                break;
            case SCRIPT_WAIT_SVAR:
                if (script->watched && *script->watched) script->Resume(0);
                break;
            case SCRIPT_RUNNING:
            case SCRIPT_FINISHED:
            case SCRIPT_FRESH:
                // A fresh script is freed only when its file failed to load: it will never run.
                if (script->autoDelete && (script->mode != SCRIPT_FRESH || script->loadFailed)) {
                    DbgPrintf(DBG_ENTITY, "SCRIPT::Auto deleting %s\n", script->fileName.c_str());
                    FreeScript(mgr, script);
                }
                break;
            default: break;
        }
    }
}

void ScriptMgrDestroy() {
    ScriptMgr* mgr = s_mgr;
    if (!mgr) return;
    while (mgr->scripts)
        FreeScript(mgr, mgr->scripts);
    lua_close(mgr->L);
    delete mgr;
    s_mgr = nullptr;
    s_loadFailures.clear();
    ScriptLimitsReset();
}

// Sets _G[name] to the value on top of the main state, popping it. A raw set: a metatable a
// script put on _G must not run (or fail) outside a protected call.
static void SetGlobalFromTop(lua_State* L, const char* name) {
    lua_rawgeti(L, LUA_REGISTRYINDEX, LUA_RIDX_GLOBALS);
    lua_insert(L, -2);
    lua_pushstring(L, name);
    lua_insert(L, -2);
    lua_rawset(L, -3);
    lua_pop(L, 1);
}

void LuaSetGlobalNumber(double value, const char* name) {
    ScriptMgr* mgr = ScriptMgrGet();
    if (!mgr || !name) return;
    LuaPushNumber(mgr->L, value);
    SetGlobalFromTop(mgr->L, name);
}

void LuaSetGlobalPtr(void* pointer, const char* name) {
    ScriptMgr* mgr = ScriptMgrGet();
    if (!mgr || !name) return;
    lua_pushlightuserdata(mgr->L, pointer);
    SetGlobalFromTop(mgr->L, name);
}

void LuaSetGlobalNil(const char* name) {
    ScriptMgr* mgr = ScriptMgrGet();
    if (!mgr || !name) return;
    lua_pushnil(mgr->L);
    SetGlobalFromTop(mgr->L, name);
}

bool LuaGlobalIsFunction(const char* name) {
    ScriptMgr* mgr = ScriptMgrGet();
    if (!mgr || !name) return false;
    lua_State* L = mgr->L;
    lua_rawgeti(L, LUA_REGISTRYINDEX, LUA_RIDX_GLOBALS);
    lua_pushstring(L, name);
    lua_rawget(L, -2);
    const bool isFunction = lua_isfunction(L, -1);
    lua_pop(L, 2);
    return isFunction;
}

void LuaSetGlobalEntity(ENTBASE* entity, const char* name) {
    ScriptMgr* mgr = ScriptMgrGet();
    if (!mgr || !name) return;
    LuaPushEntity(mgr->L, entity);
    SetGlobalFromTop(mgr->L, name);
}

int32_t* LuaScriptSvar(LuaScript* script, int index) {
    if (!script || index < 0 || index >= 2 * SCRIPT_SVARS) return nullptr;
    if (index < SCRIPT_SVARS) return &script->svars[index];
    return &script->mgr->svars[index - SCRIPT_SVARS];
}

// ---- one script ----

int LuaScript::RunFile(const char* path) {
    if (!path) path = "";
    if (mode == SCRIPT_RUNNING) {
        DbgPrintf(DBG_ENTITY, "SCRIPT::%s cannot be started again while it runs\n",
                  fileName.c_str());
        return -1;
    }
    // Starting a script again begins from a clean thread, whatever the last run left.
    if (lua_status(thread) != LUA_OK || lua_gettop(thread) != 0) ResetThread(thread);
    fileName = path;
    std::string diskPath;
    PlatPathResolve(path, &diskPath);
    const int loaded = LuaLoadTextFile(thread, diskPath.c_str());
    if (loaded != LUA_OK) {
        const char* message = LuaErrorMessage(thread);
        LuaErrorTextCopy(errorText, message, false);
        // Once per file and fault; a file that cannot be read at all has no syntax to be wrong.
        if (s_loadFailures.emplace(fileName, message).second) {
            DbgPrintf(DBG_GENERAL, "SCRIPT::%s cannot be loaded: %s\n", fileName.c_str(), message);
            SysMessageBox(message,
                          loaded == LUA_ERRFILE ? "LuaScript Compile/Load Error" : "Syntax Error");
        }
        lua_settop(thread, 0);
        mode = SCRIPT_FRESH;
        loadFailed = true;
        return -1;
    }
    loadFailed = false;
    if (chunkRef != -1) luaL_unref(thread, LUA_REGISTRYINDEX, chunkRef);
    lua_pushvalue(thread, -1);
    chunkRef = luaL_ref(thread, LUA_REGISTRYINDEX);
    watched = nullptr;
    scriptTime = 0.0f;
    std::memset(svars, 0, sizeof svars);
    runFailed = false;
    Resume(0);
    return 1;
}

int LuaScript::Resume(double value) {
    if (mode == SCRIPT_RUNNING) {
        // Lua refuses to resume a running coroutine; failing here keeps the thread intact.
        DbgPrintf(DBG_ENTITY, "SCRIPT::%s resumed while running\n", fileName.c_str());
        return -1;
    }
    mode = SCRIPT_RUNNING;
    LuaPushNumber(thread, value);
    int results = 0;
    lua_State* outer = ScriptRunBegin(thread);
    int status = lua_resume(thread, mgr->L, 1, &results);
    ScriptRunEnd(outer);
    if (mode == SCRIPT_RUNNING || released) mode = SCRIPT_FINISHED;
    if (status == LUA_OK || status == LUA_YIELD) {
        lua_pop(thread, results);
        return 0;
    }
    mode = SCRIPT_FINISHED;
    runFailed = true;
    ReportRuntimeError(this, thread);
    ResetThread(thread);
    return -1;
}

void LuaScript::Release() {
    released = true;
    autoDelete = 1;
    if (mode != SCRIPT_RUNNING) mode = SCRIPT_FINISHED;
}

// The thread a menu's call runs on: the script's own while it can take a call, else a helper
// thread (a suspended coroutine cannot run a function in 5.4).
static lua_State* CallThread(LuaScript* script) {
    if (script->callThread) return script->callThread;
    int status = lua_status(script->thread);
    if (status != LUA_OK && status != LUA_YIELD) {
        ResetThread(script->thread);
        status = LUA_OK;
    }
    if (status == LUA_OK && script->mode != SCRIPT_RUNNING) {
        script->callThread = script->thread;
        return script->callThread;
    }
    lua_State* L = script->mgr->L;
    script->callThread = lua_newthread(L);
    SetThreadScript(script->callThread, script);
    script->callThreadRef = luaL_ref(L, LUA_REGISTRYINDEX);
    return script->callThread;
}

void LuaScript::GetGlobal(const char* name) {
    lua_State* T = CallThread(this);
    lua_checkstack(T, 2);
    // A raw read: an __index on _G would run outside any protected call.
    lua_rawgeti(T, LUA_REGISTRYINDEX, LUA_RIDX_GLOBALS);
    lua_pushstring(T, name ? name : "");
    lua_rawget(T, -2);
    lua_remove(T, -2);
}

void LuaScript::PushPtr(void* pointer) {
    lua_State* T = CallThread(this);
    lua_checkstack(T, 1);
    lua_pushlightuserdata(T, pointer);
}

void LuaScript::PushEntity(ENTBASE* entity) {
    lua_State* T = CallThread(this);
    lua_checkstack(T, 1);
    LuaPushEntity(T, entity);
}

int LuaScript::Call(int arguments, int results) {
    lua_State* T = CallThread(this);
    int top = lua_gettop(T);
    int rc = -1;
    if (arguments < 0 || top < arguments + 1) {
        DbgPrintf(DBG_ENTITY, "SCRIPT::%s: call with nothing to call\n", fileName.c_str());
        lua_settop(T, 0);
    } else {
        int base = top - arguments - 1;
        lua_State* outer = ScriptRunBegin(T);
        const int status = lua_pcall(T, arguments, results, 0);
        ScriptRunEnd(outer);
        if (status == LUA_OK) {
            rc = 0;
        } else {
            ReportRuntimeError(this, T);
        }
        lua_settop(T, base);
    }
    // Values pushed below ours belong to an outer call still being prepared.
    if (lua_gettop(T) == 0) ReleaseCallThread(this);
    return rc;
}
