// The save dialogs' tests: the report world's fixture (the real game object and a HUD double
// standing for the menu that opened the dialog) and a recording stand-in for the main menu.
#pragma once

#include "tests/ui/Menus/LoadListFixture.h"

class MenuSaveDialog;

class SaveDialogTest : public LoadListTest {
  protected:
    void SetUp() override;
    // The harness started in the mode, the HUD double made and left inactive as an opener is.
    void StartSaving(int32_t mode);
    MenuSaveDialog* OpenDialog(const char* className, bool endOfDay);
    // The name typed into the dialog's field, then OK and one frame more for the save.
    void SaveAs(MenuSaveDialog* dialog, const char* name);
};
