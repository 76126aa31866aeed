// The application in real processes on real X displays (run under xvfb-run): the program is
// this file's own binary started with "--app", which runs a small application derived from
// AppBase and reports what it sees through a pipe. The tests start copies of it side by side,
// on other displays, signal them and take their displays away.
#include "engine/App/AppBase.h"

#include "I3d/I3d.h"
#include "engine/System.h"
#include "tests/support/TestSupport.h"
#include "tests/window/XStandInWm.h"

#include <SDL.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <regex>
#include <string>
#include <vector>

extern char** environ;

// The 0xRRGGBB the X server holds at (x, y) of the window; 0 when it cannot be read. In a file of
// its own: Xlib's macros clash with GoogleTest's names.
uint32_t XWindowPixel(SDL_Window* window, int x, int y);

// ---- the application under test (the child) ----

namespace {

enum { REPORT_FD = 3 };

// One line to the driver; lost when the driver has gone.
void Report(const char* format, ...) {
    va_list args;
    va_start(args, format);
    vdprintf(REPORT_FD, format, args);
    va_end(args);
    dprintf(REPORT_FD, "\n");
}

// "frame": reports its window and the presented colour, then asks to be closed. "wait": reports
// "ready" after its first frames and runs until it is told to end.
class ChildApp : public AppBase {
  public:
    ChildApp(std::string mode, int debugFlag) : m_mode(std::move(mode)), m_debug(debugFlag) {}

    int LoadConfig() override {
        debug = (uint8_t)m_debug;
        windowWidth = 800;
        windowHeight = 600;
        return 0;
    }
    void PostWindowInit() override {
        int x = -1, y = -1, w = 0, h = 0;
        SDL_GetWindowPosition(Window(), &x, &y);
        SDL_GetWindowSize(Window(), &w, &h);
        Report("window %d %d %d %d shown=%d title=%s", x, y, w, h,
               (SDL_GetWindowFlags(Window()) & SDL_WINDOW_SHOWN) ? 1 : 0,
               SDL_GetWindowTitle(Window()));
    }
    void Render() override {
        D3dSetClearColor(0.2f, 0.4f, 0.6f);
        D3dClear(D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER);
        D3dBeginScene();
        D3dEndScene();
        D3dPresent();
        // A few frames first, so the window is mapped and exposed.
        if (++m_frames != 3) return;
        // What the X server shows at the window's centre: the frame as presented.
        int w = 0, h = 0;
        SDL_GetWindowSize(Window(), &w, &h);
        uint32_t pixel = XWindowPixel(Window(), w / 2, h / 2);
        Report("pixel %u %u %u", (pixel >> 16) & 0xFF, (pixel >> 8) & 0xFF, pixel & 0xFF);
        if (m_mode == "wait") {
            Report("ready");
            return;
        }
        SDL_Event close{};
        close.type = SDL_WINDOWEVENT;
        close.window.event = SDL_WINDOWEVENT_CLOSE;
        SDL_PushEvent(&close);
    }

  private:
    SDL_Window* Window() { return static_cast<SDL_Window*>(hwnd); }
    std::string m_mode;
    int m_debug;
    int m_frames = 0;
};

int RunChild(int argc, char** argv) {
    ChildApp app(argv[2], argc > 3 ? std::atoi(argv[3]) : 0);
    return AppMain(argc, argv);
}

// ---- the driver ----

std::string SelfPath() {
    char path[4096];
    ssize_t n = readlink("/proc/self/exe", path, sizeof path - 1);
    path[n > 0 ? n : 0] = 0;
    return path;
}

// A started process with its report pipe and its stderr in a file.
struct Child {
    pid_t pid = -1;
    int report = -1; // read end
    std::string stderrPath;

