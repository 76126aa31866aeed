// The interface-art generator: every frame carries its state's fill where the tests and the
// controls sample it, check-box frames are where the check box looks for them, and the table
// may not give one shared texture title two different images.
#include "datagen/Interface/InterfaceArt.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <map>
#include <set>

namespace {
constexpr uint32_t kCaptionWhiteForTest = 0xFFFFFFFFu;

uint32_t FrameTexel(const GenImage& img, const ArtRow& row, uint32_t frame, uint32_t x,
                    uint32_t y) {
    return img.Get(x, ArtFrameTop(row, frame) + y);
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
            const uint32_t fill = ArtFrameFill(row, frame);
            EXPECT_EQ(FrameTexel(img, row, frame, 4, 4), fill) << row.file << " frame " << frame;
            if (row.kind == ArtKind::Cursor) {
                EXPECT_EQ(FrameTexel(img, row, frame, 31, 0) >> 24, 0u)
                    << "the cursor is transparent around its arrow";
                EXPECT_EQ(FrameTexel(img, row, frame, 31, 31) >> 24, 0u);
                continue;
            }
            const uint32_t edge = FrameTexel(img, row, frame, 0, 0);
            EXPECT_NE(edge, fill) << row.file << " frame " << frame << " has no border";
            EXPECT_GE(edge & 0xFF, fill & 0xFF) << "the border is lighter";
        }
        // Nothing below the last frame: a control never samples there.
        if (ArtFrameTop(row, row.frames) < row.texHeight) {
            EXPECT_EQ(img.Get(0, ArtFrameTop(row, row.frames)) >> 24, 0u) << row.file;
        }
    }
}

// The kit's images at the sizes its cells and uv rectangles imply: the in-game panel's body above
// its lights, the panels filling exactly the uv rectangle, four distinct cursor shapes.
TEST(InterfaceArt, TheKitImagesHoldTheirCellsWhereTheKitLooks) {
    std::map<std::string, const ArtRow*> rows;
    for (const ArtRow& row : ArtTable())
        rows[row.file] = &row;
    ASSERT_EQ(rows.count("Menu/InGame/InGamePanel.dds"), 1u);
    const ArtRow& inGame = *rows["Menu/InGame/InGamePanel.dds"];
    GenImage img;
    std::string error;
    ASSERT_TRUE(ArtPaint(inGame, &img, &error)) << error;
    EXPECT_EQ(img.Get(4, 4), kArtPanelFill);
    EXPECT_EQ(img.Get(375, 417) >> 24, 0xFFu) << "the body is 376 x 418";
    EXPECT_EQ(img.Get(376, 4) >> 24, 0u);
    EXPECT_EQ(img.Get(4, 418) >> 24, 0u) << "row 418 parts the body from the lights";
    for (uint32_t f = 0; f < 3; ++f)
        EXPECT_EQ(img.Get(4, 419 + f * 102 + 4), kArtStateFill[f]) << "lights frame " << f;

    const ArtRow& large = *rows.at("Menu/Common/ZobPanelGenericLarge.dds");
    ASSERT_TRUE(ArtPaint(large, &img, &error)) << error;
    // uv (0, 0) to (0.8916015625, 0.5537109375) of 1024 x 1024: 913 x 567 texels.
    EXPECT_EQ(img.Get(912, 566) >> 24, 0xFFu);
    EXPECT_EQ(img.Get(913, 566) >> 24, 0u);
    EXPECT_EQ(img.Get(912, 567) >> 24, 0u);

    const ArtRow& cursor = *rows.at("Menu/MouseCursors.dds");
    EXPECT_EQ(cursor.texWidth, 32u);
    EXPECT_EQ(cursor.texHeight, 128u);
    std::set<uint32_t> fills;
    for (uint32_t f = 0; f < 4; ++f)
        fills.insert(ArtFrameFill(cursor, f));
    EXPECT_EQ(fills.size(), 4u) << "every cursor shape needs its own fill";
}

// A screenshot names what each control does: every captioned image says it in words that are
// no file name, and the words show.
TEST(InterfaceArt, CaptionsSayWhatTheControlDoesNotTheFileName) {
    int captioned = 0;
    for (const ArtRow& row : ArtTable()) {
        if (!row.caption || !row.caption[0]) continue;
        ++captioned;
        EXPECT_FALSE(ArtWordsSpellFileName(row.file, row.caption))
            << row.file << " says \"" << row.caption << "\"";
        if (row.kind != ArtKind::Strip || std::strlen(row.caption) < 2) continue;
        GenImage img;
        std::string error;
        ASSERT_TRUE(ArtPaint(row, &img, &error)) << error;
        int lettered = 0;
        for (uint32_t y = 2; y + 2 < row.cellHeight; ++y)
            for (uint32_t x = 2; x + 2 < row.cellWidth; ++x)
                lettered += FrameTexel(img, row, 0, x, y) != ArtFrameFill(row, 0);
        EXPECT_GT(lettered, 30) << row.file << " shows no caption";
    }
    EXPECT_GT(captioned, 40);
    EXPECT_TRUE(ArtWordsSpellFileName("Menu/HUD/ButtonHelp.dds", "buttonhelp"));
    EXPECT_TRUE(ArtWordsSpellFileName("Menu/MainMenu/button_sandbox.dds", "Button Sandbox!"));
    EXPECT_TRUE(ArtWordsSpellFileName("Menu/Help/ZobHelp00.dds", "ZobHelp 00"));
    EXPECT_FALSE(ArtWordsSpellFileName("Menu/HUD/ButtonHelp.dds", "Help"));
    EXPECT_FALSE(ArtWordsSpellFileName("Menu/.dds", "anything"));
}

