// Test entity classes shared by the framework's tests.
#include "tests/engine/EntTestClasses.h"

#include "engine/EntIniLoader.h"
#include "engine/PropDb.h"

#include <cstddef>
#include <cstdio>
#include <cstring>
#include <new>

std::vector<std::string> g_journal;
std::function<void(TestEnt*)> TestEnt::onAnyStart;
std::function<void(TestEnt*)> TestEnt::onAnyDestroy;

std::string Journal() {
    std::string all;
    for (const std::string& e : g_journal)
        all += (all.empty() ? "" : " ") + e;
    return all;
}

namespace {
void Note(const char* what, ENTBASE* e) {
    g_journal.push_back(std::string(what) + ":" + e->GetName());
}

struct ClassInfo {
    const char* name;
    PropDb db;
    DataDir dir;
};

ClassInfo& Info(int k) {
    static ClassInfo s_infos[3] = {{"Rider", {}, {}}, {"Booth", {}, {}}, {"Lamp", {}, {}}};
    return s_infos[k];
}

void BuildDb(PropDb* db, const char* name) {
    if (db->first) return; // built once per run; registration may happen in every test
    PropDbSetName(db, name);
    PropDbAddStringBlank(db, "name", PROP_OFFSET(TestEnt, name), 32);
    PropDbAddInt(db, "score", PROP_OFFSET(TestEnt, score), 0);
    PropDbAddFloat(db, "speed", PROP_OFFSET(TestEnt, speed), 0.0f);
    PropDbAddAngle(db, "heading", PROP_OFFSET(TestEnt, heading), 0.0f);
    PropDbAddBool(db, "flag", PROP_OFFSET(TestEnt, flag), 0);
    PropDbAddStringBlank(db, "title", PROP_OFFSET(TestEnt, title), 16);
}

template <int K>
intptr_t Proc(EntNode* node, int message, intptr_t a, intptr_t b, intptr_t c) {
    ClassInfo& info = Info(K);
    switch (message) {
        case ENT_CLASS_MSG_BUILD_DB:
            BuildDb(&info.db, info.name);
            DataDirSetFromFile(&info.dir, reinterpret_cast<const char*>(b));
            return 0;
        case ENT_CLASS_MSG_RESET: return EntSourceFilesClear();
        case ENT_CLASS_MSG_UNREGISTER: return 0;
        case ENT_CLASS_MSG_CLASS_NAME:
            std::snprintf(reinterpret_cast<char*>(b), 64, "%s", info.name);
            return 0;
        case ENT_CLASS_MSG_CREATE: {
            auto* e = new TestEnt(info.name);
            PropDbInitObject(&info.db, e);
            return EntProcCreate(node, e, &info.db);
        }
        default: return EntProcForward(node, message, a, b, c);
    }
}
} // namespace

int TestEnt::CopyClassName(char* buffer) {
    std::snprintf(buffer, 64, "%s", type);
    return 0;
}
int TestEnt::Start() {
    Note("Start", this);
    if (onAnyStart) onAnyStart(this);
    if (onStart) onStart(this);
    return 1;
}
int TestEnt::Destroy() {
    Note("Destroy", this);
    if (onAnyDestroy) onAnyDestroy(this);
    return ENTBASE::Destroy();
}
int TestEnt::Update(float) {
    Note("Update", this);
    int answer = updateAnswer;
    if (onUpdate) onUpdate(this); // may destroy this entity: the answer was read before
    return answer;
}
int TestEnt::DrawPre() {
    Note("DrawPre", this);
    return drawPreAnswer;
}
int TestEnt::Draw() {
    Note("Draw", this);
    return 1;
}
int TestEnt::OnEntityRemoved(ENTBASE*) {
    Note("Heard", this);
    return 1;
}
int TestEnt::OnMessage(const SlEvent*) {
    Note("Message", this);
    intptr_t answer = messageAnswer;
    if (onMessage) onMessage(this); // may destroy this entity: the answer was read before
    return (int)answer;
}
int TestEnt::OnGameEvent(int, intptr_t) {
    Note("Event", this);
    return eventAnswer;
}
int TestEnt::LoadVars(const char* path, int* outFlag) {
    VarDbLoadIni(classDb, this, path, name);
    if (outFlag) *outFlag = 0;
    return 1;
}
int TestEnt::SaveVars(const char* path) {
    VarDbSaveIni(classDb, this, path, name);
    return 1;
}

intptr_t RiderProc(EntNode* node, int message, intptr_t a, intptr_t b, intptr_t c) {
    return Proc<0>(node, message, a, b, c);
}
intptr_t BoothProc(EntNode* node, int message, intptr_t a, intptr_t b, intptr_t c) {
    return Proc<1>(node, message, a, b, c);
}
intptr_t LampProc(EntNode* node, int message, intptr_t a, intptr_t b, intptr_t c) {
    return Proc<2>(node, message, a, b, c);
}
const DataDir& RiderDataDir() {
    return Info(0).dir;
}

intptr_t RefuserProc(EntNode*, int message, intptr_t, intptr_t b, intptr_t) {
    if (message == ENT_CLASS_MSG_CLASS_NAME)
        std::snprintf(reinterpret_cast<char*>(b), 64, "Refuser");
    return message == ENT_CLASS_MSG_CREATE ? -1 : 0;
}

namespace {
class RebornEnt : public TestEnt {
  public:
    RebornEnt() : TestEnt("Reborn") {}
    static void* operator new(size_t size) {
        if (s_taken || size > sizeof s_slot) throw std::bad_alloc();
        s_taken = true;
        return s_slot;
    }
    static void operator delete(void*) { s_taken = false; }

  private:
    alignas(std::max_align_t) static unsigned char s_slot[512];
    static bool s_taken;
};
alignas(std::max_align_t) unsigned char RebornEnt::s_slot[512];
bool RebornEnt::s_taken = false;
} // namespace

intptr_t RebornProc(EntNode* node, int message, intptr_t a, intptr_t b, intptr_t c) {
    switch (message) {
        case ENT_CLASS_MSG_CLASS_NAME:
            std::snprintf(reinterpret_cast<char*>(b), 64, "Reborn");
            return 0;
        case ENT_CLASS_MSG_CREATE: return EntProcCreate(node, new RebornEnt, nullptr);
        case ENT_CLASS_MSG_BUILD_DB:
        case ENT_CLASS_MSG_RESET:
        case ENT_CLASS_MSG_UNREGISTER: return 0;
        default: return EntProcForward(node, message, a, b, c);
    }
}

void RegisterTestClasses() {
    EntSystemShutdown();
    EntSystemInit();
    EntSourceFilesClear();
    g_journal.clear();
    TestEnt::onAnyStart = nullptr;
    TestEnt::onAnyDestroy = nullptr;
    EntCreateClass(RiderProc, 0, 0);
    EntCreateClass(BoothProc, 0, 0);
    EntCreateClass(LampProc, 0, 0);
    EntCreateClass(RefuserProc, 0, 0);
}

TestEnt* MakeEnt(const char* className, ENTBASE* parent, const char* name) {
    auto* e = static_cast<TestEnt*>(EntCreateChild(className, parent));
    if (e) e->SetName(name);
    return e;
}