    // The next reported line, "" at the end of the reports (the child ended or closed them).
    std::string ReadLine() {
        std::string line;
        char c;
        while (read(report, &c, 1) == 1) {
            if (c == '\n') return line;
            line.push_back(c);
        }
        return line;
    }
    // Reads up to the "ready" line; false when the reports ended first.
    bool WaitReady() {
        for (std::string l = ReadLine(); !l.empty(); l = ReadLine())
            if (l == "ready") return true;
        return false;
    }
    // Every remaining line.
    std::vector<std::string> ReadAll() {
        std::vector<std::string> lines;
        for (std::string l = ReadLine(); !l.empty(); l = ReadLine())
            lines.push_back(l);
        return lines;
    }
    // The exit status; -signal when a signal ended it. A hang is the test's timeout.
    int Wait() {
        int status = 0;
        while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
        }
        if (report >= 0) close(report);
        report = -1;
        return WIFEXITED(status) ? WEXITSTATUS(status) : -WTERMSIG(status);
    }
    std::string Stderr() const { return ReadTextFile(stderrPath); }
};

// Starts `args` writing its reports to descriptor 3 and its stderr to a file.
Child Spawn(std::vector<std::string> args, const std::string& stderrPath) {
    int fds[2];
    EXPECT_EQ(pipe2(fds, O_CLOEXEC), 0);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, fds[1], REPORT_FD);
    posix_spawn_file_actions_addopen(&actions, 2, stderrPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0644);
    std::vector<char*> argv;
    for (std::string& a : args)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    Child child;
    child.stderrPath = stderrPath;
    EXPECT_EQ(posix_spawn(&child.pid, argv[0], &actions, nullptr, argv.data(), environ), 0);
    posix_spawn_file_actions_destroy(&actions);
    close(fds[1]);
    child.report = fds[0];
    return child;
}

class AppWindow : public ::testing::Test {
  protected:
    void SetUp() override {
        // The lock folder is this test's: copies from other checkouts never meet ours.
        setenv("XDG_RUNTIME_DIR", m_dir.Path().c_str(), 1);
        std::string self = SelfPath();
        m_log = self.substr(0, self.rfind('/') + 1) + "Debug.txt";
        unlink(m_log.c_str());
    }
    void TearDown() override {
        if (m_server.pid > 0) StopXServer();
    }

    // The program on this display, or on `display` ("" for none at all).
    Child App(const std::string& mode, int debugFlag, const char* display = nullptr) {
        std::string ours = std::getenv("DISPLAY") ? std::getenv("DISPLAY") : "";
        if (display && *display) setenv("DISPLAY", display, 1);
        if (display && !*display) unsetenv("DISPLAY");
        std::string err = m_dir / ("stderr" + std::to_string(++m_spawned) + ".txt");
        Child child = Spawn({SelfPath(), "--app", mode, std::to_string(debugFlag)}, err);
        setenv("DISPLAY", ours.c_str(), 1);
        return child;
    }
    // A display of our own; its name, as ":N".
    std::string StartXServer() {
        m_server = Spawn({"/usr/bin/Xvfb", "-displayfd", std::to_string(REPORT_FD), "-screen", "0",
                          "1280x1024x24", "-nolisten", "tcp"},
                         m_dir / "xvfb.txt");
        std::string number = m_server.ReadLine();
        EXPECT_FALSE(number.empty()) << "Xvfb did not start: " << m_server.Stderr();
        return ":" + number;
    }
    void StopXServer() {
        kill(m_server.pid, SIGKILL);
        m_server.Wait();
        m_server.pid = -1;
    }
    std::string LogText() const { return PathExistsOnDisk(m_log) ? ReadTextFile(m_log) : ""; }

    TempDir m_dir;
    std::string m_log;
    Child m_server;
    int m_spawned = 0;
};

const std::regex kStoppedLast(R"([\s\S]*Debug Session stopped \d\d/\d\d/\d{4} \d\d:\d\d:\d\d\n)");

TEST_F(AppWindow, ShowsItsPlacedWindowPresentsItsFrameAndClosesCleanly) {
    Child app = App("frame", 1);
    std::vector<std::string> lines = app.ReadAll();
    EXPECT_EQ(app.Wait(), 0) << app.Stderr();
    ASSERT_EQ(lines.size(), 2u) << app.Stderr();
    EXPECT_EQ(lines[0], "window 0 0 1024 768 shown=1 title=Fairlark");
    int r = -1, g = -1, b = -1;
    ASSERT_EQ(std::sscanf(lines[1].c_str(), "pixel %d %d %d", &r, &g, &b), 3) << lines[1];
    EXPECT_NEAR(r, 51, 2);
    EXPECT_NEAR(g, 102, 2);
    EXPECT_NEAR(b, 153, 2);
    std::string log = LogText();
    EXPECT_EQ(log.rfind("Debug Session started", 0), 0u) << log;
    EXPECT_TRUE(std::regex_match(log, kStoppedLast)) << log;
}

