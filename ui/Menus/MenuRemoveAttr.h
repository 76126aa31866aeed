// The question before an attraction is removed, with the refund it will bring: OK removes it
// through the HUD, Cancel gives the HUD and the attraction panel back.
#pragma once

#include "ui/Menus/MenuPlayQuestion.h"

class StaticTextBox;

enum : int32_t { MENU_REMOVE_MESSAGE = 2 };

class MenuRemoveAttr : public MenuPlayQuestion {
  public:
    const char* GetTypeName() override { return "MenuRemoveAttr"; }
    int Create(EntNode* node) override;
    int Start() override; // the message, once the attraction is known

    StaticTextBox* message = nullptr;

  protected:
    void Answer(MenuGameRunning* hud, ENTBASE* attraction) override;
};

// The message for an attraction worth `value` of its `deposit` (cents): whole dollars each, as
// they are, even when the value exceeds the deposit.
void MenuRemoveAttrMessage(int32_t value, int32_t deposit, char16_t* out, int size);

// The question under the parent about the attraction, for the HUD and the panel that asked; null
// (nothing opened) without a parent or a live attraction (anything else given is no attraction).
Menu3Base* MenuRemoveAttrOpen(ENTBASE* parent, ENTBASE* attraction, ENTBASE* hud,
                              ENTBASE* inspector);

intptr_t EcMenuRemoveAttrProc(EntNode* node, int message, intptr_t a, intptr_t b, intptr_t c);
