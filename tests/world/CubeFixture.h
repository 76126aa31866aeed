// The test board's block on a fresh registry: the cameras' fixture with "Cube1" registered and
// a stand-in "Player1" the block rolls toward.
#pragma once

#include "engine/Random.h"
#include "tests/world/CamerasFixture.h"
#include "world/Cube1.h"

class CubeTest : public CamerasTest {
  protected:
    void SetUp() override {
        CamerasTest::SetUp();
        RegisterCube();
        CrtSrand(1);
    }
    void RegisterCube() { ASSERT_EQ(EntCreateClass(EcCube1Proc, 0, 0), 0); }
    Cube1* Cube(int dx, int dy, int dz, float size = 1.0f, VECTOR3 at = {10, 0, 10}) {
        auto* c = Make<Cube1>("Cube1", world, "Cube");
        c->dims[0] = dx;
        c->dims[1] = dy;
        c->dims[2] = dz;
        c->size = size;
        c->pos = at;
        c->Start();
        return c;
    }
    StandInAvatar* Player(VECTOR3 at) {
        auto* p = Make<StandInAvatar>("StandInAvatar", world, "Player1");
        p->pos = at;
        return p;
    }
};
