// Hostile scripts: binary chunks are refused, a script that never waits is stopped, memory has a
// ceiling and a close request ends a running script; the game's scripts go on afterwards.
#include "engine/Script/ScriptLibs.h"
#include "engine/Script/ScriptMgr.h"
#include "tests/engine/Script/ScriptTestSupport.h"

#include <lua.hpp>

#include <sys/stat.h>

namespace {

class ScriptLimitsTest : public ScriptTest {
  protected:
    // Counted from every run's first instruction, the budget stops a script at an exact count.
    void SetUp() override {
        ScriptMgrSetArmTick(0);
        ScriptTest::SetUp();
    }
    void TearDown() override {
        ScriptMgrSetArmTick(50);
        ScriptMgrSetBudget(300000000);
        ScriptMgrSetMemoryCap(0);
        ScriptMgrSetCloseCheck(nullptr, nullptr);
        ScriptTest::TearDown();
    }

    // The compiled form of `code`, as string.dump or luac would write it.
    static std::string Bytecode(const char* code) {
        lua_State* L = luaL_newstate();
        std::string out;
        if (luaL_loadstring(L, code) == LUA_OK)
            lua_dump(
                L,
                [](lua_State*, const void* p, size_t n, void* ud) {
                    static_cast<std::string*>(ud)->append(static_cast<const char*>(p), n);
                    return 0;
                },
                &out, 0);
        lua_close(L);
        return out;
    }

    // A script that ran to its end and set done = 1 shows that the manager still works.
    void ExpectScriptsStillRun() {
        LuaScript* after = Run("after.lua", "done = 1");
        EXPECT_FALSE(after->runFailed) << after->errorText;
        EXPECT_EQ(Number("done"), 1);
    }
};

} // namespace

TEST_F(ScriptLimitsTest, BinaryChunksAreRefusedEverywhereAScriptCanLoadCode) {
    const std::string binary = Write("binary.lua", Bytecode("pwned = 1"));
    LuaScript* script = LuaScriptNew();
    EXPECT_EQ(script->RunFile(binary.c_str()), -1);
    EXPECT_EQ(BoxCount("Syntax Error"), 1);
    EXPECT_NE(std::string(script->errorText).find("binary"), std::string::npos)
        << script->errorText;

    LuaOpenSystemLib(ScriptMgrGet()->L);
    Exec("binaryPath = [[" + binary + "]]");
    Run("loads.lua", "local s = string.dump(function() pwned = 1 end)\n"
                     "f1, m1 = load(s)\n"
                     "f2, m2 = load(s, 'x', 'b')\n"
                     "f3, m3 = loadfile(binaryPath, 'bt')\n"
                     "ok4, m4 = pcall(dofile, binaryPath)\n"
                     "System.DoFile(binaryPath)\n"
                     "text = load('return 7')()\n");
    EXPECT_EQ(Number("pwned"), 0) << "a binary chunk ran";
    for (const char* name : {"m1", "m2", "m3", "m4"})
        EXPECT_NE(Text(name).find("binary"), std::string::npos) << name << ": " << Text(name);
    EXPECT_EQ(BoxCount("LuaScript Compile/Load Error"), 1);
    EXPECT_EQ(Number("text"), 7) << "text chunks still load";
}

TEST_F(ScriptLimitsTest, AScriptThatNeverWaitsIsStoppedAsARuntimeError) {
    ScriptMgrSetBudget(2000000);
    LuaScript* loop = Run("loop.lua", "n = 0 while true do n = n + 1 end");
    EXPECT_EQ(loop->mode, SCRIPT_FINISHED);
    EXPECT_TRUE(loop->runFailed);
    EXPECT_NE(std::string(loop->errorText).find("without waiting"), std::string::npos)
        << loop->errorText;
    EXPECT_EQ(BoxCount("LuaScript Runtime Error"), 1);
    EXPECT_GT(Number("n"), 0);
    EXPECT_LT(Number("n"), 2000000) << "more instructions ran than the budget allows";

    // The script's own pcall cannot catch the stop and loop on.
    LuaScript* sly = Run("sly.lua", "while true do pcall(function() while true do end end) end");
    EXPECT_TRUE(sly->runFailed);

    // A menu's call into its script has the same budget.
    LuaScript* menu = Run("menu.lua", "function Create() while true do end end");
    menu->GetGlobal("Create");
    EXPECT_EQ(menu->Call(0, 0), -1);
    ExpectScriptsStillRun();
}

