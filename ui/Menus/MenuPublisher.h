// The publisher logo splash of the game's opening chain.
#pragma once

#include "engine/EntTree.h"
#include "ui/Menus/MenuChainSplash.h"

class MenuPublisher : public MenuChainSplash {
  public:
    MenuPublisher();
};

intptr_t EcMenuPublisherProc(EntNode* node, int message, intptr_t a, intptr_t b, intptr_t c);
