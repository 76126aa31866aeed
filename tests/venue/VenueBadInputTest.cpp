// The default venue with parts of its data missing or damaged: the world still loads where it
// can, says what is missing once, and never crashes.
#include "engine/Dirs.h"
#include "engine/EntTree.h"
#include "game/Ents/GameGrid.h"
#include "tests/venue/VenueFixture.h"
#include "world/CameraVantor1.h"
#include "world/Terrain2.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <initializer_list>
#include <string>

namespace {

int Occurrences(const std::string& text, const std::string& what) {
    int n = 0;
    for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1))
        ++n;
    return n;
}

TEST_F(VenueTest, WithoutHeightMapOrTilesTheGroundIsFlatAtFiftySixAndTheGridAndCameraFollow) {
    // A venue folder of its own holding only the authored files and the clouds.
    const std::string folder = m_program + "Data/Venues";
    ASSERT_EQ(unlink(folder.c_str()), 0);
    ASSERT_TRUE(DirCreatePath((folder + "/Default/").c_str()) == 1);
    for (const char* name : {"World.ini", "World.lua", "Clouds.tga"})
        ASSERT_EQ(symlink((std::string(FAIRLARK_BUILD_DATA_DIR "Venues/Default/") + name).c_str(),
                          (folder + "/Default/" + name).c_str()),
                  0);
    StartGame();
    ASSERT_TRUE(venue.Load(0, MTGAME_SANDBOX));
    ENTBASE* world = app.world.Get();
    auto* terrain = static_cast<Terrain2*>(EntTreeFindName(world, "Terrain"));
    ASSERT_NE(terrain, nullptr);
    float h = 0.0f;
    const VECTOR3 middle = {512.0f, 0.0f, 512.0f};
    terrain->GetHeight(&middle, &h);
    EXPECT_EQ(h, 56.0f);
    auto* grid = static_cast<GameGrid*>(EntTreeFindName(world, "GameGrid"));
    ASSERT_NE(grid, nullptr);
    EXPECT_EQ(grid->originY, 56.0f);
    auto* camera = static_cast<CameraVantor1*>(EntTreeFindName(world, "Camera2"));
    ASSERT_NE(camera, nullptr);
    Frames(5);
    EXPECT_EQ(camera->targetPoint.y, 56.0f);
    const std::string log = Log();
    EXPECT_EQ(Occurrences(log, "Ground elevation.tga not loaded, flat 28.0"), 1) << log;
    // Each missing tile is looked for once, however many patches it covers.
    EXPECT_LE(Occurrences(log, "Tex01x02"), 1);
    venue.OpenDay();
    Frames(60);
    venue.Leave([this] { app.ClearScene(); });
    Frames(2);
}

TEST_F(VenueTest, AVenueListOfNoneGivesNoVenueAndRunsNoScript) {
    ASSERT_EQ(unlink((m_program + "Data/Venue.ini").c_str()), 0);
    WriteTextFile(m_program + "Data/Venue.ini", "[Venue]\nnum=0\n");
    StartGame();
    EXPECT_FALSE(venue.Load(0, MTGAME_SANDBOX, 3));
    MtGame* game = venue.Game();
    ASSERT_NE(game, nullptr);
    EXPECT_EQ(game->venue, nullptr);
    EXPECT_NE(Log().find("VenueDriver: no venue 0"), std::string::npos) << "a venue was chosen";
    // Nor does the game start one without its script.
    EXPECT_FALSE(MtGameNewGame(game));
    EXPECT_EQ(EntTreeFindName(app.world.Get(), "Terrain"), nullptr);
    EXPECT_NE(Log().find("no venue script"), std::string::npos);
}

TEST_F(VenueTest, WithoutGameDataTheWorldLoadsButNothingCanBePlaced) {
    ASSERT_EQ(unlink((m_program + "Data/Data.ini").c_str()), 0);
    StartGame();
    ASSERT_TRUE(venue.Load(0, MTGAME_SANDBOX));
    EXPECT_EQ(venue.Place(23, 10, 10), nullptr);
    EXPECT_NE(Log().find("VenueDriver: no attraction type 23"), std::string::npos);
    Frames(5);
}