// A match runs where the instruction budget never looks: a pattern that would backtrack for
// ages is refused before it starts, and ordinary ones still work, as methods too.
TEST_F(ScriptLimitsTest, AStringPatternThatWouldRunForAgesIsARuntimeError) {
    LuaScript* hostile = Run("pat.lua", "s = string.rep('a', 30000) "
                                        "string.find(s, string.rep('.-', 20) .. 'b')");
    EXPECT_TRUE(hostile->runFailed);
    EXPECT_NE(std::string(hostile->errorText).find("string pattern too costly"), std::string::npos)
        << hostile->errorText;
    LuaScript* method = Run("m.lua", "s = string.rep('a', 30000) s:gsub('(.-)(.-)b', '')");
    EXPECT_TRUE(method->runFailed);
    Run("ok.lua", "k, v = ('speed = 12'):match('(%w+)%s*=%s*(%w+)') "
                  "n = select(2, ('a,b,c'):gsub(',', ';')) "
                  "at = string.find(string.rep('x', 100000) .. '.*', '.*', 1, true)");
    EXPECT_EQ(Text("k"), "speed");
    EXPECT_EQ(Text("v"), "12");
    EXPECT_EQ(Number("n"), 2);
    EXPECT_EQ(Number("at"), 100001) << "a plain find is no pattern";
    ExpectScriptsStillRun();
}

TEST_F(ScriptLimitsTest, WaitingRenewsTheBudget) {
    ScriptMgrSetBudget(1500000);
    LuaScript* busy = Run("busy.lua", "for i = 1, 5 do local k = 0 for j = 1, 300000 do k = k + 1"
                                      " end WaitFrame(1) end finished = 1");
    Frames(5);
    EXPECT_FALSE(busy->runFailed) << busy->errorText;
    EXPECT_EQ(Number("finished"), 1);
}

TEST_F(ScriptLimitsTest, MemoryPastTheCeilingIsAScriptErrorNotAnAbort) {
    ScriptMgrSetMemoryCap((size_t)16 << 20);
    Run("huge.lua", "ok, message = pcall(string.rep, 'x', 1 << 30)");
    EXPECT_EQ(Text("message"), "not enough memory");
    LuaScript* bomb =
        Run("bomb.lua", "t = {} for i = 1, 1e9 do t[i] = string.rep('x', 100) .. i end");
    EXPECT_TRUE(bomb->runFailed);
    EXPECT_EQ(std::string(bomb->errorText), "not enough memory\n");
    // What the bomb kept is garbage once its global goes; the next scripts run again.
    LuaSetGlobalNil("t");
    lua_gc(ScriptMgrGet()->L, LUA_GCCOLLECT, 0);
    ExpectScriptsStillRun();
}

TEST_F(ScriptLimitsTest, ACloseRequestStopsARunningScriptWithoutABox) {
    int looks = 0;
    ScriptMgrSetCloseCheck([](void* count) { return ++*static_cast<int*>(count) >= 3; }, &looks);
    LuaScript* loop = Run("loop.lua", "while true do end");
    EXPECT_EQ(looks, 3);
    EXPECT_TRUE(loop->runFailed);
    EXPECT_TRUE(ScriptMgrClosing());
    EXPECT_NE(std::string(loop->errorText).find("closing"), std::string::npos) << loop->errorText;
    EXPECT_EQ(BoxCount("LuaScript Runtime Error"), 0) << "nobody is left to close a box";
}

TEST_F(ScriptLimitsTest, ScriptsReadOnlyRegularFilesNeverStandardInputOrAPipe) {
    const std::string fifo = dir / "pipe.lua";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    Exec("pipePath = [[" + fifo + "]]");
    Run("reads.lua", "f1, m1 = loadfile(pipePath)\n"
                     "ok2, m2 = pcall(dofile, pipePath)\n"
                     "f3, m3 = loadfile()\n"
                     "ok4, m4 = pcall(dofile)\n");
    EXPECT_NE(Text("m1").find("not a regular file"), std::string::npos) << Text("m1");
    EXPECT_NE(Text("m2").find("not a regular file"), std::string::npos) << Text("m2");
    EXPECT_NE(Text("m3").find("standard input"), std::string::npos) << Text("m3");
    EXPECT_NE(Text("m4").find("standard input"), std::string::npos) << Text("m4");
    LuaScript* menu = LuaScriptNew();
    EXPECT_EQ(menu->RunFile(fifo.c_str()), -1) << "a menu script that is a pipe blocked the game";
}

