// The screens with their data missing: a splash without its picture keeps its timing and its
// skipping, help and credits without slides still close, the main menu without its music works.
#include "tests/ui/Menus/FrontEndStandIns.h"

#include "ui/Ctl3SlideShow.h"
#include "ui/Menus/MenuCredits.h"
#include "ui/Menus/MenuHelp.h"
#include "ui/StaticGraphic.h"

namespace {
class MissingDataTest : public FrontEndTest {
  protected:
    std::string Name() {
        Menu3Base* s = Screen();
        return s ? s->GetName() : "";
    }
};

TEST_F(MissingDataTest, ASplashWithoutItsPictureKeepsItsTimeAndItsSkip) {
    HideDataFile("Menu/QuenvarSplash.dds");
    StartWith("MenuPublisher");
    auto* picture = dynamic_cast<StaticGraphic*>(EntTreeFindName(Screen(), "Background"));
    ASSERT_TRUE(picture);
    EXPECT_LT(picture->slot, 0) << "the picture loaded from nowhere";
    StepSixtieth(5 * 60 + 50);
    EXPECT_TRUE(FindClass("MenuPublisher")) << "gone before its 6 s";
    StepSixtieth(20);
    ASSERT_TRUE(FindClass("MenuTolvane"));
    Press(SDL_SCANCODE_SPACE);
    EXPECT_TRUE(FindClass("MenuEsrb"));
}

TEST_F(MissingDataTest, HelpAndCreditsWithoutSlidesStillClose) {
    for (const char* slide : {"Menu/Credits/ZobCredits00.dds", "Menu/Help/ZobHelp00.dds"})
        HideDataFile(slide);
    StartWith("MenuCredits");
    auto* credits = dynamic_cast<MenuCredits*>(FindClass("MenuCredits"));
    ASSERT_TRUE(credits && credits->slideShow);
    EXPECT_EQ(credits->slideShow->frameCount, 0);
    PostClick(1);
    StepSixtieth(3);
    PostClick(0);
    StepSixtieth();
    ASSERT_EQ(Name(), "MainMenu") << "the credits without slides did not close";

    PostClick(3);
    StepSixtieth();
    auto* help = dynamic_cast<MenuHelp*>(FindClass("MenuHelp"));
    ASSERT_TRUE(help && help->slideShow);
    EXPECT_EQ(help->slideShow->frameCount, 0);
    PostClick(1);
    StepSixtieth(3);
    PostClick(0);
    StepSixtieth();
    EXPECT_EQ(Name(), "MainMenu") << "help without slides did not close";
}

TEST_F(MissingDataTest, TheMainMenuWithoutItsMusicWorks) {
    HideDataFile("Music/MenuLoop.ogg");
    StartWith("MenuMain");
    StepSixtieth(10);
    Press(SDL_SCANCODE_RETURN);
    EXPECT_TRUE(FindClass("MenuSandbox"));
}
} // namespace
