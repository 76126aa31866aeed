// The game's frame, its drawing, the small operations and the shutdown, traced through doubles
// of the classes not built yet and of the editor.
#include "tests/harness/GameAppFixture.h"

#include "I3d/Device.h"
#include "I3d/SpriteBatch.h"
#include "engine/DebugLog.h"
#include "engine/FrameClock.h"
#include "engine/Input/SlInput.h"
#include "engine/Script/ScriptMgr.h"
#include "engine/Sound/Sound.h"
#include "game/Ents/AttrBase.h"
#include "platform/d3d8/D3d8.h"
#include "world/StaticObject.h"

#include <algorithm>
#include <cstdio>

namespace {
class GameFrameTest : public GameAppTest {
  protected:
    // The root tree over doubles, a script that counts the frames it is resumed in (svar 64),
    // and two world entities, one of them the keyboard entity.
    void StartWithTree(bool withEditor = true) {
        g_makeEditor = [this, withEditor]() -> Editor* {
            RegisterRootDoubles(); // the entity system is up by the editor's turn
            return withEditor ? (editor = new EditorDouble) : nullptr;
        };
        WriteStartup(std::string(kRegisterAll) +
                     "Game.CreateEntityTree()\n"
                     "while true do Script.IncSvar(64) Script.WaitFrame(1) end\n");
        Start();
        game = static_cast<GameDouble*>(app.game.Get());
        menuRoot = static_cast<GameDouble*>(app.menuRoot.Get());
        ASSERT_TRUE(game && menuRoot && app.GetWorld());
        keys = MakeProbe(app.GetWorld(), "Keys");
        thing = MakeProbe(app.GetWorld(), "Thing");
        app.SetKeyboardEntity(keys);
        g_journal.clear();
    }
    static void Key(SDL_Scancode code, bool down) {
        SDL_Event e{};
        e.type = down ? SDL_KEYDOWN : SDL_KEYUP;
        e.key.keysym.scancode = code;
        SDL_PushEvent(&e);
    }
    // Position of the first journal entry that starts with `prefix`; -1 when none.
    static int At(const std::string& prefix) {
        for (size_t i = 0; i < g_journal.size(); ++i)
            if (g_journal[i].rfind(prefix, 0) == 0) return (int)i;
        return -1;
    }
    static std::vector<std::pair<int, intptr_t>> Heard(const GameDouble* e) {
        std::vector<std::pair<int, intptr_t>> out;
        for (const SlEvent& ev : e->heard)
            out.emplace_back(ev.type, ev.type == SL_PADSTATE ? ev.b : ev.a);
        return out;
    }

    TestClock clock;
    EditorDouble* editor = nullptr;
    GameDouble *game = nullptr, *menuRoot = nullptr, *keys = nullptr, *thing = nullptr;
};
} // namespace

TEST_F(GameFrameTest, TheFrameRunsClockScriptsInputEntitiesThenTheEditor) {
    StartWithTree();
    int scriptFrames = -1;
    size_t heardBeforeUpdate = 0, editorBeforeUpdate = 99;
    int chaserBeforeEntities = -1;
    int staticChaserBeforeEntities = -1;
    const int staticChaser = StaticObjectFlashCounter();
    AttrClassReset();
    game->onUpdate = [&](TestEnt*) {
        scriptFrames = ScriptMgrGet()->svars[0];
        chaserBeforeEntities = AttrFlashCounterB();
        staticChaserBeforeEntities = StaticObjectFlashCounter();
        heardBeforeUpdate = menuRoot->heard.size();
        editorBeforeUpdate = editor->updates.size();
    };
    app.SetClockSpeed(2.0f);
    SlPostEvent(SL_KEYDOWN, 28, 0); // Enter, which is also the menus' select
    clock.AdvanceMs(250);
    app.Update();

    ASSERT_EQ(game->steps.size(), 1u);
    EXPECT_NEAR(game->steps[0], 0.066f, 1e-6f) << "a long frame: 33 ms at twice the speed";
    EXPECT_EQ(editor->updates, std::vector<float>{0.25f}) << "the editor runs in real time";
    EXPECT_FLOAT_EQ(g_frameSeconds, 0.25f);
    EXPECT_FLOAT_EQ(g_totalSeconds, 0.25f);
    EXPECT_EQ(scriptFrames, 2) << "the scripts run before the entities";
    EXPECT_EQ(chaserBeforeEntities, 3) << "the light chasers step by the game step (66 ms at "
                                          "1/60 s a step) before the entities";
    EXPECT_EQ(staticChaserBeforeEntities, (staticChaser + 1) % 32)
        << "the static objects' chaser steps once a frame, before the entities";
    EXPECT_EQ(heardBeforeUpdate, menuRoot->heard.size()) << "input comes before the entities";
    EXPECT_EQ(editorBeforeUpdate, 0u) << "the editor comes last";
    EXPECT_EQ(g_journal.back(), "EditorUpdate");

    // The queued key, the four pads' states, then the key's menu command.
    const std::vector<std::pair<int, intptr_t>> events = {{SL_KEYDOWN, 28}, {SL_PADSTATE, 0},
                                                          {SL_PADSTATE, 1}, {SL_PADSTATE, 2},
                                                          {SL_PADSTATE, 3}, {SL_MENUSELECT, 0}};
    EXPECT_EQ(Heard(menuRoot), events);
    EXPECT_EQ(Heard(keys), events) << "the keyboard entity hears every event after the menus";
    EXPECT_TRUE(thing->heard.empty()) << "the world never hears input";
    EXPECT_EQ(menuRoot->heard[1].a, reinterpret_cast<intptr_t>(SlPadGetState(0)));
    int firstUpdate = At("Update:");
    for (size_t i = 0; i < g_journal.size(); ++i)
        if (g_journal[i] == "Message:Keys") {
            EXPECT_EQ(g_journal[i - 1], "Message:Mouse") << "the menus' subtree hears it first";
            EXPECT_LT((int)i, firstUpdate);
        }
    EXPECT_NE(std::find(g_journal.begin(), g_journal.end(), "Update:Thing"), g_journal.end());
}

