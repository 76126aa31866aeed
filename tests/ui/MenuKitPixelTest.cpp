// The control kit on llvmpipe in the running game: the test screen's buttons, panels, lights and
// logo read back where their cells and uv rectangles put them, titles exactly as the font draws
// them, and the whole screen opened from Startup.lua and driven by SDL mouse events only.
#include "tests/harness/UiHarness.h"
#include "tests/ui/KitScreen.h"
#include "tests/ui/UiPictures.h"

#include "I3d/Font.h"
#include "datagen/Interface/InterfaceArt.h"
#include "engine/EntTree.h"
#include "engine/PropDb.h"
#include "game/MtGame.h"
#include "ui/MouseCursor1.h"
#include "ui/StaticText.h"
#include "world/CursorFrame.h"

#include <algorithm>
#include <cstdio>
#include <set>
#include <string>
#include <tuple>

namespace {
// A menu that builds the kit's test screen when it starts and shows the pointer, as menus do.
class KitMenu : public MenuDouble {
  public:
    int Start() override {
        screen = BuildKitScreen(this);
        g_cursorFrameIndex = 1;
        return MenuDouble::Start();
    }
    KitScreen screen;
};

intptr_t KitMenuProc(EntNode* node, int message, intptr_t a, intptr_t b, intptr_t c) {
    static PropDb s_db;
    switch (message) {
        case ENT_CLASS_MSG_BUILD_DB:
            if (!s_db.first) {
                PropDbSetName(&s_db, "KitMenu");
                PropDbAddStringBlank(&s_db, "name", PROP_OFFSET(KitMenu, name), 32);
            }
            return 0;
        case ENT_CLASS_MSG_CLASS_NAME:
            std::snprintf(reinterpret_cast<char*>(b), 64, "KitMenu");
            return 0;
        case ENT_CLASS_MSG_CREATE: return EntProcCreate(node, new KitMenu, &s_db);
        default: return EntProcForward(node, message, a, b, c);
    }
}

uint32_t Fill(uint32_t argb) {
    return Rgb(argb);
}

bool Brighter(uint32_t a, uint32_t b) {
    for (int shift = 0; shift < 24; shift += 8)
        if (((a >> shift) & 0xFF) < ((b >> shift) & 0xFF)) return false;
    return a != b;
}

class MenuKitPixelTest : public UiTest {
  protected:
    // The real game object (it acquires the six interface fonts) and the kit menu.
    void StartKit(const std::string& body = "") {
        registerFirst = [] {
            EntCreateClass(EcMtGameProc, 0, 0);
            EntCreateClass(KitMenuProc, 0, 0);
        };
        StartUi(body);
    }
    KitMenu* FindKitMenu() {
        for (EntNode* n = app.GetMenus()->node->firstChild; n; n = n->next)
            if (auto* k = dynamic_cast<KitMenu*>(n->object)) return k;
        return nullptr;
    }
};
} // namespace

TEST_F(MenuKitPixelTest, TheKitScreenReadsBackWhereItsCellsAndUvRectanglesPutIt) {
    StartKit();
    ASSERT_TRUE(FontFind("Georgia_26")) << "the game object did not load the interface fonts";
    auto* kit = dynamic_cast<KitMenu*>(EntCreateChild("KitMenu", app.GetMenus()));
    ASSERT_TRUE(kit);
    kit->Start();
    g_cursorFrameIndex = -1;
    const KitScreen& s = kit->screen;
    EXPECT_EQ(s.calls, 31);
    Step();
    std::vector<uint32_t> px = ReadPixels();

    // Every graphic button's generated normal fill at (4, 4).
    ASSERT_EQ(s.buttons.size(), 14u);
    for (int k = 0; k < 14; ++k) {
        ASSERT_TRUE(s.buttons[k]) << k;
        EXPECT_EQ(Rgb(PixelAt(px, int(KitButtonX(k)) + 4, int(KitButtonY(k)) + 4)),
                  Fill(kArtStateFill[0]))
            << s.buttons[k]->image.textureName;
    }
    // The panel (13..586 x 167..592): its fill at the left strip the large panel leaves free, and
    // its right and bottom borders exactly where the uv rectangle ends.
    const uint32_t panel = Fill(kArtPanelFill);
    EXPECT_EQ(Rgb(PixelAt(px, 30, 180)), panel);
    EXPECT_EQ(Rgb(PixelAt(px, 30, 580)), panel);
    EXPECT_EQ(Rgb(PixelAt(px, 575, 300)), panel);
    EXPECT_TRUE(Brighter(Rgb(PixelAt(px, 584, 300)), panel)) << "no border at the uv's right edge";
    EXPECT_TRUE(Brighter(Rgb(PixelAt(px, 30, 590)), panel)) << "no border at the uv's bottom";
    // The in-game panel's body beyond the large panel's right edge, down to its last rows.
    EXPECT_EQ(Rgb(PixelAt(px, 978, 300)), panel);
    EXPECT_EQ(Rgb(PixelAt(px, 978, 530)), panel);
    // Its lights and the logo show the fill of their current frame.
    std::set<int> lightFrames, logoFrames;
    int logoChanges = 0, lastLogo = s.logo->frame;
    AnimGraphic* lights = nullptr;
    for (EntNode* n = kit->node->firstChild; n; n = n->next)
        if (auto* a = dynamic_cast<AnimGraphic*>(n->object); a && a != s.logo) lights = a;
    ASSERT_TRUE(lights);
    const ArtRow* logo = nullptr;
    for (const ArtRow& row : ArtTable())
        if (std::string(row.file) == "Menu/Common/ZOBLogoAnimSmall.dds") logo = &row;
    ASSERT_TRUE(logo);
    for (int i = 0; i < 20; ++i) {
        Step();
        px = ReadPixels();
        // Texel (4, 80) of the lights: the logo covers their top left.
        EXPECT_EQ(Rgb(PixelAt(px, 615, 203)), Fill(kArtStateFill[lights->frame % 3])) << i;
        EXPECT_EQ(Rgb(PixelAt(px, 388, 14)), Fill(ArtFrameFill(*logo, uint32_t(s.logo->frame))))
            << i;
        lightFrames.insert(lights->frame);
        logoFrames.insert(s.logo->frame);
        logoChanges += s.logo->frame != lastLogo;
        lastLogo = s.logo->frame;
    }
    EXPECT_EQ(lightFrames, (std::set<int>{0, 1, 2}));
    EXPECT_EQ(logoFrames, (std::set<int>{0, 1}));
    // 0.4 s at one frame per 0.1 s.
    EXPECT_GE(logoChanges, 3);
    EXPECT_LE(logoChanges, 5);
}

