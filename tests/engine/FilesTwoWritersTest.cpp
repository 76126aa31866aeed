// Two programs saving one name at once, each slowed at its flush to the disk: the first flush of
// a writer process waits on the test, so the test decides who is inside a write when.
#include "engine/Files.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <poll.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <string>

namespace {
int s_reachedFd = -1; // written to when the held flush is reached
int s_goFd = -1;      // read from before that flush goes on
} // namespace

// Every flush of this test program passes through here; only a writer started below waits.
extern "C" int fsync(int fd) {
    if (s_goFd >= 0) {
        char byte = 'r';
        if (write(s_reachedFd, &byte, 1) != 1) _exit(90);
        if (read(s_goFd, &byte, 1) != 1) _exit(91);
        s_goFd = -1;
    }
    return (int)syscall(SYS_fsync, fd);
}

namespace {

struct Writer {
    pid_t pid = -1;
    int reached = -1; // the test's ends of the two pipes
    int go = -1;
};

// A process that writes `text` whole to `path` and exits with 0 when told it was saved.
Writer StartWriter(const std::string& path, const std::string& text) {
    int reached[2], go[2];
    if (pipe(reached) != 0 || pipe(go) != 0) return {};
    Writer w;
    w.pid = fork();
    if (w.pid == 0) {
        close(reached[0]);
        close(go[1]);
        s_reachedFd = reached[1];
        s_goFd = go[0];
        _exit(FileWriteAll(path.c_str(), text.data(), text.size()) == 1 ? 0 : 1);
    }
    close(reached[1]);
    close(go[0]);
    w.reached = reached[0];
    w.go = go[1];
    return w;
}

// Whether the writer reached its flush within the time; a limit that only names a writer that
// never came.
bool Reached(const Writer& w, int milliseconds) {
    pollfd p{w.reached, POLLIN, 0};
    char byte;
    return poll(&p, 1, milliseconds) == 1 && read(w.reached, &byte, 1) == 1;
}

int Finish(Writer& w) {
    char byte = 'g';
    if (write(w.go, &byte, 1) != 1) return -1;
    int status = 0;
    waitpid(w.pid, &status, 0);
    close(w.reached);
    close(w.go);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

} // namespace

TEST(FilesTwoWriters, EachIsToldItsOwnOutcomeAndNoLiveTemporaryGoes) {
    TempDir dir;
    const std::string path = dir / "Same.sbx";
    const std::string first(40000, 'A'), second(50000, 'B');
    Writer a = StartWriter(path, first);
    ASSERT_TRUE(Reached(a, 60000)) << "the first writer never reached its flush";
    ASSERT_TRUE(PathExistsOnDisk(path + ".tmp"));

    // The second waits for the first's rename: it does not reach its own flush, so it has not
    // touched the first's temporary file.
    Writer b = StartWriter(path, second);
    EXPECT_FALSE(Reached(b, 1500)) << "the second writer went on while the first was writing";
    EXPECT_EQ(ReadTextFile(path + ".tmp"), first) << "a live writer's temporary file was taken";

    EXPECT_EQ(Finish(a), 0) << "the first writer was told its save failed";
    EXPECT_EQ(ReadTextFile(path), first);
    ASSERT_TRUE(Reached(b, 60000)) << "the second writer never went on";
    EXPECT_EQ(Finish(b), 0) << "the second writer was told its save failed";
    EXPECT_EQ(ReadTextFile(path), second) << "the file on disk is not the last whole save";
    EXPECT_FALSE(PathExistsOnDisk(path + ".tmp"));
}

TEST(FilesTwoWriters, ADeadWritersTemporaryIsRemovedByTheNextWrite) {
    TempDir dir;
    const std::string path = dir / "Same.sbx";
    ASSERT_EQ(FileWriteAll(path.c_str(), "old", 3), 1);
    Writer a = StartWriter(path, "killed half-way");
    ASSERT_TRUE(Reached(a, 60000));
    kill(a.pid, SIGKILL);
    int status = 0;
    waitpid(a.pid, &status, 0);
    close(a.reached);
    close(a.go);
    EXPECT_TRUE(WIFSIGNALED(status));
    ASSERT_TRUE(PathExistsOnDisk(path + ".tmp"));
    EXPECT_EQ(ReadTextFile(path), "old");

    ASSERT_EQ(FileWriteAll(path.c_str(), "new", 3), 1);
    EXPECT_EQ(ReadTextFile(path), "new");
    EXPECT_FALSE(PathExistsOnDisk(path + ".tmp"));
}

TEST(FilesTwoWriters, AFailedWriteTellsTheSystemsReason) {
    TempDir dir;
    const std::string path = dir / "Same.sbx";
    FileSetWriteFault(true);
    EXPECT_EQ(FileWriteAll(path.c_str(), "full disk", 9), -1);
    FileSetWriteFault(false);
    EXPECT_EQ(std::string(FileLastWriteError()), std::strerror(ENOSPC));
    EXPECT_EQ(FileWriteAll((dir / "no/such.sbx").c_str(), "x", 1), -1);
    EXPECT_EQ(std::string(FileLastWriteError()), std::strerror(ENOENT));
    EXPECT_EQ(FileWriteAll(path.c_str(), "fine", 4), 1);
    EXPECT_EQ(std::string(FileLastWriteError()), "");
}
