// The hand on the HUD's clock dial, read back from the drawn HUD.
#include "tests/ui/Menus/HudFixture.h"

#include "tests/support/PixelChannels.h"
#include "ui/StaticText.h"

#include <cmath>
#include <vector>

namespace {

// The hand's red: the dial, its marks and its frame are greens and near-blacks.
bool HandRed(uint32_t c) {
    return Red(c) > 120 && Green(c) < 80 && Blue(c) < 80;
}

// Red pixels on the ray from the dial's middle towards the hour (12 up, 3 right), 5 to 13 units
// out: past the hand's short tail behind the middle, inside the hour marks.
int RedAlong(const std::vector<uint32_t>& pixels, float hour) {
    const float a = hour / 12.0f * 6.28318531f;
    int red = 0;
    for (int d = 5; d <= 13; ++d) {
        const int x = int(std::floor(69.5f + float(d) * std::sin(a)));
        const int y = int(std::floor(44.5f - float(d) * std::cos(a)));
        const size_t at = size_t(y) * 1024 + size_t(x);
        red += at < pixels.size() && HandRed(pixels[at]) ? 1 : 0;
    }
    return red;
}

} // namespace

TEST_F(HudTest, TheClockHandPointsAtTheHourTheClockShows) {
    StartHud();
    MtGamePause(Game());
    struct Case {
        float time;
        const char* text;
        float hour, opposite;
    };
    // 10:00 and 16:00 point opposite ways on a twelve-hour dial: a hand that runs through the
    // middle, or turns the wrong way, shows in the other ray.
    for (const Case& c : {Case{10.0f, "10:00", 10.0f, 4.0f}, Case{16.0f, "16:00", 4.0f, 10.0f}}) {
        Game()->gameTime = c.time;
        Step();
        ASSERT_EQ(Narrow(hud->clockText->label), c.text);
        const std::vector<uint32_t> shown = ReadPixels();
        EXPECT_GE(RedAlong(shown, c.hour), 8)
            << c.text << ": the hand does not lie towards " << c.hour << " o'clock";
        EXPECT_EQ(RedAlong(shown, c.opposite), 0)
            << c.text << ": the hand reaches towards " << c.opposite << " o'clock";
        EXPECT_EQ(RedAlong(shown, c.hour + 3.0f) + RedAlong(shown, c.hour - 3.0f), 0)
            << c.text << ": the hand is turned a quarter off";
    }

    // Without a game object there is no time to show: no hand, as no clock text.
    hud->gameLink = EntRef();
    Step();
    const std::vector<uint32_t> bare = ReadPixels();
    EXPECT_EQ(RedAlong(bare, 4.0f) + RedAlong(bare, 10.0f), 0) << "a stale hand is drawn";
}
