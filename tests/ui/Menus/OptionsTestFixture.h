// The options tests' fixture: the interface harness with the real game object and music entity,
// the main menu's and the pause menu's stand-ins, a management camera in the world, and the
// pointer, key and read-back helpers the option tests share.
#pragma once

#include "tests/harness/UiHarness.h"

#include "game/MtGame.h"
#include "ui/Menus/MenuOptionsAudio.h"
#include "ui/Menus/MenuOptionsVideo.h"
#include "ui/Slider.h"

#include <string>

// The menu music as the main menu's stand-in plays it.
std::string MenuMusicPath();

class OptionsTest : public UiTest {
  protected:
    void SetUp() override;
    void TearDown() override;

    // The game with the real game object (or, with `realGame` false, the harness's double), the
    // stand-ins, and a camera under "World".
    void StartOptions(bool realGame = true);

    MtGame* Game();
    ENTBASE* Camera() const { return m_camera; }
    // The live menus under "Menus" that are menus of the framework.
    int MenuCount();
    // The first live menu of the class under "Menus", or null.
    template <class T>
    T* Find() {
        for (EntNode* n = app.GetMenus()->node->firstChild; n; n = n->next) {
            if (n->deleteCount != 0) continue;
            if (auto* m = dynamic_cast<T*>(n->object)) return m;
        }
        return nullptr;
    }
    MenuOptionsPage* Page() { return Find<MenuOptionsPage>(); }

    // Pointer to the control's centre, button down, a frame, button up, a frame.
    void ClickCtl(Ctl3Base* control);
    // Down at the value's place along the slider's track (the button stays down until Up).
    void PressSliderAt(Slider* slider, float value);
    // The main menu stand-in, and the video page opened from it by a click on Options.
    MenuOptionsPage* OpenFromMain();
    // The pause menu stand-in, and the video page opened from it by a click on Options.
    MenuOptionsPage* OpenFromPause();

    // What OpenAL plays: the listener's gain, and the gain of the music stream now playing
    // (-1 when none plays). Each read checks that OpenAL has no error pending.
    float ListenerGain();
    float StreamGain();

  private:
    ENTBASE* m_camera = nullptr;
    uint8_t m_audioFlag = 0, m_videoFlag = 0;
};
