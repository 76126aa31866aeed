// The test avatar on a real board and cube: stick and step movement by the side it stands on,
// marking with markers, mode flips, its camera, and the pads, boards and marker parents that
// are missing.
#include "engine/Input/SlInput.h"
#include "tests/world/CubeFixture.h"
#include "world/Avatar1.h"
#include "world/Marker1.h"

#include <cstring>

namespace {

class AvatarTest : public CubeTest {
  protected:
    void SetUp() override {
        CubeTest::SetUp();
        for (EntClassProc proc : {EcAvatar1Proc, EcMarker1Proc})
            ASSERT_EQ(EntCreateClass(proc, 0, 0), 0);
        std::memset(SlPadGetState(0), 0, sizeof(SlPad));
    }
    void TearDown() override {
        std::memset(SlPadGetState(0), 0, sizeof(SlPad));
        CubeTest::TearDown();
    }
    // A 20 x 20 board of 2-unit tiles centred on (100, 100), and a "Markers" folder.
    void Board(bool markers = true) {
        auto* b = Make<Playfield1>("Playfield1", world, "Playfield");
        b->dimX = b->dimY = 20;
        b->tileSize = 2.0f;
        b->pos = VECTOR3{100.0f, 0.0f, 100.0f};
        b->Start();
        field = b;
        if (markers) folder = Make("EntNull", world, "Markers");
    }
    Avatar1* Avatar(VECTOR3 at) {
        auto* a = Make<Avatar1>("Avatar1", world, "Player1");
        a->pos = at;
        a->Start();
        a->SetLocalPlayer(0);
        return a;
    }
    static SlPad& Pad() { return *SlPadGetState(0); }
    static void Press(uint32_t mask) { Pad().pressed = mask; }
    static int Children(ENTBASE* parent, const char* type) {
        ENTBASE* found[16];
        return EntFindAllOfType(parent, type, found, 16);
    }
    Playfield1* field = nullptr;
    ENTBASE* folder = nullptr;
};

TEST_F(AvatarTest, TheStickMovesByTheSideOfTheCube) {
    Board();
    Avatar1* a = Avatar({100, 0, 100});
    a->face = 1;
    Pad().lx = 1.0f;
    a->Update(0.5f);
    EXPECT_FLOAT_EQ(a->pos.x, 107.5f) << "face 1 walks +x at 15 a second";
    EXPECT_EQ(a->matrix.m[12], a->pos.x);
    a->face = 0;
    a->Update(0.5f);
    EXPECT_FLOAT_EQ(a->pos.x, 100.0f) << "face 0 turns the stick around";
    Pad().lx = 0.5f;
    a->face = 1;
    a->Update(1.0f);
    EXPECT_FLOAT_EQ(a->pos.x, 103.75f) << "the stick is squared";
}

TEST_F(AvatarTest, ACubeAnswerOfFourKeepsTheFace) {
    Board();
    Cube1* c = Cube(2, 2, 2, 1.0f, {99, 0, 99}); // centre (100, 100)
    c->SetName("Cube");
    Avatar1* a = Avatar({110, 0, 100});
    EXPECT_EQ(a->face, 2) << "east of the cube";
    EXPECT_EQ(a->AvatarFaceIndex(), 2);
    a->pos = VECTOR3{105, 0, 105}; // on the diagonal
    a->Update(0.1f);
    EXPECT_EQ(a->face, 2);
    a->pos = VECTOR3{100, 0, 90};
    a->Update(0.1f);
    EXPECT_EQ(a->face, 1);
}

TEST_F(AvatarTest, AMarksTheTileAndLeavesAMarkerAtItsCentre) {
    Board();
    Avatar1* a = Avatar({100.5f, 0, 100.5f});
    Press(0x100);
    a->Update(0.0f);
    ASSERT_EQ(Children(folder, "Marker1"), 1);
    ENTBASE* found[1];
    ASSERT_EQ(EntFindAllOfType(folder, "Marker1", found, 1), 1);
    auto* m = static_cast<Marker1*>(found[0]);
    EXPECT_EQ(m->pos.x, 101.0f);
    EXPECT_EQ(m->pos.y, 0.1f);
    EXPECT_EQ(m->pos.z, 101.0f);
    EXPECT_EQ(m->tileX, 10);
    EXPECT_EQ(field->cells[10 * 20 + 10], 1u);
    EXPECT_EQ(field->cursor.x, 100.0f) << "the cursor follows the avatar";
    a->Update(0.0f);
    EXPECT_EQ(field->cells[10 * 20 + 10], 0u) << "A again clears the mark";
    EXPECT_EQ(Children(folder, "Marker1"), 1) << "and leaves the marker";
}

TEST_F(AvatarTest, StepsAreThreeUnitsPerPressAndXOrTabFlipTheMode) {
    Board();
    Avatar1* a = Avatar({100, 0, 100});
    a->face = 1;
    Press(0x400); // X
    a->Update(0.1f);
    EXPECT_EQ(a->mode, AVATAR1_STEP);
    Press(0x4); // stick right
    a->Update(0.1f);
    EXPECT_EQ(a->pos.x, 103.0f);
    Press(0x1 | 0x200000); // stick up, d-pad down: the d-pad wins
    a->Update(5.0f);
    EXPECT_EQ(a->pos.z, 97.0f) << "one step whatever the time";
    Press(0);
    a->Update(0.1f);
    EXPECT_EQ(a->pos.z, 97.0f);
    SlEvent tab{SL_KEYDOWN, 15, 0, 0};
    a->OnMessage(&tab);
    EXPECT_EQ(a->mode, AVATAR1_ANALOG);
}

TEST_F(AvatarTest, ItsCameraIsTheInverseOfItsMatrix) {
    Avatar1* a = Avatar({100, 2, 50});
    a->Update(0.1f);
    const CameraDesc d = View(a);
    EXPECT_TRUE(InverseOf(a->matrix, d.view));
    EXPECT_EQ(d.eye.z, 50.0f);
    EXPECT_FLOAT_EQ(d.fov, 1.04718f);
}

TEST_F(AvatarTest, WithoutABoardOrMarkersOrAPad) {
    Avatar1* lone = Avatar({100, 0, 100});
    Press(0x100);
    lone->Update(0.1f); // no board: no mark, no cursor, no crash
    EXPECT_EQ(Children(world, "Marker1"), 0);
    lone->Destroy();

    Board(false);
    Avatar1* a = Avatar({100.5f, 0, 100.5f});
    a->Update(0.1f);
    ENTBASE* found[1];
    ASSERT_EQ(EntFindAllOfType(world, "Marker1", found, 1), 1);
    EXPECT_EQ(EntGetParent(found[0]), world) << "no \"Markers\": the avatar's parent holds it";

    a->SetLocalPlayer(7);
    EXPECT_EQ(a->pad, -1);
    EXPECT_EQ(LogCount("pad 7 does not exist"), 1);
    Pad().lx = 1.0f;
    const float x = a->pos.x;
    a->Update(1.0f);
    EXPECT_EQ(a->pos.x, x) << "without a pad the avatar stands";
}

TEST_F(AvatarTest, TheTwoTogglesAreNeverBothOn) {
    Avatar1* a = Avatar({0, 0, 0});
    for (int type : {1192, 1194, 1194, 1192, 1194, 1192, 1192}) {
        SlEvent e{type, 0, 0, 0};
        a->OnMessage(&e);
        EXPECT_FALSE(a->toggles[0] && a->toggles[1]);
    }
    SlEvent move{SL_MOUSEMOVE, 10, -20, 0};
    a->OnMessage(&move);
    EXPECT_FLOAT_EQ(a->yaw, 0.03f);
    EXPECT_FLOAT_EQ(a->pitch, -0.06f);
}

} // namespace
