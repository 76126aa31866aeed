// "LoadGame": a fixed screen with LOAD and CANCEL. LOAD does nothing; CANCEL goes back to the main
// menu.
#pragma once

#include "engine/EntTree.h"
#include "ui/Menu3Base.h"

class MenuLoadGame : public Menu3Base {
  public:
    int Create(EntNode* node) override;
    int OnMessage(const SlEvent* event) override;
};

// Created under the parent and started; null when it cannot be made.
MenuLoadGame* MenuLoadGameOpen(ENTBASE* parent);

intptr_t EcMenuLoadGameProc(EntNode* node, int message, intptr_t a, intptr_t b, intptr_t c);
