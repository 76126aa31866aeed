// The scheduler: when waiting scripts resume, svars, the script lifecycle, menu calls into a
// script and how errors are reported.
#include "engine/Script/ScriptMgr.h"
#include "engine/DebugLog.h"
#include "tests/engine/Script/ScriptTestSupport.h"

#include <lua.hpp>

#include <cstring>

// ---- waits ----

TEST_F(ScriptTest, WaitFrameResumesAfterItsCountAndAtLeastOneFrame) {
    Run("one.lua", "WaitFrame(1) one = 1");
    Run("three.lua", "WaitFrame(3) three = 1");
    Run("zero.lua", "WaitFrame(0) zero = 1");
    Run("neg.lua", "WaitFrame(-3) neg = 1");
    EXPECT_EQ(Number("one"), 0) << "a wait must suspend the script";
    Frames(1);
    EXPECT_EQ(Number("one"), 1);
    EXPECT_EQ(Number("zero"), 1) << "a count of 0 must wait one frame, not wrap into a hang";
    EXPECT_EQ(Number("neg"), 1);
    EXPECT_EQ(Number("three"), 0);
    Frames(1);
    EXPECT_EQ(Number("three"), 0);
    Frames(1);
    EXPECT_EQ(Number("three"), 1);
}

TEST_F(ScriptTest, TimeWaitsFollowTheScriptsOwnClock) {
    LuaScript* sec = Run("sec.lua", "WaitSec(1.5) WaitSec(2) sec = 1");
    Run("abs.lua", "WaitTime(0.95) abs = 1");
    Frames(2, 0.5f); // script time 1.0
    EXPECT_EQ(Number("abs"), 1) << "WaitTime targets an absolute script time";
    Frames(1, 0.5f); // 1.5: the second wait starts here, target 3.5
    EXPECT_FLOAT_EQ(sec->targetTime, 3.5f);
    Frames(3, 0.5f); // 3.0
    EXPECT_EQ(Number("sec"), 0);
    Frames(1, 0.5f); // 3.5
    EXPECT_EQ(Number("sec"), 1);
}

TEST_F(ScriptTest, WaitSvarTrueSeesAnotherScriptsSharedSvar) {
    LuaScript* waiter = Run("wait.lua", "WaitSvarTrue(70) woke = GetSvar(70)");
    Frames(3);
    EXPECT_EQ(Number("woke"), 0);
    Run("set.lua", "SetSvar(70, 1)");
    EXPECT_EQ(waiter->mgr->svars[6], 1) << "svar 70 is shared svar 6";
    Frames(1);
    EXPECT_EQ(Number("woke"), 1);
}

TEST_F(ScriptTest, OwnSvarsAreSeparateAndOutOfRangeOnesIgnored) {
    LuaScript* a = Run("a.lua", "SetSvar(5, 11) IncSvar(5) SetSvar(200, 9) a200 = GetSvar(200)"
                                " SetSvar(-1, 9) SetSvar(127, 4) WaitFrame(1) a5 = GetSvar(5)");
    LuaScript* b = Run("b.lua", "b5 = GetSvar(5) SetSvar(5, 3) DecSvar(5) WaitSeconds(5)"
                                " b127 = GetSvar(127)");
    EXPECT_EQ(a->svars[5], 12);
    EXPECT_EQ(b->svars[5], 1) << "WaitSeconds counts down like DecSvar and does not wait";
    EXPECT_EQ(Number("b5"), 0) << "svars 0..63 belong to each script";
    EXPECT_EQ(Number("b127"), 4) << "svars 64..127 are shared";
    EXPECT_EQ(Number("a200"), 0);
    EXPECT_EQ(b->mode, SCRIPT_FINISHED);
    Frames(1);
    EXPECT_EQ(Number("a5"), 12);
}

