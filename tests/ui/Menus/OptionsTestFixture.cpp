// The options tests' fixture.
#include "tests/ui/Menus/OptionsTestFixture.h"

#include "engine/EntTree.h"
#include "engine/Sound/SndStream.h"
#include "tests/ui/Menus/OptionsMenuDoubles.h"
#include "world/EntMusic.h"

#include <AL/al.h>

void OptionsTest::SetUp() {
    UiTest::SetUp();
    m_audioFlag = g_menuOptionsAudioFullScreen;
    m_videoFlag = g_menuOptionsVideoFullScreen;
    g_optionsMainMade = 0;
    g_optionsPauseMade = 0;
}

void OptionsTest::TearDown() {
    UiTest::TearDown();
    g_menuOptionsAudioFullScreen = m_audioFlag;
    g_menuOptionsVideoFullScreen = m_videoFlag;
}

void OptionsTest::StartOptions(bool realGame) {
    registerFirst = [realGame] {
        if (realGame) EntCreateClass(EcMtGameProc, 0, 0);
        EntCreateClass(OptionsMainDoubleProc, 0, 0);
        EntCreateClass(OptionsPauseDoubleProc, 0, 0);
    };
    StartUi();
    m_camera = EntCreateChild("CameraVantor1", app.GetWorld());
    ASSERT_TRUE(m_camera) << "the management camera's class is not registered";
    // The menu music, faded in to the player's volume, as the main menu starts it.
    if (MtGame* game = Game()) MusicSetVolume(app.GetRoot(), game->prefs.volMusic);
    MusicPlayByName(app.GetRoot(), MenuMusicPath().c_str());
    Step(60);
}

std::string MenuMusicPath() {
    return std::string(Ctl3DataFolder()) + "Music\\MenuLoop.ogg";
}

MtGame* OptionsTest::Game() {
    return dynamic_cast<MtGame*>(EntTreeFindType(app.GetRoot(), "MtGame"));
}

int OptionsTest::MenuCount() {
    int n = 0;
    for (EntNode* c = app.GetMenus()->node->firstChild; c; c = c->next)
        n += c->deleteCount == 0 && dynamic_cast<Menu3Base*>(c->object) != nullptr;
    return n;
}

void OptionsTest::ClickCtl(Ctl3Base* control) {
    ASSERT_TRUE(control);
    ClickAt((control->rect.left + control->rect.right) / 2,
            (control->rect.top + control->rect.bottom) / 2);
}

void OptionsTest::PressSliderAt(Slider* slider, float value) {
    ASSERT_TRUE(slider);
    const float x = slider->trackLeft + value * (slider->trackRight - slider->trackLeft);
    MouseMove(x, slider->rect.top + 4);
    Step();
    MouseButton(true);
    Step();
}

MenuOptionsPage* OptionsTest::OpenFromMain() {
    Menu3Base* main = MenuOpen("MenuMain", app.GetMenus(), nullptr);
    if (!main) return nullptr;
    Step();
    ClickCtl(main->FindCtl(2));
    return Page();
}

MenuOptionsPage* OptionsTest::OpenFromPause() {
    Menu3Base* pause = MenuOpen("MenuInGame", app.GetMenus(), nullptr);
    if (!pause) return nullptr;
    Step();
    ClickCtl(pause->FindCtl(3));
    return Page();
}

float OptionsTest::ListenerGain() {
    alGetError();
    ALfloat gain = -1.0f;
    alGetListenerf(AL_GAIN, &gain);
    EXPECT_EQ(alGetError(), AL_NO_ERROR);
    return gain;
}

float OptionsTest::StreamGain() {
    auto* music = dynamic_cast<EntMusic*>(EntTreeFindName(app.GetRoot(), "Music"));
    if (!music || !music->current || !music->current->source) return -1.0f;
    alGetError();
    ALfloat gain = -1.0f;
    alGetSourcef(music->current->source, AL_GAIN, &gain);
    EXPECT_EQ(alGetError(), AL_NO_ERROR);
    return gain;
}
