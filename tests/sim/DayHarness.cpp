// The headless day harness and its stand-in entities.
#include "tests/sim/DayHarness.h"

#include "engine/DebugLog.h"
#include "engine/EntIniLoader.h"
#include "engine/EntTree.h"
#include "engine/FrameClock.h"
#include "engine/PropDb.h"
#include "engine/Random.h"
#include "engine/Script/ScriptLibs.h"
#include "engine/Script/ScriptMgr.h"
#include "engine/WorldClass.h"
#include "game/MtGameLinks.h"

#include <cmath>
#include <cstdlib>
#include <cstring>

// ---- hosts ----

void SimGameHost::SetClockSpeed(float factor) {
    speeds.push_back(factor);
    if (clock) FrameClockSetScale(clock, (int32_t)std::trunc((double)factor * 1024.0));
}

int SimGameHost::RunScriptFile(const char* path) {
    LuaScript* script = LuaScriptNew();
    if (!script) return -1;
    script->SetAutoDelete(1);
    if (script->RunFile(path) != 1) return -1;
    // An error before the first wait has already finished the script.
    return script->runFailed ? -1 : 1;
}

int SimScriptHost::LoadEntitiesIni(const char* path) {
    return EntLoadEntitiesIni(path, root, world, data.c_str());
}

// ---- the harness's own classes ----

namespace {
// The plain container of the root tree.
class SimNull : public ENTBASE {};

PropDb* NullDb() {
    static PropDb s_db;
    if (!s_db.first) {
        PropDbSetName(&s_db, "EntNull");
        PropDbAddStringBlank(&s_db, "name", PROP_OFFSET(SimNull, name), 32);
    }
    return &s_db;
}
const WorldClassDef kNull = {"EntNull", NullDb, WorldMake<SimNull>, nullptr};
intptr_t NullProc(EntNode* node, int message, intptr_t a, intptr_t b, intptr_t c) {
    return WorldClassProc(kNull, node, message, a, b, c);
}

// Hears the game events at the root and notes the game clock of each.
std::vector<SimEvent> s_events;
MtGame* s_eventGame = nullptr;

class SimEventLog : public ENTBASE {
  public:
    int OnGameEvent(int event, intptr_t) override {
        if (event == GE_HOURLY || event == GE_END_OF_DAY)
            s_events.push_back({event, EntIsLive(s_eventGame) ? s_eventGame->gameTime : -1.0f});
        return 1;
    }
};
PropDb* EventDb() {
    static PropDb s_db;
    if (!s_db.first) {
        PropDbSetName(&s_db, "SimEventLog");
        PropDbAddStringBlank(&s_db, "name", PROP_OFFSET(SimEventLog, name), 32);
    }
    return &s_db;
}
const WorldClassDef kEventLog = {"SimEventLog", EventDb, WorldMake<SimEventLog>, nullptr};
intptr_t EventLogProc(EntNode* node, int message, intptr_t a, intptr_t b, intptr_t c) {
    return WorldClassProc(kEventLog, node, message, a, b, c);
}

// Stand-ins: message 6 takes the type name in a.
PropDb* StandInDb() {
    static PropDb s_db;
    if (!s_db.first) {
        PropDbSetName(&s_db, "SimStandIn");
        PropDbAddStringBlank(&s_db, "name", PROP_OFFSET(SimStandIn, name), 32);
    }
    return &s_db;
}
intptr_t StandInProc(EntNode* node, int message, intptr_t a, intptr_t b, intptr_t c) {
    switch (message) {
        case ENT_CLASS_MSG_BUILD_DB: StandInDb(); return 0;
        case ENT_CLASS_MSG_CLASS_NAME:
            return WorldCopyClassName("SimStandIn", reinterpret_cast<char*>(b));
        case ENT_CLASS_MSG_CREATE: {
            const char* type = a ? reinterpret_cast<const char*>(a) : "SimStandIn";
            return EntProcCreate(node, new SimStandIn(type), StandInDb());
        }
        default:
            return WorldClassProc({"SimStandIn", StandInDb, nullptr, nullptr}, node, message, a, b,
                                  c);
    }
}

void StandInStartOfDay(ENTBASE* attraction) {
    ++static_cast<SimStandIn*>(attraction)->startOfDays;
}
int StandInValue(ENTBASE* attraction) {
    return static_cast<SimStandIn*>(attraction)->value;
}
void StandInAddExtra(ENTBASE* generator, int extra) {
    auto* gen = static_cast<SimStandIn*>(generator);
    gen->extraCalls.push_back(extra);
    gen->extras += extra;
}
bool StandInSpawnPosition(ENTBASE* generator, VECTOR3* out) {
    *out = static_cast<SimStandIn*>(generator)->pos;
    return true;
}

void SetEnv(const char* name, const std::string& value, bool* had, std::string* old) {
    const char* now = std::getenv(name);
    *had = now != nullptr;
    if (now) *old = now;
    setenv(name, value.c_str(), 1);
}
void RestoreEnv(const char* name, bool had, const std::string& old) {
    if (had)
        setenv(name, old.c_str(), 1);
    else
        unsetenv(name);
}
} // namespace

