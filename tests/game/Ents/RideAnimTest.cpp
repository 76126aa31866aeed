// The ride animator with its model, on tool-made models in a scratch folder: the box and seats
// with no render kernel and on the recording device, the draw's calls (world matrix, lights,
// chaser bit, attach copy), models shared between animators, and models that do not load.
#include "game/Ents/RideAnim.h"
#include "I3d/Camera.h"
#include "engine/Random.h"
#include "game/AttrInfo.h"
#include "gi/Render/Mdl3Ex.h"
#include "tests/I3d/KernelFixture.h"
#include "tests/I3d/ModelFiles.h"
#include "tests/game/FakeRide.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>

namespace {

// Three seats under an arm turned a quarter about y and lifted: the seats' world matrices are
// the node chain under the attraction's world matrix. A seat named in lower case counts too.
const char* const kSpinner = R"(
model Spinner
material Red diffuse 1 0 0 1 ambient 1 0 0 1
node Root maxdist 5000
node Base parent Root box 4 1 4 material Red
node Arm parent Root rotate-y 90 translate 0 2 0 box 6 0.2 0.2 material Red
node Attach00 parent Arm translate 3 0 0
node Attach01 parent Arm translate -3 0 0
node attachSeat parent Attach01 translate 0 -0.5 0
)";

std::string ManySeats(int count) {
    std::string s = "model Wheel\nmaterial Red diffuse 1 0 0 1\n"
                    "node Root maxdist 5000 box 2 2 2 material Red\n";
    for (int i = 0; i < count; ++i)
        s += "node Attach" + std::to_string(i) + " parent Root translate " + std::to_string(i) +
             " 0 0\n";
    return s;
}

constexpr uint64_t kWorldTransform = 256; // D3DTS_WORLD

class RideModels : public KernelTest {
  protected:
    void SetUp() override {
        KernelTest::SetUp();
        CrtSrand(31);
        info.conAtIdlePower = 1.0f;
        info.conAtPeakPower = 5.0f;
        info.duration = 2.0f;
        world = Translation(10.0f, 0.0f, 20.0f);
        Mat4 turn;
        Mat4RotateY(Mat4Identity(&turn), 0.5f);
        Mat4Mul(&turn, &world, &world);
    }
    void TearDown() override {
        if (m_texTable) I3dTexTableFree();
        KernelTest::TearDown();
    }
    // The recording device with a camera that sees the origin's surroundings.
    void StartDevice() {
        StartRecordingDevice();
        ASSERT_EQ(I3dTexTableAlloc(64), 0);
        m_texTable = true;
        Mat4 proj, view;
        I3dSetProj(Mat4Perspective(&proj, 3.141592f / 2, 0.75f, 0.1f, 300000.0f));
        VECTOR3 eye = {10, 5, -10}, at = {10, 0, 20}, up = {0, 1, 0};
        I3dSetView(Mat4LookAt(&view, &eye, &at, &up));
        I3dSetEyePos(&eye);
    }
    // The scene written to the scratch folder, named as the type's "modelFileName".
    void UseScene(const std::string& description) {
        const std::string path = WriteScene(m_files, description);
        std::snprintf(info.modelFileName, sizeof info.modelFileName, "%s",
                      path.substr(m_files.Path().size()).c_str());
    }
    int InitAnim(RideAnim* anim) { return anim->Init(&info, m_files.Path().c_str(), &ride); }
    // The world matrices the draw sent, in order.
    std::vector<Mat4> WorldsSent() {
        std::vector<Mat4> out;
        for (const D3dCall& c : Log().Named("SetTransform"))
            if (!c.args.empty() && c.args[0] == kWorldTransform) out.push_back(c.DataAs<Mat4>());
        return out;
    }
    static void ExpectMatrixNear(const Mat4& a, const Mat4& b, const char* what) {
        for (int i = 0; i < 16; ++i)
            EXPECT_NEAR(a.m[i], b.m[i], 1e-5f) << what << " element " << i;
    }
    // The node chain of a seat under the world matrix, worked out apart from the model code.
    Mat4 SeatWorld(MDL3* mdl, const char* name) {
        const MDL3NODE* n = Mdl3FindNode(&mdl->nodes[0], name);
        EXPECT_NE(n, nullptr) << name;
        Mat4 m = kIdentity;
        for (; n; n = n->parent)
            Mat4Mul(&m, &n->Matrix, &m);
        Mat4Mul(&m, &world, &m);
        return m;
    }

    TempDir m_files;
    AttrInfo info;
    FakeRide ride;
    Mat4 world;

  private:
    bool m_texTable = false;
};

// ---- loading ----

