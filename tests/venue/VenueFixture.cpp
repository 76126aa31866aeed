#include "tests/venue/VenueFixture.h"

#include "engine/DebugLog.h"

#include <dirent.h>
#include <unistd.h>

#include <cstring>

void VenueTest::SetUp() {
    GameAppTest::SetUp();
    if (HasFatalFailure()) return;
    DIR* dir = opendir(FAIRLARK_BUILD_DATA_DIR);
    ASSERT_NE(dir, nullptr);
    while (dirent* e = readdir(dir)) {
        const std::string name = e->d_name;
        if (name == "." || name == ".." || name == "Startup.lua" || name == "Fonts") continue;
        ASSERT_EQ(
            symlink((FAIRLARK_BUILD_DATA_DIR + name).c_str(), (m_program + "Data/" + name).c_str()),
            0)
            << name;
    }
    closedir(dir);
    WriteStartup(std::string(kRegisterAll) + "Game.CreateEntityTree()\n");
    m_clock.emplace();
    // The run log beside the program, as a player's debug setting writes it.
    WriteConfig("[Xq Config]\nrunHwConfig=0\nwindowed=1\nwinWidth=1024\nwinHeight=768\n"
                "lockableBackbuffer=1\ndebug=1\n");
    venue.frame = [this] {
        m_clock->AdvanceMs(33);
        Frame();
    };
}

void VenueTest::TearDown() {
    GameAppTest::TearDown();
    m_clock.reset();
}

void VenueTest::StartGame() {
    Start();
    venue.root = app.GetRoot();
    ASSERT_NE(venue.root, nullptr);
    venue.observer = VenueObserverMake(venue.root);
    ASSERT_NE(venue.observer, nullptr);
}
