// The save dialogs' fixture.
#include "tests/ui/Menus/SaveDialogFixture.h"

#include "engine/WorldClass.h"
#include "game/MtGame.h"
#include "tests/ui/Menus/EndOfDayDoubles.h"
#include "ui/EditLine.h"
#include "ui/Menus/MenuLayoutSave.h"
#include "ui/Menus/MenuSandboxSave.h"
#include "ui/Menus/MenuSaveDialog.h"

#include <fstream>
#include <sstream>
#include <sys/stat.h>

namespace {
ENTBASE* MakeMain() {
    return new EndOfDayStandIn("MenuMain");
}

intptr_t MainProc(EntNode* node, int message, intptr_t a, intptr_t b, intptr_t c) {
    static const WorldClassDef def = {"MenuMain", nullptr, MakeMain, nullptr};
    return WorldClassProc(def, node, message, a, b, c);
}
} // namespace

void SaveDialogTest::SetUp() {
    LoadListTest::SetUp();
    auto reports = registerFirst;
    registerFirst = [reports] {
        reports();
        EntCreateClass(MainProc, 0, 0);
    };
}

void SaveDialogTest::StartSaving(int32_t mode) {
    StartReports();
    mkdir(Saves().c_str(), 0755);
    Game()->mode = mode;
}

MenuSaveDialog* SaveDialogTest::OpenDialog(const char* className, bool endOfDay) {
    Menu3Base* made = std::string(className) == "MenuLayoutSave"
                          ? MenuLayoutSaveOpen(Menus(), hud, endOfDay)
                          : MenuSandboxSaveOpen(Menus(), hud, endOfDay);
    Step();
    return dynamic_cast<MenuSaveDialog*>(made);
}

void SaveDialogTest::SaveAs(MenuSaveDialog* dialog, const char* name) {
    ASSERT_NE(dialog, nullptr);
    ASSERT_NE(dialog->field, nullptr);
    dialog->field->SetText(name);
    Press(SAVE_OK);
    Step();
}
