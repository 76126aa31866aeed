// The layout save dialog: saves the current venue's arrangement under the current career.
#pragma once

#include "engine/EntTree.h"
#include "ui/Menus/MenuSaveDialog.h"

class MenuLayoutSave : public MenuSaveDialog {
  protected:
    const char* ClassName() const override { return "MenuLayoutSave"; }
    const char16_t* Caption() const override;
    const char16_t* Blurb() const override;
    const char16_t* ExistsLine() const override;
    bool Exists(const char* name) override;
    bool Write(const char* name) override;
};

// Created under the parent with its opener and, when endOfDay is set, the way back to the end of
// the day; started. Null when it cannot be made.
Menu3Base* MenuLayoutSaveOpen(ENTBASE* parent, ENTBASE* opener, bool endOfDay);

intptr_t EcMenuLayoutSaveProc(EntNode* node, int message, intptr_t a, intptr_t b, intptr_t c);
