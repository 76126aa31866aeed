// Three simulated days of patrons with their characters loaded (recording device): the memory in
// use at the end of each day, after everybody has gone home, stays within 256 KB of the first
// day's figure.
#include "tests/I3d/KernelFixture.h"
#include "tests/game/Ents/PatronCharacters.h"

#include <malloc.h>

#include <algorithm>
#include <cstdint>

#if defined(__SANITIZE_ADDRESS__)
extern "C" size_t __sanitizer_get_current_allocated_bytes();
#endif

namespace {

size_t BytesInUse() {
#if defined(__SANITIZE_ADDRESS__)
    return __sanitizer_get_current_allocated_bytes();
#else
    return mallinfo2().uordblks;
#endif
}

class PatronMemory : public KernelTest {
  protected:
    void SetUp() override {
        KernelTest::SetUp();
        // The run log stays off: it is the game's memory that is measured, not the log's.
        DbgSetLevelMask(0);
        D3dRecordingConfig config;
        config.logCalls = false;
        StartRecording(config);
        CreateOffscreen();
        CreateCurrentPair();
        ASSERT_EQ(I3dTexTableAlloc(kPatronTextureSlots), 0);
    }
    void TearDown() override {
        FreePatronWorld(world);
        I3dTexTableFree();
        KernelTest::TearDown();
    }
    std::unique_ptr<PatronWorld> world;
};

TEST_F(PatronMemory, ThreeDaysOfPatronsEndWhereTheFirstEnded) {
    world = std::make_unique<PatronWorld>(1);
    ASSERT_NE(RubeCharacterModel(0), nullptr);
    world->AddSpawnPoint(384.0f + 100.5f * 2.0f, 384.0f + 100.5f * 2.0f);
    world->AddSpawnPoint(384.0f + 120.5f * 2.0f, 384.0f + 90.5f * 2.0f);
    const size_t meshesBefore = giModelDefManager::Get()->instances.size();
    size_t firstDay = 0;
    for (int day = 0; day < 3; ++day) {
        world->OpenDay();
        int peak = 0, frames = 0;
        while (!world->game->dayOver && frames++ < 40000) {
            world->h->Frame();
            peak = std::max(peak, world->gen->present);
        }
        ASSERT_TRUE(world->game->dayOver);
        world->h->Frames((int)(1500.0f / world->h->options.dt));
        ASSERT_EQ(world->gen->present, 0) << "day " << day << ": patrons still in";
        EXPECT_GT(peak, 5) << "day " << day << " drew no crowd";
        EXPECT_EQ(giModelDefManager::Get()->instances.size(), meshesBefore)
            << "day " << day << ": characters outlived their patrons";
        const size_t now = BytesInUse();
        if (day == 0) firstDay = now;
        const int64_t grown = (int64_t)now - (int64_t)firstDay;
        EXPECT_LE(grown, 256 * 1024) << "day " << day << " ended " << grown << " bytes above day 0";
    }
}

} // namespace
