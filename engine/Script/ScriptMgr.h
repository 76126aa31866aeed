// The script manager: one Lua state, every running script as a coroutine resumed once per frame
// when its wait condition holds, and the script variables (svars) the scripts share.
//
// The scripts run on Lua 5.4, not on the long-unmaintained 5.0 the game's scripts were first
// written for: 5.0 idioms (table.getn, string.gfind, math.mod, unpack, loadstring, the implicit
// `arg` table, `for k, v in t do`) end in a runtime error box, and a division that gives a whole
// number prints as "3.0". The game's own scripts use none of them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

struct lua_State;
class ENTBASE;
class LuaScript;

// Wait modes of a script.
enum : int32_t {
    SCRIPT_WAIT_FRAMES = 0, // frames left reaches 0
    SCRIPT_WAIT_TIME = 1,   // script time reaches the target time
    SCRIPT_WAIT_SVAR = 2,   // the watched svar becomes nonzero
    // 3, 4 and 5 are never resumed automatically; nothing here sets them.
    SCRIPT_RUNNING = 6,
    SCRIPT_FRESH = 7,    // created, not started (or its file failed to load)
    SCRIPT_FINISHED = 8, // ended or failed at run time
};

enum {
    SCRIPT_SVARS = 64,      // own svars 0..63; 64..127 are the manager's shared ones
    SCRIPT_ERROR_MAX = 128, // error text, terminator included
};

struct ScriptMgr {
    int32_t svars[SCRIPT_SVARS] = {}; // svars 64..127 of every script
    lua_State* L = nullptr;
    LuaScript* scripts = nullptr;   // newest first
    LuaScript* abortable = nullptr; // the last script that called MakeAbortable
    int32_t count = 0;
};

class LuaScript {
  public:
    void SetAutoDelete(int flag) { autoDelete = flag; }
    // Loads the file and starts it. A load failure shows "Syntax Error" with Lua's message and
    // leaves the script in mode 7: 1 started (even if it then failed at run time), -1 not loaded
    // (or the script is running: it cannot restart itself).
    int RunFile(const char* path);
    // A menu's call into its script: GetGlobal, one PushPtr per argument, then Call. These work
    // on a finished script, after a run-time error and while the script waits.
    void GetGlobal(const char* name);
    void PushPtr(void* pointer);
    // The entity's handle (ScriptArgs.h): a menu passes itself this way.
    void PushEntity(ENTBASE* entity);
    // Protected: an error shows "LuaScript Runtime Error" and keeps the text. 0, or -1 on error
    // (nothing is left pushed either way; results wanted are dropped).
    int Call(int arguments, int results);
    // Resumes the coroutine with one number, which becomes the result of the wait call that
    // suspended it. 0, or -1 when the script failed (then it is finished).
    int Resume(double value);
    // Its owner is done with it: the script is finished and auto-deleting, so the next
    // ScriptMgrUpdate frees it and never resumes it (a waiting menu script would otherwise wake
    // up with its menu freed). Called while the script runs, it finishes when it yields.
    void Release();

    ScriptMgr* mgr = nullptr;
    LuaScript* next = nullptr;
    int32_t svars[SCRIPT_SVARS] = {};
    int32_t mode = SCRIPT_FRESH;
    int32_t* watched = nullptr; // mode 2
    float targetTime = 0.0f;    // mode 1
    uint32_t framesLeft = 0;    // mode 0
    float scriptTime = 0.0f;    // seconds since the start, summed from frame times
    std::string fileName;       // as RunFile was given it
    int32_t threadRef = -1;
    int32_t chunkRef = -1;
    int32_t autoDelete = 0;
    lua_State* thread = nullptr;
    char errorText[SCRIPT_ERROR_MAX] = {};
    bool loadFailed = false; // its file never loaded: freed like a finished one when auto-deleting
    bool released = false;   // Release was called: never resumed again
    bool runFailed = false;  // the run RunFile started ended in a run-time error

    // The thread a menu's call runs on while values are pushed for it, and the registry
    // reference of a helper thread made for it (-1 when the script's own thread is used).
    lua_State* callThread = nullptr;
    int32_t callThreadRef = -1;
};

// The manager, made on first use: a Lua state with the base, coroutine and string libraries only
// (no io, os or package) and the "Script" functions.
ScriptMgr* ScriptMgrGet();
// A new script at the head of the list, in mode 7.
LuaScript* ScriptMgrNewScript();
LuaScript* LuaScriptNew();
// Once per frame with the game-time step in seconds: advances every script's time, resumes those
// whose wait has ended and frees finished auto-deleting ones.
void ScriptMgrUpdate(float seconds);
// Frees every script and closes the Lua state; the next ScriptMgrGet makes a fresh manager.
void ScriptMgrDestroy();

// Loads the file as a text chunk on L: binary chunks are refused (Lua does not verify them), and
// so is anything but a regular file (standard input, a pipe or a device could block the game for
// ever). LUA_OK, or an error status with the message pushed.
int LuaLoadTextFile(lua_State* L, const char* diskPath);

// The limits of a run (a resume, or a menu's call into a script). A run that goes on for more
// than `instructions` without waiting, counted from when it is armed (ScriptMgrSetArmTick), is
// stopped as a run-time error ("LuaScript Runtime Error"); 0 lifts the limit. The default is
// 300 million.
void ScriptMgrSetBudget(long long instructions);
// A run counts its budget only once it has used `milliseconds` to twice that of its thread's CPU
// time (default 50): counting slows a script down, and nearly every run waits long before. 0
// counts every run from its first instruction, so that a test can count exactly.
void ScriptMgrSetArmTick(int milliseconds);
// While a script runs, the Lua state may hold at most `bytes` (0: the default, 256 MB); past it
// the script fails with "not enough memory".
void ScriptMgrSetMemoryCap(size_t bytes);
// Asked now and then while a script runs: true stops the running script (and every later run)
// so that the program can end. Without a check only the budget stops a script.
using ScriptCloseCheck = bool (*)(void* context);
void ScriptMgrSetCloseCheck(ScriptCloseCheck check, void* context);
ScriptCloseCheck ScriptMgrGetCloseCheck();
// True once the close check has answered true (until ScriptMgrDestroy).
bool ScriptMgrClosing();

// Globals of the main state, set without metamethods.
void LuaSetGlobalNumber(double value, const char* name);
void LuaSetGlobalPtr(void* pointer, const char* name);
void LuaSetGlobalNil(const char* name);
// True when the global is a function (read raw: no metamethod runs).
bool LuaGlobalIsFunction(const char* name);
// The entity's handle (ScriptArgs.h), NULLENT for a null or dead entity.
void LuaSetGlobalEntity(ENTBASE* entity, const char* name);

// The script whose thread (or whose menu call) L is; null for the main state and for coroutines
// a script made itself.
LuaScript* LuaGetScript(lua_State* L);
// Svar `index` of the script: 0..63 its own, 64..127 shared; null for any other index.
int32_t* LuaScriptSvar(LuaScript* script, int index);

// Copies `text` into an error text of SCRIPT_ERROR_MAX characters, cut to fit, with a line feed
// after it when `lineFeed` is set (the line feed survives the cut).
void LuaErrorTextCopy(char* out, const char* text, bool lineFeed);
// The message of the error value on top of L: its text, or "(error with no message)" when it is
// not a string or a number.
const char* LuaErrorMessage(lua_State* L);