TEST_F(GameFrameTest, RenderDrawsTheViewportsThenTheMenusAndPresentsEvenAfterAFailedBegin) {
    StartWithTree();
    GameDouble* inViewports = MakeProbe(app.GetViewports(), "VpThing");
    GameDouble* inMenus = MakeProbe(app.GetMenus(), "MenuThing");
    inViewports->SetFlag(ENT_FLAG_DRAWPOST);
    inMenus->SetFlag(ENT_FLAG_DRAWPOST);
    thing->SetFlag(ENT_FLAG_DRAWPOST);

    g_journal.clear();
    app.Render();
    // Each child of the viewports walks its first pass and then its second (where patrons and
    // carnies draw) before the menus; the menus have only their first.
    EXPECT_EQ(Journal(),
              "DrawPre:VpThing Draw:VpThing DrawPre:MenuRoot DrawPre:MenuThing DrawPre:Mouse")
        << "no editor pass unless the editor asks";
    editor->wantsPass = true;
    g_journal.clear();
    app.Render();
    EXPECT_EQ(Journal(), "DrawPre:VpThing Draw:VpThing DrawPre:MenuRoot DrawPre:MenuThing "
                         "DrawPre:Mouse Draw:VpThing Draw:MenuThing")
        << "the editor's pass after both";

    // A scene already under way makes the begin fail; a lost device makes the present fail.
    ASSERT_EQ(D3dBeginScene(), 0);
    D3dTestLoseDevice(D3dDevice());
    g_journal.clear();
    app.Render();
    EXPECT_EQ(Journal(), "") << "drawn without a scene";
    EXPECT_EQ(app.deviceLost, 1) << "the frame was not presented, or its failure went unnoticed";
    D3dEndScene();
    // The loop resets the device; the game's default-pool buffers go and come back.
    Frame();
    Frame();
    EXPECT_EQ(app.deviceLost, 0);
    g_journal.clear();
    Frame();
    EXPECT_NE(At("DrawPre:VpThing"), -1) << "no drawing after the reset";
}

TEST_F(GameFrameTest, ClockSpeedMouseScaleAndClearingTheScene) {
    StartWithTree();
    app.SetClockSpeed(1.5f);
    EXPECT_EQ(app.clock->scale, 1536);
    app.OnResize(800, 600);
    EXPECT_FLOAT_EQ(app.mouseScaleX, 1.28f);
    EXPECT_FLOAT_EQ(app.mouseScaleY, 1.28f);

    MakeProbe(app.GetViewports(), "VpThing");
    g_journal.clear();
    app.ClearScene();
    EXPECT_EQ(EntTreeCount(app.GetViewports()), 1) << "the world viewports were kept";
    EXPECT_EQ(EntTreeCount(app.GetWorld()), 1) << "the world was kept";
    EXPECT_EQ(app.keyboardEntity, nullptr);
    EXPECT_NE(At("Reset:Probe"), -1) << "the classes were not reset";
    EXPECT_LT(At("Destroy:Thing"), At("Reset:")) << "classes reset before the scene emptied";
    EXPECT_NE(app.GetMenus(), nullptr) << "the menus belong to the game, not to the scene";
    Frame();
}

