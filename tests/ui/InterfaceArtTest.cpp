// The interface-art generator: every frame carries its state's fill where the tests and the
// controls sample it, check-box frames are where the check box looks for them, and the table
// may not give one shared texture title two different images.
#include "datagen/Interface/InterfaceArt.h"

#include <gtest/gtest.h>

namespace {
uint32_t FrameTexel(const GenImage& img, const ArtRow& row, uint32_t frame, uint32_t x,
                    uint32_t y) {
    return img.Get(x, frame * row.cellHeight + y);
}
} // namespace

TEST(InterfaceArt, EveryFrameShowsItsStateFillInsideALighterBorder) {
    for (const ArtRow& row : ArtTable()) {
        GenImage img;
        std::string error;
        ASSERT_TRUE(ArtPaint(row, &img, &error)) << row.file << ": " << error;
        ASSERT_EQ(img.width, row.texWidth);
        ASSERT_EQ(img.height, row.texHeight);
        for (uint32_t frame = 0; frame < row.frames; ++frame) {
            if (row.kind == ArtKind::CheckBox && frame % 4 == 3) {
                EXPECT_EQ(FrameTexel(img, row, frame, 4, 4) >> 24, 0u)
                    << row.file << " frame " << frame << " must be transparent";
                continue;
            }
            const uint32_t fill = kArtStateFill[(frame % 4) % 3];
            EXPECT_EQ(FrameTexel(img, row, frame, 4, 4), fill) << row.file << " frame " << frame;
            const uint32_t edge = FrameTexel(img, row, frame, 0, 0);
            EXPECT_NE(edge, fill) << row.file << " frame " << frame << " has no border";
            EXPECT_GE(edge & 0xFF, fill & 0xFF) << "the border is lighter";
        }
        // Nothing below the last frame: a control never samples there.
        if (row.frames * row.cellHeight < row.texHeight) {
            EXPECT_EQ(img.Get(0, row.frames * row.cellHeight) >> 24, 0u) << row.file;
        }
    }
}

TEST(InterfaceArt, CheckedBoxesCarryTheirMarkAndEmptyOnesDoNot) {
    const ArtRow* box = nullptr;
    for (const ArtRow& row : ArtTable())
        if (row.kind == ArtKind::CheckBox) box = &row;
    ASSERT_TRUE(box);
    GenImage img;
    std::string error;
    ASSERT_TRUE(ArtPaint(*box, &img, &error)) << error;
    for (uint32_t state = 0; state < 3; ++state) {
        int marked = 0;
        for (uint32_t y = 0; y < box->cellHeight; ++y)
            for (uint32_t x = 0; x < box->cellWidth; ++x)
                marked +=
                    FrameTexel(img, *box, state + 4, x, y) != FrameTexel(img, *box, state, x, y);
        EXPECT_GT(marked, 5) << "checked frame " << state + 4 << " shows no mark";
    }
}

TEST(InterfaceArt, TheTableMayNotGiveOneTitleTwoImages) {
    std::vector<std::vector<uint8_t>> shipped;
    for (const ArtRow& row : ArtTable()) {
        GenImage img;
        std::string error;
        ASSERT_TRUE(ArtPaint(row, &img, &error));
        shipped.push_back(GenDdsBytes(GenDds::Argb32, GenChain{img}));
    }
    std::string error;
    EXPECT_TRUE(ArtCheckTitles(ArtTable(), shipped, &error)) << error;

    const ArtRow a = {"Menu/A/Panel.dds", 32, 32, 16, 16, 1, "", 0, ArtKind::Strip};
    ArtRow same = a;
    same.file = "Menu/B/PANEL.dds";
    ArtRow other = same;
    other.texWidth = 64;
    GenImage ia, io;
    ASSERT_TRUE(ArtPaint(a, &ia, &error));
    ASSERT_TRUE(ArtPaint(other, &io, &error));
    const std::vector<uint8_t> ba = GenDdsBytes(GenDds::Argb32, GenChain{ia});
    const std::vector<uint8_t> bo = GenDdsBytes(GenDds::Argb32, GenChain{io});
    EXPECT_TRUE(ArtCheckTitles({a, same}, {ba, ba}, &error)) << "the same image twice is fine";
    error.clear();
    EXPECT_FALSE(ArtCheckTitles({a, other}, {ba, bo}, &error));
    EXPECT_NE(error.find("panel"), std::string::npos) << error;
}

TEST(InterfaceArt, RowsWhoseFramesDoNotFitAreRefused) {
    GenImage img;
    std::string error;
    EXPECT_FALSE(
        ArtPaint({"Menu/Big.dds", 32, 64, 24, 14, 5, "", 0, ArtKind::Strip}, &img, &error));
    EXPECT_FALSE(
        ArtPaint({"Menu/Wide.dds", 16, 64, 24, 14, 1, "", 0, ArtKind::Strip}, &img, &error));
    EXPECT_FALSE(
        ArtPaint({"Menu/Thin.dds", 16, 64, 3, 14, 1, "", 0, ArtKind::Strip}, &img, &error));
}
