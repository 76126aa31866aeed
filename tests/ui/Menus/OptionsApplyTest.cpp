// What the option sliders change, heard and seen at once: the listener and the music stream on
// OpenAL's null backend, the patrons' draw distance and the management camera; what the game
// object keeps of them in "config.ini"; and preferences, devices and scripts that are not as
// they should be.
#include "tests/ui/Menus/OptionsMenuDoubles.h"
#include "tests/ui/Menus/OptionsTestFixture.h"

#include "engine/Input/SlInput.h"
#include "engine/Sound/SoundInternal.h"
#include "ui/MenuKit.h"
#include "world/CameraVantor1.h"

#include <AL/al.h>
#include <AL/alc.h>

#include <clocale>
#include <cmath>
#include <string>
#include <tuple>

namespace {
// The engine's section as the harness writes it, and the preferences after it.
std::string WithPrefs(const std::string& config, const std::string& prefs) {
    return config + "\n[Prefs]\n" + prefs;
}
} // namespace

// Each slider writes its preference and the game applies it before the next frame is heard.
TEST_F(OptionsTest, EachSliderChangesWhatItGovernsAtOnce) {
    StartOptions();
    MtGame* game = Game();
    ASSERT_TRUE(game);
    ASSERT_GT(StreamGain(), 0.0f) << "the menu music is not playing";
    MenuOptionsPage* audio = MenuOptionsAudioOpen(app.GetMenus(), "MenuMain", 1, nullptr);
    ASSERT_TRUE(audio);
    Step();

    // A drag along the music track, from the middle to a quarter.
    Slider* music = audio->SliderAt(1);
    PressSliderAt(music, 0.5f);
    MouseMove(music->trackLeft + 0.25f * (music->trackRight - music->trackLeft),
              music->rect.top + 4);
    Step();
    MouseButton(false);
    Step();
    EXPECT_EQ(music->GetValue(), 0.25f);
    EXPECT_EQ(game->prefs.volMusic, 0.25f);
    EXPECT_EQ(StreamGain(), 0.25f) << "the stream did not follow the music slider";

    PressSliderAt(audio->SliderAt(0), 0.5f);
    MouseButton(false);
    Step();
    EXPECT_EQ(game->prefs.volMaster, 0.5f);
    EXPECT_EQ(ListenerGain(), 0.5f) << "the listener did not follow the master slider";
    EXPECT_EQ(StreamGain(), 0.25f) << "the master volume changed the music's own gain";

    ClickCtl(audio->FindCtl(OPTIONS_AUDIO_TAB_VIDEO));
    MenuOptionsPage* video = Find<MenuOptionsVideo>();
    ASSERT_TRUE(video);
    PressSliderAt(video->SliderAt(0), 1.0f);
    MouseButton(false);
    Step();
    EXPECT_EQ(game->prefs.patronVisDist, 1.0f);
    EXPECT_EQ(g_patronDrawDistance, 512.0f);

    PressSliderAt(video->SliderAt(1), 0.75f);
    MouseButton(false);
    Step();
    auto* camera = dynamic_cast<CameraVantor1*>(Camera());
    ASSERT_TRUE(camera);
    EXPECT_EQ(game->prefs.edgeScrollSpeed, 0.75f);
    EXPECT_EQ(camera->scrollSpeedX, 150.0f);
    EXPECT_EQ(camera->scrollSpeedZ, 150.0f);

    // Positions posted on the video page that have no control do nothing.
    const Prefs& p = game->prefs;
    const auto before =
        std::make_tuple(p.volMaster, p.volMusic, p.patronVisDist, p.edgeScrollSpeed);
    for (int32_t id : {2, 3, 4})
        SlPostEvent(CTL3_EVENT, id, CTL3_CLICK);
    Step(2);
    EXPECT_EQ(Page(), video);
    EXPECT_EQ(std::make_tuple(p.volMaster, p.volMusic, p.patronVisDist, p.edgeScrollSpeed), before);
}

// With the music slider at 0 the main menu starts its music again at that volume: silent.
TEST_F(OptionsTest, TheMusicStaysSilentBackOnTheMainMenu) {
    StartOptions();
    MenuOptionsPage* audio = MenuOptionsAudioOpen(app.GetMenus(), "MenuMain", 1, nullptr);
    ASSERT_TRUE(audio);
    Step();
    PressSliderAt(audio->SliderAt(1), 0.0f);
    MouseButton(false);
    Step();
    EXPECT_EQ(Game()->prefs.volMusic, 0.0f);
    EXPECT_EQ(StreamGain(), 0.0f);
    ClickCtl(audio->FindCtl(OPTIONS_AUDIO_OK));
    ASSERT_TRUE(Find<OptionsMainDouble>());
    for (int i = 0; i < 30; ++i) {
        Step();
        EXPECT_EQ(StreamGain(), 0.0f) << "frame " << i;
    }
}

