// The attraction panel: its fill by type and layout, the writes to the attraction and its type,
// the counts and the wear bar, its buttons, the ride view and the removal question.
#include "tests/ui/Menus/InspectAttrFixture.h"
#include "tests/ui/Menus/NumberBoxFit.h"

#include "I3d/Font.h"
#include "I3d/Math/Pick.h"
#include "engine/Random.h"
#include "game/AttrInfo.h"
#include "game/Ents/AttrBase.h"
#include "game/Ents/Rube1.h"
#include "tests/support/PixelChannels.h"
#include "tests/support/TestSupport.h"
#include "ui/Custom.h"
#include "ui/GraphicButton.h"
#include "ui/GraphicCheckBox.h"
#include "ui/IncDecButton.h"
#include "ui/Menus/Hud.h"
#include "ui/StaticText.h"
#include "world/CameraAttach.h"
#include "world/CameraCurrent.h"
#include "world/CameraDesc.h"
#include "world/CameraVantor1.h"

#include <cstring>
#include <functional>
#include <string>
#include <vector>

namespace {

// The inner rectangle of the 320 x 360 panel.
constexpr Ctl3Rect kInner = {680.0f, 384.0f, 984.0f, 728.0f};

std::string Text(const Ctl3Base* c) {
    return c ? Narrow(c->label) : "(none)";
}

bool Live(const Ctl3Base* c) {
    return c && c->visible && c->enabled;
}

// The live controls the player can see, the panel's own background left out.
std::vector<Ctl3Base*> Shown(MenuInspectAttr* panel) {
    std::vector<Ctl3Base*> out;
    for (EntNode* n = panel->node->firstChild; n; n = n->next) {
        auto* c = dynamic_cast<Ctl3Base*>(n->object);
        if (!c || n->deleteCount || !c->visible || std::string(c->GetName()) == "Background")
            continue;
        out.push_back(c);
    }
    return out;
}

// Each shown control's area inside the inner rectangle, and no two sharing any: areas are
// half-open (x to x + width). A text has no hit rectangle of its own: its area is its line, as
// wide as the font draws it. A kit button's cell is 97 x 57 units while the framework steps its
// bottom row by 96 and ends it at 728: buttons are counted 96 x 56, as the row is laid out.
Ctl3Rect Area(const Ctl3Base* c) {
    Ctl3Rect r = c->rect;
    if (dynamic_cast<const StaticText*>(c)) {
        const float w = c->font ? FontTextWidth(c->font, c->liveText ? c->liveText : c->label) : 0;
        const float h = c->font ? c->font->cellHeight : 0;
        r = {c->pos.x, c->pos.y, c->pos.x + w, c->pos.y + h};
    } else if (dynamic_cast<const GraphicButton*>(c)) {
        r.right -= 1.0f;
        r.bottom -= 1.0f;
    }
    return r;
}

void ExpectLaidOut(MenuInspectAttr* panel, const std::string& what) {
    const std::vector<Ctl3Base*> shown = Shown(panel);
    EXPECT_GE(shown.size(), 8u) << what;
    for (size_t i = 0; i < shown.size(); ++i) {
        const Ctl3Rect a = Area(shown[i]);
        const std::string name = std::string(shown[i]->GetName()) + " (" +
                                 std::to_string(shown[i]->id) + ", " + Text(shown[i]) + ")";
        EXPECT_TRUE(a.left >= kInner.left && a.top >= kInner.top && a.right <= kInner.right + 1 &&
                    a.bottom <= kInner.bottom + 1 && a.left < a.right && a.top < a.bottom)
            << what << ": " << name << " at " << a.left << ", " << a.top << " - " << a.right << ", "
            << a.bottom;
        for (size_t j = i + 1; j < shown.size(); ++j) {
            const Ctl3Rect b = Area(shown[j]);
            const bool apart =
                a.right <= b.left || b.right <= a.left || a.bottom <= b.top || b.bottom <= a.top;
            EXPECT_TRUE(apart) << what << ": " << name << " overlaps " << shown[j]->GetName()
                               << " (" << shown[j]->id << ", " << Text(shown[j]) << ")";
        }
    }
}

} // namespace

