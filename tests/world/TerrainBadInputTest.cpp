// The terrain against bad values and bad maps: cell sizes that would make the inverse infinite,
// grid sides out of range, odd height scales, maps of the wrong shape or depth, and points that
// are not numbers.
#include "tests/world/TerrainFixture.h"
#include "world/TerrainDraw.h"

#include <cmath>

namespace {

using TerrainBadInputTest = TerrainFixture;

TEST_F(TerrainBadInputTest, RefusedScaleKeepsThePreviousOne) {
    Terrain2* t = Load("tileWidth=32\ntileHeight=32\n");
    for (float bad : {0.0f, -2.0f, std::nanf(""), INFINITY}) {
        SCOPED_TRACE(bad);
        t->scale = 2.0f;
        t->VarsChanged();
        t->scale = bad;
        t->VarsChanged();
        EXPECT_EQ(t->terrain->cellWidth, 2.0f) << "the scale in use must stay";
        EXPECT_EQ(t->scale, 2.0f);
        EXPECT_FLOAT_EQ(HeightAt(t, 10.0f, 10.0f), 56.0f);
        EXPECT_TRUE(std::isfinite(t->terrain->invCellWidth));
    }
    EXPECT_EQ(LogCount("Terrain2: scale"), 4);

    // At the first VarsChanged the previous scale is 1.0.
    Terrain2* fresh = Make<Terrain2>("Terrain2", root, "Other");
    fresh->tileWidth = fresh->tileHeight = 32;
    fresh->scale = 0.0f;
    fresh->Start();
    EXPECT_EQ(fresh->scale, 1.0f);
    EXPECT_FLOAT_EQ(HeightAt(fresh, 10.0f, 10.0f), 28.0f);
}

TEST_F(TerrainBadInputTest, GridSidesOutOfRangeBecome512) {
    for (const char* bad : {"0", "-5", "5000"}) {
        SCOPED_TRACE(bad);
        Terrain2* t = Load(std::string("tileWidth=") + bad + "\ntileHeight=" + bad + "\n");
        ASSERT_NE(t->terrain, nullptr);
        EXPECT_EQ(t->terrain->cellsX, 512);
        EXPECT_EQ(t->terrain->cellsZ, 512);
        EXPECT_EQ(t->tileWidth, 512);
        EXPECT_EQ(
            LogCount(std::string("Terrain2: tileWidth ") + bad + " is outside 1..4096, 512 used"),
            1);
        EntDestroyTree(t);
    }
}

TEST_F(TerrainBadInputTest, ASideNotAMultipleOf32IsUsedWhole) {
    const std::string map = WriteMap("Hundred", 101, 33, [](int x, int) { return x; });
    Terrain2* t = Load("mapName=" + map + "\ntileWidth=100\ntileHeight=32\n");
    EXPECT_EQ(t->terrain->cellsX, 100);
    EXPECT_EQ(t->terrain->patchesX, 3);
    EXPECT_EQ(LogCount("Terrain2: tileWidth 100 is not a multiple of 32"), 1);
    for (int x = 0; x < 100; ++x)
        EXPECT_FLOAT_EQ(HeightAt(t, x + 0.5f, 3.0f), x + 0.5f) << "cell " << x;
    EXPECT_EQ(HeightAt(t, 100.0f, 3.0f), 0.0f);
    // The cells past the last whole patch are not drawn, but rays still meet them.
    const VECTOR3 o = {98.5f, 99.9f, 3.0f}, down = {0.01f, -1.0f, 0.0f};
    VECTOR3 hit;
    ASSERT_EQ(TerrainRayTest(t->terrain, &o, &down, &hit), 1);
    EXPECT_GT(hit.x, 96.0f);
    EXPECT_NEAR(hit.y, HeightAt(t, hit.x, hit.z), 1e-3f);
}

TEST_F(TerrainBadInputTest, HeightScaleNotANumberCountsAsOne) {
    const std::string map = WriteMap("Ground", 33, 33, [](int x, int) { return x % 2 ? 40 : 0; });
    for (float bad : {std::nanf(""), INFINITY, -INFINITY}) {
        SCOPED_TRACE(bad);
        auto* t = Make<Terrain2>("Terrain2", root, "Terrain");
        t->SetString("mapName", map.c_str());
        t->SetInt("tileWidth", 32);
        t->SetInt("tileHeight", 32);
        t->SetFloat("elvScale", bad);
        t->Start();
        EXPECT_EQ(t->elvScale, 1.0f);
        EXPECT_FLOAT_EQ(HeightAt(t, 1.0f, 3.0f), 40.0f);
        EXPECT_FLOAT_EQ(HeightAt(t, 2.0f, 3.0f), 0.0f) << "grey 0 times the scale is not 0";
        EntDestroyTree(t);
    }
    EXPECT_EQ(LogCount("Terrain2: elvScale nan refused, 1.0 used"), 1) << LogText();
    EXPECT_EQ(LogCount("Terrain2: elvScale inf refused, 1.0 used"), 1);
    EXPECT_EQ(LogCount("Terrain2: elvScale -inf refused, 1.0 used"), 1);
}

// Every map here is the wrong shape or cut short: the ground stays flat and nothing is read
// past the file's buffer (AddressSanitizer watches).
TEST_F(TerrainBadInputTest, BrokenMapsLeaveTheGroundFlat) {
    WriteMap("One", 1, 1, [](int, int) { return 9; });
    WriteMap("Short", 33, 32, [](int, int) { return 9; });
    WriteMap("Whole", 33, 33, [](int, int) { return 9; });
    const std::string whole = ReadTextFile(dir / "Whole elevation.tga");
    WriteTextFile(dir / "Cut elevation.tga", whole.substr(0, whole.size() - 1));
    WriteTextFile(dir / "Header elevation.tga", whole.substr(0, 17));
    for (const char* stem : {"One", "Short", "Cut", "Header"}) {
        SCOPED_TRACE(stem);
        Terrain2* t = Load("mapName=" + (dir / stem) + "\ntileWidth=32\ntileHeight=32\n");
        EXPECT_FLOAT_EQ(HeightAt(t, 7.0f, 9.0f), 28.0f);
        EntDestroyTree(t);
    }
}

TEST_F(TerrainBadInputTest, ColourMapsUseTheFirstByteOfEachPixel) {
    for (int format : {IMG_R8G8B8, IMG_A8R8G8B8}) {
        SCOPED_TRACE(format);
        I3dImage* img = ImgAlloc(33, 33, format);
        for (int r = 0; r < 33; ++r)
            for (int x = 0; x < 33; ++x) {
                uint8_t* p = img->pixels + r * img->pitch + x * img->bytesPerPixel;
                p[0] = uint8_t(x);
                for (int b = 1; b < img->bytesPerPixel; ++b)
                    p[b] = 200;
            }
        ASSERT_EQ(ImgSaveTga(img, (dir / "Colour elevation.tga").c_str(), nullptr), 0);
        ImgFree(img);
        Terrain2* t = Load("mapName=" + (dir / "Colour") + "\ntileWidth=32\ntileHeight=32\n");
        EXPECT_FLOAT_EQ(HeightAt(t, 5.0f, 5.0f), 5.0f);
        EXPECT_FLOAT_EQ(HeightAt(t, 20.0f, 31.0f), 20.0f);
        EntDestroyTree(t);
    }
}

TEST_F(TerrainBadInputTest, PointsThatAreNotNumbersGiveZero) {
    Terrain2* t = Load("tileWidth=32\ntileHeight=32\n");
    const float nan = std::nanf("");
    for (auto [x, z] : {std::pair{nan, 1.0f},
                        {1.0f, nan},
                        {INFINITY, 1.0f},
                        {1.0f, INFINITY},
                        {-INFINITY, 1.0f},
                        {1e30f, 1.0f},
                        {1.0f, -1e30f}}) {
        EXPECT_EQ(HeightAt(t, x, z), 0.0f) << x << ", " << z;
        EntGroundRecord r = {};
        r.want = ENT_GROUND_POINT | ENT_GROUND_NORMAL;
        const VECTOR3 p = {x, 0.0f, z};
        t->Dispatch(168, 0, reinterpret_cast<intptr_t>(&p), reinterpret_cast<intptr_t>(&r));
        EXPECT_EQ(r.normal.y, 1.0f);
    }
}

} // namespace
