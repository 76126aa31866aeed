// A prompt with Yes and No picture buttons that opens one of two menus named by its opener. No
// screen of the game opens it: scripts may.
#pragma once

#include "engine/EntTree.h"
#include "ui/Menu3Base.h"

enum { MENU_CONFIRM_PROMPT_MAX = 66 };

class MenuConfirmGeneric : public Menu3Base {
  public:
    int Create(EntNode* node) override;
    int Start() override; // shows the prompt
    int OnMessage(const SlEvent* event) override;
    void SetOpenArgs(const MenuOpenArgs& args) override;

    char16_t prompt[MENU_CONFIRM_PROMPT_MAX] = {};
};

// The box under the parent: Yes opens `yesClass`, No `noClass` (null or empty: that answer opens
// nothing and the box stays); the prompt is cut to 65 units. Started; null when it cannot be
// made.
MenuConfirmGeneric* MenuConfirmGenericOpen(ENTBASE* parent, const char* yesClass,
                                           const char* noClass, const char16_t* prompt);

intptr_t EcMenuConfirmGenericProc(EntNode* node, int message, intptr_t a, intptr_t b, intptr_t c);
