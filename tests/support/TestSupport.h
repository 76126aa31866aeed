// Helpers shared by the tests: a scratch folder per test, small file helpers and a hand-moved
// clock.
#pragma once

#include <cstdint>
#include <string>

// A fresh folder under the system's temporary folder, removed with everything in it (links are
// removed, never followed) when the object goes.
class TempDir {
  public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    // The folder, ending in "/".
    const std::string& Path() const { return m_path; }
    // Path() + relative.
    std::string operator/(const std::string& relative) const { return m_path + relative; }

  private:
    std::string m_path;
};

// Writes or reads a whole file directly (no engine code), creating folders as needed.
void WriteTextFile(const std::string& path, const std::string& text);
std::string ReadTextFile(const std::string& path);
// Wide text as plain ASCII for comparisons and messages: other characters become '?'. Null
// reads as empty.
std::string Narrow(const char16_t* text);
inline std::string Narrow(const std::u16string& text) {
    return Narrow(text.c_str());
}
bool PathExistsOnDisk(const std::string& path);
// How many files this process holds open: a test counts them before and after to catch a leak.
int OpenFileCount();

// Replaces the engine's clock with one the test moves by hand; restores the real clock when
// the object goes.
class TestClock {
  public:
    TestClock();
    ~TestClock();
    void AdvanceMs(uint64_t ms) { s_nowUs += ms * 1000; }
    void AdvanceUs(uint64_t us) { s_nowUs += us; }

  private:
    static uint64_t Now() { return s_nowUs; }
    static uint64_t s_nowUs;
};

// Sends the debug log to a file of its own at the given levels (file output only); the log's
// earlier file and masks come back when the object goes.
class LogCapture {
  public:
    explicit LogCapture(uint32_t levels = 0xFFFFFFFFu);
    ~LogCapture();
    LogCapture(const LogCapture&) = delete;
    LogCapture& operator=(const LogCapture&) = delete;
    // What was logged so far.
    std::string Text() const;

  private:
    TempDir m_dir;
    std::string m_oldFile;
    uint32_t m_oldLevels, m_oldOutputs;
};

// The folder holding the build's generated "Data/" (ending in "/"). Test programs run from
// build/tests/, where there is none.
std::string BuildProgramFolder();

// Makes the program folder (SysProgramFolder, and so every class data folder and the log's
// place) the given one, by default the build's, until the object goes. It holds across SysInit.
class ProgramFolderScope {
  public:
    explicit ProgramFolderScope(const std::string& folder = BuildProgramFolder());
    ~ProgramFolderScope();
    ProgramFolderScope(const ProgramFolderScope&) = delete;
    ProgramFolderScope& operator=(const ProgramFolderScope&) = delete;

  private:
    std::string m_old;
};
