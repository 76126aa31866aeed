// The main menu, the exit question and the credits on the running game: the layout, links and
// focus, the music, the choices with the later screens as stand-ins, quitting, and the screen's
// pixels where the slides show through.
#include "tests/ui/Menus/FrontEndStandIns.h"

#include "game/MtGame.h"
#include "ui/AnimGraphic.h"
#include "ui/Ctl3SlideShow.h"
#include "ui/GraphicButton.h"
#include "ui/Menus/MenuCredits.h"
#include "ui/Menus/MenuMain.h"
#include "world/CursorFrame.h"
#include "world/EntMusic.h"

#include <string>

namespace {
class MainMenuTest : public FrontEndTest {
  protected:
    std::string Name() {
        Menu3Base* s = Screen();
        return s ? s->GetName() : "";
    }
    MtGame* Game() { return dynamic_cast<MtGame*>(EntTreeFindType(app.GetRoot(), "MtGame")); }
    EntMusic* Music() { return dynamic_cast<EntMusic*>(EntTreeFindType(app.GetRoot(), "Music")); }
    int32_t FocusId() { return Ctl3GetFocus() ? Ctl3GetFocus()->id : -100; }
};

TEST_F(MainMenuTest, TheButtonsLogoLinksFocusAndMusicAreAsLaidOut) {
    StartWith("MenuMain");
    Menu3Base* m = Screen();
    ASSERT_TRUE(m);
    EXPECT_EQ(Name(), "MainMenu");
    struct Want {
        int32_t id;
        float x, y;
        const char* name;
    } const want[] = {{0, 334, 368, "Sandbox"}, {1, 522, 368, "Career"}, {2, 300, 423, "Options"},
                      {3, 470, 423, "Help"},    {4, 630, 423, "Quit"},   {5, 420, 535, "Credits"}};
    for (const Want& w : want) {
        auto* b = dynamic_cast<GraphicButton*>(m->FindCtl(w.id));
        ASSERT_TRUE(b) << w.name;
        EXPECT_STREQ(b->GetName(), w.name);
        EXPECT_EQ(b->pos.x, w.x) << w.name;
        EXPECT_EQ(b->pos.y, w.y) << w.name;
        EXPECT_EQ(b->image.CellWidth(), 150) << w.name;
        EXPECT_EQ(b->image.CellHeight(), 48) << w.name;
        EXPECT_GE(b->image.slot, 0) << w.name << ": the generated image did not load";
    }
    auto* logo = dynamic_cast<AnimGraphic*>(EntTreeFindName(m, "Logo"));
    ASSERT_TRUE(logo);
    EXPECT_EQ(logo->pos.x, 271.0f);
    EXPECT_EQ(logo->pos.y, 72.0f);
    EXPECT_EQ(logo->frames, 2);
    EXPECT_EQ(logo->rate, 10.0f);
    EXPECT_EQ(logo->image.CellWidth(), 483);
    EXPECT_EQ(FocusId(), 0);
    EXPECT_EQ(m->FindCtl(0)->navLinks[2], m->FindCtl(1)) << "Left from Sandbox gives Career";
    EXPECT_EQ(m->FindCtl(4)->navLinks[0], m->FindCtl(1)) << "Up from Quit gives Career";
    EXPECT_EQ(m->FindCtl(5)->navLinks[0], nullptr) << "Credits has no links";

    ASSERT_TRUE(Game() && Music());
    EXPECT_EQ(Music()->playing, "Music\\MenuLoop.ogg");
    EXPECT_EQ(Music()->volume, Game()->prefs.volMusic);
}

TEST_F(MainMenuTest, SandboxAndCareerOpenTheirMenusAndSetTheMode) {
    StartWith("MenuMain");
    Press(SDL_SCANCODE_RETURN);
    ASSERT_TRUE(FindClass("MenuSandbox")) << "Enter on Sandbox";
    EXPECT_FALSE(FindClass("MenuMain"));
    EXPECT_EQ(Game()->mode, MTGAME_SANDBOX);

    EntDestroyTree(FindClass("MenuSandbox"));
    ASSERT_TRUE(MenuMainOpen(app.GetMenus()));
    Press(SDL_SCANCODE_RIGHT);
    Press(SDL_SCANCODE_RETURN);
    ASSERT_TRUE(FindClass("MenuCareer")) << "Right, then Enter";
    EXPECT_EQ(Game()->mode, MTGAME_CAREER);
}

TEST_F(MainMenuTest, AChoiceThatCannotBeMadeLeavesTheMenuAndTheMode) {
    skipStandIn = "MenuSandbox";
    extraFirst = [] { RegisterRefusedClass("MenuSandbox"); };
    StartWith("MenuMain");
    Game()->mode = 7;
    Press(SDL_SCANCODE_RETURN);
    Press(SDL_SCANCODE_RETURN);
    EXPECT_EQ(Name(), "MainMenu");
    EXPECT_TRUE(Screen()->IsActive());
    EXPECT_EQ(Game()->mode, 7) << "the mode was written with no sandbox menu";
    EXPECT_EQ(LogCount("MenuMain: cannot open MenuSandbox\n"), 1);
}

TEST_F(MainMenuTest, EscapeAsksToQuitCancelReturnsAndOkQuits) {
    StartWith("MenuMain");
    g_cursorFrameIndex = -1;
    Press(SDL_SCANCODE_ESCAPE);
    ASSERT_EQ(Name(), "ConfirmExit") << "Escape did not press and release Quit";
    EXPECT_EQ(FocusId(), 1) << "the question starts on Cancel";
    Music()->SetVolume(0.25f);
    Press(SDL_SCANCODE_RETURN);
    ASSERT_EQ(Name(), "MainMenu");
    EXPECT_EQ(FocusId(), 0);
    EXPECT_EQ(g_cursorFrameIndex, 1) << "the main menu shows the cursor";
    EXPECT_EQ(Music()->volume, Game()->prefs.volMusic) << "the music volume was not set again";

    // Escape on the question is Cancel.
    Press(SDL_SCANCODE_ESCAPE);
    ASSERT_EQ(Name(), "ConfirmExit");
    Press(SDL_SCANCODE_ESCAPE);
    ASSERT_EQ(Name(), "MainMenu") << "Escape did not leave the question";
    EXPECT_EQ(app.quit, 0);

    Press(SDL_SCANCODE_ESCAPE);
    Press(SDL_SCANCODE_LEFT);
    EXPECT_EQ(FocusId(), 0);
    EXPECT_EQ(app.quit, 0);
    Press(SDL_SCANCODE_RETURN);
    EXPECT_EQ(app.quit, 1) << "OK did not raise the quit flag";
    EXPECT_EQ(Name(), "ConfirmExit") << "the question stays until the loop ends";
}

TEST_F(MainMenuTest, CreditsHoldEachSlidePageOnAndReturn) {
    StartWith("MenuMain");
    PostClick(MAIN_CREDITS);
    StepSixtieth();
    ASSERT_EQ(Name(), "Credits");
    auto* credits = static_cast<MenuCredits*>(Screen());
    Ctl3SlideShow* show = credits->slideShow;
    ASSERT_TRUE(show);
    EXPECT_EQ(show->holdTime, 7.0f);
    EXPECT_EQ(show->fadeTime, 0.0f);
    EXPECT_STREQ(show->textureName, "Menu\\Credits\\ZobCredits");
    EXPECT_EQ(show->frameCount, 3);
    // OK holds the focus, below the slide and inside the window: it can be seen and pressed.
    Ctl3Base* ok = credits->FindCtl(0);
    ASSERT_TRUE(ok);
    EXPECT_EQ(Ctl3GetFocus(), ok);
    EXPECT_LE(show->rect.bottom, ok->rect.top) << "the slide covers OK";
    EXPECT_GE(show->rect.left, 0.0f);
    EXPECT_LE(show->rect.right, 1024.0f) << "the slide runs off the right edge";
    const int32_t first = show->nextIndex;
    StepSixtieth(6 * 60);
    EXPECT_EQ(show->nextIndex, first) << "paged on before 7 s";
    StepSixtieth(60 + 2);
    const int32_t second = show->nextIndex;
    EXPECT_NE(second, first) << "still on the first slide after 7 s";
    PostClick(1);
    StepSixtieth(2);
    EXPECT_NE(show->nextIndex, second) << "the down arrow did not page on at once";
    Press(SDL_SCANCODE_X);
    EXPECT_EQ(Name(), "Credits") << "other keys do nothing";
    Press(SDL_SCANCODE_RETURN);
    StepSixtieth();
    EXPECT_EQ(Name(), "MainMenu") << "Enter did not press OK";
    // Escape leaves as well.
    PostClick(MAIN_CREDITS);
    StepSixtieth();
    ASSERT_EQ(Name(), "Credits");
    Press(SDL_SCANCODE_ESCAPE);
    StepSixtieth();
    EXPECT_EQ(Name(), "MainMenu") << "Escape did not go back";
}

// The window centre lies between Sandbox and Career, where the frame lets the first slide show.
TEST_F(MainMenuTest, TheFirstSlideShowsThroughAtTheCentre) {
    StartWith("MenuMain");
    StepSixtieth(3);
    const std::vector<uint32_t> pixels = ReadPixels();
    ASSERT_FALSE(pixels.empty());
    const uint32_t c = PixelAt(pixels, 512, 384);
    auto near = [](uint32_t a, uint32_t b, int shift) {
        return std::abs(int((a >> shift) & 0xFF) - int((b >> shift) & 0xFF)) <= 3;
    };
    const uint32_t slide = 0xFFB03030u;
    EXPECT_TRUE(near(c, slide, 16) && near(c, slide, 8) && near(c, slide, 0))
        << std::hex << c << " is not the first slide's " << slide;
    // The frame's top band is drawn over the slides.
    const uint32_t band = PixelAt(pixels, 512, 20);
    EXPECT_FALSE(near(band, slide, 16) && near(band, slide, 8)) << std::hex << band;
}
} // namespace