// ---- damaged and missing files: each named once, with what was wrong ----

// The venue folder of its own holding the authored files named, linked to the build's.
void LinkVenueFiles(const std::string& program, std::initializer_list<const char*> names) {
    const std::string folder = program + "Data/Venues";
    ASSERT_EQ(unlink(folder.c_str()), 0);
    ASSERT_TRUE(DirCreatePath((folder + "/Default/").c_str()) == 1);
    for (const char* name : names)
        ASSERT_EQ(symlink((std::string(FAIRLARK_BUILD_DATA_DIR "Venues/Default/") + name).c_str(),
                          (folder + "/Default/" + name).c_str()),
                  0);
}

// A data file of the build replaced by its first `keep` bytes (a copy cut short).
void CutDataFile(const std::string& program, const std::string& name, double keep) {
    const std::string text = ReadTextFile(FAIRLARK_BUILD_DATA_DIR + name);
    ASSERT_EQ(unlink((program + "Data/" + name).c_str()), 0);
    WriteTextFile(program + "Data/" + name, text.substr(0, size_t(double(text.size()) * keep)));
}

TEST_F(VenueTest, AVenueWithoutItsWorldFileStopsLoadingAndNamesTheFile) {
    LinkVenueFiles(m_program, {"World.lua", "Clouds.tga"});
    StartGame();
    EXPECT_FALSE(venue.Load(0, MTGAME_SANDBOX)) << "an empty world was reported as loaded";
    const std::string log = Log();
    EXPECT_EQ(
        Occurrences(log, "EntLoadEntitiesIni: " + m_program +
                             "Data/Venues\\Default\\World.ini is missing or cannot be read\n"),
        1)
        << log;
    EXPECT_NE(log.find("Venues\\Default\\World.lua did not run"), std::string::npos) << log;
}

TEST_F(VenueTest, CutGameDataAndVenueListsAreNamedOnceAndTheGameGoesOn) {
    CutDataFile(m_program, "Data.ini", 0.5);
    CutDataFile(m_program, "Venue.ini", 0.8);
    StartGame();
    const std::string log = Log();
    const std::string data = "MtGame: " + m_program + "Data/Data.ini is cut short or damaged: ";
    ASSERT_EQ(Occurrences(log, data), 1) << log;
    const std::string line =
        log.substr(log.find(data), log.find('\n', log.find(data)) - log.find(data));
    EXPECT_NE(line.find("of the 62 records of [Attraction] (Attraction"), std::string::npos)
        << line;
    EXPECT_NE(line.find("to Attraction61) are missing"), std::string::npos) << line;
    EXPECT_NE(line.find("[GameVals] is missing"), std::string::npos) << line;
    EXPECT_EQ(Occurrences(log, "MtGame: " + m_program +
                                   "Data/Venue.ini is cut short or damaged: Venue04 of the 5 "
                                   "records of [Venue] is missing"),
              1)
        << log;
    EXPECT_TRUE(venue.Load(0, MTGAME_SANDBOX)) << "the first venue is whole and must still load";
}

TEST_F(VenueTest, ACutTextureIsNamedAsDamagedNotMissing) {
    LinkVenueFiles(m_program, {"World.ini", "World.lua"});
    const std::string clouds = ReadTextFile(FAIRLARK_BUILD_DATA_DIR "Venues/Default/Clouds.tga");
    WriteTextFile(m_program + "Data/Venues/Default/Clouds.tga", clouds.substr(0, 100));
    StartGame();
    ASSERT_TRUE(venue.Load(0, MTGAME_SANDBOX));
    const std::string log = Log();
    EXPECT_EQ(Occurrences(log, "Clouds.tga): not a TGA image that can be read (cut short or "
                               "damaged)!\n"),
              1)
        << log;
    EXPECT_EQ(Occurrences(log, "Clouds.tga): File not found!"), 0) << log;
    EXPECT_EQ(Occurrences(log, "Emit.tga): File not found!"), 0) << "optional maps: " << log;
    for (const char* specular : {"BulbsSpec.tga", "LeavesSpec.tga"})
        EXPECT_EQ(Occurrences(log, std::string(specular) + "): File not found!"), 0)
            << "optional maps: " << log;
}

} // namespace
