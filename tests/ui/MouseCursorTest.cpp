// The menu root and the mouse cursor in the running game: the tree the real builder makes, the
// pointer clamped and published from SDL motion, the shape drawn at the pointer on llvmpipe
// (hidden for any index outside the shapes and without a texture), and bad pointers and limits.
#include "tests/harness/UiHarness.h"
#include "tests/ui/UiPictures.h"

#include "datagen/Interface/InterfaceArt.h"
#include "engine/EntTree.h"
#include "engine/Input/SlInput.h"
#include "ui/GraphicButton.h"
#include "ui/MenuKit.h"
#include "ui/MenuRoot.h"
#include "ui/MouseCursor1.h"
#include "world/CameraVantor1.h"
#include "world/CursorFrame.h"

#include <climits>
#include <cmath>
#include <cstdio>
#include <limits>
#include <string>
#include <vector>

namespace {
class MouseCursorTest : public UiTest {
  protected:
    void SetUp() override {
        UiTest::SetUp();
        keepLog = true;
        StartUi();
        g_cursorFrameIndex = 1;
        cursor = dynamic_cast<MouseCursor1*>(app.mouse.Get());
        ASSERT_TRUE(cursor) << "the root tree has no real mouse cursor";
    }
    // The fill at texel (4, 4) of the block the cursor draws with its corner at (x, y).
    uint32_t ShapeAt(int x, int y) { return Rgb(PixelAt(ReadPixels(), x + 4, y + 4)); }
    void PointTo(float x, float y) {
        MouseMove(x, y);
        Step();
    }
    MouseCursor1* cursor = nullptr;
};

uint32_t Fill(int shape) {
    return Rgb(kArtCursorFill[shape]);
}

std::vector<std::string> ChildNames(ENTBASE* e) {
    std::vector<std::string> out;
    for (EntNode* c = e->node->firstChild; c; c = c->next)
        out.push_back(c->object->GetName());
    return out;
}
} // namespace

TEST_F(MouseCursorTest, TheRealTreeBuilderMakesTheMenuRootAndTheSetUpCursor) {
    auto* root = dynamic_cast<MenuRoot*>(app.menuRoot.Get());
    ASSERT_TRUE(root) << "MenuRoot is not the real class";
    EXPECT_EQ(std::make_tuple(root->width, root->height), std::make_tuple(1024, 768));
    EXPECT_TRUE(root->TestFlag(0x8)) << "the editor's pass skips a menu root without flag 0x8";
    EXPECT_EQ(ChildNames(root), (std::vector<std::string>{"Menu Viewport", "Menus", "Cursors"}));
    ENTBASE* cursors = EntTreeFindName(root, "Cursors");
    ASSERT_TRUE(cursors);
    EXPECT_EQ(ChildNames(cursors), (std::vector<std::string>{"Mouse"}));
    EXPECT_STREQ(cursor->texName, "Menu\\MouseCursors.dds");
    EXPECT_EQ(
        std::make_tuple(cursor->cellTop, cursor->cellLeft, cursor->cellBottom, cursor->cellRight),
        std::make_tuple(0, 0, 31, 31));
    EXPECT_EQ(std::make_tuple(cursor->minX, cursor->maxX, cursor->minY, cursor->maxY),
              std::make_tuple(0.0f, 1020.0f, 0.0f, 764.0f));
    EXPECT_EQ(cursor->mode, 4);
    EXPECT_EQ(cursor->enabled, 1);
    EXPECT_EQ(cursor->shapeCount, 4) << "32 x 128: four whole shapes";
    EXPECT_TRUE(MouseCursorShader());
    const std::string log = LogText();
    EXPECT_EQ(log.find("not registered"), std::string::npos) << log;
}

TEST_F(MouseCursorTest, SdlMotionIsClampedAndPublished) {
    MouseMove(2000, -5);
    Step();
    float x = -1, y = -1;
    MouseCursorPointer(&x, &y);
    EXPECT_EQ(std::make_tuple(x, y), std::make_tuple(1020.0f, 0.0f));
    EXPECT_EQ(std::make_tuple(cursor->x, cursor->y), std::make_tuple(1020.0f, 0.0f));
    cursor->maxX = 1024;
    cursor->maxY = 768;
    MouseMove(2000, -5);
    Step();
    MouseCursorPointer(&x, &y);
    EXPECT_EQ(std::make_tuple(x, y), std::make_tuple(1024.0f, 0.0f));
}

