// What the front-end screens and the pause screens share: switching to another screen in their
// own place, the closing steps of their creation with the "Menu:" log line, the game object and
// the menu music, the quit flag of the application, and plain texts and pictures.
#pragma once

#include "ui/Menu3Base.h"

#include <cstdint>

class MtGame;
class ScriptGameHost;
class StaticGraphic;
class StaticText;

// ---- the application ----
// The application whose quit flag the exit confirmation raises; the game application sets it at
// start-up and clears it at shutdown.
void MenuSetAppHost(ScriptGameHost* host);
ScriptGameHost* MenuGetAppHost();
// Raises the quit flag: the main loop ends after this frame and the program shuts down in order.
// False (logged) without an application.
bool MenuSetQuitFlag();

// ---- switching screens ----
// Creates `className` under the menu's parent, starts it, then destroys the menu and its
// controls. A class that cannot be made leaves the menu as it was and returns null; the failure
// is logged as "<from>: cannot open <class>" the first time only (`*reported` remembers it).
ENTBASE* MenuFrontEndSwitch(Menu3Base* menu, const char* from, const char* className,
                            bool* reported);

// The focus on a control, the menu's entity name, and the line "Menu: <name> (<class>)".
void MenuFrontEndFinish(Menu3Base* menu, int32_t focusId, const char* entityName,
                        const char* className);

// ---- the game object and the music ----
// The menu's game object; null, with a line naming the screen's class and what is skipped, when
// there is none.
MtGame* MenuFrontEndGame(Menu3Base* menu, const char* className, const char* skipped);
// The music volume from the preferences ("volMusic"; skipped without a game object), then the
// menu loop through the root's "Music" entity (silence when it cannot be read).
void MenuFrontEndMusic(Menu3Base* menu, const char* className, bool setVolume);

inline constexpr const char* kMenuMusic = "Music\\MenuLoop.ogg";
inline constexpr const char* kMenuPurpleBackground = "Menu\\Common\\ZobPurpleBackground.dds";

// ---- plain controls ----
// A StaticText in the loaded font of that title (none when it is not loaded), id -1.
StaticText* MenuFrontEndText(const char16_t* text, float x, float y, const char* font,
                             uint32_t colour, int32_t align, ENTBASE* menu);
// A StaticGraphic centred on (x, y), id -1, showing the uv rectangle (0, 0)-(uvRight, uvBottom)
// of the texture (untextured without one).
StaticGraphic* MenuFrontEndPicture(const char* name, float x, float y, float w, float h,
                                   float uvRight, float uvBottom, const char* texture,
                                   uint32_t colour, ENTBASE* menu);
