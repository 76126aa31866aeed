// The default venue's generated ground: its files, a byte-identical rerun of the generator, the
// flat grounds and the hills as the terrain reads them, and the tiles' colours under the world
// points they are laid on.
#include "platform/d3dx/DdsFile.h"
#include "platform/d3dx/Dxt.h"
#include "tests/support/TestSupport.h"
#include "world/TerrainObj.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

namespace {

const std::string kVenue = FAIRLARK_BUILD_DATA_DIR "Venues/Default/";

std::vector<uint8_t> ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::vector<std::string> VenueFiles() {
    std::vector<std::string> files = {"Ground elevation.tga", "Clouds.tga"};
    for (int j = 0; j < 4; ++j)
        for (int i = 0; i < 4; ++i) {
            char name[32];
            std::snprintf(name, sizeof name, "Tex%02ix%02i.dds", i, j);
            files.push_back(name);
        }
    return files;
}

struct Rgb {
    int r, g, b;
};

// The level-0 texel of a generated tile as the card decodes it, (u, v) in texels from the top.
Rgb TileTexel(int tileX, int tileZ, int u, int v) {
    char name[32];
    std::snprintf(name, sizeof name, "Tex%02ix%02i.dds", tileX, tileZ);
    const std::vector<uint8_t> dds = ReadBytes(kVenue + name);
    const size_t block = DDS_HEADER_BYTES + (size_t(v / 4) * 64 + size_t(u / 4)) * 8;
    if (dds.size() < block + 8) return {-1, -1, -1};
    uint8_t texels[64];
    DxtDecodeBlock(DDS_DXT1, dds.data() + block, texels);
    const uint8_t* p = texels + (v % 4) * 16 + (u % 4) * 4;
    return {p[2], p[1], p[0]};
}

// The terrain's rule: cell (x / 2, z / 2); a tile is 4 x 4 patches of 32 cells, one texel per
// world unit, and its v runs with z, against the height map's rows.
Rgb GroundAt(float x, float z) {
    const int wx = int(x), wz = int(z);
    return TileTexel(wx / 256, wz / 256, wx % 256, wz % 256);
}

TEST(VenueData, AllFilesExistAndASecondGenerationIsByteIdentical) {
    TempDir dir;
    const std::string cmd = std::string("\"") + FAIRLARK_GEN_VENUE + "\" \"" + dir.Path() + "/\"";
    ASSERT_EQ(std::system(cmd.c_str()), 0) << cmd;
    for (const std::string& name : VenueFiles()) {
        const std::vector<uint8_t> built = ReadBytes(kVenue + name);
        ASSERT_FALSE(built.empty()) << name << " was not generated";
        EXPECT_TRUE(built == ReadBytes(dir / ("Venues/Default/" + name))) << name << " differs";
    }
    // The tree the venue's world plants.
    EXPECT_TRUE(PathExistsOnDisk(FAIRLARK_BUILD_DATA_DIR "Models/Scenery/Tree.md3"));

    const std::vector<uint8_t> map = ReadBytes(kVenue + "Ground elevation.tga");
    ASSERT_GE(map.size(), 18u);
    EXPECT_EQ(map[2], 3) << "not 8-bit grey";
    EXPECT_EQ(map[12] | map[13] << 8, 513);
    EXPECT_EQ(map[14] | map[15] << 8, 513);
    EXPECT_EQ(map[16], 8);
    EXPECT_EQ(map[17], 8) << "descriptor";
    EXPECT_EQ(map.size(), 18u + 513u * 513u);

    // Each tile: 256 x 256 DXT1 with every level down to 1 x 1.
    const std::vector<uint8_t> tile = ReadBytes(kVenue + "Tex02x01.dds");
    size_t want = DDS_HEADER_BYTES;
    for (int side = 256; side >= 1; side /= 2)
        want += size_t((side + 3) / 4) * size_t((side + 3) / 4) * 8;
    EXPECT_EQ(tile.size(), want);

    // The clouds: alpha (= grey) within 0.4.
    const std::vector<uint8_t> clouds = ReadBytes(kVenue + "Clouds.tga");
    ASSERT_EQ(clouds.size(), 18u + 256u * 256u);
    int most = 0;
    for (size_t i = 18; i < clouds.size(); ++i)
        most = std::max(most, int(clouds[i]));
    EXPECT_LE(most, 102);
    EXPECT_GT(most, 30) << "no clouds";
}

TEST(VenueData, GroundsAreFlatAtZeroAndHillsPeakBelowForty) {
    TerrainObj* t = TerrainCreate(512, 512);
    ASSERT_NE(t, nullptr);
    ASSERT_EQ(TerrainLoadHeights(t, (kVenue + "Ground elevation.tga").c_str(), 0.1f), 1);
    TerrainSetScale(t, 2.0f);
    std::mt19937 rng(44);
    std::uniform_real_distribution<float> in(320.0f, 704.0f);
    int nonZero = 0;
    for (int i = 0; i < 1000; ++i)
        if (TerrainHeightAt(t, in(rng), in(rng)) != 0.0f) ++nonZero;
    EXPECT_EQ(nonZero, 0);
    float peak = 0.0f;
    for (int z = 0; z < 1024; z += 2)
        for (int x = 0; x < 1024; x += 2)
            peak = std::max(peak, TerrainHeightAt(t, float(x), float(z)));
    EXPECT_GE(peak, 30.0f);
    EXPECT_LE(peak, 40.0f);
    // Hills rise smoothly: no step between neighbouring samples of more than 4 units.
    float step = 0.0f;
    for (int z = 0; z < 1022; z += 2)
        for (int x = 0; x < 1022; x += 2) {
            const float h = TerrainHeightAt(t, float(x), float(z));
            step = std::max({step, std::fabs(TerrainHeightAt(t, float(x + 2), float(z)) - h),
                             std::fabs(TerrainHeightAt(t, float(x), float(z + 2)) - h)});
        }
    EXPECT_LT(step, 4.0f);
    TerrainFree(t);
}

TEST(VenueData, TilesShowEarthOnThePathGrassBesideItAndRockOnTheSteepestSlope) {
    // The path cross through the grid's middle: earth, red over green over blue.
    for (Rgb c : {GroundAt(512.5f, 450.5f), GroundAt(600.5f, 512.5f)}) {
        EXPECT_GT(c.r, c.g + 8) << c.r << " " << c.g << " " << c.b;
        EXPECT_GT(c.g, c.b);
    }
    // The margin beside the grid: grass, green above red and blue.
    for (Rgb c : {GroundAt(340.5f, 520.5f), GroundAt(520.5f, 690.5f)}) {
        EXPECT_GT(c.g, c.r + 8) << c.r << " " << c.g << " " << c.b;
        EXPECT_GT(c.g, c.b + 8);
    }
    // Rock: grey, where the height map is steepest. Found through the terrain, so a tile laid
    // upside down against the map shows here.
    TerrainObj* t = TerrainCreate(512, 512);
    ASSERT_NE(t, nullptr);
    ASSERT_EQ(TerrainLoadHeights(t, (kVenue + "Ground elevation.tga").c_str(), 0.1f), 1);
    TerrainSetScale(t, 2.0f);
    float best = 0.0f, bx = 0.0f, bz = 0.0f;
    for (int z = 8; z < 1016; z += 2)
        for (int x = 8; x < 1016; x += 2) {
            const float dx = TerrainHeightAt(t, float(x + 2), float(z)) -
                             TerrainHeightAt(t, float(x - 2), float(z));
            const float dz = TerrainHeightAt(t, float(x), float(z + 2)) -
                             TerrainHeightAt(t, float(x), float(z - 2));
            const float s = dx * dx + dz * dz;
            if (s > best) best = s, bx = float(x), bz = float(z);
        }
    TerrainFree(t);
    const Rgb rock = GroundAt(bx + 0.5f, bz + 0.5f);
    EXPECT_LT(std::abs(rock.r - rock.g), 20) << "at " << bx << ", " << bz;
    EXPECT_LT(std::abs(rock.g - rock.b), 20) << "at " << bx << ", " << bz;
}

} // namespace
