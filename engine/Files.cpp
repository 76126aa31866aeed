// Files over POSIX descriptors, with Windows-style name lookup.
#include "engine/Files.h"

#include "engine/DebugLog.h"
#include "engine/Memory.h"
#include "platform/PathResolve.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>
#include <string>

namespace {

// The name to open: the file as on disk when some spelling exists, else the requested name
// under the folders as they are spelled on disk.
std::string DiskName(const char* path) {
    std::string disk;
    PlatPathResolve(path, &disk);
    return disk;
}

bool s_writeFault = false;

std::string FolderOf(const std::string& file) {
    size_t slash = file.rfind('/');
    return slash == std::string::npos ? std::string(".") : file.substr(0, slash + 1);
}

// The system's words for the last failed whole-file write.
std::string s_lastError;

int Failed(const char* what, const std::string& path, int error) {
    s_lastError = std::strerror(error);
    DbgPrintf(DBG_GENERAL, "Files: %s %s: %s\n", what, path.c_str(), s_lastError.c_str());
    return -1;
}

// Whole-file writes into one folder take turns, by every program on the machine: a writer holds
// the folder's lock from looking for its temporary file until that file is renamed, so a
// temporary file found under the lock was left by a writer that died, and one a live writer
// holds is never taken for such. A folder that cannot be locked is written unlocked.
class FolderLock {
  public:
    explicit FolderLock(const std::string& folder)
        : m_fd(open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)) {
        while (m_fd >= 0 && flock(m_fd, LOCK_EX) != 0 && errno == EINTR) {
        }
    }
    ~FolderLock() {
        if (m_fd >= 0) close(m_fd); // drops the lock
    }
    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;
    // A rename is only durable once its folder is flushed. A folder that cannot be flushed does
    // not undo the write, which has happened: it is not reported.
    void Sync() const {
        if (m_fd >= 0) fsync(m_fd);
    }

  private:
    int m_fd;
};

// The temporary file of a whole-file write, beside its target: made afresh and never through a
// link, so that nothing planted under its name is written through. One that a killed write left
// behind is removed (a link itself, never what it leads to) and the file made again.
int OpenTemporary(const std::string& tmp) {
    for (int attempt = 0; attempt < 2; ++attempt) {
        int fd = open(tmp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644);
        if (fd >= 0 || errno != EEXIST) return fd;
        struct stat st {};
        if (lstat(tmp.c_str(), &st) != 0 || S_ISDIR(st.st_mode) || unlink(tmp.c_str()) != 0) {
            const int error = S_ISDIR(st.st_mode) ? EISDIR : errno;
            Failed("in the way and cannot be removed:", tmp, error);
            return -1;
        }
        DbgPrintf(DBG_GENERAL, "Files: removed %s, left by an earlier write\n", tmp.c_str());
    }
    return -1;
}

bool IsRegularFd(int fd) {
    struct stat st;
    return fstat(fd, &st) == 0 && S_ISREG(st.st_mode);
}

} // namespace

int FileOpen(const char* path, int mode) {
    if (!path || !*path) return -1;
    int flags;
    switch (mode) {
        case 0: flags = O_RDONLY; break;
        case 1: flags = O_WRONLY | O_CREAT | O_TRUNC; break;
        case 2: flags = O_WRONLY | O_CREAT; break;
        default: return -1;
    }
    std::string disk = DiskName(path);
    if (disk.empty()) return -1;
    // Non-blocking until it is known to be a regular file: opening a named pipe waits for a
    // writer (or reader), and a device may wait for anything, so a data file that is one would
    // hang the program before it could refuse it.
    int fd = open(disk.c_str(), flags | O_CLOEXEC | O_NONBLOCK, 0644);
    if (fd < 0) return -1;
    if (!IsRegularFd(fd)) {
        DbgPrintf(DBG_GENERAL, "Files: %s is not a regular file; not opened\n", disk.c_str());
        close(fd);
        return -1;
    }
    int status = fcntl(fd, F_GETFL);
    if (status == -1 || fcntl(fd, F_SETFL, status & ~O_NONBLOCK) == -1) {
        close(fd);
        return -1;
    }
    if (mode != 0) PlatPathCacheInvalidate(disk);
    return fd;
}

int FileClose(int fd) {
    return fd >= 0 && close(fd) == 0 ? 0 : -1;
}

long FileSeek(int fd, long position) {
    if (fd < 0 || position < 0) return -1;
    off_t r = lseek(fd, (off_t)position, SEEK_SET);
    return r < 0 ? -1 : (long)r;
}