// As the game runs them: no hook until the thread's CPU timer finds a run still going; then it
// must reach the coroutine or the script actually running, which may have no hook of its own.
TEST_F(ScriptLimitsTest, TheCpuTimerStopsALoopWhereverItRuns) {
    ScriptMgrSetArmTick(1);
    ScriptMgrSetBudget(1000000);
    LuaScript* plain = Run("plain.lua", "n = 0 while true do n = n + 1 end");
    EXPECT_TRUE(plain->runFailed);
    EXPECT_NE(std::string(plain->errorText).find("without waiting"), std::string::npos)
        << plain->errorText;

    // Coroutines made in an earlier run, two deep; the resume that reaches the loop cannot catch
    // the stop and go on.
    LuaScript* nested = Run("nested.lua", "local outer = coroutine.create(function()\n"
                                          "  local inner = coroutine.wrap(function() while true"
                                          " do end end)\n"
                                          "  coroutine.yield() inner() end)\n"
                                          "coroutine.resume(outer) WaitFrame(1) resumed = 1\n"
                                          "coroutine.resume(outer) caught = 1");
    LuaScript* closer = Run("closer.lua", "local co = coroutine.create(function()\n"
                                          "  local x <close> = setmetatable({}, {__close ="
                                          " function() while true do end end})\n"
                                          "  coroutine.yield() end)\n"
                                          "coroutine.resume(co) WaitFrame(1) closing = 1\n"
                                          "coroutine.close(co) closed = 1");
    Frames(1);
    EXPECT_EQ(Number("resumed"), 1);
    EXPECT_TRUE(nested->runFailed) << "the loop inside the coroutine was not stopped";
    EXPECT_EQ(Number("caught"), 0) << "coroutine.resume caught the stop and the script went on";
    EXPECT_EQ(Number("closing"), 1);
    EXPECT_TRUE(closer->runFailed) << closer->errorText;
    EXPECT_EQ(Number("closed"), 0);

    // A script started by a running one (a menu's) runs on its own thread, which the timer must
    // hook; the run that started it has spent its budget waiting for it.
    static std::string s_loopPath;
    static LuaScript* s_started;
    s_loopPath = Write("started.lua", "while true do end");
    lua_register(ScriptMgrGet()->L, "StartLoop", [](lua_State*) {
        s_started = LuaScriptNew();
        s_started->RunFile(s_loopPath.c_str());
        return 0;
    });
    Run("starter.lua", "StartLoop()");
    EXPECT_TRUE(s_started->runFailed) << "the started script's loop was not stopped";
    ExpectScriptsStillRun();
}

// The code Lua runs when a thread is cleaned up after an error, or on collection, is a script's
// too and must not hang the game: to-be-closed variables are closed under the budget, and
// finalizers, which no hook reaches, cannot be made at all.
TEST_F(ScriptLimitsTest, CleanUpCodeCannotHangTheGame) {
    ScriptMgrSetBudget(1000000);
    LuaScript* closer = Run("closer.lua", "local x <close> = setmetatable({}, {__close ="
                                          " function() while true do end end}) error('first')");
    EXPECT_TRUE(closer->runFailed);
    EXPECT_NE(std::string(closer->errorText).find("first"), std::string::npos) << closer->errorText;

    Run("gc.lua", "ok1, m1 = pcall(setmetatable, {}, {__gc = function() while true do end end})\n"
                  "ok2, m2 = pcall(setmetatable, {}, {__gc = false})\n"
                  "collectgarbage()\n"
                  "kept = setmetatable({}, {__index = {x = 5}}).x");
    EXPECT_NE(Text("m1").find("__gc"), std::string::npos) << Text("m1");
    EXPECT_NE(Text("m2").find("__gc"), std::string::npos) << Text("m2");
    EXPECT_EQ(Number("kept"), 5) << "other metatables must still work";
    ExpectScriptsStillRun();
}
