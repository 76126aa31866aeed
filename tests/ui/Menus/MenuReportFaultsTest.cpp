// What the reports do with what they cannot rely on: a script that ends at once, missing fonts,
// no game object.
#include "tests/ui/Menus/ReportTestWorld.h"

#include "I3d/Font.h"
#include "engine/Script/ScriptMgr.h"
#include "game/MtGame.h"
#include "ui/Menus/MenuPowerStats.h"
#include "ui/Menus/MenuReportEmployees.h"
#include "ui/Menus/MenuReportHourly.h"
#include "ui/Menus/MenuReportMaint.h"
#include "ui/Menus/MenuReportPower.h"
#include "ui/Menus/MenuReportSummary.h"
#include "ui/Menus/MenuReports.h"

#include <dirent.h>
#include <unistd.h>

namespace {
using Opener = Menu3Base* (*)(ENTBASE*, ENTBASE**, ENTBASE*);
const std::pair<const char*, Opener> kReports[] = {
    {"MenuReportMaint", MenuReportMaintOpen},
    {"MenuReportPower", MenuReportPowerOpen},
    {"MenuReportHourly", MenuReportHourlyOpen},
    {"MenuReportEmployees", MenuReportEmployeesOpen},
};

class ReportFaultsTest : public ReportTest {};
} // namespace

// The report's script deletes itself once it has run; the report must never touch it again.
TEST_F(ReportFaultsTest, AScriptThatEndsAtOnceIsNotUsedAfterItIsFreed) {
    StartReports();
    MakeAttr(14);
    for (const auto& [cls, open] : kReports) {
        Menu3Base* report = open(Menus(), &hud->pending, hud);
        ASSERT_NE(report, nullptr) << cls;
        EXPECT_EQ(static_cast<MenuReportBase*>(report)->createScript, nullptr) << cls;
        EXPECT_EQ(report->script, nullptr) << cls;
        Step(100);
        ClickId(report, REPORT_OK);
        EXPECT_EQ(Find<Menu3Base>(cls), nullptr) << cls;
    }
    for (LuaScript* s = ScriptMgrGet()->scripts; s; s = s->next)
        EXPECT_EQ(s->fileName.find("EquipResource"), std::string::npos)
            << "a report's finished script was kept";
}

TEST_F(ReportFaultsTest, MissingFontsLeaveTheReportsWorkingAndTheCacheAsItWas) {
    // The fonts folder without the two the reports draw with.
    const std::string fonts = m_program + "Data/Fonts";
    ASSERT_EQ(unlink(fonts.c_str()), 0);
    ASSERT_EQ(mkdir(fonts.c_str(), 0755), 0);
    if (DIR* dir = opendir(FAIRLARK_BUILD_DATA_DIR "Fonts")) {
        while (dirent* e = readdir(dir)) {
            const std::string name = e->d_name;
            if (name == "." || name == ".." || name.rfind("Georgia_14", 0) == 0 ||
                name.rfind("Georgia_20", 0) == 0)
                continue;
            ASSERT_EQ(symlink((FAIRLARK_BUILD_DATA_DIR "Fonts/" + name).c_str(),
                              (fonts + "/" + name).c_str()),
                      0);
        }
        closedir(dir);
    }
    keepLog = true;
    StartReports();
    MakeAttr(14, 0.3f);
    Font* probe = UiAcquireFont("Georgia_16");
    ASSERT_NE(probe, nullptr);
    const int32_t before = probe->refCount;
    for (const auto& [cls, open] : kReports) {
        auto* report = static_cast<MenuReportBase*>(open(Menus(), &hud->pending, hud));
        ASSERT_NE(report, nullptr) << cls;
        EXPECT_EQ(report->smallFont, nullptr);
        EXPECT_EQ(report->rowHeight, 18.0f) << cls;
        Step(3);
        ClickId(report, REPORT_OK);
        EXPECT_EQ(Find<Menu3Base>(cls), nullptr) << cls;
    }
    Menu3Base* stats = MenuPowerStatsOpen(Menus(), hud);
    ASSERT_NE(stats, nullptr);
    Step(3);
    ClickId(stats, REPORT_OK);
    EXPECT_EQ(probe->refCount, before);
    EXPECT_EQ(FontFind("Georgia_14"), nullptr) << "a missing font was left in the cache";
    SharedObjRelease(probe);
    const std::string log = LogText();
    size_t lines = 0;
    for (size_t at = log.find("not loaded; its text is not drawn"); at != std::string::npos;
         at = log.find("not loaded; its text is not drawn", at + 1))
        ++lines;
    EXPECT_EQ(lines, 5u) << "one line per report";
}

TEST_F(ReportFaultsTest, FontReferencesGoBackWhenAReportCloses) {
    StartReports();
    Font* small = UiAcquireFont("Georgia_14");
    Font* large = UiAcquireFont("Georgia_20");
    ASSERT_TRUE(small && large);
    const int32_t s0 = small->refCount, l0 = large->refCount;
    for (const auto& [cls, open] : kReports) {
        Menu3Base* report = open(Menus(), &hud->pending, hud);
        ASSERT_NE(report, nullptr) << cls;
        // The report holds its font, and so does each control it gave the font to.
        EXPECT_GT(small->refCount, s0) << cls;
        EXPECT_EQ(static_cast<MenuReportBase*>(report)->rowHeight, small->cellHeight + 2.0f);
        ClickId(report, REPORT_OK);
        EXPECT_EQ(std::make_pair(small->refCount, large->refCount), std::make_pair(s0, l0)) << cls;
    }
    SharedObjRelease(small);
    SharedObjRelease(large);
}

TEST_F(ReportFaultsTest, WithoutAGameObjectTheReportsShowWhatTheyCan) {
    registerFirst = [] { EntCreateClass(ReportHudDoubleProc, 0, 0); };
    keepLog = true;
    StartUi();
    // The harness's game double is no "MtGame" the reports can use.
    hud = dynamic_cast<ReportHudDouble*>(MenuOpen("MenuGameRunning", Menus(), nullptr));
    ASSERT_NE(hud, nullptr);
    hud->ClearActive();
    auto* hourly =
        dynamic_cast<MenuReportHourly*>(MenuReportHourlyOpen(Menus(), &hud->pending, hud));
    ASSERT_NE(hourly, nullptr);
    Step();
    Ctl3Base* box = hourly->FindCtl(REPORT_EXTRA);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->checked, 0);
    Click(box);
    EXPECT_EQ(box->checked, 0) << "the box changed with no game to keep it";
    ClickId(hourly, REPORT_OK);

    auto* staff =
        dynamic_cast<MenuReportEmployees*>(MenuReportEmployeesOpen(Menus(), &hud->pending, hud));
    ASSERT_NE(staff, nullptr);
    Step();
    ClickId(staff, REPORT_EXTRA);
    EXPECT_EQ(staff->rowCount, 0);
    ClickId(staff, REPORT_OK);

    Menu3Base* summary = MenuReportSummaryOpen(Menus(), hud);
    ASSERT_NE(summary, nullptr);
    Step();
    ClickId(summary, 4);
    EXPECT_EQ(Find<Menu3Base>("MenuReportSummary"), nullptr);
    EXPECT_EQ(hud->activations, 3);
    EXPECT_NE(LogText().find("MenuReportSummary: no game object"), std::string::npos);
}
