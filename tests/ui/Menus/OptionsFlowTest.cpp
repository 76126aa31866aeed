// The option pages' ways in and out: from the main menu and the pause menu, the tab switch that
// keeps where to go back, OK and Cancel keeping every change, the keyboard alone, and a page with
// nowhere to return to.
#include "tests/ui/Menus/OptionsMenuDoubles.h"
#include "tests/ui/Menus/OptionsTestFixture.h"

#include "engine/FrameClock.h"
#include "engine/Input/SlInput.h"
#include "engine/Script/ScriptMgr.h"
#include "ui/GraphicButton.h"
#include "ui/StaticGraphic.h"

#include <lua.hpp>

#include <cmath>
#include <cstring>
#include <tuple>

namespace {
// A number the pages registered for their scripts; NaN when the global is no number.
double Global(const char* name) {
    lua_State* L = ScriptMgrGet()->L;
    const bool number = lua_getglobal(L, name) == LUA_TNUMBER;
    const double value = number ? lua_tonumber(L, -1) : NAN;
    lua_pop(L, 1);
    return value;
}

Ctl3Base* Named(Menu3Base* menu, const char* name) {
    for (EntNode* n = menu->node->firstChild; n; n = n->next)
        if (n->deleteCount == 0 && std::strcmp(n->object->GetName(), name) == 0)
            return dynamic_cast<Ctl3Base*>(n->object);
    return nullptr;
}
} // namespace

TEST_F(OptionsTest, FromTheMainMenuThePageShowsItsControlsAndOkOpensAFreshMainMenu) {
    StartOptions();
    MtGame* game = Game();
    ASSERT_TRUE(game);
    game->prefs.patronVisDist = 0.25f;
    game->prefs.edgeScrollSpeed = 0.75f;
    MenuOptionsPage* page = OpenFromMain();
    ASSERT_TRUE(page) << "a click on Options opened no page";
    EXPECT_STREQ(page->GetName(), "OptionsMenuVideo");
    EXPECT_EQ(Find<OptionsMainDouble>(), nullptr) << "the main menu stays behind the options";
    EXPECT_TRUE(page->BuiltFullScreen());
    EXPECT_EQ(g_menuOptionsVideoFullScreen, 1);
    EXPECT_TRUE(Named(page, "Background")) << "no front-end background";
    EXPECT_TRUE(Named(page, "AnimLogo"));
    // The video page's names for its script, the video modes and Cancel included.
    const char* const kVideo[] = {"C_AUDIO",      "C_VIDEO", "C_VIDEOMODE1", "C_VIDEOMODE2",
                                  "C_VIDEOMODE3", "C_OK",    "C_CANCEL"};
    const double kVideoIds[] = {0, 1, 2, 3, 4, 7, 8};
    for (int i = 0; i < 7; ++i)
        EXPECT_EQ(Global(kVideo[i]), kVideoIds[i]) << kVideo[i];
    EXPECT_EQ(Global("C_STATIC"), -1.0);

    auto* panel = dynamic_cast<StaticGraphic*>(Named(page, "BackgroundAudio"));
    ASSERT_TRUE(panel);
    EXPECT_EQ(std::make_tuple(panel->pos.x, panel->pos.y, panel->width, panel->height),
              std::make_tuple(512.0f, 384.0f, 576.0f, 448.0f));
    EXPECT_EQ(std::make_tuple(panel->uv.right, panel->uv.bottom), std::make_tuple(0.5625f, 0.875f));
    auto* tab = dynamic_cast<StaticGraphic*>(Named(page, "Video"));
    ASSERT_TRUE(tab) << "the current tab is a picture";
    EXPECT_EQ(std::make_tuple(tab->pos.x, tab->pos.y), std::make_tuple(503.0f, 240.0f));
    auto* other = dynamic_cast<GraphicButton*>(page->FindCtl(OPTIONS_VIDEO_TAB_AUDIO));
    ASSERT_TRUE(other) << "the other tab is a button";
    EXPECT_EQ(std::make_tuple(other->pos.x, other->pos.y), std::make_tuple(402.0f, 254.0f));
    EXPECT_EQ(std::make_tuple(tab->uv.top, tab->uv.right, tab->uv.bottom),
              std::make_tuple(0.0f, 0.9375f, 0.16015625f))
        << "the current tab shows its image's first frame";
    EXPECT_EQ(std::make_tuple(other->image.right, other->image.bottom), std::make_tuple(114, 79));

    Slider* patrons = page->SliderAt(0);
    Slider* scroll = page->SliderAt(1);
    ASSERT_TRUE(patrons && scroll);
    EXPECT_EQ(std::u16string(patrons->label), u"Patron Visibility");
    EXPECT_EQ(std::make_tuple(patrons->pos.x, patrons->pos.y), std::make_tuple(700.0f, 440.0f));
    EXPECT_EQ(patrons->GetValue(), 0.25f);
    EXPECT_EQ(std::u16string(scroll->label), u"Mouse Scroll Speed");
    EXPECT_EQ(std::make_tuple(scroll->pos.x, scroll->pos.y), std::make_tuple(700.0f, 480.0f));
    EXPECT_EQ(scroll->GetValue(), 0.75f);
    EXPECT_EQ(scroll->trackRight - scroll->trackLeft, 200.0f);
    EXPECT_EQ(scroll->rect.right, 700.0f) << "the kit's slider ends at its x";

    const int made = g_optionsMainMade;
    ClickCtl(page->FindCtl(OPTIONS_VIDEO_OK));
    EXPECT_EQ(Page(), nullptr) << "OK left the options page";
    auto* main = Find<OptionsMainDouble>();
    ASSERT_TRUE(main) << "OK did not return to the main menu";
    EXPECT_STREQ(main->GetName(), "MainMenu");
    EXPECT_EQ(g_optionsMainMade, made + 1) << "a fresh main menu is built";
    EXPECT_EQ(MenuCount(), 1);
}

