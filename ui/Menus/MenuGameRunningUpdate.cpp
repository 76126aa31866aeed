// The HUD's frame: the blink and frame-rate counters, the cash roll, the hover, and the figures
// of the world written into its controls.
#include "I3d/InfoIcon.h"
#include "I3d/Math/Pick.h"
#include "engine/EntQueries.h"
#include "engine/EntTree.h"
#include "engine/FrameClock.h"
#include "engine/TimeText.h"
#include "engine/WideFormat.h"
#include "game/Ents/RubeGen.h"
#include "game/MtGame.h"
#include "game/MtPowerGrid.h"
#include "ui/Ctl3StatBar3Color.h"
#include "ui/GraphicButton.h"
#include "ui/Menus/Hud.h"
#include "ui/Menus/HudClockHand.h"
#include "ui/Menus/HudPlacement.h"
#include "ui/Menus/MenuGameRunning.h"
#include "ui/StaticGraphic.h"
#include "ui/StaticText.h"

#include <cmath>

namespace {

constexpr int32_t kCashStep = 500; // cents per step of the roll
constexpr float kCashStepSeconds = 0.02f;

// The supply against the demand; everything is supplied while nothing is asked for.
float SupplyRatio(const MtPowerGrid* grid) {
    if (!(grid->demandTotal > 0.0f)) return 1.0f;
    const float ratio = grid->supplyTotal / grid->demandTotal;
    return std::isfinite(ratio) ? ratio : 0.0f;
}

} // namespace

void MenuGameRunning::SetMood(float mood) {
    // NaN passes none of the tests: the saddest face.
    moodCell = mood > 0.6f ? 18 : mood > 0.2f ? 19 : mood > -0.2f ? 20 : mood > -0.6f ? 21 : 22;
    // The frame is cut as the icon sheet itself is laid out (8 columns by 4 rows, cell = 4 x
    // column + row), not as 4 columns by 8 rows: the sheet's own layout holds, so the faces
    // shown are the sheet's cells 18 to 22.
    float uv[4];
    if (moodIcon && InfoIconsCellUv(moodCell, uv)) moodIcon->uv = {uv[0], uv[1], uv[2], uv[3]};
}

void MenuGameRunning::MouseNdc(float* nx, float* ny) const {
    *nx = 2.0f * float(mouseX) / 1024.0f - 1.0f;
    *ny = 1.0f - 2.0f * float(mouseY) / 768.0f;
}

ENTBASE* MenuGameRunning::PickAtMouse() {
    ENTBASE* root = world.Get();
    if (!root) return nullptr;
    float nx, ny;
    MouseNdc(&nx, &ny);
    PickQuery query{};
    if (!PickRay(nx, ny, &query.origin, &query.dir)) return nullptr;
    query.best = nullptr;
    query.bestDistance = 1000000.0f;
    root->PickTree(&query);
    return EntIsLive(query.best) ? query.best : nullptr;
}

int MenuGameRunning::Update(float dt) {
    // Real frame time, not game time: the blink and the frame rate go on at any speed, and
    // while the game is paused.
    const float frameSeconds = g_frameSeconds;
    if (frameSeconds > 0.0f && std::isfinite(frameSeconds))
        blinkMs += uint32_t(frameSeconds * 1000.0f);
    fpsSeconds += std::isfinite(frameSeconds) ? frameSeconds : 0.0f;
    ++fpsFrames;
    if (fpsSeconds >= 1.0f) {
        WideFormat(fpsText, sizeof fpsText / sizeof fpsText[0], u"FPS: %4.1f", double(fpsFrames));
        fpsSeconds = 0.0f;
        fpsFrames = 0;
    }

    MtGame* mt = Game();
    if (mt && shownCash != mt->cash) {
        // A frame time that is no number, or negative, moves nothing.
        if (std::isfinite(dt) && dt > 0.0f) cashStepTimer -= dt;
        if (cashStepTimer <= 0.0f) {
            // Every step that fell due in this frame is taken, so that the counter keeps its
            // pace in slow frames as in fast ones. In 64 bits: a cash near either end of the
            // range must not overflow.
            // A step is due at the timer's 0 and at every 0.02 s before it (a hair of rounding
            // is no step).
            const double due =
                std::ceil(double(-cashStepTimer) / double(kCashStepSeconds) - 1.0e-4);
            const int64_t steps = due < 1.0 ? 1 : due < 1.0e9 ? int64_t(due) : 1000000000;
            cashStepTimer += float(double(steps) * double(kCashStepSeconds));
            if (cashStepTimer > kCashStepSeconds) cashStepTimer = kCashStepSeconds;
            const int64_t cash = mt->cash, shown = shownCash, reach = steps * kCashStep;
            if (cash > shown + reach)
                shownCash = int32_t(shown + reach);
            else if (cash >= shown - reach)
                shownCash = mt->cash;
            else
                shownCash = int32_t(shown - reach);
        }
    }

    HudUpdateCursorCell(this);
    HudPositionCursor(this);

    // The entity under the mouse may have gone since the last frame: its link is checked first.
    ENTBASE* hit = PickAtMouse();
    ENTBASE* before = hovered.Get();
    if (before && before != selected.Get()) HudSetHighlight(before, false);
    hovered = EntRef(hit);
    if (hit && HudEntityKind(hit) < 3) HudSetHighlight(hit, true);

    if (auto* power = dynamic_cast<MtPowerGrid*>(powerGrid.Get()); power && powerBar) {
        const float ratio = SupplyRatio(power);
        powerBar->style.value = ratio > 1.0f ? 1.0f : ratio;
    }

    char16_t text[32];
    if (cashText) {
        WideFormat(text, 32, u"$%i", shownCash / 100);
        cashText->SetTextW(text);
    }

    if (auto* gen = dynamic_cast<RubeGen*>(rubeGen.Get())) {
        if (patronText) {
            WideFormat(text, 32, u"%i", gen->present);
            patronText->SetTextW(text);
        }
        SetMood(gen->averageHappiness);
    }

    if (mt) clockHandAngle = HudClockHandAngle(mt->gameTime);
    if (mt && clockText) {
        TimeToTextMinSec(text, 32, double(mt->gameTime) * 3600.0);
        clockText->SetTextW(text);
    }

    if (startButton && startButton->enabled) startButton->visible = (blinkMs & 0x200u) ? 1 : 0;
    if (hint) hint->visible = chosenType ? 1 : 0;
    return 1;
}