TEST_F(ScriptTest, ResumeValueIsTheWaitsResultAndOtherModesWait) {
    LuaScript* s = Run("r.lua", "got = WaitFrame(100)");
    s->Resume(42);
    EXPECT_EQ(Number("got"), 42);
    EXPECT_EQ(s->mode, SCRIPT_FINISHED);

    LuaScript* held = Run("held.lua", "WaitFrame(1) done = 1");
    for (int mode : {3, 4, 5}) {
        held->mode = mode;
        Frames(5);
        EXPECT_EQ(Number("done"), 0) << "mode " << mode << " must never resume by itself";
    }
}

TEST_F(ScriptTest, AWaitInsideAProtectedCallFailsWithoutChangingTheMode) {
    // gsub calls its function from C without a continuation: no yield can cross it.
    LuaScript* s =
        Run("p.lua", "ok, msg = pcall(string.gsub, 'a', 'a', function() WaitFrame(1) end)"
                     " after = 1 WaitFrame(1) done = 1");
    EXPECT_EQ(Number("after"), 1);
    EXPECT_NE(Text("msg").find("yield"), std::string::npos) << Text("msg");
    EXPECT_EQ(s->mode, SCRIPT_WAIT_FRAMES);
    Frames(1);
    EXPECT_EQ(Number("done"), 1);
}

// ---- lifecycle ----

TEST_F(ScriptTest, FinishedAutoDeletingScriptsGoAtTheNextUpdate) {
    DbgSetLogFile((dir / "Debug.txt").c_str());
    DbgSetLevelMask(DBG_ENTITY);
    DbgSetOutputMask(DBG_OUT_FILE);
    ScriptMgr* mgr = ScriptMgrGet();
    Run("Startup.lua", "x = 1", true);
    Run("Later.lua", "WaitFrame(2)", true);
    LuaScript* kept = Run("Menu.lua", "y = 1", false);
    LuaScript* missing = LuaScriptNew();
    missing->SetAutoDelete(1);
    EXPECT_EQ(missing->RunFile((dir / "Gone.lua").c_str()), -1);
    EXPECT_EQ(missing->mode, SCRIPT_FRESH);
    EXPECT_EQ(mgr->count, 4);
    Frames(1);
    EXPECT_EQ(mgr->count, 2) << "the finished script and the one whose file is missing go";
    Frames(1);
    EXPECT_EQ(mgr->count, 2) << "the waiting one resumed this frame and goes at the next";
    Frames(1);
    EXPECT_EQ(mgr->count, 1);
    EXPECT_EQ(mgr->scripts, kept) << "a script without auto-delete stays listed";
    std::string log = ReadTextFile(dir / "Debug.txt");
    EXPECT_NE(log.find("SCRIPT::Auto deleting " + (dir / "Startup.lua") + "\n"), std::string::npos)
        << log;
    EXPECT_NE(log.find("Gone.lua\n"), std::string::npos);
    DbgSetLevelMask(0);
    DbgSetOutputMask(0);
}

TEST_F(ScriptTest, ReleasedScriptsAreFreedAndNeverResumed) {
    ScriptMgr* mgr = ScriptMgrGet();
    LuaScript* waiting = Run("Waits.lua", "WaitFrame(2) woke = 1", false);
    LuaScript* missing = LuaScriptNew();
    EXPECT_EQ(missing->RunFile((dir / "Gone.lua").c_str()), -1);
    LuaScript* done = Run("Done.lua", "z = 1", false);
    EXPECT_EQ(mgr->count, 3);
    Frames(1);
    EXPECT_EQ(mgr->count, 3) << "scripts without auto-delete must stay until released";
    waiting->Release();
    missing->Release();
    done->Release();
    Frames(5);
    EXPECT_EQ(mgr->count, 0) << "a released script stayed listed";
    EXPECT_EQ(Number("woke"), 0) << "a released script resumed";
}

