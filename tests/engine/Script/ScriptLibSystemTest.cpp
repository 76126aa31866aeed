// The System library: debugger output, asserts and DoFile, as scripts see them.
#include "engine/Script/ScriptLibs.h"
#include "engine/Script/ScriptMgr.h"
#include "engine/System.h"
#include "tests/engine/Script/ScriptTestSupport.h"

#include <cstring>
#include <utility>
#include <vector>

namespace {
class ScriptSystem : public ScriptTest {
  protected:
    void SetUp() override {
        ScriptTest::SetUp();
        LuaOpenSystemLib(ScriptMgrGet()->L);
    }
};
} // namespace

TEST_F(ScriptSystem, OutputDebugStringPrintsTheTextUnchanged) {
    Run("out.lua", "System.OutputDebugString('100%s%n') System.OutputDebugString(12)");
    EXPECT_NE(Boxes().find("100%s%n12"), std::string::npos) << "script text must not be a format";
}

TEST_F(ScriptSystem, AssertFailsOnNilOnlyAndKeepsACutMessage) {
    LuaScript* s = Run("a.lua", "System.Assert(false, 'x') System.Assert(0) after = 1");
    EXPECT_EQ(Number("after"), 1);
    EXPECT_EQ(BoxCount("LUA Assert Triggered"), 0) << "false is not nil: it passes";

    Run("b.lua", "System.Assert(nil)");
    EXPECT_NE(Boxes().find("[LUA Assert Triggered] No error message specified."),
              std::string::npos);

    s = Run("c.lua", "System.Assert(nil, string.rep('m', 200)) after = 2");
    EXPECT_EQ(std::strlen(s->errorText), 127u) << "the message is cut to the error text";
    EXPECT_EQ(Number("after"), 2) << "an assert shows its box and the script goes on";
    EXPECT_EQ(BoxCount("LUA Assert Triggered"), 2);
}

TEST_F(ScriptSystem, DoFileRunsAtOnceAndReportsFailuresWhileTheCallerGoesOn) {
    Write("lib.lua", "libValue = (libValue or 0) + 5");
    Write("broken.lua", "if then");
    Write("waits.lua", "WaitFrame(1) neverHere = 1");
    Write("fails.lua", "error({})");
    std::string d = dir.Path();
    LuaScript* s = Run("main.lua", "System.DoFile('" + d +
                                       "LIB.lua') a = libValue "
                                       "System.DoFile('" +
                                       d +
                                       "broken.lua') "
                                       "System.DoFile('" +
                                       d +
                                       "waits.lua') "
                                       "System.DoFile('" +
                                       d +
                                       "fails.lua') "
                                       "System.DoFile('" +
                                       d + "missing.lua') b = 1 WaitFrame(1) c = 1");
    EXPECT_EQ(Number("a"), 5) << "the file runs before DoFile returns (its name found in any case)";
    EXPECT_EQ(Number("b"), 1);
    EXPECT_EQ(Number("neverHere"), 0);
    std::string boxes = Boxes();
    EXPECT_EQ(BoxCount("LuaScript Compile/Load Error"), 4) << boxes;
    EXPECT_NE(boxes.find("attempt to yield across a C-call boundary"), std::string::npos) << boxes;
    EXPECT_NE(boxes.find("(error with no message)"), std::string::npos);
    EXPECT_EQ(s->mode, SCRIPT_WAIT_FRAMES)
        << "a failed wait inside DoFile must not change the mode";
    Frames(1);
    EXPECT_EQ(Number("c"), 1);
}

namespace {
std::vector<std::pair<int, int>> s_beeps;
void RecordBeep(int frequency, int milliseconds) {
    s_beeps.emplace_back(frequency, milliseconds);
}
} // namespace

TEST_F(ScriptSystem, BeepAndConsoleBeepReachTheSystemBeep) {
    s_beeps.clear();
    SysSetBeepHook(RecordBeep);
    Run("beep.lua", "Beep(440, 120) System.ConsoleBeep(880, 30) after = 1");
    SysSetBeepHook(nullptr);
    EXPECT_EQ(Number("after"), 1);
    ASSERT_EQ(s_beeps.size(), 2u) << "each script beep must play the tone, not only log it";
    EXPECT_EQ(s_beeps[0], std::make_pair(440, 120));
    EXPECT_EQ(s_beeps[1], std::make_pair(880, 30));
}
