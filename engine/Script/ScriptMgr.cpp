// The script manager: the Lua state, script creation, starting, resuming, menu calls and the
// per-frame scheduler.
#include "engine/Script/ScriptMgr.h"
#include "engine/Script/ScriptPatterns.h"

#include "engine/DebugLog.h"
#include "engine/Script/ScriptArgs.h"
#include "engine/Script/ScriptLibs.h"
#include "engine/System.h"
#include "platform/PathResolve.h"

#include <lua.hpp>

#include <pthread.h>
#include <signal.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <set>
#include <string>
#include <utility>

static ScriptMgr* s_mgr = nullptr;
// The load failures already reported, as path and message: a menu opened again and again would
// otherwise show the same box each time for one missing or broken file.
static std::set<std::pair<std::string, std::string>> s_loadFailures;

// ---- limits ----
//
// Scripts are data anyone can edit, so nothing in one may hang or kill the program. A run (a
// resume or a menu's call) gets an instruction budget, which a script renews by waiting; the
// state's memory has a ceiling while a script runs; and a close request stops a running script.
//
// Counting instructions is not free: with any count hook set, Lua sends every instruction
// through its hook check, which halves a busy script's speed. Nearly every run ends long before
// its budget matters, so a run starts without a hook and the hook is armed only once the run has
// gone on for a while: a CPU-time timer of the script thread ticks now and then, and a tick that
// finds the same run under way as the tick before sets the hook on the thread then running. From
// there the budget and the close looks count as they always did.

