// "SELECT PROFILE": NEW, DELETE, SELECT and BACK, with no list of profiles. No screen of the game
// opens it; it is reachable by class name.
#pragma once

#include "engine/EntTree.h"
#include "ui/Menu3Base.h"

class MenuChooseProfile : public Menu3Base {
  public:
    int Create(EntNode* node) override;
    int OnMessage(const SlEvent* event) override;
};

MenuChooseProfile* MenuChooseProfileOpen(ENTBASE* parent);

intptr_t EcMenuChooseProfileProc(EntNode* node, int message, intptr_t a, intptr_t b, intptr_t c);
