// The sandbox save dialog: saves the whole sandbox game.
#pragma once

#include "engine/EntTree.h"
#include "ui/Menus/MenuSaveDialog.h"

class MenuSandboxSave : public MenuSaveDialog {
  protected:
    const char* ClassName() const override { return "MenuSandboxSave"; }
    const char16_t* Caption() const override;
    const char16_t* Blurb() const override;
    const char16_t* ExistsLine() const override;
    bool Exists(const char* name) override;
    bool Write(const char* name) override;

  private:
    bool Career() const;
};

// Created under the parent with its opener and, when endOfDay is set, the way back to the end of
// the day; started. Null when it cannot be made.
Menu3Base* MenuSandboxSaveOpen(ENTBASE* parent, ENTBASE* opener, bool endOfDay);

intptr_t EcMenuSandboxSaveProc(EntNode* node, int message, intptr_t a, intptr_t b, intptr_t c);