namespace {

constexpr int kHookEvery = 10000;               // instructions between looks at the budget
constexpr int kCloseLookEvery = 100;            // budget looks between looks for a close
constexpr long long kDefaultBudget = 300000000; // about a second of a busy script
constexpr size_t kDefaultMemoryCap = (size_t)256 << 20;
constexpr int kDefaultArmTickMs = 50; // a run is armed after 50 to 100 ms of the thread's CPU

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

// What the timer's signal handler reads. It runs on the script thread itself, between any two
// instructions of the code below, so these are lock-free atomics ordered by signal fences.
struct ArmState {
    std::atomic<lua_State*> running{nullptr}; // the thread executing script code in this run
    std::atomic<bool> inRun{false};           // an outermost run is under way
    std::atomic<bool> armed{false};           // this run's hook is set
    std::atomic<unsigned> generation{0};      // counts outermost runs
    unsigned tickGeneration = 0;              // the handler's own: the run it saw last tick
};
static_assert(std::atomic<lua_State*>::is_always_lock_free &&
              std::atomic<bool>::is_always_lock_free && std::atomic<unsigned>::is_always_lock_free);

ArmState s_arm;

// The thread-CPU-time timer; made on the first run of a manager, on that run's thread.
struct ArmTimer {
    int tickMs = kDefaultArmTickMs; // 0: every run is armed from its first instruction
    bool made = false;
    bool failed = false; // no timer could be had: runs are armed from their start
    timer_t id{};
    pid_t tid = 0; // the thread whose CPU time it measures and which gets its signal
};

ArmTimer s_timer;

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

// The engine's own chunks and a thread whose run is over keep no hook: outside a run it only
// slows them down.
void BudgetHook(lua_State* L, lua_Debug*) {
    ScriptLimits& limits = s_limits;
    if (limits.depth == 0) {
        lua_sethook(L, nullptr, 0, 0);
        return;
    }
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

void SetBudgetHook(lua_State* thread) {
    lua_sethook(thread, BudgetHook, LUA_MASKCOUNT, kHookEvery);
}

// A tick of the timer: a run that was already under way at the previous tick has gone on for a
// whole tick, and gets its hook. Only async-signal-safe work here: lua_sethook is (it only
// stores fields and flags the thread's call frames).
void ArmTick(int, siginfo_t*, void*) {
    if (!s_arm.inRun.load(std::memory_order_relaxed)) return;
    const unsigned generation = s_arm.generation.load(std::memory_order_relaxed);
    if (generation != s_arm.tickGeneration) {
        s_arm.tickGeneration = generation;
        return;
    }
    if (s_arm.armed.exchange(true, std::memory_order_relaxed)) return;
    if (lua_State* thread = s_arm.running.load(std::memory_order_relaxed)) SetBudgetHook(thread);
}

pid_t ThisThreadId() {
    static thread_local pid_t t_tid = 0;
    if (!t_tid) t_tid = gettid();
    return t_tid;
}

void SetTimerTick(int tickMs) {
    itimerspec tick{};
    tick.it_value.tv_sec = tickMs / 1000;
    tick.it_value.tv_nsec = (long)(tickMs % 1000) * 1000000;
    tick.it_interval = tick.it_value;
    timer_settime(s_timer.id, 0, &tick, nullptr);
}

// Installs the tick's handler on `signo` when nobody else handles it.
bool InstallArmTick(int signo) {
    struct sigaction old {};
    if (sigaction(signo, nullptr, &old) != 0 || (old.sa_flags & SA_SIGINFO) ||
        old.sa_handler != SIG_DFL)
        return false;
    struct sigaction act {};
    act.sa_sigaction = ArmTick;
    act.sa_flags = SA_SIGINFO | SA_RESTART;
    sigemptyset(&act.sa_mask);
    return sigaction(signo, &act, nullptr) == 0;
}

// The tick's signal, its handler installed once for the program (0: none free): the virtual
// timer's own, which debuggers pass on without stopping, else a real-time one.
int ArmSignal() {
    static int s_signo = -1;
    if (s_signo >= 0) return s_signo;
    s_signo = 0;
    if (InstallArmTick(SIGVTALRM)) return s_signo = SIGVTALRM;
    for (int signo = SIGRTMAX; signo >= SIGRTMIN; --signo)
        if (InstallArmTick(signo)) return s_signo = signo;
    return s_signo;
}

void DeleteTimer() {
    if (s_timer.made) timer_delete(s_timer.id);
    s_timer.made = false;
}

// True when the timer measures this thread, making it on the first run. A run on any other
// thread, or without a timer, is armed from its start as before.
bool TimerOnThisThread() {
    if (s_timer.made) return s_timer.tid == ThisThreadId();
    if (s_timer.failed) return false;
    const int signo = ArmSignal();
    sigevent event{};
    event.sigev_notify = SIGEV_THREAD_ID;
    event.sigev_signo = signo;
    event._sigev_un._tid = ThisThreadId(); // glibc names no field for it
    sigset_t unblock;
    sigemptyset(&unblock);
    if (signo > 0) sigaddset(&unblock, signo);
    if (signo <= 0 || pthread_sigmask(SIG_UNBLOCK, &unblock, nullptr) != 0 ||
        timer_create(CLOCK_THREAD_CPUTIME_ID, &event, &s_timer.id) != 0) {
        s_timer.failed = true;
        DbgPrintf(DBG_GENERAL, "SCRIPT::No CPU timer for scripts: every run counts its budget "
                               "from its first instruction\n");
        return false;
    }
    s_timer.made = true;
    s_timer.tid = ThisThreadId();
    SetTimerTick(s_timer.tickMs);
    return true;
}

bool HookWanted() {
    return s_limits.budget > 0 || s_limits.closeCheck;
}

// Makes `to` the thread the timer hooks, with the hook this run has so far; returns the thread
// it replaces. `to` leaves any hook of an earlier run behind before the handler can see it, and
// takes the hook after the handler can: a tick in between hooks it either way.
lua_State* SwitchTo(lua_State* to) {
    lua_State* from = s_arm.running.load(std::memory_order_relaxed);
    if (lua_gethookmask(to)) lua_sethook(to, nullptr, 0, 0);
    std::atomic_signal_fence(std::memory_order_seq_cst);
    s_arm.running.store(to, std::memory_order_relaxed);
    std::atomic_signal_fence(std::memory_order_seq_cst);
    if (!s_arm.armed.load(std::memory_order_relaxed)) return from;
    // A run already stopped fails at once on every thread it reaches, the one a coroutine's
    // stop returns to included: a coroutine.resume cannot catch the stop either.
    const bool stopping = s_limits.closing || (s_limits.budget > 0 && s_limits.looksLeft < 0);
    lua_sethook(to, BudgetHook, LUA_MASKCOUNT, stopping ? 1 : kHookEvery);
    return from;
}

// A run starting from the engine gets the whole budget, on a thread without a hook (a stop left
// it failing at every instruction). A run started inside another (a script making a menu) runs
// on its own thread, which the timer must hook instead until it ends. Returns what RunEnd
// takes back.
lua_State* RunBegin(lua_State* thread) {
    if (s_limits.depth++ > 0) return SwitchTo(thread);
    s_limits.looksLeft = s_limits.budget / kHookEvery;
    s_arm.armed.store(false, std::memory_order_relaxed);
    SwitchTo(thread);
    if (!HookWanted()) return nullptr;
    if (s_timer.tickMs <= 0 || !TimerOnThisThread()) {
        s_arm.armed.store(true, std::memory_order_relaxed);
        SetBudgetHook(thread);
        return nullptr;
    }
    s_arm.generation.store(s_arm.generation.load(std::memory_order_relaxed) + 1,
                           std::memory_order_relaxed);
    std::atomic_signal_fence(std::memory_order_seq_cst);
    s_arm.inRun.store(true, std::memory_order_relaxed);
    return nullptr;
}

void RunEnd(lua_State* outer) {
    if (--s_limits.depth > 0) {
        SwitchTo(outer);
        return;
    }
    s_arm.inRun.store(false, std::memory_order_relaxed);
    std::atomic_signal_fence(std::memory_order_seq_cst);
    s_arm.running.store(nullptr, std::memory_order_relaxed);
}

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
    const bool tracked = s_limits.depth > 0;
    if (tracked) SwitchTo(co);
    const int status = lua_resume(co, L, arguments, &results);
    if (tracked) SwitchTo(L);
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
    const bool tracked = s_limits.depth > 0;
    if (tracked) SwitchTo(co);
    const int status = lua_resetthread(co);
    if (tracked) SwitchTo(L);
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

void ScriptMgrSetArmTick(int milliseconds) {
    s_timer.tickMs = std::max(milliseconds, 0);
    if (s_timer.made && s_timer.tickMs > 0) SetTimerTick(s_timer.tickMs);
}

void ScriptMgrSetMemoryCap(size_t bytes) {
    s_limits.cap = bytes ? bytes : kDefaultMemoryCap;
}

void ScriptMgrSetCloseCheck(ScriptCloseCheck check, void* context) {
    s_limits.closeCheck = check;
    s_limits.closeContext = check ? context : nullptr;
    s_limits.sinceCloseLook = 0;
}

ScriptCloseCheck ScriptMgrGetCloseCheck() {
    return s_limits.closeCheck;
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

// A thread that failed or was left suspended goes back to a clean, callable state. Its pending
// to-be-closed variables' __close code runs here: as a run, so that it has a budget too.
static void ResetThread(lua_State* thread) {
    lua_State* outer = RunBegin(thread);
    lua_resetthread(thread);
    RunEnd(outer);
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
    DeleteTimer();
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
    lua_State* outer = RunBegin(thread);
    int status = lua_resume(thread, mgr->L, 1, &results);
    RunEnd(outer);
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
        lua_State* outer = RunBegin(T);
        const int status = lua_pcall(T, arguments, results, 0);
        RunEnd(outer);
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
