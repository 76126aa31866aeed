// The timed splash screens that open the game one after another: each fades in, holds, fades
// out and opens the next; a key or a button press skips to the next at once.
#pragma once

#include "ui/Menu3Base.h"

#include <cstdint>

class PropDb;

// One splash screen's table row: its script, picture, timings and the screen that follows it.
struct SplashTiming {
    const char* className;
    const char* script; // in the data folder
    const char* image;
    float fadeIn, hold, fadeOut;
    const char* next;
};

enum : int32_t {
    SPLASH_FADE_IN = 0,
    SPLASH_HOLD = 1,
    SPLASH_FADE_OUT = 2,
    SPLASH_DONE = 3,
};

class MenuChainSplash : public Menu3Base {
  public:
    explicit MenuChainSplash(const SplashTiming& timing) : m_timing(timing) {}
    const char* GetTypeName() override { return m_timing.className; }
    // The timings and the next screen, then the script (which may change the timings), then the
    // black underlay and the picture.
    int Create(EntNode* node) override;
    int Start() override;
    // The phase step with the frame's real time; 0 once the splash has gone.
    int Update(float seconds) override;
    int OnMessage(const SlEvent* event) override;

    // Opens the next screen in this one's place: true when it did (this splash is gone). A next
    // screen that cannot be made is logged once; the splash stays in its phase.
    bool Advance();

    float fadeInDuration = 1.0f;
    float holdDuration = 4.0f;
    float fadeOutDuration = 1.0f;
    int32_t phase = SPLASH_FADE_IN;
    float phaseTimer = 0.0f;

  private:
    const SplashTiming& m_timing;
    bool m_reported = false;
    bool m_stuck = false; // the advance failed: only a press tries again
};

// The presses that skip a splash: a key, a mouse button, a pad button, Enter.
bool SplashIsPress(const SlEvent* event);
// The black underlay and the picture, 1024 x 768 at the centre; the picture takes the focus.
void SplashAddPictures(Menu3Base* menu, const char* image);
// "name" and the three timings (float, edit flags 3), with the class's defaults.
void SplashAddProperties(PropDb* db, const char* className, float fadeIn, float hold,
                         float fadeOut);
// The real frame time of this frame: the menus keep time while the game clock is stopped.
float SplashFrameSeconds();
