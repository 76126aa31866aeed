// The editor object: mode, layout, picking, selection, dragging, hover, commands, and the
// pointers it keeps when entities go away.
#include "tests/tools/MasterEditFixture.h"

#include <SDL.h>

#include <cstring>

int RecordingHost::s_width = 800, RecordingHost::s_height = 600;
RecordingHost* RecordingHost::s_last = nullptr;
std::string RecordingHost::s_leftTitle;
int RecordingHost::s_leftWidth = 0, RecordingHost::s_leftHeight = 0;

TEST_F(MasterEditTest, EnteringOnceTakesTheWindowAndLeavingGivesItBackWithNoHighlightLeft) {
    EditProp* tent = MakeEditProp(world, "Tent", {0, 0, 10});
    EditProp* lamp = MakeEditProp(world, "Lamp", {4, 0, 10});
    Enter();
    ASSERT_TRUE(editor.IsActive());
    EXPECT_TRUE(editor.WantsPass());
    EXPECT_EQ(Host().title, "Editor Mode");
    EXPECT_EQ(std::make_pair(Host().width, Host().height), std::make_pair(1024, 768));
    EXPECT_EQ(EditProp::s_terrainFlags, 0xEu) << "picking passes through the ground";
    EXPECT_EQ(EditProp::s_gridFlags, 0xEu) << "and through the placement grid";
    EXPECT_EQ(EditProp::s_propFlags, 0xFu);

    RecordingHost* host = &Host();
    editor.Enter(nullptr);
    EXPECT_EQ(editor.Host(), host) << "entering again changes nothing";
    EXPECT_EQ(host->sizes.size(), 1u);

    Click(tent);
    auto [x, y] = ScreenOf(*lamp->GetPos());
    editor.ViewMouseMove(x, y, false);
    editor.Update(0.125f); // an odd phase: the hover entity lights up
    ASSERT_EQ(editor.Hover(), lamp);
    ASSERT_TRUE(lamp->TestFlag(ENT_FLAG_DRAWPOST));

    RecordingHost::s_last = nullptr;
    editor.Leave();
    EXPECT_FALSE(editor.IsActive());
    EXPECT_FALSE(editor.WantsPass());
    EXPECT_EQ(editor.Panes(), nullptr);
    EXPECT_EQ(editor.SelectionCount(), 0);
    EXPECT_EQ(editor.Hover(), nullptr);
    EXPECT_FALSE(tent->TestFlag(ENT_FLAG_DRAWPOST));
    EXPECT_FALSE(lamp->TestFlag(ENT_FLAG_DRAWPOST));
    EXPECT_EQ(RecordingHost::s_last, nullptr) << "the host is gone with the mode";

    editor.Enter(nullptr);
    EXPECT_TRUE(editor.IsActive()) << "entering again after leaving";
}

TEST_F(MasterEditTest, LeavingRestoresTheWindowsSizeAndTitle) {
    RecordingHost::s_width = 640, RecordingHost::s_height = 480;
    Enter();
    Host().title = "Editor Mode";
    editor.Leave();
    EXPECT_EQ(RecordingHost::s_leftTitle, "Fairlark");
    EXPECT_EQ(std::make_pair(RecordingHost::s_leftWidth, RecordingHost::s_leftHeight),
              std::make_pair(640, 480));
    editor.Leave();
    EXPECT_FALSE(editor.IsActive()) << "leaving twice is harmless";
}

TEST_F(MasterEditTest, TheLayoutFollowsTheWindowAndTheMenuBar) {
    Enter();
    for (int b : {19, 23}) {
        editor.SetMenuBarHeight(b);
        const EditorRects& r = editor.Rects();
        EXPECT_EQ(std::make_tuple(r.tool.x, r.tool.y, r.tool.width, r.tool.height),
                  std::make_tuple(796, b, 224, 768 - b));
        EXPECT_EQ(std::make_tuple(r.view.x, r.view.y, r.view.width, r.view.height),
                  std::make_tuple(0, b, 796, 528 - b));
        EXPECT_EQ(std::make_tuple(r.console.x, r.console.y, r.console.width, r.console.height),
                  std::make_tuple(0, 528, 400, 240));
        EXPECT_EQ(std::make_tuple(r.params.x, r.params.y, r.params.width, r.params.height),
                  std::make_tuple(398, 528, 398, 240));
    }
    Host().width = 200, Host().height = 150;
    editor.Layout();
    EXPECT_EQ(std::make_pair(editor.Rects().view.width, editor.Rects().view.height),
              std::make_pair(1, 1));
    EXPECT_EQ(editor.PickAt(0, 0), nullptr);
}

