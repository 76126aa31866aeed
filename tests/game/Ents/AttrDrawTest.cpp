// The attraction's drawing on the recording device: the selection highlight's pulse, the entry
// marker, the class's drawing bit, and riders seated on a model with more seats than are kept.
#include "datagen/Models/MdlOutput.h"
#include "game/Ents/GameEntHighlight.h"
#include "game/RideAnimCore.h"
#include "tests/I3d/KernelFixture.h"
#include "tests/game/Ents/AttrTestSupport.h"

#include <cstring>

namespace {
class AttrDrawTest : public KernelTest, public AttrWorld {
  protected:
    void SetUp() override {
        KernelTest::SetUp();
        StartRecordingDevice();
        CreateCurrentPair();
        Build();
        AttrClassReset();
        Log().Clear();
    }
    void TearDown() override {
        Teardown();
        KernelTest::TearDown();
    }
    // The texture factors set, in order.
    std::vector<uint32_t> Factors() {
        std::vector<uint32_t> out;
        for (const D3dCall& c : Log().Named("SetRenderState"))
            if (c.args.size() == 2 && c.args[0] == D3DRS_TEXTUREFACTOR)
                out.push_back((uint32_t)c.args[1]);
        return out;
    }
    std::vector<Mat4> Worlds() {
        std::vector<Mat4> out;
        for (const D3dCall& c : Log().Named("SetTransform"))
            if (!c.args.empty() && c.args[0] == D3DTS_WORLD) out.push_back(c.DataAs<Mat4>());
        return out;
    }
};
} // namespace

TEST(GameEntHighlight, ThePulseRunsFrom25To76OncePerSecond) {
    EXPECT_EQ(GameEntHighlightAlpha(0.0f), 51);
    EXPECT_EQ(GameEntHighlightAlpha(0.25f), 76);
    EXPECT_EQ(GameEntHighlightAlpha(0.75f), 25);
    EXPECT_EQ(GameEntHighlightAlpha(1.25f), 76);
    for (int i = 0; i <= 100; ++i) {
        const int a = GameEntHighlightAlpha(i / 100.0f);
        EXPECT_GE(a, 25);
        EXPECT_LE(a, 76);
    }
}

TEST_F(AttrDrawTest, TheHighlightPulsesGreenAndTheMarkerSitsOpaqueAtTheEntry) {
    AttrBase* attr = Make(T_RIDE);
    attr->pos = VECTOR3{5.0f, 0.0f, 7.0f};
    attr->Start();
    attr->highlighted = 1;
    attr->Update(0.25f);
    attr->Update(0.25f);
    EXPECT_EQ(AttrHighlightPhase(), 0.0f) << "updates must not move the phase: it would pulse "
                                             "once per attraction";
    AttrFlashTick(0.25f); // once per frame: a quarter second
    Log().Clear();
    attr->DrawPre();
    const std::vector<uint32_t> pre = Factors();
    EXPECT_NE(std::find(pre.begin(), pre.end(), (76u << 24) | 0x00FF00u), pre.end())
        << "the highlight at phase 0.25 is green with alpha 76";

    Log().Clear();
    attr->Draw();
    const std::vector<uint32_t> marker = Factors();
    EXPECT_NE(std::find(marker.begin(), marker.end(), 0xFF00FF00u), marker.end())
        << "the entry marker is opaque green";
    const std::vector<Mat4> worlds = Worlds();
    ASSERT_FALSE(worlds.empty());
    EXPECT_FLOAT_EQ(worlds.back().m[12], attr->entry.x);
    EXPECT_FLOAT_EQ(worlds.back().m[14], attr->entry.z);
    EXPECT_GT(Log().Count("DrawPrimitive") + Log().Count("DrawIndexedPrimitive"), 0);
}

TEST_F(AttrDrawTest, NothingIsDrawnWithoutTheDrawingBit) {
    AttrBase* attr = Place(T_RIDE);
    attr->highlighted = 1;
    // The debug overlay (0x4) has a bit of its own.
    attr->SetClassFlags(0x1F & ~ENT_CLASS_DRAW & ~ENT_CLASS_DEBUG_DRAW);
    Log().Clear();
    attr->DrawPre();
    attr->Draw();
    EXPECT_EQ(Log().Count("DrawPrimitive") + Log().Count("DrawIndexedPrimitive"), 0);
    attr->SetClassFlags(0x1F);
}

TEST_F(AttrDrawTest, ACapacityOfAHundredOnEightySeatsSeatsSeventy) {
    MdlOutput out;
    std::string error;
    ASSERT_TRUE(MdlCompile(SeatModelScene(80), &out, &error)) << error;
    ASSERT_TRUE(MdlWriteOutput(out, host.data, &error)) << error;
    AttrBase* attr = Make(T_SEATS);
    attr->pos = VECTOR3{100.0f, 0.0f, 0.0f};
    attr->Start();
    ASSERT_NE(AttrBaseGetModel(attr), nullptr) << "the seat model did not load";
    EXPECT_EQ(AttrBaseRideCamCount(attr), RIDE_SEAT_MAX);
    std::vector<FakePatron*> riders;
    for (int i = 0; i < 100; ++i) {
        riders.push_back(Patron());
        ASSERT_TRUE(AttrBaseJoinQueue(attr, riders.back()));
    }
    attr->DrawPre(); // the animator copies the seats
    ASSERT_TRUE(UntilState(attr, ATTR_RIDING, 10));
    attr->Update(0.01f);
    for (int i = 0; i < 100; ++i) {
        if (i < RIDE_SEAT_MAX) {
            EXPECT_EQ(riders[(size_t)i]->seat, i);
            EXPECT_EQ(riders[(size_t)i]->seatMatrix, &attr->seats[i]);
        } else {
            EXPECT_EQ(riders[(size_t)i]->sits, 0) << "rider " << i << " has no seat to sit on";
        }
    }
    EXPECT_FLOAT_EQ(attr->seats[3].m[12], 103.0f) << "seat 3 is the fourth attach node";
    EXPECT_FLOAT_EQ(attr->seats[3].m[13], 1.0f);
}