TEST_F(InspectAttrTest, FillsByTypeAndKeepsEveryControlInsideThePanel) {
    StartPanel();
    MenuInspectAttr* panel = Panel();
    MtGame* game = Game();
    AttrInfo* bench = game->attrList->Get(13);
    ASSERT_NE(bench, nullptr);
    const int32_t benchType = bench->attrType;
    struct Row {
        int type;
        int attrType; // what the type is taken for (the bench stands in for type 5)
        bool closed, repair;
        const char* label1;
        const char16_t* unit;
        int32_t step, lo, hi;
    };
    const Row rows[] = {
        {0, 0, false, true, nullptr, nullptr, 0, 0, 0},
        {14, 2, true, false, "Duration:", u" Secs ", 5, 1, 600},
        {42, 3, false, false, "Win At:", u"-to-1 Odds", 1, 1, 99},
        {12, 4, false, false, nullptr, nullptr, 0, 0, 0},
        {13, 5, false, false, nullptr, nullptr, 0, 0, 0},
    };
    int slot = 0;
    for (const Row& row : rows) {
        AttrBase* attr = At(row.type, slot++);
        ASSERT_NE(attr, nullptr) << "type " << row.type;
        AttrInfo* info = attr->info;
        info->attrType = row.attrType;
        attr->closed = row.closed;
        attr->repairMe = row.repair;
        ASSERT_TRUE(HudSelect(hud, attr));
        Step();
        const std::string what = "type " + std::to_string(row.type);
        ASSERT_TRUE(panel->shown && panel->active) << what;
        EXPECT_EQ(Narrow(panel->FindCtl(INSPECT_ATTR_TITLE)->label), Narrow(info->name)) << what;
        EXPECT_EQ(panel->openBox->checked, !row.closed) << what;
        EXPECT_EQ(panel->repairBox->checked, row.repair) << what;
        // Only a ride can be ridden: elsewhere Ride would do nothing.
        EXPECT_EQ(Live(panel->rideButton), row.attrType == 2) << what;

        const bool priced = row.attrType <= 3;
        EXPECT_EQ(Live(panel->price), priced) << what;
        EXPECT_EQ(Live(panel->priceLabel), priced) << what;
        if (priced) {
            EXPECT_EQ(panel->price->value, attr->ticketPrice) << what;
            EXPECT_EQ(std::u16string(panel->price->valueText), u" Tickets ");
            EXPECT_EQ(
                std::make_tuple(panel->price->step, panel->price->minimum, panel->price->maximum),
                std::make_tuple(1, 1, 100));
        }
        EXPECT_EQ(Live(panel->setting), row.label1 != nullptr) << what;
        EXPECT_EQ(Live(panel->label1), row.label1 != nullptr) << what;
        if (row.label1) {
            EXPECT_EQ(Text(panel->label1), row.label1);
            EXPECT_EQ(std::u16string(panel->setting->valueText), row.unit);
            EXPECT_EQ(panel->setting->value,
                      row.attrType == 2 ? int32_t(info->duration) : info->winningOdds);
            EXPECT_EQ(std::make_tuple(panel->setting->step, panel->setting->minimum,
                                      panel->setting->maximum),
                      std::make_tuple(row.step, row.lo, row.hi));
        }
        EXPECT_EQ(Live(panel->waitTime), row.attrType == 2) << what;
        EXPECT_EQ(Live(panel->label2), row.attrType == 2) << what;
        if (row.attrType == 2) {
            EXPECT_EQ(Text(panel->label2), "Wait Time:");
            EXPECT_EQ(panel->waitTime->value, int32_t(info->queueWaitTime));
            EXPECT_EQ(std::make_tuple(panel->waitTime->step, panel->waitTime->minimum,
                                      panel->waitTime->maximum),
                      std::make_tuple(5, 5, 600));
        }
        ExpectLaidOut(panel, what);
        if (row.attrType == 2) {
            attr->broken = true;
            Step();
            ExpectLaidOut(panel, what + " broken");
            attr->broken = false;
        }
    }
    bench->attrType = benchType;
    // A type the attraction list does not hold, and nothing at all, close the panel.
    InspectAttrShow(panel, hud->grid.Get());
    EXPECT_FALSE(panel->shown || panel->active);
    EXPECT_EQ(panel->Attraction(), nullptr);
}

