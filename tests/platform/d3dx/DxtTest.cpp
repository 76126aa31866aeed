// DXT block decoding against hand-made blocks, and the generators' encoder against the decoder.
#include "platform/d3dx/Dxt.h"
#include "datagen/Images/ImageWriters.h"
#include "platform/d3dx/DdsFile.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

uint32_t Texel(const uint8_t* out, int i) {
    uint32_t v;
    std::memcpy(&v, out + i * 4, 4);
    return v;
}

// Texel i takes palette index i % 4.
void ColourBlock(uint8_t* b, uint16_t c0, uint16_t c1) {
    b[0] = uint8_t(c0), b[1] = uint8_t(c0 >> 8), b[2] = uint8_t(c1), b[3] = uint8_t(c1 >> 8);
    std::memset(b + 4, 0xE4, 4); // indices 0, 1, 2, 3 from the low bits up
}

} // namespace

TEST(Dxt, ColourModesAndAlpha) {
    uint8_t block[16], out[64];
    ColourBlock(block, 0xF800, 0x001F); // red > blue: four colours
    DxtDecodeBlock(DDS_DXT1, block, out);
    EXPECT_EQ(Texel(out, 0), 0xFFFF0000u);
    EXPECT_EQ(Texel(out, 1), 0xFF0000FFu);
    EXPECT_EQ(Texel(out, 2), 0xFFAA0055u) << "two thirds of the first endpoint";
    ColourBlock(block, 0x001F, 0xF800); // blue < red: three colours and transparent black
    DxtDecodeBlock(DDS_DXT1, block, out);
    EXPECT_EQ(Texel(out, 2), 0xFF7F007Fu) << "the midpoint";
    EXPECT_EQ(Texel(out, 3), 0u) << "index 3 is transparent black";

    for (int i = 0; i < 8; ++i)
        block[i] = uint8_t(0x10 * (i * 2 + 1) + i * 2); // nibbles 2i, 2i + 1
    ColourBlock(block + 8, 0x001F, 0xF800);
    DxtDecodeBlock(DDS_DXT3, block, out);
    EXPECT_EQ(out[7], 17) << "texel 1: nibble 1 widened x 17";
    EXPECT_EQ(Texel(out, 3) & 0xFFFFFF, 0xAA0055u) << "DXT3 colour is always four-colour";

    std::memset(block, 0, 8);
    block[0] = 200, block[1] = 60;             // eight-value mode
    block[2] = 0x01 | (0x7 << 3) | (0x2 << 6); // texels 0..2 take indices 1, 7, 2
    DxtDecodeBlock(DDS_DXT5, block, out);
    EXPECT_EQ(out[3], 60);
    EXPECT_EQ(out[7], (1 * 200 + 6 * 60) / 7);
    block[0] = 60, block[1] = 200; // six-value mode: 6 is 0, 7 is 255
    block[2] = 0x06 | (0x7 << 3);
    DxtDecodeBlock(DDS_DXT5, block, out);
    EXPECT_EQ(out[3], 0);
    EXPECT_EQ(out[7], 255);
}

TEST(Dxt, EncoderEndpointsDecodeExactly) {
    // Two colours exact in 5-6-5 at opposite corners of their bounding box, two alpha levels:
    // every texel is an endpoint.
    GenImage img(8, 8);
    for (uint32_t y = 0; y < 8; ++y)
        for (uint32_t x = 0; x < 8; ++x)
            img.Set(x, y, ((x + y) & 1) ? 0x40FFFFFF : 0xFF080408);
    for (GenDds kind : {GenDds::Dxt1, GenDds::Dxt5}) {
        std::vector<uint8_t> blocks = GenDxtEncodeLevel(kind, img);
        std::vector<uint8_t> back(8 * 8 * 4);
        DxtDecodeLevel(kind == GenDds::Dxt1 ? DDS_DXT1 : DDS_DXT5, 8, 8, blocks.data(), back.data(),
                       32);
        for (int i = 0; i < 64; ++i)
            ASSERT_EQ(Texel(back.data(), i), img.Get(uint32_t(i % 8), uint32_t(i / 8)) |
                                                 (kind == GenDds::Dxt1 ? 0xFF000000u : 0u))
                << "texel " << i;
    }
}

TEST(Dxt, PartialEdgeBlocksStayInsideTheLevel) {
    // 6 x 3 texels: two blocks across, one down; exactly 6 x 3 texels come out.
    GenImage img(6, 3);
    for (uint32_t y = 0; y < 3; ++y)
        for (uint32_t x = 0; x < 6; ++x)
            img.Set(x, y, x < 4 ? 0xFFFF0000 : 0xFF0000FF);
    std::vector<uint8_t> blocks = GenDxtEncodeLevel(GenDds::Dxt1, img);
    ASSERT_EQ(blocks.size(), DdsLevelSize(DDS_DXT1, 6, 3));
    std::vector<uint8_t> back(6 * 3 * 4); // exactly the level: AddressSanitizer sees overruns
    DxtDecodeLevel(DDS_DXT1, 6, 3, blocks.data(), back.data(), 24);
    EXPECT_EQ(Texel(back.data(), 2 * 6 + 5), 0xFF0000FFu);
    EXPECT_EQ(Texel(back.data(), 0), 0xFFFF0000u);
}
