// Read-only folders for tests, as root too.
#include "tests/support/ReadOnlyFolder.h"

#include <sched.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace {

// In the child: 0, or errno of the step the kernel refused.
int MakeReadOnly(const std::string& folder, int pipeFd) {
    int error = 0;
    if (geteuid() != 0) {
        if (chmod(folder.c_str(), 0555) != 0) error = errno;
    } else if (unshare(CLONE_NEWNS) != 0 ||
               mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
               mount(folder.c_str(), folder.c_str(), nullptr, MS_BIND, nullptr) != 0 ||
               mount(nullptr, folder.c_str(), nullptr, MS_REMOUNT | MS_BIND | MS_RDONLY, nullptr) !=
                   0) {
        error = errno;
    }
    if (write(pipeFd, &error, sizeof error) != (ssize_t)sizeof error) error = EIO;
    return error;
}

} // namespace

int RunWithFolderReadOnly(const std::string& folder, const std::function<int()>& body,
                          std::string* why) {
    int fds[2];
    if (pipe(fds) != 0) {
        if (why) *why = std::strerror(errno);
        return READONLY_REFUSED;
    }
    const pid_t pid = fork();
    if (pid == 0) {
        close(fds[0]);
        if (MakeReadOnly(folder, fds[1]) != 0) _exit(READONLY_REFUSED);
        close(fds[1]);
        _exit(body() & 0xff);
    }
    close(fds[1]);
    int error = pid < 0 ? errno : 0;
    if (pid > 0 && read(fds[0], &error, sizeof error) != (ssize_t)sizeof error) error = EIO;
    close(fds[0]);
    int status = 0;
    if (pid > 0) waitpid(pid, &status, 0);
    if (geteuid() != 0) chmod(folder.c_str(), 0755);
    if (error != 0) {
        if (why) *why = std::string("a read-only folder cannot be made: ") + std::strerror(error);
        return READONLY_REFUSED;
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : 255;
}