TEST_F(MasterEditTest, ClicksSelectAndControlClicksToggle) {
    EditProp* a = MakeEditProp(world, "A", {-4, 0, 10});
    EditProp* b = MakeEditProp(world, "B", {0, 0, 10});
    EditProp* c = MakeEditProp(world, "C", {4, 0, 10});
    Enter();
    Click(a);
    ASSERT_EQ(editor.SelectionCount(), 1);
    EXPECT_TRUE(a->TestFlag(ENT_FLAG_DRAWPOST));
    EXPECT_EQ(editor.Panes()->shown, a);
    Click(b, true);
    Click(c, true);
    EXPECT_EQ(editor.SelectionCount(), 3);
    Click(b); // already selected: the selection stays for the drag
    EXPECT_EQ(editor.SelectionCount(), 3);
    Click(a, true);
    int n = 0;
    ENTBASE* const* sel = editor.Selection(&n);
    ASSERT_EQ(n, 2);
    EXPECT_FALSE(a->TestFlag(ENT_FLAG_DRAWPOST));
    EXPECT_TRUE(sel[0] == c || sel[0] == b);
    Click(b, true);
    sel = editor.Selection(&n);
    ASSERT_EQ(n, 1);
    EXPECT_EQ(sel[0], c) << "removing the first of two leaves the second";

    editor.Panes()->lockSelection = true;
    Click(a);
    EXPECT_EQ(editor.Selection(&n)[0], c);
    EXPECT_EQ(n, 1) << "Lock Selection keeps it";
    editor.Panes()->lockSelection = false;

    editor.ViewButtonDown(2, 2, true);
    EXPECT_EQ(editor.SelectionCount(), 1) << "a control-click on sky keeps it";
    editor.ViewButtonUp();
    editor.ViewButtonDown(2, 2, false);
    EXPECT_EQ(editor.SelectionCount(), 0) << "a click on sky clears it";
    EXPECT_FALSE(c->TestFlag(ENT_FLAG_DRAWPOST));
}

TEST_F(MasterEditTest, TheSelectionHoldsAtMost128) {
    Enter();
    std::vector<EditProp*> props;
    for (int i = 0; i < 129; ++i)
        props.push_back(MakeEditProp(world, "P", {0, 0, 50}));
    for (EditProp* p : props)
        editor.SelectAdd(p);
    EXPECT_EQ(editor.SelectionCount(), 128);
    EXPECT_FALSE(editor.IsSelected(props[128]));
    editor.SelectAdd(props[0]);
    EXPECT_EQ(editor.SelectionCount(), 128) << "no duplicates";
}

