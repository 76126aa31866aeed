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

Bytes Generated(GenDds kind, uint32_t w, uint32_t h) {
    return GenDdsBytes(kind, GenMipChain(GenImage(w, h)));
}

} // namespace

TEST(DdsFile, LevelSizesAreWholeBlocksAndSidesStopAtOne) {
    EXPECT_EQ(DdsLevelSize(DDS_DXT1, 1, 1), 8u) << "a level smaller than a block is one block";
    EXPECT_EQ(DdsLevelSize(DDS_DXT1, 2, 2), 8u);
    EXPECT_EQ(DdsLevelSize(DDS_DXT1, 8, 4), 16u);
    EXPECT_EQ(DdsLevelSize(DDS_DXT3, 4, 4), 16u);
    EXPECT_EQ(DdsLevelSize(DDS_DXT5, 2, 1), 16u);
    EXPECT_EQ(DdsLevelSize(DDS_DXT5, 12, 6), 3u * 2u * 16u) << "partial blocks are whole blocks";
    EXPECT_EQ(DdsLevelSize(DDS_ARGB32, 3, 5), 60u);
    EXPECT_EQ(DdsLevelSize(DDS_A8, 3, 5), 15u);
    EXPECT_EQ(DdsLevelSide(256, 8), 1u);
    EXPECT_EQ(DdsLevelSide(64, 7), 1u) << "the short side of a non-square chain stays 1";
    EXPECT_EQ(DdsLevelSide(64, 40), 1u);
}

TEST(DdsFile, GeneratedFilesParse) {
    DdsInfo info;
    Bytes f = Generated(GenDds::Argb32, 256, 64);
    ASSERT_EQ(DdsParse(f.data(), f.size(), &info), 0);
    EXPECT_EQ(info.width, 256u);
    EXPECT_EQ(info.height, 64u);
    EXPECT_EQ(info.levels, 9u) << "256 x 64 has a chain of nine levels";
    EXPECT_EQ(info.pixels, DDS_ARGB32);
    EXPECT_FALSE(info.cube);
    EXPECT_EQ(info.faces, 1);
    EXPECT_EQ(DDS_HEADER_BYTES + info.faceBytes, f.size()) << "the chain fills the file";

    for (auto [kind, pixels] : {std::pair{GenDds::Dxt1, DDS_DXT1},
                                std::pair{GenDds::Dxt5, DDS_DXT5}, std::pair{GenDds::A8, DDS_A8}}) {
        f = Generated(kind, 16, 8);
        ASSERT_EQ(DdsParse(f.data(), f.size(), &info), 0);
        EXPECT_EQ(info.pixels, pixels);
        EXPECT_EQ(info.levels, 5u);
        EXPECT_EQ(DDS_HEADER_BYTES + info.faceBytes, f.size());
    }

    std::array<GenChain, 6> faces;
    for (GenChain& c : faces)
        c = GenMipChain(GenImage(8, 8));
    f = GenDdsCubeBytes(GenDds::Dxt1, faces);
    ASSERT_EQ(DdsParse(f.data(), f.size(), &info), 0);
    EXPECT_TRUE(info.cube);
    EXPECT_EQ(info.faces, 6);
    EXPECT_EQ(DDS_HEADER_BYTES + 6 * info.faceBytes, f.size());
}

TEST(DdsFile, HostileHeadersAreRefused) {
    DdsInfo info;
    const Bytes good = Generated(GenDds::Argb32, 64, 64);
    auto parse = [&](auto edit) {
        Bytes f = good;
        edit(f);
        return DdsParse(f.data(), f.size(), &info);
    };
    EXPECT_EQ(parse([](Bytes& f) { f[3] = 'X'; }), -1) << "no \"DDS \" magic";
    EXPECT_EQ(parse([](Bytes& f) { Put32(f, 16, 0); }), -1) << "width 0";
    EXPECT_EQ(parse([](Bytes& f) { Put32(f, 12, 0); }), -1) << "height 0";
    EXPECT_EQ(parse([](Bytes& f) { Put32(f, 28, 20); }), -1) << "20 levels on 64 x 64";
    EXPECT_EQ(parse([](Bytes& f) { Put32(f, 28, 8); }), -1) << "one level beyond 1 x 1";
    EXPECT_EQ(parse([](Bytes& f) { std::memcpy(f.data() + 84, "DXT9", 4); }), -1);
    EXPECT_EQ(parse([](Bytes& f) { Put32(f, 88, 24); }), -1) << "24-bit files are not read";
    EXPECT_EQ(parse([](Bytes& f) { Put32(f, 16, 1u << 31), Put32(f, 12, 1u << 31); }), -1)
        << "a huge claim must not overflow the size sum";
    EXPECT_EQ(parse([](Bytes& f) { Put32(f, 16, 65536); }), -1);

    ASSERT_EQ(parse([](Bytes& f) { Put32(f, 28, 0); }), 0) << "a mip count of 0 means one level";
    EXPECT_EQ(info.levels, 1u);
    EXPECT_EQ(parse([](Bytes& f) { Put32(f, 16, 128); }), -1) << "more pixels than the file holds";
    EXPECT_EQ(DdsParse(nullptr, 0, &info), -1);
}

TEST(DdsFile, CubesCountTheirFacesAndNeedTheirData) {
    DdsInfo info;
    std::array<GenChain, 6> faces;
    for (GenChain& c : faces)
        c = GenMipChain(GenImage(4, 4));
    Bytes five = GenDdsCubeBytes(GenDds::Argb32, faces, 0x3F & ~0x4u);
    ASSERT_EQ(DdsParse(five.data(), five.size(), &info), 0);
    EXPECT_TRUE(info.cube);
    EXPECT_EQ(info.faces, 5) << "the loader refuses a cube with a face missing by this count";

    Bytes six = GenDdsCubeBytes(GenDds::Argb32, faces);
    six.resize(six.size() - 1);
    EXPECT_EQ(DdsParse(six.data(), six.size(), &info), -1) << "the sixth face is one byte short";
}

TEST(DdsFile, EveryTruncationIsRefused) {
    for (GenDds kind : {GenDds::Argb32, GenDds::Dxt5}) {
        const Bytes full = Generated(kind, 32, 8);
        DdsInfo info;
        for (size_t n = 0; n < full.size(); ++n) {
            // A copy of exactly n bytes, so AddressSanitizer sees any read past it.
            Bytes cut(full.begin(), full.begin() + long(n));
            ASSERT_EQ(DdsParse(cut.empty() ? nullptr : cut.data(), n, &info), -1) << n;
        }
        EXPECT_EQ(DdsParse(full.data(), full.size(), &info), 0);
    }
}

TEST(DdsFile, RandomlyDamagedHeadersNeverPassWithTooLittleData) {
    // Seeded damage to the words the reader trusts; whatever parses must fit in the file.
    CrtSrand(7);
    const Bytes good = Generated(GenDds::Dxt1, 16, 16);
    const size_t words[] = {12, 16, 28, 84, 88, 112};
    for (int i = 0; i < 2000; ++i) {
        Bytes f = good;
        for (int n = RandIntRange(1, 3); n > 0; --n) {
            size_t at = words[RandInt(6)] + size_t(RandInt(4));
            f[at] = uint8_t(RandInt(4) == 0 ? 0 : RandInt(256));
        }
        DdsInfo info;
        if (DdsParse(f.data(), f.size(), &info) != 0) continue;
        ASSERT_LE(DDS_HEADER_BYTES + uint64_t(info.faceBytes) * uint64_t(std::max(info.faces, 1)),
                  f.size());
        ASSERT_GE(info.levels, 1u);
    }
}
