// The career list.
#include "ui/Menus/MenuLoadCareer.h"

#include "engine/DebugLog.h"
#include "engine/PropDb.h"
#include "engine/WideFormat.h"
#include "engine/WorldClass.h"
#include "game/MtGame.h"
#include "game/MtGameSave.h"
#include "ui/Menus/LoadListHeader.h"
#include "ui/Menus/MenuReportRows.h"

namespace {
enum { kCellMax = 96 };
constexpr float kColumn[] = {160.0f, 340.0f, 480.0f, 680.0f};
// Cells stop this far short of the next column.
constexpr float kColumnGap = 8.0f;
} // namespace

void MenuLoadCareer::FillEntries() {
    for (const std::string& name : Search(MtGameSaveFolder(), "*", PLAT_FIND_FOLDERS)) {
        // A career without a readable file shows the reader's defaults.
        static const char* const kKeys[] = {"cash", "daysRun"};
        static const int kDefaults[] = {999, 0};
        int values[2];
        char path[1024];
        if (!MtGameCareerPath(path, sizeof path, name.c_str())) path[0] = 0;
        LoadListReadInts(path, "Career", kKeys, kDefaults, values, 2);
        if (!Add(name.c_str(), values[0], values[1])) break;
    }
}

void MenuLoadCareer::RowCells(ReportSink& sink) {
    sink.Text(kColumn[0], kLoadHeaderY, kLoadHeaderColour, u"Save File");
    sink.Text(kColumn[1], kLoadHeaderY, kLoadHeaderColour, u"Cash");
    sink.Text(kColumn[2], kLoadHeaderY, kLoadHeaderColour, u"Rank");
    sink.Text(kColumn[3], kLoadHeaderY, kLoadHeaderColour, u"Total Days");
    char16_t cell[LOAD_NAME_MAX + 1];
    // Each cell ends before the next column (the last at the list's right edge): a long name
    // or rank is cut short, not drawn over its neighbour.
    const auto cellTo = [this](int column) {
        return column < 3 ? kColumn[column + 1] - kColumnGap : list.right;
    };
    for (int32_t row = FirstShown(); row < EndShown(); ++row) {
        const LoadEntry& e = entries[size_t(row)];
        const float y = RowY(row);
        WideFromUtf8(e.name, cell, LOAD_NAME_MAX + 1);
        sink.TextUpTo(kColumn[0], cellTo(0), y, kLoadRowColour, cell);
        WideFormat(cell, kCellMax, u"$%i", e.first / 100);
        sink.TextUpTo(kColumn[1], cellTo(1), y, kLoadRowColour, cell);
        const char16_t* rank = nullptr;
        int next = 0;
        if (mtGame) mtGame->gameVals.GetTier(e.first, &rank, &next);
        sink.TextUpTo(kColumn[2], cellTo(2), y, kLoadRowColour, rank ? rank : u"");
        WideFormat(cell, kCellMax, u"%i", e.second);
        sink.TextUpTo(kColumn[3], cellTo(3), y, kLoadRowColour, cell);
    }
}

Menu3Base* MenuLoadCareer::StartSelected() {
    const LoadEntry* e = Selected();
    if (!e || !mtGame) return nullptr;
    if (!MtGameLoadCareer(mtGame, e->name)) {
        DbgPrintf(DBG_GENERAL, "MenuLoadCareer: the career \"%s\" could not be loaded\n", e->name);
        ShowLoadFailed(e->name);
        return nullptr;
    }
    MenuOpenArgs args;
    args.returnClass = "MenuLoadCareer";
    return MenuOpen("MenuCareerSummary", EntGetParent(this), &args);
}

void MenuLoadCareer::DeleteSelected() {
    if (const LoadEntry* e = Selected()) MtGameDeleteCareer(e->name);
}

Menu3Base* MenuLoadCareerOpen(ENTBASE* parent) {
    return MenuOpen("MenuLoadCareer", parent, nullptr);
}

namespace {
PropDb* Db() {
    static PropDb s_db;
    if (!s_db.first) {
        PropDbSetName(&s_db, "MenuLoadCareer");
        PropDbAddStringBlank(&s_db, "name", PROP_OFFSET(MenuLoadCareer, name), 32);
    }
    return &s_db;
}

const WorldClassDef kClass = {"MenuLoadCareer", Db, WorldMake<MenuLoadCareer>, nullptr};
} // namespace

intptr_t EcMenuLoadCareerProc(EntNode* node, int message, intptr_t a, intptr_t b, intptr_t c) {
    return WorldClassProc(kClass, node, message, a, b, c);
}
