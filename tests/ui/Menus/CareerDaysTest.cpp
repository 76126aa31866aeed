// A career of three days in one run, through the real screens and the game's frame: a new
// career from the main menu, the default venue by the selector, set-up and world loader, stands
// bought from the catalogue and placed by a click on days 1 and 2, Run Another Day twice, then
// Save and Exit. Each summary must hold the day's money as it was: its profit the change in cash
// and standing value, its figures those the HUD shows, the next day starts from and the career
// file keeps, and the cash the sum of what the day booked.
#include "tests/harness/UiHarness.h"

#include "engine/EntTree.h"
#include "engine/FrameClock.h"
#include "game/AttrInfo.h"
#include "game/Ents/AttrBase.h"
#include "game/MtGame.h"
#include "game/MtGameSave.h"
#include "tests/support/TestSupport.h"
#include "tests/ui/Menus/ReportTestWorld.h"
#include "ui/GraphicButton.h"
#include "ui/Menus/MenuEndOfDay.h"
#include "ui/Menus/MenuEquipResource.h"
#include "ui/Menus/MenuGameRunning.h"
#include "ui/Menus/MenuReportHourly.h"
#include "ui/StaticText.h"

#include <SDL.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr int kHotDogStand = 2; // the shipped stand whose $2.50 an hour lost its cents
constexpr int kTicketBooth = 23;

// What the test saw of one day, in cents.
struct Day {
    int32_t start = 0, startValue = 0, end = 0, returns = 0;
    int64_t depositsPlaced = 0;
};

std::string Dollars(int64_t cents) {
    return std::to_string(cents / 100);
}

class CareerDaysTest : public UiTest {
  protected:
    void SetUp() override {
        UiTest::SetUp();
        // The real game object and every real screen.
        registerFirst = [] { EntCreateClass(EcMtGameProc, 0, 0); };
    }
    void TearDown() override {
        if (app.clock) app.clock->capMs = 33;
        UiTest::TearDown();
    }

    std::string MenuNames() {
        std::string out;
        for (EntNode* c = app.GetMenus()->node->firstChild; c; c = c->next)
            if (c->object && c->deleteCount == 0) out += std::string(" ") + c->object->GetName();
        return out;
    }
    MtGame* Game() { return dynamic_cast<MtGame*>(EntTreeFindType(app.GetRoot(), "MtGame")); }
    Menu3Base* Shown(const char* name) { return ShownMenu(name); }
    void Click(Ctl3Base* control) { ClickOn(control); }

    // The value of every attraction standing, summed here from each one's own worth.
    int32_t Standing() {
        int32_t sum = 0;
        Walk(app.GetRoot()->node, &sum);
        return sum;
    }
    static void Walk(const EntNode* n, int32_t* sum) {
        for (const EntNode* c = n->firstChild; c; c = c->next) {
            if (c->deleteCount != 0 || !c->object) continue;
            if (auto* a = dynamic_cast<AttrBase*>(c->object)) *sum += AttrBaseValue(a);
            Walk(c, sum);
        }
    }

    // Main menu, Career, New Career with its defaults, the summary's Next, the default venue,
    // its set-up, and the loader's world: the HUD after its intro.
    void StartCareer() {
        StartUi();
        ASSERT_FALSE(HasFatalFailure());
        ASSERT_NE(MenuOpen("MenuMain", app.GetMenus(), nullptr), nullptr);
        Step();
        Tap(SDL_SCANCODE_RIGHT);
        Tap(SDL_SCANCODE_RETURN);
        ASSERT_NE(Shown("MenuCareer"), nullptr) << "Right and Enter did not open the career menu";
        Tap(SDL_SCANCODE_RETURN);
        ASSERT_NE(Shown("NewCareer"), nullptr);
        Tap(SDL_SCANCODE_UP);
        Tap(SDL_SCANCODE_RETURN);
        Step();
        Menu3Base* summary = Shown("MenuCareerSummary");
        ASSERT_NE(summary, nullptr) << "the new career did not reach its summary";
        ASSERT_EQ(Game()->mode, MTGAME_CAREER);
        Click(summary->FindCtl(0));
        ASSERT_NE(Shown("MidwaySelector"), nullptr);
        Tap(SDL_SCANCODE_DOWN);
        Tap(SDL_SCANCODE_RETURN);
        ASSERT_NE(Shown("MenuVenueSetup"), nullptr);
        Tap(SDL_SCANCODE_RETURN);
        // A career's set-up goes on to its layouts, whose first row is a new one.
        ASSERT_NE(Shown("MenuLoadLayout"), nullptr);
        Tap(SDL_SCANCODE_RETURN);
        for (int i = 0; i < 10 && !Shown("MenuVenueIntro"); ++i)
            Step();
        ASSERT_NE(Shown("MenuVenueIntro"), nullptr)
            << "the world loader opened no HUD:" << MenuNames();
        Tap(SDL_SCANCODE_RETURN);
        hud = dynamic_cast<MenuGameRunning*>(Shown("MenuGameRunning"));
        ASSERT_NE(hud, nullptr);
        ASSERT_TRUE(hud->active);
    }

