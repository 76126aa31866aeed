// The stand-alone power list.
#include "ui/Menus/MenuPowerStats.h"

#include "I3d/Font.h"
#include "engine/DebugLog.h"
#include "engine/Ent3d/Ent3dBase.h"
#include "engine/FrameClock.h"
#include "ui/Custom.h"
#include "ui/GraphicButton.h"
#include "ui/MenuKit.h"
#include "ui/MenuKitMake.h"
#include "ui/StaticGraphic.h"
#include "ui/StaticText.h"
#include "ui/TextButton.h"
#include "ui/UiClass.h"

#include <cmath>
#include <cstdio>
#include <string>

namespace {
constexpr int32_t kRowsPerPage = 10;

int DrawListHook(intptr_t user) {
    if (auto* menu = reinterpret_cast<MenuPowerStats*>(user)) menu->DrawList();
    return 1;
}

void Button(int32_t id, const char* name, const char* texture, float x, float y, ENTBASE* menu) {
    auto* b = MenuKitMake<GraphicButton>("GraphicButton", menu, id, x, y, nullptr, name);
    if (!b) return;
    b->image.right = 96;
    b->image.bottom = 56;
    std::snprintf(b->image.textureName, sizeof b->image.textureName, "%s", texture);
    b->Start();
}
} // namespace

int MenuPowerStats::Create(EntNode* n) {
    Menu3Base::Create(n);
    const std::string fonts = std::string(Ctl3DataFolder()) + "\\Fonts\\";
    smallFont = FontAcquire((fonts + "Georgia_14").c_str());
    largeFont = FontAcquire((fonts + "Georgia_20").c_str());
    if (!smallFont || !largeFont)
        DbgPrintf(DBG_GENERAL, "MenuPowerStats: font %s not loaded; its text is not drawn\n",
                  !smallFont ? "Georgia_14" : "Georgia_20");
    list.visible = kRowsPerPage;
    list.rowHeight = smallFont ? smallFont->cellHeight + 2.0f : kReportFallbackRowHeight;
    list.left = 160.0f;
    list.hitTop = 280.0f;
    list.right = 866.0f;
    list.bottom = list.hitTop + 12.0f * list.rowHeight;
    list.columnX = kReportBarWidth;
    list.bar.SetTime(0.1f);

    if (auto* panel = MenuKitMake<StaticGraphic>("StaticGraphic", this, -1, 512.0f, 428.0f, nullptr,
                                                 "Background")) {
        panel->horizAlign = 1;
        panel->width = 913.0f;
        panel->height = 567.0f;
        std::snprintf(panel->textureName, sizeof panel->textureName,
                      "Menu\\HUD\\PanelGenericLarge.dds");
        panel->Start();
    }
    if (auto* title = MenuKitMake<StaticText>("StaticText", this, -1, 512.0f, 178.0f,
                                              u"POWER USAGE SUMMARY")) {
        title->SetFont(largeFont);
        title->horizAlign = 1;
        title->Start();
    }
    Button(REPORT_OK, "OK", "Menu\\EquipResource\\ButtonOK.dds", 582.0f, 663.0f, this);
    MenuKitTextButton(REPORT_VIEW, u"VIEW", 332.0f, 663.0f, this);
    Button(REPORT_UP, "Up", "Menu\\EquipResource\\ButtonUp.dds", 60.0f, 200.0f, this);
    Button(REPORT_DOWN, "Down", "Menu\\EquipResource\\ButtonDown.dds", 60.0f, 620.0f, this);
    if (auto* drawer = MenuKitMake<Custom>("Custom", this, REPORT_LIST, 0.0f, 0.0f, nullptr)) {
        drawer->drawFn = DrawListHook;
        drawer->user = reinterpret_cast<intptr_t>(this);
        drawer->Start();
    }
    highlight = MenuKitMake<StaticGraphic>("StaticGraphic", this, REPORT_HIGHLIGHT, kReportBarX,
                                           list.hitTop, nullptr, "Highlight");
    if (highlight) {
        highlight->horizAlign = 1;
        highlight->width = kReportBarWidth;
        highlight->height = list.rowHeight;
        highlight->colour = kReportBarColour;
        std::snprintf(highlight->textureName, sizeof highlight->textureName, "Highlight");
        highlight->Start();
    }

    list.SetCount(ReportCollect(EntGetRoot(this), ReportIsPowered, rows, REPORT_ROWS_MAX));
    totals = ReportSumPower(rows, list.count);
    list.Reset();
    list.SetTarget(true);
    FocusCtl(REPORT_OK);
    LinkCtlNav(REPORT_VIEW, REPORT_OK, REPORT_OK, REPORT_OK, REPORT_OK);
    LinkCtlNav(REPORT_OK, REPORT_VIEW, REPORT_VIEW, REPORT_VIEW, REPORT_VIEW);
    SetName("MenuPowerStats");
    DbgPrintf(DBG_GENERAL, "Menu: %s (MenuPowerStats)\n", GetName());
    return 1;
}

