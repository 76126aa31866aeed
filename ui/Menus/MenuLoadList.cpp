// The load screens' shared part.
#include "ui/Menus/MenuLoadList.h"

#include "I3d/Font.h"
#include "engine/DebugLog.h"
#include "engine/FrameClock.h"
#include "engine/Input/SlInput.h"
#include "engine/WideFormat.h"
#include "game/MtGame.h"
#include "game/MtGameSave.h"
#include "ui/Custom.h"
#include "ui/MenuKit.h"
#include "ui/MenuKitMake.h"
#include "ui/Menus/CareerMenus.h"
#include "ui/Menus/MenuReportRows.h"
#include "ui/Menus/MenuSharedGame.h"
#include "ui/Menus/MenuYesNo.h"
#include "ui/StaticGraphic.h"
#include "world/EntMusic.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {
const char* const kNames[] = {"C_SELECT", nullptr, "C_BACK"};
constexpr const char* kScript = "Menu\\LoadSandbox\\MenuLoadSandbox.lua";
constexpr float kBarX = 508.0f;
constexpr float kBarWidth = 706.0f;
constexpr uint32_t kBarColour = 0x4FFFFFFFu;
// A missing list font still gives rows of this height (a 16-unit cell + 2).
constexpr float kFallbackRowHeight = 18.0f;

int DrawListHook(intptr_t user) {
    if (auto* menu = reinterpret_cast<MenuLoadList*>(user)) menu->DrawList();
    return 1;
}
} // namespace

MenuLoadList::~MenuLoadList() {
    if (font) SharedObjRelease(font);
}

int MenuLoadList::Create(EntNode* n) {
    MenuCreateConcrete(this, n, MenuNames{kNames, 3, true}, kScript);
    alpha = 1.0f;
    if (font) SharedObjRelease(font);
    font = FontFind("Georgia_14");
    if (font) ++font->refCount;
    list.rowHeight = font ? font->cellHeight + 2.0f : kFallbackRowHeight;
    list.visible = 12;
    list.left = 160.0f;
    list.hitTop = 280.0f;
    list.right = 866.0f;
    list.bottom = list.hitTop + 12.0f * list.rowHeight;
    list.columnX = kBarWidth;
    mtGame = MenuSharedGame(this);
    entries.reserve(LOAD_ROWS_MAX);
    Fill();
    list.SetTarget(true);

    MenuKitBackground("Menu\\Common\\ZobPurpleBackground.dds", this);
    MenuKitAnimLogo(this);
    MenuKitLargePanelHeader(512.0f, 428.0f, Title(), this);
    MenuKitButtonBack(LOAD_BACK, 180.0f, 636.0f, this);
    MenuKitButtonStart(LOAD_START, 720.0f, 636.0f, this);
    MenuKitButtonDelete(LOAD_DELETE, 464.0f, 636.0f, this);
    MenuKitButtonUp(LOAD_UP, 60.0f, 200.0f, this);
    MenuKitButtonDown(LOAD_DOWN, 60.0f, 620.0f, this);
    if (auto* drawer = MenuKitMake<Custom>("Custom", this, LOAD_LIST, 0.0f, 0.0f, nullptr)) {
        drawer->drawFn = DrawListHook;
        drawer->user = reinterpret_cast<intptr_t>(this);
        drawer->Start();
    }
    highlight = MenuKitMake<StaticGraphic>("StaticGraphic", this, LOAD_HIGHLIGHT, kBarX,
                                           list.bar.value, nullptr, "Highlight");
    if (highlight) {
        highlight->horizAlign = 1;
        highlight->width = kBarWidth;
        highlight->height = list.rowHeight;
        highlight->colour = kBarColour;
        std::snprintf(highlight->textureName, sizeof highlight->textureName, "Highlight");
        highlight->Start();
    }
    MenuFinishConcrete(this, ClassName());
    FocusCtl(LOAD_START);
    MusicPlayByName(EntGetRoot(this), kMenuMusic);
    return 1;
}

// ---- the table ----

void MenuLoadList::Fill() {
    entries.clear();
    FillEntries();
    list.SetCount(int32_t(entries.size()));
    list.Reset();
    list.Select(0);
}

