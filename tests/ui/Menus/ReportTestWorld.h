// What the report screens' tests share: the interface harness with the real game object, a HUD
// double under "MenuGameRunning" that records being made active again, a small carnival of real
// attractions and carnies under "World", and a reader of a report's list cells.
#pragma once

#include "I3d/StatBar.h"
#include "tests/harness/UiHarness.h"
#include "ui/Menu3Base.h"
#include "ui/Menus/MenuReportRows.h"

#include <string>
#include <vector>

class AttrBase;
class Carny;
class MenuReportBase;
class MtGame;

// "MenuGameRunning": counts its reactivations and keeps the entity a report hands back. As the
// HUD does, its "Reports" button opens the hub, and a game hour opens the hourly report while
// the player wants it.
class ReportHudDouble : public Menu3Base {
  public:
    int Create(EntNode* node) override;
    void SetActive() override;
    int OnGameEvent(int event, intptr_t value) override;
    Menu3Base* PressReports();
    int activations = 0;
    int hourlyOpened = 0;
    ENTBASE* pending = nullptr;
};
intptr_t ReportHudDoubleProc(EntNode* node, int message, intptr_t a, intptr_t b, intptr_t c);

// The cells a report lists, as text.
class ReportCellReader : public ReportSink {
  public:
    struct Cell {
        float x, y;
        uint32_t colour;
        std::u16string text;
    };
    void Text(float x, float y, uint32_t colour, const char16_t* text) override;
    void Bar(const StatBar3Style& style) override { bars.push_back(style); }
    // The text at (x, y), or "<none>".
    std::u16string At(float x, float y) const;
    bool Has(const std::u16string& text) const;
    std::vector<Cell> cells;
    std::vector<StatBar3Style> bars;
};
// The report's current cells.
ReportCellReader ReportCells(MenuReportBase* report);

class ReportTest : public UiTest {
  protected:
    void SetUp() override;
    // The harness started with the real game object and the HUD double, which is made and left
    // inactive as it is while one of its menus is up.
    void StartReports(const std::string& body = "");

    MtGame* Game();
    ENTBASE* World() { return app.GetWorld(); }
    ENTBASE* Menus() { return app.GetMenus(); }
    // A real attraction of the type under "World" with its record, kept out of the simulation
    // (inert: the test sets its state and nothing changes it).
    AttrBase* MakeAttr(int type, float wear = 0.0f, bool closed = false, bool repairMe = false);
    // A real carny under "World", started.
    Carny* MakeCarny(const char* name);
    // A patron generator under "World", for hiring.
    ENTBASE* MakeGenerator();
    // The menu of that class under "Menus", or null.
    template <class T>
    T* Find(const char* name) {
        return dynamic_cast<T*>(EntTreeFindName(app.GetMenus(), name));
    }
    // A click on the control: pointer to its centre, button down and up, a frame each.
    void Click(Ctl3Base* control);
    void ClickId(Menu3Base* menu, int32_t id);
    // The game clock's speed (1.0 is real time).
    float ClockSpeed() const;

    ReportHudDouble* hud = nullptr;
};