void MenuPowerStats::SetOpenArgs(const MenuOpenArgs& args) {
    opener = EntRef(args.returnMenu);
}

int MenuPowerStats::Destroy() {
    if (smallFont) SharedObjRelease(smallFont);
    if (largeFont) SharedObjRelease(largeFont);
    smallFont = largeFont = nullptr;
    return Menu3Base::Destroy();
}

int MenuPowerStats::OnEntityRemoved(ENTBASE* gone) {
    ReportForgetRow(rows, list.count, gone);
    return 1;
}

int MenuPowerStats::Update(float) {
    const float dt = g_frameSeconds;
    if (std::isfinite(dt) && dt > 0.0f) pulsePhase = std::fmod(pulsePhase + dt, 1.0f);
    list.bar.Update(dt);
    if (highlight) {
        highlight->SetPos2D(kReportBarX, list.bar.value);
        highlight->colour = ReportBarColour(pulsePhase);
    }
    return Menu3Base::Update(dt);
}

void MenuPowerStats::DrawList() {
    if (list.top < 0) list.top = 0;
    if (list.top >= list.count) return;
    const int32_t last =
        list.top + list.visible < list.count ? list.top + list.visible : list.count;
    const ReportPowerLayout layout = {headerY, viewingY, list.hitTop, list.rowHeight, columnX};
    ReportDrawSink sink(smallFont);
    ReportPowerCells(sink, layout, rows, list.count, list.top, last, totals);
}

void MenuPowerStats::Close() {
    if (ENTBASE* back = opener.Get()) back->SetActive();
    EntDestroyTree(this);
}

int MenuPowerStats::OnMessage(const SlEvent* e) {
    if (!active) return 0;
    if (!e) return 1;
    if (e->type == SL_MOUSEPOS || e->type == SL_MOUSE0DOWN) {
        list.OnMessage(e);
        return 1;
    }
    if (e->type != CTL3_EVENT || e->b != CTL3_CLICK) return 1;
    switch (e->a) {
        case REPORT_UP: list.Up(); return 1;
        case REPORT_DOWN: list.Down(); return 1;
        case REPORT_OK: Close(); return 0;
        case REPORT_VIEW: {
            const int32_t at = list.selected;
            ENTBASE* entity =
                list.count > 0 && at >= 0 && at < list.count ? rows[at].Get() : nullptr;
            if (!entity) return 1;
            CameraVantorFocusEnt(EntGetRoot(this), entity);
            Close();
            return 0;
        }
        default: return 1;
    }
}

namespace {
const WorldClassDef kClass = {"MenuPowerStats", nullptr, WorldMake<MenuPowerStats>, nullptr};
} // namespace

intptr_t EcMenuPowerStatsProc(EntNode* node, int message, intptr_t a, intptr_t b, intptr_t c) {
    return WorldClassProc(kClass, node, message, a, b, c);
}

Menu3Base* MenuPowerStatsOpen(ENTBASE* parent, ENTBASE* opener) {
    MenuOpenArgs args;
    args.returnMenu = opener;
    return MenuOpen("MenuPowerStats", parent, &args);
}
