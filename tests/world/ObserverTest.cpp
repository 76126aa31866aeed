// The free observer: pitch and field-of-view limits, smoothed flight from events, mouse turns,
// its pad index, and the shadow-map bake drawn on OpenGL (llvmpipe through EGL, offscreen) with
// a magenta clear.
#include "I3d/Image.h"
#include "I3d/StateCache.h"
#include "I3d/Textures.h"
#include "tests/support/TestSupport.h"
#include "tests/world/CamerasFixture.h"
#include "world/EntClear.h"
#include "world/EntViewport.h"
#include "world/Observer2.h"

#include <sys/stat.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <vector>

namespace {

class ObserverTest : public CamerasTest {
  protected:
    void SetUp() override {
        CamerasTest::SetUp();
        ASSERT_EQ(EntCreateClass(EcObserver2Proc, 0, 0), 0);
    }
    Observer2* Observer() {
        auto* o = Make<Observer2>("Observer2", world, "Observer");
        o->Start();
        return o;
    }
    void Event(Observer2* o, int type, intptr_t a = 0, intptr_t b = 0) {
        SlEvent e{type, a, b, 0};
        EXPECT_EQ(o->OnMessage(&e), 0);
    }
};

TEST_F(ObserverTest, PitchAndFieldOfViewStayInTheirRanges) {
    Observer2* o = Observer();
    o->pitch = 1.6f;
    o->Update(0.01f);
    EXPECT_EQ(o->pitch, 1.57077f);
    o->pitch = -2.0f;
    o->Update(0.01f);
    EXPECT_EQ(o->pitch, -1.57077f);
    o->fov = 5.0f; // as a script may set it
    o->Update(0.01f);
    EXPECT_EQ(o->fov, 3.141592f);
    o->fov = -1.0f;
    o->Update(0.01f);
    EXPECT_EQ(o->fov, 0.01f);
}

TEST_F(ObserverTest, BothShouldersLeaveTheFieldOfViewAndOneZooms) {
    SlPad& pad = *SlPadGetState(1);
    std::memset(&pad, 0, sizeof pad);
    Observer2* o = Observer();
    o->SetLocalPlayer(1);
    pad.buttons = 0x2000 | 0x1000;
    o->Update(0.5f);
    EXPECT_FLOAT_EQ(o->fov, 1.0471799f);
    pad.buttons = 0x2000;
    o->Update(0.5f);
    EXPECT_FLOAT_EQ(o->fov, 1.0471799f + 0.1f);
    pad.buttons = 0;
    pad.lx = -0.5f; // yaw by the signed square
    o->Update(1.0f);
    EXPECT_NEAR(o->yaw, -0.25f * 3.141592f, 1e-5f);
    std::memset(&pad, 0, sizeof pad);

    o->SetLocalPlayer(7);
    EXPECT_EQ(o->pad, -1);
    EXPECT_EQ(LogCount("pad 7 does not exist"), 1);
}

TEST_F(ObserverTest, ABakeWithoutAReadableBackBufferSaysSoOnceAndRuns) {
    Observer2SetBakeGrid(2, 0, 1.0f);
    Observer2* o = Observer();
    Observer2CaptureStart(o); // no device here: nothing can be read
    EXPECT_EQ(o->capturing, 1);
    o->Update(0.01f);
    EXPECT_EQ(LogCount("the back buffer cannot be read"), 1);
    o->capturing = 0; // dropped unwritten: this test has no settings folder
    ImgFree(o->image);
    o->image = nullptr;
    Observer2SetBakeGrid(4092, 2048, 0.25024438f);
}

TEST_F(ObserverTest, EventsFlyItAndReleasedInputDecaysFaster) {
    Observer2* o = Observer();
    Event(o, 1003);
    for (int i = 0; i < 20; ++i)
        o->Update(0.05f);
    EXPECT_GT(o->forward.GetValue(), 0.1f);
    EXPECT_EQ(o->forward.time, 2.0f);
    EXPECT_GT(o->pos.z, 0.0f) << "unturned, forward is +z";
    Event(o, 1004);
    o->Update(0.05f);
    EXPECT_EQ(o->forward.time, 0.2f) << "a released input decays with time 0.2";
    Event(o, 1005);
    Event(o, 1003);
    o->Update(0.05f);
    EXPECT_EQ(o->forward.target, 0.0f) << "forward and back together cancel";
    VECTOR3 v{};
    o->Hook40((intptr_t)&v);
    EXPECT_EQ(v.z, o->velocity.z);
}

TEST_F(ObserverTest, MouseMotionTurnsAndTheTogglesExclude) {
    Observer2* o = Observer();
    Event(o, SL_MOUSEMOVE, 100, -10);
    EXPECT_FLOAT_EQ(o->yaw, 0.3f);
    EXPECT_FLOAT_EQ(o->pitch, -0.03f);
    for (int type : {1192, 1194, 1192, 1192, 1194, 1194}) {
        Event(o, type);
        EXPECT_FALSE(o->input[6] && o->input[7]);
    }
    o->Update(0.01f);
    const CameraDesc d = View(o);
    EXPECT_TRUE(InverseOf(o->matrix, d.view));
}

// ---- bake ----

constexpr int kSide = 64;

class ObserverBake : public ObserverTest {
  protected:
    void SetUp() override {
        for (const char* name : {"HOME", "XDG_DOCUMENTS_DIR", "XDG_CONFIG_HOME"}) {
            const char* v = std::getenv(name);
            saved.push_back({name, v ? v : "", v != nullptr});
        }
        setenv("HOME", m_home.Path().c_str(), 1);
        unsetenv("XDG_CONFIG_HOME");
        setenv("XDG_DOCUMENTS_DIR", (m_home / "docs").c_str(), 1);
        mkdir((m_home / "docs").c_str(), 0755);
        mkdir((m_home / "docs/Fairlark").c_str(), 0755);

        KernelTest::SetUp();
        StartGl();
        CreateOffscreen(kSide, kSide);
        ASSERT_EQ(I3dTexTableAlloc(32), 0);
        CreateCurrentPair();
        RegisterClasses();
        ASSERT_EQ(EntCreateClass(EcObserver2Proc, 0, 0), 0);
        ASSERT_EQ(EntCreateClass(EcClearProc, 0, 0), 0);
        ENTBASE* viewports = Make("EntNull", root, "Viewports");
        view = Make<EntViewport>("Viewport", viewports, "Main");
        view->SetVoid("entDrawRoot", (intptr_t)world);
        wipe = Make<EntClear>("Clear", world, "Wipe");
        wipe->color[1] = 0.0f; // exact magenta
        observer = Observer();
        view->SetVoid("entCamera", (intptr_t)observer);
        Observer2SetBakeGrid(8, 4, 1.0f);
    }
    void TearDown() override {
        Observer2SetBakeGrid(4092, 2048, 0.25024438f);
        CamerasTest::TearDown();
        I3dTexTableFree();
        for (const Saved& s : saved)
            s.set ? setenv(s.name, s.value.c_str(), 1) : unsetenv(s.name);
    }
    // As the game's frame: drawn and presented, so the next update samples the shown frame.
    void Frame() {
        ASSERT_EQ(D3dBeginScene(), 0);
        EntTreeDrawPre(view);
        D3dEndScene();
        ASSERT_EQ(D3dPresent(), 0);
    }
    // Update (which samples the last frame), then draw: one bake point.
    void Step() {
        observer->Update(1.0f / 60.0f);
        Frame();
    }
    std::string MapPath() const { return m_home / "docs/Fairlark/ShadowMap.tga"; }
    std::vector<uint8_t> MapBytes() const {
        std::ifstream in(MapPath(), std::ios::binary);
        return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
    }

