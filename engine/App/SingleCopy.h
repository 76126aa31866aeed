// One copy of the game per user and display: an exclusive lock on a file named after both. A
// copy on another X display is on another desktop and runs; the lock dies with its process, so
// a killed copy never blocks the next start, nor does a process it forked.
#pragma once

#include <string>

class AppSingleCopy {
  public:
    AppSingleCopy() = default;
    ~AppSingleCopy() { Release(); }
    AppSingleCopy(const AppSingleCopy&) = delete;
    AppSingleCopy& operator=(const AppSingleCopy&) = delete;

    // 1 when this process now holds the lock (or held it already), 0 when another copy holds
    // it, -1 when the lock file cannot be used (logged; the caller starts anyway).
    int Take();
    void Release();

    // "<runtime folder>/fairlark-<user>-<display>.lock": the runtime folder is $XDG_RUNTIME_DIR,
    // else $TMPDIR, else "/tmp"; the display is $DISPLAY or "nodisplay". Characters other than
    // letters, digits, '.', ':' and '-' become '_', so no name leaves the folder.
    static std::string LockPath();

  private:
    int m_fd = -1;
};
