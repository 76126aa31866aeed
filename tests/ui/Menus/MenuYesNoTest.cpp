// The question box and the generic confirmation: answers, focus, the message-box use, cut texts,
// the title's look, the back key and what stands behind the box.
#include "tests/ui/Menus/CareerMenuDoubles.h"

#include "I3d/Font.h"
#include "engine/EntTree.h"
#include "ui/Menus/MenuConfirmGeneric.h"
#include "ui/Menus/MenuYesNo.h"

#include <cstdlib>
#include <string>

namespace {
using MenuYesNoTest = CareerMenuTest;

bool Near(uint32_t a, uint32_t b, int tolerance) {
    for (int shift = 0; shift < 24; shift += 8)
        if (std::abs(int((a >> shift) & 0xFF) - int((b >> shift) & 0xFF)) > tolerance) return false;
    return true;
}
} // namespace

TEST_F(MenuYesNoTest, OkWritesOneCancelZeroAndTheCallerIsActiveAgain) {
    StartCareerUi();
    for (bool ok : {true, false}) {
        Menu3Base* caller = Open("MenuMain");
        ASSERT_TRUE(caller);
        uint8_t flag = ok ? 0 : 1;
        static_cast<CareerStandIn*>(caller)->watched = &flag;
        MenuYesNo* box =
            MenuYesNoOpen(app.GetMenus(), u"OVERWRITE?", u"a", u"b", u"c", &flag, caller);
        ASSERT_TRUE(box);
        caller->ClearActive();
        Step();
        EXPECT_EQ(Ctl3GetFocus(), box->FindCtl(1)) << "Cancel has the focus";
        if (ok) Tap(SDL_SCANCODE_LEFT);
        Tap(SDL_SCANCODE_RETURN);
        EXPECT_EQ(flag, ok ? 1 : 0);
        EXPECT_TRUE(caller->IsActive());
        EXPECT_EQ(static_cast<CareerStandIn*>(caller)->flagWhenActive, ok ? 1 : 0)
            << "the answer is written before the caller is made active";
        EXPECT_EQ(Shown("MenuYesNo"), nullptr) << "the box is gone after the answer";
        EntDestroyTree(caller);
        Step();
    }
}

TEST_F(MenuYesNoTest, WithoutFlagOrCallerEitherButtonOnlyCloses) {
    StartCareerUi();
    for (int32_t id : {0, 1}) {
        MenuYesNo* box =
            MenuYesNoOpen(app.GetMenus(), u"T", nullptr, nullptr, nullptr, nullptr, nullptr);
        ASSERT_TRUE(box);
        Step();
        SlPostEvent(CTL3_EVENT, id, CTL3_CLICK);
        Step();
        EXPECT_EQ(Shown("MenuYesNo"), nullptr);
    }
}

TEST_F(MenuYesNoTest, AnInactiveBoxLetsTheWalkGoOnAndACallerGoneIsNotWritten) {
    StartCareerUi();
    Menu3Base* caller = Open("MenuMain");
    uint8_t flag = 7;
    MenuYesNo* box = MenuYesNoOpen(app.GetMenus(), u"T", u"", u"", u"", &flag, caller);
    ASSERT_TRUE(box);
    box->ClearActive();
    SlEvent click = {CTL3_EVENT, 0, CTL3_CLICK, 0};
    EXPECT_EQ(box->OnMessage(&click), 2);
    box->SetActive();
    EntDestroyTree(caller);
    Step();
    SlPostEvent(CTL3_EVENT, 0, CTL3_CLICK);
    Step();
    EXPECT_EQ(flag, 7) << "the flag belongs to a caller that is gone";
    EXPECT_EQ(Shown("MenuYesNo"), nullptr);
}

TEST_F(MenuYesNoTest, LongTextsAreCutToTheBoxesTexts) {
    StartCareerUi();
    const std::u16string longTitle(300, u'T'), longLine(1000, u'L');
    MenuYesNo* box = MenuYesNoOpen(app.GetMenus(), longTitle.c_str(), longLine.c_str(),
                                   longLine.c_str(), longLine.c_str(), nullptr, nullptr);
    ASSERT_TRUE(box);
    EXPECT_EQ(std::u16string(box->title), std::u16string(127, u'T'));
    EXPECT_EQ(std::u16string(box->lines[2]), std::u16string(127, u'L'));
    ASSERT_TRUE(box->titleText);
    EXPECT_EQ(std::u16string(box->titleText->label), std::u16string(127, u'T'));
    Step();
}

