// Whole-file reads, descriptor modes, safe whole-file writes and the handle layer.
#include "engine/Files.h"
#include "engine/DebugLog.h"
#include "engine/Memory.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>

TEST(Files, ReadAllOfAnEmptyFileWithTerminateGivesTwoZeroBytes) {
    TempDir dir;
    WriteTextFile(dir / "empty.txt", "");
    void* buf = nullptr;
    int size = FileReadAll(&buf, (dir / "empty.txt").c_str(), 1);
    ASSERT_EQ(size, 2) << "the terminator bytes count in the size";
    ASSERT_NE(buf, nullptr);
    EXPECT_EQ(static_cast<char*>(buf)[0], 0);
    EXPECT_EQ(static_cast<char*>(buf)[1], 0);
    MemFree(buf);

    size = FileReadAll(&buf, (dir / "empty.txt").c_str(), 0);
    EXPECT_EQ(size, 0);
    MemFree(buf);
}

TEST(Files, ReadAllReadsContentsAndTerminates) {
    TempDir dir;
    WriteTextFile(dir / "a.ini", "[S]\nkey=1\n");
    void* buf = nullptr;
    int size = FileReadAll(&buf, (dir / "a.ini").c_str(), 1);
    ASSERT_EQ(size, 12);
    EXPECT_STREQ(static_cast<char*>(buf), "[S]\nkey=1\n");
    MemFree(buf);
}

TEST(Files, ReadAllFailuresLeaveNoBuffer) {
    TempDir dir;
    int64_t live = MemLiveBlocks();
    void* buf = reinterpret_cast<void*>(0x1);
    EXPECT_EQ(FileReadAll(&buf, (dir / "missing.txt").c_str(), 1), -1);
    EXPECT_EQ(buf, nullptr) << "a failed read must not hand back a stale pointer";

    buf = reinterpret_cast<void*>(0x1);
    EXPECT_EQ(FileReadAll(&buf, dir.Path().c_str(), 0), -1) << "a folder is not a file";
    EXPECT_EQ(buf, nullptr);
    EXPECT_EQ(FileReadAll(&buf, nullptr, 0), -1);
    EXPECT_EQ(FileReadAll(&buf, "", 0), -1);
    EXPECT_EQ(MemLiveBlocks(), live) << "a failure leaked its buffer";
}

TEST(Files, OpenModes) {
    TempDir dir;
    std::string path = dir / "f.bin";
    WriteTextFile(path, "abcdef");

    int fd = FileOpen(path.c_str(), 2);
    ASSERT_GE(fd, 0);
    EXPECT_EQ(FileLength(fd), 6) << "mode 2 must not truncate";
    EXPECT_EQ(FileWrite(fd, "XY", 2), 2);
    FileClose(fd);
    EXPECT_EQ(ReadTextFile(path), "XYcdef");

    fd = FileOpen(path.c_str(), 1);
    ASSERT_GE(fd, 0);
    EXPECT_EQ(FileLength(fd), 0) << "mode 1 truncates";
    FileClose(fd);

    EXPECT_EQ(FileOpen(path.c_str(), 3), -1);
    EXPECT_EQ(FileOpen(path.c_str(), -1), -1);
    EXPECT_EQ(FileOpen(dir.Path().c_str(), 0), -1) << "a folder opened as a file";
}

TEST(Files, SeekReadAndReadWhole) {
    TempDir dir;
    std::string path = dir / "f.bin";
    WriteTextFile(path, "0123456789");
    int fd = FileOpen(path.c_str(), 0);
    ASSERT_GE(fd, 0);
    char buf[16] = {};
    EXPECT_EQ(FileSeek(fd, 4), 4);
    EXPECT_EQ(FileRead(fd, buf, 3), 3);
    EXPECT_STREQ(buf, "456");
    EXPECT_EQ(FileRead(fd, buf, 10), 3) << "a short count only at the end";
    EXPECT_EQ(FileSeek(fd, 0), 0);
    EXPECT_EQ(FileReadWhole(fd, buf), 10);
    FileClose(fd);
    EXPECT_EQ(FileRead(-1, buf, 1), -1);
    EXPECT_EQ(FileLength(-1), -1);
}

