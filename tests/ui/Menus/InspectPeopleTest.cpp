// The employee and patron panels on the default venue: what they read from the person, their
// layout, their buttons, and a patron of the day clicked in the world.
#include "tests/ui/Menus/PlayPanelFixture.h"

#include "I3d/Font.h"
#include "engine/Random.h"
#include "game/AttrInfo.h"
#include "game/Ents/AttrBase.h"
#include "game/Ents/Carny.h"
#include "game/Ents/Rube1.h"
#include "tests/support/TestSupport.h"
#include "ui/Menus/Hud.h"
#include "ui/Menus/MenuInspectCarny.h"
#include "ui/Menus/MenuInspectRube.h"
#include "ui/StaticText.h"
#include "world/CameraVantor1.h"

#include <climits>
#include <string>

namespace {

// The middle of the entity's world box.
VECTOR3 BoxCentre(const Ent3dBase* e) {
    return {(e->worldBox[0] + e->worldBox[3]) / 2.0f, (e->worldBox[1] + e->worldBox[4]) / 2.0f,
            (e->worldBox[2] + e->worldBox[5]) / 2.0f};
}

std::string Label(const Ctl3Base* c) {
    return c ? Narrow(c->label) : "(no control)";
}

// The area a control covers: a hit rectangle, or a text's drawn extent.
Ctl3Rect Extent(const Ctl3Base* c) {
    if (c->rect.right > c->rect.left && c->rect.bottom > c->rect.top) return c->rect;
    float w = 0, h = 0;
    if (c->font) {
        FontSetScale(c->font, c->horizScale, c->vertScale);
        FontMeasure(c->font, c->label, &w, &h, 0);
    }
    return {c->pos.x, c->pos.y, c->pos.x + w, c->pos.y + h};
}

// The kit's button cells are 97 x 57 units (0..96, 0..56) placed on 96-unit steps of a row whose
// height is 56: neighbours share their edge column and the bottom row sits on the inner edge.
constexpr float kEdge = 1.0f;

// Every control but the panel's background lies inside the inner rectangle, and no two overlap.
void ExpectLaidOut(Menu3Base* panel, const Ctl3Rect& inner) {
    std::vector<std::pair<std::string, Ctl3Rect>> seen;
    for (EntNode* n = panel->node->firstChild; n; n = n->next) {
        auto* c = dynamic_cast<Ctl3Base*>(n->object);
        if (!c || std::string(c->GetName()) == "Background") continue;
        const Ctl3Rect r = Extent(c);
        const std::string what = std::string(panel->GetName()) + " " + c->GetName() + " \"" +
                                 Label(c) + "\" id " + std::to_string(c->id);
        EXPECT_TRUE(r.left >= inner.left && r.top >= inner.top && r.right <= inner.right + kEdge &&
                    r.bottom <= inner.bottom + kEdge)
            << what << " at " << r.left << "," << r.top << "-" << r.right << "," << r.bottom;
        for (const auto& [other, o] : seen)
            EXPECT_FALSE(r.left < o.right - kEdge && o.left < r.right - kEdge &&
                         r.top < o.bottom - kEdge && o.top < r.bottom - kEdge)
                << what << " overlaps " << other;
        seen.emplace_back(what, r);
    }
    EXPECT_GE(seen.size(), 5u);
}

} // namespace