TEST_F(OptionsTest, FromThePauseMenuOkMakesItActiveAgainAndTheGameStaysPaused) {
    StartOptions();
    MenuOptionsPage* page = OpenFromPause();
    ASSERT_TRUE(page);
    auto* pause = Find<OptionsPauseDouble>();
    ASSERT_TRUE(pause);
    EXPECT_FALSE(pause->active) << "the pause menu waits behind the options";
    EXPECT_FALSE(page->BuiltFullScreen()) << "a page with a caller draws no background";
    EXPECT_EQ(g_menuOptionsVideoFullScreen, 0);
    EXPECT_EQ(Named(page, "Background"), nullptr);
    // Opened by class name, the page learns of its caller after it was built: built again
    // without the background, it holds each control once.
    int panels = 0, cancels = 0;
    for (EntNode* n = page->node->firstChild; n; n = n->next) {
        if (n->deleteCount != 0) continue;
        panels += std::strcmp(n->object->GetName(), "BackgroundAudio") == 0;
        auto* c = dynamic_cast<Ctl3Base*>(n->object);
        cancels += c && c->id == OPTIONS_VIDEO_CANCEL;
    }
    EXPECT_EQ(std::make_tuple(panels, cancels), std::make_tuple(1, 1));
    EXPECT_EQ(Ctl3GetFocus(), page->FindCtl(OPTIONS_VIDEO_CANCEL));
    EXPECT_EQ(page->Caller(), pause);
    EXPECT_STREQ(page->ReturnClass(), "MenuInGame");
    EXPECT_EQ(app.clock->scale, 0) << "the pause menu paused the game";

    const int menus = MenuCount();
    ClickCtl(page->FindCtl(OPTIONS_VIDEO_OK));
    EXPECT_EQ(Page(), nullptr);
    EXPECT_TRUE(pause->active) << "OK did not make the pause menu active again";
    EXPECT_EQ(MenuCount(), menus - 1) << "OK made a menu instead of going back";
    EXPECT_EQ(g_optionsPauseMade, 1);
    EXPECT_EQ(app.clock->scale, 0) << "closing the options resumed the game";
    Step(3);
    EXPECT_EQ(app.clock->scale, 0);
}

