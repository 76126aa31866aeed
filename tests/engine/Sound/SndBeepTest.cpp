// The system's beep: a sine tone of the asked pitch and length on one voice while a device is
// open, only the log line without one, and no hook left behind by a closed device.
#include "engine/System.h"
#include "tests/engine/Sound/SoundFixture.h"

namespace {

class SndBeep : public SoundTest {};

// The tone's cycles on the left channel: rises from below -1000 to above +1000, so that the
// mixer's noise around zero counts for nothing.
int Cycles(const std::vector<int16_t>& stereo) {
    int n = 0;
    bool low = false;
    for (size_t i = 0; i < stereo.size(); i += 2) {
        if (stereo[i] < -1000) low = true;
        if (low && stereo[i] > 1000) ++n, low = false;
    }
    return n;
}

TEST_F(SndBeep, PlaysASineOfThePitchAndLengthAskedOnce) {
    Open(LoopbackDevice, 4);
    SysBeep(1000, 200);
    ASSERT_NE(SndBeepTone(), nullptr);
    EXPECT_EQ(SndBeepTone()->Size(), kMixRate / 5 * 2) << "200 ms of 16-bit mono";
    const std::vector<int16_t> first = RenderMix(kMixRate / 10);
    EXPECT_GT(Rms(first), 1000.0) << "the tone is not in the mix";
    EXPECT_NEAR(Cycles(first), 100, 2) << "a 1000 Hz tone makes 100 cycles in 100 ms";
    RenderMix(kMixRate / 5);
    EXPECT_LT(Rms(RenderMix(kMixRate / 10)), 1.0) << "the tone plays once, then stops";
    EXPECT_EQ(SndFindFreeVoice().slot, 0) << "the voice is free again";
}

TEST_F(SndBeep, ANewBeepCutsTheLastOneAndOutOfRangeAsksPlayNothing) {
    Open(LoopbackDevice, 4);
    SysBeep(500, 5000);
    SysBeep(2000, 100);
    ASSERT_NE(SndBeepTone(), nullptr);
    EXPECT_EQ(SndBeepTone()->Size(), kMixRate / 10 * 2) << "the latest tone is the one kept";
    RenderMix(kMixRate / 100); // past the fade-in
    EXPECT_NEAR(Cycles(RenderMix(kMixRate / 20)), 100, 2) << "a 2000 Hz tone";
    RenderMix(kMixRate / 10);
    EXPECT_LT(Rms(RenderMix(kMixRate / 10)), 1.0) << "the 5 s tone before was not stopped";
    SysBeep(20, 100);
    SysBeep(40000, 100);
    SysBeep(440, 0);
    SysBeep(440, -5);
    EXPECT_LT(Rms(RenderMix(kMixRate / 10)), 1.0);
    SysBeep(440, 1 << 30);
    EXPECT_EQ(SndBeepTone()->Size(), kMixRate * 10 * 2) << "a tone lasts 10 s at most";
}

TEST_F(SndBeep, WithoutADeviceOnlyTheLogLineAndAClosedDeviceLeavesNoHook) {
    SndSetDeviceOpenHook(NoDevice);
    ASSERT_EQ(SndInit("SoundFilters\\", 0, 4), -1);
    SysBeep(440, 100); // must not reach OpenAL
    EXPECT_EQ(SndBeepTone(), nullptr);
    Open(LoopbackDevice, 2);
    SysBeep(440, 100);
    ASSERT_NE(SndBeepTone(), nullptr);
    SndShutdown();
    EXPECT_EQ(SndBeepTone(), nullptr) << "the tone's buffer goes with the device";
    SysBeep(440, 100);
    EXPECT_EQ(SndBeepTone(), nullptr);
}

} // namespace
