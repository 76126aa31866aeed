// The report screens' shared test world.
#include "tests/ui/Menus/ReportTestWorld.h"

#include "engine/FrameClock.h"
#include "game/AttrInfo.h"
#include "game/Ents/AttrBase.h"
#include "game/Ents/Carny.h"
#include "game/MtGame.h"
#include "ui/Menus/MenuReportBase.h"
#include "ui/Menus/MenuReportHourly.h"
#include "ui/Menus/MenuReports.h"
#include "ui/UiClass.h"

// ---- the HUD double ----

int ReportHudDouble::Create(EntNode* n) {
    Menu3Base::Create(n);
    SetName("MenuGameRunning");
    return 1;
}

void ReportHudDouble::SetActive() {
    ++activations;
    Menu3Base::SetActive();
}

int ReportHudDouble::OnGameEvent(int event, intptr_t) {
    auto* game = dynamic_cast<MtGame*>(EntTreeFindType(EntGetRoot(this), "MtGame"));
    if (event != GE_HOURLY || !game || !game->showHourlyReport) return 1;
    ClearActive();
    pending = nullptr;
    if (MenuReportHourlyOpen(EntGetParent(this), &pending, this)) ++hourlyOpened;
    return 1;
}

Menu3Base* ReportHudDouble::PressReports() {
    ClearActive();
    pending = nullptr;
    return MenuReportsOpen(EntGetParent(this), &pending, this);
}

namespace {
const WorldClassDef kHud = {"MenuGameRunning", nullptr, WorldMake<ReportHudDouble>, nullptr};
} // namespace

intptr_t ReportHudDoubleProc(EntNode* node, int message, intptr_t a, intptr_t b, intptr_t c) {
    return WorldClassProc(kHud, node, message, a, b, c);
}

// ---- the cell reader ----

void ReportCellReader::Text(float x, float y, uint32_t colour, const char16_t* text) {
    cells.push_back({x, y, colour, text ? std::u16string(text) : std::u16string()});
}

std::u16string ReportCellReader::At(float x, float y) const {
    for (const Cell& c : cells)
        if (c.x == x && c.y == y) return c.text;
    return u"<none>";
}

bool ReportCellReader::Has(const std::u16string& text) const {
    for (const Cell& c : cells)
        if (c.text == text) return true;
    return false;
}

ReportCellReader ReportCells(MenuReportBase* report) {
    ReportCellReader reader;
    if (report) report->ListCells(reader);
    return reader;
}

// ---- the fixture ----

void ReportTest::SetUp() {
    UiTest::SetUp();
    registerFirst = [] {
        EntCreateClass(EcMtGameProc, 0, 0);
        EntCreateClass(ReportHudDoubleProc, 0, 0);
    };
}

void ReportTest::StartReports(const std::string& body) {
    StartUi(body);
    ASSERT_NE(Game(), nullptr) << "the real game object was not made";
    hud = dynamic_cast<ReportHudDouble*>(MenuOpen("MenuGameRunning", Menus(), nullptr));
    ASSERT_NE(hud, nullptr);
    hud->ClearActive();
    hud->activations = 0;
}

MtGame* ReportTest::Game() {
    return dynamic_cast<MtGame*>(EntTreeFindType(app.GetRoot(), "MtGame"));
}

AttrBase* ReportTest::MakeAttr(int type, float wear, bool closed, bool repairMe) {
    auto* attr = dynamic_cast<AttrBase*>(EntCreateChild("AttrBase", World()));
    if (!attr) return nullptr;
    MtGame* game = Game();
    attr->type = type;
    attr->info = game && game->attrList ? game->attrList->Get(type) : nullptr;
    attr->inert = true;
    attr->repair = wear;
    attr->closed = closed ? 1 : 0;
    attr->repairMe = repairMe ? 1 : 0;
    return attr;
}

Carny* ReportTest::MakeCarny(const char* name) {
    auto* carny = dynamic_cast<Carny*>(EntCreateChild("Carny", World()));
    if (!carny) return nullptr;
    carny->SetName(name);
    carny->Start();
    return carny;
}

ENTBASE* ReportTest::MakeGenerator() {
    ENTBASE* gen = EntCreateChild("RubeGen", World());
    if (!gen) return nullptr;
    gen->Start();
    // As the start of a day links it.
    if (MtGame* game = Game()) game->rubeGen = gen;
    return gen;
}

void ReportTest::Click(Ctl3Base* control) {
    ASSERT_NE(control, nullptr);
    ClickAt((control->rect.left + control->rect.right) * 0.5f,
            (control->rect.top + control->rect.bottom) * 0.5f);
}

void ReportTest::ClickId(Menu3Base* menu, int32_t id) {
    ASSERT_NE(menu, nullptr);
    Click(menu->FindCtl(id));
}

float ReportTest::ClockSpeed() const {
    return app.clock ? float(app.clock->scale) / 1024.0f : -1.0f;
}