TEST_F(InspectAttrTest, WritesGoToTheAttractionOrItsTypeAndTheFrameShowsCountsAndWear) {
    StartPanel();
    MenuInspectAttr* panel = Panel();
    AttrBase* ride = At(14, 0);
    AttrBase* sameRide = At(14, 1);
    AttrBase* stand = At(0, 2);
    AttrBase* sameStand = At(0, 3);
    AttrBase* game = At(42, 4);
    ASSERT_TRUE(ride && sameRide && stand && sameStand && game);

    // The price is the attraction's own.
    const int32_t otherPrice = sameStand->ticketPrice;
    HudSelect(hud, stand);
    panel->price->value = 7;
    PostClick(INSPECT_ATTR_PRICE);
    EXPECT_EQ(stand->ticketPrice, 7);
    EXPECT_EQ(sameStand->ticketPrice, otherPrice) << "the price went to every stand";

    // Duration and waiting time belong to the type: the other carousel of the type has them.
    HudSelect(hud, ride);
    panel->setting->value = 45;
    panel->waitTime->value = 20;
    PostClick(INSPECT_ATTR_SETTING);
    EXPECT_EQ(sameRide->info->duration, 45.0f);
    EXPECT_EQ(sameRide->info->queueWaitTime, 20.0f);
    EXPECT_EQ(ride->info, sameRide->info);
    HudSelect(hud, game);
    panel->setting->value = 12;
    PostClick(INSPECT_ATTR_SETTING);
    EXPECT_EQ(game->info->winningOdds, 12);

    // "Visiting:" is riders / capacity, "In Line:" the waiting line; a capacity of 0 divides
    // nothing.
    HudSelect(hud, ride);
    auto* patron = dynamic_cast<Rube1*>(EntCreateChild("Rube1", hud->rubeGen.Get()));
    ASSERT_NE(patron, nullptr);
    patron->Start();
    ASSERT_TRUE(AttrBaseJoinQueue(ride, patron));
    Step();
    EXPECT_EQ(Text(panel->inLineValue), std::to_string(AttrBaseQueueCount(ride)));
    EXPECT_EQ(Text(panel->visitingValue), std::to_string(AttrBaseRiderCount(ride)) + " / " +
                                              std::to_string(ride->info->capacity));
    EXPECT_EQ(Text(panel->visitingValue).substr(Text(panel->visitingValue).find('/')), "/ 12");
    const int32_t capacity = ride->info->capacity;
    ride->info->capacity = 0;
    Step();
    EXPECT_EQ(Text(panel->visitingValue), std::to_string(AttrBaseRiderCount(ride)) + " / 0");
    ride->info->capacity = capacity;

    // Broken: the boxes are dead and clear, "BROKEN!" replaces the bar; a click changes nothing.
    ride->repairMe = 1;
    ride->broken = true;
    Step();
    EXPECT_FALSE(panel->openBox->enabled || panel->openBox->checked);
    EXPECT_FALSE(panel->repairBox->enabled || panel->repairBox->checked);
    EXPECT_TRUE(Live(panel->brokenText));
    EXPECT_FALSE(panel->bar->visible);
    const uint8_t closed = ride->closed;
    Click(panel->openBox);
    Click(panel->repairBox);
    EXPECT_EQ(ride->closed, closed) << "a broken attraction's Open box took a click";
    EXPECT_EQ(ride->repairMe, 1) << "a broken attraction's Repair box took a click";
    ride->broken = false;
    Step();
    EXPECT_TRUE(panel->openBox->enabled && panel->repairBox->enabled);
    EXPECT_TRUE(panel->repairBox->checked);
    EXPECT_FALSE(panel->brokenText->visible);
    EXPECT_TRUE(panel->bar->visible);

    // The wear bar: green up to 0.5, yellow up to 0.9, red above, read back from the screen.
    // Wear past the failure threshold rolls for a breakdown, paused or not, by the random
    // sequence the tests before left: no roll while the bar is read.
    MtGamePause(Game());
    Game()->degFailThresh = 1.0f;
    MouseMove(512, 600);
    struct Wear {
        float wear;
        bool red, green;
    };
    for (const Wear& w :
         {Wear{0.5f, false, true}, Wear{0.9f, true, true}, Wear{0.91f, true, false}}) {
        ride->repair = w.wear;
        Step(2);
        EXPECT_EQ(panel->wearBar.value, w.wear);
        const uint32_t px = PixelAt(ReadPixels(), int(panel->bar->rect.left) + 4,
                                    int(panel->bar->rect.top + panel->bar->rect.bottom) / 2);
        EXPECT_EQ(Red(px) > 200, w.red) << "wear " << w.wear << ": 0x" << std::hex << px;
        EXPECT_EQ(Green(px) > 200, w.green) << "wear " << w.wear << ": 0x" << std::hex << px;
        EXPECT_LT(Blue(px), 60) << "wear " << w.wear;
    }
}