// One copy per display: a second one ends at once, a copy on another display runs (and ends when
// that display goes away), SIGTERM ends a copy as a close does, and a killed copy's lock goes
// with it.
TEST_F(AppWindow, OneCopyPerDisplayAndCleanEndsOnSignals) {
    Child first = App("wait", 1);
    ASSERT_TRUE(first.WaitReady()) << first.Stderr();

    Child second = App("frame", 0);
    EXPECT_TRUE(second.ReadAll().empty()) << "the second copy got as far as its window";
    EXPECT_EQ(second.Wait(), 0);
    EXPECT_NE(second.Stderr().find("Fairlark is already running"), std::string::npos);

    Child elsewhere = App("wait", 0, StartXServer().c_str());
    EXPECT_TRUE(elsewhere.WaitReady()) << "a copy on another display must run";
    StopXServer();
    EXPECT_NE(elsewhere.Wait(), 0) << "the copy went on without its display";

    kill(first.pid, SIGTERM);
    EXPECT_EQ(first.Wait(), 0) << first.Stderr();
    EXPECT_TRUE(std::regex_match(LogText(), kStoppedLast)) << LogText();

    Child killed = App("wait", 0);
    ASSERT_TRUE(killed.WaitReady()) << killed.Stderr();
    kill(killed.pid, SIGKILL);
    killed.Wait();
    Child next = App("frame", 0);
    EXPECT_EQ(next.ReadAll().size(), 2u) << "a killed copy's lock blocked the next start";
    EXPECT_EQ(next.Wait(), 0) << next.Stderr();
}

// Xvfb has no window manager: the test stands in for one (see XStandInWm.h), so the second
// copy's request reaches it, is granted, and shows in the root's _NET_ACTIVE_WINDOW and in the
// stacking order after the second copy has ended.
TEST_F(AppWindow, ASecondCopyHasTheWindowManagerRaiseTheFirst) {
    Child first = App("wait", 0);
    ASSERT_TRUE(first.WaitReady()) << first.Stderr();
    ASSERT_TRUE(XWmStart()) << "another window manager holds the display";
    const uint64_t window = XWmFindClass("XQGAME");
    EXPECT_NE(window, 0u) << "the main window's class is not XQGAME";
    int iconW = 0, iconH = 0;
    EXPECT_TRUE(XWmIconSize(window, &iconW, &iconH)) << "the window has no icon";
    EXPECT_EQ(std::make_pair(iconW, iconH), std::make_pair(32, 32));
    XWmHandlePending();
    EXPECT_FALSE(XWmAboveCover(window)) << "the cover window was mapped last, on top";

    Child second = App("frame", 0);
    EXPECT_TRUE(second.ReadAll().empty()) << "the second copy got as far as its window";
    EXPECT_EQ(second.Wait(), 0) << second.Stderr();
    XWmHandlePending();
    EXPECT_EQ(XWmActivateRequests(), 1) << "the window manager was not asked to activate it";
    EXPECT_EQ(XWmActiveWindow(), window) << "the activation named another window";
    EXPECT_TRUE(XWmAboveCover(window)) << "the first copy's window was not raised";
    XWmStop();

    kill(first.pid, SIGTERM);
    EXPECT_EQ(first.Wait(), 0) << first.Stderr();
}

TEST_F(AppWindow, WithoutADisplayTheProgramSaysSoAndFails) {
    unsetenv("WAYLAND_DISPLAY");
    Child app = App("frame", 0, "");
    EXPECT_TRUE(app.ReadAll().empty());
    EXPECT_NE(app.Wait(), 0);
    EXPECT_NE(app.Stderr().find("[Fairlark] The main window cannot be made"), std::string::npos)
        << app.Stderr();
}

} // namespace

int main(int argc, char** argv) {
    if (argc >= 3 && std::strcmp(argv[1], "--app") == 0) return RunChild(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
