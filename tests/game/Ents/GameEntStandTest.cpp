// The stand matrix kept between frames: whatever it reuses, the entity ends as a fresh stand
// leaves it, bit for bit.
#include "game/Ents/GameEntStand.h"

#include "engine/Ent3d/Ent3dBase.h"

#include <gtest/gtest.h>

#include <cstring>

TEST(GameEntStand, AKeptTurnLeavesTheEntityAsAFreshStandDoes) {
    Ent3dBase kept, fresh;
    GameEntStandMemo memo;
    struct Step {
        float yaw, x, z, offsetX;
    };
    // Walking on under one yaw, standing still, an offset in a line, a new yaw.
    const Step steps[] = {{0.7f, 1.0f, 2.0f, 0.0f},  {0.7f, 1.5f, 2.25f, 0.0f},
                          {0.7f, 1.5f, 2.25f, 0.0f}, {0.7f, 1.5f, 2.25f, 0.1f},
                          {-2.0f, 3.0f, 4.0f, 0.0f}, {-2.0f, 3.5f, 4.0f, 0.0f}};
    for (size_t i = 0; i < sizeof steps / sizeof steps[0]; ++i) {
        const Step& s = steps[i];
        kept.pos = fresh.pos = VECTOR3{s.x, 0.25f, s.z};
        // Someone else (a ride's seat) wrote the matrix since the last frame.
        if (i == 2 || i == 5) kept.matrix.m[0] = 9.0f;
        GameEntStandAgain(&kept, &memo, s.yaw, s.offsetX, 0.0f, 1.6f);
        GameEntStand(&fresh, s.yaw, s.offsetX, 0.0f, 1.6f);
        EXPECT_EQ(std::memcmp(&kept.matrix, &fresh.matrix, sizeof(Mat4)), 0)
            << "step " << i << ": the kept turn or position is not what a stand makes";
        EXPECT_EQ(std::memcmp(kept.worldBox, fresh.worldBox, sizeof kept.worldBox), 0)
            << "step " << i;
    }
}
