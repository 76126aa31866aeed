// The question before the program ends: OK quits, Cancel goes back to a fresh main menu.
#pragma once

#include "engine/EntTree.h"
#include "ui/Menu3Base.h"

class MenuConfirmExit : public Menu3Base {
  public:
    const char* GetTypeName() override { return "MenuConfirmExit"; }
    int Create(EntNode* node) override;
    int OnMessage(const SlEvent* event) override;

  private:
    bool m_reported = false;
};

intptr_t EcMenuConfirmExitProc(EntNode* node, int message, intptr_t a, intptr_t b, intptr_t c);
