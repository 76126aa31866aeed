// The front-end tests' stand-ins and fixture.
#include "tests/ui/Menus/FrontEndStandIns.h"

#include "engine/DebugLog.h"
#include "engine/Input/SlInput.h"
#include "engine/WorldClass.h"
#include "game/MtGame.h"
#include "ui/Menus/MenuInGame.h"

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>

std::vector<StandInRecord> g_standIns;

int StandInMenu::Create(EntNode* node) {
    Menu3Base::Create(node);
    SetName(std::string(m_class) == "MenuInGameConfirm" ? "InGameConfirmExit" : m_class);
    g_standIns.push_back({m_class, nullptr, "", -1});
    return 1;
}

void StandInMenu::SetOpenArgs(const MenuOpenArgs& args) {
    caller = args.returnMenu;
    for (auto it = g_standIns.rbegin(); it != g_standIns.rend(); ++it)
        if (it->className == m_class) {
            it->returnMenu = args.returnMenu;
            it->returnClass = args.returnClass ? args.returnClass : "";
            it->flag = args.out[0] ? *static_cast<uint8_t*>(args.out[0]) : -1;
            break;
        }
}

int StandInMenu::OnMessage(const SlEvent* event) {
    if (!active) return 0;
    if (event && event->type != SL_PADSTATE) heard.push_back(*event);
    return 1;
}

void StandInMenu::Close() {
    ENTBASE* back = EntIsLive(caller) ? caller : nullptr;
    EntDestroyTree(this);
    if (back) back->SetActive();
}

int HudStandIn::OnMessage(const SlEvent* event) {
    if (!active) return 2;
    if (event && (event->type == SL_MENUBACK || event->type == SL_PADSTART)) {
        if (MenuInGameOpen(EntGetParent(this), this)) ClearActive();
        return 0;
    }
    return 1;
}

namespace {
const char* const kStandIns[] = {"MenuSandbox",    "MenuCareer",      "MenuOptionsVideo",
                                 "MenuLayoutSave", "MenuSandboxSave", "MenuInGameConfirm",
                                 "MenuGameRunning"};

template <int N>
intptr_t StandInProc(EntNode* node, int message, intptr_t a, intptr_t b, intptr_t c) {
    const char* name = kStandIns[N];
    switch (message) {
        case ENT_CLASS_MSG_BUILD_DB:
        case ENT_CLASS_MSG_RESET:
        case ENT_CLASS_MSG_UNREGISTER: return 0;
        case ENT_CLASS_MSG_CLASS_NAME:
            std::snprintf(reinterpret_cast<char*>(b), 64, "%s", name);
            return 0;
        case ENT_CLASS_MSG_CREATE: {
            ENTBASE* made = std::string(name) == "MenuGameRunning"
                                ? static_cast<ENTBASE*>(new HudStandIn)
                                : static_cast<ENTBASE*>(new StandInMenu(name));
            return EntProcCreate(node, made, nullptr);
        }
        default: return EntProcForward(node, message, a, b, c);
    }
}

const EntClassProc kProcs[] = {StandInProc<0>, StandInProc<1>, StandInProc<2>, StandInProc<3>,
                               StandInProc<4>, StandInProc<5>, StandInProc<6>};

std::string s_refused;
intptr_t RefusedProc(EntNode*, int message, intptr_t, intptr_t b, intptr_t) {
    switch (message) {
        case ENT_CLASS_MSG_CLASS_NAME:
            std::snprintf(reinterpret_cast<char*>(b), 64, "%s", s_refused.c_str());
            return 0;
        case ENT_CLASS_MSG_CREATE: return -1;
        default: return 0;
    }
}
} // namespace

void RegisterFrontEndStandIns(const std::string& skip) {
    for (size_t i = 0; i < sizeof kProcs / sizeof kProcs[0]; ++i)
        if (skip != kStandIns[i]) EntCreateClass(kProcs[i], 0, 0);
}

void RegisterRefusedClass(const char* className) {
    s_refused = className;
    EntCreateClass(RefusedProc, 0, 0);
}

// ---- the fixture ----

