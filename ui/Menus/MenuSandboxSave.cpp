// The sandbox save dialog: saves the whole sandbox game.
#include "ui/Menus/MenuSandboxSave.h"

#include "engine/PropDb.h"
#include "engine/WorldClass.h"
#include "game/MtGame.h"
#include "game/MtGameSave.h"
#include "ui/Menus/MenuEndOfDay.h"

namespace {
constexpr const char16_t* kCareerBlurb =
    u"You can save your sandbox layout for later use.\nThis will not save any profit/loss earned "
    u"so far today.  Earnings are saved when the carnival closes.";
} // namespace

bool MenuSandboxSave::Career() const {
    return mtGame && mtGame->mode == MTGAME_CAREER;
}

const char16_t* MenuSandboxSave::Caption() const {
    return Career() ? u"Enter name for Venue Layout:" : u"Enter name for Sandbox:";
}

const char16_t* MenuSandboxSave::Blurb() const {
    return Career() ? kCareerBlurb : kSaveDialogBlurb;
}

const char16_t* MenuSandboxSave::ExistsLine() const {
    return u"This sandbox file already exists.";
}

bool MenuSandboxSave::Exists(const char* name) {
    return mtGame && MtGameSandboxExists(name);
}

bool MenuSandboxSave::Write(const char* name) {
    return mtGame && MtGameSaveSandbox(mtGame, name);
}

Menu3Base* MenuSandboxSaveOpen(ENTBASE* parent, ENTBASE* opener, bool endOfDay) {
    MenuOpenArgs args;
    args.returnMenu = opener;
    args.returnClass = endOfDay ? kMenuEndOfDayClass : nullptr;
    return MenuOpen("MenuSandboxSave", parent, &args);
}

namespace {
PropDb* Db() {
    static PropDb s_db;
    if (!s_db.first) {
        PropDbSetName(&s_db, "MenuSandboxSave");
        PropDbAddStringBlank(&s_db, "name", PROP_OFFSET(MenuSandboxSave, name), 32);
    }
    return &s_db;
}

const WorldClassDef kClass = {"MenuSandboxSave", Db, WorldMake<MenuSandboxSave>, nullptr};
} // namespace

intptr_t EcMenuSandboxSaveProc(EntNode* node, int message, intptr_t a, intptr_t b, intptr_t c) {
    return WorldClassProc(kClass, node, message, a, b, c);
}
