// The save dialogs' fixture.
#include "tests/ui/Menus/SaveDialogFixture.h"

#include "engine/WorldClass.h"
#include "game/MtGame.h"
#include "tests/ui/Menus/EndOfDayDoubles.h"
#include "ui/EditLine.h"
#include "ui/Menus/MenuLayoutSave.h"
#include "ui/Menus/MenuSandboxSave.h"
#include "ui/Menus/MenuSaveDialog.h"

#include <cstring>
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
    EditLine* field = dialog->field;
    ASSERT_NE(field, nullptr);
    // As the player does it: a click on the field edits it, Backspace clears what an earlier try
    // left, the name comes as text input, Enter ends the edit, and OK is clicked.
    Click(field);
    ASSERT_TRUE(field->Editing()) << "the click did not start editing the name";
    for (size_t i = std::strlen(field->Text()); i > 0; --i) {
        Key(SDL_SCANCODE_BACKSPACE, true);
        Key(SDL_SCANCODE_BACKSPACE, false);
    }
    Step();
    TypeText(name);
    Step();
    Tap(SDL_SCANCODE_RETURN);
    ASSERT_FALSE(field->Editing());
    ASSERT_STREQ(field->Text(), name) << "the field did not take the typed name";
    Click(dialog->FindCtl(SAVE_OK));
    Step();
}