int FileRead(int fd, void* buffer, int bytes) {
    if (fd < 0 || bytes < 0 || (!buffer && bytes > 0)) return -1;
    int done = 0;
    while (done < bytes) {
        ssize_t n = read(fd, static_cast<char*>(buffer) + done, (size_t)(bytes - done));
        if (n < 0) {
            if (errno == EINTR) continue;
            return -1;
        }
        if (n == 0) break;
        done += (int)n;
    }
    return done;
}

int FileWrite(int fd, const void* buffer, int bytes) {
    if (fd < 0 || bytes < 0 || (!buffer && bytes > 0)) return -1;
    int done = 0;
    while (done < bytes) {
        ssize_t n = write(fd, static_cast<const char*>(buffer) + done, (size_t)(bytes - done));
        if (n < 0) {
            if (errno == EINTR) continue;
            return -1;
        }
        done += (int)n;
    }
    return done;
}

int FileLength(int fd) {
    struct stat st;
    if (fd < 0 || fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) return -1;
    // Lengths travel as int through the engine; a file too big for one is refused.
    if (st.st_size > INT_MAX - 2) return -1;
    return (int)st.st_size;
}

int FileReadWhole(int fd, void* buffer) {
    int len = FileLength(fd);
    if (len < 0) return -1;
    return FileRead(fd, buffer, len);
}

int FileReadAll(void** out, const char* path, int terminate) {
    if (!out) return -1;
    *out = nullptr;
    int fd = FileOpen(path, 0);
    if (fd < 0) return -1;
    int len = FileLength(fd);
    if (len < 0) {
        FileClose(fd);
        return -1;
    }
    int size = len + (terminate ? 2 : 0);
    auto* buf = static_cast<char*>(MemAlloc((size_t)size));
    if (!buf) {
        FileClose(fd);
        return -1;
    }
    int got = FileRead(fd, buf, len);
    FileClose(fd);
    if (got != len) {
        MemFree(buf);
        return -1;
    }
    if (terminate) buf[len] = buf[len + 1] = 0;
    *out = buf;
    return size;
}

int FileWriteAll(const char* path, const void* data, size_t bytes) {
    if (!path || !*path || (!data && bytes)) return -1;
    if (bytes > (size_t)INT_MAX) return -1;
    std::string disk = DiskName(path);
    if (disk.empty()) return -1;
    s_lastError.clear();
    std::string tmp = disk + ".tmp";
    FolderLock lock(FolderOf(disk));
    int fd = OpenTemporary(tmp);
    if (fd < 0) {
        if (s_lastError.empty()) Failed("cannot make", tmp, errno);
        return -1;
    }
    int error = 0;
    if (s_writeFault) {
        FileWrite(fd, data, (int)(bytes / 2));
        error = ENOSPC;
    } else if (FileWrite(fd, data, (int)bytes) != (int)bytes) {
        error = errno != 0 ? errno : EIO;
    }
    if (fsync(fd) != 0 && !error) error = errno;
    if (close(fd) != 0 && !error) error = errno;
    if (!error && rename(tmp.c_str(), disk.c_str()) != 0) error = errno;
    if (error)
        unlink(tmp.c_str());
    else
        lock.Sync();
    PlatPathCacheInvalidate(disk);
    return error ? Failed("could not write", disk, error) : 1;
}

const char* FileLastWriteError() {
    return s_lastError.c_str();
}

void FileSetWriteFault(bool failHalfway) {
    s_writeFault = failHalfway;
}

int FileExists(const char* path) {
    int fd = FileOpen(path, 0);
    if (fd < 0) return 0;
    FileClose(fd);
    return 1;
}

int FileDelete(const char* path) {
    if (!path || !*path) return -1;
    std::string disk;
    if (PlatPathResolve(path, &disk) != 1) return -1;
    struct stat st;
    if (lstat(disk.c_str(), &st) != 0 || S_ISDIR(st.st_mode)) return -1;
    int r = unlink(disk.c_str());
    PlatPathCacheInvalidate(disk);
    return r == 0 ? 1 : -1;
}

int VdriveOpen(const char* path, int mode) {
    return FileOpen(path, mode);
}

int VdriveFileLength(int handle) {
    return FileLength(handle);
}

int VdriveFileRead(int handle, void* buffer) {
    int len = FileLength(handle);
    if (len < 0 || !buffer) return 0;
    if (FileSeek(handle, 0) < 0) return 0;
    int got = FileRead(handle, buffer, len);
    return got == len ? got : 0;
}

void VdriveFileClose(int handle) {
    FileClose(handle);
}