TEST_F(ScriptTest, MenuCallsReachCreateInEveryStateOfTheScript) {
    int menu = 0;
    const char* create = "function Create(m) created = (created or 0) + 1 who = m end ";
    LuaScript* finished = Run("Done.lua", create);
    LuaScript* failed = Run("Failed.lua", std::string(create) + "error('late')");
    LuaScript* waiting = Run("Waiting.lua", std::string(create) + "WaitFrame(5)");
    EXPECT_EQ(failed->mode, SCRIPT_FINISHED);
    for (LuaScript* s : {finished, failed, waiting}) {
        int before = lua_gettop(s->thread);
        s->GetGlobal("Create");
        s->PushPtr(&menu);
        EXPECT_EQ(s->Call(1, 0), 0) << s->fileName;
        EXPECT_EQ(lua_gettop(s->thread), before) << "a call leaves nothing behind on the thread";
        EXPECT_EQ(s->callThreadRef, -1) << "a helper thread is released after its call";
    }
    EXPECT_EQ(Number("created"), 3);
    lua_State* L = ScriptMgrGet()->L;
    lua_getglobal(L, "who");
    EXPECT_EQ(lua_touserdata(L, -1), &menu);
    lua_pop(L, 1);
    EXPECT_EQ(waiting->mode, SCRIPT_WAIT_FRAMES) << "a call must not disturb a waiting script";
    Frames(5);
    EXPECT_EQ(waiting->mode, SCRIPT_FINISHED);
}

TEST_F(ScriptTest, AnErrorInCreateIsReportedAndTheMenuGoesOn) {
    LuaScript* s = Run("Menu.lua", "function Create(m) error('bad layout 100%d') end "
                                   "function Other() WaitFrame(1) end");
    s->GetGlobal("Create");
    s->PushPtr(nullptr);
    EXPECT_EQ(s->Call(1, 0), -1);
    EXPECT_NE(Boxes().find("[LuaScript Runtime Error]"), std::string::npos);
    EXPECT_NE(std::string(s->errorText).find("bad layout 100%d\n"), std::string::npos);
    s->GetGlobal("Other");
    EXPECT_EQ(s->Call(0, 0), -1) << "a call cannot wait: it must fail, not suspend";
    s->GetGlobal("Missing");
    EXPECT_EQ(s->Call(0, 0), -1);
    EXPECT_EQ(BoxCount("LuaScript Runtime Error"), 3);
    EXPECT_EQ(s->mode, SCRIPT_FINISHED);
}

// ---- errors ----

TEST_F(ScriptTest, SyntaxErrorsAreShownAndNothingRuns) {
    LuaScript* s = Run("Broken.lua", "ran = 1\nif then");
    EXPECT_EQ(s->mode, SCRIPT_FRESH);
    EXPECT_EQ(Number("ran"), 0);
    std::string boxes = Boxes();
    EXPECT_NE(boxes.find("[Syntax Error]"), std::string::npos);
    EXPECT_NE(boxes.find("Broken.lua:2:"), std::string::npos) << boxes;

    LuaScript* missing = LuaScriptNew();
    EXPECT_EQ(missing->RunFile((dir / "Nowhere.lua").c_str()), -1);
    EXPECT_NE(std::string(missing->errorText).find("cannot open"), std::string::npos);
    Frames(2);
    EXPECT_EQ(ScriptMgrGet()->count, 2) << "scripts without auto-delete stay listed";
}

// A menu opened again and again runs its script each time: a missing or broken file is named
// once, and a file that cannot be read is not called a syntax error.
TEST_F(ScriptTest, AScriptThatCannotBeLoadedIsReportedOncePerFault) {
    const std::string nowhere = (dir / "Nowhere.lua");
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(LuaScriptNew()->RunFile(nowhere.c_str()), -1);
    EXPECT_EQ(BoxCount("LuaScript Compile/Load Error"), 1) << Boxes();
    EXPECT_EQ(BoxCount("Syntax Error"), 0) << "a missing file has no syntax: " << Boxes();
    EXPECT_NE(Boxes().find("cannot open " + nowhere), std::string::npos) << Boxes();

    for (int i = 0; i < 3; ++i)
        Run("Broken.lua", "if then");
    EXPECT_EQ(BoxCount("Syntax Error"), 1) << Boxes();
    Run("Broken.lua", "ran = 1\nif then"); // edited, and broken elsewhere: a new fault
    EXPECT_EQ(BoxCount("Syntax Error"), 2) << Boxes();
}