// The pressed frame of a button shows its caption one texel down and right of the others, so
// the chosen tab of a group reads as pushed in.
TEST(InterfaceArt, PressedFramesShowTheirCaptionPushedIn) {
    for (const ArtRow& row : ArtTable()) {
        if (std::strcmp(row.file, "Menu/EquipResource/ButtonRides.dds") != 0) continue;
        GenImage img;
        std::string error;
        ASSERT_TRUE(ArtPaint(row, &img, &error)) << error;
        // The caption's lettering of each frame, as offsets from the frame's own fill.
        const auto lettering = [&](uint32_t frame, int dx, int dy) {
            std::set<std::pair<int, int>> at;
            for (uint32_t y = 3; y + 3 < row.cellHeight; ++y)
                for (uint32_t x = 3; x + 3 < row.cellWidth; ++x)
                    if (FrameTexel(img, row, frame, x, y) == kCaptionWhiteForTest)
                        at.insert({int(x) + dx, int(y) + dy});
            return at;
        };
        EXPECT_FALSE(lettering(0, 0, 0).empty()) << "\"Rides\" must be legible";
        EXPECT_EQ(lettering(0, 1, 1), lettering(2, 0, 0));
        return;
    }
    FAIL() << "no Rides tab";
}

// Captions are spaced as the game's own text is (a glyph's advance is a + c), so they fit their
// frame whole: letters centred, clear of both borders, not cut at the sides.
TEST(InterfaceArt, CaptionsFitTheirFrameWhole) {
    int checked = 0;
    for (const ArtRow& row : ArtTable()) {
        if (row.kind != ArtKind::Strip && row.kind != ArtKind::Panel &&
            row.kind != ArtKind::TextPanel && row.kind != ArtKind::Screen)
            continue;
        if (!row.caption || std::strlen(row.caption) < 2) continue;
        GenImage img;
        std::string error;
        ASSERT_TRUE(ArtPaint(row, &img, &error)) << error;
        const uint32_t fill = ArtFrameFill(row, 0);
        uint32_t left = row.cellWidth, right = 0;
        for (uint32_t y = 2; y + 2 < row.cellHeight; ++y)
            for (uint32_t x = 2; x + 2 < row.cellWidth; ++x)
                if (FrameTexel(img, row, 0, x, y) != fill && !(x == 4 && y == 4)) {
                    left = std::min(left, x);
                    right = std::max(right, x);
                }
        ASSERT_LT(left, right) << row.file << " shows no caption";
        const int marginLeft = int(left) - 2, marginRight = int(row.cellWidth) - 3 - int(right);
        EXPECT_GE(marginLeft, 1) << row.file << ": the caption runs into the left border";
        EXPECT_GE(marginRight, 1) << row.file << ": the caption runs into the right border";
        EXPECT_LE(std::abs(marginLeft - marginRight), 6) << row.file << ": not centred";
        ++checked;
    }
    EXPECT_GT(checked, 40);
}

// The screens write their own text on their panels: the panels carry no words of their own, so
// a screenshot's lettering there is the screen's text.
TEST(InterfaceArt, PanelsTheScreensWriteOnCarryNoWords) {
    int panels = 0;
    for (const ArtRow& row : ArtTable()) {
        if (row.kind != ArtKind::TextPanel && row.kind != ArtKind::InGame) continue;
        ++panels;
        GenImage img;
        std::string error;
        ASSERT_TRUE(ArtPaint(row, &img, &error)) << error;
        int white = 0, lettered = 0, middle = 0;
        const uint32_t width = row.kind == ArtKind::InGame ? kArtInGamePanelWidth : row.cellWidth;
        const uint32_t height =
            row.kind == ArtKind::InGame ? kArtInGamePanelHeight : row.cellHeight;
        for (uint32_t y = 0; y < height; ++y)
            for (uint32_t x = 0; x < width; ++x) {
                const uint32_t texel = img.Get(x, y);
                white += (texel & 0xFFFFFFu) == 0xFFFFFFu;
                const bool letter =
                    x >= 2 && y >= 2 && x + 2 < width && y + 2 < height && texel != kArtPanelFill;
                lettered += letter;
                middle += letter && y < height * 3 / 4;
            }
        EXPECT_EQ(white, 0) << row.file;
        EXPECT_EQ(middle, 0) << row.file << ": lettering where the screens write";
        EXPECT_EQ(lettered, 0) << row.file << " carries words of its own";
    }
    EXPECT_EQ(panels, 8);
}