TEST_F(PlayPanelTest, ThePatronPanelReadsStateCashTicketsAndThoughtEveryFrame) {
    StartHud();
    AttrBase* ride = PlaceUnder(2, 560, 470);
    ASSERT_NE(ride, nullptr) << "no free ground under (560, 470)";
    Rube1* patron = MakePatron();
    ASSERT_NE(patron, nullptr);
    MenuInspectRube* panel = RubePanel();
    ASSERT_NE(panel, nullptr);
    EXPECT_FALSE(panel->shown) << "the HUD made it closed";
    EXPECT_FALSE(panel->active);

    ASSERT_TRUE(HudSelect(hud, patron));
    EXPECT_TRUE(panel->shown);
    EXPECT_TRUE(panel->active);
    EXPECT_EQ(panel->Person(), patron);
    EXPECT_EQ(Label(panel->title), "Patron 77");
    EXPECT_STREQ(panel->GetName(), "MenuInspectRube");
    EXPECT_EQ(panel->FindCtl(INSPECT_STATUS), panel->state) << "the state text is found by id";
    EXPECT_EQ(panel->FindCtl(INSPECT_RUBE_THOUGHT), panel->thought);

    const std::string name = Narrow(ride->info->name);
    ASSERT_FALSE(name.empty());
    const struct {
        int state;
        bool target;
        std::string text;
    } states[] = {
        {1, true, "Idle"},
        {2, true, "Finding a path"},
        {3, true, "Walking to " + name + "."},
        {3, false, "Walking to ."},
        {4, true, "In line at " + name + "."},
        {5, true, "At " + name + "."},
        {6, true, "Exiting " + name + "."},
        {6, false, "Exiting ."},
        {7, true, "Finding wander spot."},
        {8, true, "Wandering around."},
        {9, true, "Deciding what to do next."},
        {10, true, "Leaving the carnival."},
        {0, true, "Unknown!"},
        {11, true, "Unknown!"},
        {-3, true, "Unknown!"},
    };
    for (const auto& row : states) {
        patron->state = row.state;
        patron->target = EntRef(row.target ? ride : nullptr);
        panel->Update(0.02f);
        EXPECT_EQ(Label(panel->state), row.text) << "state " << row.state;
    }

    const char* const thoughts[8] = {"\"I'm hungry\"",
                                     "\"I'm thirsty.\"",
                                     "\"I want to go on a ride.\"",
                                     "\"I want to play a game!\"",
                                     "\"I need a rest.\"",
                                     "\"I have to throw this trash away.\"",
                                     "\"I need to visit the restroom.\"",
                                     "\"I need to buy some tickets.\""};
    patron->state = RUBE_WANDER;
    for (int need = 0; need < 8; ++need) {
        for (float& level : patron->needs.level)
            level = 0.0f;
        patron->needs.level[need] = 0.9f;
        ASSERT_EQ(RubeChooseNeed(patron), need);
        panel->Update(0.02f);
        EXPECT_EQ(Label(panel->thought), thoughts[need]) << "need " << need;
    }
    patron->state = RUBE_LEAVE;
    panel->Update(0.02f);
    EXPECT_EQ(Label(panel->state), "Leaving the carnival.");
    EXPECT_EQ(Label(panel->thought), "") << "a leaving patron thinks nothing";

    const struct {
        int32_t cents;
        int32_t tickets;
        const char* cash;
        const char* count;
    } money[] = {
        {1234, 7, "$12.34", "   7"},
        {5, 12345, "$ 0.05", "12345"},
        {-250, -3, "$-2.50", "  -3"},
        {INT32_MAX, 0, "$21474836.47", "   0"},
        {INT32_MIN, 0, "$-21474836.48", "   0"},
    };
    for (const auto& row : money) {
        patron->money = row.cents;
        patron->tickets = row.tickets;
        panel->Update(0.02f);
        EXPECT_EQ(Label(panel->cash), row.cash) << row.cents << " cents";
        EXPECT_EQ(Label(panel->tickets), row.count) << row.tickets << " tickets";
    }

    // The frame writes it too, and an employee given to it closes it.
    patron->money = 1234;
    Step();
    EXPECT_EQ(Label(panel->cash), "$12.34");
    InspectRubeShow(panel, Hire());
    EXPECT_FALSE(panel->shown) << "the patron panel took an employee";
    EXPECT_EQ(panel->Person(), nullptr);
}

