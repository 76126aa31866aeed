// Info icons: small pictures from one shared sheet that flash or fade above an attraction, a
// carny or a patron. The sheet is an 8 x 4 grid of 32 cells; cell k = 4 x column + row covers u
// column / 8 .. (column + 1) / 8 and v row / 4 .. (row + 1) / 4.
#pragma once

#include "I3d/Math/MathTypes.h"

#include <cstdint>

constexpr int INFOICON_CELLS = 32;

// One reference more. While no sheet is held, a named acquire loads it (shared by name through
// the texture slots): the game object names "Menu\InfoIcons", while attractions, carnies and
// patrons acquire with null, possibly before the game object.
void InfoIconsAcquire(const char* textureName);
// One reference less; at 0 the sheet's texture is released. Nothing at 0 references.
void InfoIconsRelease();
// The sheet's texture slot, -1 when none is held.
int InfoIconsSheet();
// The rectangle (left, top, right, bottom) of a cell in the sheet's uv space, v growing down
// the sheet's rows; false (out untouched) for a cell outside 0..31. Everything that shows a
// cell of the sheet cuts it here, so the layout lives in one place.
bool InfoIconsCellUv(int32_t cell, float out[4]);

struct InfoIcon {
    // Acquires the sheet (unnamed); the destructor releases it.
    InfoIcon();
    ~InfoIcon();
    InfoIcon(const InfoIcon&) = delete;
    InfoIcon& operator=(const InfoIcon&) = delete;

    // Called from the owner's draw pass every frame, after the owner's own drawing. With a
    // duration of 0 or more, counts down and turns the icon off (cell -1) when the time runs
    // out; the alpha blinks twice a second or fades with the time left. Then draws the cell
    // over the projection of the world position (the owner's world matrix plays no part) when
    // it lies on the screen in front of the eye, with its own states, and leaves the world
    // matrix the identity and the view and projection as they were. Without a sheet or a
    // device it only counts down; a dt that is not a number skips the frame.
    void UpdateDraw(float dt);

    // Shows the cell from now on for `seconds` (below 0: until switched off).
    void Show(int32_t shown, float seconds) {
        cell = shown;
        duration = seconds;
        timeLeft = seconds;
        elapsed = 0.0f;
    }

    int32_t cell = 0;       // -1 = off
    VECTOR3 position = {};  // world
    float size = 0.06f;     // half width in -1..1 screen units
    float timeLeft = 0.0f;  // seconds
    float duration = -1.0f; // below 0: shown until switched off
    float elapsed = 0.0f;   // since shown (drives the blinking)
    uint8_t blink = 0;      // 1: blink instead of fading
};
