// The rating notice splash of the game's opening chain.
#pragma once

#include "engine/EntTree.h"
#include "ui/Menus/MenuChainSplash.h"

class MenuEsrb : public MenuChainSplash {
  public:
    MenuEsrb();
};

intptr_t EcMenuEsrbProc(EntNode* node, int message, intptr_t a, intptr_t b, intptr_t c);
