// The venue road's fixture and its screen doubles.
#include "tests/ui/Menus/VenueMenuFixture.h"

#include "engine/EntTree.h"
#include "engine/WorldClass.h"
#include "game/MtGame.h"
#include "ui/Menus/MenuSharedGame.h"
#include "world/CursorFrame.h"

#include <unistd.h>

#include <cstdio>

std::vector<VenueOpened> g_venueOpened;

namespace {
int s_frame = 0;

template <const char* Name>
intptr_t DoubleProc(EntNode* node, int message, intptr_t a, intptr_t b, intptr_t c) {
    switch (message) {
        case ENT_CLASS_MSG_BUILD_DB:
        case ENT_CLASS_MSG_RESET:
        case ENT_CLASS_MSG_UNREGISTER: return 0;
        case ENT_CLASS_MSG_CLASS_NAME: return WorldCopyClassName(Name, reinterpret_cast<char*>(b));
        case ENT_CLASS_MSG_CREATE: return EntProcCreate(node, new VenueScreenDouble(Name), nullptr);
        default: return EntProcForward(node, message, a, b, c);
    }
}
constexpr char kMain[] = "MenuMain";
constexpr char kLoadSandbox[] = "MenuLoadSandbox";
constexpr char kLoadLayout[] = "MenuLoadLayout";
constexpr char kCareerSummary[] = "MenuCareerSummary";
constexpr char kGameRunning[] = "MenuGameRunning";
} // namespace

int VenueScreenDouble::CopyClassName(char* buffer) {
    return WorldCopyClassName(cls.c_str(), buffer);
}

int VenueScreenDouble::Create(EntNode* node) {
    Menu3Base::Create(node);
    SetName(cls == "MenuMain" ? "MainMenu" : cls.c_str());
    g_venueOpened.push_back({cls, "", s_frame});
    return 1;
}

void VenueScreenDouble::SetOpenArgs(const MenuOpenArgs& args) {
    if (args.returnClass && !g_venueOpened.empty())
        g_venueOpened.back().returnClass = args.returnClass;
}

void VenueMenuTest::SetUp() {
    UiTest::SetUp();
    g_venueOpened.clear();
    s_frame = 0;
    registerFirst = [] {
        EntCreateClass(EcMtGameProc, 0, 0);
        EntCreateClass(DoubleProc<kMain>, 0, 0);
        EntCreateClass(DoubleProc<kLoadSandbox>, 0, 0);
        EntCreateClass(DoubleProc<kLoadLayout>, 0, 0);
        EntCreateClass(DoubleProc<kCareerSummary>, 0, 0);
        EntCreateClass(DoubleProc<kGameRunning>, 0, 0);
    };
}

void VenueMenuTest::TearDown() {
    UiTest::TearDown();
    g_venueOpened.clear();
}

void VenueMenuTest::WriteVenues(int count, const std::string& script) {
    WriteVenueScripts(std::vector<std::string>(size_t(count < 0 ? 0 : count), script));
}

std::string VenueMenuTest::WriteTestScript(const char* file, const std::string& text) {
    WriteTextFile(m_program + "Data/LoaderTests/" + file, text);
    return std::string("LoaderTests\\") + file;
}

void VenueMenuTest::WriteVenueScripts(const std::vector<std::string>& scripts) {
    const int count = int(scripts.size());
    std::string text = "[Venue]\nnum=" + std::to_string(count) + "\n";
    for (int i = 0; i < count; ++i) {
        const std::string& script = scripts[size_t(i)];
        char section[640];
        std::snprintf(section, sizeof section,
                      "[Venue%02d]\nname=Venue %d\ndescription=The description of venue %d.\n"
                      "texFileName=Menu\\Venues\\CedarCounty.dds\nscriptFile=%s\nrent=%d\n"
                      "unlockPrice=%d\nenabled=TRUE\n",
                      i, i, i, script.c_str(), (i + 1) * 10000 + 99, (i + 1) * 100000);
        text += section;
    }
    const std::string path = m_program + "Data/Venue.ini";
    unlink(path.c_str());
    WriteTextFile(path, text);
}

void VenueMenuTest::StartVenues(int32_t mode) {
    StartUi();
    if (HasFatalFailure()) return;
    ASSERT_TRUE(Game()) << "the real game object was not made";
    Game()->mode = mode;
    // The harness's own menu stays quiet behind the screens.
    EntDestroyTree(menu);
    menu = nullptr;
    g_cursorFrameIndex = 1;
}

void VenueMenuTest::Frames(int n) {
    for (int i = 0; i < n; ++i) {
        ++frame;
        s_frame = frame;
        Step();
    }
}

void VenueMenuTest::TapKey(SDL_Scancode code) {
    Key(code, true);
    Frames();
    Key(code, false);
    Frames();
}

void VenueMenuTest::ClickAt(float x, float y) {
    MouseMove(x, y);
    Frames();
    MouseButton(true);
    Frames();
    MouseButton(false);
    Frames();
}

void VenueMenuTest::ClickOn(Ctl3Base* control) {
    ASSERT_TRUE(control);
    ClickAt((control->rect.left + control->rect.right) / 2,
            (control->rect.top + control->rect.bottom) / 2);
}

MtGame* VenueMenuTest::Game() {
    return dynamic_cast<MtGame*>(EntTreeFindType(app.GetRoot(), "MtGame"));
}

Menu3Base* VenueMenuTest::Find(const char* name) {
    return dynamic_cast<Menu3Base*>(EntTreeFindName(app.GetMenus(), name));
}

Ctl3Base* VenueMenuTest::Ctl(const char* name, int32_t id) {
    Menu3Base* m = Find(name);
    return m ? m->FindCtl(id) : nullptr;
}

bool VenueMenuTest::Opened(const char* cls) {
    return OpenedCount(cls) > 0;
}

int VenueMenuTest::OpenedCount(const char* cls) {
    int n = 0;
    for (const VenueOpened& o : g_venueOpened)
        n += o.cls == cls;
    return n;
}

std::vector<std::u16string> VenueLabels(Menu3Base* menu) {
    std::vector<std::u16string> out;
    if (!menu || !menu->node) return out;
    for (EntNode* c = menu->node->firstChild; c; c = c->next)
        if (auto* control = dynamic_cast<Ctl3Base*>(c->object)) out.emplace_back(control->label);
    return out;
}

int LiveChildren(ENTBASE* entity) {
    int n = 0;
    for (EntNode* c = entity && entity->node ? entity->node->firstChild : nullptr; c; c = c->next)
        n += c->deleteCount == 0;
    return n;
}

bool VenueHasLabel(Menu3Base* menu, const std::u16string& text) {
    for (const std::u16string& label : VenueLabels(menu))
        if (label == text) return true;
    return false;
}
