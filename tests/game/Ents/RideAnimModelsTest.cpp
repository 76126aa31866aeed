// The generated attraction models on the recording device: every shipped type's model loads
// through its animator, carries every node the animator searches for and enough seats, and fits
// its footprint; the overrides a draw sets are the chosen matrices and are cleared after it; a
// model lacking nodes draws the rest.
#include "I3d/Camera.h"
#include "I3d/Math/Mat4Math.h"
#include "I3d/Textures.h"
#include "engine/IniFile.h"
#include "game/Ents/RideAnimCarousel.h"
#include "game/Ents/RideAnimStand.h"
#include "gi/Render/Mdl3Ex.h"
#include "tests/I3d/KernelFixture.h"
#include "tests/I3d/ModelFiles.h"
#include "tests/game/Ents/RideAnimRigs.h"

#include <cmath>
#include <memory>

namespace {

constexpr uint64_t kWorldTransform = 256; // D3DTS_WORLD
constexpr float kTile = 2.0f;
constexpr float kPi = 3.14159265f;

bool Seated(int type) {
    return (type >= 14 && type <= 21) || type == 26 || type == 32 || type == 34 ||
           (type >= 38 && type <= 41) || (type >= 50 && type <= 57) || type >= 59;
}

class AttractionModels : public KernelTest {
  protected:
    void SetUp() override {
        KernelTest::SetUp();
        data = FAIRLARK_BUILD_DATA_DIR;
        types.reset(AttrInfoList::Load((data + "Data.ini").c_str()));
        ASSERT_NE(types, nullptr);
        Mat4Identity(&world);
    }
    void TearDown() override {
        rig.anim.reset();
        if (m_texTable) I3dTexTableFree();
        IniClose();
        KernelTest::TearDown();
    }
    void StartDevice() {
        StartRecordingDevice();
        ASSERT_EQ(I3dTexTableAlloc(256), 0);
        m_texTable = true;
        Mat4 proj, view;
        I3dSetProj(Mat4Perspective(&proj, kPi / 2, 0.75f, 0.1f, 300000.0f));
        VECTOR3 eye = {0, 20, -30}, at = {0, 0, 0}, up = {0, 1, 0};
        I3dSetView(Mat4LookAt(&view, &eye, &at, &up));
        I3dSetEyePos(&eye);
    }
    std::vector<Mat4> WorldsSent() {
        std::vector<Mat4> out;
        for (const D3dCall& c : Log().Named("SetTransform"))
            if (!c.args.empty() && c.args[0] == kWorldTransform) out.push_back(c.DataAs<Mat4>());
        return out;
    }
    // Whether a world matrix sent matches (each element within 1e-5).
    bool Sent(const Mat4& m) {
        for (const Mat4& w : WorldsSent()) {
            bool same = true;
            for (int i = 0; i < 16 && same; ++i)
                same = std::fabs(w.m[i] - m.m[i]) <= 1e-5f;
            if (same) return true;
        }
        return false;
    }
    // The node's world matrix with this override on it and none above it.
    static Mat4 NodeWorld(const MDL3NODE* node, const Mat4& override, const Mat4& world) {
        Mat4 m;
        Mat4Mul(&override, &node->Matrix, &m);
        for (const MDL3NODE* p = node->parent; p; p = p->parent)
            Mat4Mul(&m, &p->Matrix, &m);
        Mat4Mul(&m, &world, &m);
        return m;
    }
    RideAnim* Build(int type) { return rig.Build(type, data, types->Get(type)); }

    std::string data;
    std::unique_ptr<AttrInfoList> types;
    RideRig rig;
    Mat4 world;