TEST_F(RideModels, AMissingModelLeavesTheUnitBoxNoSeatsAndARunningCycle) {
    std::snprintf(info.modelFileName, sizeof info.modelFileName, "Models\\Missing.md3");
    for (bool device : {false, true}) {
        if (device) StartDevice();
        RideAnim anim;
        {
            LogCapture entity(DBG_ENTITY); // the warning is an entity-level line
            ASSERT_EQ(InitAnim(&anim), 1);
            EXPECT_NE(entity.Text().find("** WARNING ** could not find " + m_files.Path() +
                                         "Models\\Missing.md3\n"),
                      std::string::npos)
                << entity.Text();
        }
        EXPECT_EQ(anim.instance, nullptr);
        EXPECT_EQ(anim.model, nullptr);
        EXPECT_EQ(anim.boxMin.y, -0.5f);
        EXPECT_EQ(anim.boxMax.z, 0.5f);
        EXPECT_EQ(anim.SeatCount(), 0);
        Log().Clear();
        anim.Draw(&world);
        EXPECT_TRUE(Log().Calls().empty()) << "nothing is drawn without a model";
        RideAnimSetState(&anim, RIDE_START);
        for (int i = 0; i < 10; ++i)
            anim.Tick(0.5f);
        EXPECT_EQ(anim.runState, RIDE_IDLE) << "the cycle runs without a model";
    }
}

TEST_F(RideModels, NamesThatAreNoModelGiveNoModel) {
    WriteTextFile(m_files / "Folder/keep.txt", "");
    WriteTextFile(m_files / "Text.md3", "not a model at all\n");
    for (const char* name : {"", "Folder", "Folder/", "Text.md3"}) {
        std::snprintf(info.modelFileName, sizeof info.modelFileName, "%s", name);
        RideAnim anim;
        ASSERT_EQ(InitAnim(&anim), 1) << name;
        EXPECT_EQ(anim.model, nullptr) << name;
        EXPECT_EQ(anim.boxMax.x, 0.5f) << name;
        EXPECT_EQ(anim.SeatCount(), 0) << name;
        anim.Draw(&world);
    }
    RideAnim none;
    none.Init(nullptr, nullptr, nullptr); // no type, folder or owner: still an animator
    EXPECT_EQ(none.SeatCount(), 0);
    none.Tick(1.0f);
}

TEST_F(RideModels, TheBoxAndSeatsComeFromTheModelWithOrWithoutAKernel) {
    UseScene(kSpinner);
    for (bool device : {false, true}) {
        if (device) StartDevice();
        RideAnim anim;
        ASSERT_EQ(InitAnim(&anim), 1);
        ASSERT_NE(anim.model, nullptr) << LogText();
        EXPECT_EQ(anim.model, anim.instance->mdl);
        EXPECT_EQ(anim.SeatCount(), 3) << "\"attachSeat\" is a seat too";
        const MDL3NODE& root = anim.model->nodes[0];
        EXPECT_EQ(anim.boxMin.x, root.boundsMin.x);
        EXPECT_EQ(anim.boxMax.y, root.boundsMax.y);
        EXPECT_EQ(anim.boxMax.z, root.boundsMax.z);
        EXPECT_GT(anim.boxMax.z, 2.9f) << "the turned arm reaches out to 3 along z";
        EXPECT_GE(anim.lightPhase, 0);
        EXPECT_LT(anim.lightPhase, 32);
    }
}

TEST_F(RideModels, EightySeatsGiveSeventyAndNoMoreAreCopied) {
    UseScene(ManySeats(80));
    StartDevice();
    RideAnim anim;
    ASSERT_EQ(InitAnim(&anim), 1);
    ASSERT_NE(anim.model, nullptr);
    EXPECT_EQ(anim.instance->attachCount, 80);
    EXPECT_EQ(anim.SeatCount(), RIDE_SEAT_MAX) << "riders beyond the seat array would read past it";
    for (int i = 0; i < RIDE_SEAT_MAX; ++i)
        ride.seats[i].m[12] = -1.0f;
    anim.Draw(&kIdentity); // the seat array is exactly 70 long: a write past it is caught
    EXPECT_EQ(ride.seats[0].m[12], 0.0f);
    EXPECT_EQ(ride.seats[69].m[12], 69.0f);
}

TEST_F(RideModels, DuplicateSeatNamesEachCount) {
    MdlModel m = BuildModel("model Twins\nnode Root maxdist 5000\nnode Attach parent Root\n"
                            "node Arm parent Root translate 0 1 0\nnode Hub parent Arm\n");
    ASSERT_EQ(m.nodes.size(), 4u);
    std::strcpy(m.nodes[3].name, "Attach"); // a second name the tool would refuse
    WriteModel(m_files, "Twins.md3", m);
    std::snprintf(info.modelFileName, sizeof info.modelFileName, "Twins.md3");
    RideAnim anim;
    ASSERT_EQ(InitAnim(&anim), 1);
    ASSERT_NE(anim.model, nullptr) << LogText();
    EXPECT_EQ(anim.SeatCount(), 2);
    anim.Draw(&kIdentity);
    EXPECT_FLOAT_EQ(ride.seats[1].m[13], 1.0f) << "the second seat is the one on the arm";
}