TEST_F(PlayPanelTest, TheEmployeePanelShowsTheStatusAndAsksBeforeFiring) {
    StartHud();
    Carny* carny = Hire();
    ASSERT_NE(carny, nullptr);
    MenuInspectCarny* panel = CarnyPanel();
    ASSERT_NE(panel, nullptr);
    ASSERT_TRUE(HudSelect(hud, carny));
    EXPECT_TRUE(panel->shown);
    EXPECT_EQ(Label(panel->title), carny->GetName());
    EXPECT_EQ(panel->FindCtl(INSPECT_STATUS), panel->status) << "the status text is found by id";
    char16_t line[128];
    for (int task : {int(CARNY_IDLE), int(CARNY_SWEEP), int(CARNY_WANDER), int(CARNY_SLEEP), 99}) {
        carny->task = task;
        panel->Update(0.02f);
        EXPECT_EQ(Label(panel->status), Narrow(CarnyStatusText(carny, line, 128))) << task;
    }
    // The frame writes it too.
    Step();
    EXPECT_EQ(Label(panel->status), Narrow(CarnyStatusText(carny, line, 128)));

    // Fire: the HUD and the panel step back for the question, which has the focus on Cancel.
    PostClick(INSPECT_CARNY_FIRE);
    Menu3Base* question = Named("MenuFireCarny");
    ASSERT_NE(question, nullptr) << "Fire did not ask";
    EXPECT_FALSE(hud->active);
    EXPECT_FALSE(panel->active);
    EXPECT_FALSE(panel->shown);
    ASSERT_NE(Ctl3GetFocus(), nullptr);
    EXPECT_EQ(Ctl3GetFocus()->id, 1);
    EXPECT_EQ(EntGetParent(question), app.GetMenus());
}

TEST_F(PlayPanelTest, ThePeoplePanelsKeepTheirControlsInsideTheirBorderAndApart) {
    StartHud();
    // The longest texts the data gives: the attraction type with the longest name, the longest
    // thought, the widest cash.
    const AttrInfoList* types = Game()->attrList;
    ASSERT_NE(types, nullptr);
    int longest = -1;
    size_t length = 0;
    for (int i = 0; i < types->Count(); ++i)
        if (types->Get(i)->attrType < 6 && Narrow(types->Get(i)->name).size() > length) {
            length = Narrow(types->Get(i)->name).size();
            longest = i;
        }
    AttrBase* attr = PlaceUnder(longest, 420, 470);
    ASSERT_NE(attr, nullptr) << "no free ground under (420, 470)";

    Carny* carny = Hire();
    ASSERT_NE(carny, nullptr);
    MenuInspectCarny* carnyPanel = CarnyPanel();
    ASSERT_TRUE(HudSelect(hud, carny));
    carny->task = CARNY_REPAIR;
    carny->target = EntRef(attr);
    carnyPanel->Update(0.02f);
    EXPECT_EQ(Label(carnyPanel->status), "Repairing the " + Narrow(attr->info->name) + ".");
    EXPECT_EQ(carnyPanel->inner.left, 680.0f);
    EXPECT_EQ(carnyPanel->inner.top, 736.0f - 140.0f + 8.0f);
    ExpectLaidOut(carnyPanel, carnyPanel->inner);
    Ctl3Base* fire = carnyPanel->FindCtl(INSPECT_CARNY_FIRE);
    ASSERT_NE(fire, nullptr);
    EXPECT_EQ(fire->pos.x, 872.0f);
    EXPECT_EQ(fire->pos.y, 672.0f);

    Rube1* patron = MakePatron();
    ASSERT_NE(patron, nullptr);
    MenuInspectRube* rubePanel = RubePanel();
    ASSERT_TRUE(HudSelect(hud, patron));
    patron->state = RUBE_IN_LINE;
    patron->target = EntRef(attr);
    for (float& level : patron->needs.level)
        level = 0.0f;
    patron->needs.level[5] = 1.0f;
    patron->money = INT32_MIN;
    patron->tickets = INT32_MIN;
    rubePanel->Update(0.02f);
    EXPECT_EQ(Label(rubePanel->thought), "\"I have to throw this trash away.\"");
    EXPECT_EQ(rubePanel->inner.top, 736.0f - 240.0f + 8.0f);
    ExpectLaidOut(rubePanel, rubePanel->inner);
}

