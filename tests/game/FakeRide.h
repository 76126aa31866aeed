// A stand-in for the attraction that owns a ride animator: an entity (class "FakeRide") that keeps
// the power grid in a cache as attractions do, and records what the animator asks of it. The
// animator's and the grid's tests drive the run states with it.
#pragma once

#include "engine/EntBase.h"
#include "engine/EntTree.h"
#include "engine/WorldClass.h"
#include "game/MtPowerGrid.h"
#include "game/RideAnimOwner.h"

#include <memory>

class FakeRide : public ENTBASE, public RideAnimOwner {
  public:
    const char* GetTypeName() override { return "FakeRide"; }
    int OnEntityRemoved(ENTBASE* gone) override {
        if (gone == grid) grid = nullptr;
        return 1;
    }
    // As an attraction goes: out of the grid it still knows, then the base destroy.
    int Destroy() override {
        if (EntIsLive(grid)) removed = MtPowerGridRemove(grid, this);
        return ENTBASE::Destroy();
    }

    ENTBASE* RideEntity() override { return this; }
    bool RideClosed() override { return closed; }
    bool RideBroken() override { return broken; }
    bool RideRiding() override { return riding; }
    float RideWear() override { return wear; }
    void RideSetWear(float value, bool initial) override {
        wear = value;
        if (initial) initialWear = value;
        ++wearWrites;
    }
    void RideStepWear(float dt) override {
        ++wearSteps;
        wearSeconds += dt;
    }
    void RideBreak() override { broken = true; }
    void RideSetSoundVolume(float volume) override { soundVolume = volume; }
    bool RideLightsOn() override { return lightsOn; }
    int RideChaserA() override { return chaserA; }
    Mat4* RideSeats() override { return seats.get(); }
    MtGame* RideGame() override { return game; }
    // The cache is checked before use, as the attraction checks its class-wide cache.
    MtPowerGrid* RidePowerGrid() override {
        return checkCache && !EntIsLive(grid) ? nullptr : grid;
    }

    bool closed = false, broken = false, riding = false, lightsOn = true;
    float wear = -1.0f, initialWear = -1.0f, wearSeconds = 0.0f, soundVolume = -1.0f;
    int wearWrites = 0, wearSteps = 0, chaserA = 0;
    // Exactly RIDE_SEAT_MAX, on the heap of its own: a write past them is caught.
    std::unique_ptr<Mat4[]> seats{new Mat4[RIDE_SEAT_MAX]()};
    MtGame* game = nullptr;
    MtPowerGrid* grid = nullptr;
    bool checkCache = true; // off: a careless owner that hands out a stale grid
    bool removed = false;
};

inline intptr_t FakeRideProc(EntNode* node, int message, intptr_t a, intptr_t b, intptr_t c) {
    static const WorldClassDef def = {"FakeRide", nullptr, WorldMake<FakeRide>, nullptr};
    return WorldClassProc(def, node, message, a, b, c);
}

// A plain entity for the top of a test tree.
inline intptr_t TestRootProc(EntNode* node, int message, intptr_t a, intptr_t b, intptr_t c) {
    static const WorldClassDef def = {"TestRoot", nullptr, WorldMake<ENTBASE>, nullptr};
    return WorldClassProc(def, node, message, a, b, c);
}

// A fresh class registry with the grid, the stand-in ride and the test root; torn down with it.
class RideTree {
  public:
    RideTree() {
        EntSystemInit();
        EntCreateClass(TestRootProc, 0, 0);
        EntCreateClass(EcMtPowerGridProc, 0, 0);
        EntCreateClass(FakeRideProc, 0, 0);
        root = EntCreateByName("TestRoot", nullptr);
    }
    ~RideTree() {
        if (root) EntDestroyTree(root);
        EntSystemShutdown();
    }
    RideTree(const RideTree&) = delete;
    RideTree& operator=(const RideTree&) = delete;

    MtPowerGrid* MakeGrid() {
        return static_cast<MtPowerGrid*>(EntCreateChild("MtPowerGrid", root));
    }
    FakeRide* MakeRide(MtPowerGrid* g = nullptr) {
        auto* ride = static_cast<FakeRide*>(EntCreateChild("FakeRide", root));
        if (ride) ride->grid = g;
        return ride;
    }

    ENTBASE* root = nullptr;
};
