// The HUD's clock hand: a slim quad from the dial's middle towards its rim, drawn under a world
// matrix that turns it about the middle.
#include "ui/Menus/HudClockHand.h"

#include "I3d/Camera.h"
#include "I3d/Primitives.h"
#include "engine/MathConst.h"
#include "ui/Ctl3Draw.h"
#include "ui/Custom.h"
#include "ui/Menus/MenuGameRunning.h"

#include <cmath>

namespace {

// Inside the dial's hour marks (the longest reach 16 units in from its 24-unit rim) so that
// the marks stay readable under it.
constexpr float kLength = 15.0f;
constexpr float kHalfWidth = 1.5f;
constexpr float kTail = 2.0f; // over the dial's centre dot
constexpr uint32_t kColour = 0xFFB01818u;

} // namespace

float HudClockHandAngle(float hours) {
    float h = std::fmod(hours, 12.0f);
    if (h < 0.0f) h += 12.0f;
    return h * (kTwoPi / 12.0f);
}

int HudDrawClockHand(intptr_t user) {
    auto* hud = reinterpret_cast<MenuGameRunning*>(user);
    if (!hud || !hud->clockHand || !hud->Game() || !std::isfinite(hud->clockHandAngle)) return 1;
    // The dial's quad is centred as a picture is laid out: its middle lies half a unit up and
    // left of its position.
    const float px = hud->clockHand->pos.x - 0.5f, py = hud->clockHand->pos.y - 0.5f;
    const float c = std::cos(hud->clockHandAngle), s = std::sin(hud->clockHandAngle);
    // p' = p x M about (px, py): with y running down the screen a positive angle turns
    // clockwise, from twelve towards three.
    const Mat4 turn = {{c, s, 0.0f, 0.0f, -s, c, 0.0f, 0.0f, 0.0f, 0.0f, 1.0f, 0.0f,
                        px - (px * c - py * s), py - (px * s + py * c), 0.0f, 1.0f}};
    Mat4 saved;
    I3dGetWorldMatrix(&saved);
    I3dSetWorld(&turn);
    Ctl3Set2DStates(-1, Ctl3FadedColour(hud->clockHand, kColour));
    I3dDrawQuad(px - kHalfWidth, py - kLength, px + kHalfWidth, py + kTail, 0.0f);
    I3dSetWorld(&saved);
    return 1;
}