TEST_F(PlayPanelTest, ClosingLookingAndALeavingPatronNeverReadAGonePerson) {
    StartHud();
    Rube1* patron = MakePatron();
    ASSERT_NE(patron, nullptr);
    MenuInspectRube* panel = RubePanel();
    ASSERT_TRUE(HudSelect(hud, patron));

    // Look at: the management camera's target goes to the patron (standing still); the panel
    // stays.
    auto* camera = dynamic_cast<CameraVantor1*>(EntTreeFindType(app.GetRoot(), "CameraVantor1"));
    ASSERT_NE(camera, nullptr);
    MtGamePause(Game());
    patron->pos = {500.0f, 0.0f, 410.0f};
    PostClick(INSPECT_RUBE_VIEW);
    EXPECT_EQ(camera->targetPoint.x, 500.0f);
    EXPECT_EQ(camera->targetPoint.z, 410.0f);
    EXPECT_TRUE(panel->shown);
    EXPECT_TRUE(panel->active);
    Game()->RestoreClockSpeed();

    // Close: hidden, deactivated, no focus.
    panel->FocusCtl(INSPECT_RUBE_VIEW);
    PostClick(INSPECT_RUBE_CLOSE);
    EXPECT_FALSE(panel->shown);
    EXPECT_FALSE(panel->active);
    EXPECT_EQ(Ctl3GetFocus(), nullptr);

    // The patron leaves while shown: the panel closes and its frames read nothing of it.
    ASSERT_TRUE(HudSelect(hud, patron));
    ASSERT_TRUE(panel->shown);
    EntDestroyTree(patron);
    EXPECT_FALSE(panel->shown);
    EXPECT_EQ(panel->Person(), nullptr);
    Step(3);

    // Without the HUD the panel still closes by itself.
    Rube1* second = MakePatron();
    InspectRubeShow(panel, second);
    ASSERT_TRUE(panel->shown);
    EntDestroyTree(hud);
    hud = nullptr;
    EntDestroyTree(second);
    EXPECT_FALSE(panel->shown);
    Step(2);
}

TEST_F(PlayPanelTest, APatronOfTheDayClickedInTheWorldShowsWhatItIsDoing) {
    CrtSrand(55);
    MsSeed(55);
    StartHud();
    // The camera over the entrance, where the patrons come in.
    ASSERT_TRUE(venue.Fly(515.0f, 0.0f, 392.0f, 0.0f, 0.6f, 30.0f));
    PostClick(HUD_START);
    ASSERT_EQ(Game()->dayOver, 0);
    PostClick(HUD_SPEED_8X);
    // Frames until a patron walks where the camera sees it clear of the HUD and the panels.
    Rube1* seen = nullptr;
    float sx = 0, sy = 0;
    for (int frame = 0; frame < 600 && !seen; ++frame) {
        Step();
        for (int i = 0; i < RubeLiveCount() && !seen; ++i) {
            Rube1* p = RubeLiveAt(i);
            if (p->state < RUBE_IDLE || !ScreenOf(BoxCentre(p), &sx, &sy)) continue;
            if (sx > 220 && sx < 640 && sy > 200 && sy < 560) seen = p;
        }
    }
    ASSERT_NE(seen, nullptr) << "no patron came into view";
    // The world stands still for the click.
    MtGamePause(Game());
    Step();
    ASSERT_TRUE(ScreenOf(BoxCentre(seen), &sx, &sy));
    ClickAt(sx, sy);
    MenuInspectRube* panel = RubePanel();
    ASSERT_EQ(hud->selected.Get(), seen) << "the click at " << sx << ", " << sy;
    EXPECT_TRUE(panel->shown);
    EXPECT_EQ(Label(panel->title), seen->GetName());
    const std::string state = Label(panel->state);
    const char* const fixed[] = {"Idle",
                                 "Finding a path",
                                 "Finding wander spot.",
                                 "Wandering around.",
                                 "Deciding what to do next.",
                                 "Leaving the carnival."};
    bool known = false;
    for (const char* text : fixed)
        known |= state == text;
    for (const char* start : {"Walking to ", "In line at ", "At ", "Exiting "})
        known |= state.rfind(start, 0) == 0 && state.back() == '.';
    EXPECT_TRUE(known) << "\"" << state << "\" is no state text";
    Game()->RestoreClockSpeed();
}
