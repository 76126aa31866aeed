// The loop and the window procedure: sizes, minimising, focus, input events, the cursor and the
// quit flag.
#include "tests/harness/AppFixture.h"

namespace {
// Every unread character and position event.
std::vector<SlEvent> TakeEvents() {
    std::vector<SlEvent> out;
    SlEvent e;
    while (SlGetEvent(&e) == 0)
        if (e.type == SL_CHAR || e.type == SL_MOUSEPOS) out.push_back(e);
    return out;
}
} // namespace

TEST_F(AppTest, ResizesFollowTheClientAreaDownToOnePixel) {
    Start();
    int rendersBefore = 0;
    app.steps = {
        [&] {
            rendersBefore = app.renders;
            SDL_SetWindowSize(Window(), 800, 600);
        },
        [&] {
            EXPECT_EQ(app.resizes.back(), std::make_pair(800, 600));
            int w = 0, h = 0;
            I3dGetScreenSize(&w, &h);
            EXPECT_EQ(std::make_pair(w, h), std::make_pair(800, 600));
            EXPECT_EQ(std::make_pair(app.windowWidth, app.windowHeight), std::make_pair(800, 600));
            EXPECT_EQ(app.renders, rendersBefore + 2) << "the size event draws a frame";
            SDL_SetWindowSize(Window(), 1, 1);
        },
        [&] { EXPECT_EQ(app.resizes.back(), std::make_pair(1, 1)); },
        [] {},
    };
    RunToEnd();
    EXPECT_EQ(app.failedFrames, 0) << "a 1 x 1 window must still draw";
}

// A minimised window may report a zero size: the screen keeps its last size, and neither a frame
// nor an update runs until the window is restored.
// A window manager may size a full-screen window after start-up: the screen, the back buffer
// and the device follow through one reset; the same size again changes nothing.
TEST_F(AppTest, FullScreenFollowsTheWindowsNewSizeThroughAReset) {
    app.onLoadConfig = [&] {
        app.windowed = 0;
        app.deviceWidth = 1024;
        app.deviceHeight = 768;
    };
    Start();
    app.steps = {
        [&] {
            EXPECT_EQ(app.lostCalls, 0);
            SDL_SetWindowSize(Window(), 800, 600);
            PushWindowEvent(SDL_WINDOWEVENT_SIZE_CHANGED, 800, 600);
        },
        [&] {
            int w = 0, h = 0, rw = 0, rh = 0;
            I3dGetScreenSize(&w, &h);
            I3dGetRequestedSize(&rw, &rh);
            EXPECT_EQ(std::make_tuple(w, h, rw, rh), std::make_tuple(800, 600, 800, 600));
            IDirect3DSurface8* back = nullptr;
            ASSERT_EQ(D3dDevice()->GetBackBuffer(0, D3DBACKBUFFER_TYPE_MONO, &back), D3D_OK);
            D3DSURFACE_DESC desc{};
            back->GetDesc(&desc);
            back->Release();
            EXPECT_EQ(std::make_pair(desc.Width, desc.Height), std::make_pair(800u, 600u));
            EXPECT_EQ(std::make_pair(app.lostCalls, app.resetCalls), std::make_pair(1, 1));
            EXPECT_FALSE(app.deviceLost);
            PushWindowEvent(SDL_WINDOWEVENT_SIZE_CHANGED, 800, 600);
        },
        [&] { EXPECT_EQ(app.resetCalls, 1) << "the same size reset the device again"; },
    };
    RunToEnd();
    EXPECT_EQ(app.failedFrames, 0);
}

TEST_F(AppTest, MinimisedWindowNeitherResizesNorDrawsUntilRestored) {
    Start();
    int updatesAtMinimise = 0, rendersAtMinimise = 0;
    app.steps = {
        [&] {
            updatesAtMinimise = app.updates;
            rendersAtMinimise = app.renders + 1; // this pass's own frame
            PushWindowEvent(SDL_WINDOWEVENT_MINIMIZED);
            PushWindowEvent(SDL_WINDOWEVENT_SIZE_CHANGED, 0, 0);
            PushWindowEvent(SDL_WINDOWEVENT_EXPOSED);
        },
        [&] {
            EXPECT_EQ(app.resumes, 1);
            EXPECT_TRUE(app.active);
        },
    };
    host.onWait = [&] {
        EXPECT_FALSE(app.active);
        EXPECT_EQ(app.suspends, 1);
        EXPECT_EQ(app.updates, updatesAtMinimise);
        EXPECT_EQ(app.renders, rendersAtMinimise) << "a frame was drawn while minimised";
        PushWindowEvent(SDL_WINDOWEVENT_RESTORED);
    };
    RunToEnd();
    EXPECT_EQ(host.waits, 1);
    for (auto size : app.resizes)
        EXPECT_TRUE(size.first > 0 && size.second > 0) << "OnResize got a zero size";
    int w = 0, h = 0;
    I3dGetRequestedSize(&w, &h);
    EXPECT_EQ(std::make_pair(w, h), std::make_pair(1024, 768));
}

