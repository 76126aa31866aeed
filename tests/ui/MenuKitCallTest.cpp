// The control kit's builders on the recording device: what each builds (names, textures, cells,
// rectangles, fonts, alignment, ids, colours), the check-box group order, and the degraded
// builds without a menu, a class, a texture or the fonts.
#include "tests/I3d/KernelFixture.h"
#include "tests/ui/KitScreen.h"

#include "I3d/Font.h"
#include "engine/EntTree.h"
#include "engine/FrameClock.h"
#include "engine/Input/SlInput.h"
#include "tests/support/TestSupport.h"
#include "ui/AnimGraphic.h"
#include "ui/Ctl3TextStyle.h"
#include "ui/GraphicButton.h"
#include "ui/GraphicCheckBox.h"
#include "ui/MenuKit.h"
#include "ui/Slider.h"
#include "ui/StaticGraphic.h"
#include "ui/StaticText.h"
#include "ui/StaticTextBox.h"
#include "ui/TextButton.h"
#include "ui/TextCheckBox.h"
#include "world/EntNull.h"

#include <cstring>
#include <string>
#include <vector>

namespace {
const char* const kKitFonts[6] = {"Georgia_26", "Georgia_20", "Georgia_16",
                                  "Georgia_14", "Arial_12b",  "CourierNew9o"};

class MenuKitCallTest : public KernelTest {
  protected:
    void SetUp() override {
        KernelTest::SetUp();
        StartRecordingDevice();
        CreateCurrentPair();
        ASSERT_EQ(I3dTexTableAlloc(64), 0);
        EntSystemInit();
        for (EntClassProc proc :
             {EcNullProc, EcGraphicButtonProc, EcGraphicCheckBoxProc, EcTextCheckBoxProc,
              EcTextButtonProc, EcStaticTextProc, EcStaticTextBoxProc, EcStaticGraphicProc,
              EcAnimGraphicProc, EcSliderProc})
            ASSERT_EQ(EntCreateClass(proc, 0, 0), 0);
        m_oldData = Ctl3DataFolder();
        Ctl3SetDataFolder(FAIRLARK_BUILD_DATA_DIR);
        for (const char* f : kKitFonts) {
            Font* font = FontAcquire((std::string(FAIRLARK_BUILD_DATA_DIR "Fonts/") + f).c_str());
            ASSERT_TRUE(font) << f;
            fonts.push_back(font);
        }
        menu = EntCreateChild("ENTNULL", nullptr);
        ASSERT_TRUE(menu);
        m_oldSeconds = g_frameSeconds;
        SlEventQueueClear();
    }
    void TearDown() override {
        g_frameSeconds = m_oldSeconds;
        SlEventQueueClear();
        if (menu) EntDestroyTree(menu);
        EntSystemShutdown();
        ReleaseFonts();
        Ctl3SetDataFolder(m_oldData.c_str());
        I3dTexTableFree();
        KernelTest::TearDown();
    }
    void ReleaseFonts() {
        for (Font* f : fonts)
            SharedObjRelease(f);
        fonts.clear();
    }
    int Children() const {
        int n = 0;
        for (EntNode* c = menu->node->firstChild; c; c = c->next)
            n += c->deleteCount == 0;
        return n;
    }
    template <class T>
    std::vector<T*> All() const {
        std::vector<T*> out;
        for (EntNode* c = menu->node->firstChild; c; c = c->next)
            if (auto* t = dynamic_cast<T*>(c->object)) out.push_back(t);
        return out;
    }
    int Draws() {
        return Log().Count("DrawPrimitive") + Log().Count("DrawPrimitiveUP") +
               Log().Count("DrawIndexedPrimitive");
    }

    ENTBASE* menu = nullptr;
    std::vector<Font*> fonts;
    std::string m_oldData;
    float m_oldSeconds = 0.0f;
};

struct ButtonRow {
    KitButtonFn fn;
    const char* name;
    const char* texture;
    int32_t right, bottom;
};
} // namespace

