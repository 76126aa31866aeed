// The save dialogs: saving, the overwrite question, refused names, failed saves, and the way
// back to the end of the day.
#include "tests/ui/Menus/SaveDialogFixture.h"

#include "engine/EntTree.h"
#include "game/MtGame.h"
#include "game/MtGameSave.h"
#include "ui/EditLine.h"
#include "ui/Menus/MenuEndOfDay.h"
#include "ui/Menus/MenuFileExists.h"
#include "ui/Menus/MenuLoadList.h"
#include "ui/Menus/MenuSaveDialog.h"
#include "ui/Menus/MenuYesNo.h"

#include <sys/stat.h>

namespace {
using MenuSaveDialogTest = SaveDialogTest;

int Children(ENTBASE* entity) {
    int count = 0;
    if (entity && entity->node)
        for (EntNode* n = entity->node->firstChild; n; n = n->next)
            ++count;
    return count;
}
} // namespace

TEST_F(MenuSaveDialogTest, ASandboxSavesOnTheNextFrameAndAsksBeforeOverwriting) {
    StartSaving(MTGAME_SANDBOX);
    MenuSaveDialog* dialog = OpenDialog("MenuSandboxSave", false);
    ASSERT_NE(dialog, nullptr);
    EXPECT_STREQ(dialog->GetName(), "MenuSandboxSave");
    EXPECT_EQ(dialog->field->maxLength, SAVE_DIALOG_NAME_MAX + 1) << "64 characters";
    SaveAs(dialog, "Fair");
    const std::string file = Saves() + "Fair.sbx";
    EXPECT_TRUE(PathExistsOnDisk(file));
    EXPECT_EQ(Find<MenuSaveDialog>("MenuSandboxSave"), nullptr);
    EXPECT_TRUE(hud->IsActive()) << "the opener is active again";

    // The same name again: the question, and No keeps the file as it was.
    hud->ClearActive();
    WriteTextFile(file, "old bytes");
    dialog = OpenDialog("MenuSandboxSave", false);
    SaveAs(dialog, "Fair");
    auto* box = Find<MenuYesNo>("MenuYesNo");
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(std::u16string(box->title), u"WARNING");
    EXPECT_EQ(std::u16string(box->lines[0]), u"Fair");
    EXPECT_EQ(std::u16string(box->lines[1]), u"This sandbox file already exists.");
    EXPECT_EQ(std::u16string(box->lines[2]), u"Do you want to overwrite?");
    EXPECT_FALSE(dialog->IsActive());
    Press(1); // No
    Step();
    EXPECT_EQ(ReadTextFile(file), "old bytes");
    ASSERT_EQ(Find<MenuSaveDialog>("MenuSandboxSave"), dialog);
    EXPECT_TRUE(dialog->IsActive());
    // Yes saves.
    SaveAs(dialog, "Fair");
    Press(0);
    Step();
    EXPECT_NE(ReadTextFile(file), "old bytes");
    EXPECT_EQ(Find<MenuSaveDialog>("MenuSandboxSave"), nullptr);
}

TEST_F(MenuSaveDialogTest, RefusedNamesReachNoFileAndCannotBeConfirmed) {
    StartSaving(MTGAME_SANDBOX);
    WriteTextFile(Saves() + "../sentinel", "keep");
    MenuSaveDialog* dialog = OpenDialog("MenuSandboxSave", false);
    ASSERT_NE(dialog, nullptr);
    for (const char* name : {"", "../x", "a/b", "Fair "}) {
        SaveAs(dialog, name);
        auto* box = Find<MenuYesNo>("MenuYesNo");
        ASSERT_NE(box, nullptr) << name;
        EXPECT_EQ(std::u16string(box->title), u"NAME NOT ALLOWED");
        EXPECT_EQ(box->answer, nullptr) << "no answer can confirm it";
        Press(0); // OK closes the box and nothing else
        Step();
        EXPECT_TRUE(dialog->IsActive());
        EXPECT_EQ(dialog->saveConfirmed, 0);
    }
    EXPECT_FALSE(PathExistsOnDisk(Saves() + "../x.sbx"));
    EXPECT_FALSE(PathExistsOnDisk(Saves() + "a"));
    EXPECT_EQ(ReadTextFile(Saves() + "../sentinel"), "keep");
    EXPECT_EQ(Find<MenuSaveDialog>("MenuSandboxSave"), dialog);
}

TEST_F(MenuSaveDialogTest, ADottedNameIsSavedWhole) {
    StartSaving(MTGAME_SANDBOX);
    WriteTextFile(Saves() + "A.sbx", "another sandbox");
    MenuSaveDialog* dialog = OpenDialog("MenuSandboxSave", false);
    ASSERT_NE(dialog, nullptr);
    SaveAs(dialog, "A.B");
    EXPECT_EQ(Find<MenuYesNo>("MenuYesNo"), nullptr) << "\"A.B\" is not the sandbox \"A\"";
    EXPECT_TRUE(PathExistsOnDisk(Saves() + "A.B.sbx"));
    EXPECT_EQ(ReadTextFile(Saves() + "A.sbx"), "another sandbox") << "the other save is kept";
    EXPECT_TRUE(MtGameSandboxExists("A.B"));
}

