// Start-up and shutdown of the application: the single copy, the window's life, the kernel's
// start, full-screen modes and the order of shutdown.
#include "tests/harness/AppFixture.h"

#include "I3d/Primitives.h"
#include "engine/App/SingleCopy.h"
#include "engine/DebugLog.h"
#include "platform/d3d8/Recording.h"

#include <sys/wait.h>
#include <unistd.h>

#include <memory>

TEST_F(AppTest, StartOpensTheWindowHiddenThenPlacesAndShowsItWithTheKernelReady) {
    Uint32 flagsAtConfig = 0;
    app.onLoadConfig = [&] {
        flagsAtConfig = SDL_GetWindowFlags(Window());
        EXPECT_STREQ(SDL_GetWindowTitle(Window()), "Fairlark");
        app.windowWidth = 800; // the configured client size: the window still ends at 1024 x 768
        app.windowHeight = 600;
    };
    Start();
    EXPECT_TRUE(flagsAtConfig & SDL_WINDOW_HIDDEN) << "the window showed before start-up ended";
    EXPECT_TRUE(SDL_GetWindowFlags(Window()) & SDL_WINDOW_SHOWN);
    int x = -1, y = -1, w = 0, h = 0, sw = 0, sh = 0;
    SDL_GetWindowPosition(Window(), &x, &y);
    SDL_GetWindowSize(Window(), &w, &h);
    I3dGetScreenSize(&sw, &sh);
    EXPECT_EQ(std::make_tuple(x, y, w, h), std::make_tuple(0, 0, 1024, 768)) << "no borders";
    EXPECT_EQ(std::make_pair(sw, sh), std::make_pair(1024, 768)) << "the back buffer is the client";
    EXPECT_EQ(app.trace,
              (std::vector<std::string>{"LoadConfig", "OnResize", "PostWindowInit", "OnInit"}));
    EXPECT_TRUE(app.running && app.active);
    EXPECT_EQ(I3dTexCount(), 800);
    EXPECT_EQ(StageState(3, D3DTSS_MINFILTER), (DWORD)D3DTEXF_LINEAR);
    EXPECT_EQ(RenderState(D3DRS_NORMALIZENORMALS), 1u);
    ExpectDynamicBuffersCurrent();
    EXPECT_EQ(I3dDebugShapesCreate(), -1) << "the debug shapes were not built";
    EXPECT_EQ(SlKbdAcquire(1), 0) << "input was not started";
}

// Shutdown stops input before the game's Shutdown and the kernel after it, then closes the
// window; whichever close request came, the loop ends the same way.
TEST_F(AppTest, CloseRequestEndsTheLoopAndShutsDownInOrder) {
    for (Uint32 request : {(Uint32)SDL_QUIT, (Uint32)SDL_WINDOWEVENT}) {
        SCOPED_TRACE(request == SDL_QUIT ? "SDL_QUIT" : "WINDOWEVENT_CLOSE");
        TestApp app;
        app.AppSetHost(&host);
        app.steps = {[&] {
            SDL_Event e{};
            e.type = request;
            e.window.event = SDL_WINDOWEVENT_CLOSE;
            SDL_PushEvent(&e);
        }};
        app.onShutdown = [&] {
            EXPECT_EQ(SlKbdAcquire(1), -1) << "input must stop before the game's Shutdown";
            EXPECT_NE(D3dDevice(), nullptr) << "the kernel must outlive the game's Shutdown";
            EXPECT_FALSE(SDL_GetWindowFlags(static_cast<SDL_Window*>(app.hwnd)) & SDL_WINDOW_SHOWN)
                << "the destroy path hides the window";
            EXPECT_FALSE(app.active || app.running);
        };
        ASSERT_EQ(app.AppCreateMainWindow(), 0);
        app.AppMessageLoop();
        EXPECT_EQ(app.updates, 1) << "the loop ran on after the close request";
        app.AppShutdown();
        EXPECT_EQ(app.trace.back(), "Shutdown");
        EXPECT_EQ(app.dynamicVb, nullptr);
        EXPECT_EQ(D3dDevice(), nullptr) << "the kernel was not stopped";
        EXPECT_FALSE(SDL_WasInit(SDL_INIT_VIDEO)) << "the window and SDL's video stayed open";
    }
}

