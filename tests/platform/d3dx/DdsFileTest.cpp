// DDS header checks and level sizes: generated files parse, hostile ones are refused before a
// byte past the file could be read.
#include "platform/d3dx/DdsFile.h"
#include "datagen/Images/ImageWriters.h"
#include "engine/Random.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

namespace {

using Bytes = std::vector<uint8_t>;

void Put32(Bytes& b, size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i)
        b[at + i] = uint8_t(v >> (8 * i));
}

} // namespace

TEST(DdsFile, LevelsAreWholeBlocksAndSidesStopAtOne) {
    EXPECT_EQ(DdsLevelSize(DDS_DXT1, 1, 1), 8u) << "a level smaller than a block is one block";
    EXPECT_EQ(DdsLevelSize(DDS_DXT1, 8, 4), 16u);
    EXPECT_EQ(DdsLevelSize(DDS_DXT5, 2, 1), 16u);
    EXPECT_EQ(DdsLevelSize(DDS_DXT5, 12, 6), 3u * 2u * 16u) << "partial blocks are whole blocks";
    EXPECT_EQ(DdsLevelSize(DDS_ARGB32, 3, 5), 60u);
    EXPECT_EQ(DdsLevelSize(DDS_A8, 3, 5), 15u);
    EXPECT_EQ(DdsLevelSide(64, 7), 1u) << "the short side of a non-square chain stays 1";

    Bytes f = GenDdsBytes(GenDds::Argb32, GenMipChain(GenImage(256, 64)));
    DdsInfo info;
    ASSERT_EQ(DdsParse(f.data(), f.size(), &info), 0);
    EXPECT_EQ(info.levels, 9u) << "256 x 64 has a chain of nine levels";
    EXPECT_EQ(info.pixels, DDS_ARGB32);
    EXPECT_EQ(DDS_HEADER_BYTES + info.faceBytes, f.size()) << "the chain fills the file";

    std::array<GenChain, 6> faces;
    for (GenChain& c : faces)
        c = GenMipChain(GenImage(8, 8));
    f = GenDdsCubeBytes(GenDds::Dxt1, faces, 0x3F & ~0x4u);
    ASSERT_EQ(DdsParse(f.data(), f.size(), &info), 0);
    EXPECT_TRUE(info.cube);
    EXPECT_EQ(info.faces, 5) << "the cube loader refuses a face missing by this count";
    f.pop_back();
    EXPECT_EQ(DdsParse(f.data(), f.size(), &info), -1) << "the fifth face is one byte short";
}

TEST(DdsFile, HostileHeadersAreRefused) {
    DdsInfo info;
    const Bytes good = GenDdsBytes(GenDds::Argb32, GenMipChain(GenImage(64, 64)));
    auto parse = [&](auto edit) {
        Bytes f = good;
        edit(f);
        return DdsParse(f.data(), f.size(), &info);
    };
    EXPECT_EQ(parse([](Bytes& f) { f[3] = 'X'; }), -1) << "no \"DDS \" magic";
    EXPECT_EQ(parse([](Bytes& f) { Put32(f, 16, 0); }), -1) << "width 0";
    EXPECT_EQ(parse([](Bytes& f) { Put32(f, 12, 0); }), -1) << "height 0";
    EXPECT_EQ(parse([](Bytes& f) { Put32(f, 28, 20); }), -1) << "20 levels on 64 x 64";
    EXPECT_EQ(parse([](Bytes& f) { std::memcpy(f.data() + 84, "DXT9", 4); }), -1);
    EXPECT_EQ(parse([](Bytes& f) { Put32(f, 88, 24); }), -1) << "24-bit files are not read";
    EXPECT_EQ(parse([](Bytes& f) { Put32(f, 16, 128); }), -1) << "more pixels than the file";
    EXPECT_EQ(parse([](Bytes& f) { Put32(f, 16, 1u << 31), Put32(f, 12, 1u << 31); }), -1)
        << "a huge claim must not overflow the size sum";
    ASSERT_EQ(parse([](Bytes& f) { Put32(f, 28, 0); }), 0) << "a mip count of 0 means one level";
    EXPECT_EQ(info.levels, 1u);
    EXPECT_EQ(DdsParse(good.data(), DDS_HEADER_BYTES - 1, &info), -1);
}

TEST(DdsFile, RandomlyDamagedHeadersNeverPassWithTooLittleData) {
    // Seeded damage to the words the reader trusts; whatever parses must fit in the file.
    CrtSrand(7);
    const Bytes good = GenDdsBytes(GenDds::Dxt1, GenMipChain(GenImage(16, 16)));
    const size_t words[] = {12, 16, 28, 84, 88, 112};
    for (int i = 0; i < 2000; ++i) {
        Bytes f = good;
        for (int n = RandIntRange(1, 3); n > 0; --n)
            f[words[RandInt(6)] + size_t(RandInt(4))] = uint8_t(RandInt(4) ? RandInt(256) : 0);
        DdsInfo info;
        if (DdsParse(f.data(), f.size(), &info) != 0) continue;
        ASSERT_LE(DDS_HEADER_BYTES + uint64_t(info.faceBytes) * uint64_t(std::max(info.faces, 1)),
                  f.size());
    }
}