// Names repeat as the table gives them ("Down", "Next", "Fire"): only the debug overlay shows
// them, and screens that look controls up by name would be a fault of their own.
TEST_F(MenuKitCallTest, EachButtonBuilderGivesItsNameTextureCellAndRectangle) {
    const ButtonRow rows[14] = {
        {MenuKitButtonUp, "Up", "Menu\\Common\\ButtonUp.dds", 96, 56},
        {MenuKitButtonDown, "Down", "Menu\\Common\\ButtonDown.dds", 96, 56},
        {MenuKitButtonPageUp, "PgUp", "Menu\\Common\\ButtonPageUp.dds", 96, 56},
        {MenuKitButtonPageDown, "Down", "Menu\\Common\\ButtonPageDown.dds", 96, 56},
        {MenuKitButtonBack, "Back", "Menu\\Common\\ZobButtonBack.dds", 118, 63},
        {MenuKitButtonStart, "Start", "Menu\\Common\\ZobButtonStart.dds", 118, 62},
        {MenuKitButtonNext, "Next", "Menu\\Common\\ZobButtonNext.dds", 117, 63},
        {MenuKitButtonOk, "Next", "Menu\\Common\\ZobButtonOk.dds", 96, 56},
        {MenuKitButtonCancel, "Next", "Menu\\Common\\ZobButtonCancel.dds", 133, 55},
        {MenuKitButtonDelete, "Delete", "Menu\\Common\\ZobButtonDelete.dds", 96, 56},
        {MenuKitButtonView, "View", "Menu\\Common\\ZobButtonView.dds", 96, 56},
        {MenuKitButtonHire, "Hire", "Menu\\Common\\ZobButtonHire.dds", 96, 56},
        {MenuKitButtonFire, "Fire", "Menu\\Common\\ZobButtonFire.dds", 96, 56},
        {MenuKitButtonRide, "Fire", "Menu\\Common\\ButtonRide.dds", 96, 56},
    };
    for (const ButtonRow& row : rows) {
        GraphicButton* b = row.fn(5, 332, 533, menu);
        ASSERT_TRUE(b) << row.texture;
        EXPECT_STREQ(b->GetName(), row.name);
        EXPECT_STREQ(b->image.textureName, row.texture);
        EXPECT_EQ(b->id, 5);
        EXPECT_EQ(b->colour, kMenuKitColour);
        EXPECT_EQ(std::make_tuple(b->image.left, b->image.top, b->image.right, b->image.bottom),
                  std::make_tuple(0, 0, row.right, row.bottom))
            << row.texture;
        ASSERT_GE(b->image.slot, 0) << row.texture << " did not load: the generator lacks it";
        EXPECT_EQ(b->rect.left, 332.0f);
        EXPECT_EQ(b->rect.top, 533.0f);
        EXPECT_EQ(b->rect.right, 332.0f + float(row.right + 1)) << row.texture;
        EXPECT_EQ(b->rect.bottom, 533.0f + float(row.bottom + 1)) << row.texture;
        // Three frames fit the texture, so every state samples inside it.
        const I3dTexSlot* tex = I3dTexGetSlot(b->image.slot);
        ASSERT_TRUE(tex);
        EXPECT_LE(3 * (row.bottom + 1), tex->height) << row.texture;
        EXPECT_LE(row.right + 1, tex->width) << row.texture;
    }
    GraphicButton* cancel = MenuKitButtonCancel(5, 332, 533, menu);
    ASSERT_TRUE(cancel);
    EXPECT_EQ(std::make_tuple(cancel->rect.right, cancel->rect.bottom),
              std::make_tuple(466.0f, 589.0f));
}

