// The one way into play: the world loader and the load dialogs open the HUD through it.
#pragma once

#include "engine/EntBase.h"

class Menu3Base;

// Creates the HUD ("MenuGameRunning") under the parent and starts it. Null when the class cannot
// be made.
Menu3Base* MenuGameRunningOpen(ENTBASE* parent);