    struct Saved {
        const char* name;
        std::string value;
        bool set;
    };
    std::vector<Saved> saved;
    TempDir m_home;
    EntViewport* view = nullptr;
    EntClear* wipe = nullptr;
    Observer2* observer = nullptr;
};

TEST_F(ObserverBake, EveryVisitedPointOfAMagentaFrameIsSet) {
    EXPECT_EQ(Observer2ShadowMapPath(), MapPath()) << "beside Config.ini";
    Frame();
    SlEvent o{SL_KEYDOWN, 24, 0, 0};
    observer->OnMessage(&o);
    ASSERT_EQ(observer->capturing, 1);
    CameraDesc bake = View(observer);
    EXPECT_EQ(bake.eye.z, 4.0f) << "the bake starts at its first row";
    EXPECT_FLOAT_EQ(bake.eye.y, 0.1f);
    for (int i = 0; i < 32 && observer->capturing; ++i)
        Step();
    EXPECT_EQ(observer->capturing, 0) << "rows 4 to 7 of 8 points: 32 frames";
    EXPECT_EQ(observer->image, nullptr);
    const std::vector<uint8_t> file = MapBytes();
    ASSERT_EQ(file.size(), 18u + 64u);
    EXPECT_EQ(file[2], 3) << "an uncompressed grey TGA";
    EXPECT_EQ(file[12] | file[13] << 8, 8);
    EXPECT_EQ(file[16], 8);
    // Rows are stored bottom-up: grid rows 4..7 are the file's first four rows.
    for (int r = 0; r < 8; ++r)
        for (int c = 0; c < 8; ++c)
            EXPECT_EQ(file[18 + r * 8 + c], r < 4 ? 255 : 0) << "file row " << r;
}

TEST_F(ObserverBake, AnAlmostMagentaFrameSetsNothingAndASecondPressStops) {
    wipe->color[2] = 0.99f;
    Frame();
    Observer2CaptureStart(observer);
    for (int i = 0; i < 10; ++i)
        Step();
    SlEvent o{SL_KEYDOWN, 24, 0, 0};
    observer->OnMessage(&o);
    EXPECT_EQ(observer->capturing, 0);
    const std::vector<uint8_t> file = MapBytes();
    ASSERT_EQ(file.size(), 18u + 64u);
    for (size_t i = 18; i < file.size(); ++i)
        EXPECT_EQ(file[i], 0) << i;
}

TEST_F(ObserverBake, AStopMidBakeWritesOnlyTheRowsVisited) {
    Frame();
    Observer2CaptureStart(observer);
    for (int i = 0; i < 10; ++i) // row 4 and two points of row 5
        Step();
    Observer2CaptureStop(observer);
    const std::vector<uint8_t> file = MapBytes();
    ASSERT_EQ(file.size(), 18u + 64u);
    int set = 0;
    for (size_t i = 18; i < file.size(); ++i)
        set += file[i] == 255;
    EXPECT_EQ(set, 10);
    EXPECT_EQ(file[18 + 3 * 8 + 0], 255) << "grid row 4 is file row 3";
    EXPECT_EQ(file[18 + 2 * 8 + 2], 0) << "grid row 5 point 2 was not visited";
}

TEST_F(ObserverBake, AFolderInTheWayFailsTheWriteAndStillFreesTheImage) {
    mkdir(MapPath().c_str(), 0755);
    Observer2CaptureStart(observer);
    Step();
    observer->Destroy(); // writes, fails, frees: LeakSanitizer stays silent
    EXPECT_EQ(LogCount("could not be written"), 1);
    rmdir(MapPath().c_str());
}

} // namespace
