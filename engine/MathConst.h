// The circle's constants: the nearest float and double to pi, its half and its double, and the
// six-decimal figures the game's own maths was fixed with.
#pragma once

// The nearest values: 0x40490FDB, 0x3FC90FDB, 0x40C90FDB as floats.
inline constexpr float kPi = 3.14159265358979f;
inline constexpr float kHalfPi = kPi / 2.0f;
inline constexpr float kTwoPi = kPi * 2.0f;
inline constexpr double kPiD = 3.14159265358979323846;
inline constexpr double kTwoPiD = kPiD * 2.0;

// 3.141592, 1.570796, 6.283185: the headings and turns of the vector maths, the sun's elevation
// and the placement's quarter turns are given with these, and what they give (headings, saved
// angles, drawn frames) is kept to the bit. They are not the nearest values (pi is the float
// 0x40490FD8) nor each other's double (6.283185f is not 2 x 3.141592f), so each is spelled out
// and none is swapped for the constants above.
inline constexpr float kPi6 = 3.141592f;
inline constexpr float kHalfPi6 = 1.570796f;
inline constexpr float kTwoPi6 = 6.283185f;
