// The world classes' shared procedure: the class data folder kept from registration, and the
// class's own reset and shut-down after the shared ones.
#include "engine/WorldClass.h"
#include "engine/EntIniLoader.h"
#include "engine/System.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

DataDir s_folder;
std::vector<std::string> s_heard;

const WorldClassDef kHooked = {
    "Hooked", nullptr, nullptr, [] { s_heard.push_back("registered"); }, &s_folder,
    // The source files are gone before the class's own reset runs.
    [] { s_heard.push_back(EntSourceFileFind("Venue.ini") ? "reset, files kept" : "reset"); },
    [] { s_heard.push_back("unregistered"); }};
const WorldClassDef kPlain = {"Plain", nullptr, nullptr, nullptr};

intptr_t Send(const WorldClassDef& def, int message, const char* b = nullptr) {
    return WorldClassProc(def, nullptr, message, 0, reinterpret_cast<intptr_t>(b), 0);
}

TEST(WorldClass, RegistrationKeepsTheFolderOfTheFileTheClassCameFrom) {
    s_heard.clear();
    EXPECT_EQ(Send(kHooked, 0, "/games/fair/Data/Rides/Startup.lua"), 0);
    EXPECT_EQ(s_folder.path, "/games/fair/Data/Rides/");
    TempDir program;
    {
        ProgramFolderScope scope(program.Path());
        Send(kHooked, 0);
        EXPECT_EQ(s_folder.path, std::string(SysProgramFolder()) + "Data/")
            << "registered with no file: the program's data folder";
    }
    EXPECT_EQ(s_heard, (std::vector<std::string>{"registered", "registered"}));
}

TEST(WorldClass, ResetAndShutDownReachTheClassAfterTheSharedWork) {
    s_heard.clear();
    ASSERT_NE(EntSourceFileIntern("Venue.ini"), nullptr);
    EXPECT_EQ(Send(kHooked, 1), 1);
    EXPECT_EQ(Send(kHooked, 2), 0);
    EXPECT_EQ(s_heard, (std::vector<std::string>{"reset", "unregistered"}));
    // A class without hooks still empties the table and answers both.
    ASSERT_NE(EntSourceFileIntern("Venue.ini"), nullptr);
    EXPECT_EQ(Send(kPlain, 1), 1);
    EXPECT_EQ(EntSourceFileFind("Venue.ini"), nullptr);
    EXPECT_EQ(Send(kPlain, 2), 0);
}

} // namespace