// The game object writes the preferences when the game shuts down, in the "C" locale whatever
// the process's is.
TEST_F(OptionsTest, TheChangesAreInConfigIniAfterShutDown) {
    StartOptions();
    MenuOptionsPage* audio = MenuOptionsAudioOpen(app.GetMenus(), "MenuMain", 1, nullptr);
    ASSERT_TRUE(audio);
    Step();
    PressSliderAt(audio->SliderAt(1), 0.25f);
    MouseButton(false);
    Step();
    PressSliderAt(audio->SliderAt(0), 0.5f);
    MouseButton(false);
    Step();

    std::string comma;
    for (const char* name : {"de_DE.UTF-8", "fr_FR.UTF-8", "de_DE.utf8", "fr_FR.utf8"})
        if (std::setlocale(LC_NUMERIC, name)) {
            comma = name;
            break;
        }
    app.AppShutdown();
    std::setlocale(LC_NUMERIC, "C");
    const std::string text = ReadTextFile(m_documents + "Fairlark/Config.ini");
    EXPECT_NE(text.find("[Prefs]"), std::string::npos) << text;
    EXPECT_NE(text.find("volMusic=0.25"), std::string::npos) << text << comma;
    EXPECT_NE(text.find("volMaster=0.5"), std::string::npos) << text << comma;
    EXPECT_EQ(text.find("0,25"), std::string::npos) << text;
    EXPECT_NE(text.find("runHwConfig=0"), std::string::npos) << "the engine's section was lost";
}

// A second start reads them back: the sliders show them and they are applied.
TEST_F(OptionsTest, ASecondStartShowsTheSavedValues) {
    WriteConfig(WithPrefs(ReadTextFile(m_documents + "Fairlark/Config.ini"),
                          "volMusic=0.25\nvolMaster=0.5\npatronVisDist=0.75\n"));
    StartOptions();
    MenuOptionsPage* audio = MenuOptionsAudioOpen(app.GetMenus(), "MenuMain", 1, nullptr);
    ASSERT_TRUE(audio);
    Step();
    EXPECT_EQ(audio->SliderAt(0)->GetValue(), 0.5f);
    EXPECT_EQ(audio->SliderAt(1)->GetValue(), 0.25f);
    EXPECT_EQ(ListenerGain(), 0.5f);
    EXPECT_EQ(StreamGain(), 0.25f);
    EXPECT_EQ(g_patronDrawDistance, 384.0f);
}

// Values a hand or a damaged disk put there: the sliders show them within range or as the
// default, and OpenAL is never handed a negative or non-finite gain.
TEST_F(OptionsTest, DamagedPreferencesShowInRangeAndApplyCleanly) {
    WriteConfig(WithPrefs(ReadTextFile(m_documents + "Fairlark/Config.ini"),
                          "volMaster=-1\nvolMusic=2\npatronVisDist=abc\nedgeScrollSpeed=nan\n"));
    StartOptions();
    MtGame* game = Game();
    ASSERT_TRUE(game);
    EXPECT_EQ(ListenerGain(), 0.0f);
    EXPECT_EQ(StreamGain(), 1.0f);
    MenuOptionsPage* audio = MenuOptionsAudioOpen(app.GetMenus(), "MenuMain", 1, nullptr);
    ASSERT_TRUE(audio);
    Step();
    EXPECT_EQ(audio->SliderAt(0)->GetValue(), 0.0f);
    EXPECT_EQ(audio->SliderAt(1)->GetValue(), 1.0f);
    ClickCtl(audio->FindCtl(OPTIONS_AUDIO_TAB_VIDEO));
    MenuOptionsPage* video = Find<MenuOptionsVideo>();
    ASSERT_TRUE(video);
    EXPECT_EQ(video->SliderAt(0)->GetValue(), 0.5f);
    EXPECT_EQ(video->SliderAt(1)->GetValue(), 0.5f);

    // Whatever the record holds when it is applied, the gains OpenAL gets are finite and >= 0.
    for (float bad : {-1.0f, NAN, INFINITY, 2.0f}) {
        game->prefs.volMaster = game->prefs.volMusic = bad;
        alGetError();
        MtGameApplyPrefs(game);
        EXPECT_EQ(alGetError(), AL_NO_ERROR) << bad;
        const float listener = ListenerGain(), stream = StreamGain();
        EXPECT_TRUE(std::isfinite(listener) && listener >= 0.0f) << bad << " " << listener;
        EXPECT_TRUE(std::isfinite(stream) && stream >= 0.0f) << bad << " " << stream;
    }
    // A slider whose value was forced out of range writes it clamped.
    game->prefs.volMusic = 0.5f;
    video->SliderAt(1)->value = NAN;
    SlPostEvent(CTL3_EVENT, OPTIONS_VIDEO_SCROLL, CTL3_CLICK);
    Step();
    EXPECT_EQ(game->prefs.edgeScrollSpeed, 0.5f) << "a NaN slider must write the default";
    video->SliderAt(1)->value = 3.0f;
    SlPostEvent(CTL3_EVENT, OPTIONS_VIDEO_SCROLL, CTL3_CLICK);
    Step();
    EXPECT_EQ(game->prefs.edgeScrollSpeed, 1.0f);
}

