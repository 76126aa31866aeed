// The attraction tests' small carnival.
#include "tests/game/Ents/AttrTestSupport.h"
#include "game/Ents/AttrBase.h"

#include "engine/EntTree.h"
#include "engine/PropDb.h"
#include "engine/Random.h"
#include "engine/WorldClass.h"
#include "game/MtGameLinks.h"

#include <cstdio>

std::vector<PatronEvent> g_patronEvents;
std::vector<float> g_delayChanges;

// ---- fake patrons ----

int FakePatron::Destroy() {
    EntTreeNotifyRemoved(EntGetRoot(this), this);
    return ENTBASE::Destroy();
}

void FakePatron::PatronPlace(AttrBase* attraction, int place, const VECTOR3* at) {
    places.push_back(place);
    if (at) entry = *at;
    if (place != ATTR_PLACE_BOARD) return;
    g_patronEvents.push_back({this, 'B', attraction});
    if (sitAtOnce) AttrBaseRiderSeated(attraction, this);
}

void FakePatron::PatronSentAway(AttrBase* attraction) {
    ++sentAway;
    g_patronEvents.push_back({this, 'A', attraction});
}

void FakePatron::PatronRideOver(AttrBase* attraction) {
    ++rideOvers;
    g_patronEvents.push_back({this, 'O', attraction});
}

void FakePatron::PatronSit(AttrBase*, int seatIndex, const Mat4* matrix) {
    ++sits;
    seat = seatIndex;
    seatMatrix = matrix;
}

// ---- the classes ----

namespace {
class NullEnt : public ENTBASE {};

// Records the spawn-delay changes; announces its removal as the real generator will.
class GenStandIn : public ENTBASE {
  public:
    const char* GetTypeName() override { return "RubeGen"; }
    int Destroy() override {
        EntTreeNotifyRemoved(EntGetRoot(this), this);
        return ENTBASE::Destroy();
    }
};

template <class T>
PropDb* NameDb() {
    static PropDb s_db;
    if (!s_db.first) {
        PropDbSetName(&s_db, "AttrTestClass");
        PropDbAddStringBlank(&s_db, "name", PROP_OFFSET(T, name), 32);
    }
    return &s_db;
}

const WorldClassDef kNull = {"TestNull", NameDb<NullEnt>, WorldMake<NullEnt>, nullptr};
const WorldClassDef kPatron = {"FakePatron", NameDb<FakePatron>, WorldMake<FakePatron>, nullptr};
const WorldClassDef kGen = {"GenStandIn", NameDb<GenStandIn>, WorldMake<GenStandIn>, nullptr};

intptr_t NullProc(EntNode* n, int m, intptr_t a, intptr_t b, intptr_t c) {
    return WorldClassProc(kNull, n, m, a, b, c);
}
intptr_t PatronProc(EntNode* n, int m, intptr_t a, intptr_t b, intptr_t c) {
    return WorldClassProc(kPatron, n, m, a, b, c);
}
intptr_t GenProc(EntNode* n, int m, intptr_t a, intptr_t b, intptr_t c) {
    return WorldClassProc(kGen, n, m, a, b, c);
}

void RecordDelay(ENTBASE*, float seconds) {
    g_delayChanges.push_back(seconds);
}

struct TypeKeys {
    const char* keys;
};

const char* const kCommon = "queueMax=8\nqueueWaitTime=10.0\nunloadDelay=0.5\nduration=5.0\n"
                            "entryOffset.z=-2.0\ndeposit=1000\ncapacity=4\nattrType=2\n"
                            "conAtIdlePower=1.0\nconAtPeakPower=2.0\nidleCost=100\n"
                            "rubeRateFactor=0.5\ninitAvgRepair=0.05\ndefTicketPrice=3\n";
const char* const kTypes[T_COUNT] = {
    "name=Ride\n",
    "name=Solo\ncapacity=1\n",
    "name=Bin\ncapacity=1\ntrash=0.5\nattrType=4\n",
    "name=Big\nconAtPeakPower=3.0\n",
    "name=Generator\nmaxPowerGen=5.0\nattrType=4\n",
    "name=NoPeak\nconAtIdlePower=0.0\nconAtPeakPower=0.0\n",
    "name=Scenery\nattrType=6\n",
    "name=Seats\ncapacity=100\nqueueMax=120\nmodelFileName=Seats80.md3\n",
    "name=Wear\ndegRateIdle=3600.0\ndegRateRun=7200.0\n",
};
} // namespace