TEST_F(AppTest, LoadConfigRefusalLeavesNoWindowDeviceLogOrLock) {
    app.onLoadConfig = [&] { app.debug = 1; };
    app.loadConfigResult = -1;
    EXPECT_EQ(app.AppCreateMainWindow(), -1);
    EXPECT_EQ(app.AppStartStatus(), 0) << "a refusal is not a failure";
    EXPECT_EQ(app.trace, std::vector<std::string>{"LoadConfig"});
    EXPECT_STREQ(DbgLogFile(), "Debug.txt") << "the log was started";
    EXPECT_EQ(D3dDevice(), nullptr);
    EXPECT_FALSE(SDL_WasInit(SDL_INIT_VIDEO));
    AppSingleCopy next;
    EXPECT_EQ(next.Take(), 1) << "the lock outlived the refused start";
}

// Without the buffers every draw of the menus would fail: the start ends there and says why.
TEST_F(AppTest, ARendererWithoutItsSharedBuffersEndsTheStartAndSaysWhy) {
    D3dRecordingConfig config;
    config.bufferFailures = 1; // out of video memory at the first buffer
    D3dRecordingSetup(config);
    D3dSetCreateEntry(Direct3DCreate8Recording);
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(app.AppCreateMainWindow(), -1);
    const std::string messages = ::testing::internal::GetCapturedStderr();
    EXPECT_NE(
        messages.find("The renderer cannot start: its shared drawing buffers cannot be made."),
        std::string::npos)
        << messages;
    EXPECT_EQ(app.AppStartStatus(), 1) << "a failed start must end the program with a failure";
    EXPECT_EQ(D3dDevice(), nullptr) << "the failed start left its device open";
    EXPECT_FALSE(SDL_WasInit(SDL_INIT_VIDEO)) << "the failed start left the window open";
}

TEST_F(AppTest, SecondCopyOnTheSameDisplayEndsBeforeAnyWindow) {
    setenv("DISPLAY", ":7", 1);
    AppSingleCopy first;
    ASSERT_EQ(first.Take(), 1);
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(app.AppCreateMainWindow(), -1);
    EXPECT_NE(::testing::internal::GetCapturedStderr().find("Fairlark is already running\n"),
              std::string::npos);
    EXPECT_EQ(app.AppStartStatus(), 0);
    EXPECT_TRUE(app.trace.empty()) << "the second copy went on past the lock";
    EXPECT_FALSE(SDL_WasInit(SDL_INIT_VIDEO)) << "the second copy opened video";

    setenv("DISPLAY", ":8", 1); // another desktop
    Start();

    setenv("DISPLAY", "../../etc/x y:0", 1);
    std::string path = AppSingleCopy::LockPath();
    EXPECT_EQ(path.substr(0, m_dir.Path().size()), m_dir.Path());
    EXPECT_NE(path.find("-.._.._etc_x_y:0.lock"), std::string::npos) << "the name left its folder";
}

