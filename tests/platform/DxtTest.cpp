// DXT block decoding against hand-made blocks, and the generators' encoder against the decoder.
#include "platform/d3dx/Dxt.h"
#include "datagen/Images/ImageWriters.h"
#include "platform/d3dx/DdsFile.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>

namespace {

uint32_t Texel(const uint8_t out[64], int i) {
    return uint32_t(out[i * 4]) | uint32_t(out[i * 4 + 1]) << 8 | uint32_t(out[i * 4 + 2]) << 16 |
           uint32_t(out[i * 4 + 3]) << 24;
}

// Texel i takes palette index i % 4.
void ColourBlock(uint8_t* b, uint16_t c0, uint16_t c1) {
    b[0] = uint8_t(c0), b[1] = uint8_t(c0 >> 8), b[2] = uint8_t(c1), b[3] = uint8_t(c1 >> 8);
    for (int i = 4; i < 8; ++i)
        b[i] = 0xE4; // indices 0, 1, 2, 3 from the low bits up
}

} // namespace

TEST(Dxt, Dxt1FourAndThreeColourModes) {
    uint8_t block[8], out[64];
    ColourBlock(block, 0xF800, 0x001F); // red > blue: four colours
    DxtDecodeBlock(DDS_DXT1, block, out);
    EXPECT_EQ(Texel(out, 0), 0xFFFF0000u);
    EXPECT_EQ(Texel(out, 1), 0xFF0000FFu);
    EXPECT_EQ(Texel(out, 2), 0xFFAA0055u) << "two thirds of the first endpoint";
    EXPECT_EQ(Texel(out, 3), 0xFF5500AAu);

    ColourBlock(block, 0x001F, 0xF800); // blue < red: three colours and transparent black
    DxtDecodeBlock(DDS_DXT1, block, out);
    EXPECT_EQ(Texel(out, 2), 0xFF7F007Fu) << "the midpoint";
    EXPECT_EQ(Texel(out, 3), 0x00000000u) << "index 3 is transparent black";
    EXPECT_EQ(Dxt565ToArgb(0x0821), 0xFF080408u) << "5-6-5 widened by bit replication";
}

TEST(Dxt, Dxt3AndDxt5Alpha) {
    uint8_t block[16], out[64];
    for (int i = 0; i < 8; ++i)
        block[i] = uint8_t(0x10 * (i * 2 + 1) + i * 2); // nibbles 2i, 2i+1
    ColourBlock(block + 8, 0x001F, 0xF800);             // DXT3 colour is always four-colour
    DxtDecodeBlock(DDS_DXT3, block, out);
    EXPECT_EQ(out[3], 0) << "texel 0: low nibble 0";
    EXPECT_EQ(out[7], 17) << "texel 1: high nibble 1, widened x 17";
    EXPECT_EQ(out[15 * 4 + 3], 255);
    EXPECT_EQ(Texel(out, 3) & 0xFFFFFF, 0xAA0055u) << "no transparent black in DXT3";

    std::memset(block, 0, 16);
    block[0] = 200, block[1] = 60;             // eight-value mode
    block[2] = 0x01 | (0x7 << 3) | (0x2 << 6); // texels 0..2 take indices 1, 7, 2
    DxtDecodeBlock(DDS_DXT5, block, out);
    EXPECT_EQ(out[3], 60);
    EXPECT_EQ(out[7], (1 * 200 + 6 * 60) / 7);
    EXPECT_EQ(out[11], (6 * 200 + 1 * 60) / 7);
    block[0] = 60, block[1] = 200; // six-value mode: 6 is 0, 7 is 255
    block[2] = 0x06 | (0x7 << 3);
    DxtDecodeBlock(DDS_DXT5, block, out);
    EXPECT_EQ(out[3], 0);
    EXPECT_EQ(out[7], 255);
}

TEST(Dxt, EncoderEndpointsDecodeExactly) {
    // Two colours exact in 5-6-5 at opposite corners of their bounding box, and two alpha
    // levels: every texel is an endpoint.
    GenImage img(8, 8);
    for (uint32_t y = 0; y < 8; ++y)
        for (uint32_t x = 0; x < 8; ++x)
            img.Set(x, y, ((x + y) & 1) ? 0x40FFFFFF : 0xFF080408);
    for (GenDds kind : {GenDds::Dxt1, GenDds::Dxt5}) {
        std::vector<uint8_t> blocks = GenDxtEncodeLevel(kind, img);
        ASSERT_EQ(blocks.size(), kind == GenDds::Dxt1 ? 32u : 64u);
        std::vector<uint8_t> back(8 * 8 * 4);
        DxtDecodeLevel(kind == GenDds::Dxt1 ? DDS_DXT1 : DDS_DXT5, 8, 8, blocks.data(), back.data(),
                       32);
        for (uint32_t i = 0; i < 64; ++i) {
            uint32_t want = img.Get(i % 8, i / 8);
            uint32_t got = Texel(back.data(), int(i));
            if (kind == GenDds::Dxt1) want |= 0xFF000000; // DXT1 is opaque
            ASSERT_EQ(got, want) << "texel " << i;
        }
    }
}

TEST(Dxt, EncoderGradientsStayClose) {
    GenImage img(16, 16);
    for (uint32_t y = 0; y < 16; ++y)
        for (uint32_t x = 0; x < 16; ++x)
            img.Set(x, y, (y * 16) << 24 | (x * 0x101010));
    std::vector<uint8_t> blocks = GenDxtEncodeLevel(GenDds::Dxt5, img);
    std::vector<uint8_t> back(16 * 16 * 4);
    DxtDecodeLevel(DDS_DXT5, 16, 16, blocks.data(), back.data(), 64);
    for (size_t i = 0; i < back.size(); ++i)
        ASSERT_LE(std::abs(int(back[i]) - int(img.bgra[i])), 8)
            << "byte " << i << ": a grey ramp lies on its box's diagonal and keeps within a step";
}

TEST(Dxt, PartialEdgeBlocksStayInsideTheLevel) {
    // 6 x 3 texels: two blocks across, one down; the decoder writes only 6 x 3 texels.
    GenImage img(6, 3);
    for (uint32_t y = 0; y < 3; ++y)
        for (uint32_t x = 0; x < 6; ++x)
            img.Set(x, y, x < 4 ? 0xFFFF0000 : 0xFF0000FF);
    std::vector<uint8_t> blocks = GenDxtEncodeLevel(GenDds::Dxt1, img);
    ASSERT_EQ(blocks.size(), DdsLevelSize(DDS_DXT1, 6, 3));
    std::vector<uint8_t> back(6 * 3 * 4); // exactly the level: ASan sees any overrun
    DxtDecodeLevel(DDS_DXT1, 6, 3, blocks.data(), back.data(), 24);
    EXPECT_EQ(Texel(back.data(), 2 * 6 + 5), 0xFF0000FFu);
    EXPECT_EQ(Texel(back.data(), 0), 0xFFFF0000u);
}