TEST_F(RideModels, AnimatorsOfOneTypeShareOneModelReleasedWithTheLast) {
    UseScene(kSpinner);
    auto* a = new RideAnim;
    auto* b = new RideAnim;
    InitAnim(a);
    InitAnim(b);
    ASSERT_NE(a->instance, nullptr);
    EXPECT_EQ(a->instance, b->instance);
    EXPECT_EQ(a->instance->refCount, 2);
    EXPECT_EQ(*Mdl3ExList(), a->instance);
    delete a;
    EXPECT_EQ(b->instance->refCount, 1);
    EXPECT_NE(*Mdl3ExList(), nullptr);
    delete b;
    EXPECT_EQ(*Mdl3ExList(), nullptr) << "the last animator released the shared model";
    EXPECT_EQ(Mdl3List(), nullptr);
}

// ---- drawing ----

TEST_F(RideModels, TheDrawSetsTheWorldDrawsThenCopiesTheSeatsUnderIt) {
    UseScene(kSpinner);
    StartDevice();
    RideAnim anim;
    ASSERT_EQ(InitAnim(&anim), 1);
    ASSERT_NE(anim.model, nullptr);
    Log().Clear();
    anim.Draw(&world);

    const std::vector<D3dCall>& calls = Log().Calls();
    const int firstDraw = Log().Find("DrawIndexedPrimitive");
    ASSERT_GE(firstDraw, 0) << "the model was not drawn";
    int firstWorld = -1, lastWorld = -1;
    for (int i = 0; i < (int)calls.size(); ++i) {
        if (calls[(size_t)i].name != "SetTransform" || calls[(size_t)i].args[0] != kWorldTransform)
            continue;
        if (firstWorld < 0) firstWorld = i;
        lastWorld = i;
    }
    ASSERT_GE(firstWorld, 0);
    EXPECT_LT(firstWorld, firstDraw) << "the world matrix comes before the draw";
    ExpectMatrixNear(calls[(size_t)firstWorld].DataAs<Mat4>(), world, "first world");
    ExpectMatrixNear(calls[(size_t)lastWorld].DataAs<Mat4>(), world, "world before the seats");
    EXPECT_GT(lastWorld, Log().Find("DrawIndexedPrimitive", {}, firstDraw))
        << "set again after the draw, before the attach copy";
    EXPECT_GE(Log().Find("SetRenderState", {7, 1}), 0) << "depth test on for the model";

    // Depth-first: Attach00, Attach01, then attachSeat under it.
    ExpectMatrixNear(ride.seats[0], SeatWorld(anim.model, "Attach00"), "seat 0");
    ExpectMatrixNear(ride.seats[1], SeatWorld(anim.model, "Attach01"), "seat 1");
    ExpectMatrixNear(ride.seats[2], SeatWorld(anim.model, "attachSeat"), "seat 2");
    EXPECT_EQ(ride.seats[3].m[15], 0.0f) << "no fourth seat written";
}

TEST_F(RideModels, TheLightsFollowTheOwnerAndTheChaserPicksOneBit) {
    UseScene(kSpinner);
    StartDevice();
    RideAnim anim;
    ASSERT_EQ(InitAnim(&anim), 1);
    ASSERT_NE(anim.instance, nullptr);
    anim.lightPhase = 5;
    ride.chaserA = 30;
    anim.Draw(&world);
    EXPECT_EQ(anim.instance->flashBits, 1u << 3) << "(5 + 30) mod 32";
    EXPECT_EQ(anim.instance->lightsOn, 1);
    ride.lightsOn = false;
    ride.chaserA = 26;
    anim.Draw(&world);
    EXPECT_EQ(anim.instance->lightsOn, 0);
    EXPECT_EQ(anim.instance->emissiveOn, 0) << "both light flags together";
    EXPECT_EQ(anim.instance->flashBits, 1u << 31);
    // A counter outside 0..31 still names one bit.
    for (int counter : {-1, 32, 1 << 30, -2147483647 - 1}) {
        ride.chaserA = counter;
        anim.Draw(&world);
        const uint32_t bits = anim.instance->flashBits;
        EXPECT_TRUE(bits != 0 && (bits & (bits - 1)) == 0) << counter;
    }
    ride.lightsOn = true;
    anim.Draw(&world);
    EXPECT_EQ(anim.instance->lightsOn, 1);
}

} // namespace
