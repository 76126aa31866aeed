// The end-of-day screen's stand-ins and fixture.
#include "tests/ui/Menus/EndOfDayDoubles.h"

#include "engine/EntTree.h"
#include "engine/Input/SlInput.h"
#include "engine/WorldClass.h"
#include "game/MtGame.h"
#include "ui/Menus/MenuEndOfDay.h"
#include "ui/StaticText.h"

#include <cstdio>
#include <fstream>
#include <sstream>

namespace {
std::vector<EndOfDayStandIn*> s_opened;

const char* const kStandIns[] = {"MenuInGameConfirm", "MenuSandboxSave"};

template <int I>
ENTBASE* MakeStandIn() {
    return new EndOfDayStandIn(kStandIns[I]);
}

template <int I>
intptr_t StandInProc(EntNode* node, int message, intptr_t a, intptr_t b, intptr_t c) {
    static const WorldClassDef def = {kStandIns[I], nullptr, MakeStandIn<I>, nullptr};
    return WorldClassProc(def, node, message, a, b, c);
}
} // namespace

int EndOfDayStandIn::Create(EntNode* node) {
    Menu3Base::Create(node);
    SetName(m_class);
    return 1;
}

int EndOfDayStandIn::Start() {
    s_opened.push_back(this);
    return 1;
}

void EndOfDayStandIn::SetOpenArgs(const MenuOpenArgs& args) {
    returnClass = args.returnClass ? args.returnClass : "";
    returnMenu = EntRef(args.returnMenu);
}

void EndOfDayStandIn::Cancel() {
    if (ENTBASE* back = returnMenu.Get()) back->SetActive();
    EntDestroyTree(this);
}

// ---- the fixture ----

std::vector<EndOfDayStandIn*>& EndOfDayTest::Opened() {
    return s_opened;
}

void EndOfDayTest::SetUp() {
    ReportTest::SetUp();
    s_opened.clear();
    auto reports = registerFirst;
    registerFirst = [reports] {
        reports();
        EntCreateClass(StandInProc<0>, 0, 0);
        EntCreateClass(StandInProc<1>, 0, 0);
    };
}

void EndOfDayTest::TearDown() {
    ReportTest::TearDown();
    s_opened.clear();
}

void EndOfDayTest::StartDay(int32_t mode, const char* career, int32_t start, int32_t cash) {
    StartReports();
    MtGame* game = Game();
    ASSERT_NE(game, nullptr);
    game->mode = mode;
    std::snprintf(game->career.name, sizeof game->career.name, "%s", career);
    game->career.cash = start;
    game->cash = cash;
    game->onDeposit = 0;
}

MenuEndOfDay* EndOfDayTest::OpenSummary() {
    MenuEndOfDay* made = MenuEndOfDayOpen(Menus(), hud);
    Step();
    return made;
}

std::vector<std::u16string> EndOfDayTest::Texts(ENTBASE* menu) {
    std::vector<std::u16string> out;
    if (!menu || !menu->node) return out;
    for (EntNode* n = menu->node->firstChild; n; n = n->next)
        if (auto* t = dynamic_cast<StaticText*>(n->object)) out.emplace_back(t->label);
    return out;
}

void EndOfDayTest::Press(int32_t id) {
    SlPostEvent(CTL3_EVENT, id, CTL3_CLICK);
    Step();
}

std::string EndOfDayTest::ReadText(const std::string& path) const {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

int EndOfDayTest::Children(ENTBASE* entity) {
    int count = 0;
    if (entity && entity->node)
        for (EntNode* n = entity->node->firstChild; n; n = n->next)
            ++count;
    return count;
}