// The HUD draws its clock's frame over the dial, both centred on one point: the frame is open
// over the whole dial face, and the face carries its hour marks.
TEST(InterfaceArt, TheClockFrameShowsTheDialThroughItsWindow) {
    std::map<std::string, const ArtRow*> rows;
    for (const ArtRow& row : ArtTable())
        rows[row.file] = &row;
    const ArtRow& frame = *rows.at("Menu/HUD/ZobTimeOfDayIconFrame.dds");
    const ArtRow& dial = *rows.at("Menu/HUD/ZobTimeOfDayDisc.dds");
    GenImage fi, di;
    std::string error;
    ASSERT_TRUE(ArtPaint(frame, &fi, &error)) << error;
    ASSERT_TRUE(ArtPaint(dial, &di, &error)) << error;
    // Dial texel (x, y) lies under frame texel (x + dx, y + dy).
    const int dx = int(frame.cellWidth - dial.cellWidth) / 2;
    const int dy = int(frame.cellHeight - dial.cellHeight) / 2;
    int marks = 0;
    for (int y = 0; y < int(dial.cellHeight); ++y)
        for (int x = 0; x < int(dial.cellWidth); ++x) {
            const float rx = float(x) + 0.5f - float(dial.cellWidth) / 2.0f;
            const float ry = float(y) + 0.5f - float(dial.cellHeight) / 2.0f;
            if (rx * rx + ry * ry > 24.0f * 24.0f) continue;
            EXPECT_EQ(fi.Get(uint32_t(x + dx), uint32_t(y + dy)) >> 24, 0u)
                << "the frame hides the dial at " << x << ", " << y;
            marks += di.Get(uint32_t(x), uint32_t(y)) == 0xFF202020u;
        }
    EXPECT_GT(marks, 12 * 3) << "no hour marks on the dial";
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

// The shipped slide series: each slide its own flat colour where the screens sample it (the
// centre of the picture), black below the picture, and no two slides or series alike. The main
// menu's are pictures without words; the help and credits pages carry their text inside the
// top-left box the screens show, and nothing outside it.
TEST(InterfaceArt, SlidesAreFlatDistinctColoursAndPagesCarryTheirText) {
    std::vector<uint32_t> seen;
    for (const SlideSeries& series : SlideTable()) {
        for (uint32_t i = 0; i < series.count; ++i) {
            GenImage img;
            std::string error;
            ASSERT_TRUE(SlidePaint(series, i, &img, &error)) << SlideFile(series, i) << error;
            ASSERT_EQ(img.width, series.width);
            ASSERT_EQ(img.height, series.height);
            const uint32_t fill = series.fills[i];
            EXPECT_EQ(img.Get(series.width / 2, series.pictureHeight / 2), fill);
            EXPECT_EQ(img.Get(series.width - 1, series.pictureHeight - 1), fill);
            int inside = 0, outside = 0;
            for (uint32_t y = 0; y < series.pictureHeight; ++y)
                for (uint32_t x = 0; x < series.width; ++x) {
                    const bool text = img.Get(x, y) != fill;
                    const bool box = x < kSlideTextWidth && y < kSlideTextHeight;
                    inside += text && box;
                    outside += text && !box;
                }
            EXPECT_EQ(outside, 0) << SlideFile(series, i) << ": text outside the shown box";
            if (series.pages) {
                EXPECT_GT(inside, 2000) << SlideFile(series, i) << " carries no text";
                EXPECT_FALSE(SlideWords(series, i).empty());
                EXPECT_FALSE(ArtWordsSpellFileName(SlideFile(series, i), SlideWords(series, i)));
            } else {
                EXPECT_EQ(inside, 0) << SlideFile(series, i) << " spells words";
            }
            if (series.pictureHeight < series.height) {
                EXPECT_EQ(img.Get(5, series.pictureHeight), 0xFF000000u);
            }
            for (uint32_t other : seen)
                EXPECT_NE(other, fill) << SlideFile(series, i) << " repeats a colour";
            seen.push_back(fill);
        }
        EXPECT_EQ(SlideFile(series, 2).substr(SlideFile(series, 2).size() - 6), "02.dds");
    }
    EXPECT_EQ(seen.size(), 9u);
    // Help and credits say what the player needs: the keys and the libraries by name.
    std::string help, credits;
    for (uint32_t i = 0; i < 3; ++i) {
        help += SlideWords(SlideTable()[1], i);
        credits += SlideWords(SlideTable()[2], i);
    }
    for (const char* word : {"Enter", "Escape", "Space", "Equipment", "Start", "Reports"})
        EXPECT_NE(help.find(word), std::string::npos) << word;
    for (const char* word : {"SDL2", "OpenAL Soft", "Lua", "ODE", "libvorbis", "TinyXML",
                             "Dear ImGui", "DejaVu", "zlib", "MIT", "LGPL", "BSD", "Fairlark"})
        EXPECT_NE(credits.find(word), std::string::npos) << word;
    // Textures are shared by title: no slide may take a control image's.
    for (const SlideSeries& series : SlideTable())
        for (const ArtRow& row : ArtTable())
            EXPECT_EQ(std::string(row.file).find(series.base), std::string::npos);
}