void FrontEndTest::SetUp() {
    UiTest::SetUp();
    g_standIns.clear();
    keepLog = true;
}

void FrontEndTest::TearDown() {
    UiTest::TearDown();
    g_standIns.clear();
}

void FrontEndTest::StartFrontEnd(const std::string& body) {
    registerFirst = [this] {
        if (extraFirst) extraFirst();
        EntCreateClass(EcMtGameProc, 0, 0);
        RegisterFrontEndStandIns(skipStandIn);
    };
    StartUi(body);
}

void FrontEndTest::StartWith(const char* className) {
    StartFrontEnd(std::string("local m = Entity.Create (\"") + className +
                  "\", Game.GetMenuEntity ())\nif m then Entity.Start (m) end\n");
}

void FrontEndTest::StepSixtieth(int frames) {
    for (int i = 0; i < frames; ++i) {
        // Whole microseconds that add up to 1/60 s on average: the clock counts milliseconds.
        const uint64_t before = m_sixtiethUs * 1000000 / 60;
        ++m_sixtiethUs;
        clock.AdvanceUs(m_sixtiethUs * 1000000 / 60 - before);
        Frame();
    }
    SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
}

Menu3Base* FrontEndTest::FindClass(const char* className) {
    return dynamic_cast<Menu3Base*>(EntTreeFindType(app.GetMenus(), className));
}

Menu3Base* FrontEndTest::Screen() {
    ENTBASE* menus = app.GetMenus();
    for (EntNode* n = menus && menus->node ? menus->node->firstChild : nullptr; n; n = n->next) {
        auto* m = dynamic_cast<Menu3Base*>(n->object);
        if (m && n->deleteCount == 0) return m;
    }
    return nullptr;
}

int FrontEndTest::LogCount(const std::string& text) const {
    const std::string log = LogText();
    int count = 0;
    for (size_t at = log.find(text); at != std::string::npos; at = log.find(text, at + 1))
        ++count;
    return count;
}

void FrontEndTest::Press(SDL_Scancode code) {
    Key(code, true);
    StepSixtieth();
    Key(code, false);
    StepSixtieth();
}

void FrontEndTest::PostClick(int32_t id) {
    SlPostEvent(CTL3_EVENT, id, CTL3_CLICK);
}

namespace {
// The folder becomes a real one whose entries link to where the link pointed.
void Unlink(const std::string& folder) {
    char target[4096];
    const ssize_t n = readlink(folder.c_str(), target, sizeof target - 1);
    if (n <= 0) return;
    target[n] = 0;
    const std::string from = std::string(target) + "/";
    ASSERT_EQ(unlink(folder.c_str()), 0) << folder;
    ASSERT_EQ(mkdir(folder.c_str(), 0755), 0) << folder;
    DIR* dir = opendir(from.c_str());
    ASSERT_TRUE(dir) << from;
    while (dirent* e = readdir(dir)) {
        const std::string name = e->d_name;
        if (name == "." || name == "..") continue;
        ASSERT_EQ(symlink((from + name).c_str(), (folder + "/" + name).c_str()), 0) << name;
    }
    closedir(dir);
}
} // namespace

void FrontEndTest::HideDataFile(const std::string& path) {
    std::string at = m_program + "Data";
    for (size_t start = 0, slash; (slash = path.find('/', start)) != std::string::npos;
         start = slash + 1) {
        at += "/" + path.substr(start, slash - start);
        Unlink(at);
    }
    // A link to the build's file: never written through.
    unlink((m_program + "Data/" + path).c_str());
}

void FrontEndTest::ShadowDataFile(const std::string& path, const std::string& text) {
    HideDataFile(path);
    WriteTextFile(m_program + "Data/" + path, text);
}

void FrontEndTest::StartShipped(const std::string& startup) {
    const std::string log = m_dir / "UiLog.txt";
    g_makeEditor = [log]() -> Editor* {
        DbgSetLogFile(log.c_str());
        DbgSetOutputMask(DBG_OUT_FILE);
        DbgSetLevelMask(0xFFFFFFFFu);
        return nullptr;
    };
    WriteStartup(startup);
    Start();
}