// The tabs hand the return-to class, the caller and the background on, whichever way round.
TEST_F(OptionsTest, SwitchingTabsKeepsWhereToGoBack) {
    StartOptions();
    MenuOptionsPage* video = OpenFromPause();
    ASSERT_TRUE(video);
    ClickCtl(video->FindCtl(OPTIONS_VIDEO_TAB_AUDIO));
    auto* audio = Find<MenuOptionsAudio>();
    ASSERT_TRUE(audio) << "the Audio tab opened no audio page";
    EXPECT_EQ(Find<MenuOptionsVideo>(), nullptr) << "the video page stayed";
    EXPECT_STREQ(audio->GetName(), "OptionsMenuAudio");
    Slider* master = audio->SliderAt(0);
    Slider* music = audio->SliderAt(1);
    ASSERT_TRUE(master && music);
    EXPECT_EQ(std::u16string(master->label), u"Master Volume");
    EXPECT_EQ(std::make_tuple(master->pos.x, master->pos.y), std::make_tuple(700.0f, 400.0f));
    EXPECT_EQ(std::u16string(music->label), u"Music Volume");
    EXPECT_EQ(std::make_tuple(music->pos.x, music->pos.y), std::make_tuple(700.0f, 440.0f));
    auto* tab = dynamic_cast<GraphicButton*>(audio->FindCtl(OPTIONS_AUDIO_TAB_VIDEO));
    ASSERT_TRUE(tab);
    EXPECT_EQ(std::make_tuple(tab->pos.x, tab->pos.y), std::make_tuple(503.0f, 240.0f));
    EXPECT_FALSE(audio->BuiltFullScreen());
    const char* const kAudio[] = {"C_AUDIO", "C_VIDEO", "C_MUSIC", "C_OK", "C_CANCEL"};
    const double kAudioIds[] = {0, 1, 3, 5, 6};
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(Global(kAudio[i]), kAudioIds[i]) << kAudio[i];

    ClickCtl(tab);
    video = Find<MenuOptionsVideo>();
    ASSERT_TRUE(video);
    auto* pause = Find<OptionsPauseDouble>();
    EXPECT_EQ(video->Caller(), pause);
    EXPECT_STREQ(video->ReturnClass(), "MenuInGame");
    EXPECT_FALSE(video->BuiltFullScreen());
    ClickCtl(video->FindCtl(OPTIONS_VIDEO_OK));
    EXPECT_TRUE(pause && pause->active) << "after two switches OK no longer reached the caller";
    EXPECT_EQ(Page(), nullptr);

    // From the main menu: the background stays through both switches, and OK goes back there.
    ASSERT_TRUE(Find<OptionsPauseDouble>());
    EntDestroyTree(Find<OptionsPauseDouble>());
    Step();
    video = OpenFromMain();
    ASSERT_TRUE(video);
    ClickCtl(video->FindCtl(OPTIONS_VIDEO_TAB_AUDIO));
    audio = Find<MenuOptionsAudio>();
    ASSERT_TRUE(audio);
    EXPECT_TRUE(audio->BuiltFullScreen());
    EXPECT_TRUE(Named(audio, "Background"));
    ClickCtl(audio->FindCtl(OPTIONS_AUDIO_TAB_VIDEO));
    video = Find<MenuOptionsVideo>();
    ASSERT_TRUE(video);
    EXPECT_TRUE(video->BuiltFullScreen());
    EXPECT_EQ(video->Caller(), nullptr);
    const int made = g_optionsMainMade;
    ClickCtl(video->FindCtl(OPTIONS_VIDEO_OK));
    EXPECT_TRUE(Find<OptionsMainDouble>());
    EXPECT_EQ(g_optionsMainMade, made + 1);
}