TEST_F(MenuSaveDialogTest, AFailedSaveKeepsTheDialogAndTheWorld) {
    StartSaving(MTGAME_SANDBOX);
    ASSERT_NE(MakeAttr(0), nullptr);
    // A folder where the file must go: nothing can be written over it, even by root.
    mkdir((Saves() + "Fair.sbx").c_str(), 0755);
    MenuSaveDialog* dialog = OpenDialog("MenuSandboxSave", true);
    SaveAs(dialog, "Fair");
    // The folder counts as an existing save: the question first.
    if (auto* question = Find<MenuYesNo>("MenuYesNo");
        question && std::u16string(question->title) == u"WARNING") {
        Press(0);
        Step();
    }
    auto* box = Find<MenuYesNo>("MenuYesNo");
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(std::u16string(box->title), u"SAVE FAILED");
    EXPECT_EQ(std::u16string(box->lines[0]), u"Fair");
    EXPECT_EQ(Find<MenuSaveDialog>("MenuSandboxSave"), dialog) << "the dialog stays";
    EXPECT_EQ(Children(app.GetWorld()), 1) << "the world stays";
    EXPECT_EQ(Find<Menu3Base>("MenuMain"), nullptr);
    Press(0);
    Step();
    EXPECT_TRUE(dialog->IsActive());
}

TEST_F(MenuSaveDialogTest, FromTheEndOfTheDayASaveGoesToTheMainMenuAndCancelBack) {
    StartSaving(MTGAME_SANDBOX);
    ASSERT_NE(MakeAttr(0), nullptr);
    MenuSaveDialog* dialog = OpenDialog("MenuSandboxSave", true);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->endOfDay, 1);
    Press(SAVE_CANCEL);
    EXPECT_EQ(Find<MenuSaveDialog>("MenuSandboxSave"), nullptr);
    auto* summary = Find<MenuEndOfDay>("MenuEndOfDay");
    ASSERT_NE(summary, nullptr) << "a fresh end-of-day screen";
    EXPECT_EQ(summary->opener.Get(), hud) << "with the same opener";
    EntDestroyTree(summary);
    Step();

    dialog = OpenDialog("MenuSandboxSave", true);
    SaveAs(dialog, "Fair");
    EXPECT_TRUE(PathExistsOnDisk(Saves() + "Fair.sbx"));
    EXPECT_EQ(Children(app.GetWorld()), 0) << "the scene is cleared";
    EXPECT_NE(Find<Menu3Base>("MenuMain"), nullptr);
    EXPECT_EQ(Children(Menus()), 1) << "nothing but the main menu";
}

TEST_F(MenuSaveDialogTest, ACareerLayoutGoesIntoTheCareersFolder) {
    StartSaving(MTGAME_CAREER);
    MtGame* game = Game();
    std::snprintf(game->career.name, sizeof game->career.name, "%s", "Ann");
    MtGameSetVenue(game, 3);
    game->venueId = 3;
    MenuSaveDialog* dialog = OpenDialog("MenuLayoutSave", false);
    ASSERT_NE(dialog, nullptr);
    SaveAs(dialog, "Fair");
    EXPECT_TRUE(PathExistsOnDisk(Saves() + "Ann/Layout03_Fair.lay"));
    EXPECT_EQ(Find<MenuSaveDialog>("MenuLayoutSave"), nullptr);
}

TEST_F(MenuSaveDialogTest, TheOverwriteQuestionAnswersIntoItsOpenersByte) {
    StartSaving(MTGAME_SANDBOX);
    uint8_t answer = 7;
    MenuFileExists* box = MenuFileExistsOpen(Menus(), u"Fair.sbx", &answer, hud);
    ASSERT_NE(box, nullptr);
    Step();
    EXPECT_STREQ(box->GetName(), "MenuFileExists");
    EXPECT_EQ(std::u16string(box->FindCtl(2)->label), u"Fair.sbx");
    Press(1); // Cancel
    EXPECT_EQ(answer, 0);
    EXPECT_TRUE(hud->IsActive());
    EXPECT_EQ(Find<MenuFileExists>("MenuFileExists"), nullptr);

    hud->ClearActive();
    ASSERT_NE(MenuFileExistsOpen(Menus(), u"Fair.sbx", &answer, hud), nullptr);
    Step();
    Press(0); // overwrite
    EXPECT_EQ(answer, 1);
    EXPECT_TRUE(hud->IsActive());
}

