// A numbered series of images ("<base>00", "<base>01" ...) shown one after another, each held
// for a while and cross-faded into the next, looping for ever: the main menu's, help's and
// credits' backdrops. Slides are DDS files; the series ends at the first number that is missing.
#pragma once

#include "engine/EntTree.h"
#include "ui/Ctl3Base.h"
#include "ui/Ctl3Strip.h"

enum { SLIDESHOW_MAX_FRAMES = 16 };

class Ctl3SlideShow : public Ctl3Base {
  public:
    int Create(EntNode* node) override;
    // The layout and frame count, then the first two slides loaded; the first one held.
    int Start() override;
    int Destroy() override; // releases both slides
    int Update(float seconds) override;
    int DrawPre() override;
    int VarsChanged() override; // the layout and the frame count

    // The show pages on at the next frame.
    void Restart() { showTimer = 0.0f; }
    // Slides "<base>00.dds" ... present behind the data folder, counted from 00 up to the first
    // missing one (at most 16).
    int CountFrames() const;
    // The rectangle: centred on the position with "hAlign" 1 (right and bottom edges one unit
    // in), else from the position.
    Ctl3Rect Layout() const;

    char textureName[CTL3_TEXTURE_NAME_MAX + 1] = {}; // the base name
    float fadeTime = 0.0f;
    float holdTime = 0.0f;
    Ctl3Rect uv = {0.0f, 0.0f, 1.0f, 1.0f};
    int32_t currentSlot = -1;
    int32_t nextSlot = -1;
    float showTimer = 0.0f;
    float blend = 0.0f; // the next slide's weight during a fade, 0..1
    uint8_t fading = 0;
    int32_t frameCount = 0;
    int32_t nextIndex = 0;

  private:
    // The slide of the next index, shared; the index moves on and wraps at the frame count.
    int LoadNext();
    void Swap();
    void ReleaseSlides();
};

intptr_t EcCtl3SlideshowProc(EntNode* node, int message, intptr_t a, intptr_t b, intptr_t c);