    // The type chosen in the catalogue (Equipment, the strip, Down to its row, OK); its row's
    // title line is kept.
    void Choose(int32_t strip, int type) {
        Click(hud->FindCtl(HUD_EQUIPMENT));
        auto* shop = dynamic_cast<MenuEquipResource*>(Shown("EquipResource"));
        ASSERT_NE(shop, nullptr) << "Equipment opened no catalogue";
        Click(shop->FindCtl(strip));
        const AttrInfo* wanted = Game()->attrList->Get(type);
        int at = -1;
        for (int i = 0; i < shop->shownCount; ++i)
            if (shop->entries[size_t(i)] == wanted) at = i;
        ASSERT_GE(at, 0) << "type " << type << " is not in the strip";
        for (int i = 0; i < at; ++i)
            Click(shop->FindCtl(EQUIP_DOWN));
        ASSERT_EQ(shop->top + shop->row, at);
        titleLine = Narrow(shop->FindCtl(EQUIP_TITLE + shop->row)->label);
        Click(shop->FindCtl(EQUIP_OK));
        ASSERT_EQ(hud->chosenType, wanted) << "OK did not hand the type to the HUD";
    }

    // A click on the first screen point with room for the chosen type.
    void PlaceChosen(Day* day) {
        static const float kPoints[][2] = {{560, 470}, {700, 470}, {420, 470}, {560, 560},
                                           {700, 380}, {420, 380}, {560, 380}, {700, 560}};
        const AttrInfo* type = hud->chosenType;
        for (const auto& point : kPoints) {
            MouseMove(point[0], point[1]);
            Step();
            ClickAt(point[0], point[1]);
            if (!hud->chosenType) {
                day->depositsPlaced += type->deposit;
                return;
            }
        }
        FAIL() << "no free ground for the chosen type";
    }

    void ToDayStart(Day* day) {
        MtGame* game = Game();
        day->start = game->cash;
        day->startValue = Standing();
        EXPECT_EQ(game->cash, game->career.cash) << "the day's cash is not its start-of-day cash";
    }

    // Start, 8X, and frames of 8 game-clock seconds until the hour (or the day's end); the first
    // hourly report is read, told not to come again, and closed.
    void Play(float untilHour) {
        MtGame* game = Game();
        MouseMove(700, 600);
        Step();
        Click(hud->startButton);
        ASSERT_EQ(game->dayOver, 0) << "Start did not open the day";
        Click(hud->FindCtl(HUD_SPEED_8X));
        app.clock->capMs = 1000;
        frameMs = 1000;
        for (int i = 0; i < 400 && !game->dayOver && game->gameTime < untilHour; ++i) {
            Step();
            if (auto* report = dynamic_cast<MenuReportHourly*>(Shown("MenuReportHourly"))) {
                frameMs = 20;
                Step();
                const ReportCellReader cells = ReportCells(report);
                const std::u16string name = Game()->attrList->Get(kHotDogStand)->name;
                for (const ReportCellReader::Cell& c : cells.cells)
                    if (c.x == 160.0f && c.text == name) reportCost = Narrow(cells.At(410, c.y));
                Click(report->FindCtl(REPORT_EXTRA));
                Click(report->FindCtl(REPORT_OK));
                ASSERT_EQ(Shown("MenuReportHourly"), nullptr);
                frameMs = 1000;
            }
        }
        frameMs = 20;
    }

