// The career screens' stand-ins and fixture.
#include "tests/ui/Menus/CareerMenuDoubles.h"

#include "I3d/Primitives.h"
#include "engine/EntTree.h"
#include "engine/Input/SlInput.h"
#include "engine/WorldClass.h"
#include "game/MtGame.h"
#include "ui/Ctl3Draw.h"
#include "ui/StaticText.h"

#include <cstdio>
#include <sys/stat.h>

namespace {
std::vector<CareerOpened> s_opened;

const char* const kStandIns[] = {"MenuMain",    "MenuLoadCareer",  "MenuMidwaySelector",
                                 "MenuSandbox", "MenuGameRunning", "MenuVenueSetup"};

template <int I>
ENTBASE* MakeStandIn() {
    return new CareerStandIn(kStandIns[I]);
}

template <int I>
intptr_t StandInProc(EntNode* node, int message, intptr_t a, intptr_t b, intptr_t c) {
    static const WorldClassDef def = {kStandIns[I], nullptr, MakeStandIn<I>, nullptr};
    return WorldClassProc(def, node, message, a, b, c);
}

const EntClassProc kStandInProcs[] = {StandInProc<0>, StandInProc<1>, StandInProc<2>,
                                      StandInProc<3>, StandInProc<4>, StandInProc<5>};
} // namespace

int CareerStandIn::Create(EntNode* node) {
    Menu3Base::Create(node);
    SetName(m_class);
    return 1;
}

int CareerStandIn::Start() {
    s_opened.push_back({m_class, returnClass});
    return 1;
}

int CareerStandIn::DrawPre() {
    if (std::string(m_class) == "MenuGameRunning") {
        Ctl3Set2DStates(-1, kCareerWorldGreen);
        I3dDrawQuad(0, 0, 1024, 768, 0);
    }
    return shown;
}

int CareerStandIn::OnMessage(const SlEvent* event) {
    if (!active) return 2;
    if (event && event->type == SL_MENUBACK && std::string(m_class) == "MenuMidwaySelector" &&
        !returnClass.empty()) {
        SetNextClass(returnClass.c_str());
        return SpawnChildClass() ? 0 : 1;
    }
    return 1;
}

void CareerStandIn::SetActive() {
    if (watched) flagWhenActive = *watched;
    Menu3Base::SetActive();
}

void CareerStandIn::SetOpenArgs(const MenuOpenArgs& args) {
    returnClass = args.returnClass ? args.returnClass : "";
}

// ---- the fixture ----

std::vector<CareerOpened>& CareerMenuTest::Opened() {
    return s_opened;
}

void CareerMenuTest::SetUp() {
    UiTest::SetUp();
    s_opened.clear();
}

void CareerMenuTest::TearDown() {
    UiTest::TearDown();
    s_opened.clear();
}

void CareerMenuTest::StartCareerUi(const std::string& body) {
    registerFirst = [] {
        EntCreateClass(EcMtGameProc, 0, 0);
        for (EntClassProc proc : kStandInProcs)
            EntCreateClass(proc, 0, 0);
    };
    StartUi(body);
    mkdir(Saves().c_str(), 0755);
}

Menu3Base* CareerMenuTest::Open(const char* className) {
    Menu3Base* made = MenuOpen(className, app.GetMenus(), nullptr);
    Step();
    Forget();
    return made;
}

Menu3Base* CareerMenuTest::Shown(const char* name) {
    return ShownMenu(name);
}

MtGame* CareerMenuTest::Game() {
    return dynamic_cast<MtGame*>(EntTreeFindType(app.GetRoot(), "MtGame"));
}

std::vector<std::u16string> CareerMenuTest::Texts(ENTBASE* menu) {
    std::vector<std::u16string> out;
    if (!menu || !menu->node) return out;
    for (EntNode* n = menu->node->firstChild; n; n = n->next)
        if (auto* t = dynamic_cast<StaticText*>(n->object)) out.emplace_back(t->label);
    return out;
}
