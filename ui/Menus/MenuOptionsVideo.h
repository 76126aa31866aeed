// The video options page: patron visibility and mouse scroll speed, with a tab to the audio
// page. Its three video-mode names are registered for the script and do nothing.
#pragma once

#include "ui/Menus/MenuOptionsPage.h"

// The full-screen flag given to the video page's opener.
extern uint8_t g_menuOptionsVideoFullScreen;

// Control ids.
enum : int32_t {
    OPTIONS_VIDEO_TAB_AUDIO = 0,
    OPTIONS_VIDEO_PATRONS = 5,
    OPTIONS_VIDEO_SCROLL = 6,
    OPTIONS_VIDEO_OK = 7,
    OPTIONS_VIDEO_CANCEL = 8,
};

class MenuOptionsVideo : public MenuOptionsPage {
  public:
    MenuOptionsVideo();
};

// Creates "MenuOptionsVideo" under the parent, as MenuOptionsAudioOpen does.
MenuOptionsPage* MenuOptionsVideoOpen(ENTBASE* parent, const char* returnTo, int fullScreen,
                                      ENTBASE* caller);

intptr_t EcMenuOptionsVideoProc(EntNode* node, int message, intptr_t a, intptr_t b, intptr_t c);
