// The custom control: the menu's functions get the user word, the update's result comes back,
// nothing happens without functions, and it takes the capture like any control.
#include "tests/harness/UiHarness.h"

#include "ui/Custom.h"

#include <vector>

namespace {
struct Calls {
    int updates = 0, draws = 0, result = 1;
    float seconds = 0;
    std::vector<intptr_t> words;
};

int CountUpdate(intptr_t user, float seconds) {
    auto* calls = reinterpret_cast<Calls*>(user);
    ++calls->updates;
    calls->seconds = seconds;
    calls->words.push_back(user);
    return calls->result;
}

int CountDraw(intptr_t user) {
    auto* calls = reinterpret_cast<Calls*>(user);
    ++calls->draws;
    calls->words.push_back(user);
    return 7;
}

class CaptureProbe : public Ctl3Base {
  public:
    void CaptureReleased() override { ++released; }
    int released = 0;
};

using CustomControlTest = UiTest;
} // namespace

TEST_F(CustomControlTest, WithoutFunctionsItDrawsNothingAndNeverFails) {
    StartUi();
    Step();
    const std::vector<uint32_t> before = ReadPixels();
    auto* c = Make<Custom>("Custom");
    ASSERT_TRUE(c);
    c->Start();
    EXPECT_EQ(c->Update(0.02f), 1);
    EXPECT_EQ(c->DrawPre(), 1);
    Step();
    EXPECT_EQ(ReadPixels(), before);
}

// The user word is pointer-sized: a pointer survives the trip to both functions.
TEST_F(CustomControlTest, TheUserWordReachesBothFunctionsAndTheUpdatesResultReturns) {
    StartUi();
    Calls calls;
    auto* c = Make<Custom>("Custom");
    ASSERT_TRUE(c);
    c->updateFn = CountUpdate;
    c->drawFn = CountDraw;
    c->user = reinterpret_cast<intptr_t>(&calls);
    c->Start();
    frameMs = 25;
    Step(3);
    EXPECT_EQ(calls.updates, 3);
    EXPECT_EQ(calls.draws, 3);
    EXPECT_FLOAT_EQ(calls.seconds, 0.025f);
    for (intptr_t word : calls.words)
        EXPECT_EQ(word, reinterpret_cast<intptr_t>(&calls));
    calls.result = 0;
    EXPECT_EQ(c->Update(0.025f), 0);
    EXPECT_EQ(c->DrawPre(), 7);
    c->visible = 0;
    EXPECT_EQ(c->DrawPre(), 1) << "hidden: the draw function is not called";

    // Its menu goes and takes it along: the functions never see the word again.
    EntDestroyTree(menu);
    menu = nullptr;
    const int updates = calls.updates;
    Step(3);
    EXPECT_EQ(calls.updates, updates);
}

TEST_F(CustomControlTest, TakingTheCaptureReleasesThePreviousHolder) {
    StartUi();
    auto* c = Make<Custom>("Custom");
    ASSERT_TRUE(c);
    CaptureProbe previous;
    Ctl3SetCapture(&previous);
    Ctl3SetCapture(c);
    EXPECT_EQ(previous.released, 1);
    EXPECT_TRUE(Ctl3HasCapture(c));
    EXPECT_FALSE(Ctl3HasCapture(&previous));
    Ctl3ReleaseCapture();
}
