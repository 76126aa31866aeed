// The option pages on llvmpipe: the front end's background behind the panel when opened from the
// main menu, the running game's frame around it when opened from the pause menu, and a page whose
// own images are missing still drawn (untextured) and still working.
#include "tests/ui/Menus/OptionsMenuDoubles.h"
#include "tests/ui/Menus/OptionsTestFixture.h"

#include "datagen/Interface/InterfaceArt.h"
#include "ui/GraphicButton.h"
#include "ui/MenuKit.h"
#include "ui/StaticGraphic.h"
#include "world/CursorFrame.h"

#include <dirent.h>
#include <unistd.h>

#include <string>

namespace {
uint32_t Rgb(uint32_t argb) {
    return argb | 0xFF000000u;
}

// Where each picture is sampled: the panel's fill in its lower left corner, outside every
// control; a point outside the panel; the tab picture's and the logo's first texels.
constexpr int kPanelX = 240, kPanelY = 590;
constexpr int kOutsideX = 100, kOutsideY = 700;
constexpr uint32_t kGameFrame = 0xFF20A040u;
} // namespace

TEST_F(OptionsTest, FromTheMainMenuTheBackgroundAndLogoAreDrawnBehindThePanel) {
    StartOptions();
    MenuOptionsPage* page = OpenFromMain();
    ASSERT_TRUE(page);
    g_cursorFrameIndex = -1;
    Step();
    const std::vector<uint32_t> px = ReadPixels();
    EXPECT_EQ(Rgb(PixelAt(px, kOutsideX, kOutsideY)), Rgb(kArtBackdropFill))
        << "no front-end background outside the panel";
    EXPECT_EQ(Rgb(PixelAt(px, kPanelX, kPanelY)), Rgb(kArtPanelFill)) << "no panel";
    // Both tabs in their images' first frame: the current one a picture, the other a button.
    EXPECT_EQ(Rgb(PixelAt(px, 503 + 4, 240 + 4)), Rgb(kArtStateFill[0])) << "no Video tab picture";
    EXPECT_EQ(Rgb(PixelAt(px, 402 + 4, 254 + 4)), Rgb(kArtStateFill[0])) << "no Audio tab button";
    EXPECT_EQ(Rgb(PixelAt(px, 582 + 4, 533 + 4)), Rgb(kArtStateFill[0])) << "no OK";
    EXPECT_NE(Rgb(PixelAt(px, 388, 14)), Rgb(kArtBackdropFill)) << "no logo";
}

TEST_F(OptionsTest, FromThePauseMenuTheGameStaysVisibleAroundThePanel) {
    StartOptions();
    // The running game's frame, as the world viewport would leave it under the menus.
    StaticGraphic* frame = MenuKitBackground(nullptr, menu);
    ASSERT_TRUE(frame);
    frame->colour = kGameFrame;
    MenuOptionsPage* page = OpenFromPause();
    ASSERT_TRUE(page);
    g_cursorFrameIndex = -1;
    Step();
    std::vector<uint32_t> px = ReadPixels();
    EXPECT_EQ(Rgb(PixelAt(px, kOutsideX, kOutsideY)), kGameFrame)
        << "the page hid the game behind it";
    EXPECT_EQ(Rgb(PixelAt(px, 388, 14)), kGameFrame) << "a logo over the game";
    EXPECT_EQ(Rgb(PixelAt(px, kPanelX, kPanelY)), Rgb(kArtPanelFill));

    // Two tab switches later the game is still visible.
    ClickCtl(page->FindCtl(OPTIONS_VIDEO_TAB_AUDIO));
    ASSERT_TRUE(Find<MenuOptionsAudio>());
    ClickCtl(Find<MenuOptionsAudio>()->FindCtl(OPTIONS_AUDIO_TAB_VIDEO));
    ASSERT_TRUE(Find<MenuOptionsVideo>());
    g_cursorFrameIndex = -1;
    Step();
    px = ReadPixels();
    EXPECT_EQ(Rgb(PixelAt(px, kOutsideX, kOutsideY)), kGameFrame);
}

// The data folder without the pages' own images: every quad is drawn plain white, and the tab,
// the sliders and OK still answer the mouse.
TEST_F(OptionsTest, WithoutItsImagesThePageIsDrawnPlainAndStillWorks) {
    // Data/Menu rebuilt from links to the build's files, leaving the options' pictures out.
    const std::string data = m_program + "Data/";
    const std::string build = FAIRLARK_BUILD_DATA_DIR;
    ASSERT_EQ(unlink((data + "Menu").c_str()), 0);
    ASSERT_EQ(mkdir((data + "Menu").c_str(), 0755), 0);
    const auto linkFolder = [&](const std::string& sub, auto keep) {
        if (DIR* dir = opendir((build + sub).c_str())) {
            while (dirent* e = readdir(dir)) {
                const std::string name = e->d_name;
                if (name == "." || name == ".." || !keep(name)) continue;
                ASSERT_EQ(symlink((build + sub + name).c_str(), (data + sub + name).c_str()), 0);
            }
            closedir(dir);
        }
    };
    linkFolder("Menu/", [](const std::string& n) { return n != "Options" && n != "Common"; });
    ASSERT_EQ(mkdir((data + "Menu/Common").c_str(), 0755), 0);
    ASSERT_EQ(mkdir((data + "Menu/Options").c_str(), 0755), 0);
    linkFolder("Menu/Common/", [](const std::string& n) { return n != "ZobPanelOptions.dds"; });
    linkFolder("Menu/Options/", [](const std::string& n) {
        return n.size() > 4 && n.substr(n.size() - 4) == ".lua";
    });

    StartOptions();
    MenuOptionsPage* page = OpenFromPause();
    ASSERT_TRUE(page);
    g_cursorFrameIndex = -1;
    Step();
    const std::vector<uint32_t> px = ReadPixels();
    EXPECT_EQ(Rgb(PixelAt(px, kPanelX, kPanelY)), 0xFFFFFFFFu) << "the panel is a plain quad";
    EXPECT_EQ(Rgb(PixelAt(px, 503 + 4, 240 + 4)), 0xFFFFFFFFu) << "the tab is a plain quad";

    PressSliderAt(page->SliderAt(1), 0.75f);
    MouseButton(false);
    Step();
    EXPECT_EQ(Game()->prefs.edgeScrollSpeed, 0.75f);
    ClickCtl(page->FindCtl(OPTIONS_VIDEO_TAB_AUDIO));
    MenuOptionsPage* audio = Find<MenuOptionsAudio>();
    ASSERT_TRUE(audio) << "the tab without its image cannot be clicked";
    ClickCtl(audio->FindCtl(OPTIONS_AUDIO_OK));
    EXPECT_EQ(Page(), nullptr);
    auto* pause = Find<OptionsPauseDouble>();
    EXPECT_TRUE(pause && pause->active);
}
