// Three simulated days of patrons with their characters loaded and two carnies at work, drawn
// now and then so that theirs are made (recording device): the memory in use at the end of each
// day, after everybody has gone home and one carny was fired, stays within 256 KB of the first
// day's figure.
#include "engine/Timers.h"
#include "game/Ents/Carny.h"
#include "game/MtGame.h"
#include "tests/I3d/KernelFixture.h"
#include "tests/game/Ents/PatronCharacters.h"
#include "tests/support/HeapInUse.h"
#include "tests/support/TestSupport.h"

#include <algorithm>
#include <cstdint>
#include <vector>

namespace {

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
        // The characters animate on the application clock: moved by the frames, not by how busy
        // the machine is, the run is the same every time.
        clock = std::make_unique<TestClock>();
        AppTimer(APPTIMER_START);
        AppTimer(APPTIMER_RESET);
        AppTimerHold(0);
    }
    void TearDown() override {
        FreePatronWorld(world);
        clock.reset();
        I3dTexTableFree();
        KernelTest::TearDown();
    }
    std::vector<Carny*> Carnies() const {
        ENTBASE* found[16];
        const int n = EntFindAllOfType(world->h->root, "Carny", found, 16);
        std::vector<Carny*> out;
        for (int i = 0; i < n; ++i)
            out.push_back(static_cast<Carny*>(found[i]));
        return out;
    }
    // One frame of the day, the application clock moved by the frame's time.
    void Frame() {
        world->h->Frame();
        clock->AdvanceUs((uint64_t)(world->h->options.dt * 1e6f));
    }
    std::unique_ptr<TestClock> clock;
    std::unique_ptr<PatronWorld> world;
};

TEST_F(PatronMemory, ThreeDaysOfPatronsEndWhereTheFirstEnded) {
    world = std::make_unique<PatronWorld>(1);
    ASSERT_NE(RubeCharacterModel(0), nullptr);
    EntCreateClass(EcCarnyProc, 0, 0);
    world->AddSpawnPoint(384.0f + 100.5f * 2.0f, 384.0f + 100.5f * 2.0f);
    world->AddSpawnPoint(384.0f + 120.5f * 2.0f, 384.0f + 90.5f * 2.0f);
    const size_t meshesBefore = giModelDefManager::Get()->instances.size();
    size_t firstDay = 0;
    for (int day = 0; day < 3; ++day) {
        world->OpenDay();
        // One carny of yesterday's two was fired: a new one is hired every morning.
        while (Carnies().size() < 2)
            MtGameHireCarny(world->game);
        ASSERT_EQ(Carnies().size(), 2u);
        int peak = 0, frames = 0;
        while (!world->game->dayOver && frames++ < 40000) {
            Frame();
            peak = std::max(peak, world->gen->present);
            if (frames % 64 == 1)
                for (Carny* c : Carnies())
                    c->Draw();
        }
        ASSERT_TRUE(world->game->dayOver);
        for (int i = 0; i < (int)(1500.0f / world->h->options.dt); ++i)
            Frame();
        ASSERT_EQ(world->gen->present, 0) << "day " << day << ": patrons still in";
        EXPECT_GT(peak, 5) << "day " << day << " drew no crowd";
        std::vector<Carny*> carnies = Carnies();
        ASSERT_EQ(carnies.size(), 2u) << "day " << day << ": a carny left on its own";
        for (const Carny* c : carnies)
            ASSERT_NE(c->character, nullptr) << c->name << " was drawn but has no character";
        carnies.front()->fireRequest = 1;
        Frame();
        ASSERT_EQ(Carnies().size(), 1u) << "day " << day << ": the fired carny stayed";
        // The kept carny's character; the template meshes of the class's two models are held
        // by the class from its set-up, before the first carny.
        EXPECT_EQ(giModelDefManager::Get()->instances.size(), meshesBefore + 1)
            << "day " << day << ": characters outlived their patrons or the fired carny";
        const size_t now = HeapBytesInUse();
        if (day == 0) firstDay = now;
        const int64_t grown = (int64_t)now - (int64_t)firstDay;
        EXPECT_LE(grown, 256 * 1024) << "day " << day << " ended " << grown << " bytes above day 0";
    }
}

} // namespace