    // The debug row's End Day, then the summary: its five lines against what the day did.
    MenuEndOfDay* EndDay(Day* day) {
        MtGame* game = Game();
        if (!game->dayOver) {
            Ctl3Base* endDay = hud->FindCtl(HUD_END_DAY);
            if (!endDay->visible) {
                Key(SDL_SCANCODE_LCTRL, true);
                Step();
                Tap(SDL_SCANCODE_C);
                Key(SDL_SCANCODE_LCTRL, false);
                Step();
            }
            Click(endDay);
        }
        for (int i = 0; i < 5 && !Shown("MenuEndOfDay"); ++i)
            Step();
        auto* summary = dynamic_cast<MenuEndOfDay*>(Shown("MenuEndOfDay"));
        EXPECT_NE(summary, nullptr) << "the day ended on no summary";
        if (!summary) return nullptr;
        day->end = game->cash;
        day->returns = Standing();
        ExpectFigures(summary, *day);
        // The crowd goes on leaving behind the summary at the day's speed: nothing it does may
        // move the money the summary shows.
        frameMs = 1000;
        Step(30);
        frameMs = 20;
        Step(30);
        EXPECT_EQ(game->cash, day->end) << "the day's money changed after its summary";
        EXPECT_EQ(Narrow(hud->cashText->label), "$" + Dollars(day->end))
            << "the HUD's cash is not the summary's Ending Cash";
        return summary;
    }

    void ExpectFigures(MenuEndOfDay* summary, const Day& day) {
        std::vector<std::string> lines;
        for (EntNode* c = summary->node->firstChild; c; c = c->next)
            if (auto* text = dynamic_cast<StaticText*>(c->object))
                lines.push_back(Narrow(text->label));
        ASSERT_GE(lines.size(), 5u);
        lines.erase(lines.begin(), lines.end() - 5);
        MtGame* game = Game();
        const int64_t profit =
            int64_t(day.end) + day.returns - (int64_t(day.start) + day.startValue);
        EXPECT_EQ(lines[0], "Starting Cash: $" + Dollars(day.start));
        EXPECT_EQ(lines[1], "Ending Cash: $" + Dollars(day.end));
        EXPECT_EQ(lines[2], " - deposits: $" + Dollars(game->onDeposit));
        EXPECT_EQ(lines[3], " + deposit returns: $" + Dollars(day.returns));
        EXPECT_EQ(lines[4], std::string(profit > 0 ? " PROFIT: $" : " LOSS: $") + Dollars(profit))
            << "the profit is not the day's change in cash and standing value";
        // What the day booked, event by event, adds up to its cash: nothing moved it unbooked.
        const MtGameDayAccount& booked = game->day;
        EXPECT_EQ(int64_t(day.end), int64_t(day.start) + booked.sales - booked.costs -
                                        booked.deposits + booked.refunds)
            << "sales " << booked.sales << ", costs " << booked.costs << ", deposits "
            << booked.deposits << ", refunds " << booked.refunds;
        EXPECT_EQ(booked.deposits, day.depositsPlaced) << "the deposits paid are not those placed";
        EXPECT_EQ(booked.refunds, 0);
    }

    void RunAnotherDay(MenuEndOfDay* summary, const Day& ended) {
        ASSERT_NE(summary, nullptr);
        MtGame* game = Game();
        const int32_t deposits = game->onDeposit;
        Click(summary->FindCtl(0));
        ASSERT_EQ(Shown("MenuEndOfDay"), nullptr);
        ASSERT_TRUE(hud->active) << "Run Another Day did not give the HUD back";
        EXPECT_EQ(game->cash, ended.end) << "the next day does not start from the Ending Cash";
        char path[1024];
        ASSERT_TRUE(MtGameCareerPath(path, sizeof path, game->career.name));
        EXPECT_NE(ReadTextFile(path).find("\ncash=" + std::to_string(ended.end + deposits) + "\n"),
                  std::string::npos)
            << "the career file holds other than the Ending Cash and the deposits";
        Step(60);
        EXPECT_EQ(Narrow(hud->cashText->label), "$" + Dollars(ended.end));
    }

