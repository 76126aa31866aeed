// The main menu's backdrop and a volume slider in the running game: made by class name under
// the test menu as the main menu makes them, on the shipped slide series, driven only by the
// game's frames and pushed SDL events, read back from llvmpipe.
#include "tests/harness/UiHarness.h"
#include "tests/ui/SlidePictures.h"

#include "I3d/Font.h"
#include "datagen/Interface/InterfaceArt.h"
#include "ui/Ctl3SlideShow.h"
#include "ui/Ctl3TextStyle.h"
#include "ui/Slider.h"

#include <cstdio>

TEST_F(UiTest, TheBackdropFadesAndTheSliderTakesClicksAndKeys) {
    StartUi();
    const SlideSeries& shipped = SlideTable()[0];
    ASSERT_STREQ(shipped.base, "Menu/Slides/SlideShow");
    Font* font = UiAcquireFont("Georgia_14");
    ASSERT_TRUE(font);

    auto* show = dynamic_cast<Ctl3SlideShow*>(EntCreateChild("Ctl3Slideshow", menu));
    auto* volume = dynamic_cast<Slider*>(EntCreateChild("Slider", menu));
    ASSERT_TRUE(show && volume);
    std::snprintf(show->textureName, sizeof show->textureName, "%s", "Menu\\Slides\\SlideShow");
    show->SetPos2D(512, 384);
    show->horizAlign = 1;
    show->width = 1024;
    show->height = 768;
    show->uv = {0.0f, 0.0f, 1.0f, 0.75f};
    show->fadeTime = 1.0f;
    show->holdTime = 5.0f;
    show->Start();
    EXPECT_EQ(show->frameCount, int(shipped.count));

    volume->id = 3;
    volume->SetTextW(u"Music Volume");
    volume->SetFont(font);
    volume->horizAlign = 2;
    volume->SetTrackLength(200);
    volume->SetKnobHeight(Ctl3LineHeight(volume));
    volume->SetLabelGap(FontTextWidth(font, u" "));
    volume->SetPos2D(900, 650);
    volume->Start();

    // 7 s: slide 00 through its hold, the halfway mix, then slide 01.
    frameMs = 100;
    Step(45);
    EXPECT_EQ(SlideRgb(PixelAt(ReadPixels(), 512, 384)), shipped.fills[0]);
    int frames = 45;
    while (!(show->fading && show->blend > 0.49f) && frames < 70) {
        Step();
        ++frames;
    }
    ASSERT_TRUE(show->fading);
    const uint32_t mix = SlideRgb(PixelAt(ReadPixels(), 512, 384));
    const uint32_t want = SlideMix(shipped.fills[0], shipped.fills[1], show->blend);
    EXPECT_NEAR(show->blend, 0.5f, 0.06f);
    EXPECT_TRUE(SlideNear(mix, want, 2)) << std::hex << mix << " against " << want;
    Step(70 - frames);
    EXPECT_EQ(SlideRgb(PixelAt(ReadPixels(), 512, 384)), shipped.fills[1]);

    // A click on the track's midpoint, then Right held for a second (and a frame).
    frameMs = 20;
    Forget();
    const float mid = (volume->trackLeft + volume->trackRight) / 2;
    MouseMove(mid, 655);
    Step();
    MouseButton(true);
    Step();
    MouseButton(false);
    Step();
    EXPECT_FLOAT_EQ(volume->GetValue(), 0.5f);
    Key(SDL_SCANCODE_RIGHT, true);
    Step(51);
    Key(SDL_SCANCODE_RIGHT, false);
    Step(2);
    EXPECT_FLOAT_EQ(volume->GetValue(), 1.0f);
    int changes = 0, focus = 0;
    for (auto [id, code] : ControlEvents()) {
        EXPECT_EQ(id, 3);
        changes += code == CTL3_CLICK;
        focus += code == CTL3_FOCUS;
    }
    EXPECT_EQ(focus, 1);
    EXPECT_NEAR(changes, 1 + 51, 1) << "one change for the click, one per frame the key was held";
    SharedObjRelease(font);
}