TEST_F(MenuYesNoTest, ThePlainKitQuadStandsBehindTheBoxAndTheTitleIsKitText) {
    StartCareerUi();
    MenuYesNo* box = MenuYesNoOpen(app.GetMenus(), u"T", u"a", u"b", u"c", nullptr, nullptr);
    ASSERT_TRUE(box);
    ASSERT_TRUE(box->titleText);
    EXPECT_EQ(box->titleText->font, FontFind("Georgia_14"));
    EXPECT_EQ(box->titleText->horizAlign, 0) << "the title starts at its x";
    g_cursorFrameIndex = -1;
    Step();
    const uint32_t frontEnd = PixelAt(ReadPixels(), 60, 700);
    EXPECT_TRUE(Near(frontEnd, 0xFFFFFF, 8)) << std::hex << frontEnd;
    EntDestroyTree(box);
    Step();

    Menu3Base* hud = Open("MenuGameRunning");
    ASSERT_TRUE(hud);
    ASSERT_TRUE(MenuYesNoOpen(app.GetMenus(), u"T", u"a", u"b", u"c", nullptr, hud));
    hud->ClearActive();
    g_cursorFrameIndex = -1;
    Step();
    const uint32_t overHud = PixelAt(ReadPixels(), 60, 700);
    EXPECT_TRUE(Near(overHud, 0xFFFFFF, 8)) << std::hex << overHud << ": the same quad over play";
}

TEST_F(MenuYesNoTest, TheBackKeyAnswersNo) {
    StartCareerUi();
    Menu3Base* caller = Open("MenuMain");
    ASSERT_TRUE(caller);
    uint8_t flag = 7;
    ASSERT_TRUE(MenuYesNoOpen(app.GetMenus(), u"DELETE?", u"a", u"b", u"c", &flag, caller));
    caller->ClearActive();
    Step();
    Tap(SDL_SCANCODE_ESCAPE);
    EXPECT_EQ(flag, 0);
    EXPECT_TRUE(caller->IsActive());
    EXPECT_EQ(Shown("MenuYesNo"), nullptr);
}

// ---- the generic confirmation ----

TEST_F(MenuYesNoTest, TheGenericConfirmationOpensTheNamedClassesAndIgnoresKeys) {
    StartCareerUi();
    MenuConfirmGeneric* box =
        MenuConfirmGenericOpen(app.GetMenus(), "MenuSandbox", "MenuMain", u"Sure?");
    ASSERT_TRUE(box);
    EXPECT_STREQ(box->GetName(), "ConfirmExit");
    Step();
    EXPECT_EQ(Ctl3GetFocus(), box->FindCtl(1)) << "No has the focus";
    Tap(SDL_SCANCODE_RETURN);
    Tap(SDL_SCANCODE_A);
    SlPostEvent(SL_PADSTART, 0, 0);
    Step();
    EXPECT_EQ(Shown("ConfirmExit"), box) << "Enter, key downs and 38 do nothing";
    EXPECT_TRUE(Opened().empty());
    SlPostEvent(CTL3_EVENT, 0, CTL3_CLICK);
    Step();
    ASSERT_EQ(Opened().size(), 1u);
    EXPECT_EQ(Opened()[0].className, "MenuSandbox");
    EXPECT_EQ(Shown("ConfirmExit"), nullptr);

    box = MenuConfirmGenericOpen(app.GetMenus(), "MenuSandbox", "MenuMain", nullptr);
    ASSERT_TRUE(box);
    Step();
    SlPostEvent(CTL3_EVENT, 1, CTL3_CLICK);
    Step();
    ASSERT_EQ(Opened().size(), 2u);
    EXPECT_EQ(Opened()[1].className, "MenuMain");
}

TEST_F(MenuYesNoTest, TheGenericConfirmationStaysWithoutAClassToOpen) {
    StartCareerUi();
    const std::u16string longPrompt(500, u'p');
    MenuConfirmGeneric* box =
        MenuConfirmGenericOpen(app.GetMenus(), nullptr, "NoSuchMenu", longPrompt.c_str());
    ASSERT_TRUE(box);
    EXPECT_EQ(std::u16string(box->prompt), std::u16string(65, u'p'));
    Step();
    for (int32_t id : {0, 1}) {
        SlPostEvent(CTL3_EVENT, id, CTL3_CLICK);
        Step();
        EXPECT_EQ(Shown("ConfirmExit"), box);
    }
}
