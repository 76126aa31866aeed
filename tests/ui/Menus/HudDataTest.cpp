// The data the HUD needs from the build: its script, its pictures and each venue's music.
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

namespace {
const std::string kData = FAIRLARK_BUILD_DATA_DIR;
}

TEST(HudData, EveryVenuesMusicAndEveryHudPictureIsGenerated) {
    std::istringstream venues(ReadTextFile(kData + "Venue.ini"));
    int songs = 0;
    for (std::string line; std::getline(venues, line);) {
        if (line.rfind("musicFile=", 0) != 0) continue;
        std::string song = line.substr(10);
        while (!song.empty() && (song.back() == '\r' || song.back() == ' '))
            song.pop_back();
        for (char& c : song)
            if (c == '\\') c = '/';
        ++songs;
        const std::string bytes = ReadTextFile(kData + song);
        EXPECT_EQ(bytes.substr(0, 4), "OggS") << song << " is not an Ogg stream";
    }
    EXPECT_EQ(songs, 5) << "the shipped venue list names five songs";

    for (const char* art :
         {"ZobHudBackground", "ButtonBusinessReport", "ButtonFairReport", "ButtonManage",
          "ButtonHelp", "ZobTimeOfDayDisc", "ZobTimeOfDayIconFrame"})
        EXPECT_TRUE(PathExistsOnDisk(kData + "Menu/HUD/" + art + ".dds")) << art;
    EXPECT_TRUE(PathExistsOnDisk(kData + "Menu/MenuGameRunning.lua"));
}
