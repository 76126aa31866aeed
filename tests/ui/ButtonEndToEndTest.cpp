// Buttons in the running game, made by class name as the control kit makes them and driven only
// by SDL events and the game's frames.
#include "tests/harness/UiHarness.h"

#include "I3d/Font.h"
#include "ui/GraphicButton.h"
#include "ui/IncDecArt.h"
#include "ui/IncDecButton.h"
#include "ui/TextCheckBox.h"

#include <cstdio>

namespace {
using Events = std::vector<std::pair<intptr_t, intptr_t>>;
}

TEST_F(UiTest, ButtonsWorkEndToEnd) {
    keepLog = true;
    StartUi();
    Font* font = UiAcquireFont("Georgia_14");
    ASSERT_TRUE(font);

    auto* ok = dynamic_cast<GraphicButton*>(EntCreateChild("GraphicButton", menu));
    auto* box = dynamic_cast<TextCheckBox*>(EntCreateChild("TextCheckBox", menu));
    auto* value = dynamic_cast<IncDecButton*>(EntCreateChild("IncDecButton", menu));
    ASSERT_TRUE(ok && box && value);
    ok->id = 0;
    ok->SetText("OK");
    std::snprintf(ok->image.textureName, sizeof ok->image.textureName, "%s",
                  "Menu\\Common\\ZobButtonOk.dds");
    ok->image.left = 0, ok->image.top = 0, ok->image.right = 96, ok->image.bottom = 56;
    ok->SetPos2D(100, 100);
    box->id = 1;
    box->radioGroup = 2;
    box->SetRadioMode(true);
    box->SetFont(font);
    box->SetText("Music");
    box->SetPos2D(300, 120);
    value->id = 2;
    value->minimum = 1, value->maximum = 9, value->value = 4;
    std::snprintf(value->body.textureName, sizeof value->body.textureName, "%s", kIncDecBodyImage);
    std::snprintf(value->up.textureName, sizeof value->up.textureName, "%s", kIncDecUpImage);
    std::snprintf(value->down.textureName, sizeof value->down.textureName, "%s", kIncDecDownImage);
    value->SetPos2D(500, 300);
    for (Ctl3Base* c :
         {static_cast<Ctl3Base*>(ok), static_cast<Ctl3Base*>(box), static_cast<Ctl3Base*>(value)})
        c->Start();
    EXPECT_GE(value->body.slot, 0);
    EXPECT_GE(value->up.slot, 0);
    EXPECT_GE(value->down.slot, 0);
    ok->SetNavLinks(nullptr, nullptr, nullptr, box);
    box->SetNavLinks(nullptr, nullptr, ok, nullptr);
    Ctl3SetFocus(ok);
    Step();
    Forget();

    Tap(SDL_SCANCODE_RIGHT);
    Tap(SDL_SCANCODE_RETURN);
    EXPECT_EQ(ControlEvents(), (Events{{1, 3}, {1, 1}, {1, 2}, {1, 0}}));
    EXPECT_EQ(box->checked, 1);

    MouseMove(520, 305);
    Step();
    MouseButton(true);
    Step();
    MouseButton(false);
    Step();
    EXPECT_EQ(value->value, 5) << "a click on the upper half raises the value by one";

    // The box drawn against the same text drawn by the font: its "X " prefix is there.
    MouseMove(0, 0);
    Step();
    const std::vector<uint32_t> drawn = ReadPixels();
    box->visible = 0;
    auto* probe = dynamic_cast<DrawProbe*>(EntCreateChild("DrawProbe", menu));
    ASSERT_TRUE(probe);
    const uint32_t colour = 0xFFEFEFEFu; // the pointer left it: normal state
    ASSERT_EQ(box->state, CTL3_NORMAL);
    probe->draw = [font, colour] { DrawPlainText(font, 300, 120, u"X Music", colour); };
    Step();
    const std::vector<uint32_t> reference = ReadPixels();
    FontSetScale(font, 1, 1);
    const int prefix = int(FontTextWidth(font, u"X ")) + 1;
    int differ = 0, lit = 0;
    for (int y = 115; y < 145; ++y)
        for (int x = 298; x < 300 + prefix; ++x) {
            differ += PixelAt(drawn, x, y) != PixelAt(reference, x, y);
            lit += PixelAt(reference, x, y) != PixelAt(reference, 5, 5);
        }
    EXPECT_GT(lit, 10) << "the reference prefix drew nothing";
    EXPECT_EQ(differ, 0) << "the box does not show \"X \"";

    const std::string log = LogText();
    for (const char* cls : {"TextButton", "TextButton2", "GraphicButton", "GraphicCheckBox",
                            "TextCheckBox", "IncDecButton"})
        EXPECT_NE(log.find(std::string("EntCreateClass(") + cls + ")... ok."), std::string::npos)
            << cls;
    SharedObjRelease(font);
}
