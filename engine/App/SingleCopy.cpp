// The single-copy lock over flock(2).
#include "engine/App/SingleCopy.h"

#include "engine/DebugLog.h"
#include "platform/SysPlatform.h"

#include <fcntl.h>
#include <pwd.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

// Environment values are anyone's: keep what a file name can hold, and not too much of it.
static std::string SafeNamePart(const char* text, const char* fallback) {
    if (!text || !*text) text = fallback;
    std::string out;
    for (const char* p = text; *p && out.size() < 64; ++p) {
        char c = *p;
        bool ok = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                  c == '.' || c == ':' || c == '-';
        out.push_back(ok ? c : '_');
    }
    return out;
}

static std::string UserName() {
    char buffer[1024];
    passwd pw{};
    passwd* found = nullptr;
    if (getpwuid_r(getuid(), &pw, buffer, sizeof buffer, &found) == 0 && found && found->pw_name)
        return found->pw_name;
    return std::to_string((unsigned long)getuid());
}

std::string AppSingleCopy::LockPath() {
    const char* folder = std::getenv("XDG_RUNTIME_DIR");
    if (!folder || !*folder) folder = std::getenv("TMPDIR");
    if (!folder || !*folder) folder = "/tmp";
    std::string path = folder;
    if (path.back() != '/') path += '/';
    path += "fairlark-" + SafeNamePart(UserName().c_str(), "user") + "-" +
            SafeNamePart(std::getenv("DISPLAY"), "nodisplay") + ".lock";
    return path;
}

int AppSingleCopy::Take() {
    if (m_fd >= 0) return 1;
    std::string path = LockPath();
    // Close-on-exec: a started helper program must not keep the lock after the game ends. No
    // symbolic links: a shared temporary folder may hold one planted by another user.
    int fd = open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0) {
        DbgOut("AppSingleCopy: cannot open %s: %s\n", path.c_str(), std::strerror(errno));
        return -1;
    }
    while (flock(fd, LOCK_EX | LOCK_NB) != 0) {
        if (errno == EINTR) continue;
        int error = errno;
        close(fd);
        if (error == EWOULDBLOCK) return 0;
        DbgOut("AppSingleCopy: cannot lock %s: %s\n", path.c_str(), std::strerror(error));
        return -1;
    }
    m_fd = fd;
    // A forked child shares the lock (flock belongs to the open file): it drops its share, so
    // a box's helper process that outlives a killed game does not keep the next start out.
    PlatSetForkedChildCloses(fd);
    return 1;
}

void AppSingleCopy::Release() {
    if (m_fd < 0) return;
    PlatSetForkedChildCloses(-1);
    close(m_fd); // drops the lock; the file stays for the next copy
    m_fd = -1;
}
