// "SANDBOX": the entry of sandbox mode. New goes to the venue selector, Load to the saved
// sandboxes, Back to the main menu.
#pragma once

#include "engine/EntTree.h"
#include "ui/Menu3Base.h"

enum : int32_t { SANDBOX_NEW = 0, SANDBOX_LOAD = 1, SANDBOX_BACK = 2 };

class MenuSandbox : public Menu3Base {
  public:
    int CopyClassName(char* buffer) override;
    const char* GetTypeName() override { return "MenuSandbox"; }
    int Create(EntNode* node) override;
    int OnMessage(const SlEvent* event) override;
};

// Creates the sandbox menu under the parent and starts it; null when it cannot be made.
Menu3Base* MenuSandboxOpen(ENTBASE* parent);

// Class "MenuSandbox".
intptr_t EcMenuSandboxProc(EntNode* node, int message, intptr_t a, intptr_t b, intptr_t c);