TEST_F(MasterEditTest, DragsMoveTurnAndRaiseOnlyPastTheThreshold) {
    EditProp* tent = MakeEditProp(world, "Tent", {0, 0, 10});
    Enter();
    auto [x, y] = ScreenOf(*tent->GetPos());
    editor.ViewButtonDown(x, y, false);
    LookQuarterTurn();
    editor.ViewMouseMove(x + 2, y + 1, false);
    editor.ViewMouseMove(x + 2, y, false);
    EXPECT_EQ(tent->pos.z, 10.0f) << "4 pixels or fewer move nothing";
    EXPECT_FALSE(editor.Moved());
    EXPECT_EQ(tent->varsChanged, 0);
    EXPECT_EQ(Host().warps.back(), std::make_pair(x, y + editor.Rects().view.y))
        << "the pointer goes back onto the anchor";
    EXPECT_TRUE(Host().captured);
    editor.ViewMouseMove(x, y, false); // the warp's own move
    EXPECT_FALSE(editor.Moved());
    editor.ViewButtonUp();
    EXPECT_FALSE(Host().captured);
    EXPECT_TRUE(editor.IsSelected(tent));

    LookAlongZ();
    auto [x2, y2] = ScreenOf(*tent->GetPos());
    editor.ViewButtonDown(x2, y2, false);
    LookQuarterTurn();
    editor.ViewMouseMove(x2 + 10, y2, false);
    EXPECT_NEAR(tent->pos.z, 10.0f - 0.2f, 1e-5);
    EXPECT_NEAR(tent->pos.x, 0.0f, 1e-6);
    EXPECT_EQ(tent->varsChanged, 1);
    EXPECT_TRUE(tent->TestFlag(ENT_FLAG_CHANGED));

    editor.ViewSpace(true);
    EXPECT_EQ(editor.Panes()->dragMode, EDITOR_DRAG_TURN);
    editor.ViewMouseMove(x2 + 10, y2, false);
    EXPECT_NEAR(tent->yaw, 0.2f, 1e-6);
    editor.ViewSpace(false);
    editor.SetDragMode(EDITOR_DRAG_RAISE);
    editor.ViewMouseMove(x2, y2 - 10, false);
    EXPECT_NEAR(tent->pos.y, 0.1f, 1e-6);
    EXPECT_EQ(tent->varsChanged, 3);
    editor.ViewButtonUp();

    ENTBASE plain;
    EXPECT_EQ(plain.GetYaw(), 0.0f) << "turning a plain entity reads 0";
}

TEST_F(MasterEditTest, TheHoverEntityBlinksUnlessSelectedAndIsLoggedOncePerChange) {
    EditProp* a = MakeEditProp(world, "Swing", {-4, 0, 10});
    EditProp* b = MakeEditProp(world, "Slide", {4, 0, 10});
    Enter();
    auto [ax, ay] = ScreenOf(*a->GetPos());
    editor.ViewMouseMove(ax, ay, false);
    editor.ViewMouseMove(ax + 1, ay, false);
    std::vector<bool> lit;
    for (int i = 0; i < 4; ++i) {
        editor.Update(0.125f);
        lit.push_back(a->TestFlag(ENT_FLAG_DRAWPOST) != 0);
    }
    EXPECT_EQ(lit, (std::vector<bool>{true, false, true, false})) << "four blinks a second";

    Click(b);
    auto [bx, by] = ScreenOf(*b->GetPos());
    editor.ViewMouseMove(bx, by, false);
    EXPECT_FALSE(a->TestFlag(ENT_FLAG_DRAWPOST)) << "the old hover entity is put out";
    for (int i = 0; i < 3; ++i) {
        editor.Update(0.125f);
        EXPECT_TRUE(b->TestFlag(ENT_FLAG_DRAWPOST)) << "a selected hover entity stays lit";
    }
    editor.ViewMouseMove(2, 2, false);
    EXPECT_TRUE(b->TestFlag(ENT_FLAG_DRAWPOST));
    const std::string log = Log();
    EXPECT_NE(log.find("Entity under cursor: Swing\nEntity under cursor: Slide\n"
                       "Entity under cursor: NONE\n"),
              std::string::npos)
        << log;
}

TEST_F(MasterEditTest, EntitiesThatGoAwayLeaveNoPointerBehind) {
    EditProp* tent = MakeEditProp(world, "Tent", {0, 0, 10});
    EditProp* lamp = MakeEditProp(world, "Lamp", {4, 0, 10});
    Enter();
    Click(lamp);
    Click(tent, true);
    auto [x, y] = ScreenOf(*tent->GetPos());
    editor.ViewMouseMove(x, y, false);
    ASSERT_EQ(editor.Hover(), tent);
    editor.ViewButtonDown(x, y, false);
    editor.ViewMouseMove(x + 10, y, false);
    // A patron that destroys itself mid-drag, then a scene cleared from inside a move.
    EntDestroyTree(tent);
    EXPECT_EQ(editor.Hover(), nullptr);
    EXPECT_EQ(editor.SelectionCount(), 1);
    lamp->onVarsChanged = [](EditProp* self) { EntDestroyTree(self); };
    for (int i = 0; i < 100; ++i) {
        editor.ViewMouseMove(x + 10 + i % 2, y, false);
        editor.Update(0.01f);
    }
    EXPECT_EQ(editor.SelectionCount(), 0);
    editor.ViewButtonUp();
    editor.Command(0, EDCMD_DUPLICATE);
    editor.Command(0, EDCMD_SAVE_SELECTED);
    EXPECT_EQ(EntTreeCount(world), 1) << "duplicate with no selection makes nothing";
}