TEST_F(GameFrameTest, CtrlF1NeedsAWindowAndTheEditorOnly) {
    StartWithTree();
    auto press = [&] {
        Key(SDL_SCANCODE_LCTRL, true);
        Key(SDL_SCANCODE_F1, true);
        Frame();
        Key(SDL_SCANCODE_F1, false);
        Key(SDL_SCANCODE_LCTRL, false);
        Frame();
    };
    app.debug = 1;
    app.windowed = 0;
    press();
    EXPECT_EQ(editor->enters, 0) << "full screen";
    app.windowed = 1;
    Editor* held = app.editor;
    app.editor = nullptr;
    press();
    app.editor = held;
    EXPECT_EQ(editor->enters, 0) << "no editor";
    app.debug = 0;              // the configuration's debug switch has no say
    Key(SDL_SCANCODE_F1, true); // F1 alone
    Frame();
    Key(SDL_SCANCODE_F1, false);
    EXPECT_EQ(editor->enters, 0);
    press();
    EXPECT_EQ(editor->enters, 1);
    EXPECT_EQ(editor->editedRoot, app.GetRoot());
    EXPECT_EQ(app.keepSystemCursor, 1) << "the editor needs the system cursor";
    // The right Control, pressed and let go within the frame of F1.
    Key(SDL_SCANCODE_RCTRL, true);
    Key(SDL_SCANCODE_F1, true);
    Key(SDL_SCANCODE_RCTRL, false);
    Key(SDL_SCANCODE_F1, false);
    Frame();
    EXPECT_EQ(editor->enters, 2);
}

// A keyboard entity destroyed behind the game's back is forgotten, never called.
TEST_F(GameFrameTest, ADestroyedKeyboardEntityIsForgotten) {
    StartWithTree();
    EntDestroyTree(keys);
    SlPostEvent(SL_KEYDOWN, 57, 0);
    Frame();
    EXPECT_EQ(app.keyboardEntity, nullptr);

    // Destroyed by the menus while an event is on its way to it.
    GameDouble* next = MakeProbe(app.GetWorld(), "Keys2");
    app.SetKeyboardEntity(next);
    menuRoot->onMessage = [&](TestEnt*) {
        if (EntIsLive(next)) EntDestroyTree(next);
    };
    SlPostEvent(SL_KEYDOWN, 57, 0);
    Frame();
    EXPECT_EQ(app.keyboardEntity, nullptr);
    EXPECT_EQ(At("Message:Keys2"), -1);
}

// A new entity made where the destroyed keyboard entity was is not the keyboard entity.
TEST_F(GameFrameTest, TheKeyboardLinkDoesNotPassToANewEntityAtTheSameAddress) {
    StartWithTree();
    ASSERT_EQ(EntCreateClass(RebornProc, 0, 0), 0);
    ENTBASE* old = EntCreateChild("Reborn", app.GetWorld());
    app.SetKeyboardEntity(old);
    old->Destroy();
    ENTBASE* next = EntCreateChild("Reborn", app.GetWorld());
    ASSERT_EQ(next, old);
    next->SetName("Next");
    g_journal.clear();
    SlPostEvent(SL_KEYDOWN, 57, 0);
    Frame();
    EXPECT_EQ(At("Message:Next"), -1) << "the keyboard link followed the address";
    EXPECT_EQ(app.keyboardEntity, nullptr);
}

TEST_F(GameFrameTest, ShutdownEmptiesTheSceneThenTheToolsThenTheTreeThenTheServices) {
    StartWithTree();
    MakeProbe(app.GetViewports(), "VpThing");
    MakeProbe(app.GetMenus(), "MenuThing");
    const std::string log = m_dir / "Debug.txt";
    app.debug = 1;
    DbgSetLogFile(log.c_str());
    DbgSetOutputMask(DBG_OUT_FILE);
    DbgSetLevelMask(0xFFFFFFFFu);
    g_journal.clear();
    app.AppShutdown();

    const char* const order[] = {
        "Destroy:VpThing",   "Destroy:Thing", "Reset:",           "EditorDelete",
        "Destroy:MenuThing", "Destroy:Game",  "Destroy:MenuRoot", "Unregister:"};
    for (size_t i = 1; i < std::size(order); ++i)
        EXPECT_LT(At(order[i - 1]), At(order[i])) << order[i - 1] << " before " << order[i];
    EXPECT_EQ(At(order[0]), 0) << "the keyboard entity's world goes first";
    EXPECT_EQ(app.keyboardEntity, nullptr);
    EXPECT_TRUE(!app.root && !app.game && !app.world && !app.viewports && !app.menus);
    EXPECT_TRUE(!app.editor && !app.debugFont && !app.clock && !app.scripts);
    EXPECT_FALSE(SndIsOpen());
    EXPECT_EQ(I3dSpriteBatchGet(), nullptr);

    std::string text = ReadTextFile(log);
    size_t last = text.rfind("Debug Session stopped ");
    ASSERT_NE(last, std::string::npos) << text;
    int mo, d, y, h, mi, s;
    char end = 0;
    EXPECT_EQ(std::sscanf(text.c_str() + last, "Debug Session stopped %2d/%2d/%4d %2d:%2d:%2d%c",
                          &mo, &d, &y, &h, &mi, &s, &end),
              7);
    EXPECT_EQ(end, '\n');
    EXPECT_EQ(text.find('\n', last), text.size() - 1) << "the stop line is the log's last";
}

