// The script manager: the Lua state, script creation, starting, resuming, menu calls and the
// per-frame scheduler.
#include "engine/Script/ScriptMgr.h"

#include "engine/DebugLog.h"
#include "engine/Script/ScriptArgs.h"
#include "engine/Script/ScriptLibs.h"
#include "engine/System.h"
#include "platform/PathResolve.h"

#include <lua.hpp>

#include <sys/stat.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

static ScriptMgr* s_mgr = nullptr;

// ---- limits ----
//
// Scripts are data anyone can edit, so nothing in one may hang or kill the program. A run (a
// resume or a menu's call) gets an instruction budget, which a script renews by waiting; the
// state's memory has a ceiling while a script runs; and a close request stops a running script.

namespace {

constexpr int kHookEvery = 10000;               // instructions between looks at the budget
constexpr int kCloseLookEvery = 100;            // budget looks between looks for a close
constexpr long long kDefaultBudget = 300000000; // about a second of a busy script
constexpr size_t kDefaultMemoryCap = (size_t)256 << 20;

struct ScriptLimits {
    long long budget = kDefaultBudget; // instructions per run; 0: no limit
    long long looksLeft = 0;           // budget looks left in this run
    int depth = 0;                     // runs under way (a run may start another)
    size_t used = 0;                   // bytes the Lua state holds
    size_t cap = kDefaultMemoryCap;
    ScriptCloseCheck closeCheck = nullptr;
    void* closeContext = nullptr;
    int sinceCloseLook = 0;
    bool closing = false; // a close was requested: every run stops at its next look
};

ScriptLimits s_limits;

// The ceiling holds only while a script runs: the engine's own pushes outside any protected call
// must not fail, since Lua could only abort there.
void* CappedAlloc(void* context, void* block, size_t oldSize, size_t newSize) {
    auto* limits = static_cast<ScriptLimits*>(context);
    const size_t old = block ? oldSize : 0; // without a block oldSize is a type code
    if (newSize == 0) {
        std::free(block);
        limits->used -= old;
        return nullptr;
    }
    if (newSize > old && limits->depth > 0 &&
        (limits->used > limits->cap || newSize - old > limits->cap - limits->used))
        return nullptr; // Lua collects and, failing that, raises "not enough memory"
    void* grown = std::realloc(block, newSize);
    if (!grown) return nullptr;
    limits->used = limits->used - old + newSize;
    return grown;
}

int Panic(lua_State* L) {
    std::fprintf(stderr, "SCRIPT::Unprotected Lua error: %s\n", LuaErrorMessage(L));
    return 0; // Lua aborts
}

void BudgetHook(lua_State* L, lua_Debug*) {
    ScriptLimits& limits = s_limits;
    if (limits.depth == 0) return; // the engine's own chunks are not scripts' runs
    if (limits.closeCheck && ++limits.sinceCloseLook >= kCloseLookEvery) {
        limits.sinceCloseLook = 0;
        if (limits.closeCheck(limits.closeContext)) limits.closing = true;
    }
    const bool spent = limits.budget > 0 && --limits.looksLeft < 0;
    if (!limits.closing && !spent) return;
    // From here every instruction of this thread fails, so a pcall in the script cannot catch
    // the stop and carry on: the error reaches the run's own boundary.
    lua_sethook(L, BudgetHook, LUA_MASKCOUNT, 1);
    if (limits.closing) luaL_error(L, "script stopped: the game is closing");
    luaL_error(L, "script stopped: more than %d million instructions without waiting",
               (int)(limits.budget / 1000000));
}

bool HookWanted() {
    return s_limits.budget > 0 || s_limits.closeCheck;
}

// A run starting from the engine gets the whole budget, on a thread counting at the normal
// pace again (a stop left it failing at every instruction).
void RunBegin(lua_State* thread) {
    if (s_limits.depth++ > 0) return;
    s_limits.looksLeft = s_limits.budget / kHookEvery;
    if (HookWanted())
        lua_sethook(thread, BudgetHook, LUA_MASKCOUNT, kHookEvery);
    else
        lua_sethook(thread, nullptr, 0, 0);
}

void RunEnd() {
    --s_limits.depth;
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

void ScriptMgrSetBudget(long long instructions) {
    s_limits.budget = instructions > 0 ? std::max<long long>(instructions, kHookEvery) : 0;
}

void ScriptMgrSetMemoryCap(size_t bytes) {
    s_limits.cap = bytes ? bytes : kDefaultMemoryCap;
}

void ScriptMgrSetCloseCheck(ScriptCloseCheck check, void* context) {
    s_limits.closeCheck = check;
    s_limits.closeContext = check ? context : nullptr;
    s_limits.sinceCloseLook = 0;
}

bool ScriptMgrClosing() {
    return s_limits.closing;
}

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
    if (s_limits.closing) {
        // Nobody is left to read a box while the game closes.
        DbgPrintf(DBG_GENERAL, "SCRIPT::%s: %s\n", script->fileName.c_str(), message);
        return;
    }
    std::string text = std::string(message) + "\n";
    SysMessageBox(text.c_str(), "LuaScript Runtime Error");
}

// A thread that failed or was left suspended goes back to a clean, callable state.
static void ResetThread(lua_State* thread) {
    lua_resetthread(thread);
    lua_settop(thread, 0);
}

// ---- the manager ----

ScriptMgr* ScriptMgrGet() {
    if (s_mgr) return s_mgr;
    s_limits.used = 0;
    s_limits.depth = 0;
    lua_State* L = lua_newstate(CappedAlloc, &s_limits);
    if (!L) {
        DbgPrintf(DBG_GENERAL, "SCRIPT::Cannot create the Lua state\n");
        return nullptr;
    }
    lua_atpanic(L, Panic);
    SetThreadScript(L, nullptr);
    luaL_requiref(L, LUA_GNAME, luaopen_base, 1);
    WrapGlobal(L, "load", TextLoad);
    lua_pushcfunction(L, TextLoadFile);
    lua_setglobal(L, "loadfile");
    lua_pushcfunction(L, TextDoFile);
    lua_setglobal(L, "dofile");
    luaL_requiref(L, LUA_COLIBNAME, luaopen_coroutine, 1);
    luaL_requiref(L, LUA_STRLIBNAME, luaopen_string, 1);
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
    s_limits.closing = false;
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
    if (LuaLoadTextFile(thread, diskPath.c_str()) != LUA_OK) {
        const char* message = LuaErrorMessage(thread);
        LuaErrorTextCopy(errorText, message, false);
        SysMessageBox(message, "Syntax Error");
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
    RunBegin(thread);
    int status = lua_resume(thread, mgr->L, 1, &results);
    RunEnd();
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
        RunBegin(T);
        const int status = lua_pcall(T, arguments, results, 0);
        RunEnd();
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