// SDL's dummy display lists one mode, 1024 x 768, its desktop's.
TEST_F(AppTest, FullScreenTakesAListedModeElseCoversTheDesktopAndSaysWhich) {
    for (int size : {1024, 45, 100000, -5}) {
        SCOPED_TRACE(size);
        TestApp app;
        app.AppSetHost(&host);
        app.onLoadConfig = [&] {
            app.windowed = 0;
            app.debug = 1;
            app.deviceWidth = size;
            app.deviceHeight = size == 1024 ? 768 : size;
        };
        ::testing::internal::CaptureStderr();
        int result = app.AppCreateMainWindow();
        std::string messages = ::testing::internal::GetCapturedStderr();
        ASSERT_EQ(result, 0) << messages;
        int w = 0, h = 0;
        I3dGetScreenSize(&w, &h);
        EXPECT_EQ(std::make_pair(w, h), std::make_pair(1024, 768));
        EXPECT_EQ(std::make_pair(app.deviceWidth, app.deviceHeight), std::make_pair(w, h));
        const std::string line =
            size == 1024
                ? "full screen in the display's mode 1024 x 768\n"
                : "full screen over the desktop at 1024 x 768: the display has no mode of " +
                      std::to_string(size) + " x " + std::to_string(size) + "\n";
        EXPECT_NE(messages.find(line), std::string::npos) << messages;
        EXPECT_EQ(messages.find("full screen is now"), std::string::npos)
            << "the window had the screen's size from the start";
        app.AppShutdown();
    }
}

// SDL's fallback to memory without a display would give a window nobody sees or closes.
TEST(AppHost, WithoutADisplayNoWindowIsMadeInMemoryUnlessAskedFor) {
    unsetenv("SDL_VIDEODRIVER");
    unsetenv("DISPLAY");
    unsetenv("WAYLAND_DISPLAY");
    AppHost host;
    std::string error;
    if (host.WindowOpen("Fairlark", 64, 64, &error) == 0) {
        // A machine with a real console may still show it.
        const std::string driver = SDL_GetCurrentVideoDriver();
        EXPECT_TRUE(driver != "offscreen" && driver != "dummy") << driver;
    } else {
        EXPECT_NE(error.find("no display"), std::string::npos) << error;
    }
    host.WindowClose();
}

TEST_F(AppTest, AnEventHookSeesEventsFirstAndKeepsWhatItAnswersTrueFor) {
    Start();
    static std::vector<Uint32> seen;
    seen.clear();
    AppSetEventHook(
        [](SDL_Event& e, void* context) {
            seen.push_back(e.type);
            return context != nullptr && e.type == SDL_QUIT;
        },
        &seen);
    SDL_Event quit{};
    quit.type = SDL_QUIT;
    app.AppHandleEvent(quit);
    EXPECT_TRUE(app.running) << "the hook kept the close request";
    AppSetEventHook(nullptr, &seen);
    app.AppHandleEvent(quit);
    EXPECT_FALSE(app.running) << "without the hook the request closes";
    EXPECT_EQ(seen, std::vector<Uint32>{SDL_QUIT});
}

// A message box's helper process is forked from the game and may outlive it: it must not keep
// the lock, or the next start would wait on a window nobody sees.
TEST_F(AppTest, AForkedChildDoesNotKeepTheSingleCopyLock) {
    setenv("DISPLAY", ":9", 1);
    auto first = std::make_unique<AppSingleCopy>();
    ASSERT_EQ(first->Take(), 1);
    int go[2], ready[2];
    ASSERT_EQ(pipe(go), 0);
    ASSERT_EQ(pipe(ready), 0);
    const pid_t child = fork();
    if (child == 0) {
        char byte;
        close(go[1]);
        close(ready[0]);
        // Running: whatever fork does in the child is done.
        const bool told = write(ready[1], "r", 1) == 1;
        _exit(told && read(go[0], &byte, 1) == 1 ? 0 : 1);
    }
    close(go[0]);
    close(ready[1]);
    char byte = 0;
    ASSERT_EQ(read(ready[0], &byte, 1), 1) << "the child did not start";
    close(ready[0]);
    first.reset(); // the game is gone; its forked child lives on
    AppSingleCopy next;
    EXPECT_EQ(next.Take(), 1) << "the forked child kept the lock";
    EXPECT_EQ(write(go[1], "g", 1), 1);
    close(go[1]);
    int status = 0;
    waitpid(child, &status, 0);
}
