// The studio logo splash of the game's opening chain.
#pragma once

#include "engine/EntTree.h"
#include "ui/Menus/MenuChainSplash.h"

class MenuTolvane : public MenuChainSplash {
  public:
    MenuTolvane();
};

intptr_t EcMenuTolvaneProc(EntNode* node, int message, intptr_t a, intptr_t b, intptr_t c);