// Minimised (and the focus gone with it) under the loop's own path: set to run while inactive,
// the game's clock and entities go on and nothing is drawn until the window comes back; not set,
// the loop sleeps and the day stands still.
class MinimisedGameTest : public GameFrameTest, public ::testing::WithParamInterface<int> {};

TEST_P(MinimisedGameTest, TheGameRunsOnOnlyWhenSetToRunWhileInactive) {
    const int runOn = GetParam();
    WriteConfig("[Xq Config]\nrunHwConfig=0\nrunWhileInactive=" + std::to_string(runOn) + "\n");
    StartWithTree(false);
    ASSERT_EQ(app.runWhileInactive, uint32_t(runOn));
    auto windowEvent = [](SDL_WindowEventID id) {
        SDL_Event e{};
        e.type = SDL_WINDOWEVENT;
        e.window.event = id;
        SDL_PushEvent(&e);
    };
    auto steps = [&](int n) {
        for (int i = 0; i < n; ++i) {
            clock.AdvanceMs(33);
            app.AppLoopStep();
        }
    };
    steps(3);
    const uint32_t before = app.clock->scaledElapsedMs;
    const size_t updatesBefore = thing->steps.size();
    int drawsWhileMinimised = -1;
    host.onWait = [&] {
        drawsWhileMinimised = At("DrawPre:");
        windowEvent(SDL_WINDOWEVENT_RESTORED);
    };
    windowEvent(SDL_WINDOWEVENT_MINIMIZED);
    windowEvent(SDL_WINDOWEVENT_FOCUS_LOST);
    g_journal.clear();
    steps(12); // two events, then ten passes
    if (runOn) {
        EXPECT_EQ(host.waits, 0) << "the loop slept while minimised";
        EXPECT_GE(app.clock->scaledElapsedMs - before, 10u * 33u) << "the game clock stood still";
        EXPECT_EQ(thing->steps.size(), updatesBefore + 10) << "the world stopped updating";
        EXPECT_EQ(At("DrawPre:"), -1) << "a minimised window was drawn";
        windowEvent(SDL_WINDOWEVENT_RESTORED);
        steps(2);
        EXPECT_NE(At("DrawPre:"), -1) << "the restored window is not drawn";
    } else {
        EXPECT_EQ(host.waits, 1);
        EXPECT_EQ(drawsWhileMinimised, -1);
        EXPECT_EQ(thing->steps.size() - updatesBefore, size_t(12 - 3))
            << "updates before the minimise was heard or after the restore only";
    }
    EXPECT_TRUE(app.active);
}

INSTANTIATE_TEST_SUITE_P(RunWhileInactive, MinimisedGameTest, ::testing::Values(0, 1));

// The game keeps the application's own suspend and resume: the keyboard is let go with the focus,
// so a key held while the focus leaves (its release goes to another window) is not down after.
TEST_F(GameFrameTest, AKeyHeldWhenTheFocusLeavesIsNotDownAfter) {
    StartWithTree(false);
    Key(SDL_SCANCODE_LCTRL, true);
    Frame();
    ASSERT_NE(SlKeyState(29), 0);
    auto windowEvent = [](SDL_WindowEventID id) {
        SDL_Event e{};
        e.type = SDL_WINDOWEVENT;
        e.window.event = id;
        SDL_PushEvent(&e);
    };
    host.onWait = [&] { windowEvent(SDL_WINDOWEVENT_FOCUS_GAINED); };
    windowEvent(SDL_WINDOWEVENT_FOCUS_LOST);
    for (int i = 0; i < 20 && host.waits == 0; ++i) // the key's own events come first
        app.AppLoopStep();
    ASSERT_EQ(host.waits, 1) << "the focus loss was not heard";
    app.AppLoopStep(); // the focus back
    ASSERT_TRUE(app.active);
    EXPECT_EQ(SlKeyState(29), 0) << "Control stayed down after the focus came back";
}
