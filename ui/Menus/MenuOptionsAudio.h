// The audio options page: master and music volume, with a tab to the video page.
#pragma once

#include "ui/Menus/MenuOptionsPage.h"

// The full-screen flag given to the audio page's opener: nonzero draws the front end's
// background and logo behind the panel.
extern uint8_t g_menuOptionsAudioFullScreen;

// Control ids.
enum : int32_t {
    OPTIONS_AUDIO_TAB_VIDEO = 1,
    OPTIONS_AUDIO_MASTER = 2,
    OPTIONS_AUDIO_MUSIC = 3,
    OPTIONS_AUDIO_OK = 5,
    OPTIONS_AUDIO_CANCEL = 6,
};

class MenuOptionsAudio : public MenuOptionsPage {
  public:
    MenuOptionsAudio();
};

// Creates "MenuOptionsAudio" under the parent with the flag, the return-to class (null: none)
// and the caller to make active again (or null), and starts it. Null when it cannot be made.
MenuOptionsPage* MenuOptionsAudioOpen(ENTBASE* parent, const char* returnTo, int fullScreen,
                                      ENTBASE* caller);

intptr_t EcMenuOptionsAudioProc(EntNode* node, int message, intptr_t a, intptr_t b, intptr_t c);
