// The save dialogs' shared part.
#include "ui/Menus/MenuSaveDialog.h"

#include "I3d/Font.h"
#include "engine/DebugLog.h"
#include "engine/Input/SlInput.h"
#include "engine/WideFormat.h"
#include "game/MtGame.h"
#include "game/MtGameSave.h"
#include "game/WideText.h"
#include "ui/EditLine.h"
#include "ui/MenuKit.h"
#include "ui/Menus/MenuClearScene.h"
#include "ui/Menus/MenuEndOfDay.h"
#include "ui/Menus/MenuSharedGame.h"
#include "ui/Menus/MenuYesNo.h"
#include "ui/StaticText.h"

#include <cstdio>
#include <cstring>

namespace {
constexpr const char* kScript = "Menu\\ConfirmExit\\MenuConfirmExit.lua";
} // namespace

int MenuSaveDialog::Create(EntNode* n) {
    MenuCreateConcrete(this, n, MenuNames{nullptr, 0, true}, kScript);
    mtGame = MenuSharedGame(this);
    alpha = 1.0f;
    saveConfirmed = 0;
    MenuKitDimBackground(this);
    MenuKitAnimLogo(this);
    MenuKitPanel(512.0f, 380.0f, this);
    MenuKitTextCentred(u"SAVE", 512.0f, 220.0f, this);
    MenuKitButtonOk(SAVE_OK, 583.0f, 533.0f, this);
    MenuKitButtonCancel(SAVE_CANCEL, 332.0f, 533.0f, this);
    MenuKitTextBoxCentred(kMenuKitStaticId, Blurb(), 512.0f, 330.0f, 912.0f, 400.0f, this);
    if (auto* caption = dynamic_cast<StaticText*>(EntCreateChild("StaticText", this))) {
        caption->id = kMenuKitStaticId;
        caption->SetPos2D(512.0f, 420.0f);
        caption->SetTextW(Caption());
        caption->SetFont(FontFind("Georgia_20"));
        caption->horizAlign = 1;
        caption->colour = kMenuKitColour;
        caption->SetName("Caption");
        caption->Start();
    }
    field = dynamic_cast<EditLine*>(EntCreateChild("EditLine", this));
    if (field) {
        field->id = SAVE_NAME;
        field->SetPos2D(357.0f, 460.0f);
        field->width = 318.0f;
        field->height = 30.0f;
        field->SetFont(FontFind("Georgia_20"));
        field->SetMaxLength(SAVE_DIALOG_NAME_MAX + 1);
        field->SetText("");
        field->Start();
    }
    // The name field leads down to OK and the buttons up to it: after the name is typed, OK
    // can be reached without the mouse.
    LinkCtlNav(SAVE_NAME, SAVE_OK, SAVE_OK, SAVE_NAME, SAVE_NAME);
    LinkCtlNav(SAVE_OK, SAVE_NAME, SAVE_NAME, SAVE_CANCEL, SAVE_CANCEL);
    LinkCtlNav(SAVE_CANCEL, SAVE_NAME, SAVE_NAME, SAVE_OK, SAVE_OK);
    MenuFinishConcrete(this, ClassName());
    FocusCtl(SAVE_NAME);
    return 1;
}

void MenuSaveDialog::SetOpenArgs(const MenuOpenArgs& args) {
    opener = EntRef(args.returnMenu);
    endOfDay = args.returnClass && std::strcmp(args.returnClass, kMenuEndOfDayClass) == 0 ? 1 : 0;
}

int MenuSaveDialog::Update(float seconds) {
    if (!saveConfirmed) return Menu3Base::Update(seconds);
    Save();
    return 0;
}

int MenuSaveDialog::OnMessage(const SlEvent* event) {
    if (!active) return 2;
    if (!event || event->type != CTL3_EVENT || event->b != CTL3_CLICK) return 1;
    if (event->a == SAVE_CANCEL) {
        Cancel();
        return 0;
    }
    if (event->a == SAVE_OK) {
        Ok();
        return 0;
    }
    return 1;
}

void MenuSaveDialog::Cancel() {
    ENTBASE* back = opener.Get();
    if (endOfDay) {
        // Without a new summary the dialog stays: the day would have no way on.
        if (!MenuEndOfDayOpen(EntGetParent(this), back)) return;
    } else if (back) {
        back->SetActive();
    }
    EntDestroyTree(this);
}

void MenuSaveDialog::Ok() {
    std::snprintf(saveName, sizeof saveName, "%s", field ? field->Text() : "");
    char16_t wide[MTGAME_SAVE_NAME_MAX + 1];
    WideFromUtf8(saveName, wide, sizeof wide / sizeof wide[0]);
    // The typed text becomes a path: a name the save layer refuses never reaches a file call,
    // and the box has no answer to give, so neither button can confirm it.
    if (!MtGameSaveNameValid(saveName)) {
        DbgPrintf(DBG_GENERAL, "%s: the name \"%s\" is not allowed\n", ClassName(), saveName);
        if (MenuYesNoOpen(EntGetParent(this), u"NAME NOT ALLOWED", wide,
                          u"A file cannot have this name.", u"Please type another name.", nullptr,
                          this))
            ClearActive();
        return;
    }
    if (Exists(saveName)) {
        saveConfirmed = 0;
        if (MenuYesNoOpen(EntGetParent(this), u"WARNING", wide, ExistsLine(),
                          u"Do you want to overwrite?", &saveConfirmed, this))
            ClearActive();
        return;
    }
    saveConfirmed = 1;
}

void MenuSaveDialog::Save() {
    saveConfirmed = 0;
    ENTBASE* parent = EntGetParent(this);
    if (!Write(saveName)) {
        // The save layer wrote nothing over the old file; the dialog and the world stay.
        DbgPrintf(DBG_GENERAL, "%s: \"%s\" was not saved\n", ClassName(), saveName);
        if (MenuYesNoFileFailed(parent, u"SAVE FAILED", saveName, u"The file could not be written.",
                                this, MtGameSaveError()))
            ClearActive();
        return;
    }
    if (!endOfDay) {
        if (ENTBASE* back = opener.Get()) back->SetActive();
        EntDestroyTree(this);
        return;
    }
    MenuClearScene();
    // Every menu under the parent goes, this one included: only the local is used from here.
    EntDestroyChildren(parent);
    MenuOpen("MenuMain", parent, nullptr);
}