TEST_F(MasterEditTest, TheChangedMarkIsNotTheActiveFlag) {
    EditProp* menu = MakeEditProp(world, "Menu", {0, 0, 10});
    menu->ClearActive();
    Enter();
    Drag(menu, {{10, 0}});
    EXPECT_TRUE(menu->TestFlag(ENT_FLAG_CHANGED));
    EXPECT_EQ(menu->IsActive(), 0) << "an edited menu stays inactive";
}

namespace {
SDL_Event Button(Uint32 type, int x, int y) {
    SDL_Event e{};
    e.type = type;
    e.button.button = SDL_BUTTON_LEFT;
    e.button.x = x, e.button.y = y;
    return e;
}
SDL_Event Motion(int x, int y) {
    SDL_Event e{};
    e.type = SDL_MOUSEMOTION;
    e.motion.x = x, e.motion.y = y;
    return e;
}
} // namespace

TEST_F(MasterEditTest, WindowEventsReachTheGameViewInItsCoordinates) {
    EditProp* tent = MakeEditProp(world, "Tent", {0, 0, 10});
    SDL_Event outside = Button(SDL_MOUSEBUTTONDOWN, 900, 300);
    EXPECT_FALSE(editor.HandleEvent(outside)) << "editor mode is off: the game has it";
    Enter();
    auto [vx, vy] = ScreenOf(tent->pos);
    const int top = editor.Rects().view.y;
    EXPECT_TRUE(editor.HandleEvent(outside)) << "the tool window's, not the game's";
    SDL_Event far = Motion(900, 300);
    EXPECT_TRUE(editor.HandleEvent(far));
    EXPECT_EQ(editor.SelectionCount(), 0);

    SDL_Event down = Button(SDL_MOUSEBUTTONDOWN, vx, vy + top);
    EXPECT_FALSE(editor.HandleEvent(down));
    EXPECT_TRUE(editor.IsSelected(tent)) << "picked in game-view coordinates";
    EXPECT_EQ(std::make_pair(down.button.x, down.button.y), std::make_pair(vx, vy))
        << "the game gets the click in its own screen's coordinates";
    // A drag that leaves the view keeps going while the button is held.
    SDL_Event drag = Motion(vx + 10, vy + top);
    EXPECT_FALSE(editor.HandleEvent(drag));
    EXPECT_EQ(drag.motion.y, vy);
    EXPECT_NEAR(tent->pos.x, 0.2f, 1e-5);
    SDL_Event up = Button(SDL_MOUSEBUTTONUP, 900, 300);
    EXPECT_FALSE(editor.HandleEvent(up));
    EXPECT_FALSE(editor.ButtonDown());

    SDL_Event space{};
    space.type = SDL_KEYDOWN;
    space.key.keysym.scancode = SDL_SCANCODE_SPACE;
    EXPECT_FALSE(editor.HandleEvent(space)) << "keys reach the game too";
    EXPECT_EQ(editor.DragMode(), EDITOR_DRAG_TURN);
    space.type = SDL_KEYUP;
    editor.HandleEvent(space);
    EXPECT_EQ(editor.DragMode(), EDITOR_DRAG_MOVE);

    SDL_Event close{};
    close.type = SDL_WINDOWEVENT;
    close.window.event = SDL_WINDOWEVENT_CLOSE;
    EXPECT_TRUE(editor.HandleEvent(close)) << "the close box does not quit the game";
    EXPECT_FALSE(editor.IsActive());
    EXPECT_FALSE(tent->TestFlag(ENT_FLAG_DRAWPOST));
}