TEST_F(AppTest, FocusLossSuspendsUnlessRunningWhileInactive) {
    app.onLoadConfig = [&] { app.runWhileInactive = 1; };
    Start();
    app.steps = {[] { PushWindowEvent(SDL_WINDOWEVENT_FOCUS_LOST); }, [] {}, [] {}};
    RunToEnd();
    EXPECT_EQ(app.updates, 4) << "frames stopped with the focus";
    EXPECT_EQ(app.suspends, 1) << "only the destroy path suspends";
    EXPECT_EQ(host.waits, 0);
}

// The quit flag alone ends nothing while the loop sleeps: the first idle pass after the focus
// returns does.
TEST_F(AppTest, QuitFlagSetWhileInactiveActsAtTheFirstActivePass) {
    Start();
    app.steps = {[] { PushWindowEvent(SDL_WINDOWEVENT_FOCUS_LOST); }};
    host.onWait = [&] {
        if (host.waits == 1) {
            app.quit = 1;
            SDL_Event e{};
            e.type = SDL_USEREVENT;
            SDL_PushEvent(&e); // something to wake the loop while still inactive
        } else {
            EXPECT_TRUE(app.running) << "the loop ended while inactive";
            PushWindowEvent(SDL_WINDOWEVENT_FOCUS_GAINED);
        }
    };
    RunToEnd();
    EXPECT_EQ(host.waits, 2);
    EXPECT_EQ(app.updates, 2) << "exactly one pass after the focus came back";
    EXPECT_EQ(app.resumes, 1);
}

TEST_F(AppTest, TextAndMotionBecomeInputEventsAndFloodsDrainBeforeFrames) {
    app.onLoadConfig = [&] {
        app.mouseScaleX = 2.0f;
        app.mouseScaleY = 2.0f;
    };
    Start();
    app.steps = {
        [] {
            SDL_Event e{};
            e.type = SDL_TEXTINPUT;
            SDL_strlcpy(e.text.text, "a\xc3\xa9\xff\xe2\x82", sizeof e.text.text);
            SDL_PushEvent(&e);
            PushMotion(512, 384);
        },
        [] {
            std::vector<SlEvent> events = TakeEvents();
            ASSERT_EQ(events.size(), 3u) << "malformed UTF-8 must post nothing";
            EXPECT_EQ(std::make_pair(events[0].type, events[0].a),
                      std::make_pair(int32_t(SL_CHAR), intptr_t('a')));
            EXPECT_EQ(events[0].b, 0);
            EXPECT_EQ(std::make_pair(events[1].type, events[1].a),
                      std::make_pair(int32_t(SL_CHAR), intptr_t(0xE9)));
            EXPECT_EQ(events[2].type, SL_MOUSEPOS);
            EXPECT_EQ(events[2].a, SlPackFloat(1024.0f));
            EXPECT_EQ(events[2].b, SlPackFloat(768.0f));
            for (int i = 0; i < 10000; ++i)
                PushMotion(i, 1);
        },
        [] {
            EXPECT_EQ(SDL_PeepEvents(nullptr, 0, SDL_PEEKEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT), 0)
                << "a frame ran before every queued event was handled";
            std::vector<SlEvent> events = TakeEvents();
            ASSERT_FALSE(events.empty());
            EXPECT_EQ(SlUnpackFloat(events.back().a), 19998.0f);
            EXPECT_EQ(SlUnpackFloat(events.back().b), 2.0f);
        },
    };
    RunToEnd();
}

TEST_F(AppTest, CursorHidesOverTheClientUnlessKept) {
    Start();
    auto shown = [] { return SDL_ShowCursor(SDL_QUERY) == SDL_ENABLE; };
    app.steps = {
        [] { PushWindowEvent(SDL_WINDOWEVENT_ENTER); },
        [&] {
            EXPECT_FALSE(shown());
            PushWindowEvent(SDL_WINDOWEVENT_LEAVE);
        },
        [&] {
            EXPECT_TRUE(shown());
            PushWindowEvent(SDL_WINDOWEVENT_ENTER);
        },
        [&] {
            app.AppShowCursor();
            PushWindowEvent(SDL_WINDOWEVENT_LEAVE);
            PushWindowEvent(SDL_WINDOWEVENT_ENTER);
        },
        [&] { EXPECT_TRUE(shown()) << "keepSystemCursor was ignored"; },
    };
    RunToEnd();
}
