// The sandbox list.
#include "ui/Menus/MenuLoadSandbox.h"

#include "engine/DebugLog.h"
#include "engine/PropDb.h"
#include "engine/WideFormat.h"
#include "engine/WorldClass.h"
#include "game/MtGame.h"
#include "game/MtGameSave.h"
#include "ui/Menus/LoadListHeader.h"
#include "ui/Menus/MenuGameRunningOpen.h"
#include "ui/Menus/MenuReportRows.h"

namespace {
constexpr float kNameX = 160.0f;
constexpr float kVenueX = 420.0f;
constexpr size_t kExtLength = 4; // ".sbx"
} // namespace

void MenuLoadSandbox::FillEntries() {
    // ".sbx" alone, or a name no save could have made, is not listed.
    for (const std::string& name :
         Search(MtGameSaveFolder(), "*.sbx", PLAT_FIND_FILES, 0, kExtLength)) {
        static const char* const kKeys[] = {"venueId"};
        static const int kDefaults[] = {0};
        int venue = 0;
        char path[1024];
        if (!MtGameSandboxPath(path, sizeof path, name.c_str())) path[0] = 0;
        LoadListReadInts(path, "Sandbox", kKeys, kDefaults, &venue, 1);
        if (!Add(name.c_str(), venue, 0)) break;
    }
}

void MenuLoadSandbox::RowCells(ReportSink& sink) {
    sink.Text(kNameX, kLoadHeaderY, kLoadHeaderColour, u"Sandbox Name");
    sink.Text(kVenueX, kLoadHeaderY, kLoadHeaderColour, u"Venue");
    char16_t cell[LOAD_NAME_MAX + 1];
    for (int32_t row = FirstShown(); row < EndShown(); ++row) {
        const LoadEntry& e = entries[size_t(row)];
        const float y = RowY(row);
        WideFromUtf8(e.name, cell, LOAD_NAME_MAX + 1);
        // A long name is cut short before the venue column, not drawn across it.
        sink.TextUpTo(kNameX, kVenueX - 8.0f, y, kLoadRowColour, cell);
        const VenueInfo* venue =
            mtGame && mtGame->venueList ? mtGame->venueList->Get(e.first) : nullptr;
        sink.TextUpTo(kVenueX, list.right, y, kLoadRowColour, venue ? venue->name : u"?");
    }
}

Menu3Base* MenuLoadSandbox::StartSelected() {
    const LoadEntry* e = Selected();
    if (!e || !mtGame) return nullptr;
    if (!MtGameLoadSandbox(mtGame, e->name)) {
        DbgPrintf(DBG_GENERAL, "MenuLoadSandbox: the sandbox \"%s\" could not be loaded\n",
                  e->name);
        ShowLoadFailed(e->name);
        return nullptr;
    }
    return MenuGameRunningOpen(EntGetParent(this));
}

void MenuLoadSandbox::DeleteSelected() {
    if (const LoadEntry* e = Selected()) MtGameDeleteSandbox(e->name);
}

Menu3Base* MenuLoadSandboxOpen(ENTBASE* parent) {
    return MenuOpen("MenuLoadSandbox", parent, nullptr);
}

namespace {
PropDb* Db() {
    static PropDb s_db;
    if (!s_db.first) {
        PropDbSetName(&s_db, "MenuLoadSandbox");
        PropDbAddStringBlank(&s_db, "name", PROP_OFFSET(MenuLoadSandbox, name), 32);
    }
    return &s_db;
}

const WorldClassDef kClass = {"MenuLoadSandbox", Db, WorldMake<MenuLoadSandbox>, nullptr};
} // namespace

intptr_t EcMenuLoadSandboxProc(EntNode* node, int message, intptr_t a, intptr_t b, intptr_t c) {
    return WorldClassProc(kClass, node, message, a, b, c);
}