TEST(Files, WriteAllReplacesWholeFilesAndKeepsTheOldOneOnFailure) {
    TempDir dir;
    std::string path = dir / "Config.ini";
    ASSERT_EQ(FileWriteAll(path.c_str(), "one", 3), 1);
    ASSERT_EQ(FileWriteAll(path.c_str(), "two!", 4), 1);
    EXPECT_EQ(ReadTextFile(path), "two!");
    EXPECT_FALSE(PathExistsOnDisk(path + ".tmp")) << "the temporary file stayed behind";

    // A write into a folder that does not exist fails and invents nothing.
    EXPECT_EQ(FileWriteAll((dir / "no/such/x.ini").c_str(), "x", 1), -1);
    EXPECT_FALSE(PathExistsOnDisk(dir / "no"));

    // A full disk half-way: the old file stays byte for byte and the temporary goes.
    FileSetWriteFault(true);
    EXPECT_EQ(FileWriteAll(path.c_str(), "three and more", 14), -1);
    FileSetWriteFault(false);
    EXPECT_EQ(ReadTextFile(path), "two!");
    EXPECT_FALSE(PathExistsOnDisk(path + ".tmp"));
}

TEST(Files, WriteAllNeverWritesThroughAPlantedOrStaleTemporaryFile) {
    TempDir dir;
    const std::string path = dir / "T.sbx";
    const std::string elsewhere = dir / "victim.txt";
    WriteTextFile(elsewhere, "keep me");
    ASSERT_EQ(symlink(elsewhere.c_str(), (path + ".tmp").c_str()), 0);
    ASSERT_EQ(FileWriteAll(path.c_str(), "save", 4), 1);
    EXPECT_EQ(ReadTextFile(elsewhere), "keep me") << "the save wrote through the planted link";
    EXPECT_EQ(ReadTextFile(path), "save");
    EXPECT_FALSE(PathExistsOnDisk(path + ".tmp"));

    // A killed save's leftover goes at the next write of the same file.
    WriteTextFile(path + ".tmp", "half a sa");
    ASSERT_EQ(FileWriteAll(path.c_str(), "again", 5), 1);
    EXPECT_EQ(ReadTextFile(path), "again");
    EXPECT_FALSE(PathExistsOnDisk(path + ".tmp"));

    // A folder in the way cannot be removed: the write fails and the old file stays.
    ASSERT_EQ(mkdir((path + ".tmp").c_str(), 0755), 0);
    EXPECT_EQ(FileWriteAll(path.c_str(), "third", 5), -1);
    EXPECT_EQ(ReadTextFile(path), "again");
}

TEST(Files, ExistsAndDelete) {
    TempDir dir;
    std::string path = dir / "x.txt";
    EXPECT_EQ(FileExists(path.c_str()), 0);
    WriteTextFile(path, "x");
    EXPECT_EQ(FileExists(path.c_str()), 1);
    EXPECT_EQ(FileDelete(path.c_str()), 1);
    EXPECT_EQ(FileExists(path.c_str()), 0);
    EXPECT_EQ(FileDelete(path.c_str()), -1);
    EXPECT_EQ(FileExists(dir.Path().c_str()), 0) << "a folder is not a file";
    EXPECT_EQ(FileDelete(dir.Path().c_str()), -1) << "FileDelete must not remove folders";
}

TEST(Files, HandleLayerResults) {
    TempDir dir;
    std::string path = dir / "img.tga";
    WriteTextFile(path, "TGA!");
    int h = VdriveOpen(path.c_str(), 0);
    ASSERT_GE(h, 0);
    EXPECT_EQ(VdriveFileLength(h), 4);
    char buf[8] = {};
    EXPECT_EQ(VdriveFileRead(h, buf), 4);
    EXPECT_STREQ(buf, "TGA!");
    VdriveFileClose(h);

    EXPECT_EQ(VdriveOpen((dir / "none.tga").c_str(), 0), -1);
    EXPECT_EQ(VdriveFileLength(-1), -1);
    EXPECT_EQ(VdriveFileRead(-1, buf), 0);
}