std::vector<std::string> MenuLoadList::Search(const std::string& folder, const char* pattern,
                                              PlatFindKind kind, size_t front, size_t back) {
    auto rowName = [front, back](const std::string& entry) {
        return entry.size() >= front + back ? entry.substr(front, entry.size() - front - back)
                                            : std::string();
    };
    // Checked during the search, so that a refused name takes no row from the table.
    std::vector<std::string> names;
    bool cut = false;
    const size_t room = LOAD_ROWS_MAX - entries.size();
    // A name no save could have made is unsafe input (a backslash would read as a folder, a
    // control character would reach the screen): it gets no row, only a log line.
    PlatFindInFolder(folder.c_str(), pattern, kind, room, &names, &cut,
                     [this, &rowName](const std::string& entry) {
                         if (MtGameSaveNameValid(rowName(entry).c_str())) return true;
                         std::string shown = entry;
                         for (char& c : shown)
                             if ((unsigned char)c < 0x20 || c == 0x7F) c = '?';
                         DbgPrintf(DBG_GENERAL, "%s: \"%s\" is no save's name, not listed\n",
                                   ClassName(), shown.c_str());
                         return false;
                     });
    if (cut) DbgPrintf(DBG_GENERAL, "%s: more than 500 files, list cut\n", ClassName());
    // Sorted again without the prefix and extension: "a b.sbx" comes before "a.sbx", but "a"
    // before "a b".
    for (std::string& name : names)
        name = rowName(name);
    std::sort(names.begin(), names.end(), PlatNameLess);
    return names;
}

bool MenuLoadList::Add(const char* name, int32_t first, int32_t second) {
    if (entries.size() >= LOAD_ROWS_MAX) return false;
    LoadEntry e;
    std::snprintf(e.name, sizeof e.name, "%s", name ? name : "");
    e.first = first;
    e.second = second;
    entries.push_back(e);
    return true;
}

const LoadEntry* MenuLoadList::Selected() const {
    if (list.selected < 0 || size_t(list.selected) >= entries.size()) return nullptr;
    return &entries[size_t(list.selected)];
}

// ---- per frame and drawing ----

int MenuLoadList::Update(float) {
    const float dt = g_frameSeconds;
    if (std::isfinite(dt) && dt > 0.0f) pulsePhase = std::fmod(pulsePhase + dt, 1.0f);
    list.bar.Update(dt);
    if (highlight) {
        highlight->SetPos2D(kBarX, list.bar.value);
        highlight->colour = ReportBarColour(pulsePhase);
    }
    return Menu3Base::Update(dt);
}

int32_t MenuLoadList::EndShown() const {
    const int64_t end = int64_t(list.top) + list.visible;
    return end < list.count ? int32_t(end) : list.count;
}

float MenuLoadList::RowY(int32_t row) const {
    return list.hitTop + float(row - list.top) * list.rowHeight;
}

void MenuLoadList::DrawList() {
    ReportDrawSink sink(font);
    ListCells(sink);
}

void MenuLoadList::ListCells(ReportSink& sink) {
    if (list.top < 0 || list.top >= list.count) return;
    RowCells(sink);
}

// ---- input ----

int MenuLoadList::OnMessage(const SlEvent* event) {
    if (!active) return 2;
    if (!event) return 1;
    list.OnMessage(event);
    if (event->type == SL_MENUBACK || event->type == SL_MENUBACK + 1) {
        ForwardToCtl(event, LOAD_BACK);
        return 1;
    }
    // The arrow keys move the row (the buttons have no up or down neighbours), so that a save
    // can be chosen without the mouse; Enter then presses Start, which holds the focus.
    if (event->type == SL_MENUUP) {
        list.Up();
        return 1;
    }
    if (event->type == SL_MENUDOWN) {
        list.Down();
        return 1;
    }
    if (event->type != CTL3_EVENT || event->b != CTL3_CLICK) return 1;
    switch (event->a) {
        case LOAD_START: {
            if (entries.empty()) return 1;
            if (!StartSelected()) return 1;
            EntDestroyTree(this);
            return 0;
        }
        case LOAD_DELETE:
            if (!CanDelete()) return 1;
            AskDelete();
            return 0;
        case LOAD_BACK:
            if (!MenuOpen(BackClass(), EntGetParent(this), nullptr)) return 1;
            EntDestroyTree(this);
            return 0;
        case LOAD_UP: list.Up(); return 1;
        case LOAD_DOWN: list.Down(); return 1;
        default: return 1;
    }
}

void MenuLoadList::AskDelete() {
    const LoadEntry* entry = Selected();
    if (!entry) return;
    deleteConfirmed = 0;
    char16_t wide[MTGAME_SAVE_NAME_MAX + 1];
    WideFromUtf8(entry->name, wide, sizeof wide / sizeof wide[0]);
    if (MenuYesNoOpen(EntGetParent(this), u"DELETE?", u"Are you sure you want to delete", wide, u"",
                      &deleteConfirmed, this))
        ClearActive();
}

void MenuLoadList::ShowLoadFailed(const char* name) {
    if (MenuYesNoFileFailed(EntGetParent(this), u"LOAD FAILED", name,
                            u"The file could not be read.", this))
        ClearActive();
}

void MenuLoadList::SetActive() {
    Menu3Base::SetActive();
    if (!deleteConfirmed) return;
    deleteConfirmed = 0;
    // Only a row the table holds, whose name the search and the name check let through.
    if (Selected() && CanDelete()) DeleteSelected();
    Fill();
}