// A track of no length (as a script could leave it) takes no value from the pointer.
TEST_F(OptionsTest, ASliderWithoutATrackKeepsItsValue) {
    StartOptions();
    MenuOptionsPage* audio = MenuOptionsAudioOpen(app.GetMenus(), "MenuMain", 1, nullptr);
    ASSERT_TRUE(audio);
    Step();
    Slider* music = audio->SliderAt(1);
    const float value = music->GetValue();
    MenuKitSetTrackLength(music, 0.0f);
    music->Layout();
    PressSliderAt(music, 0.0f);
    MouseMove(music->rect.right - 1, music->rect.top + 4);
    Step();
    MouseButton(false);
    Step();
    EXPECT_EQ(music->GetValue(), value);
    EXPECT_EQ(Game()->prefs.volMusic, value);
}

// Without a sound device the volumes are still the player's to set; applying them is silent.
TEST_F(OptionsTest, WithoutASoundDeviceTheVolumesAreStillWritten) {
    SndSetDeviceOpenHook([](const ALCint**) -> ALCdevice* { return nullptr; });
    StartOptions();
    SndSetDeviceOpenHook(nullptr);
    ASSERT_FALSE(SndIsOpen());
    MenuOptionsPage* audio = MenuOptionsAudioOpen(app.GetMenus(), "MenuMain", 1, nullptr);
    ASSERT_TRUE(audio);
    Step();
    PressSliderAt(audio->SliderAt(1), 0.25f);
    MouseButton(false);
    Step();
    PressSliderAt(audio->SliderAt(0), 0.75f);
    MouseButton(false);
    Step();
    EXPECT_EQ(Game()->prefs.volMusic, 0.25f);
    EXPECT_EQ(Game()->prefs.volMaster, 0.75f);
    EXPECT_EQ(StreamGain(), -1.0f) << "no stream plays without a device";
}

// Without the game object the page shows the defaults, writes nothing, and says so once.
TEST_F(OptionsTest, WithoutTheGameObjectTheSlidersShowTheDefaultsAndWriteNothing) {
    keepLog = true;
    StartOptions(false);
    ASSERT_EQ(Game(), nullptr);
    MenuOptionsPage* audio = MenuOptionsAudioOpen(app.GetMenus(), "MenuMain", 1, nullptr);
    ASSERT_TRUE(audio);
    Step();
    EXPECT_EQ(audio->SliderAt(0)->GetValue(), 1.0f);
    EXPECT_EQ(audio->SliderAt(1)->GetValue(), 0.5f);
    // Without the game object no fonts are loaded either: the change comes as the slider posts it.
    const float listener = ListenerGain();
    audio->SliderAt(0)->SetValue(0.25f);
    SlPostEvent(CTL3_EVENT, OPTIONS_AUDIO_MASTER, CTL3_CLICK);
    Step(2);
    EXPECT_EQ(Page(), audio);
    EXPECT_EQ(ListenerGain(), listener) << "nothing is applied without the game";
    const std::string log = LogText();
    const std::string line = "MenuOptionsAudio: no game object";
    EXPECT_NE(log.find(line), std::string::npos) << log;
    EXPECT_EQ(log.find(line), log.rfind(line)) << "one line per page";
}