// Neither OK nor Cancel undoes what the sliders did.
TEST_F(OptionsTest, OkAndCancelBothCloseAndKeepEveryChange) {
    StartOptions();
    MtGame* game = Game();
    ASSERT_TRUE(game);
    for (int32_t closer : {OPTIONS_AUDIO_OK, OPTIONS_AUDIO_CANCEL}) {
        game->prefs.volMusic = 0.5f;
        MenuOptionsPage* page = MenuOptionsAudioOpen(app.GetMenus(), "MenuMain", 1, nullptr);
        ASSERT_TRUE(page);
        Step();
        PressSliderAt(page->SliderAt(1), 0.25f);
        MouseButton(false);
        Step();
        EXPECT_EQ(game->prefs.volMusic, 0.25f);
        ClickCtl(page->FindCtl(closer));
        EXPECT_EQ(Page(), nullptr) << closer;
        EXPECT_EQ(game->prefs.volMusic, 0.25f) << "closing with " << closer << " undid the change";
        EXPECT_EQ(StreamGain(), 0.25f);
        EntDestroyTree(Find<OptionsMainDouble>());
        Step();
    }
}

// The Cancel that the focus and the back key need is there although no script adds one, with
// links that reach every control: a player on keys alone gets in, changes a value and gets out.
TEST_F(OptionsTest, TheKeyboardAloneOpensChangesAndLeavesThePage) {
    StartOptions();
    MtGame* game = Game();
    ASSERT_TRUE(game);
    Menu3Base* main = MenuOpen("MenuMain", app.GetMenus(), nullptr);
    ASSERT_TRUE(main);
    Step();
    Tap(SDL_SCANCODE_DOWN); // Sandbox's down link is Options
    Tap(SDL_SCANCODE_RETURN);
    MenuOptionsPage* page = Find<MenuOptionsVideo>();
    ASSERT_TRUE(page) << "Down and Enter on the main menu opened no options";
    Ctl3Base* cancel = page->FindCtl(OPTIONS_VIDEO_CANCEL);
    ASSERT_TRUE(cancel) << "the page built no Cancel";
    EXPECT_EQ(std::make_tuple(cancel->pos.x, cancel->pos.y), std::make_tuple(332.0f, 533.0f));
    EXPECT_EQ(Ctl3GetFocus(), cancel) << "the focus is not on Cancel";

    // Left and right between Cancel and OK, up to the lower slider.
    Tap(SDL_SCANCODE_RIGHT);
    EXPECT_EQ(Ctl3GetFocus(), page->FindCtl(OPTIONS_VIDEO_OK));
    Tap(SDL_SCANCODE_LEFT);
    EXPECT_EQ(Ctl3GetFocus(), cancel);
    Tap(SDL_SCANCODE_UP);
    Slider* scroll = page->SliderAt(1);
    ASSERT_EQ(Ctl3GetFocus(), scroll) << "Up from Cancel did not reach the lower slider";

    // One second of Right at 20 ms a frame: half the range, the preference following each frame.
    const float start = scroll->GetValue();
    Key(SDL_SCANCODE_RIGHT, true);
    float last = game->prefs.edgeScrollSpeed;
    for (int i = 0; i < 50; ++i) {
        Step();
        // A change reaches the page as an event: at most one frame behind the slider.
        if (i > 0) {
            EXPECT_GT(game->prefs.edgeScrollSpeed, last) << "frame " << i;
        }
        last = game->prefs.edgeScrollSpeed;
    }
    Key(SDL_SCANCODE_RIGHT, false);
    Step();
    EXPECT_NEAR(scroll->GetValue(), start + 0.5f, 0.03f);
    EXPECT_EQ(game->prefs.edgeScrollSpeed, scroll->GetValue());
    EXPECT_EQ(Ctl3GetFocus(), scroll) << "Right moved the focus off the slider";

    // Up, up to the tab; down, down, down back to Cancel.
    Tap(SDL_SCANCODE_UP);
    EXPECT_EQ(Ctl3GetFocus(), page->SliderAt(0));
    Tap(SDL_SCANCODE_UP);
    EXPECT_EQ(Ctl3GetFocus(), page->FindCtl(OPTIONS_VIDEO_TAB_AUDIO));
    Tap(SDL_SCANCODE_DOWN);
    Tap(SDL_SCANCODE_DOWN);
    Tap(SDL_SCANCODE_DOWN);
    EXPECT_EQ(Ctl3GetFocus(), cancel);

    const float kept = game->prefs.edgeScrollSpeed;
    Tap(SDL_SCANCODE_ESCAPE);
    EXPECT_EQ(Page(), nullptr) << "Escape did not close the page";
    EXPECT_TRUE(Find<OptionsMainDouble>()) << "Escape did not return to the main menu";
    EXPECT_EQ(game->prefs.edgeScrollSpeed, kept);

    // The audio page: the same keys on the music volume.
    EntDestroyTree(Find<OptionsMainDouble>());
    page = MenuOptionsAudioOpen(app.GetMenus(), "MenuMain", 1, nullptr);
    ASSERT_TRUE(page);
    Step();
    EXPECT_EQ(Ctl3GetFocus(), page->FindCtl(OPTIONS_AUDIO_CANCEL));
    Tap(SDL_SCANCODE_UP);
    Slider* music = page->SliderAt(1);
    ASSERT_EQ(Ctl3GetFocus(), music);
    const float before = music->GetValue();
    Key(SDL_SCANCODE_RIGHT, true);
    Step(25);
    Key(SDL_SCANCODE_RIGHT, false);
    Step();
    EXPECT_NEAR(music->GetValue(), before + 0.25f, 0.03f);
    EXPECT_EQ(game->prefs.volMusic, music->GetValue());
    Tap(SDL_SCANCODE_ESCAPE);
    EXPECT_EQ(Page(), nullptr);
    EXPECT_TRUE(Find<OptionsMainDouble>());
}