TEST_F(InspectAttrTest, TheButtonsOpenRepairLookAndClose) {
    StartPanel();
    MenuInspectAttr* panel = Panel();
    AttrBase* stand = At(0, 0);
    ASSERT_NE(stand, nullptr);
    HudSelect(hud, stand);
    MtGamePause(Game());
    Step();

    Click(panel->openBox);
    EXPECT_EQ(stand->closed, 1) << "unchecking Open did not close it";
    EXPECT_FALSE(panel->openBox->checked);
    Click(panel->openBox);
    EXPECT_EQ(stand->closed, 0);
    Click(panel->repairBox);
    EXPECT_EQ(stand->repairMe, 1);
    Click(panel->repairBox);
    EXPECT_EQ(stand->repairMe, 0);

    auto* camera = dynamic_cast<CameraVantor1*>(EntTreeFindType(venue.root, "CameraVantor1"));
    ASSERT_NE(camera, nullptr);
    Click(panel->FindCtl(INSPECT_ATTR_LOOK));
    EXPECT_EQ(camera->targetPoint.x, stand->GetPos()->x);
    EXPECT_EQ(camera->targetPoint.z, stand->GetPos()->z);

    Click(panel->FindCtl(INSPECT_ATTR_CLOSE));
    EXPECT_FALSE(panel->shown || panel->active);
    EXPECT_EQ(Ctl3GetFocus(), nullptr);
    EXPECT_TRUE(hud->active);
}