TEST(Files, CaseInsensitiveLookupFindsTheFileAnySpelling) {
    TempDir dir;
    WriteTextFile(dir / "Data/Menu/HUD/Config.ini", "[Xq Config]\n");
    void* buf = nullptr;
    std::string asked = dir.Path() + "Data\\menu\\hud\\config.INI";
    ASSERT_EQ(FileReadAll(&buf, asked.c_str(), 1), 14);
    EXPECT_STREQ(static_cast<char*>(buf), "[Xq Config]\n");
    MemFree(buf);

    // Writing a name that differs only in case rewrites the one file.
    ASSERT_EQ(FileWriteAll((dir / "Data/Menu/HUD/config.ini").c_str(), "new", 3), 1);
    EXPECT_EQ(ReadTextFile(dir / "Data/Menu/HUD/Config.ini"), "new");
    EXPECT_FALSE(PathExistsOnDisk(dir / "Data/Menu/HUD/config.ini"))
        << "a second spelling of the file was created";

    int fd = FileOpen((dir / "DATA/MENU/hud/CONFIG.ini").c_str(), 1);
    ASSERT_GE(fd, 0);
    FileWrite(fd, "again", 5);
    FileClose(fd);
    EXPECT_EQ(ReadTextFile(dir / "Data/Menu/HUD/Config.ini"), "again");
}

TEST(Files, FileMadeBehindTheCachesBackIsFound) {
    TempDir dir;
    WriteTextFile(dir / "Saves/One.car", "1");
    EXPECT_EQ(FileExists((dir / "saves/one.car").c_str()), 1); // fills the cache of Saves/
    WriteTextFile(dir / "Saves/Two.car", "2");                 // behind the cache's back
    EXPECT_EQ(FileExists((dir / "saves/TWO.car").c_str()), 1)
        << "a miss must rescan the folder before giving up";
}

TEST(Files, ExactSpellingWinsOverAnotherCase) {
    TempDir dir;
    WriteTextFile(dir / "Config.ini", "upper");
    WriteTextFile(dir / "config.ini", "lower");
    void* buf = nullptr;
    ASSERT_GT(FileReadAll(&buf, (dir / "config.ini").c_str(), 1), 0);
    EXPECT_STREQ(static_cast<char*>(buf), "lower");
    MemFree(buf);
    ASSERT_GT(FileReadAll(&buf, (dir / "Config.ini").c_str(), 1), 0);
    EXPECT_STREQ(static_cast<char*>(buf), "upper");
    MemFree(buf);
}

// A data file that is a named pipe would wait for a writer for ever; a device or a folder is no
// data either. Each is refused at once, and nothing stays open.
TEST(Files, PipesDevicesAndFoldersAreRefusedWithoutWaiting) {
    TempDir dir;
    const std::string fifo = dir / "Startup.lua";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    const int openBefore = OpenFileCount();

    // Should the open wait, a writer comes after a long while, so that the fault shows as a
    // failed expectation rather than a hung test.
    std::mutex lock;
    std::condition_variable opened;
    bool done = false, rescued = false;
    std::thread watchdog([&] {
        std::unique_lock<std::mutex> held(lock);
        if (opened.wait_for(held, std::chrono::seconds(30), [&] { return done; })) return;
        rescued = true;
        int writer = open(fifo.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
        if (writer >= 0) close(writer);
    });
    const int fd = FileOpen(fifo.c_str(), 0);
    {
        std::lock_guard<std::mutex> held(lock);
        done = true;
    }
    opened.notify_one();
    watchdog.join();
    ASSERT_FALSE(rescued) << "opening a named pipe waited for a writer";
    EXPECT_EQ(fd, -1);
    EXPECT_EQ(FileOpen(fifo.c_str(), 1), -1) << "nor may writing wait for a reader";
    EXPECT_EQ(FileOpen(fifo.c_str(), 2), -1);
    void* buf = nullptr;
    EXPECT_EQ(FileReadAll(&buf, fifo.c_str(), 1), -1);
    EXPECT_EQ(buf, nullptr);
    LogCapture log(DBG_GENERAL);
    EXPECT_EQ(FileOpen("/dev/null", 0), -1) << "a device";
    EXPECT_NE(log.Text().find("/dev/null is not a regular file"), std::string::npos) << log.Text();
    EXPECT_EQ(FileOpen(dir.Path().c_str(), 0), -1) << "a folder";
    EXPECT_EQ(OpenFileCount(), openBefore);

    WriteTextFile(dir / "Real.lua", "x = 1");
    const int real = FileOpen((dir / "Real.lua").c_str(), 0);
    ASSERT_GE(real, 0);
    EXPECT_EQ(fcntl(real, F_GETFL) & O_NONBLOCK, 0) << "a regular file is read as usual";
    FileClose(real);
}