// Opened with neither a class to return to nor a caller, the page would stay for good: it goes
// to the main menu instead and says so once. An unknown class does the same.
TEST_F(OptionsTest, WithNowhereToReturnOkOpensTheMainMenuAndLogsOnce) {
    keepLog = true;
    StartOptions();
    for (const char* returnTo : {static_cast<const char*>(nullptr), "NoSuchMenu"}) {
        MenuOptionsPage* page = MenuOptionsAudioOpen(app.GetMenus(), returnTo, 1, nullptr);
        ASSERT_TRUE(page);
        Step();
        const int made = g_optionsMainMade;
        ClickCtl(page->FindCtl(OPTIONS_AUDIO_OK));
        EXPECT_EQ(Page(), nullptr) << "the page stayed: OK did nothing";
        EXPECT_EQ(g_optionsMainMade, made + 1);
        ASSERT_TRUE(Find<OptionsMainDouble>());
        EntDestroyTree(Find<OptionsMainDouble>());
        Step();
    }
    const std::string log = LogText();
    const std::string line = "MenuOptionsAudio: cannot return to";
    size_t count = 0;
    for (size_t at = log.find(line); at != std::string::npos; at = log.find(line, at + 1))
        ++count;
    EXPECT_EQ(count, 2u) << log;
    EXPECT_NE(log.find("cannot return to \"NoSuchMenu\""), std::string::npos);
}

// A caller gone while the page was open is no caller: the page returns by class instead of
// making a freed menu active.
TEST_F(OptionsTest, ACallerGoneSinceIsNotMadeActive) {
    StartOptions();
    MenuOptionsPage* page = OpenFromPause();
    ASSERT_TRUE(page);
    EntDestroyTree(Find<OptionsPauseDouble>());
    Step();
    EXPECT_EQ(page->Caller(), nullptr);
    ClickCtl(page->FindCtl(OPTIONS_VIDEO_CANCEL));
    EXPECT_EQ(Page(), nullptr);
    EXPECT_TRUE(Find<OptionsPauseDouble>()) << "the return-to class was not opened";
}