// The group is stored before the check: checking a new box then clears the boxes of its group
// already under the menu, and leaves other groups alone.
TEST_F(MenuKitCallTest, ACheckedBoxUnchecksItsGroupAlreadyUnderTheMenu) {
    GraphicCheckBox* a = MenuKitCheckBox(1, u"A", 10, 10, 1, 3, menu);
    GraphicCheckBox* other = MenuKitCheckBox(2, u"B", 10, 40, 1, 4, menu);
    GraphicCheckBox* b = MenuKitCheckBox(3, u"C", 10, 70, 1, 3, menu);
    ASSERT_TRUE(a && other && b);
    EXPECT_EQ(a->checked, 0) << "the group's earlier box stayed checked";
    EXPECT_EQ(b->checked, 1);
    EXPECT_EQ(other->checked, 1) << "another group was cleared";
    EXPECT_EQ(b->radioGroup, 3);
    EXPECT_EQ(b->radioMode, 1);
    GraphicCheckBox* loose = MenuKitCheckBox(4, u"D", 10, 100, 1, -1, menu);
    ASSERT_TRUE(loose);
    EXPECT_EQ(loose->checked, 1);
    EXPECT_EQ(loose->radioMode, 0);
    EXPECT_EQ(b->checked, 1) << "a box of no group touched group 3";
    // The rest of its set-up.
    EXPECT_EQ(b->font, FontFind("Georgia_14"));
    EXPECT_EQ(b->horizAlign, 0);
    EXPECT_EQ(b->textAlign, 2);
    EXPECT_STREQ(b->box.textureName, "Menu\\Common\\ChkBx.dds");
    EXPECT_EQ(std::make_tuple(b->box.left, b->box.top, b->box.right, b->box.bottom),
              std::make_tuple(0, 0, 21, 19));
    EXPECT_GE(b->box.slot, 0);
    MenuKitSetTextAlign(b, 0);
    EXPECT_EQ(b->textAlign, 0);
}

TEST_F(MenuKitCallTest, ATextCheckBoxStartsUncheckedWhateverItIsGiven) {
    TextCheckBox* box = MenuKitTextCheckBox(7, u"Hints", 50, 60, 1, 2, menu);
    ASSERT_TRUE(box);
    EXPECT_EQ(box->checked, 0);
    EXPECT_EQ(box->radioGroup, 2);
    EXPECT_EQ(box->radioMode, 1);
    EXPECT_EQ(box->font, FontFind("CourierNew9o"));
    TextCheckBox* loose = MenuKitTextCheckBox(8, u"More", 50, 90, 1, -1, menu);
    ASSERT_TRUE(loose);
    EXPECT_EQ(loose->checked, 0);
    EXPECT_EQ(loose->radioMode, 0);
}

TEST_F(MenuKitCallTest, ANullBackgroundIsAnUntexturedWhiteFullScreenQuad) {
    StaticGraphic* g = MenuKitBackground(nullptr, menu);
    ASSERT_TRUE(g);
    EXPECT_STREQ(g->GetName(), "Background");
    EXPECT_EQ(g->slot, -1);
    EXPECT_EQ(g->textureName[0], 0);
    EXPECT_EQ(g->colour, 0xFFFFFFFFu);
    EXPECT_EQ(g->id, -1);
    EXPECT_EQ(std::make_tuple(g->rect.left, g->rect.top, g->rect.right, g->rect.bottom),
              std::make_tuple(0.0f, 0.0f, 1023.0f, 767.0f));
    EXPECT_EQ(std::make_tuple(g->uv.left, g->uv.top, g->uv.right, g->uv.bottom),
              std::make_tuple(0.0f, 0.0f, 1.0f, 0.75f));
    Log().Clear();
    g->DrawPre();
    EXPECT_EQ(Draws(), 1);

    StaticGraphic* dim = MenuKitDimBackground(menu);
    ASSERT_TRUE(dim);
    EXPECT_EQ(dim->colour, kMenuKitDim);
    EXPECT_EQ(dim->slot, -1);
    // Texture names go either way round and in any case.
    StaticGraphic* named = MenuKitBackground("menu/COMMON\\zobpanelgeneric.DDS", menu);
    ASSERT_TRUE(named);
    EXPECT_GE(named->slot, 0) << "the name's separators or case were not resolved";
}

