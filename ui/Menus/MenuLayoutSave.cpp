// The layout save dialog: saves the current venue's arrangement under the current career.
#include "ui/Menus/MenuLayoutSave.h"

#include "engine/PropDb.h"
#include "engine/WorldClass.h"
#include "game/MtGame.h"
#include "game/MtGameSave.h"
#include "ui/Menus/MenuEndOfDay.h"

const char16_t* MenuLayoutSave::Caption() const {
    return u"Enter name for Venue Layout:";
}

const char16_t* MenuLayoutSave::Blurb() const {
    return kSaveDialogBlurb;
}

const char16_t* MenuLayoutSave::ExistsLine() const {
    return u"This venue layout file already exists.";
}

bool MenuLayoutSave::Exists(const char* name) {
    return mtGame && MtGameLayoutExists(mtGame, name);
}

bool MenuLayoutSave::Write(const char* name) {
    return mtGame && MtGameSaveLayout(mtGame, name);
}

Menu3Base* MenuLayoutSaveOpen(ENTBASE* parent, ENTBASE* opener, bool endOfDay) {
    MenuOpenArgs args;
    args.returnMenu = opener;
    args.returnClass = endOfDay ? kMenuEndOfDayClass : nullptr;
    return MenuOpen("MenuLayoutSave", parent, &args);
}

namespace {
PropDb* Db() {
    static PropDb s_db;
    if (!s_db.first) {
        PropDbSetName(&s_db, "MenuLayoutSave");
        PropDbAddStringBlank(&s_db, "name", PROP_OFFSET(MenuLayoutSave, name), 32);
    }
    return &s_db;
}

const WorldClassDef kClass = {"MenuLayoutSave", Db, WorldMake<MenuLayoutSave>, nullptr};
} // namespace

intptr_t EcMenuLayoutSaveProc(EntNode* node, int message, intptr_t a, intptr_t b, intptr_t c) {
    return WorldClassProc(kClass, node, message, a, b, c);
}
