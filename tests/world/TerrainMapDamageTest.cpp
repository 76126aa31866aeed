// The height-map loader fed damaged files: every truncation of a valid map and seeded copies
// with bytes changed (header bytes most of all). Each load answers 1 with samples taken from the
// file or 0 with the flat ground, never more, and reads nothing past its buffer (AddressSanitizer
// and UBSan watch). A deterministic stand-in for a fuzz target of the loader.
#include "tests/world/TerrainFixture.h"

namespace {

using TerrainMapDamageTest = TerrainFixture;

// 1 when the load used the file, else 0 with every sample flat.
void ExpectSound(TerrainObj* t, int result) {
    ASSERT_TRUE(result == 0 || result == 1);
    if (result == 1) return;
    for (int i = 0; i < t->sampleCols * t->sampleRows; ++i)
        ASSERT_EQ(t->heights[i], 28.0f) << "a refused map left sample " << i << " unflattened";
}

TEST_F(TerrainMapDamageTest, TruncatedAndDamagedMapsAreRefusedOrRead) {
    const std::string stem = WriteMap("Good", 33, 33, [](int x, int r) { return x * 5 + r; });
    const std::string good = ReadTextFile(stem + " elevation.tga");
    ASSERT_EQ(good.size(), 18u + 33u * 33u);
    TerrainObj* t = TerrainCreate(32, 32);
    ASSERT_NE(t, nullptr);
    const std::string file = dir / "Damaged elevation.tga";

    ASSERT_EQ(TerrainLoadHeights(t, (stem + " elevation.tga").c_str(), 1.0f), 1);
    for (size_t len = 0; len < good.size(); len += (len < 40 ? 1 : 97)) {
        WriteTextFile(file, good.substr(0, len));
        EXPECT_EQ(TerrainLoadHeights(t, file.c_str(), 1.0f), 0) << "cut at " << len;
        ExpectSound(t, 0);
    }

    int read = 0;
    for (int copy = 0; copy < 300; ++copy) {
        std::string bad = good;
        const int changes = 1 + RandInt(4);
        for (int i = 0; i < changes; ++i) {
            const size_t at =
                RandInt(4) == 0 ? size_t(RandInt(int(bad.size()))) : size_t(RandInt(18));
            bad[at] = char(RandInt(256));
        }
        WriteTextFile(file, bad);
        const int result = TerrainLoadHeights(t, file.c_str(), 0.5f);
        ExpectSound(t, result);
        read += result;
    }
    EXPECT_GT(read, 0) << "no damaged copy was read: the test no longer reaches the sample copy";
    TerrainFree(t);
}

} // namespace