TEST_F(MenuKitCallTest, PanelsCarryTheirSizesUvRectanglesAndTitles) {
    StaticGraphic* header = MenuKitLargePanelHeader(512, 428, u"Rides", menu);
    ASSERT_TRUE(header);
    EXPECT_STREQ(header->GetName(), "LargePanel");
    EXPECT_EQ(std::make_tuple(header->width, header->height, header->uv.right, header->uv.bottom),
              std::make_tuple(913.0f, 586.0f, 0.8916015625f, 0.572265625f));
    EXPECT_GE(header->slot, 0);
    std::vector<StaticText*> texts = All<StaticText>();
    ASSERT_EQ(texts.size(), 1u);
    StaticText* title = texts[0];
    EXPECT_EQ(std::make_tuple(title->pos.x, title->pos.y), std::make_tuple(512.0f, 178.0f));
    EXPECT_EQ(title->font, FontFind("Georgia_26"));
    EXPECT_EQ(title->horizAlign, 1);
    EXPECT_EQ(title->id, -1);
    EXPECT_EQ(std::u16string(title->label), u"Rides");

    struct Expect {
        StaticGraphic* g;
        const char* name;
        float w, h, u, v;
        const char* texture;
    };
    const Expect panels[] = {
        {MenuKitLargePanel(512, 400, menu), "LargePanel", 913, 567, 0.8916015625f, 0.5537109375f,
         "Menu\\Common\\ZobPanelGenericLarge.dds"},
        {MenuKitPanel(512, 400, menu), "LargePanel", 574, 426, 0.560546875f, 0.83203125f,
         "Menu\\Common\\ZobPanelGeneric.dds"},
        {MenuKitMidwayPanel(512, 400, menu), "MidwayPanel", 905, 572, 0.8837890625f, 0.55859375f,
         "Menu\\MidwaySelector\\ZobPanelMidwaySelector.dds"},
        {MenuKitNewCareerPanel(512, 400, menu), "MidwayPanel", 574, 426, 0.560546875f, 0.83203125f,
         "Menu\\Common\\ZobPanelNewCareer.dds"},
    };
    for (const Expect& e : panels) {
        ASSERT_TRUE(e.g) << e.texture;
        EXPECT_STREQ(e.g->GetName(), e.name);
        EXPECT_STREQ(e.g->textureName, e.texture);
        EXPECT_GE(e.g->slot, 0) << e.texture;
        EXPECT_EQ(e.g->horizAlign, 1);
        EXPECT_EQ(std::make_tuple(e.g->width, e.g->height, e.g->uv.right, e.g->uv.bottom),
                  std::make_tuple(e.w, e.h, e.u, e.v))
            << e.texture;
        // The uv rectangle is the panel's cell: one texel per unit at the panel's size.
        const I3dTexSlot* tex = I3dTexGetSlot(e.g->slot);
        ASSERT_TRUE(tex);
        EXPECT_EQ(e.u * float(tex->width), e.w) << e.texture;
        EXPECT_EQ(e.v * float(tex->height), e.h) << e.texture;
    }
}

TEST_F(MenuKitCallTest, TheInGamePanelsLightsCycleThreeFramesAtFifteenASecond) {
    StaticGraphic* panel = MenuKitInGamePanel(512, 380, menu);
    ASSERT_TRUE(panel);
    EXPECT_STREQ(panel->GetName(), "Background");
    EXPECT_EQ(std::make_tuple(panel->width, panel->height, panel->uv.right, panel->uv.bottom),
              std::make_tuple(376.0f, 418.0f, 0.734375f, 0.408203125f));
    std::vector<AnimGraphic*> anims = All<AnimGraphic>();
    ASSERT_EQ(anims.size(), 1u);
    AnimGraphic* lights = anims[0];
    EXPECT_STREQ(lights->GetName(), "FlashingLights");
    EXPECT_EQ(std::make_tuple(lights->pos.x, lights->pos.y), std::make_tuple(323.0f, 173.0f));
    EXPECT_STREQ(lights->image.textureName, panel->textureName);
    EXPECT_EQ(lights->image.slot, panel->slot) << "the same texture, shared";
    EXPECT_EQ(std::make_tuple(lights->image.left, lights->image.top, lights->image.right,
                              lights->image.bottom),
              std::make_tuple(0, 419, 376, 520));
    EXPECT_EQ(lights->frames, 3);
    EXPECT_EQ(lights->rate, 15.0f);
    // 1 / 15 s a frame: 0, 1, 2 and round again, on the frame time.
    g_frameSeconds = 1.0f / 30.0f;
    std::vector<int> seen;
    for (int i = 0; i < 8; ++i) {
        lights->Update(0.0f);
        seen.push_back(lights->frame);
    }
    EXPECT_EQ(seen, (std::vector<int>{1, 1, 2, 2, 0, 0, 1, 1}));

    AnimGraphic* logo = MenuKitAnimLogo(menu);
    ASSERT_TRUE(logo);
    EXPECT_STREQ(logo->GetName(), "AnimLogo");
    EXPECT_EQ(std::make_tuple(logo->pos.x, logo->pos.y, logo->frames, logo->rate),
              std::make_tuple(384.0f, 10.0f, 2, 10.0f));
    EXPECT_EQ(std::make_tuple(logo->image.right, logo->image.bottom), std::make_tuple(256, 143));
    EXPECT_GE(logo->image.slot, 0);
}