// The field refuses characters once its text fills the box (the narrowest glyph runs out of
// room well before 64), so a long name is cut where the player saw it stop, and saved as shown.
TEST_F(MenuSaveDialogTest, AnOverlongNameStopsInTheFieldAndSavesAsShown) {
    StartSaving(MTGAME_SANDBOX);
    MenuSaveDialog* dialog = OpenDialog("MenuSandboxSave", false);
    ASSERT_NE(dialog, nullptr);
    Click(dialog->field);
    ASSERT_TRUE(dialog->field->Editing());
    // SDL hands text on in pieces of at most 31 bytes.
    for (int i = 0; i < 5; ++i) {
        TypeText("iiiiiiiiiiiiiiii");
        Step();
    }
    Tap(SDL_SCANCODE_RETURN);
    const std::string shown = dialog->field->Text();
    EXPECT_GT(shown.size(), 16u);
    EXPECT_LE(shown.size(), size_t(SAVE_DIALOG_NAME_MAX));
    Click(dialog->FindCtl(SAVE_OK));
    Step();
    EXPECT_TRUE(PathExistsOnDisk(Saves() + shown + ".sbx"));
    EXPECT_EQ(Find<MenuSaveDialog>("MenuSandboxSave"), nullptr);
}

// The fonts hold Latin-1 and file names are UTF-8: a typed "é" is kept, saved as UTF-8 and
// listed back as typed; a letter the font cannot show is refused, and the field says so.
TEST_F(MenuSaveDialogTest, LatinLettersAreSavedAsTypedAndOthersRefusedWithANote) {
    StartSaving(MTGAME_SANDBOX);
    MenuSaveDialog* dialog = OpenDialog("MenuSandboxSave", false);
    ASSERT_NE(dialog, nullptr);
    SaveAs(dialog, "caf\xC3\xA9");
    EXPECT_TRUE(PathExistsOnDisk(Saves() + "caf\xC3\xA9.sbx"));
    EXPECT_FALSE(PathExistsOnDisk(Saves() + "caf.sbx"));
    MenuLoadList* list = OpenList("MenuLoadSandbox");
    ASSERT_NE(list, nullptr);
    ASSERT_EQ(list->entries.size(), 1u);
    EXPECT_STREQ(list->entries[0].name, "caf\xC3\xA9") << "listed as typed";

    // A fresh field: a CJK letter has no glyph in any of the fonts.
    EntDestroyTree(list);
    dialog = OpenDialog("MenuSandboxSave", false);
    ASSERT_NE(dialog, nullptr);
    auto* field = dynamic_cast<EditLine*>(dialog->FindCtl(SAVE_NAME));
    ASSERT_NE(field, nullptr);
    Click(field);
    ASSERT_TRUE(field->Editing());
    field->Clear();
    TypeText("\xC3\xBC\xE6\xBC\xA2x");
    Step();
    EXPECT_STREQ(field->Text(), "\xC3\xBCx") << "the letter the font lacks is not typed";
    ASSERT_NE(field->RefusedNote(), nullptr) << "the refusal is not silent";
    EXPECT_EQ(std::u16string(field->RefusedNote()), u"The font cannot show that letter.");
}

TEST_F(MenuSaveDialogTest, TheBoxesOkMadeUnderTheStillPointerTakesTheNextClick) {
    StartSaving(MTGAME_SANDBOX);
    WriteTextFile(Saves() + "Fair.sbx", "old bytes");
    MenuSaveDialog* dialog = OpenDialog("MenuSandboxSave", false);
    ASSERT_NE(dialog, nullptr);
    const auto stillClick = [this] {
        MouseButton(true);
        Step();
        MouseButton(false);
        Step();
    };
    // OK on the refused name's box, where the dialog's OK was clicked; the mouse stays put.
    SaveAs(dialog, "a/b");
    auto* box = Find<MenuYesNo>("MenuYesNo");
    ASSERT_NE(box, nullptr);
    ASSERT_EQ(std::u16string(box->title), u"NAME NOT ALLOWED");
    const Ctl3Base* ok = box->FindCtl(0);
    ASSERT_NE(ok, nullptr);
    const Ctl3Base* dialogOk = dialog->FindCtl(SAVE_OK);
    ASSERT_NE(dialogOk, nullptr);
    const float x = (dialogOk->rect.left + dialogOk->rect.right) / 2.0f;
    const float y = (dialogOk->rect.top + dialogOk->rect.bottom) / 2.0f;
    ASSERT_TRUE(Ctl3HitTest(ok, x, y)) << "the box's OK is not where the dialog's was";
    stillClick();
    EXPECT_EQ(Find<MenuYesNo>("MenuYesNo"), nullptr)
        << "the click under the still pointer was lost";
    EXPECT_TRUE(dialog->IsActive());

    // The overwrite question's Yes, the same way.
    SaveAs(dialog, "Fair");
    box = Find<MenuYesNo>("MenuYesNo");
    ASSERT_NE(box, nullptr);
    ASSERT_EQ(std::u16string(box->title), u"WARNING");
    stillClick();
    Step();
    EXPECT_EQ(Find<MenuYesNo>("MenuYesNo"), nullptr)
        << "the click under the still pointer was lost";
    EXPECT_NE(ReadTextFile(Saves() + "Fair.sbx"), "old bytes") << "Yes did not overwrite";
}
