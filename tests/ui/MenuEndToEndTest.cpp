// The menu framework in the running game with pushed input only: A opens B, B asks dialog C
// (made behind B, B inactive), the cursor keeps moving and C's OK answers B and wakes it, and
// Escape on B clicks Back through the forwarded back key and returns to A.
#include "tests/harness/UiHarness.h"
#include "tests/ui/MenuTestMenus.h"

#include "engine/EntTree.h"
#include "tests/support/TestSupport.h"
#include "ui/MouseCursor1.h"
#include "world/CursorFrame.h"

#include <string>

namespace {
class MenuEndToEndTest : public UiTest {
  protected:
    void TearDown() override {
        UiTest::TearDown();
        g_menuTestScript = "Menu\\Test\\MenuTestA.lua";
        g_menuTestFolder = "Menu\\Test\\";
    }
    Menu3Base* Find(const char* name) {
        return dynamic_cast<Menu3Base*>(EntTreeFindName(app.GetMenus(), name));
    }
    void ClickOn(Ctl3Base* control) {
        ASSERT_TRUE(control);
        MouseMove((control->rect.left + control->rect.right) / 2,
                  (control->rect.top + control->rect.bottom) / 2);
        Step();
        MouseButton(true);
        Step();
        MouseButton(false);
        Step();
    }
};

TEST_F(MenuEndToEndTest, OpenAskAnswerAndGoBack) {
    keepLog = true;
    for (const char* s : {"MenuTestA.lua", "Plain.lua"})
        WriteTextFile(
            m_program + "Data/TestMenus/" + s,
            ReadTextFile(std::string(FAIRLARK_SOURCE_DIR "/tests/data/ui/Menu/Test/") + s));
    g_menuTestScript = "TestMenus\\MenuTestA.lua";
    g_menuTestFolder = "TestMenus\\";
    registerFirst = [] {
        EntCreateClass(MenuTestAProc, 0, 0);
        EntCreateClass(MenuTestBProc, 0, 0);
        EntCreateClass(MenuTestCProc, 0, 0);
    };
    StartUi("local a = Entity.Create (\"MenuTestA\", Game.GetMenuEntity ())\nEntity.Start (a)\n");
    g_cursorFrameIndex = 1;
    Step();

    Menu3Base* a = Find("MenuTestA");
    ASSERT_TRUE(a) << "Startup.lua did not open the first menu";
    ClickOn(a->FindCtl(kTestNextId));
    auto* b = dynamic_cast<MenuTestB*>(Find("MenuTestB"));
    ASSERT_TRUE(b) << "Next did not open B";
    EXPECT_FALSE(Find("MenuTestA")) << "A stayed after opening B";
    EXPECT_NE(LogText().find("Menu: MenuTestB (MenuTestB)\n"), std::string::npos);

    ClickOn(b->FindCtl(kTestAskId));
    auto* c = Find("MenuTestC");
    ASSERT_TRUE(c) << "Ask did not open the dialog";
    EXPECT_FALSE(b->active) << "the asking menu stayed active";
    bool behind = false;
    for (EntNode* n = c->node->prev; n; n = n->prev)
        behind = behind || n == b->node;
    EXPECT_TRUE(behind) << "the dialog was not made after its caller";

    // The pointer moves onto the dialog's OK: the cursor follows although B is inactive.
    Ctl3Base* ok = c->FindCtl(kTestOkId);
    ASSERT_TRUE(ok);
    const float okX = (ok->rect.left + ok->rect.right) / 2;
    const float okY = (ok->rect.top + ok->rect.bottom) / 2;
    MouseMove(okX, okY);
    Step(2);
    auto* cursor = dynamic_cast<MouseCursor1*>(EntTreeFindType(app.GetRoot(), "MouseCursor1"));
    ASSERT_TRUE(cursor);
    EXPECT_NEAR(cursor->x, okX, 1.0f) << "the cursor froze behind the inactive caller";
    EXPECT_NEAR(cursor->y, okY, 1.0f);
    EXPECT_TRUE(Ctl3IsFocused(ok)) << "the dialog's OK did not take the pointer's focus";
    const auto pixels = ReadPixels();
    int lit = 0, area = 0;
    for (int y = int(ok->rect.top) + 2; y < int(ok->rect.bottom) - 2; ++y)
        for (int x = int(ok->rect.left) + 2; x < int(ok->rect.right) - 2; ++x, ++area)
            lit += (PixelAt(pixels, x, y) & 0x00FFFFFFu) != 0;
    EXPECT_GT(lit, area / 4) << "the dialog's OK is not drawn over its caller";
    EXPECT_EQ(ok->state, CTL3_FOCUSED);

    MouseButton(true);
    Step();
    MouseButton(false);
    Step();
    EXPECT_EQ(b->answer, 1) << "the dialog never got the click";
    EXPECT_TRUE(b->active) << "the dialog did not wake its caller";
    EXPECT_FALSE(Find("MenuTestC"));

    Tap(SDL_SCANCODE_ESCAPE);
    Step();
    EXPECT_TRUE(Find("MenuTestA")) << "Escape did not go back through the Back button";
    EXPECT_FALSE(Find("MenuTestB"));
}
} // namespace