// Laid out and flipped at once: the first frame shows the text at full strength, no fade.
TEST_F(MenuKitCallTest, TextBoxesShowTheirTextAtTheFirstFrame) {
    StaticTextBox* box = MenuKitTextBox20(9, u"Hello there", 100, 200, 400, 300, menu);
    ASSERT_TRUE(box);
    EXPECT_EQ(box->state, TEXT_BOX_SHOWN);
    EXPECT_EQ(box->fadeAlpha, 1.0f);
    EXPECT_EQ(std::u16string(box->Shown().text), u"Hello there");
    EXPECT_EQ(box->font, FontFind("Georgia_20"));
    EXPECT_EQ(box->horizAlign, 1);
    EXPECT_EQ(box->width, 300.0f);
    EXPECT_EQ(std::make_tuple(box->rect.left, box->rect.top, box->rect.right, box->rect.bottom),
              std::make_tuple(100.0f, 200.0f, 400.0f, 300.0f));
    EXPECT_EQ(box->id, 9);
    Log().Clear();
    box->DrawPre();
    EXPECT_GT(Draws(), 0) << "nothing drawn on the first frame";

    StaticTextBox* left = MenuKitTextBox(10, u"x", 0, 0, 50, 50, menu);
    StaticTextBox* centred = MenuKitTextBoxCentred(11, u"x", 0, 0, 50, 50, menu);
    StaticTextBox* sixteen = MenuKitTextBox16(12, u"x", 0, 0, 50, 50, menu);
    ASSERT_TRUE(left && centred && sixteen);
    EXPECT_EQ(std::make_tuple(left->horizAlign, left->font),
              std::make_tuple(0, FontFind("Arial_12b")));
    EXPECT_EQ(std::make_tuple(centred->horizAlign, centred->font),
              std::make_tuple(1, FontFind("Arial_12b")));
    EXPECT_EQ(std::make_tuple(sixteen->horizAlign, sixteen->font),
              std::make_tuple(1, FontFind("Georgia_16")));
}

TEST_F(MenuKitCallTest, TextsAndTextButtonsTakeTheirFontsAndAlignment) {
    struct Case {
        Ctl3Base* c;
        const char* font;
        int32_t align;
        float x, y;
        int32_t id;
    };
    const Case cases[] = {
        {MenuKitText(u"a", 10, 20, menu), "Georgia_14", 0, 10, 20, -1},
        {MenuKitTextCentred(u"b", 30, 40, menu), "Georgia_14", 1, 30, 40, -1},
        {MenuKitTitle(u"c", menu), "Georgia_20", 1, 512, 160, -1},
        {MenuKitHeading(u"d", 50, 60, menu), "Georgia_26", 1, 50, 60, -1},
        {MenuKitTextButton(4, u"e", 70, 80, menu), "CourierNew9o", 0, 70, 80, 4},
        {MenuKitTextButtonLarge(5, u"f", 90, 100, menu), "Georgia_26", 1, 90, 100, 5},
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(c.c);
        EXPECT_EQ(c.c->font, FontFind(c.font)) << c.font;
        EXPECT_EQ(c.c->horizAlign, c.align) << c.font;
        EXPECT_EQ(std::make_tuple(c.c->pos.x, c.c->pos.y), std::make_tuple(c.x, c.y));
        EXPECT_EQ(c.c->id, c.id);
        EXPECT_EQ(c.c->colour, kMenuKitColour) << "every control the kit builds starts white";
    }
}

