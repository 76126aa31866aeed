// A ride animator of any type on a stand-in attraction and a real power grid, with no model
// unless a test names one: the per-model animator tests drive the run states through it.
#pragma once

#include "engine/Random.h"
#include "game/AttrInfo.h"
#include "game/Ents/AttrBase.h"
#include "game/Ents/RideAnim.h"
#include "tests/game/FakeRide.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

class RideRig {
  public:
    explicit RideRig(uint32_t seed = 107) {
        CrtSrand(seed);
        MsSeed(seed);
        grid = tree.MakeGrid();
        grid->Start();
        MtPowerGridUse(grid, tree.root, 1000.0f, 0.0f); // the venue's supply
        owner = tree.MakeRide(grid);
        info.conAtIdlePower = 2.0f;
        info.conAtPeakPower = 10.0f;
        info.duration = 60.0f;
        info.degRateRun = 0.01f;
        info.maxPowerGen = 0.0f;
    }
    // The member of that type index, started, on `record` (the rig's own by default); `folder`
    // and the type's "modelFileName" name its model (none by default).
    RideAnim* Build(int type, const std::string& folder = "", AttrInfo* record = nullptr) {
        anim.reset(static_cast<RideAnim*>(
            AttrBaseBuildAnimator(type, record ? record : &info, folder.c_str(), owner)));
        return anim.get();
    }
    // The ride's own demand: the grid's less the venue's nothing.
    float Demand() const { return grid->demandTotal; }

    RideTree tree;
    MtPowerGrid* grid = nullptr;
    FakeRide* owner = nullptr;
    AttrInfo info;
    std::unique_ptr<RideAnim> anim;
};

// Ticks until the state is reached: the frames it took, -1 when maxFrames were not enough.
// `draw` also draws after each update, as a frame does.
inline int TicksUntil(RideAnimCore* anim, int state, float dt, int maxFrames = 100000,
                      const Mat4* draw = nullptr) {
    for (int frame = 1; frame <= maxFrames; ++frame) {
        anim->Tick(dt);
        if (draw) anim->Draw(draw);
        if (anim->runState == state) return frame;
    }
    return -1;
}