// The cursor never consumes an event: a button under "Menus" hovers from the same motion.
TEST_F(MouseCursorTest, TheCursorPassesEveryEventOnAndButtonsStillHover) {
    for (int32_t type : {0, 2, 4, 6, 7, 21, 27, 40, 48, 50, 1000}) {
        SlEvent e{type, SlPackFloat(10.0f), SlPackFloat(20.0f), 0};
        EXPECT_EQ(cursor->OnMessage(&e), 1) << "event " << type;
    }
    EXPECT_EQ(cursor->OnMessage(nullptr), 1);
    GraphicButton* ok = MenuKitButtonOk(3, 400, 300, menu);
    ASSERT_TRUE(ok);
    PointTo(440, 320);
    EXPECT_EQ(ok->state, CTL3_FOCUSED) << "the button did not hear the pointer";
    float x = 0, y = 0;
    MouseCursorPointer(&x, &y);
    EXPECT_EQ(std::make_tuple(x, y), std::make_tuple(440.0f, 320.0f));
}

TEST_F(MouseCursorTest, TheShapeOfTheIndexIsDrawnWithItsCornerAtThePointer) {
    PointTo(100, 200);
    EXPECT_EQ(ShapeAt(100, 200), Fill(1));
    g_cursorFrameIndex = 2;
    Step();
    EXPECT_EQ(ShapeAt(100, 200), Fill(2));
    const uint32_t black = Rgb(PixelAt(ReadPixels(), 60, 60));
    EXPECT_EQ(Rgb(PixelAt(ReadPixels(), 100 + 31, 200)), black) << "transparent around the arrow";
    // Any index outside the shapes hides it: the count, -1, other negatives, huge ones.
    for (int32_t index : {4, -1, -2, INT_MIN, 1000}) {
        g_cursorFrameIndex = index;
        Step();
        EXPECT_EQ(ShapeAt(100, 200), black) << "index " << index << " drew something";
        EXPECT_EQ(cursor->current, -1);
    }
    g_cursorFrameIndex = 3;
    Step();
    EXPECT_EQ(ShapeAt(100, 200), Fill(3)) << "a valid index after a bad one must show again";
    cursor->enabled = 0;
    Step();
    EXPECT_EQ(ShapeAt(100, 200), black) << "a switched-off cursor still drew";
}

// A cursor made by its class name, as a script or an entity file makes one, shows without the
// tree builder's set-up.
TEST_F(MouseCursorTest, ACursorMadeByNameShowsWithoutTheSetUp) {
    ENTBASE* cursors = EntTreeFindName(app.menuRoot.Get(), "Cursors");
    ASSERT_TRUE(cursors);
    auto* made = dynamic_cast<MouseCursor1*>(EntCreateChild("MouseCursor1", cursors));
    ASSERT_TRUE(made);
    std::snprintf(made->texName, sizeof made->texName, "%s", "Menu\\MouseCursors.dds");
    made->maxX = 1020;
    made->maxY = 764;
    made->Start();
    cursor->enabled = 0;
    g_cursorFrameIndex = 1;
    PointTo(100, 200);
    EXPECT_EQ(ShapeAt(100, 200), Fill(1)) << "the cursor made by name drew nothing";
    EntDestroyTree(made);
}

TEST_F(MouseCursorTest, TheCursorIsDrawnOverEveryMenu) {
    StaticGraphic* white = MenuKitBackground(nullptr, menu);
    ASSERT_TRUE(white);
    // A menu made after the cursor, under "Menus" as every menu is.
    ENTBASE* later = EntCreateChild("TestMenu", app.GetMenus());
    ASSERT_TRUE(later);
    ASSERT_TRUE(MenuKitBackground(nullptr, later));
    PointTo(300, 300);
    EXPECT_EQ(ShapeAt(300, 300), Fill(1));
    EXPECT_EQ(Rgb(PixelAt(ReadPixels(), 600, 600)), 0xFFFFFFFFu)
        << "the white background is missing";
}

