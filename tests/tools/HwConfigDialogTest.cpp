// The configuration dialog driven by clicks and keys on the ImGui harness.
#include "tests/tools/HwConfigFixture.h"
#include "tools/HwConfigBanner.h"

#include <SDL.h>

namespace {
const std::vector<D3DDISPLAYMODE> kTwoModes = {Mode(800, 600, 60), Mode(800, 600, 75),
                                               Mode(1024, 768, 60)};
} // namespace

TEST_F(HwConfigDialogTest, AFreshStartShowsTheDefaultsAndEnterPlaysWithTheSelectedMode) {
    state.adapters.push_back(TestAdapter(kTwoModes));
    ShowTab("Video##2114");
    ASSERT_EQ(state.page, HW_PAGE_VIDEO);
    ASSERT_EQ(state.modes.size(), 2u);
    EXPECT_EQ(HwConfigModeLine(state.modes[0]), "800 x 600  32bit");
    EXPECT_EQ(state.selectedMode, 1) << "1024 x 768 is the default mode";
    EXPECT_EQ(state.info, "- Hardware T&L:Yes\n- Texture:16384x16384\n- Blending Stages:8\n"
                          "- Simul Textures:8\n- Best Depth:D32");
    Key(ImGuiKey_Enter);
    EXPECT_EQ(state.result, 1) << "Enter is Play Game";
    HwConfigDialogEnd(&state);
    EXPECT_EQ(std::make_tuple(state.data.hRes, state.data.vRes, state.data.format),
              std::make_tuple(1024, 768, 22));
}

TEST_F(HwConfigDialogTest, EscapeAndExitAnswerZero) {
    Frame();
    Key(ImGuiKey_Escape);
    EXPECT_EQ(state.result, 0);
    state.result = -1;
    Frame();
    Click("Exit##2");
    EXPECT_EQ(state.result, 0);
}

TEST_F(HwConfigDialogTest, LeavingTheVideoPageWritesTheSelectedLineAndAnEmptyListKeepsTheMode) {
    state.data.hRes = 640, state.data.vRes = 480;
    state.adapters.push_back(TestAdapter(kTwoModes));
    ShowTab("Video##2114");
    EXPECT_EQ(state.selectedMode, 0) << "640 x 480 is not listed";
    ShowTab("General##2111");
    EXPECT_EQ(std::make_tuple(state.data.hRes, state.data.vRes), std::make_tuple(800, 600));

    HwConfigDialogState empty;
    HwConfigDefaults(&empty.data);
    empty.data.hRes = 1600, empty.data.format = 23;
    empty.adapters.push_back(TestAdapter({}));
    state = empty;
    ShowTab("Video##2114");
    ShowTab("General##2111");
    EXPECT_EQ(std::make_tuple(state.data.hRes, state.data.format), std::make_tuple(1600, 23));
}

// The game would ask the display for whatever is written: a mode the adapter lacks is written as
// the line the list would select, the video page opened or not.
TEST_F(HwConfigDialogTest, PlayingWithoutTheVideoPageWritesAModeTheAdapterLists) {
    state.adapters.push_back(TestAdapter({Mode(1280, 1024, 60)}));
    Frame();
    Key(ImGuiKey_Enter);
    ASSERT_EQ(state.result, 1);
    HwConfigDialogEnd(&state);
    EXPECT_EQ(std::make_tuple(state.data.hRes, state.data.vRes, state.data.format),
              std::make_tuple(1280, 1024, 22));

    state = HwConfigDialogState{};
    HwConfigDefaults(&state.data);
    state.adapters.push_back(TestAdapter(kTwoModes));
    Frame();
    HwConfigDialogEnd(&state);
    EXPECT_EQ(std::make_tuple(state.data.hRes, state.data.vRes), std::make_tuple(1024, 768))
        << "a listed mode stays";
}

TEST_F(HwConfigDialogTest, RunWindowedDisablesTheModeListAndVsync) {
    state.adapters.push_back(TestAdapter(kTwoModes));
    ShowTab("Video##2114");
    Click("Run Windowed##21013");
    EXPECT_EQ(state.data.windowed, 1);
    Frame();
    const ImGuiItemRect list = ui.Item("##21010");
    ui.Click(list.CentreX(), list.y0 + 4, [this] { HwConfigDialogFrame(&state); });
    EXPECT_EQ(state.selectedMode, 1) << "a click on the disabled list changed the mode";
    Click("Lock to Vsync##21016");
    EXPECT_EQ(state.data.lockVsync, 0) << "vsync is disabled while windowed";
    Click("Run Windowed##21013");
    ui.Click(list.CentreX(), list.y0 + 4, [this] { HwConfigDialogFrame(&state); });
    EXPECT_EQ(state.selectedMode, 0) << "the enabled list takes the click";
}