TEST_F(MenuKitCallTest, ASliderEndsAtItsXWithAKnobALineHighAndASpacesGap) {
    Slider* s = MenuKitSlider(8, u"Volume", 600, 300, 120.0f, 0.25f, menu);
    ASSERT_TRUE(s);
    Font* f = FontFind("Georgia_14");
    EXPECT_EQ(s->font, f);
    EXPECT_EQ(s->horizAlign, 2);
    EXPECT_EQ(s->rect.right, 600.0f) << "the slider must end at its x";
    EXPECT_EQ(s->trackLength, 120.0f);
    EXPECT_EQ(s->value, 0.25f);
    EXPECT_EQ(s->knobHeight, Ctl3LineHeight(s));
    EXPECT_GT(s->knobHeight, 0.0f);
    EXPECT_EQ(s->labelGap, FontTextWidth(f, u" "));
    EXPECT_GT(s->labelGap, 0.0f);
    EXPECT_EQ(s->id, 8);
    // The kit's setters.
    MenuKitSetTrackLength(s, 60.0f);
    MenuKitSetKnobHeight(s, 9.0f);
    MenuKitSetValue(s, 2.0f);
    MenuKitSetLabelGap(s, 3.0f);
    MenuKitSetDragging(s, true);
    EXPECT_EQ(std::make_tuple(s->trackLength, s->knobHeight, s->value, s->labelGap, s->buttonDown),
              std::make_tuple(60.0f, 9.0f, 1.0f, 3.0f, uint8_t(1)));
}

// A click on a slider whose track has no length changes nothing and posts nothing.
TEST_F(MenuKitCallTest, ASliderWithNoTrackIgnoresClicks) {
    Slider* s = MenuKitSlider(8, u"Volume", 600, 300, 0.0f, 0.5f, menu);
    ASSERT_TRUE(s);
    const float x = s->rect.right, y = s->rect.top + 2;
    SlEvent move{SL_MOUSEPOS, SlPackFloat(x), SlPackFloat(y), 0};
    s->OnMessage(&move);
    SlEvent down{SL_MOUSE0DOWN, 0, 0, 0};
    s->OnMessage(&down);
    s->OnMessage(&move);
    EXPECT_EQ(s->value, 0.5f);
    SlEvent e;
    while (SlGetEvent(&e) == 0)
        EXPECT_FALSE(e.type == CTL3_EVENT && e.b == CTL3_CLICK)
            << "a trackless slider posted a change";
}

// ---- degraded builds ----

TEST_F(MenuKitCallTest, WithoutAMenuOrAClassTheBuildersReturnNullAndTouchNothing) {
    EXPECT_EQ(MenuKitButtonOk(1, 0, 0, nullptr), nullptr);
    EXPECT_EQ(MenuKitTitle(u"x", nullptr), nullptr);
    EXPECT_EQ(MenuKitInGamePanel(0, 0, nullptr), nullptr);
    EXPECT_EQ(MenuKitSlider(1, u"x", 0, 0, 10, 0, nullptr), nullptr);
    // "AnimGraphic" unregistered: the logo is null and the in-game panel has no lights; a menu
    // that asks for an unknown class gets nothing else made.
    EntDestroyTree(menu);
    EntSystemShutdown();
    EntSystemInit();
    ASSERT_EQ(EntCreateClass(EcNullProc, 0, 0), 0);
    ASSERT_EQ(EntCreateClass(EcStaticGraphicProc, 0, 0), 0);
    menu = EntCreateChild("ENTNULL", nullptr);
    ASSERT_TRUE(menu);
    EXPECT_EQ(MenuKitAnimLogo(menu), nullptr);
    EXPECT_EQ(MenuKitButtonCancel(1, 0, 0, menu), nullptr);
    EXPECT_EQ(MenuKitCheckBox(1, u"x", 0, 0, 1, 3, menu), nullptr);
    EXPECT_EQ(MenuKitTextBox20(1, u"x", 0, 0, 9, 9, menu), nullptr);
    EXPECT_EQ(MenuKitLargePanelHeader(512, 428, u"x", menu) != nullptr, true);
    EXPECT_EQ(Children(), 1) << "the header's title has no class: only the panel";
    EXPECT_TRUE(MenuKitInGamePanel(512, 380, menu));
    EXPECT_EQ(Children(), 2);
}