// The management camera writes the index while it pans; the cursor follows.
TEST_F(MouseCursorTest, TheManagementCamerasPanningShowsShapeTwo) {
    auto* cam = dynamic_cast<CameraVantor1*>(EntCreateChild("CameraVantor1", app.GetWorld()));
    ASSERT_TRUE(cam);
    cam->Start();
    app.SetKeyboardEntity(cam);
    PointTo(500, 400);
    EXPECT_EQ(ShapeAt(500, 400), Fill(1));
    SlPostEvent(SL_MOUSE1DOWN, 0, 0);
    Step();
    EXPECT_EQ(g_cursorFrameIndex, 2);
    EXPECT_EQ(ShapeAt(500, 400), Fill(2)) << "the panning shape is not shown";
    SlPostEvent(SL_MOUSE1UP, 0, 0);
    Step();
    EXPECT_EQ(ShapeAt(500, 400), Fill(1));
    app.SetKeyboardEntity(nullptr);
}

// ---- bad input ----

TEST_F(MouseCursorTest, PointersThatAreNotNumbersOrHugeStayInsideTheLimits) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    struct Case {
        float x, y, wantX, wantY;
    };
    for (const Case& c :
         {Case{nan, nan, 0, 0}, Case{1e30f, -1e30f, 1020, 0}, Case{-1e30f, 1e30f, 0, 764},
          Case{std::numeric_limits<float>::infinity(), 5, 1020, 5}}) {
        cursor->MoveTo(c.x, c.y);
        EXPECT_EQ(std::make_tuple(cursor->x, cursor->y), std::make_tuple(c.wantX, c.wantY));
    }
    SlEvent e{SL_MOUSEPOS, SlPackFloat(nan), SlPackFloat(nan), 0};
    cursor->OnMessage(&e);
    float x = 1, y = 1;
    MouseCursorPointer(&x, &y);
    EXPECT_FALSE(std::isnan(x) || std::isnan(y));
    // Limits the wrong way round: the pointer sits at the low one.
    cursor->minX = 500, cursor->maxX = 100;
    cursor->MoveTo(50, 10);
    EXPECT_EQ(cursor->x, 500.0f);
    cursor->MoveTo(900, 10);
    EXPECT_EQ(cursor->x, 500.0f);
}

// Without its texture the cursor has no shapes, divides by nothing, and hides.
TEST_F(MouseCursorTest, AMissingTextureHidesTheCursor) {
    PointTo(100, 200);
    std::snprintf(cursor->texName, sizeof cursor->texName, "%s", "Menu\\NoSuchCursors.dds");
    cursor->Start();
    EXPECT_EQ(cursor->slot, -1);
    EXPECT_EQ(cursor->shapeCount, 0);
    EXPECT_EQ(cursor->current, -1);
    for (int32_t index : {0, 1, 3}) {
        g_cursorFrameIndex = index;
        Step();
        EXPECT_EQ(cursor->current, -1);
        EXPECT_EQ(ShapeAt(100, 200), Rgb(0)) << "index " << index;
    }
    EXPECT_NE(LogText().find("NoSuchCursors"), std::string::npos) << "the log does not say why";
}

// A texture whose height is not a whole number of cells counts whole shapes only.
TEST_F(MouseCursorTest, OnlyWholeShapesCount) {
    ASSERT_TRUE(WritePicture("UiTest\\Cursors100.tga", 32, 100, [](int, int y) -> uint32_t {
        return y < 32 ? 0xFF102030u : y < 64 ? 0xFF405060u : y < 96 ? 0xFF708090u : 0xFFFF00FFu;
    }));
    std::snprintf(cursor->texName, sizeof cursor->texName, "%s", "UiTest\\Cursors100.tga");
    cursor->Start();
    EXPECT_EQ(cursor->shapeCount, 3);
    PointTo(100, 200);
    g_cursorFrameIndex = 2;
    Step();
    EXPECT_EQ(ShapeAt(100, 200), 0xFF708090u);
    g_cursorFrameIndex = 3; // the partial fourth cell
    Step();
    EXPECT_EQ(ShapeAt(100, 200), Rgb(0));
    // A cell upside down (a script's or an ini's) holds no shape at all.
    cursor->cellBottom = -5;
    cursor->Start();
    EXPECT_EQ(cursor->shapeCount, 0);
    g_cursorFrameIndex = 0;
    Step();
    EXPECT_EQ(cursor->current, -1);
}
