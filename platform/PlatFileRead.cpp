// Whole-file reads for the platform layer's own loaders.
#include "platform/PlatFileRead.h"

#include "platform/PathResolve.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>

int PlatReadWholeFile(const char* path, std::vector<uint8_t>* out) {
    if (!out) return -1;
    out->clear();
    std::string disk;
    if (!path || PlatPathResolve(path, &disk) != 1) return -1;
    // Non-blocking open, so that a named pipe cannot stall the caller before it is refused.
    int fd = open(disk.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return -1;
    struct stat st;
    if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || st.st_size < 0) {
        close(fd);
        return -1;
    }
    out->resize(size_t(st.st_size));
    size_t got = 0;
    while (got < out->size()) {
        ssize_t n = read(fd, out->data() + got, out->size() - got);
        if (n <= 0) break;
        got += size_t(n);
    }
    close(fd);
    if (got != out->size()) {
        out->clear();
        return -1;
    }
    return 1;
}
