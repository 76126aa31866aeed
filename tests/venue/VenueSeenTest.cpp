// The default venue as the game draws it, headless: sky above, ground below, and attractions
// placed in front of the camera showing where they stand.
#include "I3d/Math/Mat4Math.h"
#include "engine/EntTree.h"
#include "game/Ents/AttrBase.h"
#include "game/Ents/GameGrid.h"
#include "platform/d3d8/D3d8.h"
#include "tests/support/TexturedQuad.h"
#include "tests/venue/VenueFixture.h"
#include "tests/venue/VenuePixels.h"
#include "world/CameraDesc.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

namespace {

double Share(const std::vector<uint32_t>& px, int y0, int y1, bool (*test)(uint32_t)) {
    int hits = 0;
    for (int y = y0; y < y1; ++y)
        for (int x = 0; x < kVenueW; ++x)
            hits += test(px[size_t(y) * kVenueW + size_t(x)]);
    return double(hits) / double((y1 - y0) * kVenueW);
}

TEST_F(VenueTest, TheGroundsAreSeenUnderTheSkyAndPlacedAttractionsShowWhereTheyStand) {
    StartGame();
    ASSERT_TRUE(venue.Load(0, MTGAME_SANDBOX));
    ASSERT_TRUE(venue.Fly(512.0f, 0.0f, 520.0f, 0.0f, 0.4f, 70.0f));
    Frames(150); // the camera glides there
    const std::vector<uint32_t> before = TexQuadReadBack(D3dDevice());
    ASSERT_EQ(before.size(), size_t(kVenueW) * kVenueH);
    const double sky = Share(before, 5, 50, SkyLike);
    const double ground = Share(before, kVenueH * 2 / 3, kVenueH, GroundLike);
    std::printf("sky-like rows 5-50: %.1f %%, ground-like bottom third: %.1f %%\n", sky * 100.0,
                ground * 100.0);
    EXPECT_GE(sky, 0.90) << std::hex << before[size_t(20) * kVenueW + kVenueW / 2];
    EXPECT_GE(ground, 0.80) << std::hex << before[size_t(kVenueH - 50) * kVenueW + kVenueW / 2];

    // Five attractions 20 to 60 units ahead of the camera, across the view.
    ENTBASE* camera = EntTreeFindName(app.world.Get(), "Camera2");
    ASSERT_NE(camera, nullptr);
    CameraDesc desc = {};
    camera->GetCamera(&desc);
    float ax = 512.0f - desc.eye.x, az = 520.0f - desc.eye.z;
    const float len = std::sqrt(ax * ax + az * az);
    ASSERT_GT(len, 1.0f);
    ax /= len, az /= len;
    auto* grid = static_cast<GameGrid*>(EntTreeFindType(app.world.Get(), "GameGrid"));
    ASSERT_NE(grid, nullptr);
    struct Spot {
        int type;
        float ahead, side;
    };
    // Ticket booth, soda stand, hot dog stand, trash can, carousel.
    const Spot spots[] = {{23, 26, -8}, {0, 30, 10}, {2, 40, -14}, {12, 24, 2}, {18, 55, 0}};
    std::vector<VECTOR3> at;
    for (const Spot& s : spots) {
        const float wx = desc.eye.x + ax * s.ahead - az * s.side;
        const float wz = desc.eye.z + az * s.ahead + ax * s.side;
        int cx = 0, cz = 0;
        VenueDriver::CellAt(grid, wx, wz, &cx, &cz);
        AttrBase* attr = venue.Place(s.type, cx - 1, cz - 1);
        ASSERT_NE(attr, nullptr) << "type " << s.type;
        at.push_back(*attr->GetPos());
    }
    Frames(5);
    const std::vector<uint32_t> after = TexQuadReadBack(D3dDevice());
    ASSERT_EQ(after.size(), before.size());
    // The share of a 48 x 48 window round (px, py) that changed by 30 levels or more.
    auto changedAround = [&](float px, float py, int* total) {
        int changed = 0;
        *total = 0;
        for (int y = int(py) - 24; y < int(py) + 24; ++y)
            for (int x = int(px) - 24; x < int(px) + 24; ++x) {
                if (x < 0 || y < 0 || x >= kVenueW || y >= kVenueH) continue;
                const uint32_t a = before[size_t(y) * kVenueW + size_t(x)];
                const uint32_t b = after[size_t(y) * kVenueW + size_t(x)];
                ++*total;
                changed += PixelDiff(a, b) >= 30;
            }
        return *total ? double(changed) / *total : 0.0;
    };
    for (size_t i = 0; i < at.size(); ++i) {
        float px = 0.0f, py = 0.0f;
        ASSERT_TRUE(VenueProject(camera, at[i], &px, &py))
            << "attraction " << i << " behind the eye";
        int total = 0;
        const double share = changedAround(px, py, &total);
        ASSERT_GT(total, 0) << "attraction " << i << " off screen at " << px << ", " << py;
        std::printf("attraction %zu (type %i) at pixel %.0f, %.0f: %.1f %% changed\n", i,
                    spots[i].type, px, py, 100.0 * share);
        EXPECT_GE(share, 0.15) << "attraction " << i;
    }
    // Ground and sky away from them stay as they were.
    int total = 0;
    EXPECT_LT(changedAround(30.0f, kVenueH - 30.0f, &total), 0.05) << "the ground changed";
    EXPECT_LT(changedAround(kVenueW - 30.0f, 30.0f, &total), 0.05) << "the sky changed";
}

// The fountain's drops, white with a touch of blue, blended over the ground: blue none of the
// grounds reaches (earth and trodden grass stay under 80) from a third of a drop's cover up.
bool DropLike(uint32_t c) {
    return Blue(c) >= 130 && Blue(c) >= Red(c) - 20;
}

// Drop-like pixels in the screen box of world x0..x1, y0..y1 at depth z.
int DropsIn(const std::vector<uint32_t>& px, ENTBASE* camera, float x0, float x1, float y0,
            float y1, float z) {
    float sx0 = 0, sy0 = 0, sx1 = 0, sy1 = 0;
    if (!VenueProject(camera, {x0, y1, z}, &sx0, &sy0) ||
        !VenueProject(camera, {x1, y0, z}, &sx1, &sy1))
        return -1;
    int n = 0;
    for (int y = std::max(0, int(sy0)); y <= std::min(kVenueH - 1, int(sy1)); ++y)
        for (int x = std::max(0, int(sx0)); x <= std::min(kVenueW - 1, int(sx1)); ++x)
            n += DropLike(px[size_t(y) * kVenueW + size_t(x)]);
    return n;
}

TEST_F(VenueTest, TheFountainShowsItsDropsOverItsNozzleAndNoneBesideIt) {
    StartGame();
    ASSERT_TRUE(venue.Load(0, MTGAME_SANDBOX));
    ENTBASE* fountain = EntTreeFindName(app.world.Get(), "Fountain");
    ASSERT_NE(fountain, nullptr);
    ASSERT_TRUE(venue.Fly(512.0f, 0.0f, 400.0f, 0.0f, 0.6f, 40.0f));
    Frames(150);
    ENTBASE* camera = EntTreeFindName(app.world.Get(), "Camera2");
    ASSERT_NE(camera, nullptr);
    // Up to 5 units over the nozzle at (512, 0.5, 396), and boxes as large 20 units either side.
    const auto counts = [&](int* column, int* left, int* right) {
        const std::vector<uint32_t> px = TexQuadReadBack(D3dDevice());
        ASSERT_EQ(px.size(), size_t(kVenueW) * kVenueH);
        *column = DropsIn(px, camera, 510.5f, 513.5f, 0.5f, 5.5f, 396.0f);
        *left = DropsIn(px, camera, 490.5f, 493.5f, 0.5f, 5.5f, 396.0f);
        *right = DropsIn(px, camera, 530.5f, 533.5f, 0.5f, 5.5f, 396.0f);
    };
    int column = 0, left = 0, right = 0;
    counts(&column, &left, &right);
    std::printf("fountain: column %i, left %i, right %i\n", column, left, right);
    EXPECT_GE(column, 20) << "no drops over the nozzle";
    EXPECT_EQ(left, 0);
    EXPECT_EQ(right, 0);

    // Without the spray the column is plain ground again.
    EntDestroyTree(fountain);
    Frames(3);
    counts(&column, &left, &right);
    EXPECT_EQ(column, 0) << "what showed over the nozzle was not the spray";
}

} // namespace
