// The question before the game is left for the main menu without saving: OK ends the day, clears
// the scene and every menu beside this one and opens the main menu; Cancel gives the menu that
// asked back.
#pragma once

#include "engine/EntRef.h"
#include "engine/EntTree.h"
#include "ui/Menu3Base.h"

class MenuInGameConfirm : public Menu3Base {
  public:
    const char* GetTypeName() override { return "MenuInGameConfirm"; }
    int Create(EntNode* node) override;
    int OnMessage(const SlEvent* event) override;
    // returnMenu the menu that asked, returnClass the menu to return to (kept as the alternate
    // class; may be null).
    void SetOpenArgs(const MenuOpenArgs& args) override;

    ENTBASE* Opener() const { return m_opener.Get(); }

  private:
    int Leave();
    EntRef m_opener;
};

// The question under the parent, for the menu that asked (made active again on Cancel) and the
// name of the menu to return to (null for none); null when it cannot be made.
Menu3Base* MenuInGameConfirmOpen(ENTBASE* parent, const char* returnClass, ENTBASE* opener);

intptr_t EcMenuInGameConfirmProc(EntNode* node, int message, intptr_t a, intptr_t b, intptr_t c);
