// The default venue at noon and at ten in the evening, drawn by the game's own frame: the night
// keeps the grounds readable, and a running attraction's bulbs shine through their emissive map.
#include "engine/EntTree.h"
#include "game/Ents/AttrBase.h"
#include "game/Ents/GameGrid.h"
#include "platform/d3d8/D3d8.h"
#include "tests/support/TexturedQuad.h"
#include "tests/venue/VenueFixture.h"
#include "tests/venue/VenuePixels.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

// The mean of the three channels over rows y0..y1 of columns x0..x1.
double MeanBrightness(const std::vector<uint32_t>& px, int x0, int x1, int y0, int y1) {
    double sum = 0.0;
    int n = 0;
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x, ++n) {
            const uint32_t c = px[size_t(y) * kVenueW + size_t(x)];
            sum += (Red(c) + Green(c) + Blue(c)) / 3.0;
        }
    return n ? sum / n : 0.0;
}

// A lit bulb: warm and bright, well above what the night's light gives anything else.
bool BulbLike(uint32_t c) {
    return Red(c) >= 200 && Green(c) >= 150 && Blue(c) + 60 <= Red(c);
}

int BulbsAround(const std::vector<uint32_t>& px, float cx, float cy, int half) {
    int n = 0;
    for (int y = std::max(0, int(cy) - half); y < std::min(kVenueH, int(cy) + half); ++y)
        for (int x = std::max(0, int(cx) - half); x < std::min(kVenueW, int(cx) + half); ++x)
            n += BulbLike(px[size_t(y) * kVenueW + size_t(x)]);
    return n;
}

// Where FAIRLARK_TEST_SHOTS names a folder, the frame goes there as a PPM picture to look at.
void KeepShot(const std::vector<uint32_t>& px, const char* title) {
    const char* folder = std::getenv("FAIRLARK_TEST_SHOTS");
    if (!folder || !*folder) return;
    const std::string path = std::string(folder) + "/" + title + ".ppm";
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return;
    std::fprintf(f, "P6\n%i %i\n255\n", kVenueW, kVenueH);
    for (uint32_t c : px) {
        const unsigned char rgb[3] = {(unsigned char)Red(c), (unsigned char)Green(c),
                                      (unsigned char)Blue(c)};
        std::fwrite(rgb, 1, 3, f);
    }
    std::fclose(f);
}

TEST_F(VenueTest, AtTenInTheEveningTheGroundsStayReadableAndARunningRidesBulbsShine) {
    StartGame();
    ASSERT_TRUE(venue.Load(0, MTGAME_SANDBOX));
    MtGame* game = venue.Game();
    ASSERT_NE(game, nullptr);
    ASSERT_TRUE(venue.Fly(512.0f, 0.0f, 520.0f, 0.0f, 0.12f, 50.0f));
    Frames(150);
    auto* grid = static_cast<GameGrid*>(EntTreeFindType(app.world.Get(), "GameGrid"));
    ASSERT_NE(grid, nullptr);
    int cx = 0, cz = 0;
    VenueDriver::CellAt(grid, 512.0f, 520.0f, &cx, &cz);
    AttrBase* carousel = venue.Place(18, cx - 3, cz - 3);
    ASSERT_NE(carousel, nullptr);
    ENTBASE* camera = EntTreeFindName(app.world.Get(), "Camera2");
    ASSERT_NE(camera, nullptr);
    float px = 0.0f, py = 0.0f;
    ASSERT_TRUE(VenueProject(camera, *carousel->GetPos(), &px, &py));

    const auto frameAt = [&](float hour) {
        game->gameTime = hour;
        Frames(5);
        return TexQuadReadBack(D3dDevice());
    };
    const std::vector<uint32_t> noon = frameAt(12.0f);
    const std::vector<uint32_t> night = frameAt(22.0f);
    ASSERT_EQ(noon.size(), size_t(kVenueW) * kVenueH);
    ASSERT_EQ(night.size(), noon.size());
    KeepShot(noon, "noon");
    KeepShot(night, "night_2200");

    // The ground: the bottom fifth of the screen, below the carousel.
    const int groundTop = kVenueH * 4 / 5;
    ASSERT_GT(groundTop, int(py) + 80) << "the carousel reaches the ground's rows";
    const double noonGround = MeanBrightness(noon, 0, kVenueW, groundTop, kVenueH);
    const double nightGround = MeanBrightness(night, 0, kVenueW, groundTop, kVenueH);
    const int bulbs = BulbsAround(night, px, py, 120);
    std::printf("ground brightness: noon %.1f, 22:00 %.1f (%.0f %%); lit bulb pixels at the "
                "carousel %i, on the ground %i\n",
                noonGround, nightGround, 100.0 * nightGround / noonGround, bulbs,
                BulbsAround(night, kVenueW / 2.0f, (groundTop + kVenueH) / 2.0f, 70));
    EXPECT_GT(noonGround, 60.0);
    EXPECT_GE(nightGround * 3.0, noonGround) << "the ground goes black at night";
    EXPECT_GE(bulbs, 40) << "no lit bulbs on the running carousel";
    EXPECT_EQ(BulbsAround(night, kVenueW / 2.0f, (groundTop + kVenueH) / 2.0f, 70), 0)
        << "what shone was not the bulbs";
    EXPECT_LT(MeanBrightness(night, 0, kVenueW, groundTop, kVenueH), noonGround)
        << "the night is as bright as the day";
}

} // namespace
