// The hand on the HUD's clock dial: it turns once in twelve hours of the game's time of day, as
// the dial's twelve marks read.
#pragma once

#include <cstdint>

// The hand's turn from twelve o'clock, clockwise, in radians (0 up to 2 pi) for a time of day in
// hours; not finite for a time that is not.
float HudClockHandAngle(float hours);
// The clock control's drawing, given the HUD: the hand at the HUD's angle, turned about the
// control's position (the dial's middle). Nothing while the HUD has no game object or the angle
// is not finite. 1.
int HudDrawClockHand(intptr_t hud);
