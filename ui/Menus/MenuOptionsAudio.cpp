// The audio options page: its controls, names and class.
#include "ui/Menus/MenuOptionsAudio.h"

#include "game/Prefs.h"
#include "ui/Menus/MenuOptionsVideo.h"

#include <cstdio>

uint8_t g_menuOptionsAudioFullScreen = 1;

namespace {
const char* const kNames[] = {"C_AUDIO", "C_VIDEO", nullptr,   "C_MUSIC",
                              nullptr,   "C_OK",    "C_CANCEL"};

const OptionsPageDef kPage = {
    "MenuOptionsAudio",
    "MenuOptionsVideo",
    "OptionsMenuAudio",
    "Menu\\Options\\MenuAudio.lua",
    kNames,
    int(sizeof kNames / sizeof kNames[0]),
    &g_menuOptionsAudioFullScreen,
    &g_menuOptionsVideoFullScreen,
    OPTIONS_AUDIO_TAB_VIDEO,
    {"Video", 503.0f, 240.0f, "Menu\\Options\\button_video.dds", 120, 82, 0, 0, 0, 0},
    {"Audio", 402.0f, 254.0f, "Menu\\Options\\button_audio.dds", 0, 0, 114.0f, 79.0f, 0.890625f,
     0.154296875f},
    {{OPTIONS_AUDIO_MASTER, u"Master Volume", 700, 400, &Prefs::volMaster, 1.0f},
     {OPTIONS_AUDIO_MUSIC, u"Music Volume", 700, 440, &Prefs::volMusic, 0.5f}},
    OPTIONS_AUDIO_OK,
    OPTIONS_AUDIO_CANCEL,
};
} // namespace

MenuOptionsAudio::MenuOptionsAudio() : MenuOptionsPage(kPage) {}

MenuOptionsPage* MenuOptionsAudioOpen(ENTBASE* parent, const char* returnTo, int fullScreen,
                                      ENTBASE* caller) {
    return MenuOptionsPageOpen("MenuOptionsAudio", &g_menuOptionsAudioFullScreen, parent, returnTo,
                               fullScreen, caller);
}

intptr_t EcMenuOptionsAudioProc(EntNode* node, int message, intptr_t a, intptr_t b, intptr_t c) {
    switch (message) {
        case ENT_CLASS_MSG_BUILD_DB:
        case ENT_CLASS_MSG_RESET:
        case ENT_CLASS_MSG_UNREGISTER: return 0;
        case ENT_CLASS_MSG_CLASS_NAME:
            std::snprintf(reinterpret_cast<char*>(b), 64, "MenuOptionsAudio");
            return 0;
        case ENT_CLASS_MSG_CREATE: return EntProcCreate(node, new MenuOptionsAudio, nullptr);
        default: return EntProcForward(node, message, a, b, c);
    }
}
