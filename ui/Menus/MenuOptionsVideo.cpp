// The video options page: its controls, names and class.
#include "ui/Menus/MenuOptionsVideo.h"

#include "game/Prefs.h"
#include "ui/Menus/MenuOptionsAudio.h"

#include <cstdio>

uint8_t g_menuOptionsVideoFullScreen = 1;

namespace {
const char* const kNames[] = {"C_AUDIO", "C_VIDEO", "C_VIDEOMODE1", "C_VIDEOMODE2", "C_VIDEOMODE3",
                              nullptr,   nullptr,   "C_OK",         "C_CANCEL"};

const OptionsPageDef kPage = {
    "MenuOptionsVideo",
    "MenuOptionsAudio",
    "OptionsMenuVideo",
    "Menu\\Options\\MenuVideo.lua",
    kNames,
    int(sizeof kNames / sizeof kNames[0]),
    &g_menuOptionsVideoFullScreen,
    &g_menuOptionsAudioFullScreen,
    OPTIONS_VIDEO_TAB_AUDIO,
    {"Audio", 402.0f, 254.0f, "Menu\\Options\\button_audio.dds", 114, 79, 0, 0, 0, 0},
    {"Video", 503.0f, 240.0f, "Menu\\Options\\button_video.dds", 0, 0, 120.0f, 82.0f, 0.9375f,
     0.16015625f},
    {{OPTIONS_VIDEO_PATRONS, u"Patron Visibility", 700, 440, &Prefs::patronVisDist, 0.5f},
     {OPTIONS_VIDEO_SCROLL, u"Mouse Scroll Speed", 700, 480, &Prefs::edgeScrollSpeed, 0.5f}},
    OPTIONS_VIDEO_OK,
    OPTIONS_VIDEO_CANCEL,
};
} // namespace

MenuOptionsVideo::MenuOptionsVideo() : MenuOptionsPage(kPage) {}

MenuOptionsPage* MenuOptionsVideoOpen(ENTBASE* parent, const char* returnTo, int fullScreen,
                                      ENTBASE* caller) {
    return MenuOptionsPageOpen("MenuOptionsVideo", &g_menuOptionsVideoFullScreen, parent, returnTo,
                               fullScreen, caller);
}

intptr_t EcMenuOptionsVideoProc(EntNode* node, int message, intptr_t a, intptr_t b, intptr_t c) {
    switch (message) {
        case ENT_CLASS_MSG_BUILD_DB:
        case ENT_CLASS_MSG_RESET:
        case ENT_CLASS_MSG_UNREGISTER: return 0;
        case ENT_CLASS_MSG_CLASS_NAME:
            std::snprintf(reinterpret_cast<char*>(b), 64, "MenuOptionsVideo");
            return 0;
        case ENT_CLASS_MSG_CREATE: return EntProcCreate(node, new MenuOptionsVideo, nullptr);
        default: return EntProcForward(node, message, a, b, c);
    }
}