void RegisterAttrTestClasses() {
    g_patronEvents.clear();
    g_delayChanges.clear();
    EntCreateClass(NullProc, 0, 0);
    EntCreateClass(PatronProc, 0, 0);
    EntCreateClass(GenProc, 0, 0);
    static const MtGameRubeGenLinks links = {nullptr, nullptr, RecordDelay};
    MtGameSetRubeGenLinks(&links);
}

std::string AttrTestDataIni() {
    std::string ini = "[Attraction]\nnum=" + std::to_string(T_COUNT) + "\n";
    for (int i = 0; i < T_COUNT; ++i) {
        char section[32];
        std::snprintf(section, sizeof section, "\n[Attraction%02i]\n", i);
        // The type's own keys come first: the first of two equal keys wins.
        ini += section + std::string(kTypes[i]) + kCommon;
    }
    return ini;
}

std::string SeatModelScene(int count) {
    std::string s = "model Seats80\nnode Root box 2 2 2\n";
    for (int i = 0; i < count; ++i) {
        char line[96];
        std::snprintf(line, sizeof line, "node Attach%02i parent Root translate %i 1 0\n", i, i);
        s += line;
    }
    return s;
}

// ---- the fixture ----

void AttrWorld::Build() {
    CrtSrand(7);
    MsSeed(7);
    WriteTextFile(dir / "data/Data.ini", AttrTestDataIni());
    WriteTextFile(dir / "data/Venue.ini",
                  "[Venue]\nnum=1\n\n[Venue00]\nname=Test\ndelayTimer=4.0\npowerSupply=100.0\n");
    host.data = dir / "data/";
    host.program = dir.Path();
    MtGameSetHost(&host);

    EntSystemInit();
    RegisterAttrTestClasses();
    EntCreateClass(EcMtGameProc, 0, 0);
    EntCreateClass(EcMtPowerGridProc, 0, 0);
    if (EntCreateClass(EcAttrBaseProc, 0, 0) == 0) MtGameSetAttrLinks(AttrBaseLinks());

    root = EntCreateChild("TestNull", nullptr);
    root->SetName("Root");
    game = static_cast<MtGame*>(EntCreateChild("MtGame", root));
    game->SetName("Game");
    game->Start();
    MtGameSetVenue(game, 0);
    game->venue = MtGameVenue(game);
    game->cash = 100000;
    world = EntCreateChild("TestNull", root);
    world->SetName("World");
}

void AttrWorld::Teardown() {
    EntDestroyTree(root);
    EntSystemShutdown();
    MtGameSetRubeGenLinks(nullptr);
    MtGameSetAttrLinks(nullptr);
    MtGameSetHost(nullptr);
}

AttrBase* AttrWorld::Make(int type, const char* name) {
    auto* attr = static_cast<AttrBase*>(EntCreateChild("AttrBase", world));
    if (!attr) return nullptr;
    attr->SetName(name ? name : "Attr");
    attr->SetType(type);
    attr->agl = 0;
    return attr;
}

AttrBase* AttrWorld::Place(int type, const char* name) {
    AttrBase* attr = Make(type, name);
    if (attr) attr->Start();
    return attr;
}

FakePatron* AttrWorld::Patron(bool sitAtOnce) {
    auto* p = static_cast<FakePatron*>(EntCreateChild("FakePatron", world));
    p->sitAtOnce = sitAtOnce;
    return p;
}

MtPowerGrid* AttrWorld::Grid() {
    auto* grid = static_cast<MtPowerGrid*>(EntCreateChild("MtPowerGrid", root));
    grid->SetName("Power");
    grid->Start();
    return grid;
}

ENTBASE* AttrWorld::Generator() {
    ENTBASE* gen = EntCreateChild("GenStandIn", root);
    gen->SetName("Patrons");
    return gen;
}

void AttrWorld::Frames(AttrBase* attr, int count, float dt) {
    for (int i = 0; i < count; ++i)
        attr->Update(dt);
}

bool AttrWorld::UntilState(AttrBase* attr, int state, int maxFrames, float dt) {
    for (int i = 0; i < maxFrames; ++i) {
        if (attr->attrState == state) return true;
        attr->Update(dt);
    }
    return attr->attrState == state;
}