// The widest values of a ride and a game read whole in their boxes, and a click just right of
// the arrows still steps the value.
TEST_F(InspectAttrTest, NumberBoxesShowTheirValuesWholeAndTakeClicksBesideTheArrows) {
    StartPanel();
    MenuInspectAttr* panel = Panel();
    AttrBase* ride = At(14, 0);
    AttrBase* game = At(42, 1);
    ASSERT_TRUE(ride && game);
    MtGamePause(Game());
    ride->ticketPrice = 100;
    ride->info->duration = 600.0f;
    ride->info->queueWaitTime = 600.0f;
    game->info->winningOdds = 99;
    ASSERT_TRUE(HudSelect(hud, ride));
    Step(2);
    ExpectDrawnWhole(panel->price, u"100 Tickets ");
    ExpectDrawnWhole(panel->setting, u"600 Secs ");
    ExpectDrawnWhole(panel->waitTime, u"600 Secs ");
    ride->ticketPrice = 3;
    ride->info->duration = 90.0f;
    ASSERT_TRUE(HudSelect(hud, game));
    Step(2);
    ExpectDrawnWhole(panel->setting, u"99-to-1 Odds");
    ASSERT_TRUE(HudSelect(hud, ride));
    Step(2);
    ExpectDrawnWhole(panel->price, u"3 Tickets ");
    ExpectDrawnWhole(panel->setting, u"90 Secs ");

    IncDecButton* price = panel->price;
    ClickAt(price->rect.right + 6.0f, price->rect.top + 2.0f);
    EXPECT_EQ(price->value, 4) << "a click just right of the up arrow was lost";
    ClickAt(price->rect.right + 6.0f, price->rect.bottom - 2.0f);
    EXPECT_EQ(price->value, 3) << "a click just right of the down arrow was lost";
}

TEST_F(InspectAttrTest, TheRideViewFollowsASeatAndEveryWayOutGivesTheViewBack) {
    StartPanel();
    MenuInspectAttr* panel = Panel();
    ENTBASE* manager = EntTreeFindType(venue.root, "CameraVantor1");
    ASSERT_EQ(ViewCamera(), manager);

    // No ride camera in the world (the venue's own is gone): the button does nothing.
    ENTBASE* shipped = EntTreeFindType(venue.root, "CameraAttach");
    ASSERT_NE(shipped, nullptr) << "the default venue has no ride camera";
    EntDestroyTree(shipped);
    AttrBase* ride = At(14, 0);
    AttrBase* other = At(14, 1);
    AttrBase* stand = At(0, 2);
    AttrBase* zoo = At(33, 3); // a ride whose model has no seats
    ASSERT_TRUE(ride && other && stand && zoo);
    ASSERT_EQ(AttrBaseRideCamCount(ride), 12);
    ASSERT_EQ(AttrBaseRideCamCount(zoo), 0);
    HudSelect(hud, ride);
    PostClick(INSPECT_ATTR_RIDE);
    EXPECT_FALSE(panel->rideCamOn);
    EXPECT_EQ(ViewCamera(), manager);

    auto* rideCam = static_cast<CameraAttach*>(AddRideCamera());
    ASSERT_NE(rideCam, nullptr);
    // A stand and a ride without seats do nothing either.
    for (AttrBase* none : {stand, zoo}) {
        HudSelect(hud, none);
        PostClick(INSPECT_ATTR_RIDE);
        EXPECT_FALSE(panel->rideCamOn);
        EXPECT_EQ(ViewCamera(), manager);
    }

    // On the ride: the seat RandInt(12) draws, seeded.
    auto enter = [&] {
        HudSelect(hud, ride);
        CrtSrand(4242);
        const int seat = RandInt(12);
        CrtSrand(4242);
        PostClick(INSPECT_ATTR_RIDE);
        ASSERT_TRUE(panel->rideCamOn);
        EXPECT_EQ(panel->rideSeat, seat);
        EXPECT_EQ(rideCam->attached, &ride->seats[seat]);
        EXPECT_EQ(ViewCamera(), rideCam);
        EXPECT_EQ(CameraGetCurrent(), rideCam);
    };
    enter();
    ASSERT_FALSE(HasFatalFailure());
    // The view follows that seat's matrix as the ride moves it.
    ride->seats[panel->rideSeat].m[12] += 3.0f;
    CameraDesc desc = {};
    rideCam->GetCamera(&desc);
    const Mat4& seat = ride->seats[panel->rideSeat];
    EXPECT_NEAR(desc.eye.x,
                seat.m[12] + rideCam->eyeOffset.x * seat.m[0] + rideCam->eyeOffset.y * seat.m[4] +
                    rideCam->eyeOffset.z * seat.m[8],
                1e-3);

    // A drawn frame hands the ride view to the pick, so a click picks what the player sees.
    Step();
    rideCam->GetCamera(&desc);
    EXPECT_EQ(std::memcmp(PickGetCamera(), &desc.view, sizeof desc.view), 0)
        << "the pick still looks through the management camera";

    // Close, look-at, remove, another attraction and nothing each give the view back.
    const std::vector<std::pair<const char*, std::function<void()>>> ways = {
        {"close", [&] { PostClick(INSPECT_ATTR_CLOSE); }},
        {"look-at", [&] { PostClick(INSPECT_ATTR_LOOK); }},
        {"remove", [&] { PostClick(INSPECT_ATTR_REMOVE); }},
        {"another attraction", [&] { HudSelect(hud, other); }},
        {"no selection", [&] { HudSelect(hud, nullptr); }},
    };
    for (const auto& [name, leave] : ways) {
        enter();
        ASSERT_FALSE(HasFatalFailure()) << name;
        leave();
        EXPECT_FALSE(panel->rideCamOn) << name;
        EXPECT_EQ(ViewCamera(), manager) << name;
        EXPECT_EQ(CameraGetCurrent(), manager) << name;
        if (Menu3Base* question =
                dynamic_cast<Menu3Base*>(EntTreeFindName(app.GetMenus(), "MenuRemoveAttr"))) {
            EntDestroyTree(question);
            hud->SetActive();
        }
    }

    // Without the management camera the ride view is never entered (it could not be left),
    // and look-at does nothing.
    EntDestroyTree(manager);
    HudSelect(hud, ride);
    PostClick(INSPECT_ATTR_RIDE);
    PostClick(INSPECT_ATTR_LOOK);
    EXPECT_FALSE(panel->rideCamOn);
    EXPECT_NE(ViewCamera(), rideCam);
}