TEST_F(MenuKitCallTest, WithoutTexturesGraphicControlsAreUntexturedQuads) {
    TempDir empty;
    Ctl3SetDataFolder((empty.Path() + "/").c_str());
    GraphicButton* b = MenuKitButtonOk(1, 10, 10, menu);
    StaticGraphic* panel = MenuKitPanel(300, 300, menu);
    AnimGraphic* logo = MenuKitAnimLogo(menu);
    ASSERT_TRUE(b && panel && logo);
    EXPECT_EQ(b->image.slot, -1);
    EXPECT_EQ(panel->slot, -1);
    EXPECT_EQ(logo->image.slot, -1);
    Log().Clear();
    panel->DrawPre();
    EXPECT_EQ(Draws(), 1) << "an untextured panel still draws its quad";
}

// The fonts gone (no game object holds them): text controls are built without a font and draw
// nothing; graphic ones still draw.
TEST_F(MenuKitCallTest, WithTheFontsReleasedTextControlsHaveNoneAndDrawNothing) {
    ReleaseFonts();
    for (const char* f : kKitFonts)
        EXPECT_EQ(FontFind(f), nullptr) << f;
    KitScreen screen = BuildKitScreen(menu);
    EXPECT_EQ(screen.calls, 31);
    int textControls = 0;
    for (EntNode* c = menu->node->firstChild; c; c = c->next) {
        auto* control = dynamic_cast<Ctl3Base*>(c->object);
        ASSERT_TRUE(control);
        EXPECT_EQ(control->font, nullptr);
        const bool text =
            dynamic_cast<StaticText*>(control) || dynamic_cast<TextButton*>(control) ||
            dynamic_cast<StaticTextBox*>(control) || dynamic_cast<Slider*>(control) ||
            dynamic_cast<GraphicCheckBox*>(control) || dynamic_cast<TextCheckBox*>(control);
        Log().Clear();
        control->DrawPre();
        if (text) {
            ++textControls;
            EXPECT_EQ(Draws(), 0) << control->GetName() << " drew without a font";
        } else {
            EXPECT_GT(Draws(), 0) << control->GetName() << " is graphic and must still draw";
        }
    }
    EXPECT_EQ(textControls, 13);
}

// Every control of the test screen: white (the dimmed background apart), static ones id -1.
TEST_F(MenuKitCallTest, StaticControlsHaveIdMinusOneAndEveryControlIsWhite) {
    KitScreen screen = BuildKitScreen(menu);
    EXPECT_EQ(Children(), 33) << "31 calls, two of which add a second control";
    for (EntNode* c = menu->node->firstChild; c; c = c->next) {
        auto* control = dynamic_cast<Ctl3Base*>(c->object);
        ASSERT_TRUE(control);
        const uint32_t want = control == screen.dim ? kMenuKitDim : kMenuKitColour;
        EXPECT_EQ(control->colour, want) << control->GetName();
        const bool isStatic = dynamic_cast<StaticText*>(control) ||
                              dynamic_cast<StaticGraphic*>(control) ||
                              dynamic_cast<AnimGraphic*>(control);
        if (isStatic) {
            EXPECT_EQ(control->id, -1) << control->GetName();
        } else {
            EXPECT_GE(control->id, 0) << control->GetName();
        }
    }
}

TEST_F(MenuKitCallTest, FontFindTakesNoReference) {
    Font* f = FontFind("georgia_14");
    ASSERT_TRUE(f);
    EXPECT_EQ(f, fonts[3]);
    const int32_t count = f->refCount;
    EXPECT_EQ(FontFind("GEORGIA_14"), f);
    EXPECT_EQ(f->refCount, count);
    EXPECT_EQ(FontFind("Georgia_99"), nullptr);
    EXPECT_EQ(FontFind(nullptr), nullptr);
    EXPECT_EQ(FontFind(""), nullptr);
}