TEST_F(ScriptTest, RuntimeErrorsFinishTheScriptAndKeepTheirText) {
    LuaScript* s = Run("Fail.lua", "WaitFrame(1) error('boom 100%s%n')");
    Frames(1);
    EXPECT_EQ(s->mode, SCRIPT_FINISHED);
    std::string text = s->errorText;
    EXPECT_NE(text.find("boom 100%s%n\n"), std::string::npos) << text;
    EXPECT_NE(Boxes().find("[LuaScript Runtime Error]"), std::string::npos);
    EXPECT_NE(Boxes().find("boom 100%s%n"), std::string::npos) << "an error text is no format";

    LuaScript* table = Run("Table.lua", "error({})");
    EXPECT_STREQ(table->errorText, "(error with no message)\n");

    LuaScript* longer = Run("Long.lua", "error(string.rep('x', 300), 0)");
    EXPECT_EQ(std::strlen(longer->errorText), 127u);
    EXPECT_EQ(longer->errorText[126], '\n') << "a cut error text still ends its line";
    Frames(3);
}

TEST_F(ScriptTest, CoroutinesAScriptMakesAreNotScripts) {
    LuaScript* s = Run("co.lua", "ok, msg = coroutine.resume(coroutine.create(function() "
                                 "SetSvar(1, 5) WaitFrame(1) end)) after = 1");
    EXPECT_EQ(Number("after"), 1);
    EXPECT_NE(Text("msg").find("not called from a script"), std::string::npos) << Text("msg");
    EXPECT_EQ(s->svars[1], 0);
    EXPECT_EQ(s->mode, SCRIPT_FINISHED) << "the inner wait must not set the outer script's mode";
}

TEST_F(ScriptTest, GlobalsSetFromTheEngineAreVisibleToScripts) {
    int object = 0;
    LuaSetGlobalNumber(3, "C_OK");
    LuaSetGlobalPtr(&object, "EcThing");
    Run("g.lua", "ok = C_OK + 1 same = (EcThing ~= nil) and type(EcThing) == 'userdata'");
    EXPECT_EQ(Number("ok"), 4);
    EXPECT_EQ(Exec("assert(same)"), "");
    EXPECT_EQ(Exec("assert(io == nil and os == nil and package == nil and string and coroutine)"),
              "")
        << "scripts get no file or process access beyond the base library";
}

TEST_F(ScriptTest, ScriptsRunOnTheNewerLanguageWithoutTheOldIdioms) {
    Run("v.lua", "half = tostring(6 / 2) whole = tostring(6 // 2) "
                 "old = (unpack == nil and loadstring == nil and table == nil) and 1 or 0");
    EXPECT_EQ(Text("half"), "3.0") << "a division makes a float, which prints with its point";
    EXPECT_EQ(Text("whole"), "3");
    EXPECT_EQ(Number("old"), 1);
    LuaScript* s = Run("getn.lua", "n = table.getn({1, 2})");
    EXPECT_EQ(s->mode, SCRIPT_FINISHED);
    EXPECT_NE(Boxes().find("[LuaScript Runtime Error]"), std::string::npos);
}

TEST_F(ScriptTest, ReturnAndMakeAbortableLetTheScriptGoOn) {
    LuaScript* s = Run("a.lua", "Script.Return(1, 'two') MakeAbortable() after = 1");
    EXPECT_EQ(Number("after"), 1);
    EXPECT_EQ(ScriptMgrGet()->abortable, s);
    EXPECT_NE(Exec("SetSvar(1, 1)"), "") << "svars outside a script are an error, not a crash";
}
