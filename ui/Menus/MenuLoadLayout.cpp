// The layout list.
#include "ui/Menus/MenuLoadLayout.h"

#include "engine/DebugLog.h"
#include "engine/PropDb.h"
#include "engine/WideFormat.h"
#include "engine/WorldClass.h"
#include "game/MtGame.h"
#include "game/MtGameSave.h"
#include "ui/Menus/MenuGameRunningOpen.h"
#include "ui/Menus/MenuReportRows.h"
#include "ui/Menus/MenuWorldLoader.h"

#include <cstdio>

namespace {
constexpr float kNameX = 160.0f;
constexpr float kNoteX = 340.0f;
constexpr size_t kExtLength = 4; // ".lay"
} // namespace

void MenuLoadLayout::FillEntries() {
    Add("NEW LAYOUT", -1, 0);
    if (!mtGame || !MtGameSaveNameValid(mtGame->career.name)) return;
    // The prefix is the one the save made: its length grows with the venue id.
    char prefix[32];
    std::snprintf(prefix, sizeof prefix, "Layout%02i_", int(mtGame->venueId));
    const std::string pattern = std::string(prefix) + "*.lay";
    const std::string folder = std::string(MtGameSaveFolder()) + mtGame->career.name;
    const size_t prefixLength = std::string(prefix).size();
    for (const std::string& name :
         Search(folder, pattern.c_str(), PLAT_FIND_FILES, prefixLength, kExtLength)) {
        if (!Add(name.c_str(), 0, 0)) break;
    }
}

void MenuLoadLayout::RowCells(ReportSink& sink) {
    sink.Text(kNameX, kLoadHeaderY, kLoadHeaderColour, u"Save File");
    char16_t cell[LOAD_NAME_MAX + 1];
    for (int32_t row = FirstShown(); row < EndShown(); ++row) {
        const LoadEntry& e = entries[size_t(row)];
        const float y = RowY(row);
        WideFromUtf8(e.name, cell, LOAD_NAME_MAX + 1);
        // The name ends before the note, or at the list's right edge on a row without one.
        const bool note = e.first < 0;
        sink.TextUpTo(kNameX, note ? kNoteX - 8.0f : list.right, y, kLoadRowColour, cell);
        if (note)
            sink.TextUpTo(kNoteX, list.right, y, kLoadRowColour,
                          u"Start a new carnival with an empty layout.");
    }
}

Menu3Base* MenuLoadLayout::StartSelected() {
    const LoadEntry* e = Selected();
    if (!e || !mtGame) return nullptr;
    if (list.selected == 0) return MenuWorldLoaderOpen(EntGetParent(this), mtGame->scriptPath);
    if (!MtGameLoadLayout(mtGame, e->name)) {
        DbgPrintf(DBG_GENERAL, "MenuLoadLayout: the layout \"%s\" could not be loaded\n", e->name);
        ShowLoadFailed(e->name);
        return nullptr;
    }
    return MenuGameRunningOpen(EntGetParent(this));
}

void MenuLoadLayout::DeleteSelected() {
    if (const LoadEntry* e = Selected()) MtGameDeleteLayout(mtGame, e->name);
}

Menu3Base* MenuLoadLayoutOpen(ENTBASE* parent) {
    return MenuOpen("MenuLoadLayout", parent, nullptr);
}

namespace {
PropDb* Db() {
    static PropDb s_db;
    if (!s_db.first) {
        PropDbSetName(&s_db, "MenuLoadLayout");
        PropDbAddStringBlank(&s_db, "name", PROP_OFFSET(MenuLoadLayout, name), 32);
    }
    return &s_db;
}

const WorldClassDef kClass = {"MenuLoadLayout", Db, WorldMake<MenuLoadLayout>, nullptr};
} // namespace

intptr_t EcMenuLoadLayoutProc(EntNode* node, int message, intptr_t a, intptr_t b, intptr_t c) {
    return WorldClassProc(kClass, node, message, a, b, c);
}
