// The limits on a script's run: an instruction budget armed by a CPU-time timer's signal, a
// memory ceiling and the close request (the manager's runs and coroutines go through these).
#include "engine/Script/ScriptLimits.h"
#include "engine/Script/ScriptMgr.h"

#include "engine/DebugLog.h"

#include <lua.hpp>

#include <pthread.h>
#include <signal.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>

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

} // namespace

// Makes `to` the thread the timer hooks, with the hook this run has so far; returns the thread
// it replaces. `to` leaves any hook of an earlier run behind before the handler can see it, and
// takes the hook after the handler can: a tick in between hooks it either way.
lua_State* ScriptRunSwitchTo(lua_State* to) {
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
// on its own thread, which the timer must hook instead until it ends. Returns what ScriptRunEnd
// takes back.
lua_State* ScriptRunBegin(lua_State* thread) {
    if (s_limits.depth++ > 0) return ScriptRunSwitchTo(thread);
    s_limits.looksLeft = s_limits.budget / kHookEvery;
    s_arm.armed.store(false, std::memory_order_relaxed);
    ScriptRunSwitchTo(thread);
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

void ScriptRunEnd(lua_State* outer) {
    if (--s_limits.depth > 0) {
        ScriptRunSwitchTo(outer);
        return;
    }
    s_arm.inRun.store(false, std::memory_order_relaxed);
    std::atomic_signal_fence(std::memory_order_seq_cst);
    s_arm.running.store(nullptr, std::memory_order_relaxed);
}

bool ScriptRunTracked() {
    return s_limits.depth > 0;
}

lua_State* ScriptLimitsNewState() {
    s_limits.used = 0;
    s_limits.depth = 0;
    return lua_newstate(CappedAlloc, &s_limits);
}

void ScriptLimitsReset() {
    DeleteTimer();
    s_limits.closing = false;
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
