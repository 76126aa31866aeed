// Message boxes and the desktop size over SDL2.
#include "platform/sdl/SdlSystem.h"

#include "platform/SysPlatform.h"

#include <SDL.h>
#include <pthread.h>
#include <sys/mman.h>
#include <sys/prctl.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>

static bool HasDisplay() {
    const char* x = std::getenv("DISPLAY");
    const char* w = std::getenv("WAYLAND_DISPLAY");
    return (x && *x) || (w && *w);
}

// SDL shows a box on X in a process it forks, and waits for it, retrying through signals. That
// process must not outlive the game (it would keep the game's window and display connection), and
// a close request must end the box, not wait behind it: while a box is up, a forked process dies
// with the game, tells its id through a shared word, and SIGTERM or SIGINT ends it before the
// signal goes on to SDL's own handler, which queues the close request the loop then honours.
namespace {

volatile sig_atomic_t s_boxUp = 0;
volatile sig_atomic_t s_closeAsked = 0; // stays set: the game is on its way out
pid_t s_gamePid = 0;
volatile pid_t* s_boxPid = nullptr; // shared with the forked box process
struct sigaction s_before[2];
constexpr int kCloseSignals[2] = {SIGTERM, SIGINT};

void BoxForked() {
    if (!s_boxUp) return;
    prctl(PR_SET_PDEATHSIG, SIGKILL);
    if (getppid() != s_gamePid) _exit(1); // the game died before the line above
    if (s_boxPid) *s_boxPid = getpid();
}

void CloseDuringBox(int signal) {
    s_closeAsked = 1;
    if (s_boxPid && *s_boxPid > 0) kill(*s_boxPid, SIGKILL);
    const struct sigaction& before = s_before[signal == SIGTERM ? 0 : 1];
    if (!(before.sa_flags & SA_SIGINFO) && before.sa_handler != SIG_DFL &&
        before.sa_handler != SIG_IGN)
        before.sa_handler(signal);
}

void ArmBoxGuard() {
    static pthread_once_t once = PTHREAD_ONCE_INIT;
    pthread_once(&once, [] {
        void* word =
            mmap(nullptr, sizeof(pid_t), PROT_READ | PROT_WRITE, MAP_SHARED | MAP_ANONYMOUS, -1, 0);
        if (word != MAP_FAILED) s_boxPid = static_cast<volatile pid_t*>(word);
        pthread_atfork(nullptr, nullptr, BoxForked);
    });
    s_gamePid = getpid();
    if (s_boxPid) *s_boxPid = 0;
    struct sigaction guard {};
    guard.sa_handler = CloseDuringBox;
    sigemptyset(&guard.sa_mask);
    for (int i = 0; i < 2; ++i)
        sigaction(kCloseSignals[i], &guard, &s_before[i]);
    s_boxUp = 1;
}

// The handlers as they were; a close request that had no handler to take it ends the program
// as it would have without the box.
void DisarmBoxGuard() {
    s_boxUp = 0;
    for (int i = 0; i < 2; ++i)
        sigaction(kCloseSignals[i], &s_before[i], nullptr);
    if (s_closeAsked && !(s_before[0].sa_flags & SA_SIGINFO) && s_before[0].sa_handler == SIG_DFL)
        raise(SIGTERM);
}

// A close request already made: a box would only stand in its way. SDL queues a signal's close
// request at its next look at the events, so it looks first.
bool ClosePending() {
    if (s_closeAsked) return true;
    if (!SDL_WasInit(SDL_INIT_EVENTS)) return false;
    SDL_PumpEvents();
    return SDL_HasEvent(SDL_QUIT) == SDL_TRUE;
}

} // namespace

int PlatShowMessageBox(const char* caption, const char* text) {
    if (PlatHeadless() || !HasDisplay() || ClosePending()) return -1;
    ArmBoxGuard();
    const int shown = SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_INFORMATION, caption ? caption : "",
                                               text ? text : "", nullptr);
    const bool closed = s_closeAsked != 0;
    DisarmBoxGuard();
    return shown == 0 && !closed ? 1 : -1;
}

void PlatDesktopSize(int* width, int* height) {
    int w = 0, h = 0;
    if (!PlatHeadless() && HasDisplay()) {
        bool started = false;
        if (!SDL_WasInit(SDL_INIT_VIDEO)) started = SDL_InitSubSystem(SDL_INIT_VIDEO) == 0;
        if (SDL_WasInit(SDL_INIT_VIDEO)) {
            SDL_DisplayMode mode;
            if (SDL_GetDesktopDisplayMode(0, &mode) == 0) {
                w = mode.w;
                h = mode.h;
            }
        }
        if (started) SDL_QuitSubSystem(SDL_INIT_VIDEO);
    }
    if (width) *width = w;
    if (height) *height = h;
}