bool SimStandIn::SetFloat(const char* name, float value) {
    floats[name] = value;
    if (std::strcmp(name, "time") == 0) time = value;
    return true;
}

void SimRegisterStandIns() {
    if (!EntClassFind("SimStandIn")) EntCreateClass(StandInProc, 0, 0);
    static const MtGameAttrLinks attr = {StandInStartOfDay, StandInValue};
    static const MtGameRubeGenLinks gen = {StandInAddExtra, StandInSpawnPosition, nullptr};
    MtGameSetAttrLinks(&attr);
    MtGameSetRubeGenLinks(&gen);
}

SimStandIn* MakeStandIn(ENTBASE* parent, const char* type, const char* name) {
    EntNode* node = EntCreate("SimStandIn", parent ? parent->node : nullptr,
                              reinterpret_cast<intptr_t>(type), 0, 0);
    auto* made = node ? static_cast<SimStandIn*>(node->object) : nullptr;
    if (made) made->SetName(name ? name : type);
    return made;
}

// ---- the harness ----

DayHarness::DayHarness() : DayHarness(Options{}) {}

DayHarness::DayHarness(const Options& opts) : options(opts) {
    if (options.data.empty()) options.data = FAIRLARK_BUILD_DATA_DIR;
    WriteTextFile(dir / "home/Documents/.keep", "");
    SetEnv("HOME", dir / "home", &m_hadHome, &m_oldHome);
    SetEnv("XDG_DOCUMENTS_DIR", dir / "home/Documents", &m_hadDocuments, &m_oldDocuments);
    CrtSrand(options.seed);
    MsSeed(options.seed);
    s_events.clear();

    host.clock = FrameClockNew();
    host.data = options.data;
    host.program = dir / "program/";
    MtGameSetHost(&host);

    EntSystemInit();
    if (ScriptMgr* mgr = ScriptMgrGet()) {
        LuaOpenEntityLib(mgr->L);
        LuaOpenSystemLib(mgr->L);
        scriptHost.data = options.data;
        LuaOpenGameLib(mgr->L, &scriptHost);
    }
    ScriptSetStartDayHook(MtGameStartDay);
    EntCreateClass(NullProc, 0, 0);
    EntCreateClass(EventLogProc, 0, 0);
    EntCreateClass(EcMtGameProc, 0, 0);

    // The application's order: the game is made and started before the world exists.
    root = EntCreateChild("EntNull", nullptr);
    root->SetName("Root");
    game = static_cast<MtGame*>(EntCreateChild("MtGame", root));
    game->SetName("Game");
    game->Start();
    world = EntCreateChild("EntNull", root);
    world->SetName("World");
    first = EntCreateChild("EntNull", world);
    first->SetName("First");
    recorder = EntCreateChild("SimEventLog", root);
    recorder->SetName("Events");
    s_eventGame = game;
    scriptHost.root = root;
    scriptHost.world = world;
}

DayHarness::~DayHarness() {
    EntDestroyTree(root);
    s_eventGame = nullptr;
    ScriptSetStartDayHook(nullptr);
    MtGameSetAttrLinks(nullptr);
    MtGameSetRubeGenLinks(nullptr);
    ScriptMgrDestroy();
    EntSystemShutdown();
    MtGameSetHost(nullptr);
    FrameClockFree(host.clock);
    RestoreEnv("HOME", m_hadHome, m_oldHome);
    RestoreEnv("XDG_DOCUMENTS_DIR", m_hadDocuments, m_oldDocuments);
}

void DayHarness::Frame() {
    ScriptMgrUpdate(options.dt);
    if (EntIsLive(root)) EntTreeUpdate(root, options.dt);
}

void DayHarness::Frames(int count) {
    for (int i = 0; i < count; ++i)
        Frame();
}

void DayHarness::OpenDay() {
    game->dayOver = 0;
    game->chargeCostsPending = 1;
}

int DayHarness::RunToDayOver(int maxFrames) {
    for (int i = 1; i <= maxFrames; ++i) {
        Frame();
        if (!EntIsLive(game) || game->dayOver) return i;
    }
    return -1;
}

std::string DayHarness::Log() const {
    return log.Text();
}

const std::vector<SimEvent>& DayHarness::Events() const {
    return s_events;
}