    MenuGameRunning* hud = nullptr;
    std::string titleLine, reportCost;
};

} // namespace

TEST_F(CareerDaysTest, ThreeDaysAddUpFromTheSummaryToTheHudTheNextDayAndTheCareerFile) {
    StartCareer();
    ASSERT_FALSE(HasFatalFailure());
    MtGame* game = Game();

    // Day 1, played to its closing: a ticket booth and a hot dog stand, then the whole day.
    Day one;
    ToDayStart(&one);
    EXPECT_EQ(one.startValue, 0);
    Choose(EQUIP_UTILITY, kTicketBooth);
    ASSERT_FALSE(HasFatalFailure());
    PlaceChosen(&one);
    ASSERT_FALSE(HasFatalFailure());
    Choose(EQUIP_FOOD, kHotDogStand);
    ASSERT_FALSE(HasFatalFailure());
    PlaceChosen(&one);
    ASSERT_FALSE(HasFatalFailure());
    Play(99.0f);
    ASSERT_FALSE(HasFatalFailure());
    ASSERT_EQ(game->dayOver, 1) << "the day did not reach its closing";
    EXPECT_GT(game->day.sales, 0) << "a whole day sold no tickets";
    // The catalogue and the hourly cost report name one price.
    ASSERT_FALSE(reportCost.empty()) << "the hourly report listed no hot dog stand";
    std::string price = reportCost.substr(reportCost.find_first_not_of("$ "));
    EXPECT_EQ(price, "2.50");
    EXPECT_NE(titleLine.find("$" + price + "/hr"), std::string::npos)
        << "the catalogue says \"" << titleLine << "\", the hourly report " << reportCost;
    MenuEndOfDay* summary = EndDay(&one);
    ASSERT_FALSE(HasFatalFailure());
    RunAnotherDay(summary, one);
    ASSERT_FALSE(HasFatalFailure());

    // Day 2: the stand of day 1 stands from the start; a second stand, and the day ended
    // early, its crowd still about.
    Day two;
    ToDayStart(&two);
    EXPECT_EQ(two.start, one.end);
    EXPECT_GT(two.startValue, 0) << "the first day's stand is worth nothing";
    Choose(EQUIP_FOOD, 0);
    ASSERT_FALSE(HasFatalFailure());
    PlaceChosen(&two);
    ASSERT_FALSE(HasFatalFailure());
    Play(14.0f);
    ASSERT_FALSE(HasFatalFailure());
    summary = EndDay(&two);
    ASSERT_FALSE(HasFatalFailure());
    RunAnotherDay(summary, two);
    ASSERT_FALSE(HasFatalFailure());

    // Day 3, ended at once: rent and no takings is a loss, whatever stands from before.
    Day three;
    ToDayStart(&three);
    Play(0.0f);
    ASSERT_FALSE(HasFatalFailure());
    summary = EndDay(&three);
    ASSERT_NE(summary, nullptr);
    EXPECT_LE(int64_t(three.end) + three.returns, int64_t(three.start) + three.startValue)
        << "a day without takings made a profit";

    // Save and Exit: the career file holds the Ending Cash and the returns the summary showed.
    Click(summary->FindCtl(1));
    Menu3Base* career = Shown("MenuCareerSummary");
    ASSERT_NE(career, nullptr) << "Save and Exit did not reach the career summary";
    char path[1024];
    ASSERT_TRUE(MtGameCareerPath(path, sizeof path, game->career.name));
    const std::string file = ReadTextFile(path);
    EXPECT_NE(file.find("\ncash=" + std::to_string(three.end + three.returns) + "\n"),
              std::string::npos)
        << "the file is not the summary's Ending Cash + deposit returns:\n"
        << file;
    EXPECT_NE(file.find("\ndaysRun=3\n"), std::string::npos) << file;
}
