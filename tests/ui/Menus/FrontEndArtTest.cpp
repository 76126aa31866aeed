// The front end's generated pictures: full-screen pictures in the top 768 rows, the main menu's
// frame transparent where the slides show, and the button and logo cells the screens name.
#include "datagen/Interface/InterfaceArt.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

namespace {
const ArtRow& Row(const char* file) {
    static std::map<std::string, const ArtRow*> rows;
    if (rows.empty())
        for (const ArtRow& r : ArtTable())
            rows[r.file] = &r;
    static const ArtRow none = {"", 0, 0, 0, 0, 0, "", 0, ArtKind::Strip};
    auto it = rows.find(file);
    return it == rows.end() ? none : *it->second;
}

GenImage Paint(const ArtRow& row) {
    GenImage img;
    std::string error;
    EXPECT_TRUE(ArtPaint(row, &img, &error)) << row.file << ": " << error;
    return img;
}

TEST(FrontEndArt, FullScreenPicturesFillTheTop768RowsOnly) {
    for (const char* file : {"Menu/QuenvarSplash.dds", "Menu/TolvaneSplash.dds",
                             "Menu/EsrbSplash.dds", "Menu/BrightfairSplash.dds"}) {
        const ArtRow& row = Row(file);
        ASSERT_EQ(row.texWidth, 1024u) << file;
        ASSERT_EQ(row.texHeight, 1024u) << file;
        const GenImage img = Paint(row);
        EXPECT_EQ(img.Get(512, 700), row.fill) << file << ": the picture's plain fill";
        EXPECT_EQ(img.Get(512, 800) >> 24, 0u) << file << ": below the picture is unused";
    }
}

// The main menu draws this over its slides: the window centre, between Sandbox and Career,
// must show the slide.
TEST(FrontEndArt, TheMainMenuFrameIsTransparentWhereTheSlidesShow) {
    const GenImage img = Paint(Row("Menu/Common/ZobMainMenu.dds"));
    ASSERT_EQ(img.width, 1024u);
    EXPECT_EQ(img.Get(512, 384) >> 24, 0u);
    EXPECT_EQ(img.Get(100, 300) >> 24, 0u);
    EXPECT_EQ(img.Get(512, 10) >> 24, 0xFFu) << "the top band";
    EXPECT_EQ(img.Get(512, 760) >> 24, 0xFFu) << "the bottom band";
}

TEST(FrontEndArt, TheButtonsAndLogoHoldTheCellsTheScreensName) {
    for (const char* file :
         {"Menu/MainMenu/button_sandbox.dds", "Menu/MainMenu/button_careermode.dds",
          "Menu/MainMenu/button_options.dds", "Menu/MainMenu/button_help.dds",
          "Menu/MainMenu/button_quit.dds", "Menu/MainMenu/button_credits.dds"}) {
        const ArtRow& row = Row(file);
        EXPECT_EQ(row.cellWidth, 150u) << file;
        EXPECT_EQ(row.cellHeight, 48u) << file;
        EXPECT_EQ(row.frames, 3u) << file;
        EXPECT_EQ(row.texWidth, 256u) << file;
    }
    EXPECT_EQ(Row("Menu/Common/ZobLogoAnim.dds").cellWidth, 483u);
    EXPECT_EQ(Row("Menu/Common/ZobLogoAnim.dds").cellHeight, 272u);
    EXPECT_EQ(Row("Menu/Common/ZobLogoAnim.dds").frames, 2u);
    EXPECT_EQ(Row("Menu/NewCareer/button_start.dds").cellWidth, 119u);
    EXPECT_EQ(Row("Menu/NewCareer/button_start.dds").cellHeight, 63u);
}
} // namespace