// The sound page sets its keys; the controls the game cannot honour (detail, software T&L, the
// debug page's drawing, status and quick start) take no click and keep the file's values.
TEST_F(HwConfigDialogTest, SoundControlsSetTheirKeysAndUnhonouredOnesKeepTheFilesValues) {
    ShowTab("Sound##2107");
    Click("MP3 Music##21012");
    EXPECT_EQ(state.data.enableMP3Music, 0);
    Click("Enable Sound System##21011");
    EXPECT_EQ(state.data.digDriverEnabled, 0);
    Click("Enable 3d Sound##21018");
    EXPECT_EQ(state.data.dig3dEnabled, 1) << "3D sound is disabled without the sound system";

    state.data.defaultDetail = 0;
    ShowTab("General##2111");
    Click("HIGH: 2.5 GHz PC with cutting-edge 3D video card.##21031");
    EXPECT_EQ(std::make_tuple(state.data.defaultDetail, state.data.detailOverride),
              std::make_tuple(0, 0));
    state.adapters.push_back(TestAdapter(kTwoModes));
    ShowTab("Video##2114");
    Click("Force Software TL##21008");
    EXPECT_EQ(state.data.forceSoftwareVP, 0);

    EXPECT_FALSE(ui.Has("Debug / Developer##2113")) << "the debug page needs \"developer\"";
    state.data.developer = 1;
    ShowTab("Debug / Developer##2113");
    EXPECT_EQ(state.page, HW_PAGE_DEBUG);
    Click("Enable Debug Output##21006");
    EXPECT_EQ(state.data.debug, 1) << "the log is honoured";
    Click("Verbose##21025");
    Click("Draw Grass##21022");
    Click("Quick Startup##21028");
    EXPECT_EQ(std::make_tuple(state.data.displayNone, state.data.displaySimple,
                              state.data.displayVerbose, state.data.drawGrass,
                              state.data.quickStart),
              std::make_tuple(0, 1, 0, 1, 0));
    Click("Run While Inactive##21034");
    EXPECT_EQ(state.data.runWhileInactive, 0) << "read only in a window";
    state.data.windowed = 1;
    Click("Run While Inactive##21034");
    EXPECT_EQ(state.data.runWhileInactive, 1);
}

TEST_F(HwConfigDialogTest, TheBannerShowsTheBitmapsPixelsAndAMissingOneLeavesTheBackground) {
    SDL_Surface* bmp = SDL_CreateRGBSurfaceWithFormat(0, kHwConfigWidth, kHwConfigBannerHeight, 24,
                                                      SDL_PIXELFORMAT_RGB24);
    ASSERT_NE(bmp, nullptr);
    SDL_FillRect(bmp, nullptr, SDL_MapRGB(bmp->format, 200, 40, 90));
    const std::string path = dir / "Banner.bmp";
    ASSERT_EQ(SDL_SaveBMP(bmp, path.c_str()), 0);
    SDL_FreeSurface(bmp);

    state.bannerTexture = HwConfigLoadBanner(path.c_str(), &state.bannerWidth, &state.bannerHeight);
    ASSERT_NE(state.bannerTexture, 0u);
    Frame();
    EXPECT_EQ(ui.Pixel(100, 40) & 0xFFFFFF, 0xC8285Au) << "the banner's own colour, unfiltered";
    HwConfigFreeBanner(state.bannerTexture);

    ::testing::internal::CaptureStderr();
    state.bannerTexture = HwConfigLoadBanner((dir / "Missing.bmp").c_str(), nullptr, nullptr);
    const std::string err = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(state.bannerTexture, 0u);
    EXPECT_NE(err.find("Missing.bmp"), std::string::npos) << "one line names the file";
    WriteTextFile(dir / "NotABmp.bmp", "text");
    EXPECT_EQ(HwConfigLoadBanner((dir / "NotABmp.bmp").c_str(), nullptr, nullptr), 0u);
    Frame();
    const ImVec4 bg = ImGui::GetStyle().Colors[ImGuiCol_WindowBg];
    const uint32_t pixel = ui.Pixel(100, 40);
    EXPECT_NEAR((int)((pixel >> 16) & 0xFF), (int)(bg.x * bg.w * 255.0f + 0.5f), 2)
        << "the area shows the window background";
}
