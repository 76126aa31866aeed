// A small carnival for the attraction tests: a game object reading test types from a scratch
// data folder, fake patrons that record what they are told, a stand-in patron generator that
// records the spawn-delay changes, and a power grid on demand.
#pragma once

#include "game/Ents/AttrBase.h"
#include "game/Ents/AttrPatron.h"
#include "game/MtGame.h"
#include "game/MtGameHost.h"
#include "game/MtPowerGrid.h"
#include "game/VenueInfo.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

// The test types of the scratch "Data.ini", by index.
enum TestType {
    T_RIDE = 0,    // capacity 4, line 8, wait 10 s, unload 0.5 s, ride 5 s, no model
    T_SOLO = 1,    // capacity 1, otherwise the ride
    T_BIN = 2,     // "trash" 0.5
    T_BIG = 3,     // peak power 3.0: trips on overload
    T_GEN = 4,     // a generator (maxPowerGen 5): trips on overload
    T_NOPEAK = 5,  // peak power 0: never fails on overload
    T_SCENERY = 6, // attrType 6: never picked
    T_SEATS = 7,   // capacity 100, the 80-seat model "Seats80.md3"
    T_WEAR = 8,    // wears 3600 per hour idle (1 a second), 7200 more riding
    T_COUNT = 9
};

// One patron: what it was told, in order. Seated at once when told to board, unless held.
class FakePatron : public ENTBASE, public AttrPatron {
  public:
    const char* GetTypeName() override { return "FakePatron"; }
    int Destroy() override;

    ENTBASE* PatronEntity() override { return this; }
    void PatronPlace(AttrBase* attraction, int place, const VECTOR3* entry) override;
    void PatronSentAway(AttrBase* attraction) override;
    void PatronRideOver(AttrBase* attraction) override;
    void PatronSit(AttrBase* attraction, int seat, const Mat4* seatMatrix) override;

    bool sitAtOnce = true;
    std::vector<int> places; // every place told, ATTR_PLACE_BOARD included
    int sentAway = 0, rideOvers = 0, sits = 0;
    int seat = -1;
    const Mat4* seatMatrix = nullptr;
    VECTOR3 entry = {};
};

// Everything patrons were told, in order: 'B' board, 'A' sent away, 'O' ride over.
struct PatronEvent {
    FakePatron* patron;
    char what;
    AttrBase* attraction;
};
extern std::vector<PatronEvent> g_patronEvents;

// The generator's spawn-delay changes, in order.
extern std::vector<float> g_delayChanges;

class TestGameHost : public MtGameHost {
  public:
    void SetClockSpeed(float) override {}
    std::string DataFolder() override { return data; }
    std::string ProgramFolder() override { return program; }
    int RunScriptFile(const char*) override { return -1; }
    std::string data, program;
};

// Registers the fake patron, generator stand-in and null classes (after EntSystemInit).
void RegisterAttrTestClasses();
// The types above as "Data.ini" text.
std::string AttrTestDataIni();
// The description of a model with `count` attach nodes on a 2 x 2 x 2 box.
std::string SeatModelScene(int count);

// The carnival: "Root" with "Game" (the test types, venue 0 with supply 100 and a delay of 4 s)
// and "World"; the random numbers seeded.
class AttrWorld {
  public:
    void Build();
    void Teardown();

    // An attraction of that type under "World", started.
    AttrBase* Place(int type, const char* name = nullptr);
    // Made but not started.
    AttrBase* Make(int type, const char* name = nullptr);
    FakePatron* Patron(bool sitAtOnce = true);
    // A started grid under the root.
    MtPowerGrid* Grid();
    ENTBASE* Generator();
    // Frames of the attraction alone.
    void Frames(AttrBase* attr, int count, float dt = 0.1f);
    // Frames until the state is reached; false when maxFrames were not enough.
    bool UntilState(AttrBase* attr, int state, int maxFrames = 10000, float dt = 0.1f);

    TempDir dir;
    TestGameHost host;
    ENTBASE* root = nullptr;
    MtGame* game = nullptr;
    ENTBASE* world = nullptr;
};

class AttrTest : public ::testing::Test, public AttrWorld {
  protected:
    void SetUp() override { Build(); }
    void TearDown() override { Teardown(); }
};