  private:
    bool m_texTable = false;
};

TEST_F(AttractionModels, EveryShippedModelLoadsCarriesItsNodesSeatsAndFitsItsFootprint) {
    StartDevice();
    ASSERT_EQ(types->Count(), 62);
    for (int type = 0; type < types->Count(); ++type) {
        const AttrInfo* info = types->Get(type);
        RideAnim* anim = Build(type);
        ASSERT_NE(anim, nullptr);
        ASSERT_NE(anim->model, nullptr) << info->modelFileName << " did not load";
        MDL3NODE* root = &anim->model->nodes[0];
        for (const std::string& name : RideTypeNodeNames(type))
            EXPECT_NE(Mdl3FindNode(root, name.c_str()), nullptr)
                << info->modelFileName << " lacks " << name;
        if (Seated(type)) {
            EXPECT_GE(anim->instance->attachCount, info->capacity)
                << info->modelFileName << ": fewer seats than riders";
            EXPECT_LE(anim->instance->attachCount, RIDE_SEAT_MAX) << info->modelFileName;
        }
        const float halfX = info->footX * kTile / 2, halfZ = info->footZ * kTile / 2;
        EXPECT_EQ(info->footOffsetX, halfX) << "type " << type;
        EXPECT_EQ(info->footOffsetZ, halfZ) << "type " << type;
        const float slack = kTile / 2;
        EXPECT_NEAR(anim->boxMin.x, -halfX, slack) << info->modelFileName;
        EXPECT_NEAR(anim->boxMax.x, halfX, slack) << info->modelFileName;
        EXPECT_NEAR(anim->boxMin.z, -halfZ, slack) << info->modelFileName;
        EXPECT_NEAR(anim->boxMax.z, halfZ, slack) << info->modelFileName;

        // A draw mid-ride sets overrides and clears every one of them afterwards.
        RideAnimSetState(anim, RIDE_START);
        for (int i = 0; i < 40; ++i)
            anim->Tick(0.264f);
        Log().Clear();
        anim->Draw(&world);
        EXPECT_FALSE(Log().Named("DrawIndexedPrimitive").empty()) << info->modelFileName;
        for (int n = 0; n < anim->model->numNodes; ++n) {
            const MDL3NODE& node = anim->model->nodes[n];
            ASSERT_EQ(node.override, nullptr) << info->modelFileName << " " << node.name;
            ASSERT_EQ(node.flags & MDL3_OVERRIDE, 0u) << info->modelFileName << " " << node.name;
        }
    }
}

// Riders stay over the attraction's own cells through a whole ride: every seat, read at draws
// along the cycle with the overrides on, lies within half a tile of the footprint.
TEST_F(AttractionModels, SeatsStayOverTheirCellsThroughTheRide) {
    StartDevice();
    for (int type = 0; type < types->Count(); ++type) {
        if (!Seated(type)) continue;
        const AttrInfo* info = types->Get(type);
        RideAnim* anim = Build(type);
        ASSERT_NE(anim->model, nullptr) << info->modelFileName;
        const int seats = anim->SeatCount();
        const float halfX = info->footX * kTile / 2 + kTile / 2;
        const float halfZ = info->footZ * kTile / 2 + kTile / 2;
        RideAnimSetState(anim, RIDE_START);
        for (int frame = 0; frame < 4000 && anim->runState != RIDE_IDLE; ++frame) {
            anim->Tick(0.1f);
            if (frame % 7) continue;
            anim->Draw(&world);
            Log().Clear();
            for (int i = 0; i < seats; ++i) {
                const Mat4& m = rig.owner->seats[(size_t)i];
                ASSERT_LE(std::fabs(m.m[12]), halfX)
                    << info->modelFileName << " seat " << i << " left its cells";
                ASSERT_LE(std::fabs(m.m[14]), halfZ)
                    << info->modelFileName << " seat " << i << " left its cells";
                ASSERT_GE(m.m[13], -0.5f)
                    << info->modelFileName << " seat " << i << " went under the ground";
            }
        }
        EXPECT_EQ(anim->runState, RIDE_IDLE) << info->modelFileName;
    }
}

// The soda stand's cups turn by t x pi/2 and -t x pi/2 on the state time, which stops while
// the stand is broken or closed.
TEST_F(AttractionModels, StandsTurnOnTheStateTimeAndKeepTheirPoseWhenBrokenOrClosed) {
    StartDevice();
    auto* anim = dynamic_cast<RideAnimStand*>(Build(0));
    ASSERT_NE(anim, nullptr);
    MDL3NODE* root = &anim->model->nodes[0];
    const MDL3NODE* left = Mdl3FindNode(root, "SodaLeft");
    const MDL3NODE* right = Mdl3FindNode(root, "SodaRight");
    ASSERT_TRUE(left && right);
    for (int i = 0; i < 7; ++i)
        anim->Tick(0.25f);
    const float t = anim->stateTime;
    ASSERT_FLOAT_EQ(t, 1.75f);
    auto expectPose = [&](float at, const char* when) {
        Log().Clear();
        anim->Draw(&world);
        EXPECT_TRUE(Sent(NodeWorld(left, RideAxisMatrix(RIDE_AXIS_Y, at * kPi / 2), world)))
            << "SodaLeft " << when;
        EXPECT_TRUE(Sent(NodeWorld(right, RideAxisMatrix(RIDE_AXIS_Y, -at * kPi / 2), world)))
            << "SodaRight " << when;
    };
    expectPose(t, "while open");

    rig.owner->broken = true;
    anim->Tick(0.25f); // idle follows the attraction into broken
    ASSERT_EQ(anim->runState, RIDE_BROKEN);
    const float frozen = anim->stateTime;
    for (int i = 0; i < 20; ++i)
        anim->Tick(0.25f);
    EXPECT_EQ(anim->stateTime, frozen);
    expectPose(frozen, "while broken");

    rig.owner->broken = false;
    rig.owner->closed = true;
    RideAnimSetState(anim, RIDE_IDLE);
    anim->Tick(0.25f);
    ASSERT_EQ(anim->runState, RIDE_CLOSED);
    const float closedAt = anim->stateTime;
    for (int i = 0; i < 20; ++i)
        anim->Tick(0.25f);
    expectPose(closedAt, "while closed");
}

TEST_F(AttractionModels, CarouselHorseRingsMoveInOppositePhaseAndTheSeatsFollow) {
    StartDevice();
    auto* anim = dynamic_cast<RideAnimCarousel*>(Build(18));
    ASSERT_NE(anim, nullptr);
    ASSERT_TRUE(anim->platform && anim->horses1 && anim->horses2);
    anim->angle = kPi / 2;
    Log().Clear();
    anim->Draw(&world);
    EXPECT_NEAR(anim->horses1Matrix.m[13], 0.4f, 1e-6f);
    EXPECT_NEAR(anim->horses2Matrix.m[13], -0.4f, 1e-6f);
    const Mat4 platform = NodeWorld(anim->platform, RideAxisMatrix(RIDE_AXIS_Y, -kPi / 2), world);
    EXPECT_TRUE(Sent(platform)) << "the platform turns by -angle";

    // The seats on Horses1 rise with it, those on Horse2 sink: both were copied while the
    // overrides were on.
    const Mat4* seats = rig.owner->seats.get();
    const float seatRise1 = seats[0].m[13], seatRise2 = seats[12].m[13];
    anim->angle = 3 * kPi / 2;
    anim->Draw(&world);
    EXPECT_NEAR(seats[0].m[13] - seatRise1, -0.4f, 1e-4f) << "a seat on Horses1";
    EXPECT_NEAR(seats[12].m[13] - seatRise2, 0.4f, 1e-4f) << "a seat on Horse2";
}

// A model lacking some of the named nodes (or all of them) draws the rest, and the ride cycles.
TEST_F(AttractionModels, AModelLackingNamedNodesDrawsTheRestAndCycles) {
    StartDevice();
    TempDir files;
    const std::string partial = R"(
model Partial
material Red diffuse 1 0 0 1 ambient 1 0 0 1
node Root maxdist 5000 box 4 0.2 4 material Red
node SodaLeft parent Root translate 0 2 0 box 1 1 1 material Red
node Attach00 parent Root translate 1 0 0
)";
    WriteScene(files, partial);
    for (int type : {0, 18, 20, 50, 38}) {
        rig.info.duration = 20.0f;
        std::snprintf(rig.info.modelFileName, sizeof rig.info.modelFileName, "Partial.md3");
        RideAnim* anim = rig.Build(type, files.Path());
        ASSERT_NE(anim->model, nullptr);
        RideAnimSetState(anim, RIDE_START);
        Log().Clear();
        int frames = 0;
        while (anim->runState != RIDE_IDLE && frames++ < 200000) {
            anim->Tick(0.264f);
            anim->Draw(&world);
        }
        EXPECT_EQ(anim->runState, RIDE_IDLE) << "type " << type;
        EXPECT_FALSE(Log().Named("DrawIndexedPrimitive").empty()) << "type " << type;
    }
}

} // namespace