// The kit's titles are the font's own drawing: the same text drawn with FontDraw in a reference
// frame gives the same pixels.
TEST_F(MenuKitPixelTest, TitlesMatchTheSameTextDrawnByTheFont) {
    StartKit();
    StaticText* title = MenuKitTitle(u"Kit Title", menu);
    StaticText* heading = MenuKitHeading(u"Heading", 512, 400, menu);
    ASSERT_TRUE(title && heading);
    Step();
    const std::vector<uint32_t> kitFrame = ReadPixels();
    EntDestroyTree(title);
    EntDestroyTree(heading);
    auto* probe = dynamic_cast<DrawProbe*>(EntCreateChild("DrawProbe", menu));
    ASSERT_TRUE(probe);
    probe->draw = [] {
        for (auto [name, y, text] : {std::tuple{"Georgia_20", 160.0f, u"Kit Title"},
                                     std::tuple{"Georgia_26", 400.0f, u"Heading"}}) {
            Font* f = FontFind(name);
            if (!f) continue;
            FontSetScale(f, 1, 1);
            FontSetGlyphOffsetX(f, 0);
            f->hAlign = 1;
            f->vAlign = 0;
            f->colour = 0xFFFFFFFFu;
            FontDraw(f, 512, y, text);
        }
    };
    Step();
    const std::vector<uint32_t> reference = ReadPixels();
    int lit = 0, differ = 0;
    for (int y = 140; y < 450; ++y)
        for (int x = 300; x < 724; ++x) {
            lit += Rgb(PixelAt(reference, x, y)) != 0;
            differ += PixelAt(reference, x, y) != PixelAt(kitFrame, x, y);
        }
    EXPECT_GT(lit, 100) << "the reference drew no text";
    EXPECT_EQ(differ, 0);
}

// The whole road: Startup.lua opens the kit menu under the menus; then SDL mouse events only.
TEST_F(MenuKitPixelTest, TheKitScreenOpensFromTheStartUpScriptAndAnswersTheMouse) {
    StartKit("local kit = Entity.Create('KitMenu', Game.GetMenuEntity())\n"
             "Entity.Start(kit)\n");
    KitMenu* kit = FindKitMenu();
    ASSERT_TRUE(kit) << "Startup.lua did not open the kit menu";
    auto* cursor = dynamic_cast<MouseCursor1*>(app.mouse.Get());
    ASSERT_TRUE(cursor);
    // The harness's own test menu, made after the start-up, hid the pointer the kit menu showed.
    g_cursorFrameIndex = 1;

    // The pointer crosses the screen and past it; the cursor follows, held at 1020 x 764.
    for (int i = 0; i <= 10; ++i) {
        const float x = 200.0f * float(i), y = 150.0f * float(i);
        MouseMove(x, y);
        Step();
        const float wantX = x > 1020 ? 1020 : x, wantY = y > 764 ? 764 : y;
        EXPECT_EQ(std::make_tuple(cursor->x, cursor->y), std::make_tuple(wantX, wantY)) << i;
        // Texel (3, 3) of the shape: at the clamp the block's fourth column is off the screen.
        EXPECT_EQ(Rgb(PixelAt(ReadPixels(), int(wantX) + 3, int(wantY) + 3)),
                  Rgb(kArtCursorFill[1]))
            << "the cursor is not at the pointer " << i;
    }
    // Hovering each button shows its focused frame beside the cursor.
    for (int k = 0; k < 14; ++k) {
        GraphicButton* b = kit->screen.buttons[k];
        ASSERT_TRUE(b);
        const float cx = (b->rect.left + b->rect.right) / 2,
                    cy = (b->rect.top + b->rect.bottom) / 2;
        MouseMove(cx, cy);
        Step(15); // past the focus flash
        EXPECT_EQ(b->state, CTL3_FOCUSED) << b->image.textureName;
        EXPECT_EQ(Rgb(PixelAt(ReadPixels(), int(b->rect.left) + 4, int(b->rect.top) + 4)),
                  Fill(kArtStateFill[1]))
            << b->image.textureName << " does not show its focused frame";
    }
    // A click on the kit's OK button reaches the menus as (27, id, 0).
    GraphicButton* ok = kit->screen.buttons[7];
    MouseMove(ok->rect.left + 20, ok->rect.top + 20);
    Step();
    Forget();
    kit->heard.clear();
    MouseButton(true);
    Step();
    MouseButton(false);
    Step();
    bool clicked = false;
    for (const SlEvent& e : kit->heard)
        clicked |= e.type == CTL3_EVENT && e.a == kKitOkId && e.b == CTL3_CLICK;
    EXPECT_TRUE(clicked) << "the kit menu never heard the OK click";
    const auto events = ControlEvents();
    EXPECT_NE(std::find(events.begin(), events.end(), std::pair<intptr_t, intptr_t>{kKitOkId, 0}),
              events.end());
}