TEST_F(InspectAttrTest, RemoveAsksThroughTheFrameworkAndTheHudComesBackWhenItCannot) {
    StartPanel();
    MenuInspectAttr* panel = Panel();
    AttrBase* stand = At(0, 0);
    ASSERT_NE(stand, nullptr);
    HudSelect(hud, stand);
    PostClick(INSPECT_ATTR_REMOVE);
    auto* question =
        dynamic_cast<RemoveAttrDouble*>(EntTreeFindName(app.GetMenus(), "MenuRemoveAttr"));
    ASSERT_NE(question, nullptr) << "the removal question did not open";
    EXPECT_EQ(EntGetParent(question), app.GetMenus());
    EXPECT_EQ(question->args.returnMenu, panel);
    EXPECT_EQ(question->args.entities[0], stand);
    EXPECT_EQ(question->args.entities[1], hud);
    EXPECT_FALSE(hud->active);
    EXPECT_FALSE(panel->active || panel->shown);
    EXPECT_EQ(Ctl3GetFocus(), nullptr);
    EXPECT_TRUE(EntIsLive(stand)) << "the panel removed without asking";
}

TEST_F(InspectAttrTest, WithoutTheRemovalQuestionTheHudAndThePanelStayUp) {
    keepLog = true;
    StartPanel(Removal::Refused);
    MenuInspectAttr* panel = Panel();
    AttrBase* stand = At(0, 0);
    ASSERT_NE(stand, nullptr);
    HudSelect(hud, stand);
    PostClick(INSPECT_ATTR_REMOVE);
    EXPECT_TRUE(hud->active) << "the day could not go on";
    EXPECT_TRUE(panel->active && panel->shown);
    EXPECT_EQ(panel->Attraction(), stand);
    EXPECT_EQ(hud->selected.Get(), stand);
    EXPECT_NE(LogText().find("MenuInspectAttr: cannot open MenuRemoveAttr"), std::string::npos);
    // The inspected attraction destroyed (the editor, a script): the HUD closes the panel, and
    // the frame reads nothing of it.
    EntDestroyTree(stand);
    Step(2);
    EXPECT_FALSE(panel->shown);
    EXPECT_EQ(panel->Attraction(), nullptr);
}
